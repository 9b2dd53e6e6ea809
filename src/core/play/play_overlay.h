// What the view draws over the picture of its mode, as game play hands it
// over: the markers, the outlines of a review, or the pause screen instead
// of all of them. A plain copy; the view keeps nothing else of play.
#pragma once

#include "play/marker_board.h"

#include <array>

namespace vexa {

struct TPlayOverlay {
    // The pause screen ("一時停止中") in place of the picture and the markers.
    bool Paused = false;
    // Markers 0..MarkersShown-1 are drawn where Markers says (the lifted one
    // aside: the pointer shows the drag cursor instead); 0 outside the photo.
    int MarkersShown = 0;
    TMarkerBoard Markers;
    // The review: difference rectangles 0..Outlined-1 outlined as found or
    // missed by the last judgement; 0 when no review is shown.
    int Outlined = 0;
    std::array<bool, kMaxDiffs> Found{};
};

}  // namespace vexa
