#include "puzzle/puzzle_data.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Fill(vexa::TPuzzleData& r) {
    r.Loaded = 1;
    r.DiffCount = 2;
    r.DiffRects[1] = {1, 2, 3, 4};
    r.PairSizes[3] = {5, 6};
    r.BasePictures[0] = vexa::Block(40, 1);
    r.SparePictures[4] = vexa::Block(40, 2);
    std::strcpy(r.Title, "abc");
    for (int t : {0, 2, 19}) {
        r.TableCounts[t] = 1;
        r.Tables[t] = vexa::Block{'T', 0, 0xFE, 0xFF, 2, 0, 3, 0, 4, 0, 5, 0, 0x00, 0x80};
    }
}

TEST(PuzzleData, ResetEmptiesEverything) {
    vexa::TPuzzleData r;
    Fill(r);
    r.Reset();
    EXPECT_EQ(r.Loaded, 0);
    EXPECT_EQ(r.DiffCount, 0);
    EXPECT_STREQ(r.Title, "");
    EXPECT_STREQ(r.SectionName, "Kavrki");
    EXPECT_EQ(r.DiffRects[1].Right, 0);
    EXPECT_EQ(r.PairSizes[3].Height, 0);
    EXPECT_TRUE(r.BasePictures[0].empty());
    EXPECT_TRUE(r.SparePictures[4].empty());
    for (int t = 0; t < vexa::kTableCount; ++t) {
        EXPECT_EQ(r.TableCounts[t], 0);
        EXPECT_TRUE(r.Tables[t].empty());
    }
}

}  // namespace
