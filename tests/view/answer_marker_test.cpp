#include "view/answer_marker.h"
#include "view/bit_window.h"

#include "view_fixtures.h"
#include "view_mode_names.h"
#include "view_play.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

namespace vexa {
namespace {

constexpr int kPictureW = 300, kPictureH = 200;

// A shown view in the photo mode of a running challenge with three
// differences, markers gathered.
struct PhotoView {
    TPuzzleData Puzzle;
    std::unique_ptr<TBitWindow> View;
    std::unique_ptr<test::ViewPlay> Play;
    PhotoView() {
        test::FillPuzzle(Puzzle, kPictureW, kPictureH, 3);
        View = std::make_unique<TBitWindow>(Puzzle);
        View->resize(kPictureW, kPictureH);
        View->show();
        Play = std::make_unique<test::ViewPlay>(Puzzle, *View);
        EXPECT_TRUE(ShowMode(Play->Game, ViewMode::Photo));
        GatherMarkersAtView(Play->Game);
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        const Qt::MouseButtons held = type != QEvent::MouseButtonRelease ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent event(type, QPointF(at), QPointF(View->viewport()->mapToGlobal(at)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(View->viewport(), &event);
    }
    void Press(QPoint at) { Mouse(QEvent::MouseButtonPress, at); }
    void Release(QPoint at) { Mouse(QEvent::MouseButtonRelease, at); }
    void Drag(QPoint from, QPoint to) {
        Press(from);
        Release(to);
    }
    Qt::CursorShape Cursor() const { return View->viewport()->cursor().shape(); }
};

TEST(Markers, PressPicksUpTheLowestMarkerUnderThePointerAndReleaseDropsIt) {
    struct Case {
        const char* name;
        QPoint press;
        QPoint release;
        int wantPicked;
        QPoint wantCorner;  // of the picked marker after the release
    };
    // Marker 0 lies at (100, 100); markers 1 and 2 are gathered at (0, 0).
    const Case cases[] = {
        {"press on the top-left corner", {100, 100}, {150, 80}, 0, {140, 70}},
        {"press on the last pixel inside", {120, 120}, {150, 80}, 0, {140, 70}},
        {"press on the right edge line misses", {121, 110}, {150, 80}, -1, {}},
        {"press on the bottom edge line misses", {110, 121}, {150, 80}, -1, {}},
        {"gathered markers: the lowest index wins", {0, 0}, {150, 80}, 1, {140, 70}},
        {"markers beyond the differences are not picked up", {20, 20}, {150, 80}, 1, {140, 70}},
        {"drop at the client origin lies half outside", {105, 105}, {0, 0}, 0, {-10, -10}},
        {"drop far right and below is kept on the picture", {105, 105}, {5000, 4000}, 0,
         {kPictureW - 10, kPictureH - 10}},
        {"drop left of and above the view", {105, 105}, {-50, -70}, 0, {-10, -10}},
    };
    for (const Case& c : cases) {
        PhotoView v;
        v.Drag({5, 5}, {110, 110});
        ASSERT_EQ(v.View->MarkerPosition(0), QPoint(100, 100));

        v.Press(c.press);
        EXPECT_EQ(v.View->DragIndex(), c.wantPicked) << c.name;
        if (c.wantPicked >= 0) {
            EXPECT_FALSE(v.View->MarkerVisible(c.wantPicked)) << c.name << ": hidden while held";
            EXPECT_EQ(v.View->viewport()->cursor().hotSpot(), QPoint(10, 10)) << c.name;
        }
        v.Release(c.release);
        EXPECT_EQ(v.View->DragIndex(), -1) << c.name;
        EXPECT_EQ(v.Cursor(), Qt::ArrowCursor) << c.name;
        EXPECT_EQ(v.View->MarkerPosition(0), c.wantPicked == 0 ? c.wantCorner : QPoint(100, 100)) << c.name;
        if (c.wantPicked >= 0) {
            EXPECT_EQ(v.View->MarkerPosition(c.wantPicked), c.wantCorner) << c.name;
            EXPECT_EQ(v.View->InnerMarkerPosition(c.wantPicked), c.wantCorner + QPoint(1, 1)) << c.name;
            EXPECT_TRUE(v.View->MarkerVisible(c.wantPicked)) << c.name;
        }
        EXPECT_EQ(v.View->MarkerPosition(2), QPoint(0, 0)) << c.name;
    }
}

TEST(Markers, GatherPutsEveryFrameAtTheOriginAndShowsOnlyThoseInPlay) {
    PhotoView v;
    v.Drag({5, 5}, {110, 110});
    v.Drag({5, 5}, {200, 60});
    GatherMarkersAtView(v.Play->Game);
    for (int i = 0; i < kMaxDiffs; ++i) {
        EXPECT_EQ(v.View->MarkerPosition(i), QPoint(0, 0)) << i;
        EXPECT_EQ(v.View->InnerMarkerPosition(i), QPoint(0, 0)) << i << ": not offset when gathered";
        EXPECT_EQ(v.View->MarkerVisible(i), i < 3) << i;
    }
    v.Press({0, 0});
    EXPECT_EQ(v.View->DragIndex(), 0);
    v.Release({40, 40});

    // The frames let the mouse through to the view.
    EXPECT_EQ(v.View->viewport()->childAt(QPoint(30, 30)), nullptr);
    EXPECT_EQ(v.View->viewport()->childAt(QPoint(0, 0)), nullptr);
}

TEST(Markers, OnlyThePhotoModeTakesThemUpAndOnlyTheLeftButton) {
    PhotoView v;
    v.Mouse(QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
    EXPECT_EQ(v.View->DragIndex(), -1);
    v.Mouse(QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);

    for (const ViewMode mode : {ViewMode::Scene, ViewMode::OutlinePhoto}) {
        ASSERT_TRUE(ShowMode(v.Play->Game, mode));
        v.View->FinishWipe();
        v.Drag({5, 5}, {100, 100});
        EXPECT_EQ(v.View->DragIndex(), -1) << mode;
        EXPECT_EQ(v.View->MarkerPosition(0), QPoint(0, 0)) << mode;
        EXPECT_EQ(v.View->MarkerVisible(0), false) << mode;
    }
}

TEST(Markers, ADragCutShortByAModeSwitchEndsAtTheRelease) {
    PhotoView v;
    v.Drag({5, 5}, {60, 60});
    ASSERT_EQ(v.View->MarkerPosition(0), QPoint(50, 50));

    v.Press({55, 55});
    ASSERT_EQ(v.View->DragIndex(), 0);
    ASSERT_NE(v.Cursor(), Qt::ArrowCursor);
    ASSERT_TRUE(ShowMode(v.Play->Game, ViewMode::Scene));  // the countdown ended the challenge
    v.Release({200, 150});
    EXPECT_EQ(v.View->DragIndex(), -1);
    EXPECT_EQ(v.Cursor(), Qt::ArrowCursor);
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(50, 50));

    // Back on the photo the marker shows where it was, and a later release
    // moves nothing.
    ASSERT_TRUE(ShowMode(v.Play->Game, ViewMode::Photo));
    v.View->FinishWipe();  // the markers come up on the new picture
    EXPECT_TRUE(v.View->MarkerVisible(0));
    v.Release({250, 150});
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(50, 50));
}

TEST(Markers, AQuickSecondClickPicksUpAgain) {
    PhotoView v;
    v.Drag({5, 5}, {60, 60});
    v.Mouse(QEvent::MouseButtonDblClick, {55, 55});
    EXPECT_EQ(v.View->DragIndex(), 0);
    v.Release({100, 100});
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(90, 90));
}

TEST(Markers, APressAfterALostReleaseRestoresTheCursorFirst) {
    PhotoView v;
    v.Press({5, 5});
    ASSERT_EQ(v.View->DragIndex(), 0);
    // The release went elsewhere (a message box took the mouse); the next
    // press on no marker ends the old drag.
    v.Press({250, 150});
    EXPECT_EQ(v.View->DragIndex(), -1);
    EXPECT_EQ(v.Cursor(), Qt::ArrowCursor);
    v.Release({250, 150});
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(0, 0));
}

TEST(DragCursor, IsAMarkerSizedSquareWithACrossAtItsHotSpot) {
    const QCursor cursor = MakeDragCursor();
    EXPECT_EQ(cursor.hotSpot(), QPoint(10, 10));
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    struct Case {
        QPoint at;
        QRgb want;
    };
    const QRgb black = qRgba(0, 0, 0, 255), white = qRgba(255, 255, 255, 255), clear = qRgba(0, 0, 0, 0);
    const Case cases[] = {
        {{0, 0}, black},   {{20, 20}, black}, {{20, 0}, black},  {{21, 21}, clear}, {{25, 10}, clear},
        {{5, 1}, black},   {{1, 15}, black},  {{3, 3}, clear},   {{10, 10}, black}, {{10, 7}, black},
        {{13, 10}, black}, {{9, 7}, white},   {{11, 13}, white}, {{10, 5}, white},  {{15, 10}, white},
    };
    for (const Case& c : cases)
        EXPECT_EQ(image.pixel(c.at), c.want) << c.at.x() << "," << c.at.y();
}

}  // namespace
}  // namespace vexa
