// 写真から問題を作る in the player: Ctrl+N, the photo and options asked, the
// puzzle written under a new name in the puzzles folder and played after the
// ready question, a box for each photo it cannot use, cancelling (from the
// progress dialog or by closing the program) writing nothing, and the real
// maker end to end on a generated photo.
#include "app_fixture.h"

#include "app/make_options_dialog.h"
#include "app/photo_making.h"
#include "framework/command_ids.h"
#include "framework/hint_texts.h"
#include "framework/status_bar.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QThread>

#include <atomic>
#include <mutex>

namespace vexa::test {
namespace {

using authoring::Difficulty;
using authoring::MakeFailure;
using authoring::MakeOptions;
using authoring::MakeProgress;
using authoring::MakeResult;

class MakeTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        Photo = Dir.filePath(QStringLiteral("holiday.jpg"));
        SetOpenDialogHook([this](QFileDialog& dialog, QString& name) {
            Filters = dialog.nameFilters();
            name = Photo;
            return PhotoChosen ? 1 : 0;
        });
        SetMakeOptionsDialogHook([this](TMakeOptionsDialog& d) {
            Asked = {d.DifferencesBox()->minimum(), d.DifferencesBox()->maximum(), d.DifferencesBox()->value(),
                     d.DifficultyBox()->currentText()};
            d.DifferencesBox()->setValue(5);
            d.DifficultyBox()->setCurrentIndex(2);
            return OptionsAccepted ? QDialog::Accepted : QDialog::Rejected;
        });
    }

    void TearDown() override {
        SetMakeOptionsDialogHook({});
        AppTest::TearDown();
    }

    // A maker that returns `made`, the bytes of a small 3-difference puzzle
    // when it succeeds, and keeps what it was asked.
    void FakeMaker(MakeResult made) {
        if (made.failure == MakeFailure::None && made.puzzle.empty()) {
            QFile source(WritePuzzle(QStringLiteral("source.VX")));
            EXPECT_TRUE(source.open(QIODevice::ReadOnly));
            const QByteArray bytes = source.readAll();
            made.puzzle.assign(bytes.begin(), bytes.end());
            if (made.differences == 0) made.differences = 3;
        }
        Made = made;
        App->Maker = [this](const std::string& path, const MakeOptions& options, const MakeProgress& progress) {
            std::lock_guard lock(Mutex);
            GivenPath = path;
            Given = options;
            progress(50);
            return Made;
        };
    }

    // Ctrl+N on the frame, which a window manager makes active again after
    // the progress dialog.
    bool CtrlN() {
        QApplication::setActiveWindow(App->Frame());
        return qt_sendShortcutOverrideEvent(App->Frame(), 0, Qt::Key_N, Qt::ControlModifier);
    }

    // Ctrl+N, then events until the work has ended.
    void MakeWithCtrlN() {
        EXPECT_TRUE(CtrlN());
        EXPECT_TRUE(WaitUntil([this] { return App->Making() == nullptr; }, 120000));
    }

    static bool WaitUntil(const std::function<bool()>& done, int ms = 10000) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(2);
        }
        return done();
    }

    QString MyPuzzles() const { return QString::fromStdString(App->LibraryPaths.Places.MyPuzzles); }
    QStringList Written() const { return QDir(MyPuzzles()).entryList(QDir::Files, QDir::Name); }
    QByteArray Bytes(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    struct AskedOptions {
        int min = 0, max = 0, value = 0;
        QString difficulty;
        bool operator==(const AskedOptions&) const = default;
    };

    QString Photo;
    bool PhotoChosen = true;
    bool OptionsAccepted = true;
    QStringList Filters;
    AskedOptions Asked;
    std::mutex Mutex;
    MakeResult Made;
    std::string GivenPath;
    MakeOptions Given;
};

