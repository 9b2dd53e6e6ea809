// The view at a zoom and with the scene beside the photo: what is drawn
// where, markers dragged with the mouse in screen pixels and judged in
// picture pixels, and the wheel.
#include "view/bit_window.h"

#include "play/judge.h"
#include "view/answer_marker.h"
#include "viewcore/marker_rules.h"
#include "viewcore/pair_layout.h"
#include "viewcore/view_rules.h"
#include "view_fixtures.h"
#include "view_play.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace vexa {
namespace {

// Blocks of 10 x 10 pixels, each one colour, so that a smoothly scaled
// picture still shows each block's colour at its middle.
QRgb Blocks(int x, int y) { return qRgb((x / 10) * 40 % 256, (y / 10) * 50 % 256, 90); }
QRgb Green(int, int) { return qRgb(0, 200, 0); }

struct ZoomView {
    TPuzzleData Puzzle;
    std::unique_ptr<TBitWindow> View;
    std::unique_ptr<test::ViewPlay> Play;
    // Scene (pair 0) w x h of blocks, photo (pair 4) the same or green, one
    // difference at (60, 40)-(80, 60).
    ZoomView(int w, int h, bool greenPhoto = false) {
        for (int pair = 0; pair < kPairCount; ++pair) {
            const bool photo = pair == 4;
            test::SetPair(Puzzle, pair,
                          photo && greenPhoto ? test::Dib24Of(w, h, Green) : test::Dib24Of(w, h, Blocks), w, h);
        }
        Puzzle.DiffCount = 1;
        Puzzle.DiffRects[0] = TDiffRect{60, 40, 80, 60};
        View = std::make_unique<TBitWindow>(Puzzle);
        Play = std::make_unique<test::ViewPlay>(Puzzle, *View);
    }
    // As the player does: the mode first, then the frame's size.
    void Show(ViewMode mode, int viewW, int viewH) {
        ASSERT_TRUE(ShowMode(Play->Game, mode));
        View->resize(viewW, viewH);
        View->show();
        QCoreApplication::processEvents();  // scroll bars come and go on a queued signal
        View->FinishWipe();
        GatherMarkersAtView(Play->Game);
    }
    void Mouse(QEvent::Type type, QPoint at) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(View->viewport()->mapToGlobal(at)), Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(View->viewport(), &event);
    }
    void Drag(QPoint from, QPoint to) {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseButtonRelease, to);
    }
    void Wheel(QPoint angle, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QPointF at(10, 10);
        QWheelEvent event(at, View->viewport()->mapToGlobal(at), QPoint(), angle, Qt::NoButton, mods,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(View->viewport(), &event);
    }
    QImage Screen() const { return View->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QPoint Scroll() const { return View->ScrollPosition(); }
};

TEST(ZoomView, AtTwoHundredPercentTheMarkerDroppedOnTheDifferenceIsFound) {
    ZoomView v(200, 150);
    v.View->SetZoom(TZoom{false, 200});
    v.Show(ViewMode::Photo, 400, 300);
    EXPECT_EQ(v.View->ContentWidth(), 400);
    EXPECT_EQ(v.View->ContentHeight(), 300);

    // Each block's middle shows its colour at twice its place.
    const QImage screen = v.Screen();
    ASSERT_EQ(screen.size(), QSize(400, 300));
    for (const QPoint p : {QPoint(5, 5), QPoint(75, 45), QPoint(195, 145)})
        EXPECT_EQ(screen.pixel(p * 2), Blocks(p.x(), p.y())) << p.x() << "," << p.y();

    // The gathered markers are drawn twice as large.
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(0, 0));
    // The press lands inside the drawn marker (30, 30 is picture 15, 15),
    // the release on the difference's middle on the screen (picture 70, 50).
    v.Drag(QPoint(30, 30), QPoint(140, 100));
    const TPoint judged = JudgedPoint(v.Play->Game.State.Markers, 0);
    EXPECT_EQ(judged, (TPoint{70, 50}));
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(120, 80));  // corner (60, 40) at 200 %
    Judge(v.Play->Game);
    EXPECT_EQ(v.Play->Game.State.LastJudgement.FoundCount, 1);
    // The result's wipe moves a stripe twice as wide, in half the steps.
    EXPECT_EQ(v.View->WipeStepsLeft(), 400 / (2 * kWipeStripe));
}

