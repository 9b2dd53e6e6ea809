#include "framework/accelerators.h"

#include "framework/command_table.h"

#include <QShortcut>
#include <QWidget>

namespace vexa {

void InstallAccelerators(QWidget* window, TCommandTable& commands, std::span<const TAccelerator> table) {
    for (const TAccelerator& entry : table) {
        auto* shortcut = new QShortcut(QKeySequence(entry.Key), window);
        shortcut->setContext(Qt::WindowShortcut);
        const int id = entry.Command;
        QObject::connect(shortcut, &QShortcut::activated, &commands, [&commands, id] { commands.Execute(id); });
    }
}

}  // namespace vexa
