#include "play/show_mode.h"

#include "fake_play_host.h"
#include "play/load_into_play.h"
#include "settings/display_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vexa {
namespace {

using testing::FakePuzzle;
using testing::PlayFixture;
using Log = std::vector<std::string>;

TEST(ShowMode, AFailedSwitchEmptiesTheRecordAndEndsTheChallenge) {
    struct Case {
        std::string name;
        bool fails;
        Log want;
        bool wantShown;
    };
    const std::vector<Case> cases = {
        {"shown", false, {"switch OutlinePhoto"}, true},
        {"the view cannot show it", true, {"switch OutlinePhoto", "message view failure"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        f.Load(FakePuzzle{{{0, 0, 10, 10}}, "Sec"});
        ASSERT_EQ(f.Game.State.Running, 1);
        if (c.fails) f.Host.FailingModes = {ViewMode::OutlinePhoto};

        EXPECT_EQ(ShowMode(f.Game, ViewMode::OutlinePhoto), c.wantShown);

        EXPECT_EQ(f.Host.Log, c.want);
        EXPECT_EQ(f.Host.Mode, c.wantShown ? ViewMode::OutlinePhoto : ViewMode::None);
        EXPECT_EQ(f.Puzzle.Loaded != 0, c.wantShown) << "the puzzle record was reset";
        EXPECT_EQ(f.Puzzle.DiffCount, c.wantShown ? 1 : 0);
        EXPECT_EQ(f.Game.State.Running != 0, c.wantShown);
    }
}

TEST(ShowMode, SideBySideShowsTheSceneAndThePhotoTogetherOnlyDuringAChallenge) {
    PlayFixture f;
    const FakePuzzle puzzle{{{0, 0, 10, 10}}, "Sec"};
    f.Load(puzzle);
    ASSERT_EQ(f.Host.Mode, ViewMode::Scene);

    // Switched on during a challenge: the scene shows again, now as a pair,
    // with the markers, and the choice is kept.
    EXPECT_TRUE(SwitchSideBySide(f.Game));
    EXPECT_EQ(f.Host.TakeLog(), (Log{"switch Scene pair"}));
    EXPECT_TRUE(ShowsMarkersNow(f.Game));
    EXPECT_EQ(PlayOverlay(f.Game).MarkersShown, 1);
    EXPECT_TRUE(ReadSideBySide(f.Settings.Path()));

    // F8/F9 keep the pair; the outline views and the result show alone.
    ShowMode(f.Game, ViewMode::Photo);
    ShowMode(f.Game, ViewMode::OutlineScene);
    EXPECT_EQ(f.Host.TakeLog(), (Log{"switch Photo pair", "switch OutlineScene"}));
    EXPECT_FALSE(ShowsMarkersNow(f.Game));
    // Switching while an outline view shows changes nothing on the screen.
    EXPECT_FALSE(SwitchSideBySide(f.Game));
    EXPECT_FALSE(SwitchSideBySide(f.Game));
    EXPECT_TRUE(f.Host.TakeLog().empty());

    // A new load with the option on starts as a pair; switching it off
    // shows the scene alone again.
    f.Game.LoadPuzzle = testing::FakeLoader(puzzle);
    LoadIntoPlay(f.Game, "puzzle.VX");
    const Log loaded = f.Host.TakeLog();
    EXPECT_NE(std::find(loaded.begin(), loaded.end(), "switch Scene pair"), loaded.end());
    EXPECT_TRUE(SwitchSideBySide(f.Game));
    EXPECT_EQ(f.Host.TakeLog(), (Log{"switch Scene"}));
    EXPECT_FALSE(ReadSideBySide(f.Settings.Path()));
}

}  // namespace
}  // namespace vexa
