// Playing with the markers: the one rule of when they may move, and the
// pointer, the keys and gathering, which the view and the commands hand to
// game play. Every change is shown at once (ShowPlayOverlay).
#pragma once

#include "play/play_state.h"

namespace vexa {

// Whether the user may move markers now: on the photo (alone or beside the
// scene) of a running challenge that is neither paused nor under review. The mouse, the keys and the
// enabling of keyboard play all ask this.
bool MarkersMayMove(const TGamePlay& game);

// The gather command: every marker to the view's top-left corner.
void GatherMarkersAtView(TGamePlay& game);

// A left press at `client` (the view's client coordinates) picks up the
// lowest marker in play under it, when markers may move.
void PressMarker(TGamePlay& game, TPoint client);
// The release drops the held marker centred on `client`; when markers may no
// longer move (the mode changed, a pause began) it lets it go where it was.
void ReleaseMarker(TGamePlay& game, TPoint client);

// Tab selects the next marker in play, Shift+Tab the previous one, an arrow
// moves the selected one (as a drop would land), Escape ends the selection.
// Returns whether the key was used: Tab always while markers may move (it
// waits while the mouse holds one), an arrow or Escape only with a marker
// selected, so that the arrows scroll the view otherwise. A key while
// markers may not move ends the selection and is not used.
bool MarkerKey(TGamePlay& game, const TMarkerKey& key);

}  // namespace vexa
