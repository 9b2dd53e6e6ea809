// Commands and their enabling, accelerators, menu hints, the hint mode, the
// open dialog, dropped files and the help window.
#include "app_fixture.h"

#include "framework/command_ids.h"
#include "framework/control_bar.h"
#include "framework/help_window.h"
#include "framework/hint_texts.h"
#include "framework/status_bar.h"

#include "play/play_messages.h"

#include <QAction>
#include <QDropEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace vexa::test {
namespace {

QMenu* Popup(QMenuBar* bar, int index) { return bar->actions().at(index)->menu(); }

struct Look {
    bool enabled;
    bool checked;
};

Look LookOf(TKavrikApp& app, int id) {
    QAction* a = app.Commands().Action(id);
    return {a->isEnabled(), a->isChecked()};
}

TEST_F(AppTest, EnablingBeforeAndAfterAPuzzleIsShown) {
    Start();
    struct Want {
        int id;
        Look before, loaded, photo;
    };
    const Want want[] = {
        {CmModeScene, {false, false}, {true, true}, {true, false}},
        {CmModePhoto, {false, false}, {true, false}, {true, true}},
        {CmGather, {false, false}, {false, false}, {true, false}},
        {CmOpen, {true, false}, {true, false}, {true, false}},
        {CmFit, {true, false}, {true, false}, {true, false}},
        {CmJudge, {true, false}, {true, false}, {true, false}},
    };
    for (const Want& w : want) {
        SCOPED_TRACE(w.id);
        const Look have = LookOf(*App, w.id);
        EXPECT_EQ(have.enabled, w.before.enabled);
        EXPECT_EQ(have.checked, w.before.checked);
    }
    App->OpenPuzzle(WritePuzzle("a.VX"));
    App->Commands().Refresh();
    ASSERT_EQ(App->Running(), 1);
    ASSERT_EQ(App->View()->CurrentMode(), ViewMode::Scene);
    for (const Want& w : want) {
        SCOPED_TRACE(w.id);
        const Look have = LookOf(*App, w.id);
        EXPECT_EQ(have.enabled, w.loaded.enabled);
        EXPECT_EQ(have.checked, w.loaded.checked);
    }
    ASSERT_TRUE(App->Commands().Execute(CmModePhoto));
    for (const Want& w : want) {
        SCOPED_TRACE(w.id);
        const Look have = LookOf(*App, w.id);
        EXPECT_EQ(have.enabled, w.photo.enabled);
        EXPECT_EQ(have.checked, w.photo.checked);
    }
    // The buttons show the same: the camera is down, the eye up.
    for (TButtonGadget* b : App->ControlBar()->Buttons()) {
        if (b->Id() == CmModePhoto) {
            EXPECT_TRUE(b->isChecked());
        } else if (b->Id() == CmModeScene) {
            EXPECT_FALSE(b->isChecked());
        } else if (b->Id() == 210) {
            EXPECT_TRUE(b->isEnabled());
        }
    }
}

TEST_F(AppTest, AcceleratorsRecheckTheRuleWhateverTheMenuShows) {
    Start();
    int opened = 0;
    SetOpenDialogHook([&](QFileDialog&, QString&) { ++opened; return 0; });
    // F8 / F9 with no challenge: nothing happens even if the look is stale.
    App->Commands().Action(CmModePhoto)->setEnabled(true);
    Key(Qt::Key_F9);
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::None);

    EXPECT_TRUE(Key(Qt::Key_F12));
    EXPECT_EQ(opened, 1);

    EXPECT_TRUE(Key(Qt::Key_F1));
    ASSERT_NE(App->HelpWindow(), nullptr);
    EXPECT_TRUE(App->HelpWindow()->isVisible());
    EXPECT_EQ(App->HelpWindow()->parentWidget(), App->Frame());
    EXPECT_FALSE(App->HelpWindow()->toPlainText().isEmpty()) << "the bundled manual is found";
    EXPECT_TRUE(App->HelpWindow()->toPlainText().contains(QString::fromStdString(App->SettingsPath())))
        << "the manual names the settings file in use";

