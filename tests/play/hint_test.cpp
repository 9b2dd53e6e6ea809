// Hints: when one is offered, which difference it marks, what it costs, the
// count in the message field, and the frame the view is handed to draw.
#include "play/hint.h"

#include "fake_play_host.h"
#include "play/countdown.h"
#include "play/judge.h"
#include "play/play_messages.h"
#include "play/review.h"
#include "play/show_mode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace vexa {
namespace {

using enum ViewMode;

using testing::FakePuzzle;
using testing::PlayFixture;
using testing::TimeLeftLine;

// Rectangles 0 and 1 overlap in 60..69 x 50..59; the markers gather at the
// top-left corner, whose centre (10, 10) lies in none of the three.
const FakePuzzle kThree{{{40, 30, 70, 60}, {60, 50, 100, 100}, {200, 0, 220, 20}}, "abc"};

// Puts marker i's centre at `centre` (picture coordinates).
void Centre(PlayFixture& f, int i, TPoint centre) { f.PlaceMarker(i, {centre.X - 10, centre.Y - 10}); }

void CoverAll(PlayFixture& f) {
    Centre(f, 0, {45, 35});
    Centre(f, 1, {90, 90});
    Centre(f, 2, {205, 5});
}

// Loaded, with the photo shown, the log dropped.
void OnThePhoto(PlayFixture& f, const FakePuzzle& puzzle = kThree) {
    f.Load(puzzle);
    ASSERT_TRUE(ShowMode(f.Game, Photo));
    f.Host.TakeLog();
}

bool SameRect(const TDiffRect& a, const TDiffRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

TEST(Hint, MarksTheFirstDifferenceJudgingWouldNotCountNow) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, TPoint>> haveCentres;  // marker, centre; the rest stay gathered
        int wantTarget;
    };
    const std::vector<Case> cases = {
        {"nothing covered", {}, 0},
        {"the first covered", {{0, {45, 35}}}, 1},
        {"the first two covered", {{0, {45, 35}}, {1, {90, 90}}}, 2},
        // Marker 0 lies in both overlapping rectangles and leaves rectangle 0
        // to marker 1, as judging shares them out: both count.
        {"overlap shared out as judging does", {{0, {65, 55}}, {1, {45, 35}}}, 2},
        {"two markers in one rectangle count once", {{0, {45, 35}}, {1, {50, 40}}}, 1},
        {"a centre on the right edge is outside", {{0, {70, 40}}}, 0},
        {"a later one covered, the first not", {{2, {205, 5}}}, 0},
        {"every one covered", {{0, {45, 35}}, {1, {90, 90}}, {2, {205, 5}}}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        OnThePhoto(f);
        for (const auto& [marker, centre] : c.haveCentres) Centre(f, marker, centre);
        EXPECT_EQ(HintTarget(f.Game), c.wantTarget);
        const bool used = UseHint(f.Game, 0);
        EXPECT_EQ(used, c.wantTarget >= 0);
        EXPECT_EQ(f.Host.Overlay.Hint.Shown, used);
        if (used) {
            EXPECT_EQ(f.Host.Overlay.Hint.Diff, c.wantTarget);
        }
    }
}

TEST(Hint, OfferedOnlyOnThePhotoOfARunningChallengeWithMoreThanThirtySecondsLeft) {
    struct Case {
        const char* name;
        std::function<void(PlayFixture&)> have;
        bool wantOffered;
    };
    const std::vector<Case> cases = {
        {"the photo at the start", [](PlayFixture&) {}, true},
        {"31 seconds left", [](PlayFixture& f) { f.Host.Clock += 269; }, true},
        {"30 seconds left", [](PlayFixture& f) { f.Host.Clock += 270; }, false},
        {"the time up, not yet judged", [](PlayFixture& f) { f.Host.Clock += 300; }, false},
        {"no time limit, long after the start",
         [](PlayFixture& f) {
             f.Game.State.TimeLimit = 0;
             f.Host.Clock += 10'000;
         },
         true},
        {"the scene shown", [](PlayFixture& f) { ShowMode(f.Game, Scene); }, false},
        {"paused", [](PlayFixture& f) { PauseChallenge(f.Game); }, false},
        {"a frame showing still", [](PlayFixture& f) { UseHint(f.Game, 0); }, false},
        {"the frame gone again",
         [](PlayFixture& f) {
             UseHint(f.Game, 0);
             HintTick(f.Game, kHintShowMs);
         },
         true},
        {"every difference covered", [](PlayFixture& f) { CoverAll(f); }, false},
        {"judged: the result shown", [](PlayFixture& f) { Judge(f.Game); }, false},
        {"the review",
         [](PlayFixture& f) {
             Judge(f.Game);
             ToggleReview(f.Game);
             ASSERT_TRUE(f.Game.State.Reviewing());
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        OnThePhoto(f);
        c.have(f);
        EXPECT_EQ(HintOffered(f.Game), c.wantOffered);
        const TPlayState before = f.Game.State;
        f.Host.TakeLog();
        const bool used = UseHint(f.Game, kHintShowMs + 1);
        EXPECT_EQ(used, c.wantOffered);
        if (!used) {
            // Refused: nothing happens at all.
            EXPECT_TRUE(f.Host.TakeLog().empty());
            EXPECT_EQ(f.Game.State.StartTime, before.StartTime);
            EXPECT_EQ(f.Game.State.Hint.Used, before.Hint.Used);
        }
    }

    PlayFixture nothingLoaded;
    EXPECT_FALSE(HintOffered(nothingLoaded.Game));
    EXPECT_FALSE(UseHint(nothingLoaded.Game, 0));
}

TEST(Hint, TakesThirtySecondsAndCountsInTheMessageFieldLeavingMarkersAndRecordAlone) {
    PlayFixture f;
    OnThePhoto(f);
    Centre(f, 0, {45, 35});
    f.Host.Clock += 10;
    CountdownTick(f.Game);
    ASSERT_EQ(f.Host.TakeLog(), std::vector<std::string>{TimeLeftLine(290)});
    const TMarkerBoard markers = f.Game.State.Markers;

    ASSERT_TRUE(UseHint(f.Game, 5'000));
    EXPECT_EQ(f.Host.TakeLog(), std::vector<std::string>{TimeLeftLine(260)}) << "shown at once";
    EXPECT_EQ(f.Host.MessageField, "ヒント 1回");
    EXPECT_EQ(f.Game.State.Markers.Corners, markers.Corners);
    EXPECT_EQ(f.Game.State.Markers.Stacking, markers.Stacking);
    CountdownTick(f.Game);
    EXPECT_TRUE(f.Host.TakeLog().empty());
    f.Host.Clock += 1;
    CountdownTick(f.Game);
    EXPECT_EQ(f.Host.TakeLog(), std::vector<std::string>{TimeLeftLine(259)}) << "the clock runs on from there";

    EXPECT_FALSE(HintTick(f.Game, 5'000 + kHintShowMs));
    ASSERT_TRUE(UseHint(f.Game, 8'000));
    EXPECT_EQ(f.Host.TakeLog(), std::vector<std::string>{TimeLeftLine(229)});
    EXPECT_EQ(f.Host.MessageField, "ヒント 2回");

    // Judging counts the markers only: the hints cost time, not the result.
    Centre(f, 1, {90, 90});
    Centre(f, 2, {205, 5});
    Judge(f.Game);
    EXPECT_EQ(f.Host.Mode, AllFound);
    EXPECT_EQ(f.Game.State.Result.BestResult, AllFound);
    EXPECT_EQ(f.Host.MessageField, "見つけた数 3 / 3") << "the score replaces the count";
    EXPECT_EQ(f.Settings.Bytes(), "[abc]\r\nDStrs=" + FormatResultRecord("abc", AllFound) + "\r\n");
}

TEST(Hint, FreeAndUnlimitedInARetryWithoutTimeLimit) {
    PlayFixture f;
    OnThePhoto(f);
    CoverAll(f);
    Judge(f.Game);
    ASSERT_EQ(f.Game.State.TimeLimit, 0);
    Judge(f.Game);  // the retry, markers gathered
    ASSERT_TRUE(ShowMode(f.Game, Photo));
    f.Host.Clock += 5'000;
    f.Host.TakeLog();
    const std::int64_t start = f.Game.State.StartTime;
    for (int i = 1; i <= 12; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(UseHint(f.Game, i * kHintShowMs));
        HintTick(f.Game, (i + 1) * kHintShowMs);
        EXPECT_EQ(f.Host.MessageField, "ヒント " + std::to_string(i) + "回");
    }
    EXPECT_EQ(f.Game.State.StartTime, start);
    EXPECT_TRUE(f.Host.TakeLog().empty()) << "the time field is not touched";
}

TEST(Hint, TheCountStartsAfreshWithEveryAttemptAndLoad) {
    struct Case {
        const char* name;
        std::function<void(PlayFixture&)> startAgain;
    };
    const std::vector<Case> cases = {
        {"a retry after judging",
         [](PlayFixture& f) {
             Judge(f.Game);
             Judge(f.Game);
         }},
        {"a load", [](PlayFixture& f) { f.Load(kThree); }},
        {"a load that fails",
         [](PlayFixture& f) {
             f.Game.LoadPuzzle = testing::FakeLoader(FakePuzzle{{}, "x", TLoadError::CannotOpen});
             LoadIntoPlay(f.Game, "broken.VX");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        OnThePhoto(f);
        ASSERT_TRUE(UseHint(f.Game, 0));
        c.startAgain(f);
        EXPECT_EQ(f.Host.MessageField, "");
        EXPECT_EQ(f.Game.State.Hint.Used, 0);
        EXPECT_FALSE(f.Host.Overlay.Hint.Shown);
        if (!f.Puzzle.Loaded) continue;
        ASSERT_TRUE(ShowMode(f.Game, Photo));
        ASSERT_TRUE(UseHint(f.Game, 0)) << "a frame of the last attempt does not hold the next one up";
        EXPECT_EQ(f.Host.MessageField, "ヒント 1回");
    }
}

TEST(Hint, TheFrameClosesInAroundTheDifferenceForTwoSeconds) {
    struct Case {
        std::int64_t ageMs;
        int wantMargin;
    };
    const Case cases[] = {{0, 34}, {250, 20}, {499, 7}, {500, 34}, {1250, 20}, {1999, 7}};
    const TDiffRect rect{60, 50, 100, 100};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ageMs);
        const TDiffRect frame = HintFrame(rect, c.ageMs);
        EXPECT_TRUE(SameRect(frame, TDiffRect{60 - c.wantMargin, 50 - c.wantMargin, 100 + c.wantMargin,
                                              100 + c.wantMargin}));
    }
    // Never further than 40 pixels from the difference with its line, nor on it.
    for (std::int64_t age = 0; age < kHintShowMs; ++age) {
        const int margin = rect.Left - HintFrame(rect, age).Left;
        ASSERT_LE(margin + kHintThickness / 2, 40) << age;
        ASSERT_GT(margin - kHintThickness / 2, 0) << age;
    }
    // Edges out of order, and edges at the ends of the record's range.
    EXPECT_TRUE(SameRect(HintFrame({70, 60, 40, 30}, 0), TDiffRect{6, -4, 104, 94}));
    const TDiffRect wide = HintFrame({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 0);
    EXPECT_TRUE(SameRect(wide, TDiffRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}));
}

TEST(Hint, TheViewIsHandedTheFrameOnThePhotoUntilItsTimeIsOver) {
    PlayFixture f;
    OnThePhoto(f);
    Centre(f, 0, {45, 35});
    ASSERT_TRUE(UseHint(f.Game, 10'000));
    const THintRing& ring = f.Host.Overlay.Hint;
    ASSERT_TRUE(ring.Shown);
    EXPECT_EQ(ring.Diff, 1);
    EXPECT_TRUE(SameRect(ring.Frame, HintFrame(kThree.Rects[1], 0)));
    EXPECT_EQ(ring.Thickness, kHintThickness);

    EXPECT_TRUE(HintTick(f.Game, 10'250));
    EXPECT_TRUE(SameRect(f.Host.Overlay.Hint.Frame, HintFrame(kThree.Rects[1], 250)));
    // The scene alone shows no frame; back on the photo it shows on.
    ASSERT_TRUE(ShowMode(f.Game, Scene));
    EXPECT_FALSE(f.Host.Overlay.Hint.Shown);
    EXPECT_TRUE(HintTick(f.Game, 10'500));
    EXPECT_FALSE(f.Host.Overlay.Hint.Shown);
    ASSERT_TRUE(ShowMode(f.Game, Photo));
    EXPECT_TRUE(f.Host.Overlay.Hint.Shown);
    // Nor does the pause screen.
    PauseChallenge(f.Game);
    EXPECT_FALSE(f.Host.Overlay.Hint.Shown);
    ResumeChallenge(f.Game);
    EXPECT_TRUE(HintTick(f.Game, 10'000 + kHintShowMs - 1));
    EXPECT_TRUE(f.Host.Overlay.Hint.Shown);
    EXPECT_FALSE(HintTick(f.Game, 10'000 + kHintShowMs));
    EXPECT_FALSE(f.Host.Overlay.Hint.Shown);
    EXPECT_FALSE(HintTick(f.Game, 20'000)) << "nothing left to tick";

    struct Case {
        const char* name;
        std::function<void(PlayFixture&)> end;
    };
    const std::vector<Case> ends = {
        {"the clock set back", [](PlayFixture& g) { HintTick(g.Game, 9'999); }},
        {"judging, before the verdict shows",
         [](PlayFixture& g) {
             g.Host.TakeLog();
             Judge(g.Game);
             ASSERT_EQ(g.Host.Log.at(0), std::string("message ") + kVerdictText);
             EXPECT_FALSE(g.Host.OverlayAtFirstMessage.Hint.Shown);
         }},
        {"the view failing", [](PlayFixture& g) {
             g.Host.FailingModes.insert(Scene);
             ShowMode(g.Game, Scene);
         }},
    };
    for (const Case& c : ends) {
        SCOPED_TRACE(c.name);
        PlayFixture g;
        OnThePhoto(g);
        ASSERT_TRUE(UseHint(g.Game, 10'000));
        c.end(g);
        EXPECT_FALSE(g.Host.Overlay.Hint.Shown);
        EXPECT_FALSE(HintTick(g.Game, 10'100));
    }
}

}  // namespace
}  // namespace vexa
