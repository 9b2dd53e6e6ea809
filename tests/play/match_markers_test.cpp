#include "play/match_markers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa {
namespace {

TEST(MatchMarkers, CountsEachRectangleAndPointOnce) {
    struct Case {
        std::string name;
        std::vector<TDiffRect> rects;
        std::vector<TPoint> points;
        int want;
        std::vector<bool> wantFound;
    };
    const TDiffRect a{10, 10, 20, 20};
    const TDiffRect b{30, 10, 40, 20};
    const std::vector<Case> cases = {
        {"no differences", {}, {}, 0, {}},
        {"one marker inside", {a}, {{15, 15}}, 1, {true}},
        {"one marker outside", {a}, {{25, 15}}, 0, {false}},
        {"left and top edges are inside", {a}, {{10, 10}}, 1, {true}},
        {"right edge is outside", {a}, {{20, 15}}, 0, {false}},
        {"bottom edge is outside", {a}, {{15, 20}}, 0, {false}},
        {"last pixel inside", {a}, {{19, 19}}, 1, {true}},
        {"two markers in one rectangle, the later takes it", {a, b}, {{12, 12}, {18, 18}}, 1,
         {true, false}},
        {"each marker in its own rectangle", {a, b}, {{35, 15}, {15, 15}}, 2, {true, true}},
        // Rectangles 0 and 1 overlap; marker 0 lies in both, marker 1 only in 0:
        // marker 0 leaves rectangle 0 to marker 1 and takes rectangle 1.
        {"overlap: marker 0 yields to marker 1", {{0, 0, 20, 20}, {10, 0, 30, 20}}, {{15, 5}, {5, 5}},
         2, {true, true}},
        // Both later markers could also go elsewhere, so marker 0 keeps the first.
        {"overlap: later markers have other places",
         {{0, 0, 20, 20}, {0, 0, 20, 20}, {0, 0, 20, 20}},
         {{5, 5}, {6, 6}, {7, 7}},
         3,
         {true, true, true}},
        // Marker 1 could go to rectangle 1, marker 2 could not: marker 0 must
        // leave rectangle 0 (k = 2, l = 1) and has nowhere else to go.
        {"look-ahead counts only markers with another place",
         {{0, 0, 20, 20}, {0, 0, 10, 10}, {100, 100, 110, 110}},
         {{15, 15}, {5, 5}, {15, 16}},
         2,
         {true, true, false}},
        {"negative coordinates", {{-20, -20, -10, -10}}, {{-15, -15}}, 1, {true}},
        {"fewer markers than rectangles", {a, b}, {{15, 15}}, 1, {true, false}},
        {"empty rectangle takes nothing", {{10, 10, 10, 20}}, {{10, 15}}, 0, {false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool found[kMaxDiffs] = {};
        EXPECT_EQ(MatchMarkers(c.rects, c.points, std::span(found, c.rects.size())), c.want);
        EXPECT_EQ(std::vector<bool>(found, found + c.rects.size()), c.wantFound);
    }
}

}  // namespace
}  // namespace vexa
