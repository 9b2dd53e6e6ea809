#include "app/frame_fit.h"
#include "view/bit_window.h"

#include "view_fixtures.h"
#include "view_mode_names.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <gtest/gtest.h>

namespace vexa {
namespace {

// A frame like the player's: menu, tool bar and status bar around the view.
struct Frame {
    TPuzzleData Puzzle;
    QMainWindow Window;
    TBitWindow* View;
    TFitExtras Extras;  // learned by the fits, as the player keeps them
    Frame() {
        View = new TBitWindow(Puzzle);
        Window.setCentralWidget(View);
        Window.menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
        Window.addToolBar(QStringLiteral("bar"))->addAction(QStringLiteral("x"));
        Window.statusBar()->showMessage(QStringLiteral("ready"));
        Window.resize(700, 500);
        Window.show();
    }
};

TEST(FitToPicture, MakesTheViewAsLargeAsThePicture) {
    Frame f;
    test::SetPair(f.Puzzle, 4, test::Dib24Of(320, 240, test::Pattern), 320, 240);
    test::SetPair(f.Puzzle, 0, test::Dib24Of(400, 180, test::Pattern), 400, 180);
    struct Case {
        ViewMode mode;
        QSize want;
    };
    for (const Case& c : {Case{ViewMode::Photo, {320, 240}}, Case{ViewMode::Scene, {400, 180}}, Case{ViewMode::Photo, {320, 240}}}) {
        ASSERT_TRUE(f.View->SwitchMode(c.mode));
        FitToPicture(&f.Window, *f.View, f.Extras);
        QApplication::processEvents();
        EXPECT_EQ(f.View->size(), c.want) << c.mode;
        EXPECT_EQ(QSize(f.View->OuterWidth(), f.View->OuterHeight()), c.want) << c.mode;
        EXPECT_EQ(f.View->XRange(), 0) << c.mode;
        EXPECT_EQ(f.View->YRange(), 0) << c.mode;
    }
    // Learned once: the frame is larger than its view by its decorations.
    EXPECT_LT(f.Extras.Height, 0);
    EXPECT_LE(f.Extras.Width, 0);
}

TEST(FitToPicture, LeavesAMaximisedFrameAlone) {
    Frame f;
    test::SetPair(f.Puzzle, 4, test::Dib24Of(120, 90, test::Pattern), 120, 90);
    f.Window.showMaximized();
    QApplication::processEvents();
    if (!f.Window.isMaximized()) GTEST_SKIP() << "this platform does not maximise windows";
    ASSERT_TRUE(f.View->SwitchMode(ViewMode::Photo));
    const QSize before = f.Window.size();
    FitToPicture(&f.Window, *f.View, f.Extras);
    EXPECT_EQ(f.Window.size(), before);
    EXPECT_EQ(f.Extras.Width, 0);
    EXPECT_EQ(f.Extras.Height, 0);
}

}  // namespace
}  // namespace vexa
