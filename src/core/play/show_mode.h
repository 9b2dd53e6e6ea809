// Switching the view's mode on behalf of game play and the mode commands.
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

}  // namespace vexa
