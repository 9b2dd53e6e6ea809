// Keyboard play in the view: Tab selection with its focus frame, arrow moves
// clamped like a drop, the rule between mouse and keyboard, what ends a
// selection, and the conspicuous look of the markers on dark and light
// pictures.
#include "view/bit_window.h"

#include "play/judge.h"
#include "play/load_into_play.h"
#include "view/marker_focus.h"
#include "viewcore/marker_rules.h"
#include "view_fixtures.h"
#include "view_play.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

namespace vexa {
namespace {

constexpr int kW = 300, kH = 200;

// A shown view on the photo of a running challenge with three markers in
// play, gathered, whose picture is one grey level.
struct KeyView {
    TPuzzleData Puzzle;
    std::unique_ptr<TBitWindow> View;
    std::unique_ptr<test::ViewPlay> Play;
    explicit KeyView(int grey = 128) {
        for (int pair = 0; pair < kPairCount; ++pair)
            test::SetPair(Puzzle, pair, test::Dib24Of(kW, kH, [grey](int, int) { return qRgb(grey, grey, grey); }),
                          kW, kH);
        Puzzle.DiffCount = 3;
        Puzzle.Loaded = 1;
        View = std::make_unique<TBitWindow>(Puzzle);
        Play = std::make_unique<test::ViewPlay>(Puzzle, *View);
        EXPECT_TRUE(ShowMode(Play->Game, ViewMode::Photo));
        View->resize(kW, kH);  // as large as the picture: no scrolling
        View->show();
        GatherMarkersAtView(Play->Game);
    }
    // A key as the view receives it (Tab passes through its event handling).
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QCoreApplication::sendEvent(View.get(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods);
        QCoreApplication::sendEvent(View.get(), &release);
    }
    void Mouse(QEvent::Type type, QPoint at) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(View->viewport()->mapToGlobal(at)), Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(View->viewport(), &event);
    }
    bool FocusShown() const { return !View->FocusFrame()->isHidden(); }
    QImage Screen() const { return View->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST(KeyboardPlay, TabSelectsTheMarkersInPlayInTurnWithAFocusFrame) {
    KeyView v;
    v.Key(Qt::Key_Right);  // nothing selected: nothing moves
    EXPECT_EQ(v.View->SelectedMarker(), -1);
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(0, 0));
    EXPECT_FALSE(v.FocusShown());
    struct Step {
        int key;
        Qt::KeyboardModifiers mods;
        int want;
    };
    const Step steps[] = {
        {Qt::Key_Tab, Qt::NoModifier, 0},        {Qt::Key_Tab, Qt::NoModifier, 1},
        {Qt::Key_Tab, Qt::NoModifier, 2},        {Qt::Key_Tab, Qt::NoModifier, 0},
        {Qt::Key_Backtab, Qt::ShiftModifier, 2}, {Qt::Key_Tab, Qt::ShiftModifier, 1},
        {Qt::Key_Escape, Qt::NoModifier, -1},    {Qt::Key_Backtab, Qt::ShiftModifier, 2},
    };
    for (const Step& s : steps) {
        v.Key(s.key, s.mods);
        EXPECT_EQ(v.View->SelectedMarker(), s.want) << "key " << s.key;
        EXPECT_EQ(v.FocusShown(), s.want >= 0);
    }
    // The frame surrounds the selected marker, wherever it lies.
    v.Key(Qt::Key_Right, Qt::ShiftModifier);
    v.Key(Qt::Key_Down, Qt::ShiftModifier);
    const QPoint corner = v.View->MarkerPosition(2);
    ASSERT_EQ(corner, QPoint(10, 10));
    const int m = TMarkerFocusFrame::kMargin;
    EXPECT_EQ(v.View->FocusFrame()->geometry(),
              QRect(corner - QPoint(m, m), QSize(kMarkerSide + 2 * m, kMarkerSide + 2 * m)));
    // Its yellow ring between black lines shows on the screen.
    const QImage screen = v.Screen();
    EXPECT_EQ(screen.pixel(corner.x() - m, corner.y() + 10), qRgb(0, 0, 0));
    EXPECT_EQ(screen.pixel(corner.x() - m + 1, corner.y() + 10), kFocusRingColour.rgb());
    EXPECT_EQ(screen.pixel(corner.x() - m + 3, corner.y() + 10), qRgb(0, 0, 0));
}

TEST(KeyboardPlay, ArrowsMoveTheSelectedMarkerAndStopWhereADropWould) {
    struct Case {
        const char* name;
        QPoint have;  // the marker's corner before the key
        int key;
        Qt::KeyboardModifiers mods;
        QPoint want;
    };
    const Case cases[] = {
        {"right by one", {100, 50}, Qt::Key_Right, Qt::NoModifier, {101, 50}},
        {"up by one", {100, 50}, Qt::Key_Up, Qt::NoModifier, {100, 49}},
        {"left by ten with Shift", {100, 50}, Qt::Key_Left, Qt::ShiftModifier, {90, 50}},
        {"down by ten with Shift", {100, 50}, Qt::Key_Down, Qt::ShiftModifier, {100, 60}},
        {"keypad arrows count too", {100, 50}, Qt::Key_Left, Qt::KeypadModifier, {99, 50}},
        {"the centre stops at the left edge", {-5, 50}, Qt::Key_Left, Qt::ShiftModifier, {-10, 50}},
        {"the centre stops at the top edge", {100, -10}, Qt::Key_Up, Qt::NoModifier, {100, -10}},
        {"the centre stops at the picture's right edge", {285, 50}, Qt::Key_Right, Qt::ShiftModifier,
         {kW - 10, 50}},
        {"the centre stops at the picture's bottom edge", {100, kH - 10}, Qt::Key_Down, Qt::NoModifier,
         {100, kH - 10}},
        {"Ctrl+arrow is not a marker key", {100, 50}, Qt::Key_Right, Qt::ControlModifier, {100, 50}},
    };
    for (const Case& c : cases) {
        KeyView v;
        // Put marker 0 in place with the mouse (a drop at its centre).
        v.Mouse(QEvent::MouseButtonPress, {5, 5});
        v.Mouse(QEvent::MouseButtonRelease, c.have + QPoint(10, 10));
        ASSERT_EQ(v.View->MarkerPosition(0), c.have) << c.name;
        v.Key(Qt::Key_Tab);
        ASSERT_EQ(v.View->SelectedMarker(), 0);
        v.Key(c.key, c.mods);
        EXPECT_EQ(v.View->MarkerPosition(0), c.want) << c.name;
        EXPECT_EQ(v.View->InnerMarkerPosition(0), c.want + QPoint(1, 1)) << c.name << ": inner frame as after a drop";
        EXPECT_EQ(v.View->FocusFrame()->pos(), c.want - QPoint(TMarkerFocusFrame::kMargin, TMarkerFocusFrame::kMargin))
            << c.name;
        EXPECT_EQ(v.View->MarkerPosition(1), QPoint(0, 0)) << c.name << ": the others stay";
    }
}

TEST(KeyboardPlay, TheMouseAndTheKeyboardNeverHoldOneMarkerAtOnce) {
    KeyView v;
    v.Key(Qt::Key_Tab);
    v.Key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(v.View->MarkerPosition(0), QPoint(10, 0));

    // A press on the selected marker picks it up and ends the selection.
    v.Mouse(QEvent::MouseButtonPress, {15, 5});
    ASSERT_EQ(v.View->DragIndex(), 0);
    EXPECT_EQ(v.View->SelectedMarker(), -1);
    EXPECT_FALSE(v.FocusShown());
    // While it is held the keys select and move nothing.
    v.Key(Qt::Key_Tab);
    v.Key(Qt::Key_Right);
    EXPECT_EQ(v.View->SelectedMarker(), -1);
    v.Mouse(QEvent::MouseButtonRelease, {100, 100});
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(90, 90));

