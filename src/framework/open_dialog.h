// The open-file dialog for puzzle files.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;
class QWidget;

namespace vexa {

// The longest file name the player takes (characters).
constexpr int kMaxFileNameChars = 260;

// The dialog's filters; the first is selected at the start.
QStringList OpenDialogFilters();

// Runs the dialog owned by `parent`. Returns 1 with the chosen full path in
// `name`, else 0 with `name` empty.
int RunOpenDialog(QWidget* parent, QString& name);

// Tests answer the configured dialog through this hook instead of its modal
// loop: it returns the dialog's result and may set `name`. Pass {} to remove it.
using OpenDialogHook = std::function<int(QFileDialog& dialog, QString& name)>;
void SetOpenDialogHook(OpenDialogHook hook);

}  // namespace vexa
