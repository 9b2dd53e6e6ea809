#include "viewcore/marker_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace vexa {
namespace {

TEST(MarkerPickUp, TakesTheLowestMarkerWhoseSquareHoldsThePoint) {
    // Markers 0 and 1 overlap; marker 2 lies apart; marker 3 is beyond the count
    // in most cases.
    const std::vector<TPoint> corners{{100, 100}, {110, 110}, {300, 40}, {0, 0}};
    struct Case {
        const char* name;
        int count;
        TPoint point;
        int want;
    };
    const Case cases[] = {
        {"top-left corner is inside", 3, {100, 100}, 0},
        {"last pixel inside", 3, {120, 120}, 0},
        {"marker 0's right edge line lies in marker 1", 3, {121, 121}, 1},
        {"right edge line is outside", 3, {321, 45}, -1},
        {"bottom edge line is outside", 3, {305, 61}, -1},
        {"left edge line is inside", 3, {300, 60}, 2},
        {"overlap: lowest index wins", 3, {115, 115}, 0},
        {"overlap right of marker 0 goes to marker 1", 3, {125, 115}, 1},
        {"marker beyond the count is not picked up", 3, {5, 5}, -1},
        {"count covering it", 4, {5, 5}, 3},
        {"count above the marker list is clipped", 99, {5, 5}, 3},
        {"negative count picks nothing", -1, {100, 100}, -1},
        {"one pixel left of a marker", 3, {99, 100}, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MarkerIndexAt(corners.data(), corners.size(), c.count, c.point), c.want) << c.name;
}

TEST(MarkerPickUp, SquareNearTheIntegerLimitDoesNotWrap) {
    const TPoint corners[] = {{INT_MAX - 5, INT_MAX - 5}};
    EXPECT_EQ(MarkerIndexAt(corners, 1, 1, {INT_MAX, INT_MAX}), 0);
    EXPECT_EQ(MarkerIndexAt(corners, 1, 1, {INT_MIN, INT_MIN}), -1);
}

TEST(MarkerDrop, CentresTheMarkerAndKeepsTheCentreOnThePicture) {
    struct Case {
        const char* name;
        TPoint point;
        int pictureW, pictureH;
        TPoint want;
    };
    const Case cases[] = {
        {"inside the picture", {100, 50}, 500, 350, {90, 40}},
        {"at the client origin: half outside", {0, 0}, 500, 350, {-10, -10}},
        {"left of and above the client area", {-40, -3}, 500, 350, {-10, -10}},
        {"far right and below", {9000, 7000}, 500, 350, {490, 340}},
        {"exactly on the picture's edge", {500, 350}, 500, 350, {490, 340}},
        {"one pixel before the edge", {499, 349}, 500, 350, {489, 339}},
        // The maximum comes first and the minimum last.
        {"picture narrower than the marker's half", {50, 50}, -5, 3, {-15, -7}},
        {"extreme pointer positions", {INT_MIN, INT_MAX}, 500, 350, {-10, 340}},
    };
    for (const Case& c : cases) {
        const TPoint have = ClampMarkerDrop(c.point, c.pictureW, c.pictureH);
        EXPECT_EQ(have, c.want) << c.name << ": have " << have.X << ", " << have.Y;
    }
}

}  // namespace
}  // namespace vexa
