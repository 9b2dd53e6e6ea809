// Laying out difference rectangles around changes: grown by the margin,
// clamped to the picture, cut back where two would overlap, merged only
// where the changes themselves overlap.
#include "authoring/boxes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vexa::authoring::Box;
using vexa::authoring::BoxJson;
using vexa::authoring::LayOutRects;

std::string Json(const std::vector<Box>& boxes) {
    std::string out;
    for (const Box& b : boxes) out += BoxJson(b);
    return out;
}

TEST(LayOutRects, GrowsTrimsAndMergesAsTheChangesAllow) {
    struct Case {
        std::string name;
        std::vector<Box> changes;
        int margin;
        std::string want;
    };
    const std::vector<Case> cases = {
        {"apart: each grown by the margin", {{10, 10, 20, 20}, {40, 30, 50, 40}}, 4, "[6,6,24,24][36,26,54,44]"},
        {"clamped to the picture", {{0, 0, 5, 5}, {61, 45, 64, 48}}, 4, "[0,0,9,9][57,41,64,48]"},
        {"grown boxes that would overlap are cut at the middle of the gap",
         {{10, 10, 20, 20}, {29, 12, 35, 18}}, 6, "[4,4,24,26][24,6,41,24]"},
        {"cut along the axis with the wider gap", {{10, 10, 20, 20}, {12, 26, 18, 30}}, 4, "[6,6,24,23][8,23,22,34]"},
        {"changes whose boxes overlap become one", {{10, 10, 30, 20}, {25, 15, 40, 30}}, 2, "[8,8,42,32]"},
        {"in reading order", {{40, 5, 45, 10}, {5, 5, 10, 10}, {20, 1, 25, 4}}, 0, "[20,1,25,4][5,5,10,10][40,5,45,10]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Box> rects = LayOutRects(c.changes, c.margin, 64, 48);
        EXPECT_EQ(Json(rects), c.want);
        // Every change stays inside one rectangle, and none overlap.
        for (const Box& change : c.changes) {
            int holders = 0;
            for (const Box& r : rects) holders += vexa::authoring::Inside(r, change);
            EXPECT_EQ(holders, 1) << BoxJson(change);
        }
        for (std::size_t i = 0; i < rects.size(); ++i)
            for (std::size_t j = i + 1; j < rects.size(); ++j) EXPECT_FALSE(vexa::authoring::Overlap(rects[i], rects[j]));
    }
}

}  // namespace
