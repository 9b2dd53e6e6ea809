// The 100 ms timer tick of game play.
#pragma once

#include "play/play_state.h"

namespace vexa {

// Advances the scene animation while the frame is active, then, while a
// challenge runs, shows the seconds left whenever the elapsed calendar second
// changes and judges once the time is up. Ticks lost to a modal loop are
// caught up, since the countdown reads the clock.
void CountdownTick(TGamePlay& game);

}  // namespace vexa
