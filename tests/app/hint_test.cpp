// ヒント through the player's key, menu item and timers: the frame painted
// around the first uncovered difference and animated by the hint timer, the
// count in the message field, the time it costs, when the key is ignored;
// and the box for a best result that another puzzle's record keeps out.
#include "app_fixture.h"

#include "framework/command_ids.h"
#include "framework/hint_texts.h"
#include "framework/status_bar.h"
#include "play/hint.h"
#include "play/play_messages.h"
#include "settings/result_record.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                                    const QString& text = QString(), bool autorep = false, ushort count = 1);

namespace vexa::test {
namespace {

class HintTest : public AppTest {
protected:
    static constexpr int kWidth = 240, kHeight = 180;
    static constexpr QRgb kPhotoColour = 0xFF3070A0;

    QString WriteGame(const char* section = "hint") {
        TPuzzleData record;
        FillThreeDifferences(record, "hint", section, kWidth, kHeight);
        record.BasePictures[4] = Dib24(kWidth, kHeight, [](int, int) { return kPhotoColour & 0xFFFFFFu; });
        return SaveRecord(QStringLiteral("hint.VX"), record);
    }

    void StartGame(const char* section = "hint") {
        App->Clock = [this] { return Clock; };
        App->MilliClock = [this] { return Millis; };
        App->PendingFile = QFile::encodeName(WriteGame(section));
        Start();
        ASSERT_EQ(App->Running(), 1);
        App->EvTimer();
        Messages.clear();
    }

