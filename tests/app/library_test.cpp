// 問題集 and 最近使ったファイル in the player: the menu, Ctrl+L, the list's
// groups, selection, typing to filter, unreadable files, playing a puzzle
// through the ready question, results read afresh, and the recent files.
#include "app_fixture.h"

#include "framework/command_ids.h"
#include "framework/hint_texts.h"
#include "framework/status_bar.h"
#include "library/library_dialog.h"
#include "library/library_state.h"
#include "play/play_messages.h"
#include "settings/result_record.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>

#include <sys/stat.h>

#include <fstream>
#include <iterator>

namespace vexa::test {
namespace {

class LibraryTest : public AppTest {
protected:
    void TearDown() override {
        SetLibraryDialogHook({});
        AppTest::TearDown();
    }

    // Opens the list with Ctrl+L and lets `answer` work it once every
    // thumbnail is in; returns the dialog's result.
    int OpenList(const std::function<int(TLibraryDialog&)>& answer) {
        int result = -1;
        SetLibraryDialogHook([&](TLibraryDialog& dialog) {
            dialog.WaitForSummaries();
            result = answer(dialog);
            return result;
        });
        EXPECT_TRUE(qt_sendShortcutOverrideEvent(App->Frame(), 0, Qt::Key_L, Qt::ControlModifier));
        return result;
    }

    // The texts of the rows shown, headings included, top to bottom.
    static QStringList Rows(TLibraryDialog& d, int column = 0) {
        QStringList rows;
        for (int h = 0; h < d.Tree()->topLevelItemCount(); ++h) {
            QTreeWidgetItem* heading = d.Tree()->topLevelItem(h);
            if (heading->isHidden()) continue;
            rows << heading->text(0);
            for (int c = 0; c < heading->childCount(); ++c) rows << heading->child(c)->text(column);
        }
        return rows;
    }

    static void Press(QWidget* w, int key, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
    }

