#include "app/kavrik_resources.h"

#include "framework/command_ids.h"
#include "framework/command_table.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vexa {

namespace {

QAction* Item(QWidget* container, TCommandTable& commands, int id, const QString& text) {
    QAction* action = commands.Action(id);
    action->setText(text);
    container->addAction(action);
    return action;
}

QMenu* Popup(QMenuBar* bar, const QString& text, int firstItemId) {
    QMenu* menu = bar->addMenu(text);
    // A highlighted popup header hints with the text before its first item's.
    menu->menuAction()->setProperty("hintId", firstItemId - 1);
    return menu;
}

}  // namespace

void BuildMenu100(QMenuBar* bar, TCommandTable& commands) {
    QMenu* file = Popup(bar, QStringLiteral("ファイル(&F)"), CmOpen);
    Item(file, commands, CmOpen, QStringLiteral("データを読む(&O)"));
    Item(file, commands, CmMakeFromPhoto, QStringLiteral("写真から問題を作る(&M)..."));
    Item(file, commands, CmLibrary, QStringLiteral("問題集(&L)..."));
    QMenu* recent = file->addMenu(QStringLiteral("最近使ったファイル(&R)"));
    recent->setObjectName(QLatin1String(kRecentMenuName));
    recent->menuAction()->setProperty("hintId", CmRecentFiles);
    file->addSeparator();
    Item(file, commands, CmGather, QStringLiteral("四角を左上に集める(&I)"))->setEnabled(false);
    file->addSeparator();
    Item(file, commands, CmExit, QStringLiteral("終了(&X)"));

    Item(bar, commands, CmFit, QStringLiteral("サイズを調整(&A)"));

    QMenu* mode = Popup(bar, QStringLiteral("モード変更(&M)"), CmModeScene);
    Item(mode, commands, CmModeScene, QStringLiteral("現在のシーンを表示します"));
    Item(mode, commands, CmModePhoto, QStringLiteral("写真データを表示します"));
    Item(mode, commands, CmPause, QStringLiteral("一時停止(&P)"));
    Item(mode, commands, CmReview, QStringLiteral("答え合わせ(&R)"));
    Item(mode, commands, CmHint, QStringLiteral("ヒント(&H)"));

    Item(bar, commands, CmJudge, QStringLiteral("判定！(&J)"));

    QMenu* view = Popup(bar, QStringLiteral("表示(&V)"), CmToolBar);
    Item(view, commands, CmToolBar, QStringLiteral("ツールバー(&T)"));
    Item(view, commands, CmStatusBar, QStringLiteral("ステータスバー(&S)"));
    view->addSeparator();
    Item(view, commands, CmHintMode, QStringLiteral("最下段に感応型ヘルプ(&F)"));
    view->addSeparator();
    Item(view, commands, CmConspicuousMarkers, QStringLiteral("目立つマーカー"));
    view->addSeparator();
    Item(view, commands, CmSideBySide, QStringLiteral("並べて表示(&B)\tF6"));
    Item(view, commands, CmZoomIn, QStringLiteral("拡大(&I)\tCtrl++"));
    Item(view, commands, CmZoomOut, QStringLiteral("縮小(&O)\tCtrl+-"));
    Item(view, commands, CmZoomActual, QStringLiteral("実際のサイズ(&A)\tCtrl+0"));
    Item(view, commands, CmZoomFit, QStringLiteral("ウィンドウに合わせる(&W)"));
    view->addSeparator();
    Item(view, commands, CmPauseOnMinimise, QStringLiteral("最小化で一時停止"));

    Item(bar, commands, CmHelp, QStringLiteral("ヘルプ(&H)"));
}

TControlBar* BuildControlBar(QWidget* parent, TCommandTable& commands) {
    auto* bar = new TControlBar(parent);
    for (const TBarEntry& entry : kControlBarLayout) {
        if (entry.Id == 0)
            bar->AddSeparator();
        else
            bar->AddButton(entry.Id, entry.Kind, commands.Action(entry.Id));
    }
    return bar;
}

}  // namespace vexa