    App->OpenPuzzle(WritePuzzle("b.VX", 3, 560, 420));
    ASSERT_EQ(App->View()->CurrentMode(), ViewMode::Scene);
    EXPECT_TRUE(Key(Qt::Key_F9));
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::Photo);
    EXPECT_TRUE(Key(Qt::Key_F8));
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::Scene);

    // Running ends (as judging does) while the items still look enabled.
    App->Game().State.Running = 0;
    Key(Qt::Key_F9);
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::Scene);

    App->Frame()->resize(800, 700);
    QApplication::processEvents();
    QApplication::setActiveWindow(App->Frame());  // the help window took the focus
    EXPECT_TRUE(Key(Qt::Key_F5));
    EXPECT_EQ(App->View()->OuterWidth(), 560);
    EXPECT_EQ(App->View()->OuterHeight(), 420);
}

TEST_F(AppTest, ChoosingTheShownModeDoesNothing) {
    Start();
    App->OpenPuzzle(WritePuzzle("c.VX", 2, 520, 400));
    ASSERT_EQ(App->View()->CurrentMode(), ViewMode::Scene);
    App->Frame()->resize(800, 700);
    QApplication::processEvents();
    const QSize before = App->Frame()->size();
    EXPECT_TRUE(App->Commands().Execute(CmModeScene));
    EXPECT_EQ(App->Frame()->size(), before) << "no fit for the mode already shown";
    EXPECT_TRUE(App->Commands().Execute(CmModePhoto));
    EXPECT_EQ(App->View()->OuterWidth(), 520) << "a real switch fits the frame";
}

TEST_F(AppTest, MenuHintsAndPopupHeaders) {
    Start();
    QMenuBar* bar = App->Frame()->menuBar();
    QLabel* field = App->StatusBar()->MessageField();
    // Opening a popup shows its header's hint; moving the highlight shows the item's.
    struct Case {
        const char* name;
        int popup;
        QAction* item;  // null: the header itself
        QString want;
    };
    const Case cases[] = {
        {"file header", 0, nullptr, QString()},
        {"open item", 0, App->Commands().Action(24332), QStringLiteral("データを読み込みます")},
        {"exit item", 0, App->Commands().Action(24310), QStringLiteral("プログラムを終了します")},
        {"mode header", 2, nullptr, QString()},
        {"view header", 4, nullptr, QStringLiteral("ステータスバーの表示・非表示を切り替えます")},
        {"hint mode item", 4, App->Commands().Action(222), HintText(222)},
        {"top-level fit, highlighted while a popup is open", 0, App->Commands().Action(201), HintText(201)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        field->setText(QStringLiteral("old"));
        QMenu* menu = Popup(bar, c.popup);
        menu->popup(QPoint(0, 0));
        if (c.item) c.item->hover();
        EXPECT_EQ(field->text(), c.want);
        menu->hide();
        QApplication::processEvents();
        EXPECT_TRUE(field->text().isEmpty()) << "closing the menu clears the field";
    }
    // The pointer passing over the menu bar with no menu open shows nothing.
    bar->actions().at(4)->hover();
    EXPECT_TRUE(field->text().isEmpty());
    // A popup refreshes enabling as it opens.
    QMenu* modes = Popup(bar, 2);
    App->OpenPuzzle(WritePuzzle("d.VX"));
    App->Commands().Refresh();
    App->Game().State.Running = 0;  // not refreshed yet: the items still look enabled
    ASSERT_TRUE(App->Commands().Action(CmModePhoto)->isEnabled());
    modes->popup(QPoint(0, 0));
    EXPECT_FALSE(App->Commands().Action(CmModePhoto)->isEnabled());
    modes->hide();
}

TEST_F(AppTest, HintModeSwitchClearsTheFieldAndChecksTheItem) {
    Start();
    QLabel* field = App->StatusBar()->MessageField();
    TButtonGadget* hintButton = nullptr;
    for (TButtonGadget* b : App->ControlBar()->Buttons())
        if (b->Id() == 222) hintButton = b;
    ASSERT_NE(hintButton, nullptr);
    struct Want {
        THintMode mode;
        bool checked;
    };
    const Want want[] = {{THintMode::WhileHeld, false}, {THintMode::Hover, true}, {THintMode::WhileHeld, false}};
    for (const Want& w : want) {
        field->setText(QStringLiteral("old"));
        ASSERT_TRUE(App->Commands().Execute(222));
        EXPECT_EQ(App->HintMode(), w.mode);
        EXPECT_EQ(App->ControlBar()->HintMode(), w.mode);
        EXPECT_TRUE(field->text().isEmpty());
        EXPECT_EQ(App->Commands().Action(222)->isChecked(), w.checked);
        EXPECT_EQ(hintButton->isChecked(), w.checked);
    }
}

TEST_F(AppTest, OpenDialogLoadsWithoutTheReadyQuestionAndCancelKeepsThePuzzle) {
    Start();
    const QString path = WritePuzzle("e.VX");
    SetOpenDialogHook([&](QFileDialog&, QString& name) { name = path; return 1; });
    ASSERT_TRUE(App->Commands().Execute(24332));
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(App->PendingFile, QFile::encodeName(path));
    EXPECT_EQ(App->Puzzle().Loaded, 1);
    EXPECT_EQ(App->Running(), 1);

    SetOpenDialogHook([&](QFileDialog&, QString&) { return 0; });
    ASSERT_TRUE(App->Commands().Execute(24332));
    EXPECT_TRUE(App->PendingFile.isEmpty());
    EXPECT_EQ(App->Puzzle().Loaded, 1);
    EXPECT_EQ(App->Running(), 1);
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::Scene);
}

