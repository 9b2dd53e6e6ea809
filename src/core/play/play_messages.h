// The texts game play shows: message boxes and status fields. UTF-8, used
// byte for byte; the formats are printf formats.
#pragma once

#include "puzzle/load_error.h"

namespace vexa {

// --- Loading (LoadIntoPlay) --------------------------------------------------
inline constexpr const char* kMsgCannotOpen = "ファイルをオープンできません";
inline constexpr const char* kMsgBadData = "データファイルが不正です";
inline constexpr const char* kMsgDiskError =
    "ファイルを読み込めません。ディスク及びファイルをチェックしてください";
inline constexpr const char* kMsgNoMemory = "ファイルを読み込めません。メモリが足りないようです";

// The message a failed load is reported with; nullptr for None.
constexpr const char* LoadErrorText(TLoadError error) {
    switch (error) {
    case TLoadError::None: return nullptr;
    case TLoadError::CannotOpen: return kMsgCannotOpen;
    case TLoadError::BadData: return kMsgBadData;
    case TLoadError::DiskError: return kMsgDiskError;
    case TLoadError::NoMemory: return kMsgNoMemory;
    }
    return kMsgDiskError;
}

inline constexpr const char* kCountFieldFormat = "正解数 %d  ";

// --- Countdown (CountdownTick) -----------------------------------------------
inline constexpr const char* kTimeLeftFormat = "残り時間　%3lld";  // U+3000 before the number
inline constexpr const char* kNoTimeLimitText = "制限時間なし";

// --- Judging (Judge) ---------------------------------------------------------
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
// A better result that cannot be stored: the settings file keeps another
// puzzle's record under a section name differing only in letter case.
inline constexpr const char* kRecordHeldByOtherText =
    "記録を保存できません。\n英字の大文字・小文字だけが違う名前の別の問題の記録が設定ファイルにあります";

// --- After judging: the score in the message field ---------------------------
inline constexpr const char* kScoreFormat = "見つけた数 %d / %d";

// --- Hints: their count in the message field, replacing any earlier note ---
inline constexpr const char* kHintNoteFormat = "ヒント %d回";

}  // namespace vexa
