// The main window: a client widget with a menu bar, a control bar that can
// sit at the top, left or right, and a status bar at the bottom; menu hints,
// decoration toggles, dropped files and the close query.
#pragma once

#include <QMainWindow>
#include <QByteArray>
#include <QList>
#include <QStringList>

#include <functional>
#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace vexa {

class TCommandTable;
class TControlBar;
class TStatusBar;

class TDecoratedFrame : public QMainWindow {
    Q_OBJECT
public:
    TDecoratedFrame(const QString& caption, QWidget* client, TCommandTable& commands, QWidget* parent = nullptr);

    // Puts the menu bar's hints into the status bar while items are highlighted,
    // refreshes enabling before each popup opens and clears the hint once the
    // menu is left. The hint id of an item is its "hintId" property, else its data.
    void TrackMenuHints(QMenuBar* bar);

    // Inserts (or moves) the control bar; `window id` toggles it.
    void InsertControlBar(TControlBar* bar, Qt::ToolBarArea area, int windowId);
    void InsertStatusBar(TStatusBar* bar, int windowId);
    TControlBar* ControlBar() const { return Bar; }
    TStatusBar* StatusBar() const { return Status; }

    // Shows the hint of command `id` (-1 clears) in the status bar's message field.
    void ShowHint(int id);

    // Keeps the frame at least as large as its bars need: the menu bar and a
    // toolbar along the top never fold items away, a toolbar at a side gets
    // its full height, the status bar's fields are never cut. Called whenever
    // a bar is inserted, moved, shown or hidden. On a screen too small for
    // the bars, the frame takes at most the screen's available area.
    void UpdateMinimumSize();

    // Files dropped on the frame arrive through FilesDropped, after the drop
    // itself has been accepted and finished; each name is the file's bytes.
    void AcceptDroppedFiles(bool accept) { setAcceptDrops(accept); }

    // Asked before the frame closes; false keeps it open.
    std::function<bool()> CloseQuery;

signals:
    void FilesDropped(const QList<QByteArray>& paths);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void TrackMenu(QMenu* menu);
    void AfterMenuClosed();
    void RegisterDecoration(int windowId, QWidget* decoration);

    TCommandTable& Commands;
    QMenuBar* Menus = nullptr;
    bool MenuInUse = false;  // a popup was opened and the highlight is still on the bar
    TControlBar* Bar = nullptr;
    TStatusBar* Status = nullptr;
};

// The hint id a menu action stands for, -1 when it has none.
int HintIdOf(const QAction* action);

}  // namespace vexa
