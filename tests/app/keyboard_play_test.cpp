// The player played from the keyboard, keys reaching the frame's window as a
// window system sends them: the photo, Tab to a marker, the arrows, the
// judge through its menu mnemonic. Also the 目立つマーカー item kept across
// runs in the settings file, the added keys and the toolbar tooltips.
#include "app_fixture.h"

#include "framework/command_ids.h"
#include "framework/control_bar.h"
#include "framework/hint_texts.h"
#include "framework/status_bar.h"
#include "play/play_messages.h"
#include "settings/display_options.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

#include <sys/stat.h>

// What Qt's own test library uses to feed a window the key events a window
// system would: shortcuts first, then the focus widget.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                                    const QString& text = QString(), bool autorep = false, ushort count = 1);

namespace vexa::test {
namespace {

constexpr int kWidth = 240, kHeight = 180;
const QString kItemText = QStringLiteral("目立つマーカー");

QAction* ViewMenuItem(QMenuBar* bar, const QString& text) {
    QMenu* view = bar->actions().at(4)->menu();
    for (QAction* item : view->actions())
        if (item->text() == text) return item;
    return nullptr;
}

QByteArray FileBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class KeyboardPlayTest : public AppTest {
protected:
    // Three differences; the markers gather at the top-left corner, on none.
    QString WriteGame() {
        TPuzzleData record;
        FillThreeDifferences(record, "keys", "abc", kWidth, kHeight);
        return SaveRecord(QStringLiteral("keys.VX"), record);
    }

    void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1) {
        for (int i = 0; i < times; ++i) {
            qt_handleKeyEvent(App->Frame()->windowHandle(), QEvent::KeyPress, key, mods);
            qt_handleKeyEvent(App->Frame()->windowHandle(), QEvent::KeyRelease, key, mods);
        }
        QApplication::processEvents();
    }

    bool FocusFrameShown() const { return !App->View()->FocusFrame()->isHidden(); }
};

TEST_F(KeyboardPlayTest, MarkersPlacedWithTheKeysAreJudged) {
    App->PendingFile = QFile::encodeName(WriteGame());
    Start();
    ASSERT_EQ(App->Running(), 1);
    ASSERT_EQ(QApplication::focusWidget(), App->View());

    // On the scene Tab selects nothing.
    Press(Qt::Key_Tab);
    EXPECT_EQ(App->View()->SelectedMarker(), -1);

    Press(Qt::Key_F9);
    ASSERT_EQ(App->View()->CurrentMode(), ViewMode::Photo);
    App->View()->FinishWipe();
    ASSERT_EQ(App->View()->ScrollPosition(), QPoint(0, 0));

    // Marker 0 onto difference 0 (centre 55, 45): corner (45, 35).
    Press(Qt::Key_Tab);
    ASSERT_EQ(App->View()->SelectedMarker(), 0);
    EXPECT_TRUE(FocusFrameShown());
    EXPECT_EQ(QApplication::focusWidget(), App->View()) << "Tab keeps the focus on the view";
    Press(Qt::Key_Right, Qt::ShiftModifier, 4);
    Press(Qt::Key_Right, Qt::NoModifier, 5);
    Press(Qt::Key_Down, Qt::ShiftModifier, 3);
    Press(Qt::Key_Down, Qt::NoModifier, 5);
    EXPECT_EQ(App->View()->MarkerPosition(0), QPoint(45, 35));

    // Marker 1 first against the left edge, then onto difference 1 (centre 170, 60).
    Press(Qt::Key_Tab);
    ASSERT_EQ(App->View()->SelectedMarker(), 1);
    Press(Qt::Key_Left, Qt::ShiftModifier, 3);
    EXPECT_EQ(App->View()->MarkerPosition(1), QPoint(-10, 0)) << "the centre stops at the edge";
    Press(Qt::Key_Right, Qt::ShiftModifier, 17);
    Press(Qt::Key_Down, Qt::ShiftModifier, 5);
    EXPECT_EQ(App->View()->MarkerPosition(1), QPoint(160, 50));

    // Marker 2 (Shift+Tab from marker 0) to the right edge, on no difference.
    Press(Qt::Key_Backtab, Qt::ShiftModifier, 2);
    ASSERT_EQ(App->View()->SelectedMarker(), 2);
    Press(Qt::Key_Right, Qt::ShiftModifier, 30);
    EXPECT_EQ(App->View()->MarkerPosition(2), QPoint(kWidth - 10, 0));
    Press(Qt::Key_Escape);
    EXPECT_EQ(App->View()->SelectedMarker(), -1);
    EXPECT_FALSE(FocusFrameShown());
    Press(Qt::Key_Tab);
    ASSERT_EQ(App->View()->SelectedMarker(), 0) << "a new selection starts over";

    // 判定！ by its mnemonic: two of three found.
    Messages.clear();
    Press(Qt::Key_J, Qt::AltModifier);
    EXPECT_EQ(Messages, QStringList{QString::fromUtf8(kVerdictText)});
    EXPECT_EQ(App->View()->CurrentMode(), ViewMode::HalfFound);
    EXPECT_EQ(App->Running(), 0);
    EXPECT_EQ(FileBytes(App->SettingsPath()), QByteArray("[abc]\r\nDStrs=0x7c79d7ef,0x1611c2b2,205\r\n"));
    EXPECT_EQ(App->View()->SelectedMarker(), -1) << "the judgement ended the selection";
    EXPECT_FALSE(FocusFrameShown());
    Press(Qt::Key_Tab);
    EXPECT_EQ(App->View()->SelectedMarker(), -1) << "no keyboard play on a result screen";
}

TEST_F(KeyboardPlayTest, AMarkerMovedByKeysStaysInSightAndAResultOpensAtItsTopLeft) {
    // Larger than the screen: the view scrolls.
    App->PendingFile = QFile::encodeName(WritePuzzle(QStringLiteral("large.VX"), 3, 2000, 1500));
    Start();
    ASSERT_EQ(App->Running(), 1);
    Press(Qt::Key_F9);
    App->View()->FinishWipe();
    const QSize visible = App->View()->viewport()->size();
    ASSERT_LT(visible.width(), 2000);
    ASSERT_LT(visible.height(), 1500);
    auto inSight = [&](int i) {
        const QPoint at = App->View()->MarkerPosition(i);  // in the client area
        return at.x() >= 0 && at.y() >= 0 && at.x() + 21 <= visible.width() && at.y() + 21 <= visible.height();
    };

    Press(Qt::Key_Tab);
    ASSERT_EQ(App->View()->SelectedMarker(), 0);
    Press(Qt::Key_Right, Qt::ShiftModifier, 150);
    Press(Qt::Key_Down, Qt::ShiftModifier, 120);
    EXPECT_EQ(App->Game().State.Markers.Corners[0], (TPoint{1500, 1200}));
    EXPECT_GT(App->View()->ScrollPosition().x(), 0);
    EXPECT_GT(App->View()->ScrollPosition().y(), 0);
    EXPECT_TRUE(inSight(0)) << "the view followed the marker";
    // Back to the left: the view follows that way too.
    Press(Qt::Key_Left, Qt::ShiftModifier, 140);
    EXPECT_TRUE(inSight(0));
    // Tab to a marker out of sight (still at the top-left) scrolls to it.
    Press(Qt::Key_Tab);
    ASSERT_EQ(App->View()->SelectedMarker(), 1);
    EXPECT_TRUE(inSight(1));

    Press(Qt::Key_Right, Qt::ShiftModifier, 150);
    ASSERT_NE(App->View()->ScrollPosition(), QPoint(0, 0));
    Press(Qt::Key_J, Qt::AltModifier);
    ASSERT_TRUE(IsResult(App->View()->CurrentMode()));
    EXPECT_EQ(App->View()->ScrollPosition(), QPoint(0, 0)) << "the result screen opens at its top-left";
}

TEST_F(KeyboardPlayTest, TheConspicuousMarkersChoiceIsKeptAcrossRuns) {
    const std::string settings = App->SettingsPath();
    const QByteArray results = "[abc]\r\nDStrs=0x7c79d7ef,0x1611c2b2,205\r\n";
    QFile file(QString::fromStdString(settings));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(results);
    file.close();
    const QByteArray section = QByteArray("[") + kDisplayOptionsSection + "]\r\n";

    Start();
    QAction* item = ViewMenuItem(App->Frame()->menuBar(), kItemText);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked()) << "the described look is the default";
    EXPECT_FALSE(App->View()->ConspicuousMarkers());

