// The review of a judgement and the pause, driven through the player's keys,
// menu items and mouse events: the score after judging, the outlines and
// markers the review paints, the way back to the animated result screen and
// the restart from the review; the pause freezing the clock across a clock
// jump and disabling judging and the modes; 最小化で一時停止.
#include "app_fixture.h"

#include "framework/command_ids.h"
#include "framework/hint_texts.h"
#include "framework/status_bar.h"
#include "play/marker_play.h"
#include "play/play_messages.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QFile>
#include <QWindow>

Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                                    const QString& text = QString(), bool autorep = false, ushort count = 1);
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace vexa::test {
namespace {

class ReviewPauseTest : public AppTest {
protected:
    static constexpr int kWidth = 240, kHeight = 180;
    static constexpr QRgb kSpareColour = 0xFF10E040;
    static constexpr QRgb kPhotoColour = 0xFF3070A0;  // no grey of anti-aliased text

    // Three differences; the half-found result screen (pair 2) copies a spare
    // piece to the top-left corner on its first tick, then waits.
    QString WriteGame() {
        TPuzzleData record;
        FillThreeDifferences(record, "review", "rev", kWidth, kHeight);
        record.BasePictures[4] = Dib24(kWidth, kHeight, [](int, int) { return kPhotoColour & 0xFFFFFFu; });
        record.SparePictures[2] = Dib24(kWidth, kHeight, [](int, int) { return kSpareColour & 0xFFFFFFu; });
        const int table = 2 * kTracksPerScene;
        AppendRecord(record.Tables[table], 'T', 0, 0, 0, 0, 20, 20);
        AppendRecord(record.Tables[table], 'W', 0, 0, 0, 0, 5, 0);
        record.TableCounts[table] = 2;
        return SaveRecord(QStringLiteral("review.VX"), record);
    }

    void StartGame() {
        App->Clock = [this] { return Clock; };
        App->PendingFile = QFile::encodeName(WriteGame());
        Start();
        ASSERT_EQ(App->Running(), 1);
        Messages.clear();
    }

    void Mouse(QEvent::Type type, QPoint at) {
        QWidget* client = App->View()->viewport();
        const QPointF local = client->mapTo(App->Frame(), at);
        const bool press = type == QEvent::MouseButtonPress;
        Stamp += 1000;
        qt_handleMouseEvent(App->Frame()->windowHandle(), local, App->Frame()->mapToGlobal(local),
                            press ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type, Qt::NoModifier,
                            Stamp);
        QApplication::processEvents();
    }
    // A key as the window system sends it: shortcuts first, then the focus widget.
    void Press(int key) {
        qt_handleKeyEvent(App->Frame()->windowHandle(), QEvent::KeyPress, key, Qt::NoModifier);
        qt_handleKeyEvent(App->Frame()->windowHandle(), QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::processEvents();
    }
    void Drag(QPoint from, QPoint to) {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseButtonRelease, to);
    }

    // What the view paints, once a wipe has ended.
    QImage Painted() {
        App->View()->FinishWipe();
        return App->View()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QString MessageText() const { return App->StatusBar()->MessageField()->text(); }
    QString TimeText() const { return App->TimeField()->Text(); }
    TCommandState State(int id) const { return App->Commands().State(id); }

    int Stamp = 0;
    std::int64_t Clock = 1'700'000'000;
};

TEST_F(ReviewPauseTest, JudgingShowsTheScoreAndTheReviewShowsFoundAndMissedDifferences) {
    StartGame();
    ASSERT_TRUE(Key(Qt::Key_F9));
    // Markers 0 and 1 on the first two differences; marker 2 stays in the corner.
    Drag(QPoint(5, 5), QPoint(55, 45));
    Drag(QPoint(5, 5), QPoint(170, 60));
    EXPECT_FALSE(State(CmReview).Enabled) << "nothing judged yet";
    Press(Qt::Key_Tab);
    ASSERT_EQ(App->View()->SelectedMarker(), 0) << "keyboard play reaches the view";
    Press(Qt::Key_Escape);

    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    ASSERT_EQ(App->View()->CurrentMode(), ViewMode::HalfFound);
    EXPECT_EQ(MessageText(), QStringLiteral("見つけた数 2 / 3"));
    App->Frame()->ShowHint(-1);  // a menu closing clears hints, not the score
    EXPECT_EQ(MessageText(), QStringLiteral("見つけた数 2 / 3"));
    App->EvTimer();
    ASSERT_EQ(App->View()->ModeScreen().Image.pixel(5, 5), kSpareColour) << "the result screen animates";
    QFile settings(QString::fromStdString(App->SettingsPath()));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray stored = settings.readAll();
    settings.close();

    App->Frame()->ShowHint(CmFit);  // a hint replaces the score
    EXPECT_EQ(MessageText(), HintText(CmFit));
    EXPECT_TRUE(State(CmReview).Enabled);
    ASSERT_TRUE(Key(Qt::Key_F7));
    EXPECT_TRUE((App->View()->Overlay().Outlined > 0));
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::HalfFound);
    EXPECT_EQ(MessageText(), QStringLiteral("見つけた数 2 / 3"));
    EXPECT_TRUE(State(CmReview).Checked);
    EXPECT_FALSE(State(CmGather).Enabled);
    App->View()->FinishWipe();  // the markers come up once the stripe has passed
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(App->View()->MarkerVisible(i)) << i;
    EXPECT_EQ(App->View()->MarkerPosition(0), QPoint(45, 35));
    EXPECT_EQ(App->View()->MarkerPosition(2), QPoint(0, 0));

    const QImage shot = Painted();
    const QRgb blue = qRgb(0, 114, 178), orange = qRgb(230, 159, 0), photo = kPhotoColour;
    struct Pixel {
        const char* name;
        QPoint have;
        QRgb want;
    };
    const Pixel pixels[] = {
        {"found: left edge", {40, 45}, blue},       {"found: second column", {41, 45}, blue},
        {"found: inside", {42, 45}, photo},         {"found: right edge", {69, 40}, blue},
        {"found: next to right", {68, 40}, blue},   {"found: outside right", {70, 40}, photo},
        {"found: top rows", {60, 31}, blue},        {"found: below them", {60, 32}, photo},
        {"found 1: bottom row", {185, 79}, blue},   {"missed: top row", {120, 120}, orange},
        {"missed: bottom row", {120, 159}, orange}, {"missed: inside", {120, 157}, photo},
        {"missed: right column", {138, 140}, orange}, {"missed: outside", {140, 140}, photo},
        {"missed: above", {120, 119}, photo},
    };
    for (const Pixel& p : pixels) EXPECT_EQ(shot.pixel(p.have), p.want) << p.name;

    // Neither a drag nor the gather command moves a marker in the review.
    EXPECT_FALSE(MarkersMayMove(App->Game())) << "the markers are locked";
    Drag(QPoint(55, 45), QPoint(200, 150));
    EXPECT_EQ(App->View()->MarkerPosition(0), QPoint(45, 35));
    EXPECT_TRUE(App->View()->MarkerVisible(0));
    Press(Qt::Key_Tab);
    Press(Qt::Key_Right);
    EXPECT_EQ(App->View()->SelectedMarker(), -1);
    EXPECT_EQ(App->View()->MarkerPosition(0), QPoint(45, 35));
    EXPECT_FALSE(App->Commands().Execute(CmGather));
    App->EvTimer();
    EXPECT_EQ(Painted().pixel(5, 5), kPhotoColour) << "nothing animates over the review";

    // F7 again: the result screen, its animation from the start.
    ASSERT_TRUE(Key(Qt::Key_F7));
    EXPECT_FALSE((App->View()->Overlay().Outlined > 0));
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::HalfFound);
    EXPECT_NE(App->View()->ModeScreen().Image.pixel(5, 5), kSpareColour);
    App->EvTimer();
    EXPECT_EQ(App->View()->ModeScreen().Image.pixel(5, 5), kSpareColour);
    EXPECT_FALSE(App->View()->MarkerVisible(0));

    // The review wrote nothing; judging from it restarts the challenge.
    ASSERT_TRUE(Key(Qt::Key_F7));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(settings.readAll(), stored);
    settings.close();
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    EXPECT_EQ(Messages.back(), QString::fromUtf8(kRetryText));
    EXPECT_EQ(App->Running(), 1);
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::Scene);
    EXPECT_FALSE((App->View()->Overlay().Outlined > 0));
    EXPECT_FALSE(State(CmReview).Enabled);
    EXPECT_EQ(App->View()->MarkerPosition(0), QPoint(0, 0));
}

