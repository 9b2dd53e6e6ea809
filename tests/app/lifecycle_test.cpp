// The timer, the close query, the help window's owner and the run's status.
#include "app_fixture.h"

#include "framework/command_ids.h"
#include "framework/help_window.h"

#include <QDialog>

namespace vexa::test {
namespace {

TEST_F(AppTest, TimerQuestionRepeatsUntilTheTimerRunsOrTheUserCancels) {
    struct Case {
        const char* name;
        int failures;
        QList<QMessageBox::StandardButton> answers;
        int wantQuestions;
        bool wantQuit;
    };
    const Case cases[] = {
        {"starts at once", 0, {}, 0, false},
        {"retry twice, then it runs", 2, {QMessageBox::Retry, QMessageBox::Retry}, 2, false},
        {"cancel", 5, {QMessageBox::Retry, QMessageBox::Cancel}, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        App = std::make_unique<TKavrikApp>(Dir.filePath("vexa.Ini").toStdString());
        Messages.clear();
        Owners.clear();
        Answers = c.answers;
        int failuresLeft = c.failures;
        App->StartTimer = [&](QTimer& timer) {
            if (failuresLeft > 0) {
                --failuresLeft;
                return false;
            }
            timer.start();
            return true;
        };
        // A cancelled question ends the run with 0 before the loop starts;
        // otherwise the test only sets up, since Run would enter the loop.
        if (c.wantQuit)
            EXPECT_EQ(App->Run(), 0);
        else
            App->InitInstance();
        EXPECT_EQ(Messages.size(), c.wantQuestions);
        for (int i = 0; i < Messages.size(); ++i) {
            EXPECT_EQ(Messages.at(i), kMsgNoTimer);
            EXPECT_EQ(Owners.at(i), nullptr) << "no frame window exists yet";
        }
        EXPECT_EQ(App->QuitRequested(), c.wantQuit);
        EXPECT_EQ(App->Timer().isActive(), !c.wantQuit);
        EXPECT_TRUE(App->Frame()->isVisible()) << "the set-up goes on";
    }
}

TEST_F(AppTest, TicksReachTheApplicationOnlyOutsideModalDialogs) {
    Start();
    EXPECT_TRUE(App->Timer().isActive());
    EXPECT_EQ(App->Timer().interval(), 100);
    int ticks = 0;
    App->TickHandler = [&] { ++ticks; };
    App->EvTimer();
    EXPECT_EQ(ticks, 1);
    {
        QDialog dialog(App->Frame());
        dialog.setModal(true);
        dialog.show();
        App->EvTimer();
        EXPECT_EQ(ticks, 1);
    }
    App->EvTimer();
    EXPECT_EQ(ticks, 2);
}

TEST_F(AppTest, EachTickRefreshesEnabling) {
    Start();
    App->OpenPuzzle(WritePuzzle("t.VX"));
    App->Commands().Refresh();
    ASSERT_TRUE(App->Commands().Action(CmModeScene)->isEnabled());
    App->TickHandler = [&] { App->Game().State.Running = 0; };  // the countdown ran out
    App->EvTimer();
    EXPECT_FALSE(App->Commands().Action(CmModeScene)->isEnabled());
}

TEST_F(AppTest, ClosingTheFrameStopsTheTimerAndClosesTheHelpWindow) {
    Start();
    ASSERT_TRUE(App->Commands().Execute(209));
    THelpWindow* help = App->HelpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    ASSERT_TRUE(App->Commands().Execute(24310));
    EXPECT_FALSE(App->Frame()->isVisible());
    EXPECT_FALSE(help->isVisible());
    EXPECT_FALSE(App->Timer().isActive());
}

TEST_F(AppTest, ShowRequestKeepsAMinimisedFrameMinimised) {
    Start();
    struct Case {
        const char* name;
        bool minimised;
    };
    for (const Case& c : {Case{"normal", false}, Case{"minimised", true}}) {
        SCOPED_TRACE(c.name);
        if (c.minimised) App->Frame()->showMinimized();
        App->Frame()->hide();
        App->ShowFrame();
        EXPECT_TRUE(App->Frame()->isVisible());
        EXPECT_EQ(App->Frame()->isMinimized(), c.minimised);
    }
}

TEST_F(AppTest, CommandLineFileIsAskedForThenLoaded) {
    struct Case {
        const char* name;
        QString file;
        QStringList wantMessages;
        bool wantLoaded;
    };
    const QString good = WritePuzzle("cmd.VX");
    const Case cases[] = {
        {"no file", QString(), {}, false},
        {"a puzzle", good, {kMsgReady}, true},
        {"missing file", Dir.filePath("gone.VX"), {kMsgReady, QStringLiteral("ファイルをオープンできません")}, false},
        {"name too long", Dir.path() + '/' + QString(300, 'x'), {kMsgNameTooLong}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        App = std::make_unique<TKavrikApp>(Dir.filePath("vexa.Ini").toStdString());
        Messages.clear();
        App->PendingFile = QFile::encodeName(c.file);
        App->InitInstance();
        EXPECT_EQ(Messages, c.wantMessages);
        EXPECT_EQ(App->Puzzle().Loaded, c.wantLoaded ? 1 : 0);
        EXPECT_EQ(App->Running(), c.wantLoaded ? 1 : 0);
    }
}

}  // namespace
}  // namespace vexa::test