TEST_F(MakeTest, CtrlNHasAHintAndStopsWhereThePhotoOrTheOptionsAreNotGiven) {
    Start();
    QMenu* file = App->Frame()->menuBar()->actions().at(0)->menu();
    // The header's hint still comes from データを読む.
    EXPECT_EQ(file->menuAction()->property("hintId").toInt(), CmOpen - 1);
    file->popup(QPoint(0, 0));
    App->Commands().Action(CmMakeFromPhoto)->hover();
    EXPECT_EQ(App->StatusBar()->MessageField()->text(), QStringLiteral("写真から間違い探しの問題を作ります"));
    EXPECT_EQ(HintText(CmMakeFromPhoto), App->StatusBar()->MessageField()->text());
    file->hide();

    bool called = false;
    App->Maker = [&](const std::string&, const MakeOptions&, const MakeProgress&) {
        called = true;
        return MakeResult{};
    };
    PhotoChosen = false;
    MakeWithCtrlN();
    EXPECT_EQ(Filters, (QStringList{"画像 (*.jpg *.jpeg *.png *.bmp)", "全てのﾌｧｲﾙ (*.*)"}));
    EXPECT_EQ(Asked, AskedOptions{}) << "no photo, no options asked";

    PhotoChosen = true;
    OptionsAccepted = false;
    MakeWithCtrlN();
    EXPECT_EQ(Asked, (AskedOptions{3, 10, 7, QStringLiteral("ふつう")}));
    QApplication::processEvents();
    EXPECT_FALSE(called);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_FALSE(QDir(MyPuzzles()).exists());
}

TEST_F(MakeTest, WritesANewNameInThePuzzlesFolderAndPlaysAfterTheReadyQuestion) {
    Start();
    FakeMaker({});
    MakeWithCtrlN();
    EXPECT_EQ(GivenPath, Photo.toStdString());
    EXPECT_EQ(Given.differences, 5);
    EXPECT_EQ(Given.difficulty, Difficulty::Hard);
    const QString first = QDir(MyPuzzles()).filePath(QStringLiteral("holiday.VX"));
    EXPECT_EQ(Written(), QStringList{"holiday.VX"});
    EXPECT_EQ(Bytes(first), QByteArray(reinterpret_cast<const char*>(Made.puzzle.data()),
                                       static_cast<qsizetype>(Made.puzzle.size())));
    EXPECT_EQ(Messages, QStringList{kMsgReady});
    EXPECT_EQ(App->Running(), 1);
    EXPECT_EQ(App->PendingFile, QFile::encodeName(first));
    EXPECT_EQ(App->Puzzle().DiffCount, 3);

    // Made again: the first stays as it was, and a taken -2 is passed over.
    QFile taken(QDir(MyPuzzles()).filePath(QStringLiteral("holiday-2.VX")));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("mine");
    taken.close();
    const QByteArray firstBytes = Bytes(first);
    Messages.clear();
    MakeWithCtrlN();
    EXPECT_EQ(Written(), (QStringList{"holiday-2.VX", "holiday-3.VX", "holiday.VX"}));
    EXPECT_EQ(Bytes(first), firstBytes);
    EXPECT_EQ(Bytes(taken.fileName()), QByteArray("mine"));
    EXPECT_EQ(Messages, QStringList{kMsgReady});
    EXPECT_EQ(App->PendingFile, QFile::encodeName(QDir(MyPuzzles()).filePath(QStringLiteral("holiday-3.VX"))));
    // Five asked, three made: said in the message field, and played all the same.
    EXPECT_EQ(App->Running(), 1);
    EXPECT_EQ(App->StatusBar()->MessageField()->text(), kMadeFewerFormat.arg(3));
}

