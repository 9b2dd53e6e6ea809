// What the frame shows at start: menu 100, the control bar, the status bar,
// and how the bars move and hide.
#include "app_fixture.h"

#include "framework/command_ids.h"
#include "framework/control_bar.h"
#include "framework/hint_texts.h"
#include "framework/status_bar.h"
#include "play/play_messages.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace vexa::test {
namespace {

// One line per entry: indent, text or "----", the command id, and the state.
QStringList Describe(const QList<QAction*>& actions, const QString& indent = {}) {
    QStringList lines;
    for (QAction* a : actions) {
        if (a->isSeparator()) {
            lines << indent + "----";
            continue;
        }
        QString line = indent + a->text();
        if (a->menu()) {
            lines << line + " >";
            lines << Describe(a->menu()->actions(), indent + "  ");
            continue;
        }
        line += " #" + QString::number(a->data().toInt());
        if (!a->isEnabled()) line += " grayed";
        if (a->isChecked()) line += " checked";
        lines << line;
    }
    return lines;
}

TEST_F(AppTest, MenuAtStart) {
    Start();
    EXPECT_EQ(App->Frame()->windowTitle(), QStringLiteral("間違いを探せ！"));
    const QStringList want{
        "ファイル(&F) >",
        "  データを読む(&O) #24332",
        "  写真から問題を作る(&M)... #243",
        "  問題集(&L)... #234",
        "  最近使ったファイル(&R) >",
        "    (なし) #0 grayed",
        "  ----",
        "  四角を左上に集める(&I) #210 grayed",
        "  ----",
        "  終了(&X) #24310",
        "サイズを調整(&A) #201",
        "モード変更(&M) >",
        "  現在のシーンを表示します #203 grayed",
        "  写真データを表示します #207 grayed",
        "  一時停止(&P) #232 grayed",
        "  答え合わせ(&R) #233 grayed",
        "  ヒント(&H) #242 grayed",
        "判定！(&J) #211",
        "表示(&V) >",
        "  ツールバー(&T) #32041 checked",
        "  ステータスバー(&S) #32040 checked",
        "  ----",
        "  最下段に感応型ヘルプ(&F) #222 checked",
        "  ----",
        "  目立つマーカー #231",
        "  ----",
        "  並べて表示(&B)\tF6 #237",
        "  拡大(&I)\tCtrl++ #238",
        "  縮小(&O)\tCtrl+- #239",
        "  実際のサイズ(&A)\tCtrl+0 #240",
        "  ウィンドウに合わせる(&W) #241",
        "  ----",
        "  最小化で一時停止 #236",
        "ヘルプ(&H) #209",
    };
    EXPECT_EQ(Describe(App->Frame()->menuBar()->actions()), want);
}

TEST_F(AppTest, ControlBarOrderKindsAndStartState) {
    Start();
    struct Want {
        int id;  // 0: separator
        TButtonKind kind;
        bool enabled;
        bool down;
    };
    const Want want[] = {
        {CmOpen, TButtonKind::Command, true, false},          {0, {}, false, false},
        {CmFit, TButtonKind::Command, true, false},           {0, {}, false, false},
        {CmModeScene, TButtonKind::Exclusive, false, false},  {CmModePhoto, TButtonKind::Exclusive, false, false},
        {0, {}, false, false},                                {CmGather, TButtonKind::Command, false, false},
        {0, {}, false, false},                                {CmJudge, TButtonKind::Command, true, false},
        {0, {}, false, false},                                {CmHintMode, TButtonKind::NonExclusive, true, true},
        {0, {}, false, false},                                {CmBarPlace, TButtonKind::Command, true, false},
    };
    const QList<QAction*> have = App->ControlBar()->actions();
    ASSERT_EQ(have.size(), std::size(want));
    for (int i = 0; i < have.size(); ++i) {
        SCOPED_TRACE(i);
        if (want[i].id == 0) {
            EXPECT_TRUE(have[i]->isSeparator());
            continue;
        }
        auto* button = qobject_cast<TButtonGadget*>(App->ControlBar()->widgetForAction(have[i]));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Id(), want[i].id);
        EXPECT_EQ(button->Kind(), want[i].kind);
        EXPECT_EQ(button->isEnabled(), want[i].enabled);
        EXPECT_EQ(button->isChecked(), want[i].down);
        EXPECT_FALSE(button->icon().isNull());
    }
    EXPECT_EQ(App->Frame()->toolBarArea(App->ControlBar()), Qt::TopToolBarArea);
}

