// The review of a judgement and the score after judging: what Judge keeps,
// when the review can be shown, how it is left, and what forgets it.
#include "play/review.h"

#include "fake_play_host.h"
#include "play/judge.h"
#include "play/load_into_play.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace vexa {
namespace {

using enum ViewMode;

using testing::FakePuzzle;
using testing::PlayFixture;
using Log = std::vector<std::string>;

// Rectangles 0 and 1 overlap; a marker centred at (55, 55) lies in both.
const FakePuzzle kThree{{{0, 0, 60, 60}, {50, 50, 100, 100}, {200, 0, 220, 20}}, "abc"};

// Marker 0 on the third difference, the others far from all three.
void FindOnlyTheThird(PlayFixture& f) {
    f.PlaceMarker(0, {200, 0});
    f.PlaceMarker(1, {300, 300});
    f.PlaceMarker(2, {300, 300});
}

TEST(Review, JudgeKeepsFoundFlagsPointsAndShowsTheScore) {
    struct Case {
        std::string name;
        std::array<TPoint, 3> haveCorners;  // client coordinates of a view scrolled to haveScroll
        TPoint haveScroll;
        std::array<bool, 3> wantFound;
        std::string wantScore;
        ViewMode wantMode;
    };
    const std::vector<Case> cases = {
        {"none found", {{{300, 300}, {300, 300}, {300, 300}}}, {0, 0}, {false, false, false}, "見つけた数 0 / 3",
         FewFound},
        {"only the third", {{{200, 0}, {300, 300}, {300, 300}}}, {0, 0}, {false, false, true}, "見つけた数 1 / 3",
         HalfFound},
        // Marker 0 lies in both; it leaves rectangle 0 to marker 1.
        {"overlap shared out", {{{45, 45}, {0, 0}, {300, 300}}}, {0, 0}, {true, true, false}, "見つけた数 2 / 3",
         HalfFound},
        {"all, scrolled", {{{35, 35}, {-5, -5}, {180, -10}}}, {10, 10}, {true, true, true}, "見つけた数 3 / 3",
         AllFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        f.Load(kThree);
        for (int i = 0; i < 3; ++i)
            f.PlaceMarker(i, {c.haveCorners[i].X + c.haveScroll.X, c.haveCorners[i].Y + c.haveScroll.Y});
        Judge(f.Game);
        const TJudgement& j = f.Game.State.LastJudgement;
        ASSERT_TRUE(j.Valid);
        EXPECT_EQ(j.DiffCount, 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(j.Found[i], c.wantFound[i]) << i;
            const TPoint want{c.haveCorners[i].X + c.haveScroll.X + 10, c.haveCorners[i].Y + c.haveScroll.Y + 10};
            EXPECT_EQ(j.Points[i], want) << i;
        }
        EXPECT_EQ(f.Host.MessageField, c.wantScore);
        EXPECT_EQ(f.Host.Mode, c.wantMode);
    }
}

TEST(Review, ScoreIsTheCountEvenWhenAnEarlierSolutionShowsTheAllFoundScreen) {
    PlayFixture f;
    f.Load(kThree);
    f.Game.State.Result.BestResult = AllFound;
    FindOnlyTheThird(f);
    Judge(f.Game);
    EXPECT_EQ(f.Host.Mode, AllFound);
    EXPECT_EQ(f.Host.MessageField, "見つけた数 1 / 3");
    EXPECT_EQ(f.Game.State.LastJudgement.FoundCount, 1);
}

TEST(Review, ShowsTheReviewOverTheResultAndReturnsToIt) {
    PlayFixture f;
    f.Load(kThree);
    FindOnlyTheThird(f);
    Judge(f.Game);
    ASSERT_EQ(f.Host.Mode, HalfFound);
    const auto settingsBefore = f.Settings.Bytes();
    f.Host.TakeLog();
    f.Host.MessageField = "a hint";

    ToggleReview(f.Game);
    EXPECT_EQ(f.Host.TakeLog(), (Log{"review", "fit"}));
    EXPECT_TRUE(f.Game.State.Reviewing());
    EXPECT_EQ(f.Host.Mode, HalfFound) << "the view's mode stays the result under the review";
    EXPECT_EQ(f.Host.Overlay.Outlined, 3);
    EXPECT_EQ(f.Host.Overlay.Found, (std::array<bool, kMaxDiffs>{false, false, true}));
    EXPECT_EQ(f.Host.Overlay.MarkersShown, 3) << "the markers in play, where they were judged";
    EXPECT_EQ(f.Host.Overlay.Markers.Corners[0], (TPoint{200, 0}));
    EXPECT_EQ(f.Host.MessageField, "見つけた数 1 / 3");
    EXPECT_TRUE(ReviewEnabled(f.Game));

    ToggleReview(f.Game);  // back: the result screen is shown afresh
    EXPECT_EQ(f.Host.TakeLog(), (Log{"switch HalfFound", "fit"}));
    EXPECT_FALSE(f.Game.State.Reviewing());
    EXPECT_TRUE(ReviewEnabled(f.Game));

    ToggleReview(f.Game);
    EXPECT_EQ(f.Host.TakeLog(), (Log{"review", "fit"}));
    EXPECT_EQ(f.Settings.Bytes(), settingsBefore);

    // Judging from the review restarts exactly as from the result screen.
    Judge(f.Game);
    EXPECT_EQ(f.Host.TakeLog(), (Log{"message 再度問題に挑戦します。", "switch Scene", "fit"}));
    EXPECT_TRUE(f.Gathered());
    EXPECT_EQ(f.Game.State.Running, 1);
    EXPECT_FALSE(f.Game.State.Reviewing());
    EXPECT_FALSE(f.Game.State.LastJudgement.Valid);
    EXPECT_EQ(f.Settings.Bytes(), settingsBefore);
}

TEST(Review, EnabledOnlyOnAResultScreenOrTheReview) {
    struct Case {
        std::string name;
        std::function<void(PlayFixture&)> have;
        bool want;
    };
    const auto judged = [](PlayFixture& f) {
        f.Load(kThree);
        Judge(f.Game);
    };
    const std::vector<Case> cases = {
        {"nothing loaded", [](PlayFixture&) {}, false},
        {"challenge running", [](PlayFixture& f) { f.Load(kThree); }, false},
        {"result screen", judged, true},
        {"review shown", [&](PlayFixture& f) { judged(f), ToggleReview(f.Game); }, true},
        {"restarted", [&](PlayFixture& f) { judged(f), Judge(f.Game); }, false},
        {"restarted and judged again", [&](PlayFixture& f) { judged(f), Judge(f.Game), Judge(f.Game); }, true},
        {"another puzzle loaded", [&](PlayFixture& f) { judged(f), f.Load(kThree); }, false},
        {"a load that failed", [&](PlayFixture& f) {
             judged(f);
             ToggleReview(f.Game);
             f.Load(FakePuzzle{{}, "x", TLoadError::BadData});
         }, false},
        {"review that could not be shown", [&](PlayFixture& f) {
             judged(f);
             f.Host.FailingReview = true;
             ToggleReview(f.Game);
         }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        c.have(f);
        EXPECT_EQ(ReviewEnabled(f.Game), c.want);
        if (!c.want) {
            // The command does nothing then.
            f.Host.TakeLog();
            ToggleReview(f.Game);
            EXPECT_TRUE(f.Host.Log.empty());
            EXPECT_FALSE(f.Game.State.Reviewing());
        }
    }
}

TEST(Review, AReviewThatCannotBeShownEndsTheGame) {
    PlayFixture f;
    f.Load(kThree);
    Judge(f.Game);
    f.Host.TakeLog();
    f.Host.FailingReview = true;
    ToggleReview(f.Game);
    EXPECT_EQ(f.Host.TakeLog(), (Log{"review", "message view failure"}));
    EXPECT_EQ(f.Puzzle.Loaded, 0);
    EXPECT_FALSE(f.Game.State.Reviewing());
    EXPECT_FALSE(f.Game.State.LastJudgement.Valid);
}

}  // namespace
}  // namespace vexa