TEST_F(MakeTest, APhotoItCannotUseOrAPuzzleItCannotWriteGetsABox) {
    QFile blocker(Dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = Dir.filePath(QStringLiteral("not-a-folder/puzzles"));
    struct Case {
        MakeFailure failure;
        bool writable;
        QString box;
    } cases[] = {
        {MakeFailure::Unreadable, true, QStringLiteral("写真を読み込めません。画像ファイルを選んでください")},
        {MakeFailure::TooSmall, true, QStringLiteral("写真が小さすぎて問題を作れません")},
        {MakeFailure::TooFlat, true, QStringLiteral("写真の模様や明暗が少なすぎて、見つけられる間違いを作れません")},
        {MakeFailure::BadOption, true, QStringLiteral("この写真からは問題を作れません")},
        {MakeFailure::None, false, kMsgMadeNotWritten.arg(unwritable)},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(authoring::FailureName(c.failure));
        if (!c.writable) App->LibraryPaths.Places.MyPuzzles = unwritable.toStdString();
        MakeResult made;
        made.failure = c.failure;
        FakeMaker(made);
        Messages.clear();
        MakeWithCtrlN();
        EXPECT_EQ(Messages, QStringList{c.box});
        EXPECT_EQ(App->Running(), 0);
        EXPECT_TRUE(Written().isEmpty());
    }
}

// A maker that reports 40 % and then works until it is told to stop.
TEST_F(MakeTest, CancellingFromTheProgressOrByClosingWritesNothing) {
    for (const bool byClosing : {false, true}) {
        SCOPED_TRACE(byClosing ? "closing the program" : "the progress dialog's cancel");
        std::atomic<bool> stopped{false};
        App->Maker = [&](const std::string&, const MakeOptions&, const MakeProgress& progress) {
            QElapsedTimer clock;
            clock.start();
            for (progress(40); progress(40) && clock.elapsed() < 20000;) QThread::msleep(5);
            stopped = true;
            MakeResult done;  // finished as if it had not seen the cancel: still nothing is written
            done.puzzle = {1, 2, 3};
            done.differences = 5;
            return done;
        };
        if (!App->Frame()) Start();
        Messages.clear();
        EXPECT_TRUE(CtrlN());
        // The handler has returned with the work under way behind its dialog.
        ASSERT_NE(App->Making(), nullptr);
        ASSERT_NE(App->MakingProgress(), nullptr);
        EXPECT_TRUE(App->MakingProgress()->isVisible());
        EXPECT_FALSE(App->Commands().State(CmMakeFromPhoto).Enabled) << "one at a time";
        EXPECT_TRUE(WaitUntil([&] { return App->MakingProgress()->value() == 40; }));
        if (byClosing) {
            App->Frame()->close();
            EXPECT_TRUE(stopped) << "the close waited for the work";
            EXPECT_EQ(App->Making(), nullptr);
        } else {
            auto* cancel = App->MakingProgress()->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
            cancel->click();
            EXPECT_TRUE(WaitUntil([this] { return App->Making() == nullptr; }));
            EXPECT_TRUE(stopped);
            EXPECT_TRUE(App->Commands().State(CmMakeFromPhoto).Enabled);
        }
        QApplication::processEvents();
        EXPECT_TRUE(Messages.isEmpty());
        EXPECT_TRUE(Written().isEmpty());
        EXPECT_EQ(App->Running(), 0);
    }
}

// A 320 x 240 picture with grain, a gradient and a few distinct objects, as
// the maker needs to find fair differences.
QImage DetailedPhoto() {
    QImage image(320, 240, QImage::Format_RGB32);
    QRandomGenerator noise(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int n = static_cast<int>(noise.bounded(7)) - 3;
            image.setPixel(x, y, qRgb(150 + n, 170 + n + x / 16, 180 + n + y / 8));
        }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 210));
    p.drawEllipse(QPoint(70, 70), 22, 22);
    p.setBrush(QColor(200, 60, 40));
    p.drawPie(QRect(208, 48, 44, 44), 90 * 16, 180 * 16);
    p.setBrush(QColor(30, 210, 230));
    p.drawPie(QRect(208, 48, 44, 44), -90 * 16, 180 * 16);
    p.setBrush(QColor(60, 160, 40));
    p.drawRect(60, 160, 40, 40);
    p.setBrush(QColor(30, 30, 40));
    p.drawEllipse(QPoint(230, 180), 2, 2);
    return image;
}

TEST_F(MakeTest, TheRealMakerTurnsAGeneratedPhotoIntoARunningChallenge) {
    Photo = Dir.filePath(QStringLiteral("garden.png"));
    ASSERT_TRUE(DetailedPhoto().save(Photo, "PNG"));
    std::atomic<int> made{-1};
    // The real maker with a fixed seed, so that the test does not depend on the draw.
    App->Maker = [&](const std::string& path, const MakeOptions& options, const MakeProgress& progress) {
        MakeOptions seeded = options;
        seeded.seed = 1;
        MakeResult result = authoring::MakePuzzle(path, seeded, progress);
        made = result.failure == MakeFailure::None ? result.differences : -1;
        return result;
    };
    OptionsAccepted = true;
    Start();
    MakeWithCtrlN();
    EXPECT_EQ(Messages, QStringList{kMsgReady});
    ASSERT_GE(made, 1);
    EXPECT_EQ(Written(), QStringList{"garden.VX"});
    EXPECT_EQ(App->Running(), 1);
    EXPECT_EQ(App->Puzzle().DiffCount, made);
    EXPECT_STREQ(App->Puzzle().Title, "garden");
}

}  // namespace
}  // namespace vexa::test