class DropTest : public AppTest {
protected:
    // Drops `paths` on the frame; returns whether the drop was accepted at once.
    bool Drop(const QStringList& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
        mime.setUrls(urls);
        // Qt delivers a drop to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(App->Frame(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(App->Frame(), &drop);
        const bool accepted = drop.isAccepted();
        AskedDuringDrop = !Messages.isEmpty();
        QApplication::processEvents();
        return accepted;
    }
    bool AskedDuringDrop = false;

    // A path of exactly `length` characters under the test folder.
    QString PathOfLength(int length) {
        QString path = Dir.path();
        while (length - path.size() > 100) path += '/' + QString(60, 'd');
        path += '/' + QString(length - path.size() - 4, 'p') + ".VX";
        return path;
    }
};

TEST_F(DropTest, OnlyTheFirstFileLoadsAfterTheReadyQuestion) {
    Start();
    const QString first = WritePuzzle("first.VX", 4);
    const QString second = WritePuzzle("second.VX", 6);
    EXPECT_TRUE(Drop({first, second, Dir.filePath("third.VX")}));
    EXPECT_FALSE(AskedDuringDrop) << "no modal box inside the drop";
    EXPECT_EQ(Messages, QStringList{QStringLiteral("用意はいいですか")});
    EXPECT_EQ(Owners.at(0), App->Frame());
    EXPECT_EQ(App->PendingFile, QFile::encodeName(first));
    EXPECT_EQ(App->Puzzle().DiffCount, 4);
    EXPECT_EQ(App->Running(), 1);
}

