// Accelerator keys: each key runs its command through the command table,
// which asks the command's enabling rule first.
#pragma once

#include <QKeySequence>

#include <span>

class QWidget;

namespace vexa {

class TCommandTable;

struct TAccelerator {
    int Key;      // a Qt::Key, combined with its modifiers where it has any
    int Command;  // command id
};

// Installs window-wide shortcuts on `window` for every entry of `table`.
void InstallAccelerators(QWidget* window, TCommandTable& commands, std::span<const TAccelerator> table);

}  // namespace vexa
