#include "framework/decorated_frame.h"

#include "framework/command_table.h"
#include "framework/control_bar.h"
#include "framework/file_name_bytes.h"
#include "framework/status_bar.h"
#include "framework/window_placement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QLayout>
#include <QUrl>

#include <algorithm>

namespace vexa {

namespace {
// The width the menu bar needs to show every top-level item without folding
// any behind its extension button: measured on a wide twin, since the bar's
// own size hint leaves out what it has folded away.
int MenuBarNeed(const QMenuBar* bar) {
    QMenuBar probe;
    probe.setNativeMenuBar(false);
    probe.setFont(bar->font());
    for (QAction* action : bar->actions()) probe.addAction(action->text());
    probe.resize(1 << 16, 100);
    return probe.sizeHint().width();
}
}  // namespace

int HintIdOf(const QAction* action) {
    if (!action || action->isSeparator()) return -1;
    QVariant v = action->property("hintId");
    if (!v.isValid()) v = action->data();
    bool ok = false;
    const int id = v.toInt(&ok);
    return ok ? id : -1;
}

TDecoratedFrame::TDecoratedFrame(const QString& caption, QWidget* client, TCommandTable& commands, QWidget* parent)
    : QMainWindow(parent), Commands(commands) {
    setWindowTitle(caption);
    setCentralWidget(client);
    setContextMenuPolicy(Qt::NoContextMenu);
    // The menu belongs in the frame, not in a desktop-wide bar, so its hints
    // reach the status bar below it.
    menuBar()->setNativeMenuBar(false);
}

void TDecoratedFrame::TrackMenuHints(QMenuBar* bar) {
    Menus = bar;
    // The pointer merely passing over the menu bar selects nothing; hints
    // follow the highlight only while the menu is in use.
    connect(bar, &QMenuBar::hovered, this, [this, bar](QAction* action) {
        if (QApplication::activePopupWidget() || bar->hasFocus() || MenuInUse) ShowHint(HintIdOf(action));
    });
    connect(bar, &QMenuBar::triggered, this, [this] { MenuInUse = false; });
    // Leaving the bar with no popup open ends the menu: the field empties
    // (a top-level item such as "判定！(&J)" left its hint there).
    bar->installEventFilter(this);
    for (QAction* action : bar->actions())
        if (QMenu* menu = action->menu()) TrackMenu(menu);
    UpdateMinimumSize();
}

bool TDecoratedFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Menus && event->type() == QEvent::Leave) {
        // Decided once things settle: a popup opening also makes the pointer
        // leave the bar.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (QApplication::activePopupWidget() || !Menus || Menus->underMouse()) return;
                MenuInUse = false;
                ShowHint(-1);
            },
            Qt::QueuedConnection);
    } else if (watched == Menus && event->type() == QEvent::FocusOut && !QApplication::activePopupWidget()) {
        // The menu was left for another window or widget, or by Escape from
        // the keyboard: it is closed, and the field empties.
        MenuInUse = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (QApplication::activePopupWidget() || !Menus || Menus->activeAction()) return;
                ShowHint(-1);
            },
            Qt::QueuedConnection);
    } else if (event->type() == QEvent::MouseMove) {
        // Separators and greyed items are never highlighted, so no hover
        // reports them; the pointer resting on one shows an empty text.
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            const QAction* action = menu->actionAt(at);
            if (action && (action->isSeparator() || !action->isEnabled())) ShowHint(-1);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TDecoratedFrame::UpdateMinimumSize() {
    // Never so narrow that the menu bar or a toolbar along the top folds
    // items away, or that the status bar's fields are cut; a toolbar at a
    // side likewise gets its full height.
    int width = 0, height = 0;
    const QSize layoutMinimum = layout() ? layout()->totalMinimumSize() : QSize();
    int barsHeight = 0;
    if (Menus && !Menus->isHidden()) {
        width = std::max(width, MenuBarNeed(Menus));
        barsHeight += Menus->sizeHint().height();
    }
    if (Status && !Status->isHidden()) {
        width = std::max(width, Status->minimumSizeHint().width());
        barsHeight += Status->sizeHint().height();
    }
    if (Bar && !Bar->isHidden()) {
        const QSize need = Bar->sizeHint();
        if (Bar->orientation() == Qt::Horizontal) {
            width = std::max(width, need.width());
        } else {
            height = std::max(height, barsHeight + need.height());
            width = std::max(width, layoutMinimum.width());
        }
    }
    QSize need(std::max(width, layoutMinimum.width()), std::max(height, layoutMinimum.height()));
    // On a screen too small for the bars, the screen wins: a frame larger
    // than the screen could not be used at all.
    const QSize largest = LargestSizeOnScreen(this);
    if (largest.isValid()) need = need.boundedTo(largest);
    setMinimumSize(need);
}

void TDecoratedFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    UpdateMinimumSize();
}

