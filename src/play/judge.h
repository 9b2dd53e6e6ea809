// Judging a challenge, showing its result screen, and restarting it.
#pragma once

#include "play/play_state.h"

namespace vexa {

inline constexpr const char* kRetryText = "再度問題に挑戦します。";
inline constexpr const char* kVerdictText =
    "\n      判定を下します      \n\n   再度挑戦したい場合は   \n"
    "もう一度データを読み込むか\n再度「判決」を押してください";
inline constexpr const char* kAllFoundBeforeQuestion =
    "この問題は以前に全問正解しています。\n全問正解の画面をみますか。\n"
    "また、全問正解の記録を消去しますか？\n  はい＝全問正解の画面\n"
    "いいえ＝今回の正解数による画面\n"
    "ｷｬﾝｾﾙ＝全問正解の記録を消去(今回の正解数による画面)";
inline constexpr const char* kJudgedTimeFieldText = "判定で再挑戦";

// With no puzzle loaded: shows the welcome text. With no challenge running:
// restarts it. Otherwise stops the countdown, matches the markers in play
// against the difference rectangles, announces the verdict, keeps the best
// result in the settings file and shows the result screen (204, 205, 206).
void Judge(TGamePlay& game);

}  // namespace vexa
