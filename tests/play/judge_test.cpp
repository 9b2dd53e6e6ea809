#include "play/judge.h"

#include "fake_play_host.h"
#include "play/marker_play.h"
#include "play/play_messages.h"
#include "settings/result_record.h"
#include "settings/settings_saver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace vexa {
namespace {

using enum ViewMode;

using testing::FakePuzzle;
using testing::PlayFixture;
using Log = std::vector<std::string>;

const std::string kVerdict = std::string("message ") + kVerdictText;
const std::string kQuestion = std::string("ask ") + kAllFoundBeforeQuestion;

// Two differences; marker corners that put the centres in neither, one or both.
const FakePuzzle kTwo{{{100, 100, 120, 120}, {200, 50, 230, 80}}, "abc"};
const std::array<TPoint, 2> kNoneFound{{{0, 0}, {0, 0}}};
const std::array<TPoint, 2> kOneFound{{{95, 95}, {0, 0}}};
const std::array<TPoint, 2> kBothFound{{{95, 95}, {195, 45}}};

void PlaceMarkers(PlayFixture& f, const std::array<TPoint, 2>& corners) {
    f.PlaceMarker(0, corners[0]);
    f.PlaceMarker(1, corners[1]);
}

TEST(Judge, JudgesRestartsOrWelcomes) {
    struct Case {
        std::string name;
        bool load;
        bool running;
        std::set<ViewMode> failingModes;
        Log want;
        bool wantRunning;
        bool wantLoaded;
    };
    const std::vector<Case> cases = {
        {"nothing loaded", false, false, {}, {"message welcome"}, false, false},
        {"running: judges", true, true, {},
         {kVerdict, "time 判定で再挑戦", "switch HalfFound", "fit"}, false, true},
        {"result shown: restarts", true, false, {},
         {"message 再度問題に挑戦します。", "switch Scene", "fit"}, true, true},
        {"result screen cannot be shown", true, true, {HalfFound},
         {kVerdict, "time 判定で再挑戦", "switch HalfFound", "message view failure"}, false, false},
        {"restart cannot show the scene", true, false, {Scene},
         {"message 再度問題に挑戦します。", "switch Scene", "message view failure"}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        if (c.load) f.Load(kTwo);
        f.Game.State.Running = c.running;
        f.Game.State.StartTime = 7;
        f.Host.Clock = 4242;
        PlaceMarkers(f, kOneFound);
        f.Host.FailingModes = c.failingModes;

        Judge(f.Game);

        EXPECT_EQ(f.Host.Log, c.want);
        EXPECT_EQ(f.Game.State.Running != 0, c.wantRunning);
        EXPECT_EQ(f.Puzzle.Loaded != 0, c.wantLoaded);
        EXPECT_EQ(f.Game.State.StartTime, c.load && !c.running ? 4242 : 7);
        EXPECT_EQ(f.Game.State.TimeLimit, 300);
        EXPECT_EQ(f.Gathered(), c.load && !c.running) << "a restart gathers the markers, even when it fails";
    }
}

TEST(Judge, TheScoreGoesWhenAnAttemptOrALoadStarts) {
    PlayFixture f;
    f.Load(kTwo);
    f.PlaceMarker(0, kOneFound[0]);
    Judge(f.Game);
    EXPECT_EQ(f.Host.MessageField, "見つけた数 1 / 2");
    Judge(f.Game);  // the retry
    ASSERT_EQ(f.Game.State.Running, 1);
    EXPECT_EQ(f.Host.MessageField, "");

    Judge(f.Game);
    EXPECT_EQ(f.Host.MessageField, "見つけた数 0 / 2");
    f.Game.LoadPuzzle = testing::FakeLoader(kTwo);
    LoadIntoPlay(f.Game, "next.VX");
    EXPECT_EQ(f.Host.MessageField, "");

    // A load that fails clears it as well.
    Judge(f.Game);
    ASSERT_FALSE(f.Host.MessageField.empty());
    f.Game.LoadPuzzle = testing::FakeLoader(FakePuzzle{{}, "x", TLoadError::CannotOpen});
    LoadIntoPlay(f.Game, "broken.VX");
    EXPECT_EQ(f.Host.MessageField, "");
}

TEST(Judge, MarkerPointsFollowTheScrollPosition) {
    // The markers are dropped with the pointer at `drops` (client coordinates)
    // while the view is scrolled to `scroll`.
    struct Case {
        std::string name;
        TPoint scroll;
        std::array<TPoint, 2> drops;
        ViewMode wantMode;
    };
    const std::vector<Case> cases = {
        {"unscrolled, both found", {0, 0}, {{{105, 105}, {205, 55}}}, AllFound},
        {"scrolled, same picture spots", {80, 40}, {{{25, 65}, {125, 15}}}, AllFound},
        {"scrolled, one spot", {90, 90}, {{{15, 15}, {0, 0}}}, HalfFound},
        {"scrolled, drops that were right unscrolled", {150, 0}, {{{105, 105}, {205, 55}}}, FewFound},
        {"centre on the right edge", {0, 0}, {{{120, 105}, {0, 0}}}, FewFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        f.Load(kTwo);
        f.Host.Mode = Photo;
        f.Host.Place.Scroll = c.scroll;
        for (int i = 0; i < 2; ++i) {
            f.Game.State.Markers.Lifted = i;
            ReleaseMarker(f.Game, c.drops[i]);
        }
        const TMarkerBoard before = f.Game.State.Markers;
        Judge(f.Game);
        EXPECT_EQ(f.Host.Mode, c.wantMode);
        EXPECT_EQ(f.Game.State.TimeLimit, c.wantMode == AllFound ? 0 : 300);
        // The markers themselves are not moved.
        EXPECT_EQ(f.Game.State.Markers.Corners, before.Corners);
    }
}

TEST(Judge, OnlyMarkersInPlayCount) {
    PlayFixture f;
    f.Load(FakePuzzle{{{100, 100, 120, 120}}, "abc"});
    f.PlaceMarker(1, {95, 95});  // marker 1 is not in play with one difference
    Judge(f.Game);
    EXPECT_EQ(f.Host.Mode, HalfFound);
}

std::string FileWith(const std::string& value) { return "[abc]\r\nDStrs=" + value + "\r\n"; }

TEST(Judge, KeepsTheBestResultInTheSettingsFile) {
    const std::string v205 = "0x7c79d7ef,0x1611c2b2,205";
    const std::string v206 = FormatResultRecord("abc", AllFound);
    struct Case {
        std::string name;
        std::optional<std::string> stored;  // the value before the load
        std::array<TPoint, 2> corners;
        bool shift, rightButton;
        TAnswer answer;
        bool wantAsked;
        ViewMode wantMode;
        ViewMode wantBest;
        std::optional<std::string> wantValue;  // nullopt: no file
    };
    const std::vector<Case> cases = {
        {"nothing stored, nothing gained", std::nullopt, kNoneFound, false, false, TAnswer::No, false,
         FewFound, FewFound, std::nullopt},
        {"first half found is written", std::nullopt, kOneFound, false, false, TAnswer::No, false, HalfFound,
         HalfFound, v205},
        {"better result overwrites", v205, kBothFound, false, false, TAnswer::No, false, AllFound, AllFound, v206},
        {"equal result writes nothing", v205, kOneFound, false, false, TAnswer::No, false, HalfFound, HalfFound,
         v205},
        {"worse result never lowers the record", v205, kNoneFound, false, false, TAnswer::No, false,
         FewFound, HalfFound, v205},
        {"all found before, no key held: all-found screen", v206, kOneFound, false, false,
         TAnswer::Cancel, false, AllFound, AllFound, v206},
        {"all found before, Shift, Yes", v206, kNoneFound, true, false, TAnswer::Yes, true, AllFound, AllFound,
         v206},
        {"all found before, Shift, No", v206, kOneFound, true, false, TAnswer::No, true, HalfFound, AllFound,
         v206},
        {"all found before, right button, Cancel erases", v206, kOneFound, false, true,
         TAnswer::Cancel, true, HalfFound, FewFound, "0,0,0"},
        {"all found again asks nothing", v206, kBothFound, true, true, TAnswer::Cancel, false, AllFound, AllFound,
         v206},
        {"a record edited by hand counts as none", "0x7c79d7ef,0x1611c2b2,206", kOneFound, false,
         false, TAnswer::No, false, HalfFound, HalfFound, v205},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        const testing::SettingsFile& settings = f.Settings;
        if (c.stored) std::ofstream(settings.Path(), std::ios::binary) << FileWith(*c.stored);
        f.Load(kTwo);
        PlaceMarkers(f, c.corners);
        f.Host.Shift = c.shift;
        f.Host.RightButton = c.rightButton;
        f.Host.Answer = c.answer;

        Judge(f.Game);

        EXPECT_EQ(std::count(f.Host.Log.begin(), f.Host.Log.end(), kQuestion), c.wantAsked ? 1 : 0);
        EXPECT_EQ(f.Host.Mode, c.wantMode);
        EXPECT_EQ(f.Game.State.Result.BestResult, c.wantBest);
        EXPECT_EQ(settings.Bytes(),
                  c.wantValue ? std::optional<std::string>(FileWith(*c.wantValue)) : std::nullopt);
    }
}

TEST(Judge, ABetterResultThatAnotherPuzzlesRecordKeepsOutIsToldAndNotWritten) {
    // "ABC" holds a complete solution of another puzzle on the line that
    // "abc" shares with it.
    const std::string file = "[ABC]\r\nDStrs=" + FormatResultRecord("ABC", AllFound) + "\r\n";
    const std::string told = std::string("message ") + kRecordHeldByOtherText;
    struct Case {
        const char* name;
        std::array<TPoint, 2> corners;
        bool background;  // saves queued for the saver's thread
        bool wantTold;
        ViewMode wantMode;  // shown all the same
    };
    const Case cases[] = {
        {"a better result", kOneFound, false, true, HalfFound},
        {"a better result, saves in the background", kBothFound, true, true, AllFound},
        {"no better result: nothing to store", kNoneFound, false, false, FewFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        std::ofstream(f.Settings.Path(), std::ios::binary) << file;
        SetSettingsSavesInBackground(c.background);
        f.Load(kTwo);
        PlaceMarkers(f, c.corners);
        Judge(f.Game);
        SetSettingsSavesInBackground(false);  // waits for any save queued
        const Log log = f.Host.TakeLog();
        const auto at = std::find(log.begin(), log.end(), told);
        EXPECT_EQ(at != log.end(), c.wantTold);
        if (c.wantTold) {
            EXPECT_LT(std::find(log.begin(), log.end(), kVerdict), at) << "after the verdict";
        }
        EXPECT_EQ(f.Settings.Bytes(), file);
        EXPECT_EQ(f.Host.Mode, c.wantMode);
    }

    // The puzzle's own spelling is written as ever.
    PlayFixture f;
    std::ofstream(f.Settings.Path(), std::ios::binary) << "[abc]\r\nDStrs=0,0,0\r\n";
    f.Load(kTwo);
    PlaceMarkers(f, kOneFound);
    Judge(f.Game);
    EXPECT_EQ(std::count(f.Host.Log.begin(), f.Host.Log.end(), told), 0);
    EXPECT_EQ(f.Settings.Bytes(), FileWith(FormatResultRecord("abc", HalfFound)));
}

TEST(Judge, AfterAnEraseTheNextCompleteSolutionIsWrittenAfresh) {
    PlayFixture f;
    const testing::SettingsFile& settings = f.Settings;
    std::ofstream(settings.Path(), std::ios::binary) << FileWith(FormatResultRecord("abc", AllFound));
    f.Load(kTwo);
    ASSERT_EQ(f.Game.State.Result.BestResult, AllFound);

    PlaceMarkers(f, kNoneFound);
    f.Host.Shift = true;
    f.Host.Answer = TAnswer::Cancel;
    Judge(f.Game);
    ASSERT_EQ(settings.Bytes(), FileWith("0,0,0"));
    EXPECT_EQ(f.Host.Mode, FewFound);

    Judge(f.Game);  // retry
    PlaceMarkers(f, kBothFound);
    Judge(f.Game);
    EXPECT_EQ(f.Host.Mode, AllFound);
    EXPECT_EQ(settings.Bytes(), FileWith(FormatResultRecord("abc", AllFound)));

    // A fresh load reads the record back.
    f.Load(kTwo);
    EXPECT_EQ(f.Game.State.Result.BestResult, AllFound);
}

}  // namespace
}  // namespace vexa
