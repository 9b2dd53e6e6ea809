// The frame as a desktop window: wide enough for its bars, never larger than
// the screen, the ready question after the frame stands, the welcome text
// after a load that left no puzzle, hints that go when the menu is left.
#include "app_fixture.h"

#include "app/command_line.h"
#include "framework/command_ids.h"
#include "framework/control_bar.h"
#include "framework/hint_texts.h"
#include "framework/status_bar.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <cstdio>
#include <vector>

namespace vexa::test {
namespace {

bool ExtensionShown(QWidget* bar, const char* name) {
    auto* ext = bar->findChild<QToolButton*>(QString::fromLatin1(name));
    return ext && ext->isVisible();
}

// What the screen shows of the frame (the window system's copy, not a fresh paint).
QImage OnScreen(QWidget* frame) {
    QApplication::processEvents();
    return frame->screen()->grabWindow(frame->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// The colour the screen shows at `at` in the view's client area.
QRgb ViewPixel(TKavrikApp& app, QPoint at) {
    const QPoint inFrame = app.View()->viewport()->mapTo(app.Frame(), at);
    return OnScreen(app.Frame()).pixel(inFrame);
}

TEST_F(AppTest, NarrowPicturesKeepEveryMenuButtonAndTimeText) {
    Start();
    App->OpenPuzzle(WritePuzzle("narrow.VX", 3, 200, 150));
    QApplication::processEvents();
    EXPECT_FALSE(ExtensionShown(App->Frame()->menuBar(), "qt_menubar_ext_button")) << "no menu folded away";
    EXPECT_FALSE(ExtensionShown(App->ControlBar(), "qt_toolbar_ext_button")) << "no button folded away";
    EXPECT_GT(App->View()->OuterWidth(), 200) << "the frame stays as wide as its bars";
    EXPECT_EQ(App->View()->OuterHeight(), 150);
    EXPECT_GT(App->StatusBar()->MessageField()->width(), 0);

    const QString widest[] = {QStringLiteral("残り時間　300"), QStringLiteral("制限時間なし"),
                              QStringLiteral("判定で再挑戦")};
    for (const QString& text : widest) {
        App->TimeField()->SetText(text);
        EXPECT_GE(App->TimeField()->width(), App->TimeField()->sizeHint().width()) << text.toStdString();
    }

    // At the side, the toolbar keeps all its buttons too.
    ASSERT_TRUE(App->Commands().Execute(223));
    App->PlayHost().FitToPicture();
    QApplication::processEvents();
    EXPECT_FALSE(ExtensionShown(App->ControlBar(), "qt_toolbar_ext_button"));
}

TEST_F(AppTest, APictureLargerThanTheScreenScrollsInsideIt) {
    Start();
    const QRect area = App->Frame()->screen()->availableGeometry();
    App->OpenPuzzle(WritePuzzle("large.VX", 3, area.width() + 200, area.height() + 150));
    QApplication::processEvents();
    EXPECT_TRUE(area.contains(App->Frame()->frameGeometry())) << "frame within the screen";
    EXPECT_GT(App->View()->XRange(), 0);
    EXPECT_GT(App->View()->YRange(), 0);

    // What was learned about the frame still fits a small picture exactly.
    App->OpenPuzzle(WritePuzzle("fits.VX", 3, 520, 300));
    EXPECT_EQ(App->View()->OuterWidth(), 520);
    EXPECT_EQ(App->View()->OuterHeight(), 300);
}

TEST_F(AppTest, ReadyQuestionComesOnceTheFrameStandsFitted) {
    bool shownWhenAsked = false;
    QSize viewWhenAsked;
    SetMessageBoxHook([&](QWidget* owner, const QString& text, QMessageBox::StandardButtons) {
        Messages << text;
        Owners.push_back(owner);
        shownWhenAsked = App->Frame()->isVisible() && App->Frame()->windowHandle() &&
                         App->Frame()->windowHandle()->isExposed();
        viewWhenAsked = App->View()->size();
        return QMessageBox::Ok;
    });
    App->PendingFile = QFile::encodeName(WritePuzzle("ready.VX"));
    App->InitInstance();
    ASSERT_EQ(Messages.value(0), kMsgReady);
    EXPECT_EQ(Owners.at(0), App->Frame());
    EXPECT_TRUE(shownWhenAsked);
    EXPECT_EQ(viewWhenAsked, QSize(500, 350)) << "fitted to the welcome page first";
}

TEST_F(AppTest, ALoadThatLeavesNoPuzzleShowsTheWelcomeTextAtOnce) {
    Start();
    App->OpenPuzzle(WritePuzzle("shown.VX", 3, 120, 90));
    ASSERT_TRUE(App->Commands().Execute(CmModePhoto));
    App->View()->FinishWipe();
    const QRgb photo = qRgb(180, 180, 180);  // pair 4 of the test puzzles
    const QPoint left(3, 60);                  // below the markers, left of any welcome text
    ASSERT_EQ(ViewPixel(*App, left), photo);

    QFile junk(Dir.filePath("junk.VX"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a puzzle");
    junk.close();
    App->OpenPuzzle(junk.fileName());
    EXPECT_EQ(App->Puzzle().Loaded, 0);
    EXPECT_EQ(ViewPixel(*App, left), App->View()->viewport()->palette().color(QPalette::Base).rgb())
        << "the old photo is gone from the screen";
    EXPECT_FALSE(App->View()->MarkerVisible(0));
}

TEST_F(AppTest, HintsEmptyOnSeparatorsGreyedItemsAndLeavingTheMenuBar) {
    Start();
    QLabel* field = App->StatusBar()->MessageField();
    QMenu* file = App->Frame()->menuBar()->actions().at(0)->menu();
    file->popup(QPoint(0, 0));
    QApplication::processEvents();
    auto moveOnto = [&](QAction* action) {
        const QPointF at = file->actionGeometry(action).center();
        QMouseEvent move(QEvent::MouseMove, at, file->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(file, &move);
    };
    QAction* open = App->Commands().Action(24332);
    QAction* gather = App->Commands().Action(210);  // greyed outside the photo mode
    ASSERT_FALSE(gather->isEnabled());
    QAction* separator = nullptr;
    for (QAction* a : file->actions())
        if (a->isSeparator()) separator = a;
    ASSERT_NE(separator, nullptr);

    struct Step {
        const char* name;
        QAction* onto;
        QString want;
    };
    for (const Step& s : {Step{"item", open, HintText(24332)}, Step{"separator", separator, QString()},
                          Step{"item again", open, HintText(24332)}, Step{"greyed item", gather, QString()}}) {
        moveOnto(s.onto);
        EXPECT_EQ(field->text(), s.want) << s.name;
    }
    file->hide();
    QApplication::processEvents();

    // A top-level item's hint goes when the pointer leaves the menu bar.
    App->Frame()->ShowHint(211);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(App->Frame()->menuBar(), &leave);
    QApplication::processEvents();
    EXPECT_TRUE(field->text().isEmpty());

    // Escape from a menu opened with the keyboard leaves the popup header's
    // hint on the bar, until the bar gives up the focus.
    App->Frame()->ShowHint(32040);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(App->Frame()->menuBar(), &focusOut);
    QApplication::processEvents();
    EXPECT_TRUE(field->text().isEmpty()) << "the menu was left from the keyboard";
}

// The boxes game play opens on the frame (a notice, the best-result
// question) carry no icon.
TEST_F(AppTest, GamePlayBoxesCarryNoIcon) {
    Start();
    SetMessageBoxHook({});
    std::vector<QMessageBox::Icon> icons;
    auto answerNextBox = [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            icons.push_back(box->icon());
            box->button(box->standardButtons() & QMessageBox::Cancel ? QMessageBox::Cancel : QMessageBox::Ok)
                ->click();
        });
    };
    answerNextBox();
    App->PlayHost().ShowMessage("再度問題に挑戦します。");
    answerNextBox();
    EXPECT_EQ(App->PlayHost().AskYesNoCancel("この問題は以前に全問正解しています。"), TAnswer::Cancel);
    EXPECT_EQ(icons, (std::vector<QMessageBox::Icon>{QMessageBox::NoIcon, QMessageBox::NoIcon}));
}

TEST(CommandLine, TheFirstArgumentIsThePuzzleWhateverItLooksLike) {
    using R = TCommandLine::TRequest;
    struct Case {
        std::vector<const char*> have;
        R wantRequest;
        QByteArray wantFile;
    };
    const Case cases[] = {
        {{"vexa"}, R::Run, {}},
        {{"vexa", "x.VX", "more", "args"}, R::Run, "x.VX"},
        {{"vexa", "-reverse", "x.VX"}, R::Run, "-reverse"},
        {{"vexa", "-style=windows"}, R::Run, "-style=windows"},
        {{"vexa", "\x8a\xd4\x88\xe1.VX"}, R::Run, "\x8a\xd4\x88\xe1.VX"},
        {{"vexa", "--help"}, R::Help, {}},
        {{"vexa", "--version"}, R::Version, {}},
        {{"vexa", "--help", "x.VX"}, R::Run, "--help"},
    };
    for (const Case& c : cases) {
        const TCommandLine have = ParseCommandLine(static_cast<int>(c.have.size()), c.have.data());
        EXPECT_EQ(have.Request, c.wantRequest) << c.have.back();
        EXPECT_EQ(have.PendingFile, c.wantFile) << c.have.back();
    }
}

// As the sole argument, --help and --version answer on the terminal and end
// the program with 0, before any window or lock.
TEST(CommandLine, HelpAndVersionAnswerAndExit) {
    struct Case {
        const char* arg;
        const char* want;
    };
    for (const Case& c : {Case{"--help", "Usage: vexa [FILE.VX]"}, Case{"--version", "vexa "}}) {
        QProcess player;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        player.setProcessEnvironment(env);
        player.start(QStringLiteral(VEXA_BINARY_DIR "/vexa"), {QString::fromLatin1(c.arg)});
        ASSERT_TRUE(player.waitForFinished(20000)) << c.arg;
        EXPECT_EQ(player.exitStatus(), QProcess::NormalExit) << c.arg;
        EXPECT_EQ(player.exitCode(), 0) << c.arg;
        const QByteArray out = player.readAllStandardOutput();
        EXPECT_TRUE(out.startsWith(c.want)) << c.arg;
        if (QByteArray(c.arg) == "--help") EXPECT_TRUE(out.contains("vexa(6)")) << "the manual page's section";
    }
}

// A Shift-JIS file name from the command line reaches the loader byte for byte.
TEST_F(AppTest, CommandLineNameKeepsItsBytes) {
    const QByteArray sjis = QFile::encodeName(Dir.path()) + "/\x8a\xd4\x88\xe1.VX";
    const QByteArray plain = QFile::encodeName(WritePuzzle("plain.VX"));
    ASSERT_EQ(std::rename(plain.constData(), sjis.constData()), 0);
    const char* argv[] = {"vexa", sjis.constData()};
    App->PendingFile = ParseCommandLine(2, argv).PendingFile;
    App->InitInstance();
    EXPECT_EQ(Messages, QStringList{kMsgReady});
    EXPECT_EQ(App->Puzzle().Loaded, 1);
}

}  // namespace
}  // namespace vexa::test
