#include "framework/open_dialog.h"

#include "framework/file_name_bytes.h"
#include "framework/window_placement.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSettings>

namespace vexa {

namespace {
OpenDialogHook& Hook() {
    static OpenDialogHook hook;
    return hook;
}

// Qt's file dialog keeps its history and layout in a settings file of its
// own; the player writes no file but its results. Point Qt's user settings
// at a folder that cannot exist, so they are neither read nor written.
void KeepNoDialogHistory() {
    static const bool done = [] {
        const QString nowhere = QStringLiteral("/dev/null");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
        return true;
    }();
    (void)done;
}

// "*.*" would list only names with a dot; the all-files filter shows every file.
void ListEveryFileForTheLastFilter(QFileDialog& dialog, const QString& allFiles) {
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, allFiles](const QString& filter) {
        if (filter != allFiles) return;
        if (auto* model = dialog.findChild<QFileSystemModel*>()) model->setNameFilters({QStringLiteral("*")});
    });
}
}  // namespace

void SetOpenDialogHook(OpenDialogHook hook) { Hook() = std::move(hook); }

QStringList OpenDialogFilters() {
    return {QStringLiteral("間違い探しデータ(*.VX)"), QStringLiteral("全てのﾌｧｲﾙ (*.*)")};
}

QStringList PhotoDialogFilters() {
    return {QStringLiteral("画像 (*.jpg *.jpeg *.png *.bmp)"), OpenDialogFilters().last()};
}

int RunOpenDialog(QWidget* parent, QByteArray& name) { return RunOpenDialog(parent, name, OpenDialogFilters()); }

int RunOpenDialog(QWidget* parent, QByteArray& name, const QStringList& filters) {
    name.clear();
    KeepNoDialogHistory();
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    // Without QDir::CaseSensitive the name filters match "*.vx" as well.
    dialog.setFilter(QDir::AllEntries | QDir::AllDirs | QDir::NoDotAndDotDot);
    ListEveryFileForTheLastFilter(dialog, filters.last());
    // Qt centres it on the frame; on a small screen it must still fit.
    const QSize largest = LargestSizeOnScreen(parent ? parent->window() : &dialog);
    if (largest.isValid()) dialog.resize(dialog.sizeHint().boundedTo(largest));

    QString chosen;
    int result = 0;
    if (Hook()) {
        result = Hook()(dialog, chosen);
    } else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        chosen = dialog.selectedFiles().first();
        result = 1;
    }
    if (result != 1 || chosen.isEmpty()) return 0;
    name = NameBytesOf(QFileInfo(chosen).absoluteFilePath());
    return 1;
}

}  // namespace vexa
