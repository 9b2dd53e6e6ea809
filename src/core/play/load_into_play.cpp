#include "play/load_into_play.h"

#include "play/play_messages.h"
#include "play/show_mode.h"

#include <cstdio>

namespace vexa {

void LoadIntoPlay(TGamePlay& game, const std::string& path) {
    TPlayState& state = game.State;
    IPlayHost& host = game.Host;

    // A new puzzle starts unpaused, with nothing to review.
    if (state.Paused) {
        state.Paused = 0;
        host.ShowPaused(false);
    }
    state.LastJudgement = {};
    state.Reviewing = false;

    game.Puzzle.Reset();
    const TLoadError error = game.LoadPuzzle ? game.LoadPuzzle(game.Puzzle, game.Side, path)
                                             : TLoadError::CannotOpen;
    if (error != TLoadError::None) {
        game.Puzzle.Reset();
        // The record is empty: a countdown left running would judge nothing.
        state.Running = 0;
        host.ShowMessage(LoadErrorText(error));
        return;
    }

    game.Side.CurrentSection[sizeof game.Side.CurrentSection - 1] = '\0';
    ReadResultRecord(game.SettingsPath, game.Side.CurrentSection, state.Result);

    if (!ShowMode(game, ViewMode::Photo)) return;

    char count[48];
    std::snprintf(count, sizeof count, kCountFieldFormat, static_cast<int>(game.Puzzle.DiffCount));
    host.SetCountField(count);

    state.StartTime = host.Now();
    state.TimeLimit = kDefaultTimeLimit;
    host.ShowMarkers(true);
    if (!ShowMode(game, ViewMode::Scene)) return;
    host.FitToPicture();
    state.Running = 1;
}

}  // namespace vexa
