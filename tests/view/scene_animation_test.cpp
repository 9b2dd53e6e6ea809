// Scene animation in the view: pieces land in the mode picture at their
// picture position and on the screen shifted by the scroll position; pieces
// without pixels or beyond their source are clipped the way a device copy is.
#include "view/bit_window.h"

#include "view_fixtures.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

namespace vexa {
namespace {

using test::AppendRecord;
using test::Dib24Of;
using test::Pattern;
using test::SetPair;

const QRgb kRed = qRgb(230, 20, 10);

QImage Screen(TBitWindow& view) {
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Collects the regions the viewport is asked to repaint.
struct PaintRecorder : QObject {
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// Scene 0 of w x h showing Pattern, with a red spare picture when asked.
void ScenePuzzle(TPuzzleData& puzzle, int w, int h, bool spare) {
    SetPair(puzzle, 0, Dib24Of(w, h, Pattern), w, h,
            spare ? Dib24Of(w, h, [](int, int) { return kRed; }) : Block{});
    puzzle.DiffCount = 1;
}

TEST(SceneAnimation, PiecesLandAtTheirPicturePositionWhereverTheViewIsScrolled) {
    // Track 0 puts a red piece at (60, 50) and waits; track 1 copies the base
    // picture's corner to (20, 20) and stops.
    constexpr int kW = 100, kH = 80;
    const QRect red(60, 50, 10, 8);
    struct Case {
        const char* name;
        QPoint scroll;
    };
    for (const Case& c : {Case{"unscrolled", {0, 0}}, Case{"scrolled", {40, 30}}}) {
        SCOPED_TRACE(c.name);
        TPuzzleData puzzle;
        ScenePuzzle(puzzle, kW, kH, true);
        AppendRecord(puzzle.Tables[0], 'T', 0, 0, red.x(), red.y(), red.width(), red.height());
        AppendRecord(puzzle.Tables[0], 'W', 0, 0, 0, 0, 5, 0);
        puzzle.TableCounts[0] = 2;
        AppendRecord(puzzle.Tables[1], 'C', 0, 0, 20, 20, 4, 4);
        AppendRecord(puzzle.Tables[1], 'W', 0, 0, 0, 0, 0, 0);
        puzzle.TableCounts[1] = 2;

        TBitWindow view(puzzle);
        ASSERT_TRUE(view.SwitchMode(ViewMode::Scene));
        // Smaller than the picture in the scrolled case, so that it can scroll.
        view.resize(c.scroll.isNull() ? QSize(kW, kH) : QSize(60, 50));
        view.show();
        view.horizontalScrollBar()->setValue(c.scroll.x());
        view.verticalScrollBar()->setValue(c.scroll.y());
        ASSERT_EQ(view.ScrollPosition(), c.scroll);
        QApplication::processEvents();
        ASSERT_EQ(Screen(view).pixel(red.topLeft() - c.scroll), Pattern(red.x(), red.y()));

        PaintRecorder painted;
        view.viewport()->installEventFilter(&painted);
        view.AnimateStep();
        QApplication::processEvents();
        view.viewport()->removeEventFilter(&painted);
        // Drawn on the screen at once, not only at the next full repaint.
        EXPECT_TRUE(painted.Painted.contains(red.translated(-c.scroll)));

        const QImage& mode = view.ModeScreen().Image;
        EXPECT_EQ(mode.pixel(red.topLeft()), kRed);
        EXPECT_EQ(mode.pixel(red.bottomRight()), kRed);
        EXPECT_EQ(mode.pixel(red.bottomRight() + QPoint(1, 1)), Pattern(70, 58));
        EXPECT_EQ(mode.pixel(23, 23), Pattern(3, 3));
        EXPECT_EQ(mode.pixel(24, 24), Pattern(24, 24));

        const QImage shot = Screen(view);
        EXPECT_EQ(shot.pixel(red.topLeft() - c.scroll), kRed);
        EXPECT_EQ(shot.pixel(red.bottomRight() - c.scroll), kRed);
        EXPECT_EQ(shot.pixel(red.topLeft() - c.scroll - QPoint(1, 1)), Pattern(59, 49));
    }
}

TEST(SceneAnimation, BlitPieceClipsToTheSourceAndSkipsEmptyPieces) {
    constexpr int kW = 40, kH = 30;
    struct Case {
        const char* name;
        TScenePiece piece;
        bool spare;      // the pair has a spare picture
        bool want;       // BlitPiece's result
        QRect wantRed;   // where the mode picture turns red; empty: unchanged
    };
    const TPieceSource S = TPieceSource::Spare;
    const Case cases[] = {
        {"whole piece", {5, 6, 0, 0, 4, 3, S}, true, true, QRect(5, 6, 4, 3)},
        {"width 0 draws nothing", {5, 6, 0, 0, 0, 3, S}, true, true, QRect()},
        {"negative height draws nothing", {5, 6, 0, 0, 4, -1, S}, true, true, QRect()},
        {"source past the right and bottom edges", {0, 0, 38, 28, 5, 5, S}, true, true, QRect(0, 0, 2, 2)},
        {"source before the left and top edges moves the destination", {10, 10, -2, -1, 4, 3, S}, true,
         true, QRect(12, 11, 2, 2)},
        {"source wholly outside", {0, 0, 40, 0, 5, 5, S}, true, true, QRect()},
        {"destination partly outside the picture", {37, 28, 0, 0, 6, 6, S}, true, true,
         QRect(37, 28, 3, 2)},
        {"no spare picture", {5, 6, 0, 0, 4, 3, S}, false, false, QRect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPuzzleData puzzle;
        ScenePuzzle(puzzle, kW, kH, c.spare);
        TBitWindow view(puzzle);
        ASSERT_TRUE(view.SwitchMode(ViewMode::Scene));
        QImage want = view.ModeScreen().Image.copy();
        QPainter(&want).fillRect(c.wantRed, kRed);
        EXPECT_EQ(view.BlitPiece(c.piece, QPoint(0, 0)), c.want);
        EXPECT_EQ(view.ModeScreen().Image, want);
    }
}

TEST(SceneAnimation, TicksAfterTheRecordWasEmptiedDrawNothing) {
    TPuzzleData puzzle;
    ScenePuzzle(puzzle, 30, 20, true);
    AppendRecord(puzzle.Tables[0], 'T', 0, 0, 0, 0, 10, 10);
    AppendRecord(puzzle.Tables[0], 'W', 0, 0, 0, 0, 1, 0);
    puzzle.TableCounts[0] = 2;
    TBitWindow view(puzzle);
    ASSERT_TRUE(view.SwitchMode(ViewMode::Scene));
    const QImage before = view.ModeScreen().Image.copy();
    // The scene is still shown, but its tables went with the record.
    puzzle.Reset();
    view.AnimateStep();
    EXPECT_EQ(view.ModeScreen().Image, before);
}

}  // namespace
}  // namespace vexa
