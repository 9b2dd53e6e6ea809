// Window-free rules of the answer markers: which marker a press picks up and
// where a dropped marker lands.
#pragma once

#include <cstddef>

namespace vexa {

struct TMarkerPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TMarkerPoint&, const TMarkerPoint&) = default;
};

inline constexpr int kMarkerSide = 21;
inline constexpr int kMarkerHalf = 10;

// Index of the first of `count` markers (top-left corners in `corners`)
// whose 21 x 21 square holds the point, left and top edges inside, right and
// bottom edges outside; -1 when none does. `count` is clipped to 0..size.
int MarkerIndexAt(const TMarkerPoint* corners, std::size_t size, int count, TMarkerPoint point);

// Top-left corner of a marker dropped at `point`: centred on it, with the
// centre kept within 0..pictureWidth and 0..pictureHeight of the client area.
TMarkerPoint ClampMarkerDrop(TMarkerPoint point, int pictureWidth, int pictureHeight);

}  // namespace vexa
