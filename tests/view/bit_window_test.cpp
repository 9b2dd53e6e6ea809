#include "view/bit_window.h"

#include "viewcore/view_rules.h"
#include "view_fixtures.h"
#include "view_mode_names.h"
#include "view_play.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QStyle>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vexa {
namespace {

using test::Dib24Of;
using test::Pattern;
using test::SetPair;

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255);

QImage Screen(TBitWindow& view) {
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb Background(const TBitWindow& view) {
    return view.viewport()->palette().color(QPalette::Base).rgb();
}

std::unique_ptr<TBitWindow> ShownView(TPuzzleData& puzzle, int width, int height) {
    auto view = std::make_unique<TBitWindow>(puzzle);
    view->resize(width, height);
    view->show();
    return view;
}

int VisibleMarkers(const TBitWindow& view) {
    int n = 0;
    for (int i = 0; i < kMaxDiffs; ++i) n += view.MarkerVisible(i) ? 1 : 0;
    return n;
}

TEST(SwitchMode, ShowsThePairAndTheMarkersOnlyInThePhotoMode) {
    struct Case {
        ViewMode mode;
        int wantMarkers;
    };
    for (const Case& c : {Case{ViewMode::OutlineScene, 0}, Case{ViewMode::Scene, 0}, Case{ViewMode::FewFound, 0}, Case{ViewMode::HalfFound, 0}, Case{ViewMode::AllFound, 0},
                          Case{ViewMode::Photo, 3}, Case{ViewMode::OutlinePhoto, 0}}) {
        TPuzzleData puzzle;
        test::FillPuzzle(puzzle, 6, 4, 3);
        const int pair = PairOf(c.mode);
        puzzle.PairSizes[pair] = TPairSize{5, 3};
        TBitWindow view(puzzle);
        test::ViewPlay play(puzzle, view);
        EXPECT_EQ(view.PictureWidth(), 500);
        EXPECT_EQ(view.PictureHeight(), 350);
        ASSERT_TRUE(ShowMode(play.Game, c.mode)) << c.mode;
        EXPECT_EQ(view.CurrentMode(), c.mode);
        EXPECT_EQ(view.PictureWidth(), 5) << c.mode;
        EXPECT_EQ(view.PictureHeight(), 3) << c.mode;
        EXPECT_EQ(view.ModeScreen().Image.size(), QSize(5, 3)) << c.mode;
        EXPECT_EQ(view.ModeScreen().Image.pixel(4, 2), Pattern(4, 2)) << c.mode;
        EXPECT_EQ(VisibleMarkers(view), c.wantMarkers) << c.mode;
        for (int i = 0; i < c.wantMarkers; ++i) EXPECT_TRUE(view.MarkerVisible(i)) << i;
        EXPECT_FALSE(view.WipeInProgress()) << "no wipe when leaving mode 0";
    }
}

TEST(SwitchMode, FailureShowsTheMessageAndFallsBackToNoModeLeavingTheRecord) {
    struct Case {
        const char* name;
        ViewMode mode;
        std::function<void(TPuzzleData&)> spoil;
        const char* want;
        bool baseKept;
    };
    const Case cases[] = {
        {"pair without a picture", ViewMode::Scene, [](TPuzzleData& p) { p.BasePictures[0].clear(); },
         "データが無効です", false},
        {"pair size too large for the mode picture", ViewMode::FewFound,
         [](TPuzzleData& p) { p.PairSizes[1] = TPairSize{32767, 32767}; },
         "指定モード用の仮想画面を作れません", true},
        {"negative pair size", ViewMode::HalfFound, [](TPuzzleData& p) { p.PairSizes[2] = TPairSize{-8, 4}; },
         "指定モード用の仮想画面を作れません", true},
        {"undrawable spare picture", ViewMode::AllFound,
         [](TPuzzleData& p) { p.SparePictures[3] = test::DibHeader(4, 4, 24); }, "予備BMPを描画できません",
         false},
    };
    for (const Case& c : cases) {
        TPuzzleData puzzle;
        test::FillPuzzle(puzzle, 8, 6, 2);
        TBitWindow view(puzzle);
        test::ViewPlay play(puzzle, view);
        ASSERT_TRUE(ShowMode(play.Game, ViewMode::Photo));
        ASSERT_EQ(VisibleMarkers(view), 2);
        c.spoil(puzzle);

        test::MessageBoxRecorder boxes;
        EXPECT_FALSE(view.SwitchMode(c.mode)) << c.name;
        ASSERT_EQ(boxes.Boxes.size(), 1u) << c.name;
        EXPECT_EQ(boxes.Boxes[0].Text, QString::fromUtf8(c.want)) << c.name;
        EXPECT_EQ(boxes.Boxes[0].Owner, &view) << c.name;
        EXPECT_EQ(boxes.Boxes[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok)) << c.name;
        EXPECT_EQ(view.CurrentMode(), ViewMode::None) << c.name;
        // Emptying the record is game play's part (ShowMode), not the view's.
        EXPECT_EQ(puzzle.Loaded, 1) << c.name;
        EXPECT_FALSE(puzzle.BasePictures[4].empty()) << c.name;
        EXPECT_EQ(view.BaseScreen().Exists(), c.baseKept) << c.name;
        EXPECT_EQ(VisibleMarkers(view), 2) << c.name << ": marker visibility is left as it was";

        // The next switch starts afresh, without a wipe.
        test::FillPuzzle(puzzle, 8, 6, 2);
        EXPECT_TRUE(view.SwitchMode(c.mode)) << c.name;
        EXPECT_FALSE(view.WipeInProgress()) << c.name;
        EXPECT_EQ(boxes.Boxes.size(), 1u) << c.name;
    }
}

// What the screen shows after `steps` steps of a wipe over `old`: the stripe
// (black outline, white inside, `outerHeight` tall) repeated over the first
// 8 * (steps + 1) columns, then the old picture moved right by 8 * steps.
QRgb WipeExpected(int steps, int x, int y, int outerHeight, const std::function<QRgb(int, int)>& old) {
    if (x < kWipeStripe * (steps + 1)) {
        const int c = x % kWipeStripe;
        return (c == 0 || c == kWipeStripe - 1 || y == 0 || y == outerHeight - 1) ? kBlack : kWhite;
    }
    return old(x - kWipeStripe * steps, y);
}

TEST(SwitchMode, WipesTheOldPictureOffWithAnEightPixelStripe) {
    constexpr int kW = 64, kH = 40;
    TPuzzleData puzzle;
    test::FillPuzzle(puzzle, kW, kH, 0);
    const QRgb red = qRgb(200, 0, 0);
    SetPair(puzzle, 0, Dib24Of(kW, kH, [&](int, int) { return red; }), kW, kH);
    auto view = ShownView(puzzle, kW, kH);
    ASSERT_TRUE(view->SwitchMode(ViewMode::Photo));
    ASSERT_FALSE(view->WipeInProgress());
    Screen(*view);  // the photo reaches the screen

    ASSERT_TRUE(view->SwitchMode(ViewMode::Scene));
    ASSERT_TRUE(view->WipeInProgress());
    EXPECT_EQ(view->WipeStepsLeft(), kW / 8);
    EXPECT_EQ(view->CurrentMode(), ViewMode::Scene);

    for (const int stepsDone : {0, 1, 4}) {
        view->AdvanceWipe(stepsDone - (kW / 8 - view->WipeStepsLeft()));
        const QImage shot = Screen(*view);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                ASSERT_EQ(shot.pixel(x, y), WipeExpected(stepsDone, x, y, kH, Pattern))
                    << "after " << stepsDone << " steps at " << x << "," << y;
    }
    view->FinishWipe();
    EXPECT_FALSE(view->WipeInProgress());
    EXPECT_EQ(Screen(*view).pixel(kW - 1, kH - 1), red);
    EXPECT_EQ(Screen(*view).pixel(0, 0), red);

    // Left alone, the wipe runs to its end on its own timer.
    ASSERT_TRUE(view->SwitchMode(ViewMode::Photo));
    ASSERT_TRUE(view->WipeInProgress());
    QElapsedTimer guard;
    guard.start();
    while (view->WipeInProgress() && guard.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(view->WipeInProgress());
    EXPECT_EQ(Screen(*view).pixel(0, 0), Pattern(0, 0));

    // A view narrower than one stripe has no steps to take.
    view->resize(7, kH);
    ASSERT_TRUE(view->SwitchMode(ViewMode::Scene));
    EXPECT_FALSE(view->WipeInProgress());
}

// A load switches twice without painting in between: the wipe moves what
// the screen shows (the welcome text), not the photo that never reached it.
// Markers come up once the stripe has passed.
TEST(SwitchMode, TheWipeStartsFromWhatTheScreenShowsAndTheMarkersFollowIt) {
    constexpr int kW = 160, kH = 120;
    TPuzzleData puzzle;
    test::FillPuzzle(puzzle, kW, kH, 3);
    puzzle.Loaded = 0;
    auto view = ShownView(puzzle, kW, kH);
    const QImage welcome = Screen(*view);
    puzzle.Loaded = 1;
    test::ViewPlay play(puzzle, *view);

    ASSERT_TRUE(ShowMode(play.Game, ViewMode::Photo));
    ASSERT_TRUE(ShowMode(play.Game, ViewMode::Scene));
    ASSERT_TRUE(view->WipeInProgress());
    const QImage shot = Screen(*view);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(shot.pixel(x, y), WipeExpected(0, x, y, kH, [&](int px, int py) { return welcome.pixel(px, py); }))
                << x << "," << y;
    view->FinishWipe();
    Screen(*view);

    ASSERT_TRUE(ShowMode(play.Game, ViewMode::Photo));
    ASSERT_TRUE(view->WipeInProgress());
    EXPECT_EQ(VisibleMarkers(*view), 0) << "no markers over the old picture";
    view->FinishWipe();
    EXPECT_EQ(VisibleMarkers(*view), 3);
}

TEST(Paint, CopiesThePictureAndOutlinesTheDifferencesInModes202And208) {
    constexpr int kW = 24, kH = 16;
    struct Case {
        ViewMode mode;
        int diffCount;
        bool wantOutlines;
    };
    for (const Case& c : {Case{ViewMode::Photo, 2, false}, Case{ViewMode::OutlinePhoto, 2, true}, Case{ViewMode::OutlineScene, 2, true}, Case{ViewMode::OutlinePhoto, 0, false},
                          Case{ViewMode::Scene, 2, false}}) {
        TPuzzleData puzzle;
        test::FillPuzzle(puzzle, kW, kH, c.diffCount);
        puzzle.DiffRects[0] = TDiffRect{2, 3, 10, 8};
        puzzle.DiffRects[1] = TDiffRect{12, 1, 13, 900};  // one column wide, past the picture
        auto view = ShownView(puzzle, 40, 30);
        ASSERT_TRUE(view->SwitchMode(c.mode));
        const QImage shot = Screen(*view);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool onFirst = (x >= 2 && x <= 9 && (y == 3 || y == 7)) || ((x == 2 || x == 9) && y >= 3 && y <= 7);
                const bool onSecond = x == 12 && y >= 1;
                QRgb want = (x < kW && y < kH) ? Pattern(x, y) : Background(*view);
                if (c.wantOutlines && (onFirst || onSecond)) want = kBlack;
                if (c.mode == ViewMode::Photo && x < 21 && y < 21) continue;  // the markers lie here
                ASSERT_EQ(shot.pixel(x, y), want) << "mode " << c.mode << " at " << x << "," << y;
            }
        }
    }
}

