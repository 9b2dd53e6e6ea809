// Window-free rules of the picture view: scroll ranges from the view's size,
// the number of steps of the mode-switch wipe, and difference rectangles made
// safe to paint.
#pragma once

#include "puzzle/puzzle_data.h"

#include <optional>

namespace vexa {

struct TScrollRanges {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TScrollRanges&, const TScrollRanges&) = default;
};

// Ranges set at every resize of the view. `hScrollHeight` is the height of a
// horizontal scroll bar and `vScrollWidth` the width of a vertical one; the
// horizontal range takes the first and the vertical range the second, as the
// view always has.
TScrollRanges ComputeScrollRanges(int pictureWidth, int pictureHeight, int outerWidth,
                                  int outerHeight, int hScrollHeight, int vScrollWidth);

// The scroll position along one axis that shows `length` pixels from
// `start`, moving as little as it takes from `scroll` with `visible` pixels
// in sight: unchanged when they show already; their start in sight when they
// do not fit. The caller clamps the result to the scroll range.
int ScrollToShow(int scroll, int visible, int start, int length);

// The wipe moves the screen right 8 pixels per step, outerWidth / 8 steps.
inline constexpr int kWipeStripe = 8;
int WipeStepCount(int outerWidth);

// A difference rectangle from the file with its edges put in order and pulled
// into x0..x1 and y0..y1, so that its coordinates cannot overflow a painter's;
// nothing when no pixel is left.
std::optional<TDiffRect> DiffRectWithin(const TDiffRect& rect, int x0, int y0, int x1, int y1);

}  // namespace vexa