TEST_F(ReviewPauseTest, TheLastThirtySecondsShowRedAndTheScoreGoesWithANewAttempt) {
    StartGame();
    const QColor plain = App->TimeField()->palette().color(QPalette::WindowText);
    auto red = [this] {
        return App->TimeField()->palette().color(QPalette::WindowText) == QColor(0xD0, 0x00, 0x00);
    };
    Clock += 269;
    App->EvTimer();
    ASSERT_EQ(TimeText(), QStringLiteral("残り時間　 31"));
    EXPECT_FALSE(red());
    Clock += 1;
    App->EvTimer();
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　 30")) << "the text stays as it was";
    EXPECT_TRUE(red());
    const QImage shot = App->TimeField()->grab().toImage();
    bool redPixel = false;
    for (int y = 0; y < shot.height() && !redPixel; ++y)
        for (int x = 0; x < shot.width() && !redPixel; ++x) {
            const QColor c = shot.pixelColor(x, y);
            redPixel = c.red() > 150 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_TRUE(redPixel) << "the number is painted red";

    // Judging ends the red; the score shows until a new attempt starts.
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    EXPECT_FALSE(red());
    EXPECT_EQ(App->TimeField()->palette().color(QPalette::WindowText), plain);
    EXPECT_EQ(MessageText(), QStringLiteral("見つけた数 0 / 3"));
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    ASSERT_EQ(App->Running(), 1);
    EXPECT_EQ(MessageText(), QString());
    App->Frame()->ShowHint(CmFit);
    App->Frame()->ShowHint(-1);
    EXPECT_EQ(MessageText(), QString()) << "hints come and go as before";

    // A load clears it too.
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    ASSERT_FALSE(MessageText().isEmpty());
    App->OpenPuzzle(QFile::encodeName(WriteGame()));
    ASSERT_EQ(App->Running(), 1);
    EXPECT_EQ(MessageText(), QString());
}

TEST_F(ReviewPauseTest, PauseFreezesTheClockAndHidesThePlay) {
    StartGame();
    App->EvTimer();
    Clock += 10;
    App->EvTimer();
    ASSERT_EQ(TimeText(), QStringLiteral("残り時間　290"));
    ASSERT_TRUE(Key(Qt::Key_F9));
    Drag(QPoint(5, 5), QPoint(55, 45));
    const QPoint placed = App->View()->MarkerPosition(0);
    Press(Qt::Key_Tab);
    ASSERT_EQ(App->View()->SelectedMarker(), 0);

    Press(Qt::Key_P);
    EXPECT_TRUE(App->View()->Overlay().Paused);
    EXPECT_TRUE(State(CmPause).Checked);
    for (int id : {CmJudge, CmModeScene, CmModePhoto}) EXPECT_FALSE(State(id).Enabled) << id;
    EXPECT_FALSE(App->View()->MarkerVisible(0));
    EXPECT_FALSE(MarkersMayMove(App->Game())) << "the markers are locked";
    const QImage shot = Painted();
    const QRgb photo = kPhotoColour;
    int photoPixels = 0, textPixels = 0;
    const QRgb background = shot.pixel(1, 1);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            photoPixels += shot.pixel(x, y) == photo;
            textPixels += shot.pixel(x, y) != background;
        }
    EXPECT_EQ(photoPixels, 0) << "the photo is hidden";
    EXPECT_GT(textPixels, 0) << "the pause text is shown";

    // Nothing counts while paused, however far the clock jumps.
    Clock += 1000;
    App->EvTimer();
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　290"));
    Key(Qt::Key_F8);
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::Photo);
    EXPECT_EQ(App->Running(), 1);
    Drag(QPoint(55, 45), QPoint(150, 150));
    EXPECT_EQ(App->View()->SelectedMarker(), -1) << "the pause ended the selection";
    Press(Qt::Key_Tab);
    Press(Qt::Key_Down);
    EXPECT_EQ(App->View()->SelectedMarker(), -1);
    EXPECT_EQ(App->View()->MarkerPosition(0), placed);

    // The Pause key resumes: the field shows the kept time at once.
    ASSERT_TRUE(Key(Qt::Key_Pause));
    EXPECT_FALSE(App->View()->Overlay().Paused);
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　290"));
    EXPECT_TRUE(App->View()->MarkerVisible(0));
    EXPECT_TRUE(State(CmJudge).Enabled);
    Press(Qt::Key_Tab);
    EXPECT_EQ(App->View()->SelectedMarker(), 0);
    Clock += 1;
    App->EvTimer();
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　289"));
}

