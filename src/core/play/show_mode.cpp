#include "play/show_mode.h"

namespace vexa {

bool ShowMode(TGamePlay& game, ViewMode mode) {
    if (game.Host.SwitchMode(mode)) return true;
    game.Puzzle.Reset();
    game.State.Running = 0;
    return false;
}

}  // namespace vexa
