// What the view draws over the picture of its mode, as game play hands it
// over: the markers, the outlines of a review, a hint, or the pause screen
// instead of all of them. A plain copy; the view keeps nothing else of play.
#pragma once

#include "play/marker_board.h"

#include <array>

namespace vexa {

// The frame drawn around a hinted difference: a line `Thickness` pixels wide
// centred on the edges of `Frame`, both in picture pixels.
struct THintRing {
    bool Shown = false;
    int Diff = -1;  // the difference it marks
    TDiffRect Frame{};
    int Thickness = 0;
};

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
    // A hint: a frame around one difference that no marker covers, in
    // picture coordinates, as it stands at this moment of its animation.
    THintRing Hint;
};

}  // namespace vexa
