#include "viewcore/marker_keys.h"
#include "viewcore/marker_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace vexa {
namespace {

TEST(MarkerSelection, TabAndShiftTabStepThroughTheMarkersInPlayAndWrapAround) {
    struct Case {
        const char* name;
        int have;
        int count;
        bool backwards;
        int want;
    };
    const Case cases[] = {
        {"first Tab selects marker 0", -1, 3, false, 0},
        {"first Shift+Tab selects the last marker in play", -1, 3, true, 2},
        {"Tab goes to the next", 0, 3, false, 1},
        {"Tab after the last wraps to 0", 2, 3, false, 0},
        {"Shift+Tab goes to the previous", 2, 3, true, 1},
        {"Shift+Tab before 0 wraps to the last", 0, 3, true, 2},
        {"one marker: Tab stays on it", 0, 1, false, 0},
        {"one marker: Shift+Tab stays on it", 0, 1, true, 0},
        {"all ten markers in play", 9, 10, false, 0},
        {"a selection beyond the markers in play starts over", 5, 3, false, 0},
        {"... backwards from the last", 5, 3, true, 2},
        {"no marker in play selects nothing", -1, 0, false, -1},
        {"a negative count selects nothing", 0, -4, true, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextMarkerSelection(c.have, c.count, c.backwards), c.want) << c.name;
}

TEST(MarkerKeyMove, MovesByTheStepAndStopsWhereADropWould) {
    constexpr int W = 300, H = 200;
    struct Case {
        const char* name;
        TPoint have;
        int dx, dy;
        TPoint want;
    };
    const Case cases[] = {
        {"one pixel right", {100, 50}, kMarkerKeyStep, 0, {101, 50}},
        {"one pixel up", {100, 50}, 0, -kMarkerKeyStep, {100, 49}},
        {"ten pixels left", {100, 50}, -kMarkerKeyBigStep, 0, {90, 50}},
        {"ten pixels down", {100, 50}, 0, kMarkerKeyBigStep, {100, 60}},
        {"gathered marker moved left: centre stops at the client's left edge", {0, 0}, -kMarkerKeyBigStep, 0,
         {-10, 0}},
        {"at the left edge already: stays", {-10, 0}, -kMarkerKeyStep, 0, {-10, 0}},
        {"near the right edge: the big step stops at the picture's width", {285, 0}, kMarkerKeyBigStep, 0,
         {W - 10, 0}},
        {"at the bottom edge: stays", {0, H - 10}, 0, kMarkerKeyStep, {0, H - 10}},
        {"back in from the bottom edge", {0, H - 10}, 0, -kMarkerKeyStep, {0, H - 11}},
        // A marker outside the range (the picture changed size since) is put
        // back within it by any move, as a drop would.
        {"outside the picture: back to its edge", {900, 700}, -kMarkerKeyStep, 0, {W - 10, H - 10}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveMarkerByKey(c.have, c.dx, c.dy, W, H), c.want) << c.name;
        // The same place as a mouse drop at the moved centre.
        const TPoint centre{c.have.X + kMarkerHalf + c.dx, c.have.Y + kMarkerHalf + c.dy};
        EXPECT_EQ(MoveMarkerByKey(c.have, c.dx, c.dy, W, H), ClampMarkerDrop(centre, W, H)) << c.name;
    }
}

TEST(MarkerKeyMove, CornersNearTheIntegerLimitsDoNotWrap) {
    EXPECT_EQ(MoveMarkerByKey({INT_MAX, INT_MAX}, kMarkerKeyBigStep, kMarkerKeyBigStep, 300, 200),
              (TPoint{290, 190}));
    EXPECT_EQ(MoveMarkerByKey({INT_MIN, INT_MIN}, -kMarkerKeyBigStep, -kMarkerKeyBigStep, 300, 200),
              (TPoint{-10, -10}));
}

}  // namespace
}  // namespace vexa
