// The commands of the application object, each registered with its enabling
// rule beside its handler, and the ways a puzzle file name arrives: the open
// dialog, dropped files, the command line and a second copy.
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
#include "play/marker_play.h"
#include "play/show_mode.h"
#include "settings/display_options.h"
#include "view/bit_window.h"

#include <QFile>

namespace vexa {

void TKavrikApp::RegisterCommands() {
    TCommandTable& c = Commands_;
    c.SetHandler(CmOpen, [this] { CmOpenFile(); });
    c.SetHandler(CmFit, [this] { CmFitToPicture(); });
    c.SetHandler(CmGather, [this] { CmGatherMarkers(); });
    // Only the photo shows the markers to gather.
    c.SetEnabler(CmGather, [this](TCommandState& s) { s.Enabled = View_ && ShowsMarkersNow(Game_); });
    for (int id = CmModeOutlineScene; id <= CmModeOutlinePhoto; ++id) {
        const ViewMode mode = ModeOfCommand(id);
        c.SetHandler(id, [this, mode] { CmMode(mode); });
        c.SetEnabler(
            id,
            [this, mode](TCommandState& s) {
                s.Enabled = Running() && !Game_.State.Paused();
                s.Checked = View_ && View_->CurrentMode() == mode;
            },
            true);
    }
    c.SetHandler(CmJudge, [this] { CmJudgeAnswers(); });
    // Judging waits while the clock is paused.
    c.SetEnabler(CmJudge, [this](TCommandState& s) { s.Enabled = !Game_.State.Paused(); });
    c.SetHandler(CmHelp, [this] { CmShowHelp(); });
    c.SetHandler(CmHintMode, [this] { CmSwitchHintMode(); });
    c.SetEnabler(CmHintMode, [this](TCommandState& s) { s.Checked = HintMode_ == THintMode::Hover; }, true);
    c.SetHandler(CmBarPlace, [this] { CmMoveControlBar(); });
    c.SetHandler(CmExit, [this] {
        if (Frame_) Frame_->close();
    });
    c.SetHandler(CmConspicuousMarkers, [this] { CmSwitchConspicuousMarkers(); });
    c.SetEnabler(CmConspicuousMarkers, [this](TCommandState& s) { s.Checked = ConspicuousMarkers_; }, true);
    RegisterReviewAndPause();
    RegisterLibrary();
    RegisterHints();
    RegisterViewChoices();
    RegisterMaker();
}

// The limit counts bytes, as the name buffer does.
bool TKavrikApp::FileNameFits(const QByteArray& name) const { return name.size() <= kMaxFileNameBytes; }

void TKavrikApp::LoadNamedFile(const QByteArray& name, bool askReady) {
    if (!FileNameFits(name)) {
        ShowMessage(Frame_, kMsgNameTooLong);
        return;
    }
    PendingFile = name;
    if (askReady) ShowMessage(Frame_, kMsgReady);
    OpenPuzzle(PendingFile);
}

void TKavrikApp::CmOpenFile() {
    PendingFile.clear();
    QByteArray chosen;
    if (RunOpenDialog(Frame_, chosen) != 1) return;
    LoadNamedFile(chosen, false);
}

void TKavrikApp::CmFitToPicture() { Host_.FitToPicture(); }

void TKavrikApp::CmGatherMarkers() {
    if (!View_ || !ShowsMarkersNow(Game_)) return;
    GatherMarkersAtView(Game_);
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

void TKavrikApp::EvDropFiles(const QList<QByteArray>& files) {
    if (!files.isEmpty()) LoadNamedFile(files.first(), true);  // only the first counts
}

void TKavrikApp::OpenPuzzle(const QByteArray& path) {
    LoadIntoPlay(Game_, path.toStdString());
    NoteOpenedInLibrary(path);
    // A load that left no puzzle shows the welcome text, not the old picture.
    if (View_) View_->ShowWelcomeIfEmpty();
}

void TKavrikApp::OpenPuzzle(const QString& path) { OpenPuzzle(QFile::encodeName(path)); }

}  // namespace vexa