    // Its hint shows while it is highlighted.
    QMenu* viewMenu = App->Frame()->menuBar()->actions().at(4)->menu();
    viewMenu->popup(QPoint(0, 0));
    item->hover();
    EXPECT_EQ(App->StatusBar()->MessageField()->text(), HintText(CmConspicuousMarkers));
    EXPECT_FALSE(HintText(CmConspicuousMarkers).isEmpty());
    viewMenu->hide();

    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(App->View()->ConspicuousMarkers());
    EXPECT_EQ(FileBytes(settings), results + section + "ConspicuousMarkers=1\r\n") << "the results stay as they were";

    // A new run reads it back; switching it off is stored too.
    App.reset();
    App = std::make_unique<TKavrikApp>(settings);
    Start();
    item = ViewMenuItem(App->Frame()->menuBar(), kItemText);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(App->View()->ConspicuousMarkers());
    item->trigger();
    EXPECT_FALSE(App->View()->ConspicuousMarkers());
    EXPECT_EQ(FileBytes(settings), results + section + "ConspicuousMarkers=0\r\n");

    // A file that cannot be written: the choice holds for this run, without a
    // message, and the file keeps what it had.
    ASSERT_EQ(::chmod(settings.c_str(), 0444), 0);
    Messages.clear();
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(App->View()->ConspicuousMarkers());
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(FileBytes(settings), results + section + "ConspicuousMarkers=0\r\n");
    ::chmod(settings.c_str(), 0644);
}

TEST_F(KeyboardPlayTest, CtrlOOpensCtrlQEndsAndEveryButtonHasItsHintAsTooltip) {
    Start();
    for (TButtonGadget* b : App->ControlBar()->Buttons()) {
        EXPECT_FALSE(b->toolTip().isEmpty()) << b->Id();
        EXPECT_EQ(b->toolTip(), HintText(b->Id())) << b->Id();
    }
    EXPECT_EQ(App->ControlBar()->Buttons().size(), 8);

    int opened = 0;
    SetOpenDialogHook([&](QFileDialog&, QString&) {
        ++opened;
        return 0;
    });
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(opened, 1);
    ASSERT_TRUE(App->Frame()->isVisible());
    Press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(App->Frame()->isVisible());
    EXPECT_FALSE(App->Timer().isActive()) << "the close query ran";
}

}  // namespace
}  // namespace vexa::test
