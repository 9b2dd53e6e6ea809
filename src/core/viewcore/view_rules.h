// Window-free rules of the picture view: scroll ranges from the view's size
// and the number of steps of the mode-switch wipe.
#pragma once

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

// The wipe moves the screen right 8 pixels per step, outerWidth / 8 steps.
inline constexpr int kWipeStripe = 8;
int WipeStepCount(int outerWidth);

}  // namespace vexa
