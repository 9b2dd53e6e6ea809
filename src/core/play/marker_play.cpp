#include "play/marker_play.h"

#include "play/show_mode.h"
#include "viewcore/marker_rules.h"

namespace vexa {

bool MarkersMayMove(const TGamePlay& game) {
    const TPlayState& state = game.State;
    return state.Running && state.Over == TOverMode::None && game.Puzzle.Loaded && ShowsMarkersNow(game);
}

void GatherMarkersAtView(TGamePlay& game) {
    GatherMarkers(game.State.Markers, game.Host.ViewPlace().Scroll);
    ShowPlayOverlay(game);
}

void PressMarker(TGamePlay& game, TPoint client) {
    if (!MarkersMayMove(game)) return;
    LiftMarker(game.State.Markers, client, game.Host.ViewPlace().Scroll);
    ShowPlayOverlay(game);
}

void ReleaseMarker(TGamePlay& game, TPoint client) {
    TMarkerBoard& board = game.State.Markers;
    if (board.Lifted < 0) return;
    if (MarkersMayMove(game))
        DropMarker(board, client, game.Host.ViewPlace());
    else
        LetGoMarker(board);
    ShowPlayOverlay(game);
}

bool MarkerKey(TGamePlay& game, const TMarkerKey& key) {
    TMarkerBoard& board = game.State.Markers;
    const bool tab = key.Kind == TMarkerKey::Next || key.Kind == TMarkerKey::Previous;
    if (!MarkersMayMove(game)) {
        if (board.Selected >= 0) {
            board.Selected = -1;
            ShowPlayOverlay(game);
        }
        return false;
    }
    // The mouse holds a marker: Tab waits, the arrows scroll.
    if (board.Lifted >= 0) return tab;
    if (tab) {
        SelectNextMarker(board, key.Kind == TMarkerKey::Previous);
    } else if (board.Selected < 0) {
        return false;
    } else if (key.Kind == TMarkerKey::EndSelection) {
        board.Selected = -1;
    } else {
        MoveSelectedMarker(board, key.Dx, key.Dy, game.Host.ViewPlace());
    }
    ShowPlayOverlay(game);
    // The marker the keys select or move stays in sight.
    if (board.Selected >= 0)
        game.Host.ScrollToShow(board.Corners[board.Selected], kMarkerSide, kMarkerSide);
    return true;
}

}  // namespace vexa
