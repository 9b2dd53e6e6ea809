#include "viewcore/pair_layout.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

struct TPairCase {
    const char* Name;
    int SceneW, SceneH, PhotoW, PhotoH, AvailW, AvailH;
    double Scale;
    bool SideBySide;
    int PhotoX, PhotoY, Width, Height;
};

TEST(PairLayout, PicksTheArrangementThatShowsBothLargerWithTheGapBetween) {
    const TPairCase cases[] = {
        {"wide pictures go one above the other", 400, 100, 400, 100, 1000, 800, 1.0, false, 0, 100 + kPairGap, 400,
         200 + kPairGap},
        {"tall pictures go side by side", 100, 400, 100, 400, 1000, 800, 1.0, true, 100 + kPairGap, 0,
         200 + kPairGap, 400},
        {"square pictures on a wide screen: side by side", 300, 300, 300, 300, 1280, 1024, 1.0, true,
         300 + kPairGap, 0, 600 + kPairGap, 300},
        {"square pictures on a tall screen: one above the other", 300, 300, 300, 300, 600, 1000, 1.0, false, 0,
         300 + kPairGap, 300, 600 + kPairGap},
        {"the scale grows the pictures, not the gap", 120, 90, 120, 90, 800, 600, 2.0, true, 240 + kPairGap, 0,
         480 + kPairGap, 180},
        {"pictures of different sizes take the larger extent across", 200, 100, 150, 120, 1000, 1000, 1.0, false,
         0, 100 + kPairGap, 200, 220 + kPairGap},
        {"a tie goes side by side", 100, 100, 100, 100, 200 + kPairGap, 200 + kPairGap, 1.0, true,
         100 + kPairGap, 0, 200 + kPairGap, 100},
        {"too large either way: the one that shrinks less wins", 2000, 1500, 2000, 1500, 1280, 1000, 1.0, false,
         0, 1500 + kPairGap, 2000, 3000 + kPairGap},
        {"bad sizes and scale count as empty and 100 %", -5, 0, 0, -1, 0, 0, 0.0, true, kPairGap, 0, kPairGap, 0},
    };
    for (const TPairCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TPairLayout l = LayOutPair(c.SceneW, c.SceneH, c.PhotoW, c.PhotoH, c.AvailW, c.AvailH, c.Scale);
        EXPECT_EQ(l.SideBySide, c.SideBySide);
        EXPECT_EQ(l.SceneX, 0);
        EXPECT_EQ(l.SceneY, 0);
        EXPECT_EQ(l.PhotoX, c.PhotoX);
        EXPECT_EQ(l.PhotoY, c.PhotoY);
        EXPECT_EQ(l.Width, c.Width);
        EXPECT_EQ(l.Height, c.Height);
    }
}

}  // namespace
}  // namespace vexa
