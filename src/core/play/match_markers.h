// Matching judged marker points against the difference rectangles.
#pragma once

#include "puzzle/puzzle_data.h"

#include <span>

namespace vexa {

// A point lies in a rectangle when Left <= x < Right and Top <= y < Bottom.
bool RectContains(const TDiffRect& rect, TPoint point);

// Counts the rectangles taken by the points, in picture coordinates. Marker m
// takes the first unfound rectangle holding its point unless that would rob a
// later marker whose point has no other unfound rectangle to go to. Each point
// and each rectangle counts at most once. `found`, when given, receives one
// flag per rectangle.
int MatchMarkers(std::span<const TDiffRect> rects, std::span<const TPoint> points,
                 std::span<bool> found = {});

}  // namespace vexa
