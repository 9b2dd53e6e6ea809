// The marker board of game play: the one rule of when markers may move, and
// the pointer, keys and gathering in a scrolled view, where two rules are
// stated in client coordinates (gathering at the view's top-left, the drop's
// clamping) while the board keeps picture coordinates.
#include "play/marker_play.h"

#include "fake_play_host.h"
#include "play/countdown.h"
#include "play/judge.h"
#include "play/review.h"
#include "play/show_mode.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vexa {
namespace {

using enum ViewMode;
using testing::FakePuzzle;
using testing::PlayFixture;

const FakePuzzle kThree{{{0, 0, 60, 60}, {50, 50, 100, 100}, {200, 0, 220, 20}}, "abc"};
constexpr int kPictureW = 300, kPictureH = 200;

// A running challenge on the photo, the view scrolled to `scroll`.
void StartOnPhoto(PlayFixture& f, TPoint scroll) {
    f.Load(kThree);
    f.Host.Place = TViewPlace{scroll, kPictureW, kPictureH};
    f.Host.Mode = Photo;
    GatherMarkersAtView(f.Game);
}

TPoint Plus(TPoint a, TPoint b) { return TPoint{a.X + b.X, a.Y + b.Y}; }

TEST(MarkerPlay, OneRuleDecidesWhetherMarkersMayMove) {
    struct Case {
        std::string name;
        std::function<void(PlayFixture&)> have;
        bool want;
    };
    const std::vector<Case> cases = {
        {"photo of a running challenge", [](PlayFixture&) {}, true},
        {"the current scene", [](PlayFixture& f) { f.Host.Mode = Scene; }, false},
        {"the scene beside the photo", [](PlayFixture& f) { f.Game.State.SideBySide = true, f.Host.Mode = Scene; },
         true},
        {"the outlined photo, side by side on",
         [](PlayFixture& f) { f.Game.State.SideBySide = true, f.Host.Mode = OutlinePhoto; }, false},
        {"the outlined photo", [](PlayFixture& f) { f.Host.Mode = OutlinePhoto; }, false},
        {"paused", [](PlayFixture& f) { PauseChallenge(f.Game); }, false},
        {"judged", [](PlayFixture& f) { Judge(f.Game); }, false},
        {"under the review", [](PlayFixture& f) { Judge(f.Game), ToggleReview(f.Game); }, false},
        {"photo shown but no challenge runs", [](PlayFixture& f) { f.Game.State.Running = false; }, false},
        {"nothing loaded", [](PlayFixture& f) { f.Puzzle.Reset(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        StartOnPhoto(f, {0, 0});
        c.have(f);
        EXPECT_EQ(MarkersMayMove(f.Game), c.want);
        // The pointer and the keys follow the same rule.
        PressMarker(f.Game, {5, 5});
        EXPECT_EQ(f.Game.State.Markers.Lifted, c.want ? 0 : -1);
        ReleaseMarker(f.Game, {105, 105});
        EXPECT_EQ(f.Game.State.Markers.Corners[0], (c.want ? TPoint{95, 95} : TPoint{0, 0}));
        EXPECT_EQ(MarkerKey(f.Game, {TMarkerKey::Next}), c.want);
        EXPECT_EQ(f.Game.State.Markers.Selected, c.want ? 0 : -1);
    }
}

TEST(MarkerPlay, InAScrolledViewGatheringAndDropsFollowTheClientArea) {
    struct Case {
        std::string name;
        TPoint pointer;      // the release, client coordinates
        TPoint wantCorner;   // client coordinates; the board adds the scroll
    };
    const std::vector<Case> cases = {
        {"dropped centred on the pointer", {150, 80}, {140, 70}},
        {"at the client origin: half outside", {0, 0}, {-10, -10}},
        {"left of and above the client area", {-50, -70}, {-10, -10}},
        // The clamp takes the picture size from the client area's corner,
        // not from the picture's: the scroll position plays no part.
        {"far right and below", {5000, 4000}, {kPictureW - 10, kPictureH - 10}},
    };
    for (const TPoint scroll : {TPoint{0, 0}, TPoint{30, 20}, TPoint{250, 170}}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name + " scrolled to " + std::to_string(scroll.X) + "," + std::to_string(scroll.Y));
            PlayFixture f;
            StartOnPhoto(f, scroll);
            // Gathering puts every corner at the view's top-left: the scroll position.
            EXPECT_TRUE(f.Gathered());
            EXPECT_EQ(f.Host.Overlay.Markers.Corners[9], scroll) << "the view was handed the gathered board";

            // The gathered markers lie under the client origin; the lowest is picked up.
            PressMarker(f.Game, {20, 20});
            ASSERT_EQ(f.Game.State.Markers.Lifted, 0);
            ReleaseMarker(f.Game, c.pointer);
            EXPECT_EQ(f.Game.State.Markers.Lifted, -1);
            EXPECT_EQ(f.Game.State.Markers.Corners[0], Plus(c.wantCorner, scroll));
            EXPECT_TRUE(f.Game.State.Markers.InnerInset[0]) << "the inner frame one pixel in after a drop";
            EXPECT_EQ(f.Game.State.Markers.Stacking.back(), 0) << "a dropped marker comes to the top";

            // Its judged point is its centre in picture coordinates.
            Judge(f.Game);
            EXPECT_EQ(f.Game.State.LastJudgement.Points[0], Plus(Plus(c.wantCorner, scroll), {10, 10}));
        }
    }
}

TEST(MarkerPlay, APressPicksUpByTheSquareInClientCoordinates) {
    struct Case {
        TPoint press;
        int want;
    };
    // Marker 0 lies at client (100, 100), markers 1 and 2 at the client origin.
    const Case cases[] = {
        {{100, 100}, 0}, {{120, 120}, 0}, {{121, 110}, -1}, {{110, 121}, -1},
        {{0, 0}, 1},     {{20, 20}, 1},   {{21, 0}, -1},    {{-1, 5}, -1},
    };
    for (const Case& c : cases) {
        PlayFixture f;
        StartOnPhoto(f, {40, 60});
        f.PlaceMarker(0, {140, 160});
        PressMarker(f.Game, c.press);
        EXPECT_EQ(f.Game.State.Markers.Lifted, c.want) << c.press.X << "," << c.press.Y;
        EXPECT_EQ(f.Host.Overlay.Markers.Lifted, c.want) << "the view hides it and shows the drag cursor";
    }
}

TEST(MarkerPlay, KeysMoveTheSelectedMarkerAsADropInTheClientAreaWould) {
    struct Case {
        std::string name;
        TPoint haveClient;  // corner before the key
        TMarkerKey key;
        TPoint wantClient;
    };
    const std::vector<Case> cases = {
        {"right by one", {100, 50}, {TMarkerKey::Move, 1, 0}, {101, 50}},
        {"up by ten", {100, 50}, {TMarkerKey::Move, 0, -10}, {100, 40}},
        {"the centre stops at the client's left edge", {-5, 50}, {TMarkerKey::Move, -10, 0}, {-10, 50}},
        {"and at the picture size from the client's corner", {285, 185}, {TMarkerKey::Move, 10, 10},
         {kPictureW - 10, kPictureH - 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayFixture f;
        const TPoint scroll{70, 30};
        StartOnPhoto(f, scroll);
        f.PlaceMarker(0, Plus(c.haveClient, scroll));
        ASSERT_TRUE(MarkerKey(f.Game, {TMarkerKey::Next}));
        ASSERT_EQ(f.Game.State.Markers.Selected, 0);
        EXPECT_TRUE(MarkerKey(f.Game, c.key));
        EXPECT_EQ(f.Game.State.Markers.Corners[0], Plus(c.wantClient, scroll));
        EXPECT_EQ(f.Host.Overlay.Markers.Selected, 0);
        // The view is asked to show the moved square.
        ASSERT_TRUE(f.Host.ShownArea.has_value());
        const TPoint corner = f.Game.State.Markers.Corners[0];
        EXPECT_EQ(f.Host.ShownArea->Left, corner.X);
        EXPECT_EQ(f.Host.ShownArea->Top, corner.Y);
        EXPECT_EQ(f.Host.ShownArea->Right, corner.X + 21);
        EXPECT_EQ(f.Host.ShownArea->Bottom, corner.Y + 21);
    }
}

TEST(MarkerPlay, OnlyASelectedMarkerIsScrolledIntoView) {
    PlayFixture f;
    StartOnPhoto(f, {0, 0});
    f.PlaceMarker(1, {250, 150});
    EXPECT_FALSE(MarkerKey(f.Game, {TMarkerKey::Move, 1, 0})) << "nothing selected: the arrows scroll";
    EXPECT_FALSE(f.Host.ShownArea.has_value());
    ASSERT_TRUE(MarkerKey(f.Game, {TMarkerKey::Next}));
    ASSERT_TRUE(MarkerKey(f.Game, {TMarkerKey::Next}));
    ASSERT_TRUE(f.Host.ShownArea.has_value()) << "Tab brings the selected marker into sight";
    EXPECT_EQ(f.Host.ShownArea->Left, 250);
    EXPECT_EQ(f.Host.ShownArea->Top, 150);
    f.Host.ShownArea.reset();
    ASSERT_TRUE(MarkerKey(f.Game, {TMarkerKey::EndSelection}));
    EXPECT_FALSE(f.Host.ShownArea.has_value());
}

TEST(MarkerPlay, TheMouseAndTheKeysShareOutTheMarkers) {
    PlayFixture f;
    StartOnPhoto(f, {0, 0});
    // Without a selection the arrows and Escape are not used (the view scrolls).
    EXPECT_FALSE(MarkerKey(f.Game, {TMarkerKey::Move, 1, 0}));
    EXPECT_FALSE(MarkerKey(f.Game, {TMarkerKey::EndSelection}));
    EXPECT_TRUE(MarkerKey(f.Game, {TMarkerKey::Previous}));
    EXPECT_EQ(f.Game.State.Markers.Selected, 2);

    // Picking one up ends the selection; while it is held Tab waits and the
    // arrows scroll.
    PressMarker(f.Game, {0, 0});
    EXPECT_EQ(f.Game.State.Markers.Selected, -1);
    EXPECT_TRUE(MarkerKey(f.Game, {TMarkerKey::Next}));
    EXPECT_FALSE(MarkerKey(f.Game, {TMarkerKey::Move, 1, 0}));
    EXPECT_EQ(f.Game.State.Markers.Selected, -1);

    // A release after the challenge stopped lets the marker go where it was.
    f.Host.Mode = Scene;
    ReleaseMarker(f.Game, {150, 150});
    EXPECT_EQ(f.Game.State.Markers.Lifted, -1);
    EXPECT_EQ(f.Game.State.Markers.Corners[0], (TPoint{0, 0}));
}

TEST(MarkerPlay, TheOverlayShowsMarkersOnlyOnThePhotoAndNothingButThePauseWhilePaused) {
    PlayFixture f;
    StartOnPhoto(f, {0, 0});
    ASSERT_TRUE(MarkerKey(f.Game, {TMarkerKey::Next}));
    EXPECT_EQ(f.Host.Overlay.MarkersShown, 3);

    PauseChallenge(f.Game);
    EXPECT_TRUE(f.Host.Overlay.Paused);
    EXPECT_EQ(f.Host.Overlay.MarkersShown, 0);
    EXPECT_EQ(f.Host.Overlay.Markers.Selected, -1) << "the pause ended the selection";
    ResumeChallenge(f.Game);
    EXPECT_FALSE(f.Host.Overlay.Paused);
    EXPECT_EQ(f.Host.Overlay.MarkersShown, 3);

    ShowMode(f.Game, Scene);
    EXPECT_EQ(f.Host.Overlay.MarkersShown, 0);
    EXPECT_EQ(f.Host.Overlay.Outlined, 0);

    // The scene under a pause or a review stands still.
    PauseChallenge(f.Game);
    CountdownTick(f.Game);
    EXPECT_EQ(f.Host.AnimateSteps, 0);
    ResumeChallenge(f.Game);
    CountdownTick(f.Game);
    EXPECT_EQ(f.Host.AnimateSteps, 1);
    Judge(f.Game);
    ToggleReview(f.Game);
    ASSERT_TRUE(f.Game.State.Reviewing());
    CountdownTick(f.Game);
    EXPECT_EQ(f.Host.AnimateSteps, 1);
}

}  // namespace
}  // namespace vexa
