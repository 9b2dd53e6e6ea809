#include "play/show_mode.h"

#include "fake_play_host.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vexa
