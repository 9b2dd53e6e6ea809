#include "puzzle/view_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa {
namespace {

TEST(ViewMode, EveryModeItsNumberPairSceneAndLooks) {
    // The numbers are the command ids and, for the results, the stored value.
    struct Case {
        ViewMode mode;
        int number, pair, scene;
        bool markers, outlines, result;
    };
    const Case cases[] = {
        {ViewMode::None, 0, -1, -1, false, false, false},
        {ViewMode::OutlineScene, 202, 0, -1, false, true, false},
        {ViewMode::Scene, 203, 0, 0, false, false, false},
        {ViewMode::FewFound, 204, 1, 1, false, false, true},
        {ViewMode::HalfFound, 205, 2, 2, false, false, true},
        {ViewMode::AllFound, 206, 3, 3, false, false, true},
        {ViewMode::Photo, 207, 4, -1, true, false, false},
        {ViewMode::OutlinePhoto, 208, 4, -1, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(ModeNumber(c.mode), c.number);
        EXPECT_EQ(ModeFromNumber(c.number), c.mode == ViewMode::None ? std::nullopt : std::optional(c.mode));
        EXPECT_EQ(PairOf(c.mode), c.pair);
        EXPECT_EQ(SceneOf(c.mode), c.scene);
        EXPECT_EQ(IsSceneMode(c.mode), c.scene >= 0);
        if (c.scene >= 0) EXPECT_EQ(SceneMode(c.scene), c.mode);
        EXPECT_EQ(ShowsMarkers(c.mode), c.markers);
        EXPECT_EQ(OutlinesDifferences(c.mode), c.outlines);
        EXPECT_EQ(IsResult(c.mode), c.result);
    }
    for (int outside : {-1, 1, 201, 209, 24332}) {
        EXPECT_EQ(ModeFromNumber(outside), std::nullopt) << outside;
        EXPECT_EQ(PairOf(static_cast<ViewMode>(outside)), -1) << outside;
        EXPECT_EQ(SceneOf(static_cast<ViewMode>(outside)), -1) << outside;
    }
    for (int scene : {-1, 4}) EXPECT_EQ(SceneMode(scene), ViewMode::None) << scene;
}

TEST(ResultForCount, HalfIsTruncated) {
    // wantHalf is the smallest count that reaches half: DiffCount / 2, truncated.
    struct Case {
        int diffCount;
        int wantHalf;
    };
    const Case cases[] = {{1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2},
                          {6, 3}, {7, 3}, {8, 4}, {9, 4}, {10, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.diffCount);
        if (c.wantHalf > 0) {
            EXPECT_EQ(ResultForCount(c.wantHalf - 1, c.diffCount), ViewMode::FewFound);
        }
        EXPECT_EQ(ResultForCount(c.wantHalf, c.diffCount),
                  c.wantHalf < c.diffCount ? ViewMode::HalfFound : ViewMode::AllFound);
        EXPECT_EQ(ResultForCount(c.diffCount - 1, c.diffCount), ViewMode::HalfFound);
        EXPECT_EQ(ResultForCount(c.diffCount, c.diffCount), ViewMode::AllFound);
    }
    EXPECT_EQ(ResultForCount(0, 0), ViewMode::AllFound);
}

TEST(IsBetterResult, RanksTheResultsAndOddStoredNumbersAsTheNumbersDid) {
    const ViewMode results[] = {ViewMode::FewFound, ViewMode::HalfFound, ViewMode::AllFound};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(IsBetterResult(results[i], results[j]), i > j) << i << " over " << j;
    // A hand-made record that verifies may hold any number.
    for (int stored : {-5, 0, 3, 203, 207, 300}) {
        for (ViewMode result : results)
            EXPECT_EQ(IsBetterResult(result, static_cast<ViewMode>(stored)), ModeNumber(result) > stored)
                << ModeNumber(result) << " over " << stored;
    }
}

}  // namespace
}  // namespace vexa
