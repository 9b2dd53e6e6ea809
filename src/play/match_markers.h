// Matching judged marker points against the difference rectangles.
#pragma once

#include "puzzle/puzzle_data.h"

#include <span>

namespace vexa {

struct TJudgePoint {
    int X = 0, Y = 0;
};

// Result values: the view modes of the three result screens.
constexpr int kResultFewFound = 204;   // fewer than half found
constexpr int kResultHalfFound = 205;  // at least half, not all
constexpr int kResultAllFound = 206;

// A point lies in a rectangle when Left <= x < Right and Top <= y < Bottom.
bool RectContains(const TDiffRect& rect, TJudgePoint point);

// Counts the rectangles taken by the points, in picture coordinates. Marker m
// takes the first unfound rectangle holding its point unless that would rob a
// later marker whose point has no other unfound rectangle to go to. Each point
// and each rectangle counts at most once. `found`, when given, receives one
// flag per rectangle.
int MatchMarkers(std::span<const TDiffRect> rects, std::span<const TJudgePoint> points,
                 std::span<bool> found = {});

// 204, 205 or 206 for `foundCount` of `diffCount` differences; half is
// diffCount / 2, truncated.
int ResultForCount(int foundCount, int diffCount);

}  // namespace vexa