    // A key as the window system sends it: shortcuts first, then the focus widget.
    void Press(int key, const QString& text = {}) {
        qt_handleKeyEvent(App->Frame()->windowHandle(), QEvent::KeyPress, key, Qt::NoModifier, text);
        qt_handleKeyEvent(App->Frame()->windowHandle(), QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::processEvents();
    }
    void PressH() { Press(Qt::Key_H, QStringLiteral("h")); }

    QImage Painted() {
        App->View()->FinishWipe();
        return App->View()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static bool Yellowish(QRgb c) { return qRed(c) > 200 && qGreen(c) > 150 && qBlue(c) < 90; }

    QString MessageText() const { return App->StatusBar()->MessageField()->text(); }
    QString TimeText() const { return App->TimeField()->Text(); }
    bool HintEnabled() const { return App->Commands().State(CmHint).Enabled; }

    std::int64_t Clock = 1'700'000'000;
    std::int64_t Millis = 50'000;
};

TEST_F(HintTest, HMarksTheFirstUncoveredDifferenceForTwoSecondsAndCostsThirtySeconds) {
    StartGame();
    ASSERT_EQ(TimeText(), QStringLiteral("残り時間　300"));
    // On the scene the hint is not offered: the key does nothing.
    EXPECT_FALSE(HintEnabled());
    PressH();
    EXPECT_FALSE(App->View()->Overlay().Hint.Shown);
    EXPECT_EQ(MessageText(), QString());
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　300"));

    ASSERT_TRUE(Key(Qt::Key_F9));
    App->Commands().Refresh();
    EXPECT_TRUE(HintEnabled());
    EXPECT_TRUE(App->Commands().Action(CmHint)->isEnabled()) << "the menu item follows";
    const QRgb before = Painted().pixel(6, 45);
    ASSERT_EQ(before, kPhotoColour);

    PressH();
    const THintRing ring = App->View()->Overlay().Hint;
    ASSERT_TRUE(ring.Shown);
    EXPECT_EQ(ring.Diff, 0) << "the markers lie in the corner: the first difference";
    EXPECT_EQ(MessageText(), QStringLiteral("ヒント 1回"));
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　270"));
    EXPECT_TRUE(App->HintTimer().isActive());
    EXPECT_FALSE(HintEnabled()) << "not again while the frame shows";
    // Difference 0 is 40..69 x 30..59: the frame's line runs 34 pixels left of it.
    QImage shot = Painted();
    EXPECT_TRUE(Yellowish(shot.pixel(6, 45))) << std::hex << shot.pixel(6, 45);
    EXPECT_EQ(shot.pixel(55, 45), kPhotoColour) << "the difference itself stays visible";
    EXPECT_EQ(App->View()->MarkerPosition(0), QPoint(0, 0)) << "no marker moves";
    EXPECT_EQ(App->View()->ScrollPosition(), QPoint(0, 0));

    // A second H while the frame shows is ignored.
    PressH();
    EXPECT_EQ(MessageText(), QStringLiteral("ヒント 1回"));
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　270"));

    // The hint timer closes the frame in, then takes it away after two seconds.
    Millis += 250;
    App->EvHintTimer();
    shot = Painted();
    EXPECT_EQ(shot.pixel(6, 45), kPhotoColour) << "the frame has moved in";
    EXPECT_TRUE(Yellowish(shot.pixel(20, 45)));
    Millis += kHintShowMs;
    App->EvHintTimer();
    EXPECT_FALSE(App->View()->Overlay().Hint.Shown);
    EXPECT_FALSE(App->HintTimer().isActive());
    shot = Painted();
    EXPECT_EQ(shot.pixel(20, 45), kPhotoColour);
    EXPECT_EQ(MessageText(), QStringLiteral("ヒント 1回")) << "the count stays";
    App->Frame()->ShowHint(-1);
    EXPECT_EQ(MessageText(), QStringLiteral("ヒント 1回")) << "a menu closing leaves it";

    // From the menu, the second hint; menu hints still replace the note.
    EXPECT_TRUE(App->Commands().Execute(CmHint));
    EXPECT_EQ(MessageText(), QStringLiteral("ヒント 2回"));
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　240"));
    App->Frame()->ShowHint(CmHint);
    EXPECT_EQ(MessageText(), HintText(CmHint));
    Millis += kHintShowMs;
    App->EvHintTimer();

    // 31 seconds left: offered; 30: the key is ignored.
    Clock += 209;
    App->EvTimer();
    ASSERT_EQ(TimeText(), QStringLiteral("残り時間　 31"));
    EXPECT_TRUE(HintEnabled());
    Clock += 1;
    App->EvTimer();
    ASSERT_EQ(TimeText(), QStringLiteral("残り時間　 30"));
    EXPECT_FALSE(HintEnabled());
    App->Frame()->ShowHint(-1);
    PressH();
    EXPECT_FALSE(App->View()->Overlay().Hint.Shown);
    EXPECT_EQ(TimeText(), QStringLiteral("残り時間　 30"));
}

TEST_F(HintTest, NotOfferedWhilePausedOrAfterJudgingAndFreeInTheRetryWithoutLimit) {
    StartGame();
    ASSERT_TRUE(Key(Qt::Key_F9));
    Press(Qt::Key_P);
    ASSERT_TRUE(App->View()->Overlay().Paused);
    App->Commands().Refresh();
    EXPECT_FALSE(HintEnabled());
    PressH();
    EXPECT_EQ(MessageText(), QString());
    Press(Qt::Key_P);

    // Every difference covered: nothing left to mark.
    TMarkerBoard& markers = App->Game().State.Markers;
    markers.Corners[0] = {45, 35};
    markers.Corners[1] = {160, 50};
    markers.Corners[2] = {110, 130};
    App->Commands().Refresh();
    EXPECT_FALSE(HintEnabled());
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    ASSERT_EQ(App->View()->CurrentMode(), ViewMode::AllFound);
    App->Commands().Refresh();
    EXPECT_FALSE(HintEnabled()) << "the result screen";

    // The retry runs without a time limit: hints cost nothing, as many as wanted.
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    ASSERT_TRUE(Key(Qt::Key_F9));
    Clock += 1000;
    App->EvTimer();
    ASSERT_EQ(TimeText(), QString::fromUtf8(kNoTimeLimitText));
    for (int i = 1; i <= 3; ++i) {
        PressH();
        EXPECT_EQ(MessageText(), QStringLiteral("ヒント %1回").arg(i));
        EXPECT_EQ(TimeText(), QString::fromUtf8(kNoTimeLimitText));
        Millis += kHintShowMs;
        App->EvHintTimer();
    }
    // A new attempt starts the count afresh.
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    EXPECT_EQ(MessageText(), QString());
}

TEST_F(HintTest, TheItemEndsTheModePopupWithItsHint) {
    Start();
    QMenu* modes = App->Frame()->menuBar()->actions().at(2)->menu();
    ASSERT_NE(modes, nullptr);
    QAction* last = modes->actions().last();
    EXPECT_EQ(last, App->Commands().Action(CmHint));
    EXPECT_EQ(last->text(), QStringLiteral("ヒント(&H)"));
    EXPECT_EQ(modes->actions().first(), App->Commands().Action(CmModeScene)) << "the header's hint stays";
    EXPECT_FALSE(HintText(CmHint).isEmpty());
}

TEST_F(HintTest, ABetterResultKeptOutByACaseVariantSectionIsToldInABox) {
    // Another puzzle, "HINT", holds a complete solution on the line "hint" shares.
    const QString settings = QString::fromStdString(App->SettingsPath());
    const QByteArray file = "[HINT]\r\nDStrs=" + QByteArray::fromStdString(FormatResultRecord("HINT", ViewMode::AllFound)) +
                            "\r\n";
    {
        QFile out(settings);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file);
    }
    StartGame("hint");
    TMarkerBoard& markers = App->Game().State.Markers;
    markers.Corners[0] = {45, 35};
    ASSERT_TRUE(App->Commands().Execute(CmJudge));
    ASSERT_EQ(Messages.size(), 2);
    EXPECT_EQ(Messages[0], QString::fromUtf8(kVerdictText));
    EXPECT_EQ(Messages[1], QString::fromUtf8(kRecordHeldByOtherText));
    EXPECT_EQ(Owners[Owners.size() - 1], App->Frame());
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::HalfFound);
    QFile in(settings);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), file) << "nothing written";
}

}  // namespace
}  // namespace vexa::test