    // A press on no marker leaves the selection alone.
    v.Key(Qt::Key_Tab);
    ASSERT_EQ(v.View->SelectedMarker(), 0);
    v.Mouse(QEvent::MouseButtonPress, {250, 150});
    v.Mouse(QEvent::MouseButtonRelease, {250, 150});
    EXPECT_EQ(v.View->SelectedMarker(), 0);
    // Picking up another marker ends it as well.
    v.Mouse(QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(v.View->DragIndex(), 1);
    EXPECT_EQ(v.View->SelectedMarker(), -1);
    v.Mouse(QEvent::MouseButtonRelease, {50, 150});
}

TEST(KeyboardPlay, LeavingThePhotoGatheringOrAnEmptiedPuzzleEndTheSelection) {
    struct Case {
        const char* name;
        void (*end)(KeyView&);
    };
    const Case cases[] = {
        {"switch to the scene", [](KeyView& v) { ShowMode(v.Play->Game, ViewMode::Scene); }},
        {"switch to a result screen", [](KeyView& v) { ShowMode(v.Play->Game, ViewMode::AllFound); }},
        {"gather", [](KeyView& v) { GatherMarkersAtView(v.Play->Game); }},
        // The game has no loader: the load fails and leaves no puzzle.
        {"load that left no puzzle", [](KeyView& v) { LoadIntoPlay(v.Play->Game, "missing.VX"); }},
        {"the challenge was judged", [](KeyView& v) { Judge(v.Play->Game); }},
    };
    for (const Case& c : cases) {
        KeyView v;
        v.Key(Qt::Key_Tab);
        ASSERT_EQ(v.View->SelectedMarker(), 0);
        c.end(v);
        EXPECT_EQ(v.View->SelectedMarker(), -1) << c.name;
        EXPECT_FALSE(v.FocusShown()) << c.name;
    }
}

TEST(KeyboardPlay, KeysDoNothingWhileMarkersMayNotMove) {
    KeyView v;
    v.Play->Game.State.Running = false;  // say, the challenge was judged
    v.Key(Qt::Key_Tab);
    EXPECT_EQ(v.View->SelectedMarker(), -1);
    v.Play->Game.State.Running = true;
    v.Key(Qt::Key_Tab);
    ASSERT_EQ(v.View->SelectedMarker(), 0);
    v.Play->Game.State.Running = false;
    v.Key(Qt::Key_Right);
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(0, 0));
    EXPECT_EQ(v.View->SelectedMarker(), -1) << "the first key after it ends the selection";
}

TEST(ConspicuousMarkers, TheOutlineShowsOnDarkAndLightPictures) {
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), grey = qRgb(128, 128, 128);
    struct Case {
        const char* name;
        int picture;  // grey level of the photo
        bool conspicuous;
        QRgb wantCorner, wantThirdPiece, wantInnerRing;
    };
    // Marker 0 is dropped with its corner at (50, 40); (x, y) below are within its square.
    const Case cases[] = {
        {"plain look: grey outside, black inside", 200, false, grey, grey, black},
        {"conspicuous on a dark picture", 0, true, black, white, black},
        {"conspicuous on a light picture", 255, true, black, white, black},
    };
    for (const Case& c : cases) {
        KeyView v(c.picture);
        v.View->SetConspicuousMarkers(c.conspicuous);
        v.Mouse(QEvent::MouseButtonPress, {5, 5});
        v.Mouse(QEvent::MouseButtonRelease, {60, 50});
        const QImage s = v.Screen();
        const QRgb picture = qRgb(c.picture, c.picture, c.picture);
        EXPECT_EQ(s.pixel(50, 40), c.wantCorner) << c.name;
        EXPECT_EQ(s.pixel(53, 40), c.wantThirdPiece) << c.name << ": the second piece along the top";
        EXPECT_EQ(s.pixel(51, 41), c.wantInnerRing) << c.name << ": second pixel of the band";
        EXPECT_EQ(s.pixel(60, 50), picture) << c.name << ": the picture shows inside";
        EXPECT_EQ(s.pixel(49, 40), picture) << c.name << ": and outside";
        if (c.conspicuous) {
            // Both colours along every edge: one of them stands out on any picture.
            EXPECT_EQ(s.pixel(51, 43), white) << c.name << ": left edge";
            EXPECT_EQ(s.pixel(70, 43), white) << c.name << ": right edge";
            EXPECT_EQ(s.pixel(53, 59), white) << c.name << ": bottom edge";
            EXPECT_EQ(s.pixel(52, 42), picture) << c.name << ": two pixels wide";
        }
    }
}

}  // namespace
}  // namespace vexa
