// Judging a challenge, showing its result screen, and restarting it.
#pragma once

#include "play/play_state.h"

#include <array>

namespace vexa {

// With no puzzle loaded: shows the welcome text. With no challenge running:
// restarts it. Otherwise stops the countdown, matches the markers in play
// against the difference rectangles, announces the verdict, keeps the best
// result in the settings file and shows the result screen (FewFound,
// HalfFound or AllFound) with the score ("見つけた数 N / M") in the message
// field. The judgement is kept in LastJudgement for the review until a
// restart or a load. While the challenge is paused it does nothing.
void Judge(TGamePlay& game);

// The matching of judging on the markers as they lie now: the found flag of
// each difference in play and each marker's judged point; returns how many
// differences are found.
int MatchMarkersInPlay(const TGamePlay& game, std::array<bool, kMaxDiffs>& found,
                       std::array<TPoint, kMaxDiffs>& points);

}  // namespace vexa
