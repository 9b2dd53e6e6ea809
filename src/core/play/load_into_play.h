// Turning a puzzle file into a running challenge.
#pragma once

#include "play/play_state.h"

#include <string>

namespace vexa {

// Empties and refills the puzzle record from `path`, restores the puzzle's
// best result, writes the number of differences into the count field, starts
// the clock with a 300-second limit, gathers the markers and shows the
// current scene. A failure is reported in a message box (the load error's
// message, or the view's own); whenever a load leaves no puzzle loaded, no
// challenge runs afterwards.
void LoadIntoPlay(TGamePlay& game, const std::string& path);

}  // namespace vexa