TEST_F(DropTest, NameLengthLimit) {
    Start();
    struct Case {
        int length;
        QStringList wantMessages;
        bool wantLoaded;
    };
    const Case cases[] = {
        {260, {QStringLiteral("用意はいいですか")}, true},
        {261, {QStringLiteral("ファイル名が長すぎます")}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        App->PendingFile = "before";
        App->Puzzle().Reset();
        Messages.clear();
        const QString path = PathOfLength(c.length);
        ASSERT_EQ(path.size(), c.length);
        WritePuzzle(QDir(Dir.path()).relativeFilePath(path));
        Drop({path});
        EXPECT_EQ(Messages, c.wantMessages);
        EXPECT_EQ(App->Puzzle().Loaded, c.wantLoaded ? 1 : 0);
        EXPECT_EQ(App->PendingFile, c.wantLoaded ? QFile::encodeName(path) : QByteArray("before"));
    }
}

// The limit counts the name's bytes: 100 kana are 100 characters but 300 bytes.
TEST_F(DropTest, NameLengthLimitCountsBytes) {
    Start();
    const QString path = Dir.path() + '/' + QString(100, QChar(0x3042)) + ".VX";
    ASSERT_LT(path.size(), 260);
    ASSERT_GT(QFile::encodeName(path).size(), 260);
    App->PendingFile = "before";
    Drop({path});
    EXPECT_EQ(Messages, QStringList{kMsgNameTooLong});
    EXPECT_EQ(App->PendingFile, QByteArray("before"));
}

TEST_F(DropTest, FileThatIsNotAPuzzleIsReportedAndNothingRuns) {
    Start();
    QFile junk(Dir.filePath("junk.VX"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a puzzle at all, just some bytes");
    junk.close();
    Drop({junk.fileName()});
    ASSERT_EQ(Messages.size(), 2);
    EXPECT_EQ(Messages.at(1), QString::fromUtf8(kMsgDiskError)) << "the file ends inside its header";
    EXPECT_EQ(App->Puzzle().Loaded, 0);
    EXPECT_EQ(App->Running(), 0);
    EXPECT_FALSE(App->Commands().Action(CmModeScene)->isEnabled());
}

TEST_F(AppTest, SceneThatCannotBeShownLeavesNoChallenge) {
    Start();
    App->OpenPuzzle(WritePuzzle("broken.VX", 3, 120, 90, true));
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::None);
    EXPECT_EQ(App->Puzzle().Loaded, 0);
    EXPECT_EQ(App->Running(), 0);
    ASSERT_EQ(Messages.size(), 1) << "the view reports the picture";
    App->Commands().Refresh();
    EXPECT_FALSE(App->Commands().Action(CmModeScene)->isEnabled());
    EXPECT_FALSE(App->Commands().Action(210)->isEnabled());
}

TEST_F(AppTest, AModeCommandThatCannotBeShownEndsTheChallenge) {
    Start();
    App->OpenPuzzle(WritePuzzle("m.VX"));
    ASSERT_EQ(App->Running(), 1);
    App->Puzzle().BasePictures[2].clear();  // the half-found screen has no picture
    Messages.clear();
    EXPECT_TRUE(App->Commands().Execute(CmModeResult2));
    EXPECT_EQ(Messages, QStringList{QStringLiteral("データが無効です")});
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::None);
    EXPECT_EQ(App->Puzzle().Loaded, 0) << "the record is emptied";
    EXPECT_EQ(App->Running(), 0);
    App->Commands().Refresh();
    EXPECT_FALSE(App->Commands().Action(CmModeScene)->isEnabled());
}

TEST_F(AppTest, GatherOnlyInPhotoMode) {
    Start();
    App->OpenPuzzle(WritePuzzle("g.VX", 3, 200, 150));
    ASSERT_TRUE(App->Commands().Execute(CmModePhoto));
    App->View()->FinishWipe();
    // Drag marker 0 away from the corner.
    QWidget* client = App->View()->viewport();
    for (auto [type, at] : {std::pair{QEvent::MouseButtonPress, QPointF(5, 5)},
                            std::pair{QEvent::MouseButtonRelease, QPointF(70, 60)}}) {
        QMouseEvent e(type, at, client->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(client, &e);
    }
    ASSERT_EQ(App->View()->MarkerPosition(0), QPoint(60, 50));
    ASSERT_TRUE(App->Commands().Execute(210));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(App->View()->MarkerPosition(i), QPoint(0, 0));
        EXPECT_TRUE(App->View()->MarkerVisible(i));
    }
    EXPECT_FALSE(App->View()->MarkerVisible(3));
    ASSERT_TRUE(App->Commands().Execute(CmModeScene));
    EXPECT_FALSE(App->Commands().Execute(210));
}

}  // namespace
}  // namespace vexa::test