// The 表示 menu's last item, chosen with the keys as a user would.
void ChooseLastViewMenuItem(QMenuBar* bar) {
    QMenu* view = bar->actions().at(4)->menu();
    view->popup(QPoint(0, 0));
    QApplication::processEvents();
    for (int key : {int(Qt::Key_Up), int(Qt::Key_Return)}) {
        qt_handleKeyEvent(view->windowHandle(), QEvent::KeyPress, key, Qt::NoModifier);
        qt_handleKeyEvent(view->windowHandle(), QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::processEvents();
    }
}

TEST_F(ReviewPauseTest, MinimisingPausesOnlyWhenChosenAndRestoringGoesOn) {
    StartGame();
    QMenu* viewMenu = App->Frame()->menuBar()->actions().at(4)->menu();
    QAction* item = viewMenu->actions().last();
    ASSERT_EQ(item->text(), QStringLiteral("最小化で一時停止"));
    EXPECT_TRUE(viewMenu->actions().at(viewMenu->actions().size() - 2)->isSeparator());
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked()) << "off at first";
    EXPECT_EQ(HintText(CmPauseOnMinimise), QStringLiteral("最小化で一時停止するかを切り替えます"));

    // By default the countdown runs on while minimised.
    App->EvTimer();
    App->Frame()->showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(App->View()->Overlay().Paused);
    Clock += 5;
    App->EvTimer();
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　295"));
    App->Frame()->showNormal();
    QApplication::processEvents();
    EXPECT_TRUE(State(CmJudge).Enabled);

    ChooseLastViewMenuItem(App->Frame()->menuBar());
    EXPECT_TRUE(item->isChecked());
    QFile settings(QString::fromStdString(App->SettingsPath()));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("\r\nPauseOnMinimise=1\r\n"));
    settings.close();

    // Chosen: minimising pauses, and restoring goes on by itself.
    App->Frame()->showMinimized();
    QApplication::processEvents();
    EXPECT_TRUE(App->View()->Overlay().Paused);
    EXPECT_FALSE(State(CmJudge).Enabled);
    Clock += 100;
    App->EvTimer();
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　295"));
    App->Frame()->showNormal();
    QApplication::processEvents();
    EXPECT_FALSE(App->View()->Overlay().Paused);
    EXPECT_TRUE(State(CmJudge).Enabled) << "no 判定 waiting for P";
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　295"));

    // A pause chosen with P outlasts minimising and restoring.
    ASSERT_TRUE(Key(Qt::Key_P));
    App->Frame()->showMinimized();
    QApplication::processEvents();
    App->Frame()->showNormal();
    QApplication::processEvents();
    EXPECT_TRUE(App->View()->Overlay().Paused);
    ASSERT_TRUE(Key(Qt::Key_P));

    // After judging there is no clock to stop.
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    App->Frame()->showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(App->View()->Overlay().Paused);
    EXPECT_FALSE(State(CmPause).Enabled);

    // The next run reads the choice back.
    const std::string path = App->SettingsPath();
    App.reset();
    App = std::make_unique<TKavrikApp>(path);
    Start();
    QAction* again = App->Frame()->menuBar()->actions().at(4)->menu()->actions().last();
    EXPECT_TRUE(again->isChecked());
}

}  // namespace
}  // namespace vexa::test
