// Window-free rules of the answer markers: which marker a press picks up and
// where a dropped marker lands.
#pragma once

#include "puzzle/puzzle_data.h"

#include <cstddef>

namespace vexa {

inline constexpr int kMarkerSide = 21;
inline constexpr int kMarkerHalf = 10;

// Index of the first of `count` markers (top-left corners in `corners`)
// whose 21 x 21 square holds the point, left and top edges inside, right and
// bottom edges outside; -1 when none does. `count` is clipped to 0..size.
int MarkerIndexAt(const TPoint* corners, std::size_t size, int count, TPoint point);

// Top-left corner of a marker dropped at `point`: centred on it, with the
// centre kept within 0..pictureWidth and 0..pictureHeight of the client area.
TPoint ClampMarkerDrop(TPoint point, int pictureWidth, int pictureHeight);

// The judged point of a marker whose top-left corner is `corner`: its centre.
TPoint MarkerCentre(TPoint corner);

}  // namespace vexa
