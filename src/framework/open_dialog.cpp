#include "framework/open_dialog.h"

#include <QDir>
#include <QFileDialog>

namespace vexa {

namespace {
OpenDialogHook& Hook() {
    static OpenDialogHook hook;
    return hook;
}
}  // namespace

void SetOpenDialogHook(OpenDialogHook hook) { Hook() = std::move(hook); }

QStringList OpenDialogFilters() {
    return {QStringLiteral("間違い探しデータ(*.VX)"), QStringLiteral("全てのﾌｧｲﾙ (*.*)")};
}

int RunOpenDialog(QWidget* parent, QString& name) {
    name.clear();
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(OpenDialogFilters());
    dialog.selectNameFilter(OpenDialogFilters().first());
    // Without QDir::CaseSensitive the name filters match "*.vx" as well.
    dialog.setFilter(QDir::AllEntries | QDir::AllDirs | QDir::NoDotAndDotDot);

    QString chosen;
    int result = 0;
    if (Hook()) {
        result = Hook()(dialog, chosen);
    } else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        chosen = dialog.selectedFiles().first();
        result = 1;
    }
    if (result != 1 || chosen.isEmpty()) return 0;
    name = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
    return 1;
}

}  // namespace vexa
