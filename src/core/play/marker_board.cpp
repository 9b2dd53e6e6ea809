#include "play/marker_board.h"

#include "viewcore/marker_keys.h"
#include "viewcore/marker_rules.h"

#include <algorithm>

namespace vexa {

namespace {

TPoint Plus(TPoint a, TPoint b) { return TPoint{a.X + b.X, a.Y + b.Y}; }
TPoint Minus(TPoint a, TPoint b) { return TPoint{a.X - b.X, a.Y - b.Y}; }

bool IsMarker(int i) { return i >= 0 && i < kMaxDiffs; }

// Moves marker i to `corner` with its inner frame inset, on top of the others.
void Place(TMarkerBoard& board, int i, TPoint corner) {
    board.Corners[i] = corner;
    board.InnerInset[i] = true;
    auto& order = board.Stacking;
    const auto at = std::find(order.begin(), order.end(), i);
    if (at != order.end()) std::rotate(at, at + 1, order.end());
}

}  // namespace

void GatherMarkers(TMarkerBoard& board, TPoint scroll) {
    board.Corners.fill(scroll);
    board.InnerInset.fill(false);
    for (int i = 0; i < kMaxDiffs; ++i) board.Stacking[i] = i;
    board.Selected = -1;
}

int LiftMarker(TMarkerBoard& board, TPoint client, TPoint scroll) {
    board.Lifted = -1;
    std::array<TPoint, kMaxDiffs> corners;
    for (int i = 0; i < kMaxDiffs; ++i) corners[i] = Minus(board.Corners[i], scroll);
    const int hit = MarkerIndexAt(corners.data(), corners.size(), board.InPlay, client);
    if (hit < 0) return -1;
    board.Lifted = hit;
    board.Selected = -1;  // the mouse takes over
    return hit;
}

void DropMarker(TMarkerBoard& board, TPoint client, const TViewPlace& place) {
    const int i = board.Lifted;
    if (!IsMarker(i)) return;
    board.Lifted = -1;
    Place(board, i, Plus(ClampMarkerDrop(client, place.PictureWidth, place.PictureHeight), place.Scroll));
}

bool SelectNextMarker(TMarkerBoard& board, bool backwards) {
    board.Selected = NextMarkerSelection(board.Selected, std::clamp(board.InPlay, 0, kMaxDiffs), backwards);
    return board.Selected >= 0;
}

bool MoveSelectedMarker(TMarkerBoard& board, int dx, int dy, const TViewPlace& place) {
    const int i = board.Selected;
    if (!IsMarker(i)) return false;
    const TPoint client = Minus(board.Corners[i], place.Scroll);
    Place(board, i,
          Plus(MoveMarkerByKey(client, dx, dy, place.PictureWidth, place.PictureHeight), place.Scroll));
    return true;
}

TPoint JudgedPoint(const TMarkerBoard& board, int i) {
    if (!IsMarker(i)) return {};
    return MarkerCentre(board.Corners[i]);
}

}  // namespace vexa
