#include "viewcore/view_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace vexa {
namespace {

TEST(ScrollRanges, FollowThePictureAndTheScrollBarMetrics) {
    struct Case {
        const char* name;
        int pictureW, pictureH, outerW, outerH, hBar, vBar;
        TScrollRanges want;
    };
    const Case cases[] = {
        {"view as large as the picture", 500, 350, 500, 350, 17, 17, {0, 0}},
        {"view larger than the picture", 500, 350, 800, 600, 17, 17, {0, 0}},
        {"one pixel narrower, much taller: no bar room needed", 500, 350, 499, 600, 17, 17, {1, 0}},
        {"one pixel shorter, much wider", 500, 350, 800, 349, 17, 17, {0, 1}},
        {"fits, but not with a bar beside it", 495, 345, 500, 350, 17, 17, {0, 0}},
        {"larger both ways: both ranges take a bar", 600, 500, 500, 350, 17, 17, {117, 167}},
        {"wider, and the height fits only without a bar", 600, 340, 500, 350, 17, 17, {117, 7}},
        // The horizontal range takes the horizontal bar's height, the
        // vertical range the vertical bar's width.
        {"unequal metrics keep their pairing", 600, 500, 500, 350, 15, 20, {115, 170}},
        {"first rule compares width with the bar height", 480, 500, 500, 350, 20, 10, {0, 150}},
        {"one pixel more bar height turns the extras on", 480, 500, 500, 350, 21, 10, {1, 160}},
        {"largest pair size in a view of nothing", 32767, 32767, 0, 0, 17, 17, {32784, 32784}},
        {"negative picture sizes give no ranges", -5, -32768, 500, 350, 17, 17, {0, 0}},
        {"sums that would overflow 32 bits", INT_MAX, INT_MAX, INT_MIN, INT_MIN, 17, 17, {INT_MAX, INT_MAX}},
    };
    for (const Case& c : cases) {
        const TScrollRanges have =
            ComputeScrollRanges(c.pictureW, c.pictureH, c.outerW, c.outerH, c.hBar, c.vBar);
        EXPECT_EQ(have, c.want) << c.name << ": have " << have.X << " x " << have.Y;
    }
}

TEST(ScrollToShow, MovesAsLittleAsItTakes) {
    struct Case {
        const char* name;
        int scroll, visible, start, length;
        int want;
    };
    const Case cases[] = {
        {"already in sight", 100, 200, 150, 21, 100},
        {"touching the far edge", 100, 200, 279, 21, 100},
        {"one past the far edge", 100, 200, 280, 21, 101},
        {"far beyond", 0, 200, 1000, 21, 821},
        {"before the start", 100, 200, 90, 21, 90},
        {"partly before the start", 100, 200, 95, 21, 95},
        {"larger than the view: its start", 100, 10, 150, 21, 150},
        {"a corner left of the picture (the scroll bar clamps)", 0, 200, -10, 21, -10},
        {"no overflow far out", 0, 200, INT_MAX - 5, 21, INT_MAX - 184},
    };
    for (const Case& c : cases) EXPECT_EQ(ScrollToShow(c.scroll, c.visible, c.start, c.length), c.want) << c.name;
}

TEST(WipeSteps, AreTheOuterWidthInWholeStripes) {
    struct Case {
        int outerWidth;
        int want;
    };
    for (const Case& c : {Case{0, 0}, Case{7, 0}, Case{8, 1}, Case{500, 62}, Case{-9, -1}})
        EXPECT_EQ(WipeStepCount(c.outerWidth), c.want) << "outer width " << c.outerWidth;
}

// Rectangles come from the file: any order of edges, any 32-bit values.
TEST(DiffRectWithin, OrdersAndPullsInTheEdges) {
    struct Case {
        const char* name;
        TDiffRect have;
        std::optional<TDiffRect> want;
    };
    const Case cases[] = {
        {"inside stays as it is", {10, 20, 30, 40}, TDiffRect{10, 20, 30, 40}},
        {"swapped edges are put in order", {30, 40, 10, 20}, TDiffRect{10, 20, 30, 40}},
        {"far edges are pulled in", {INT_MIN, -5, INT_MAX, 500}, TDiffRect{-3, -3, 103, 83}},
        {"no width", {10, 20, 10, 40}, std::nullopt},
        {"wholly left of the area", {-90, 20, -50, 40}, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<TDiffRect> have = DiffRectWithin(c.have, -3, -3, 103, 83);
        ASSERT_EQ(have.has_value(), c.want.has_value()) << c.name;
        if (!have) continue;
        EXPECT_EQ(have->Left, c.want->Left) << c.name;
        EXPECT_EQ(have->Top, c.want->Top) << c.name;
        EXPECT_EQ(have->Right, c.want->Right) << c.name;
        EXPECT_EQ(have->Bottom, c.want->Bottom) << c.name;
    }
}

}  // namespace
}  // namespace vexa
