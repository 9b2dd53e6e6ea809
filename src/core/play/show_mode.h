// What the view shows on behalf of game play and the mode commands: the mode,
// the review over a result screen, and what is drawn over either.
#pragma once

#include "play/play_state.h"

namespace vexa {

// Whether `mode` shows with the scene and the photo together: 並べて表示 is
// on and the mode is the scene or the photo of a loaded puzzle (these two
// show only during a challenge and while it starts).
bool ShowsPair(const TGamePlay& game, ViewMode mode);

// Whether the markers show in the view now: on the photo, alone or beside
// the scene.
bool ShowsMarkersNow(const TGamePlay& game);

// 並べて表示: switches SideBySide, keeps the choice in the display options,
// and shows the current mode again when that changes what shows. Returns
// whether it did (the frame is then fitted, as after a mode command).
bool SwitchSideBySide(TGamePlay& game);

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