TEST(Paint, TheHintFrameIsDrawnInPictureCoordinatesWhateverItsEdges) {
    // The view 200 x 150 over a 300 x 250 picture; the line is yellow edged in black.
    const auto yellow = [](QRgb c) { return qRed(c) > 200 && qGreen(c) > 150 && qBlue(c) < 90; };
    struct Case {
        const char* name;
        TDiffRect frame;
        QPoint scroll;
        std::vector<QPoint> wantLine;  // client points on the frame's yellow line
        std::vector<QPoint> wantPicture;  // client points left as the picture shows them
    };
    const int far = 2'000'000'000;
    const std::vector<Case> cases = {
        {"a frame in sight", {20, 20, 80, 60}, {0, 0}, {{20, 40}, {50, 20}, {80, 40}, {50, 60}}, {{50, 40}, {10, 40}}},
        {"scrolled", {70, 60, 130, 100}, {50, 40}, {{20, 40}, {50, 20}}, {{50, 40}, {19, 10}}},
        {"edges far out on two sides", {-far, 30, far, 60}, {0, 0}, {{100, 30}, {5, 60}}, {{100, 45}}},
        {"all around the picture", {-far, -far, far, far}, {0, 0}, {}, {{0, 0}, {100, 75}, {190, 140}}},
        {"out of sight", {1000, 1000, 1100, 1100}, {0, 0}, {}, {{100, 75}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPuzzleData puzzle;
        test::FillPuzzle(puzzle, 300, 250, 1);
        auto view = ShownView(puzzle, 200, 150);
        ASSERT_TRUE(view->SwitchMode(ViewMode::Photo));
        view->FinishWipe();
        view->resize(200, 150);  // the scroll ranges follow the picture
        view->horizontalScrollBar()->setValue(c.scroll.x());
        view->verticalScrollBar()->setValue(c.scroll.y());
        ASSERT_EQ(view->ScrollPosition(), c.scroll);
        TPlayOverlay overlay;
        overlay.Hint = THintRing{true, 0, c.frame, 4};
        view->ShowOverlay(overlay);
        const QImage shot = Screen(*view);
        for (const QPoint& p : c.wantLine) EXPECT_TRUE(yellow(shot.pixel(p))) << p.x() << "," << p.y();
        for (const QPoint& p : c.wantPicture)
            EXPECT_EQ(shot.pixel(p), Pattern(p.x() + c.scroll.x(), p.y() + c.scroll.y())) << p.x() << "," << p.y();
    }
}

TEST(Paint, ShowsNoPictureWhileNoPuzzleIsLoaded) {
    TPuzzleData puzzle;
    const QRgb green = qRgb(0, 255, 0);
    SetPair(puzzle, 4, Dib24Of(60, 40, [&](int, int) { return green; }), 60, 40);
    auto view = ShownView(puzzle, 300, 200);
    ASSERT_TRUE(view->SwitchMode(ViewMode::Photo));
    ASSERT_EQ(Screen(*view).pixel(30, 20), green);
    puzzle.Loaded = 0;
    view->viewport()->update();
    const QImage shot = Screen(*view);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) ASSERT_NE(shot.pixel(x, y), green) << x << "," << y;
}

TEST(Scrolling, RangesFollowTheSizeAndMarkersMoveWithThePicture) {
    TPuzzleData puzzle;
    test::FillPuzzle(puzzle, 300, 250, 1);
    auto view = ShownView(puzzle, 200, 150);
    const int bar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const TScrollRanges welcome = ComputeScrollRanges(500, 350, 200, 150, bar, bar);
    EXPECT_EQ(view->XRange(), welcome.X);
    EXPECT_EQ(view->YRange(), welcome.Y);

    // A mode switch keeps the ranges; the next resize takes the new picture.
    ASSERT_TRUE(view->SwitchMode(ViewMode::Photo));
    EXPECT_EQ(view->XRange(), welcome.X);
    view->resize(201, 150);
    EXPECT_EQ(view->OuterWidth(), 201);
    EXPECT_EQ(view->OuterHeight(), 150);
    const TScrollRanges ranges = ComputeScrollRanges(300, 250, 201, 150, bar, bar);
    EXPECT_EQ(view->XRange(), ranges.X);
    EXPECT_EQ(view->YRange(), ranges.Y);

    test::ViewPlay play(puzzle, *view);
    GatherMarkersAtView(play.Game);
    view->horizontalScrollBar()->setValue(30);
    view->verticalScrollBar()->setValue(20);
    EXPECT_EQ(view->ScrollPosition(), QPoint(30, 20));
    EXPECT_EQ(view->MarkerPosition(0), QPoint(-30, -20));
    EXPECT_EQ(view->MarkerPosition(0) + view->ScrollPosition(), QPoint(0, 0));
    const QImage shot = Screen(*view);
    EXPECT_EQ(shot.pixel(100, 100), Pattern(130, 120));

    // A view as large as the picture needs no ranges and scrolls back.
    view->resize(300, 250);
    EXPECT_EQ(view->XRange(), 0);
    EXPECT_EQ(view->YRange(), 0);
    EXPECT_EQ(view->ScrollPosition(), QPoint(0, 0));
    EXPECT_EQ(view->MarkerPosition(0), QPoint(0, 0));
}

}  // namespace
}  // namespace vexa
