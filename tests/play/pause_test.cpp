// Pausing the countdown: the elapsed time is kept at the pause and goes on
// from there, whatever the calendar clock does meanwhile.
#include "play/countdown.h"

#include "fake_play_host.h"
#include "play/judge.h"
#include "play/play_messages.h"
#include "settings/display_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa {
namespace {

using testing::FakePuzzle;
using testing::PlayFixture;
using testing::TimeLeftLine;
using Log = std::vector<std::string>;

const FakePuzzle kOne{{{0, 0, 10, 10}}, "Sec"};


TEST(Pause, ResumeGoesOnFromTheElapsedTimeAtThePause) {
    struct Case {
        std::string name;
        std::int32_t haveLimit;
        int haveElapsed;      // seconds run before the pause
        int haveClockChange;  // what the calendar clock does during the pause
        Log wantOnResume;     // shown at once
        Log wantSecondLater;  // one second after the resume
    };
    const std::string noLimit = std::string("time ") + kNoTimeLimitText;
    const std::vector<Case> cases = {
        {"paused for longer than the limit", 300, 100, 1000, {"resumed", TimeLeftLine(200)}, {TimeLeftLine(199)}},
        {"no time limit", 0, 50, 5000, {"resumed", noLimit}, {noLimit}},
        {"clock set back while paused", 300, 100, -3600, {"resumed", TimeLeftLine(200)}, {TimeLeftLine(199)}},
        {"clock set far forward while paused", 300, 100, 1'000'000'000, {"resumed", TimeLeftLine(200)},
         {TimeLeftLine(199)}},
        {"paused at once", 300, 0, 20, {"resumed", TimeLeftLine(300)}, {TimeLeftLine(299)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        f.Load(kOne);
        f.Game.State.TimeLimit = c.haveLimit;
        f.Host.Clock += c.haveElapsed;
        CountdownTick(f.Game);
        PauseChallenge(f.Game);
        ASSERT_TRUE(f.Game.State.Paused());
        f.Host.TakeLog();

        // While paused the clock stands still and judging waits.
        for (int s = 0; s < 3; ++s) {
            f.Host.Clock += c.haveClockChange / 3;
            CountdownTick(f.Game);
            Judge(f.Game);
        }
        f.Host.Clock += c.haveClockChange - c.haveClockChange / 3 * 3;
        EXPECT_TRUE(f.Host.TakeLog().empty());
        EXPECT_EQ(f.Game.State.Running, 1);

        ResumeChallenge(f.Game);
        EXPECT_EQ(f.Host.TakeLog(), c.wantOnResume);
        CountdownTick(f.Game);
        EXPECT_TRUE(f.Host.TakeLog().empty()) << "the same second is not shown twice";
        f.Host.Clock += 1;
        CountdownTick(f.Game);
        EXPECT_EQ(f.Host.TakeLog(), c.wantSecondLater);
        EXPECT_EQ(f.Game.State.Running, 1);
    }
}

TEST(Pause, ResumeWithTheTimeAlreadyUpJudges) {
    PlayFixture f;
    f.Load(kOne);
    f.Host.Clock += 299;
    CountdownTick(f.Game);
    f.Host.Clock += 5;  // the second past the limit was not ticked yet
    PauseChallenge(f.Game);
    f.Host.Clock += 60;
    f.Host.TakeLog();
    ResumeChallenge(f.Game);
    EXPECT_EQ(f.Host.TakeLog(), (Log{"resumed", TimeLeftLine(-4), std::string("message ") + kVerdictText,
                                     "time 判定で再挑戦", "switch HalfFound", "fit"}));
    EXPECT_EQ(f.Game.State.Running, 0);
}

TEST(Pause, OnlyARunningChallengePausesAndALoadEndsThePause) {
    PlayFixture f;
    PauseChallenge(f.Game);  // nothing loaded
    EXPECT_FALSE(f.Game.State.Paused());
    EXPECT_FALSE(PauseEnabled(f.Game));

    f.Load(kOne);
    EXPECT_TRUE(PauseEnabled(f.Game));
    TogglePause(f.Game);
    TogglePause(f.Game);
    TogglePause(f.Game);
    EXPECT_EQ(f.Host.TakeLog(), (Log{"paused", "resumed", TimeLeftLine(300), "paused"}));
    PauseChallenge(f.Game);  // already paused
    EXPECT_TRUE(f.Host.Log.empty());

    // Another puzzle starts unpaused, with a fresh clock.
    f.Host.Clock += 50;
    f.Game.LoadPuzzle = testing::FakeLoader(kOne);
    LoadIntoPlay(f.Game, "next.VX");
    EXPECT_EQ(f.Host.Log.at(1), "resumed") << "the pause screen goes with the first switch";
    EXPECT_FALSE(f.Host.Overlay.Paused);
    EXPECT_FALSE(f.Game.State.Paused());
    f.Host.TakeLog();
    f.Host.Clock += 1;
    CountdownTick(f.Game);
    EXPECT_EQ(f.Host.TakeLog(), (Log{TimeLeftLine(299)}));

    // A judged challenge cannot be paused.
    Judge(f.Game);
    PauseChallenge(f.Game);
    EXPECT_FALSE(f.Game.State.Paused());
}

TEST(Pause, MinimisingPausesOnlyWhenChosenAndRestoringGoesOn) {
    struct Case {
        std::string name;
        bool havePauseOnMinimise;
        bool haveUserPause;     // P pressed before minimising
        Log wantOnMinimise;
        Log wantOnRestore;
        bool wantPausedAfter;
    };
    const std::vector<Case> cases = {
        // The countdown runs on while minimised and still judges.
        {"off: nothing pauses", false, false, {}, {}, false},
        {"on: paused, and restoring resumes at the kept time", true, false, {"paused"},
         {"resumed", TimeLeftLine(290)}, false},
        {"on, already paused by the user: the user's pause stays", true, true, {}, {}, true},
        {"off, paused by the user: the pause stays", false, true, {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        f.Load(kOne);
        f.Game.State.PauseOnMinimise = c.havePauseOnMinimise;
        f.Host.Clock += 10;
        CountdownTick(f.Game);
        if (c.haveUserPause) PauseChallenge(f.Game);
        f.Host.TakeLog();

        FrameMinimised(f.Game);
        EXPECT_EQ(f.Host.TakeLog(), c.wantOnMinimise);
        f.Host.Clock += 100;
        FrameRestored(f.Game);
        EXPECT_EQ(f.Host.TakeLog(), c.wantOnRestore);
        EXPECT_EQ(f.Game.State.Paused(), c.wantPausedAfter);
        EXPECT_TRUE(f.Game.State.Running);
    }
}

TEST(Pause, WhileMinimisedWithoutThePauseTheClockJudges) {
    PlayFixture f;
    f.Load(kOne);
    FrameMinimised(f.Game);
    f.Host.FrameActive = false;
    f.Host.Clock += 300;
    CountdownTick(f.Game);
    EXPECT_FALSE(f.Game.State.Running) << "judged while minimised";
    EXPECT_EQ(f.Host.AnimateSteps, 0) << "only the animation waits";
}

TEST(Pause, AMinimisePauseEndedByTheUserIsNotResumedAgain) {
    PlayFixture f;
    f.Load(kOne);
    f.Game.State.PauseOnMinimise = true;
    FrameMinimised(f.Game);
    TogglePause(f.Game);  // resumed by P while minimised
    PauseChallenge(f.Game);  // and paused again by the user
    f.Host.TakeLog();
    FrameRestored(f.Game);
    EXPECT_TRUE(f.Game.State.Paused()) << "the user's own pause waits for P";
    EXPECT_TRUE(f.Host.Log.empty());
}

TEST(Pause, ThePauseOnMinimiseChoiceIsKeptInTheSettingsFile) {
    PlayFixture f;
    EXPECT_FALSE(f.Game.State.PauseOnMinimise) << "off at first";
    EXPECT_FALSE(ReadPauseOnMinimise(f.Game.SettingsPath));
    SwitchPauseOnMinimise(f.Game);
    EXPECT_TRUE(f.Game.State.PauseOnMinimise);
    EXPECT_TRUE(ReadPauseOnMinimise(f.Game.SettingsPath));
    EXPECT_FALSE(ReadConspicuousMarkers(f.Game.SettingsPath)) << "a line of its own";
    SwitchPauseOnMinimise(f.Game);
    EXPECT_FALSE(f.Game.State.PauseOnMinimise);
    EXPECT_FALSE(ReadPauseOnMinimise(f.Game.SettingsPath));
}

}  // namespace
}  // namespace vexa
