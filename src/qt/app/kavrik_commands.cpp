// The commands of the application object and the ways a puzzle file name
// arrives: the open dialog, dropped files and the command line.
#include "app/kavrik_app.h"

#include "framework/command_ids.h"
#include "framework/control_bar.h"
#include "framework/decorated_frame.h"
#include "framework/window_placement.h"
#include "framework/help_window.h"
#include "framework/message_box.h"
#include "framework/open_dialog.h"
#include "play/judge.h"
#include "play/load_into_play.h"
#include "play/show_mode.h"
#include "view/bit_window.h"

#include <QFile>

namespace vexa {

// The limit counts bytes, as the name buffer does.
bool TKavrikApp::FileNameFits(const QByteArray& name) const { return name.size() <= kMaxFileNameBytes; }

void TKavrikApp::CmOpenFile() {
    PendingFile.clear();
    QByteArray chosen;
    if (RunOpenDialog(Frame, chosen) != 1) return;
    if (!FileNameFits(chosen)) {
        vexa::ShowMessage(Frame, kMsgNameTooLong);
        return;
    }
    PendingFile = chosen;
    LoadIntoPlay(PendingFile);
}

void TKavrikApp::CmFitToPicture() { FitToPicture(); }

void TKavrikApp::CmGatherMarkers() {
    if (!View || !ShowsMarkers(View->CurrentMode())) return;
    View->ShowMarkers(true);
}

void TKavrikApp::CmMode(ViewMode mode) {
    if (!View || !Running || mode == ViewMode::None) return;
    if (mode == View->CurrentMode()) return;
    if (ShowMode(Game_, mode)) FitToPicture();
}

void TKavrikApp::CmJudgeAnswers() {
    Judge(Game_);
}

void TKavrikApp::CmShowHelp() {
    if (!Frame) return;
    if (!Help) Help = new THelpWindow(Frame, QString::fromStdString(SettingsPath));
    if (!Help->isVisible()) {
        const QSize largest = LargestSizeOnScreen(Frame);
        if (largest.isValid()) Help->resize(Help->size().boundedTo(largest));
        CentreOn(Help, Frame);
    }
    Help->show();
    Help->raise();
    Help->activateWindow();
}

void TKavrikApp::CmSwitchHintMode() {
    HintMode = HintMode == 1 ? 2 : 1;
    if (ControlBar) ControlBar->SetHintMode(HintMode);
    if (Frame) Frame->ShowHint(-1);
}

void TKavrikApp::CmMoveControlBar() {
    static constexpr Qt::ToolBarArea kPlaces[3] = {Qt::TopToolBarArea, Qt::LeftToolBarArea,
                                                   Qt::RightToolBarArea};
    BarPlace = (BarPlace + 1) % 3;
    if (Frame && ControlBar) Frame->InsertControlBar(ControlBar, kPlaces[BarPlace], CmToolBar);
}

void TKavrikApp::EvDropFiles(const QList<QByteArray>& files) {
    bool taken = false;
    if (!files.isEmpty()) {
        const QByteArray& first = files.first();
        if (!FileNameFits(first)) {
            vexa::ShowMessage(Frame, kMsgNameTooLong);
        } else {
            PendingFile = first;
            taken = true;
        }
    }
    if (!taken) return;
    vexa::ShowMessage(Frame, kMsgReady);
    LoadIntoPlay(PendingFile);
}

void TKavrikApp::LoadIntoPlay(const QByteArray& path) {
    vexa::LoadIntoPlay(Game_, path.toStdString());
    // A load that left no puzzle shows the welcome text, not the old picture.
    if (View) View->ShowWelcomeIfEmpty();
}

void TKavrikApp::LoadIntoPlay(const QString& path) { LoadIntoPlay(QFile::encodeName(path)); }

}  // namespace vexa
