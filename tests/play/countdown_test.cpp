#include "play/countdown.h"

#include "fake_play_host.h"
#include "play/judge.h"
#include "play/play_messages.h"
#include "play/show_mode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vexa {
namespace {

using testing::FakePuzzle;
using testing::PlayFixture;
using testing::TimeLeftLine;
using Log = std::vector<std::string>;

const FakePuzzle kOne{{{0, 0, 10, 10}}, "Sec"};


int CountOf(const Log& log, const std::string& line) {
    return static_cast<int>(std::count(log.begin(), log.end(), line));
}

TEST(CountdownTick, CountsDownToZeroThenJudgesOnce) {
    PlayFixture f;
    f.Load(kOne);
    Log want;
    for (int elapsed = 0; elapsed <= 300; ++elapsed) {
        // Ten ticks per second; only the first of a second touches the field.
        for (int tick = 0; tick < 10; ++tick) CountdownTick(f.Game);
        f.Host.Clock += 1;
        want.push_back(TimeLeftLine(300 - elapsed));
    }
    Log log = f.Host.TakeLog();
    ASSERT_GE(log.size(), want.size());
    EXPECT_EQ(Log(log.begin(), log.begin() + want.size()), want);
    EXPECT_EQ(CountOf(log, std::string("message ") + kVerdictText), 1);
    EXPECT_EQ(log.back(), "fit");
    EXPECT_EQ(CountOf(log, "time 判定で再挑戦"), 1);
    EXPECT_EQ(f.Game.State.Running, 0);
    // The marker sits at the corner, outside the only rectangle: 0 of 1 is half.
    EXPECT_EQ(f.Host.Mode, ViewMode::HalfFound);

    for (int s = 0; s < 20; ++s, f.Host.Clock += 1) CountdownTick(f.Game);
    EXPECT_TRUE(f.Host.Log.empty());
}

TEST(CountdownTick, TheTimeFieldTurnsRedInTheLastThirtySeconds) {
    struct Case {
        const char* name;
        std::int32_t haveLimit;
        int haveElapsed;
        bool wantWarning;
    };
    const Case cases[] = {
        {"full time", 300, 0, false},       {"31 left", 300, 269, false},
        {"30 left", 300, 270, true},        {"1 left", 300, 299, true},
        {"no time limit", 0, 290, false},   {"clock set back: more than the limit", 300, -50, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        f.Load(kOne);
        f.Game.State.TimeLimit = c.haveLimit;
        f.Host.TimeWarning = !c.wantWarning;
        f.Host.Clock += c.haveElapsed;
        CountdownTick(f.Game);
        EXPECT_EQ(f.Host.TimeWarning, c.wantWarning);
    }
    // Judging, at the end of the time or before it, clears the red.
    PlayFixture f;
    f.Load(kOne);
    f.Host.Clock += 300;
    CountdownTick(f.Game);
    EXPECT_EQ(f.Game.State.Running, 0);
    EXPECT_FALSE(f.Host.TimeWarning);
}

TEST(CountdownTick, FollowsTheCalendarClock) {
    struct Case {
        std::string name;
        std::vector<int> clockSteps;  // seconds added before each tick
        Log want;
    };
    const std::vector<Case> cases = {
        {"several ticks in one second", {0, 0, 0, 1, 0}, {TimeLeftLine(300), TimeLeftLine(299)}},
        {"a modal loop held the ticks for five seconds", {0, 5}, {TimeLeftLine(300), TimeLeftLine(295)}},
        {"clock set back", {0, -7}, {TimeLeftLine(300), TimeLeftLine(307)}},
        {"clock set forward past the limit judges at once", {0, 1000},
         {TimeLeftLine(300), TimeLeftLine(-700), std::string("message ") + kVerdictText,
          "time 判定で再挑戦", "switch HalfFound", "fit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        f.Load(kOne);
        for (int step : c.clockSteps) {
            f.Host.Clock += step;
            CountdownTick(f.Game);
        }
        EXPECT_EQ(f.Host.Log, c.want);
    }
}

TEST(CountdownTick, RetryAfterAllFoundRunsWithoutLimit) {
    PlayFixture f;
    f.Load(kOne);
    f.PlaceMarker(0, {-5, -5});  // centre (5, 5) lies in the rectangle
    Judge(f.Game);
    ASSERT_EQ(f.Host.Mode, ViewMode::AllFound);
    Judge(f.Game);  // the retry
    ASSERT_EQ(f.Game.State.Running, 1);
    f.Host.TakeLog();

    for (int s = 0; s < 400; ++s, f.Host.Clock += 1) {
        CountdownTick(f.Game);
        CountdownTick(f.Game);
    }
    const Log log = f.Host.TakeLog();
    EXPECT_EQ(log, Log(400, "time 制限時間なし"));
    EXPECT_EQ(f.Game.State.Running, 1);
}

TEST(CountdownTick, AnimatesOnlyWhileTheFrameIsActive) {
    struct Case {
        std::string name;
        bool loaded;
        bool frameActive;
        int wantSteps;
    };
    const std::vector<Case> cases = {
        {"active frame, no challenge", false, true, 3},
        {"active frame, challenge running", true, true, 3},
        {"inactive frame", true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        if (c.loaded) f.Load(kOne);
        f.Host.FrameActive = c.frameActive;
        for (int i = 0; i < 3; ++i) CountdownTick(f.Game);
        EXPECT_EQ(f.Host.AnimateSteps, c.wantSteps);
    }
}

TEST(CountdownTick, StillJudgesWhileTheFrameIsInactive) {
    PlayFixture f;
    f.Load(kOne);
    f.Host.FrameActive = false;
    f.Host.Clock += 300;
    CountdownTick(f.Game);
    EXPECT_EQ(f.Game.State.Running, 0);
    EXPECT_EQ(f.Host.Mode, ViewMode::HalfFound);
}

TEST(CountdownTick, StopsWhenTheRecordWasEmptiedUnderIt) {
    PlayFixture f;
    f.Load(kOne);
    // A mode command's switch failed: game play emptied the record.
    f.Host.FailingModes = {ViewMode::Photo};
    ASSERT_FALSE(ShowMode(f.Game, ViewMode::Photo));
    f.Host.TakeLog();
    for (int s = 0; s < 400; s += 10) {
        f.Host.Clock += 10;
        CountdownTick(f.Game);
    }
    EXPECT_TRUE(f.Host.Log.empty());
    EXPECT_EQ(f.Game.State.Running, 0);
}

}  // namespace
}  // namespace vexa
