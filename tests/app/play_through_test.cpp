// One puzzle played through the player: the command line, the ready
// question, the photo, markers dragged with mouse events that pass through
// Qt's own dispatch, the judge menu item, the result screen, its animation,
// the record in the settings file and the retry.
#include "app_fixture.h"

#include "framework/command_ids.h"
#include "framework/status_bar.h"
#include "play/judge.h"
#include "play/play_messages.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

// What Qt's own test library uses to feed a window the mouse events a window
// system would.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace vexa::test {
namespace {

// A menu item by its text, on the bar itself or in one of its popups.
QAction* MenuItem(QMenuBar* bar, const QString& text) {
    for (QAction* top : bar->actions()) {
        if (top->text() == text) return top;
        if (!top->menu()) continue;
        for (QAction* item : top->menu()->actions())
            if (item->text() == text) return item;
    }
    return nullptr;
}

class PlayThroughTest : public AppTest {
protected:
    static constexpr int kWidth = 240, kHeight = 180;
    static constexpr QRgb kSpareColour = 0xFF10E040;

    // Three differences away from the corner where the markers gather, and
    // a result screen (pair 3) whose first track copies a spare piece to the
    // top-left corner and then waits.
    QString WriteGame() {
        TPuzzleData record;
        FillThreeDifferences(record, "play", "abc", kWidth, kHeight);
        record.SparePictures[3] = SolidDib(kWidth, kHeight, 0);
        for (int y = 0; y < kHeight; ++y)  // bottom-up rows of B, G, R
            for (int x = 0; x < kWidth; ++x) {
                const std::size_t at = 40 + static_cast<std::size_t>(y) * ((kWidth * 3 + 3) & ~3) + 3 * x;
                record.SparePictures[3][at] = qBlue(kSpareColour);
                record.SparePictures[3][at + 1] = qGreen(kSpareColour);
                record.SparePictures[3][at + 2] = qRed(kSpareColour);
            }
        const int table = 3 * kTracksPerScene;
        AppendRecord(record.Tables[table], 'T', 0, 0, 0, 0, 20, 20);
        AppendRecord(record.Tables[table], 'W', 0, 0, 0, 0, 5, 0);
        record.TableCounts[table] = 2;
        return SaveRecord(QStringLiteral("game.VX"), record);
    }

    // A press or release at `at` in the view's client area, sent to the
    // frame's window as the window system would send it.
    void Mouse(QEvent::Type type, QPoint at) {
        QWidget* client = App->View()->viewport();
        const QPointF local = client->mapTo(App->Frame(), at);
        const bool press = type == QEvent::MouseButtonPress;
        Stamp += 1000;  // far apart: no double clicks
        qt_handleMouseEvent(App->Frame()->windowHandle(), local, App->Frame()->mapToGlobal(local),
                            press ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type, Qt::NoModifier,
                            Stamp);
        QApplication::processEvents();
    }

    void Drag(QPoint from, QPoint to) {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseButtonRelease, to);
    }

    QString TimeText() const { return App->TimeField()->Text(); }

    int Stamp = 0;
    std::int64_t Clock = 1'700'000'000;
};

TEST_F(PlayThroughTest, CommandLinePuzzleIsSolvedJudgedRecordedAndRetried) {
    const QString path = WriteGame();
    App->Clock = [this] { return Clock; };
    App->PendingFile = QFile::encodeName(path);
    Start();
    ASSERT_EQ(Messages, QStringList{kMsgReady});
    ASSERT_EQ(App->Running(), 1);
    ASSERT_EQ(App->View()->CurrentMode(), ViewMode::Scene);
    EXPECT_EQ(App->CountField()->Text(), QStringLiteral("正解数 3  "));

    // The countdown by the calendar clock, shown on the timer's ticks.
    App->EvTimer();
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　300"));
    Clock += 7;
    App->EvTimer();
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　293"));

    ASSERT_TRUE(Key(Qt::Key_F9));
    ASSERT_EQ(App->View()->CurrentMode(), ViewMode::Photo);
    ASSERT_EQ(App->View()->ScrollPosition(), QPoint(0, 0));
    // Each drag picks up a marker from the pile in the corner and drops it
    // centred on a difference.
    const QPoint centres[] = {{55, 45}, {170, 60}, {120, 140}};
    for (const QPoint& c : centres) Drag(QPoint(5, 5), c);
    for (int i = 0; i < 3; ++i) EXPECT_NE(App->View()->MarkerPosition(i), QPoint(0, 0)) << i;

    QAction* judge = MenuItem(App->Frame()->menuBar(), QStringLiteral("判定！(&J)"));
    ASSERT_NE(judge, nullptr);
    Messages.clear();
    judge->trigger();
    EXPECT_EQ(Messages, QStringList{QString::fromUtf8(kVerdictText)});
    EXPECT_EQ(Owners.back(), App->Frame());
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::AllFound);
    EXPECT_EQ(App->Running(), 0);
    EXPECT_EQ(App->Game().State.TimeLimit, 0);
    EXPECT_EQ(TimeText(), QStringLiteral("判定で再挑戦"));
    QFile settings(QString::fromStdString(App->SettingsPath()));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_EQ(settings.readAll(), QByteArray("[abc]\r\nDStrs=0x713af136,0x8f189308,206\r\n"));
    settings.close();

    // The result screen animates on the next tick; the countdown stays still.
    const QRgb before = App->View()->ModeScreen().Image.pixel(5, 5);
    ASSERT_NE(before, kSpareColour);
    App->EvTimer();
    EXPECT_EQ(App->View()->ModeScreen().Image.pixel(5, 5), kSpareColour);
    EXPECT_EQ(App->View()->ModeScreen().Image.pixel(25, 25), before);
    EXPECT_EQ(TimeText(), QStringLiteral("判定で再挑戦"));

    // Judging again restarts the challenge without a time limit.
    Messages.clear();
    judge->trigger();
    EXPECT_EQ(Messages, QStringList{QString::fromUtf8(kRetryText)});
    EXPECT_EQ(App->Running(), 1);
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::Scene);
    Clock += 1;
    App->EvTimer();
    EXPECT_EQ(TimeText(), QStringLiteral("制限時間なし"));
    App->Commands().Refresh();
    EXPECT_TRUE(App->Commands().Action(CmModePhoto)->isEnabled()) << "enabling follows the game's Running";
}

}  // namespace
}  // namespace vexa::test