void TDecoratedFrame::TrackMenu(QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, &Commands, &TCommandTable::Refresh);
    connect(menu, &QMenu::aboutToShow, this, [this] { MenuInUse = true; });
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { ShowHint(HintIdOf(menu->menuAction())); });
    connect(menu, &QMenu::hovered, this,
            [this](QAction* action) { ShowHint(action->isEnabled() ? HintIdOf(action) : -1); });
    menu->installEventFilter(this);
    connect(menu, &QMenu::aboutToHide, this, [this] {
        // Decide once the menu bar has settled: another popup may be opening,
        // or the highlight may have moved to a top-level item.
        QMetaObject::invokeMethod(this, &TDecoratedFrame::AfterMenuClosed, Qt::QueuedConnection);
    });
    for (QAction* action : menu->actions())
        if (QMenu* sub = action->menu()) TrackMenu(sub);
}

void TDecoratedFrame::AfterMenuClosed() {
    if (QApplication::activePopupWidget()) return;  // its own aboutToShow put up the hint
    // The highlight may rest on a top-level item: the menu stays in use
    // (moving along the bar shows each item's hint) until the bar is left.
    QAction* highlighted = Menus ? Menus->activeAction() : nullptr;
    MenuInUse = highlighted != nullptr;
    ShowHint(highlighted ? HintIdOf(highlighted) : -1);
}

void TDecoratedFrame::RegisterDecoration(int windowId, QWidget* decoration) {
    Commands.SetHandler(windowId, [this, decoration] {
        decoration->setVisible(decoration->isHidden());
        UpdateMinimumSize();
    });
    Commands.SetEnabler(
        windowId, [decoration](TCommandState& s) {
            s.Enabled = true;
            s.Checked = !decoration->isHidden();
        },
        true);
}

void TDecoratedFrame::InsertControlBar(TControlBar* bar, Qt::ToolBarArea area, int windowId) {
    if (Bar != bar) {
        Bar = bar;
        connect(bar, &TControlBar::HintRequested, this, &TDecoratedFrame::ShowHint);
        RegisterDecoration(windowId, bar);
        addToolBar(area, bar);
        UpdateMinimumSize();
        return;
    }
    const bool hidden = bar->isHidden();
    removeToolBar(bar);  // this hides the bar
    bar->setOrientation(area == Qt::TopToolBarArea || area == Qt::BottomToolBarArea ? Qt::Horizontal
                                                                                    : Qt::Vertical);
    addToolBar(area, bar);
    bar->setVisible(!hidden);
    UpdateMinimumSize();
}

void TDecoratedFrame::InsertStatusBar(TStatusBar* bar, int windowId) {
    Status = bar;
    setStatusBar(bar);
    RegisterDecoration(windowId, bar);
    UpdateMinimumSize();
}

void TDecoratedFrame::ShowHint(int id) {
    if (Status) Status->ShowHint(id);
}

bool TDecoratedFrame::event(QEvent* event) {
    // Qt's own status tips would bypass the hint rules; hints come from
    // TrackMenuHints and the control bar only.
    if (event->type() == QEvent::StatusTip) return true;
    return QMainWindow::event(event);
}

void TDecoratedFrame::closeEvent(QCloseEvent* event) {
    if (CloseQuery && !CloseQuery()) {
        event->ignore();
        return;
    }
    // Windows owned by the frame (the help window) close with it.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isWindow() && child->isVisible()) child->close();
    event->accept();
}

void TDecoratedFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFileBytes(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TDecoratedFrame::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFileBytes(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TDecoratedFrame::dropEvent(QDropEvent* event) {
    const QList<QByteArray> files = LocalFileBytes(event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    // The source waits for the drop to finish: questions and loading run later.
    QMetaObject::invokeMethod(this, [this, files] { emit FilesDropped(files); }, Qt::QueuedConnection);
}

}  // namespace vexa
