// What the view shows on behalf of game play and the mode commands: the mode,
// the review over a result screen, and what is drawn over either.
#pragma once

#include "play/play_state.h"

namespace vexa {

// Shows `mode` through the host. When the view cannot show it (it has said
// why), the puzzle record is emptied and no challenge runs: this is the one
// place where a failed switch ends a game, so Running always implies a
// loaded record. Returns whether the mode is shown. Any switch ends a review.
bool ShowMode(TGamePlay& game, ViewMode mode);

// Shows the review of the last judgement over the result screen, with the
// same failure rule as ShowMode (a failure also forgets the judgement).
bool ShowReview(TGamePlay& game);

// What the view draws over its mode now: the pause screen while paused; the
// outlines of the last judgement and the markers in play over a review;
// the markers in play on the photo; nothing else.
TPlayOverlay PlayOverlay(const TGamePlay& game);

// Ends a keyboard selection that may no longer move, then hands the view
// PlayOverlay.
void ShowPlayOverlay(TGamePlay& game);

}  // namespace vexa
