#include "framework/command_table.h"

#include <QAction>

namespace vexa {

TCommandTable::TCommandTable(QObject* parent) : QObject(parent) {}

void TCommandTable::SetHandler(int id, Handler handler) {
    Action(id);
    Entries[id].Run = std::move(handler);
}

void TCommandTable::SetEnabler(int id, Enabler enabler, bool checks) {
    Action(id)->setCheckable(checks);
    Entries[id].Enable = std::move(enabler);
}

QAction* TCommandTable::Action(int id) {
    TEntry& entry = Entries[id];
    if (!entry.Action) {
        entry.Action = new QAction(this);
        entry.Action->setData(id);
        connect(entry.Action, &QAction::triggered, this, [this, id] { Execute(id); });
    }
    return entry.Action;
}

bool TCommandTable::HasHandler(int id) const {
    auto it = Entries.find(id);
    return it != Entries.end() && it->second.Run;
}

TCommandState TCommandTable::State(int id) const {
    TCommandState state;
    auto it = Entries.find(id);
    if (it == Entries.end()) return state;
    state.Enabled = static_cast<bool>(it->second.Run);
    if (it->second.Enable) it->second.Enable(state);
    return state;
}

bool TCommandTable::Execute(int id) {
    if (!State(id).Enabled || !HasHandler(id)) {
        Refresh();  // a checkable action may have toggled itself on the way here
        return false;
    }
    Handler run = Entries[id].Run;  // the handler may replace its own entry
    run();
    Refresh();
    emit Executed(id);
    return true;
}

void TCommandTable::Refresh() {
    for (auto& [id, entry] : Entries) {
        if (!entry.Action) continue;
        const TCommandState state = State(id);
        entry.Action->setEnabled(state.Enabled);
        if (entry.Action->isCheckable()) entry.Action->setChecked(state.Checked);
    }
}

}  // namespace vexa
