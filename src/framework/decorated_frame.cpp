#include "framework/decorated_frame.h"

#include "framework/command_table.h"
#include "framework/control_bar.h"
#include "framework/status_bar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

namespace vexa {

namespace {
QStringList LocalFiles(const QMimeData* mime) {
    QStringList files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
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
        if (QApplication::activePopupWidget() || bar->hasFocus()) ShowHint(HintIdOf(action));
    });
    for (QAction* action : bar->actions())
        if (QMenu* menu = action->menu()) TrackMenu(menu);
}

void TDecoratedFrame::TrackMenu(QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, &Commands, &TCommandTable::Refresh);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { ShowHint(HintIdOf(menu->menuAction())); });
    connect(menu, &QMenu::hovered, this, [this](QAction* action) { ShowHint(HintIdOf(action)); });
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
    QAction* highlighted = Menus ? Menus->activeAction() : nullptr;
    ShowHint(highlighted ? HintIdOf(highlighted) : -1);
}

void TDecoratedFrame::RegisterDecoration(int windowId, QWidget* decoration) {
    Commands.SetHandler(windowId, [this, decoration] {
        decoration->setVisible(decoration->isHidden());
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
        return;
    }
    const bool hidden = bar->isHidden();
    removeToolBar(bar);  // this hides the bar
    bar->setOrientation(area == Qt::TopToolBarArea || area == Qt::BottomToolBarArea ? Qt::Horizontal
                                                                                    : Qt::Vertical);
    addToolBar(area, bar);
    bar->setVisible(!hidden);
}

void TDecoratedFrame::InsertStatusBar(TStatusBar* bar, int windowId) {
    Status = bar;
    setStatusBar(bar);
    RegisterDecoration(windowId, bar);
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
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TDecoratedFrame::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TDecoratedFrame::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    // The source waits for the drop to finish: questions and loading run later.
    QMetaObject::invokeMethod(this, [this, files] { emit FilesDropped(files); }, Qt::QueuedConnection);
}

}  // namespace vexa