TEST(ZoomView, AScrolledZoomedViewMapsThePointerToPicturePixels) {
    ZoomView v(200, 150);
    v.View->SetZoom(TZoom{false, 300});
    v.Show(ViewMode::Photo, 200, 150);  // 600 x 450 of content: it scrolls
    v.View->horizontalScrollBar()->setValue(150);
    v.View->verticalScrollBar()->setValue(90);
    EXPECT_EQ(v.View->Place().Scroll, (TPoint{50, 30}));
    // Gathering puts the markers at the visible top-left, drawn there.
    GatherMarkersAtView(v.Play->Game);
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(0, 0));
    // Dropped with the pointer at client (60, 30): picture (70, 40).
    v.Drag(QPoint(5, 5), QPoint(60, 30));
    EXPECT_EQ(JudgedPoint(v.Play->Game.State.Markers, 0), (TPoint{70, 40}));

    // A zoom keeps the picture point under the anchor in place.
    const TBitWindow::TAnchor anchor = v.View->AnchorAt(QPoint(60, 30));
    v.View->SetZoom(TZoom{false, 200});
    v.View->ScrollToAnchor(anchor);
    EXPECT_EQ(v.View->AnchorAt(QPoint(60, 30)).PictureX, 70.0);
    EXPECT_EQ(v.View->AnchorAt(QPoint(60, 30)).PictureY, 40.0);
}

TEST(ZoomView, SideBySideShowsTheSceneAndThePhotoWithTheMarkersOnThePhoto) {
    // Tall pictures go beside each other on any screen wider than tall.
    ZoomView v(80, 150, /*greenPhoto=*/true);
    v.Play->Game.State.SideBySide = true;
    v.Show(ViewMode::Scene, 400, 300);
    ASSERT_TRUE(v.View->ShowsPair());
    // Wide screens put the two beside each other: scene, gap, photo.
    const int photoX = 80 + kPairGap;
    EXPECT_EQ(v.View->ContentWidth(), 160 + kPairGap);
    const QImage screen = v.Screen();
    EXPECT_EQ(screen.pixel(15, 15), Blocks(15, 15));
    EXPECT_EQ(screen.pixel(photoX + 15, 15), Green(0, 0));
    EXPECT_EQ(screen.pixel(80 + kPairGap / 2, 15), v.View->viewport()->palette().color(QPalette::Base).rgb());

    // With F8 chosen the markers still lie on the photo and move there.
    EXPECT_EQ(v.View->CurrentMode(), ViewMode::Scene);
    EXPECT_TRUE(v.View->MarkerVisible(0));
    EXPECT_EQ(v.View->MarkerPosition(0), QPoint(photoX, 0));
    v.Drag(QPoint(photoX + 5, 5), QPoint(photoX + 70, 50));
    EXPECT_EQ(JudgedPoint(v.Play->Game.State.Markers, 0), (TPoint{70, 50}));
    // A drop on the scene stays on the photo's edge.
    v.Drag(QPoint(photoX + 65, 45), QPoint(20, 20));
    EXPECT_EQ(v.Play->Game.State.Markers.Corners[0].X, -kMarkerHalf);

    // The scene animates as the mode's picture; the outline views show alone.
    EXPECT_EQ(v.View->Tracks().OpenedScene(), 0);
    ASSERT_TRUE(ShowMode(v.Play->Game, ViewMode::OutlinePhoto));
    EXPECT_FALSE(v.View->ShowsPair());
    EXPECT_EQ(v.View->ContentWidth(), 80);
}

TEST(ZoomView, TheWheelScrollsATenthOfTheViewAndCtrlWheelZooms) {
    ZoomView v(2000, 1500);
    v.Show(ViewMode::Photo, 600, 400);
    const int down = std::max((v.View->viewport()->height()) / 10, kMinWheelStep);
    v.Wheel(QPoint(0, -120));
    EXPECT_EQ(v.Scroll(), QPoint(0, down));
    const int across = std::max(v.View->viewport()->width() / 10, kMinWheelStep);
    v.Wheel(QPoint(0, -120), Qt::ShiftModifier);  // sideways
    EXPECT_EQ(v.Scroll(), QPoint(across, down));
    v.Wheel(QPoint(-240, 0));  // a tilt, two notches
    EXPECT_EQ(v.Scroll(), QPoint(3 * across, down));
    EXPECT_EQ(v.View->horizontalScrollBar()->singleStep(), 1);  // the scroll bars' line step stays

    std::vector<double> zoomed;
    v.View->Input.ZoomWheel = [&](double notches, QPoint) { zoomed.push_back(notches); };
    v.Wheel(QPoint(0, 60), Qt::ControlModifier);  // half a notch: not yet
    v.Wheel(QPoint(0, 60), Qt::ControlModifier);
    v.Wheel(QPoint(0, -120), Qt::ControlModifier);
    EXPECT_EQ(zoomed, (std::vector<double>{1, -1}));
    EXPECT_EQ(v.Scroll(), QPoint(3 * across, down));  // Ctrl+wheel does not scroll
}

}  // namespace
}  // namespace vexa
