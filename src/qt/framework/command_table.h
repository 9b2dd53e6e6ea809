// Commands by id: one QAction each (shared by menu items), a handler, and an
// enabling rule that is asked before every run, before a menu opens and on
// each refresh.
#pragma once

#include <QObject>

#include <functional>
#include <map>

class QAction;

namespace vexa {

struct TCommandState {
    bool Enabled = false;
    bool Checked = false;
};

class TCommandTable : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    // Starts from the default (enabled when the command has a handler, not
    // checked) and may change either part.
    using Enabler = std::function<void(TCommandState&)>;

    explicit TCommandTable(QObject* parent = nullptr);

    void SetHandler(int id, Handler handler);
    // `checks` makes the command's action checkable (menu check mark, button down).
    void SetEnabler(int id, Enabler enabler, bool checks = false);

    // The action of `id`, created on first use. Triggering it runs Execute(id).
    QAction* Action(int id);
    bool HasHandler(int id) const;

    // The state the rules give now.
    TCommandState State(int id) const;

    // Runs the handler only when the rule enables the command at this moment,
    // then refreshes every action. Accelerators, menu items and buttons all
    // come through here, so a stale enabled look can never run a command.
    bool Execute(int id);

    // Applies every command's current state to its action.
    void Refresh();

signals:
    void Executed(int id);

private:
    struct TEntry {
        QAction* Action = nullptr;
        Handler Run;
        Enabler Enable;
    };
    std::map<int, TEntry> Entries;
};

}  // namespace vexa
