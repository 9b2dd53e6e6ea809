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
#include "settings/display_options.h"
#include "viewcore/marker_keys.h"
#include "view/bit_window.h"

#include <QFile>

namespace vexa {

// The limit counts bytes, as the name buffer does.
bool TKavrikApp::FileNameFits(const QByteArray& name) const { return name.size() <= kMaxFileNameBytes; }

void TKavrikApp::CmOpenFile() {
    PendingFile.clear();
    QByteArray chosen;
    if (RunOpenDialog(Frame_, chosen) != 1) return;
    if (!FileNameFits(chosen)) {
        ShowMessage(Frame_, kMsgNameTooLong);
        return;
    }
    PendingFile = chosen;
    OpenPuzzle(PendingFile);
}

void TKavrikApp::CmFitToPicture() { Host_.FitToPicture(); }

void TKavrikApp::CmGatherMarkers() {
    if (!View_ || !ShowsMarkers(View_->CurrentMode())) return;
    View_->ShowMarkers(true);
}

void TKavrikApp::CmMode(ViewMode mode) {
    if (!View_ || !Running() || mode == ViewMode::None) return;
    if (mode == View_->CurrentMode()) return;
    if (ShowMode(Game_, mode)) Host_.FitToPicture();
}

void TKavrikApp::CmJudgeAnswers() {
    Judge(Game_);
}

void TKavrikApp::CmShowHelp() {
    if (!Frame_) return;
    if (!Help_) Help_ = new THelpWindow(Frame_, QString::fromStdString(SettingsPath()));
    if (!Help_->isVisible()) {
        const QSize largest = LargestSizeOnScreen(Frame_);
        if (largest.isValid()) Help_->resize(Help_->size().boundedTo(largest));
        CentreOn(Help_, Frame_);
    }
    Help_->show();
    Help_->raise();
    Help_->activateWindow();
}

void TKavrikApp::CmSwitchHintMode() {
    HintMode_ = HintMode_ == THintMode::WhileHeld ? THintMode::Hover : THintMode::WhileHeld;
    if (ControlBar_) ControlBar_->SetHintMode(HintMode_);
    if (Frame_) Frame_->ShowHint(-1);
}

void TKavrikApp::CmMoveControlBar() {
    static constexpr Qt::ToolBarArea kPlaces[3] = {Qt::TopToolBarArea, Qt::LeftToolBarArea,
                                                   Qt::RightToolBarArea};
    BarPlace_ = (BarPlace_ + 1) % 3;
    if (Frame_ && ControlBar_) Frame_->InsertControlBar(ControlBar_, kPlaces[BarPlace_], CmToolBar);
}

void TKavrikApp::CmSwitchConspicuousMarkers() {
    ConspicuousMarkers_ = !ConspicuousMarkers_;
    if (View_) View_->SetConspicuousMarkers(ConspicuousMarkers_);
    // Kept for this run even when the file cannot be written; no message.
    WriteConspicuousMarkers(SettingsPath(), ConspicuousMarkers_);
}

bool TKavrikApp::MarkersMovable() const {
    // Never over a review (no challenge runs there) or while paused.
    return View_ && !Game_.State.Paused && MarkersMayMove(View_->CurrentMode(), Running() != 0);
}

void TKavrikApp::EvDropFiles(const QList<QByteArray>& files) {
    bool taken = false;
    if (!files.isEmpty()) {
        const QByteArray& first = files.first();
        if (!FileNameFits(first)) {
            ShowMessage(Frame_, kMsgNameTooLong);
        } else {
            PendingFile = first;
            taken = true;
        }
    }
    if (!taken) return;
    ShowMessage(Frame_, kMsgReady);
    OpenPuzzle(PendingFile);
}

void TKavrikApp::OpenPuzzle(const QByteArray& path) {
    LoadIntoPlay(Game_, path.toStdString());
    NoteOpenedInLibrary(path);
    // A load that left no puzzle shows the welcome text, not the old picture.
    if (View_) View_->ShowWelcomeIfEmpty();
}

void TKavrikApp::OpenPuzzle(const QString& path) { OpenPuzzle(QFile::encodeName(path)); }

}  // namespace vexa