    std::string MyPuzzles() const { return App->LibraryPaths.Places.MyPuzzles; }
};

TEST_F(LibraryTest, CtrlLOpensTheListAndTheNewItemsHaveHints) {
    Start();
    EXPECT_EQ(OpenList([](TLibraryDialog&) { return QDialog::Rejected; }), QDialog::Rejected);
    QMenu* file = App->Frame()->menuBar()->actions().at(0)->menu();
    // The first item is still データを読む, so the header's hint stays empty.
    QLabel* field = App->StatusBar()->MessageField();
    file->popup(QPoint(0, 0));
    EXPECT_TRUE(field->text().isEmpty());
    App->Commands().Action(CmLibrary)->hover();
    EXPECT_EQ(field->text(), HintText(CmLibrary));
    file->actions().at(3)->hover();
    EXPECT_EQ(field->text(), HintText(CmRecentFiles));
    file->hide();
    QApplication::processEvents();
}

TEST_F(LibraryTest, ListsGroupsPlaysTheChosenPuzzleAndShowsItsNewResult) {
    WritePuzzle("my-puzzles/b.VX");
    WritePuzzle("my-puzzles/a.VX");
    WritePuzzle("elsewhere/c.VX");
    const std::string settingsBefore = "[x]\r\nDStrs=0,0,0\r\n";
    std::ofstream(App->SettingsPath(), std::ios::binary) << settingsBefore;
    Start();

    // Nothing played yet: the first puzzle is selected and has the focus.
    OpenList([&](TLibraryDialog& d) {
        EXPECT_EQ(Rows(d), (QStringList{"自分の問題", "test\na.VX", "test\nb.VX"}));
        EXPECT_EQ(d.Progress()->text(), QStringLiteral("全問正解 0 / 2 問"));
        EXPECT_EQ(d.Tree()->currentItem()->text(0), QStringLiteral("test\na.VX"));
        EXPECT_EQ(d.Tree()->currentItem()->text(1), QStringLiteral("3"));
        EXPECT_EQ(d.Tree()->currentItem()->text(2), QStringLiteral("未挑戦"));
        EXPECT_FALSE(d.Tree()->currentItem()->icon(0).isNull());
        return QDialog::Rejected;
    });
    // Listing wrote nothing to the settings file.
    std::ifstream in(App->SettingsPath(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), settingsBefore);

    // A puzzle from elsewhere, opened by name, brings its folder into the list.
    App->OpenPuzzle(QFile::encodeName(Dir.filePath(QStringLiteral("elsewhere/c.VX"))));
    ASSERT_EQ(App->Running(), 1);
    Messages.clear();
    OpenList([&](TLibraryDialog& d) {
        const QStringList rows = Rows(d);
        EXPECT_EQ(rows.size(), 5);
        EXPECT_TRUE(rows.at(3).startsWith(QStringLiteral("最後に遊んだ問題のフォルダ: "))) << rows.join('|').toStdString();
        // The last played is selected; Return plays the one chosen instead.
        EXPECT_EQ(d.Tree()->currentItem()->text(0), QStringLiteral("test\nc.VX"));
        d.Tree()->setCurrentItem(d.Tree()->topLevelItem(0)->child(1));
        Press(d.Tree(), Qt::Key_Return);
        return d.result();
    });
    EXPECT_EQ(Messages, QStringList{kMsgReady});
    EXPECT_EQ(App->Running(), 1);
    EXPECT_EQ(App->PendingFile, QFile::encodeName(Dir.filePath(QStringLiteral("my-puzzles/b.VX"))));
    EXPECT_EQ(LoadLibraryState(App->LibraryPaths.StateFile).LastPlayed,
              QFile::encodeName(Dir.filePath(QStringLiteral("my-puzzles/b.VX"))).toStdString());

    // A judgement stored for the puzzle shows when the list opens again.
    TResultState best;
    best.BestResult = ViewMode::AllFound;
    ASSERT_TRUE(WriteResultRecord(App->SettingsPath(), "TEST", best));
    OpenList([&](TLibraryDialog& d) {
        EXPECT_EQ(d.Tree()->currentItem()->text(2), QStringLiteral("全問正解"));
        // One section for both; c.VX's folder left the list when b.VX became the last played.
        EXPECT_EQ(d.Progress()->text(), QStringLiteral("全問正解 2 / 2 問"));
        return QDialog::Rejected;
    });
}

TEST_F(LibraryTest, TypingFiltersUnreadableFilesSayWhyAndSortingKeepsGroups) {
    WritePuzzle("my-puzzles/a.VX");
    QFile broken(Dir.filePath(QStringLiteral("my-puzzles/broken.VX")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x0a\x00" "not a puzzle", 14);
    broken.close();
    Start();
    OpenList([&](TLibraryDialog& d) -> int {
        const QStringList rows = Rows(d);
        EXPECT_EQ(rows.size(), 3);
        if (rows.size() != 3) return QDialog::Rejected;
        EXPECT_EQ(rows.at(2), QStringLiteral("broken.VX\n") + QString::fromUtf8(kMsgBadData));
        EXPECT_EQ(Rows(d, 2).at(2), QStringLiteral("読めません"));
        EXPECT_EQ(d.Progress()->text(), QStringLiteral("全問正解 0 / 1 問"));
        // An unreadable row does not close the list.
        d.Tree()->setCurrentItem(d.Tree()->topLevelItem(0)->child(1));
        Press(d.Tree(), Qt::Key_Return);
        EXPECT_EQ(d.result(), 0);
        EXPECT_TRUE(d.ChosenPath().isEmpty());

        // Letters typed in the list filter by title; the list keeps the focus.
        Press(d.Tree(), Qt::Key_T, QStringLiteral("T"));
        Press(d.Tree(), Qt::Key_E, QStringLiteral("e"));
        EXPECT_EQ(d.Filter()->text(), QStringLiteral("Te"));
        EXPECT_EQ(Rows(d), (QStringList{"自分の問題", "test\na.VX"}));
        EXPECT_EQ(d.Tree()->currentItem()->text(0), QStringLiteral("test\na.VX"));
        Press(d.Tree(), Qt::Key_X, QStringLiteral("x"));
        EXPECT_TRUE(Rows(d).isEmpty());
        Press(d.Tree(), Qt::Key_Backspace);
        Press(d.Tree(), Qt::Key_Backspace);
        Press(d.Tree(), Qt::Key_Backspace);
        EXPECT_EQ(Rows(d).size(), 3);
        d.Sort()->setCurrentIndex(1);  // by result: both untried, then by name
        EXPECT_EQ(Rows(d).size(), 3);
        return QDialog::Rejected;
    });
    EXPECT_EQ(Messages, QStringList{});
    // The thumbnails went to a folder of the user's own.
    struct stat st {};
    ASSERT_EQ(::stat(Dir.filePath(QStringLiteral("cache/vexa")).toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(LibraryTest, AddedFoldersAreKeptInTheStateFileAndCanBeTakenAway) {
    WritePuzzle("extra/one.VX");
    Start();
    const QString extra = Dir.filePath(QStringLiteral("extra"));
    OpenList([&](TLibraryDialog& d) {
        EXPECT_TRUE(Rows(d).isEmpty());
        d.ChooseFolder = [&](QWidget*) { return extra; };
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text().startsWith(QStringLiteral("フォルダを追加"))) b->click();
        d.WaitForSummaries();
        EXPECT_EQ(Rows(d), (QStringList{QStringLiteral("追加したフォルダ: ") + extra, "test\none.VX"}));
        return QDialog::Rejected;
    });
    EXPECT_EQ(LoadLibraryState(App->LibraryPaths.StateFile).Folders,
              std::vector<std::string>{QFile::encodeName(extra).toStdString()});
    OpenList([&](TLibraryDialog& d) {
        EXPECT_EQ(Rows(d).size(), 2);  // kept from one opening to the next
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text().startsWith(QStringLiteral("フォルダを外す"))) b->click();
        EXPECT_TRUE(Rows(d).isEmpty());
        return QDialog::Rejected;
    });
    EXPECT_TRUE(LoadLibraryState(App->LibraryPaths.StateFile).Folders.empty());
}

TEST_F(LibraryTest, RecentFilesNewestFirstGreyWhenGoneAndOpenAfterTheQuestion) {
    const QString a = WritePuzzle("a.VX"), b = WritePuzzle(QStringLiteral("line\nbreak.VX"));
    Start();
    App->OpenPuzzle(QFile::encodeName(a));
    App->OpenPuzzle(QFile::encodeName(b));
    App->OpenPuzzle(QFile::encodeName(Dir.filePath(QStringLiteral("missing.VX"))));  // not loaded: not kept
    Messages.clear();
    QMenu* recent = App->Frame()->findChild<QMenu*>(QStringLiteral("recentFiles"));
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions().at(0)->text(), QStringLiteral("&1 line\nbreak.VX"));
    EXPECT_EQ(recent->actions().at(1)->text(), QStringLiteral("&2 a.VX"));

    QFile::remove(b);
    emit recent->aboutToShow();
    EXPECT_FALSE(recent->actions().at(0)->isEnabled());
    EXPECT_TRUE(recent->actions().at(1)->isEnabled());
    recent->actions().at(1)->trigger();
    EXPECT_EQ(Messages, QStringList{kMsgReady});
    EXPECT_EQ(App->PendingFile, QFile::encodeName(a));
    EXPECT_EQ(App->Running(), 1);
    // The list's state is a file of its own, apart from the settings file.
    EXPECT_FALSE(QFile::exists(QString::fromStdString(App->SettingsPath())));
}

}  // namespace
}  // namespace vexa::test
