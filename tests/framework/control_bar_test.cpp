#include "framework/command_ids.h"
#include "framework/command_table.h"
#include "framework/control_bar.h"
#include "framework/hint_texts.h"
#include "framework/status_bar.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa {
namespace {

void Send(QWidget* w, QEvent::Type type) {
    const QPointF at(5, 5);
    if (type == QEvent::Enter) {
        QEnterEvent e(at, w->mapToGlobal(at), w->mapToGlobal(at));
        QApplication::sendEvent(w, &e);
    } else if (type == QEvent::Leave) {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(w, &e);
    } else if (type == QEvent::MouseMove) {
        const QPointF off(-50, -50);  // well outside the button, left button held
        QMouseEvent e(type, off, w->mapToGlobal(off), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    } else {
        const bool press = type == QEvent::MouseButtonPress;
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, press ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

struct BarFixture {
    TCommandTable commands;
    TStatusBar status;
    TControlBar bar;
    TButtonGadget* button = nullptr;
    int runs = 0;

    BarFixture() {
        commands.SetHandler(211, [this] { ++runs; });
        button = bar.AddButton(211, TButtonKind::Command, commands.Action(211));
        QObject::connect(&bar, &TControlBar::HintRequested, &status, &TStatusBar::ShowHint);
        bar.resize(200, 40);
        bar.show();
        commands.Refresh();
    }
};

TEST(ControlBar, HintFollowsPointerInModeTwoAndHeldButtonInModeOne) {
    const QString hint = HintText(211);
    struct Step {
        QEvent::Type event;
        bool wantHint;
    };
    struct Case {
        const char* name;
        THintMode mode;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"mode 2: hover shows, leave clears", THintMode::Hover,
         {{QEvent::Enter, true}, {QEvent::Leave, false}}},
        {"mode 2: press and release keep it while over the button", THintMode::Hover,
         {{QEvent::Enter, true}, {QEvent::MouseButtonPress, true}, {QEvent::MouseButtonRelease, true},
          {QEvent::Leave, false}}},
        {"mode 1: hover leaves the field untouched", THintMode::WhileHeld,
         {{QEvent::Enter, false}, {QEvent::Leave, false}}},
        {"mode 1: held shows, release clears", THintMode::WhileHeld,
         {{QEvent::Enter, false}, {QEvent::MouseButtonPress, true}, {QEvent::MouseButtonRelease, false}}},
        // The button pops up as the pointer leaves it, but the press ends at
        // the release, off the button.
        {"mode 1: pressed, dragged off, then released clears", THintMode::WhileHeld,
         {{QEvent::Enter, false}, {QEvent::MouseButtonPress, true}, {QEvent::MouseMove, true},
          {QEvent::Leave, true}, {QEvent::MouseButtonRelease, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BarFixture f;
        f.bar.SetHintMode(c.mode);
        int i = 0;
        for (const Step& step : c.steps) {
            SCOPED_TRACE(i++);
            Send(f.button, step.event);
            EXPECT_EQ(f.status.MessageField()->text(), step.wantHint ? hint : QString());
        }
    }
}

TEST(ControlBar, ModeOneLeavesAnotherHintAlone) {
    BarFixture f;
    f.bar.SetHintMode(THintMode::WhileHeld);
    f.status.SetMessage(QStringLiteral("menu text"));
    Send(f.button, QEvent::Enter);
    Send(f.button, QEvent::Leave);
    EXPECT_EQ(f.status.MessageField()->text(), QStringLiteral("menu text"));
}

TEST(ControlBar, ButtonsMirrorTheirCommandAndAClickRunsIt) {
    TCommandTable commands;
    int ran = 0;
    bool running = false;
    commands.SetHandler(CmModeScene, [&] { ran = CmModeScene; });
    commands.SetEnabler(
        CmModeScene, [&](TCommandState& s) { s.Enabled = running; s.Checked = ran == CmModeScene; }, true);
    TControlBar bar;
    TButtonGadget* eye = bar.AddButton(CmModeScene, TButtonKind::Exclusive, commands.Action(CmModeScene));
    bar.show();
    commands.Refresh();
    EXPECT_FALSE(eye->isEnabled());
    EXPECT_FALSE(eye->isChecked());

    running = true;
    commands.Refresh();
    ASSERT_TRUE(eye->isEnabled());
    eye->click();
    EXPECT_EQ(ran, CmModeScene);
    EXPECT_TRUE(eye->isChecked());
    eye->click();  // an exclusive button does not pop up by itself
    EXPECT_TRUE(eye->isChecked());
}

TEST(StatusBar, FieldsSitRightOfTheMessageAndHintsNeverCoverThem) {
    TStatusBar status;
    status.AddSeparator(6);
    TTextGadget* count = status.AddTextGadget(16);
    TTextGadget* time = status.AddTextGadget(10);
    status.resize(600, 30);
    status.show();
    QApplication::processEvents();
    const int emptyHeight = status.sizeHint().height();
    count->SetText(QStringLiteral("正解数 7  "));
    status.ShowHint(24332);
    QApplication::processEvents();
    EXPECT_EQ(status.sizeHint().height(), emptyHeight) << "a kana hint must not push the view up";
    EXPECT_EQ(status.MessageField()->text(), HintText(24332));
    EXPECT_TRUE(count->isVisible());
    EXPECT_TRUE(time->isVisible());
    EXPECT_LT(status.MessageField()->geometry().right(), count->geometry().left());
    EXPECT_LT(count->geometry().right(), time->geometry().left());
    EXPECT_GT(count->width(), time->width()) << "16 characters against 10";
    status.ShowHint(-1);
    EXPECT_TRUE(status.MessageField()->text().isEmpty());
    status.ShowHint(CmModeOutlineScene);  // an id without a hint
    EXPECT_TRUE(status.MessageField()->text().isEmpty());
}

}  // namespace
}  // namespace vexa
