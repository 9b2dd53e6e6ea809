#include "play/show_mode.h"

namespace vexa {

namespace {

bool Settle(TGamePlay& game, bool shown) {
    if (shown) return true;
    game.Puzzle.Reset();
    game.State.Running = 0;
    game.State.LastJudgement = {};
    return false;
}

}  // namespace

bool ShowMode(TGamePlay& game, ViewMode mode) {
    game.State.Reviewing = false;
    return Settle(game, game.Host.SwitchMode(mode));
}

bool ShowReview(TGamePlay& game) {
    const bool shown = Settle(game, game.Host.ShowReview(game.State.LastJudgement));
    game.State.Reviewing = shown;
    return shown;
}

}  // namespace vexa
