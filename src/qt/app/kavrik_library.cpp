// The puzzle list and the recent files: the application's side.
#include "app/kavrik_app.h"

#include "app/kavrik_resources.h"
#include "framework/command_ids.h"
#include "framework/decorated_frame.h"
#include "framework/window_placement.h"
#include "library/library_dialog.h"
#include "library/library_state.h"
#include "library/recent_menu.h"

#include <QDir>
#include <QFile>
#include <QMenu>

namespace vexa {

void TKavrikApp::RegisterLibrary() { Commands_.SetHandler(CmLibrary, [this] { CmOpenLibrary(); }); }

void TKavrikApp::SetupLibrary() {
    InstallAccelerators(Frame_, Commands_, kLibraryKeys);
    if (auto* recent = Frame_->findChild<QMenu*>(QLatin1String(kRecentMenuName)))
        KeepRecentMenu(recent, LibraryPaths.StateFile, CmRecentFiles,
                       [this](const QByteArray& path) { OpenFromLibrary(path); });
}

void TKavrikApp::CmOpenLibrary() {
    if (!Frame_) return;
    TLibraryDialog dialog(LibraryPaths, SettingsPath(), Frame_);
    CentreOn(&dialog, Frame_);
    if (RunLibraryDialog(dialog) != QDialog::Accepted) return;
    OpenFromLibrary(dialog.ChosenPath());
}

void TKavrikApp::OpenFromLibrary(const QByteArray& path) {
    if (!path.isEmpty()) LoadNamedFile(path, true);
}

void TKavrikApp::NoteOpenedInLibrary(const QByteArray& path) {
    if (!Puzzle_.Loaded || LibraryPaths.StateFile.empty()) return;
    // Kept with its folder, so that it names the same file from anywhere.
    QByteArray absolute = path;
    if (!absolute.startsWith('/')) absolute = QFile::encodeName(QDir::currentPath()) + '/' + path;
    TLibraryState state = LoadLibraryState(LibraryPaths.StateFile);
    NoteOpened(state, absolute.toStdString());
    SaveLibraryState(LibraryPaths.StateFile, state);  // a state that cannot be kept is not reported
}

}  // namespace vexa
