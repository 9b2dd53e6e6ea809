#include "play/load_into_play.h"

#include "play/marker_play.h"
#include "play/play_messages.h"
#include "play/show_mode.h"

#include <cstdio>

namespace vexa {

void LoadIntoPlay(TGamePlay& game, const std::string& path) {
    TPlayState& state = game.State;
    IPlayHost& host = game.Host;

    // A new puzzle starts unpaused, with nothing to review.
    state.Over = TOverMode::None;
    state.LastJudgement = {};
    state.Hint = {};
    host.SetMessageField({});  // the last score or count of hints was another attempt's

    game.Puzzle.Reset();
    const TLoadError error = game.LoadPuzzle ? game.LoadPuzzle(game.Puzzle, game.Side, path)
                                             : TLoadError::CannotOpen;
    if (error != TLoadError::None) {
        game.Puzzle.Reset();
        // The record is empty: a countdown left running would judge nothing.
        state.Running = false;
        state.Markers.InPlay = 0;
        ShowPlayOverlay(game);
        host.ShowMessage(LoadErrorText(error));
        return;
    }

    state.Markers.InPlay = game.Puzzle.DiffsInPlay();
    ReadResultRecord(game.SettingsPath, CurrentSection(game.Side), state.Result);

    if (!ShowMode(game, ViewMode::Photo)) return;

    char count[48];
    std::snprintf(count, sizeof count, kCountFieldFormat, static_cast<int>(game.Puzzle.DiffCount));
    host.SetCountField(count);

    state.StartTime = host.Now();
    state.TimeLimit = kDefaultTimeLimit;
    GatherMarkersAtView(game);
    if (!ShowMode(game, ViewMode::Scene)) return;
    host.FitToPicture();
    state.Running = true;
}

}  // namespace vexa