TEST_F(AppTest, StatusBarFieldsLeftToRight) {
    Start();
    TStatusBar* status = App->StatusBar();
    ASSERT_NE(status, nullptr);
    ASSERT_NE(App->CountField(), nullptr);
    ASSERT_NE(App->TimeField(), nullptr);
    EXPECT_EQ(App->CountField()->Chars(), 16);
    EXPECT_EQ(App->TimeField()->Chars(), 10);
    EXPECT_TRUE(App->CountField()->Text().isEmpty());
    EXPECT_TRUE(App->TimeField()->Text().isEmpty());
    const int message = status->MessageField()->geometry().right();
    const int count = App->CountField()->geometry().left();
    EXPECT_LT(message, count);
    EXPECT_GE(count - message, 6) << "a separator lies between";
    EXPECT_LT(App->CountField()->geometry().right(), App->TimeField()->geometry().left());
    EXPECT_EQ(status->geometry().bottom(), App->Frame()->rect().bottom());
}

TEST_F(AppTest, LongHintsShowWholeInANarrowFrame) {
    Start();
    App->OpenPuzzle(WritePuzzle("narrow.VX"));
    ASSERT_EQ(App->Running(), 1);
    // The narrowest frame the bars allow, as a small picture fits it.
    App->Frame()->resize(App->Frame()->minimumSize());
    QApplication::processEvents();
    TMessageField* field = App->StatusBar()->MessageField();
    EXPECT_LT(App->CountField()->width(), App->CountField()->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 16)
        << "the count field keeps only what its text needs";
    EXPECT_GE(App->CountField()->width(),
              App->CountField()->fontMetrics().horizontalAdvance(QString::asprintf(kCountFieldFormat, 10)));
    for (int id : {CmStatusBar, CmToolBar, CmHintMode, CmFit, CmReview, CmConspicuousMarkers}) {
        SCOPED_TRACE(id);
        App->Frame()->ShowHint(id);
        const QString text = HintText(id);
        ASSERT_EQ(field->text(), text);
        EXPECT_LE(field->fontMetrics().horizontalAdvance(text), field->contentsRect().width()) << "shown whole";
        EXPECT_GE(field->FontShare(), TMessageField::kSmallestShare);
    }
    App->Frame()->ShowHint(CmOpen);
    EXPECT_EQ(field->FontShare(), 1) << "a short hint in the bar's own size";
    EXPECT_EQ(field->font().pointSizeF(), App->StatusBar()->font().pointSizeF());
}

TEST_F(AppTest, BarPlaceCyclesTopLeftRightTop) {
    Start();
    struct Want {
        Qt::ToolBarArea area;
        Qt::Orientation orientation;
    };
    const Want want[] = {{Qt::LeftToolBarArea, Qt::Vertical},
                         {Qt::RightToolBarArea, Qt::Vertical},
                         {Qt::TopToolBarArea, Qt::Horizontal}};
    for (const Want& w : want) {
        ASSERT_TRUE(App->Commands().Execute(223));
        QApplication::processEvents();
        EXPECT_EQ(App->Frame()->toolBarArea(App->ControlBar()), w.area);
        EXPECT_EQ(App->ControlBar()->orientation(), w.orientation);
        EXPECT_TRUE(App->ControlBar()->isVisible());
        // The buttons line up along the bar.
        QWidget* first = App->ControlBar()->widgetForAction(App->ControlBar()->actions().first());
        QWidget* last = App->ControlBar()->widgetForAction(App->ControlBar()->actions().last());
        if (w.orientation == Qt::Vertical)
            EXPECT_GT(last->y(), first->y());
        else
            EXPECT_GT(last->x(), first->x());
    }
}

TEST_F(AppTest, BarTogglesFollowVisibilityWithCheckMarks) {
    Start();
    struct Case {
        int id;
        QWidget* bar;
    };
    const Case cases[] = {{32041, App->ControlBar()}, {32040, App->StatusBar()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        QAction* item = App->Commands().Action(c.id);
        ASSERT_TRUE(App->Commands().Execute(c.id));
        EXPECT_FALSE(c.bar->isVisible());
        EXPECT_FALSE(item->isChecked());
        EXPECT_TRUE(item->isEnabled());
        ASSERT_TRUE(App->Commands().Execute(c.id));
        EXPECT_TRUE(c.bar->isVisible());
        EXPECT_TRUE(item->isChecked());
    }
    // A hidden control bar stays hidden when it moves.
    App->Commands().Execute(32041);
    App->Commands().Execute(223);
    EXPECT_FALSE(App->ControlBar()->isVisible());
    EXPECT_EQ(App->Frame()->toolBarArea(App->ControlBar()), Qt::LeftToolBarArea);
}

TEST_F(AppTest, FrameFitsTheWelcomePageAtStart) {
    Start();
    EXPECT_EQ(App->View()->OuterWidth(), 500);
    EXPECT_EQ(App->View()->OuterHeight(), 350);
}

}  // namespace
}  // namespace vexa::test
