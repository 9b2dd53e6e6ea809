#include "play/load_into_play.h"

#include "play/countdown.h"
#include "fake_play_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa {
namespace {

using testing::FakePuzzle;
using testing::PlayFixture;
using Log = std::vector<std::string>;

const FakePuzzle kThree{{{0, 0, 10, 10}, {20, 20, 30, 30}, {40, 40, 50, 50}}, "Sec"};

TEST(LoadIntoPlay, StartsAChallengeOrLeavesNoneRunning) {
    struct Case {
        std::string name;
        FakePuzzle have;
        std::set<ViewMode> failingModes;
        bool runningBefore;
        Log want;
        bool wantLoaded;
        bool wantRunning;
        ViewMode wantMode;
        bool wantGathered;  // between the count and the scene
        int wantInPlay;     // markers taking part afterwards
    };
    const std::vector<Case> cases = {
        {"success", kThree, {}, false,
         {"switch Photo", "count 正解数 3  ", "switch Scene", "fit"}, true, true, ViewMode::Scene, true, 3},
        {"no differences", FakePuzzle{{}, "Sec"}, {}, false,
         {"switch Photo", "count 正解数 0  ", "switch Scene", "fit"}, true, true, ViewMode::Scene, true, 0},
        // A failed load empties the record; the mode shown stays as it was.
        {"loader fails", FakePuzzle{{}, "Sec", TLoadError::BadData}, {}, true,
         {"message データファイルが不正です"}, false, false, ViewMode::HalfFound, false, 0},
        {"photo cannot be shown", kThree, {ViewMode::Photo}, true,
         {"switch Photo", "message view failure"}, false, false, ViewMode::None, false, 0},
        {"scene cannot be shown", kThree, {ViewMode::Scene}, true,
         {"switch Photo", "count 正解数 3  ", "switch Scene", "message view failure"}, false,
         false, ViewMode::None, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        f.Host.Mode = ViewMode::HalfFound;
        f.Host.Clock = 5000;
        f.Game.State.Running = c.runningBefore;
        f.Game.State.StartTime = 1;
        f.Game.State.TimeLimit = 0;  // as after an earlier complete solution
        f.Host.FailingModes = c.failingModes;
        f.Game.LoadPuzzle = testing::FakeLoader(c.have);
        f.Game.State.Markers.InPlay = 2;  // from the puzzle before
        f.PlaceMarker(0, {40, 30});
        f.Host.Place.Scroll = {7, 9};  // gathering puts the corners at the view's top-left

        LoadIntoPlay(f.Game, "puzzle.VX");

        EXPECT_EQ(f.Host.Log, c.want);
        EXPECT_EQ(f.Puzzle.Loaded != 0, c.wantLoaded);
        EXPECT_EQ(f.Game.State.Running != 0, c.wantRunning);
        EXPECT_EQ(f.Host.Mode, c.wantMode);
        EXPECT_EQ(f.Gathered(), c.wantGathered);
        EXPECT_EQ(f.Game.State.Markers.InPlay, c.wantInPlay);
        EXPECT_EQ(f.Host.Overlay.Markers.InPlay, c.wantInPlay) << "the view was handed the markers in play";
        if (c.wantRunning) {
            EXPECT_EQ(f.Game.State.StartTime, 5000);
            EXPECT_EQ(f.Game.State.TimeLimit, 300);
        }
    }
}

TEST(LoadIntoPlay, EachLoadErrorIsReportedWithItsMessage) {
    struct Case {
        TLoadError have;
        std::string want;
    };
    const Case cases[] = {
        {TLoadError::CannotOpen, "ファイルをオープンできません"},
        {TLoadError::BadData, "データファイルが不正です"},
        {TLoadError::DiskError, "ファイルを読み込めません。ディスク及びファイルをチェックしてください"},
        {TLoadError::NoMemory, "ファイルを読み込めません。メモリが足りないようです"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(LoadErrorName(c.have));
        PlayFixture f;
        f.Game.LoadPuzzle = testing::FakeLoader(FakePuzzle{{}, "Sec", c.have});
        LoadIntoPlay(f.Game, "puzzle.VX");
        EXPECT_EQ(f.Host.Log, (Log{"message " + c.want}));
    }
}

TEST(LoadIntoPlay, WithoutLoaderReportsTheFileAsUnopenable) {
    PlayFixture f;
    LoadIntoPlay(f.Game, "puzzle.VX");
    EXPECT_EQ(f.Host.Log, (Log{"message ファイルをオープンできません"}));
    EXPECT_EQ(f.Game.State.Running, 0);
}

TEST(LoadIntoPlay, RestartsTheCountdownWithoutJudging) {
    PlayFixture f;
    f.Load(kThree);
    f.Host.Clock += 250;
    CountdownTick(f.Game);
    ASSERT_EQ(f.Host.TakeLog(), (Log{"time 残り時間　 50"}));

    f.Load(kThree);  // the same file again, mid-challenge
    CountdownTick(f.Game);
    f.Host.Clock += 1;
    CountdownTick(f.Game);
    EXPECT_EQ(f.Host.TakeLog(), (Log{"time 残り時間　300", "time 残り時間　299"}));
}

TEST(LoadIntoPlay, AFailedLoadStopsTheCountdown) {
    PlayFixture f;
    f.Load(kThree);
    f.Game.LoadPuzzle = testing::FakeLoader(FakePuzzle{{}, "Sec", TLoadError::CannotOpen});
    LoadIntoPlay(f.Game, "missing.VX");
    f.Host.TakeLog();
    // Long past the limit: nothing is judged and nothing is shown.
    for (int s = 0; s < 400; s += 50) {
        f.Host.Clock += 50;
        CountdownTick(f.Game);
    }
    EXPECT_TRUE(f.Host.Log.empty());
}

}  // namespace
}  // namespace vexa
