#include "puzzle/puzzle_data.h"

#include <gtest/gtest.h>

namespace {

void Fill(vexa::TPuzzleData& r) {
    r.Loaded = 1;
    r.DiffCount = 2;
    r.DiffRects[1] = {1, 2, 3, 4};
    r.PairSizes[3] = {5, 6};
    r.BasePictures[0] = vexa::Block(40, 1);
    r.SparePictures[4] = vexa::Block(40, 2);
    for (int t : {0, 2, 19}) {
        r.TableCounts[t] = 1;
        r.Tables[t] = vexa::Block{'T', 0, 0xFE, 0xFF, 2, 0, 3, 0, 4, 0, 5, 0, 0x00, 0x80};
    }
}

TEST(PuzzleData, ResetEmptiesEverything) {
    for (const char* title : {static_cast<const char*>(nullptr), "abc"}) {
        vexa::TPuzzleData r;
        Fill(r);
        r.OpenSceneTables(0);
        r.Reset(title);
        EXPECT_EQ(r.Loaded, 0);
        EXPECT_EQ(r.DiffCount, 0);
        EXPECT_STREQ(r.Title, title ? title : "");
        EXPECT_STREQ(r.SectionName, "Kavrki");
        EXPECT_EQ(r.DiffRects[1].Right, 0);
        EXPECT_EQ(r.PairSizes[3].Height, 0);
        EXPECT_TRUE(r.BasePictures[0].empty());
        EXPECT_TRUE(r.SparePictures[4].empty());
        EXPECT_EQ(r.AnimatedScene, 0);
        EXPECT_FALSE(r.SceneOpen);
        for (int t = 0; t < vexa::kTableCount; ++t) {
            EXPECT_EQ(r.TableCounts[t], 0);
            EXPECT_TRUE(r.Tables[t].empty());
        }
        for (const auto* table : r.SceneTables) EXPECT_EQ(table, nullptr);
    }
}

TEST(PuzzleData, OpeningAScenePicksItsNonEmptyTables) {
    vexa::TPuzzleData r;
    Fill(r);
    r.OpenSceneTables(3);
    EXPECT_EQ(r.AnimatedScene, 3);
    EXPECT_EQ(r.SceneTables[4], &r.Tables[19]);
    EXPECT_EQ(r.SceneTables[0], nullptr);
    const vexa::TAnimRecord rec = r.SceneRecord(4, 0);
    EXPECT_EQ(rec.Command, 'T');
    EXPECT_EQ(rec.SourceX, -2);
    EXPECT_EQ(rec.Height, -32768);
    r.OpenSceneTables(0);
    EXPECT_EQ(r.SceneTables[0], &r.Tables[0]);
    EXPECT_EQ(r.SceneTables[1], nullptr);
    EXPECT_EQ(r.SceneTables[2], &r.Tables[2]);
    EXPECT_EQ(r.SceneTables[4], nullptr);
}

}  // namespace
