// The open-file dialog for puzzle files.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QFileDialog;
class QWidget;

namespace vexa {

// The longest file name the player takes, in bytes.
constexpr int kMaxFileNameBytes = 260;

// The dialog's filters for puzzles; the first is selected at the start.
QStringList OpenDialogFilters();
// The same for photos: the formats this build reads, then every file.
QStringList PhotoDialogFilters();

// Runs the dialog owned by `parent`. Returns 1 with the chosen full path in
// `name` (the name's bytes), else 0 with `name` empty. "全てのﾌｧｲﾙ (*.*)"
// lists every file, dots or not. The dialog keeps no history: it writes no
// file.
int RunOpenDialog(QWidget* parent, QByteArray& name);
// The same with other `filters`, the last of which lists every file.
int RunOpenDialog(QWidget* parent, QByteArray& name, const QStringList& filters);

// Tests answer the configured dialog through this hook instead of its modal
// loop: it returns the dialog's result and may set `name`. Pass {} to remove it.
using OpenDialogHook = std::function<int(QFileDialog& dialog, QString& name)>;
void SetOpenDialogHook(OpenDialogHook hook);

}  // namespace vexa
