#include "play/show_mode.h"

#include "play/hint.h"
#include "play/marker_play.h"

#include "settings/display_options.h"

#include <algorithm>

namespace vexa {

namespace {

bool Settle(TGamePlay& game, bool shown) {
    if (!shown) {
        game.Puzzle.Reset();
        game.State.Running = false;
        game.State.LastJudgement = {};
        game.State.Hint.Diff = -1;
        game.State.Over = TOverMode::None;
        game.State.Markers.InPlay = 0;
    }
    ShowPlayOverlay(game);
    return shown;
}

}  // namespace

bool ShowsPair(const TGamePlay& game, ViewMode mode) {
    return game.State.SideBySide && game.Puzzle.Loaded && (mode == ViewMode::Scene || mode == ViewMode::Photo);
}

bool ShowsMarkersNow(const TGamePlay& game) {
    const ViewMode mode = game.Host.CurrentMode();
    return ShowsMarkers(mode) || ShowsPair(game, mode);
}

bool SwitchSideBySide(TGamePlay& game) {
    TPlayState& state = game.State;
    const ViewMode mode = game.Host.CurrentMode();
    const bool before = ShowsPair(game, mode);
    state.SideBySide = !state.SideBySide;
    WriteSideBySide(game.SettingsPath, state.SideBySide);
    if (ShowsPair(game, mode) == before || state.Over != TOverMode::None) return false;
    return ShowMode(game, mode);
}

bool ShowMode(TGamePlay& game, ViewMode mode) {
    game.State.Over = TOverMode::None;
    return Settle(game, game.Host.SwitchMode(mode, ShowsPair(game, mode)));
}

bool ShowReview(TGamePlay& game) {
    game.State.Over = TOverMode::Review;
    return Settle(game, game.Host.ShowReviewPicture());
}

TPlayOverlay PlayOverlay(const TGamePlay& game) {
    const TPlayState& state = game.State;
    TPlayOverlay overlay;
    overlay.Markers = state.Markers;
    const int inPlay = state.Markers.InPlay;
    switch (state.Over) {
    case TOverMode::Paused:
        overlay.Paused = true;
        break;
    case TOverMode::Review: {
        const TJudgement& judged = state.LastJudgement;
        overlay.Outlined = judged.DiffCount;
        overlay.Found = judged.Found;
        overlay.MarkersShown = std::min(inPlay, overlay.Outlined);
        break;
    }
    case TOverMode::None:
        if (!ShowsMarkersNow(game)) break;
        overlay.MarkersShown = inPlay;
        // A hint's frame lies on the photo, as the markers do.
        if (const int diff = state.Hint.Diff; state.Running && diff >= 0 && diff < game.Puzzle.DiffsInPlay())
            overlay.Hint = THintRing{true, diff, HintFrame(game.Puzzle.DiffRects[diff], state.Hint.AgeMs),
                                     kHintThickness};
        break;
    }
    return overlay;
}

void ShowPlayOverlay(TGamePlay& game) {
    if (!MarkersMayMove(game)) game.State.Markers.Selected = -1;
    game.Host.ShowOverlay(PlayOverlay(game));
}

}  // namespace vexa
