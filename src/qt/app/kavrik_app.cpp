#include "app/kavrik_app.h"

#include "app/kavrik_resources.h"
#include "framework/button_faces.h"
#include "framework/command_ids.h"
#include "framework/control_bar.h"
#include "framework/decorated_frame.h"
#include "framework/message_box.h"
#include "framework/status_bar.h"
#include "framework/window_placement.h"
#include "play/countdown.h"
#include "play/judge.h"
#include "play/load_into_play.h"
#include "play/marker_play.h"
#include "play/play_messages.h"
#include "puzzle/puzzle_file.h"
#include "settings/display_options.h"
#include "view/bit_window.h"

#include <QFile>

#include <QApplication>

namespace vexa {

namespace {
bool StartQtTimer(QTimer& timer) {
    timer.start();
    return timer.isActive() && timer.timerId() >= 0;
}
}  // namespace

TKavrikApp::TKavrikApp(std::string settingsPath, QObject* parent)
    : QObject(parent),
      Game_{Puzzle_, Side_, Host_, std::move(settingsPath),
            [](TPuzzleData& record, TPuzzleSideValues& side, const std::string& path) {
                return LoadPuzzleFile(record, side, path);
            }},
      StartTimer(StartQtTimer),
      TickHandler([this] { CountdownTick(Game_); }) {
    Timer_.setInterval(100);
    Timer_.setTimerType(Qt::CoarseTimer);
    connect(&Timer_, &QTimer::timeout, this, &TKavrikApp::EvTimer);
    RegisterCommands();
}

TKavrikApp::~TKavrikApp() {
    Timer_.stop();
    StopMaking();
    FrameOwner_.reset();  // the view and the bars go with it, before the puzzle record
}

void TKavrikApp::SetupMainWindow() {
    View_ = new TBitWindow(Puzzle_);
    // The pointer and the keys of keyboard play go to game play.
    View_->Input.Press = [this](TPoint client) { PressMarker(Game_, client); };
    View_->Input.Release = [this](TPoint client) { ReleaseMarker(Game_, client); };
    View_->Input.Key = [this](const TMarkerKey& key) { return MarkerKey(Game_, key); };
    ConspicuousMarkers_ = ReadConspicuousMarkers(SettingsPath());
    View_->SetConspicuousMarkers(ConspicuousMarkers_);

    FrameOwner_ = std::make_unique<TDecoratedFrame>(kCaption, View_, Commands_);
    Frame_ = FrameOwner_.get();
    Frame_->CloseQuery = [this] { return CanClose(); };

    BuildMenu100(Frame_->menuBar(), Commands_);
    Frame_->TrackMenuHints(Frame_->menuBar());
    Frame_->setWindowIcon(ProgramIcon());
    InstallAccelerators(Frame_, Commands_, kAccelerators100);
    InstallAccelerators(Frame_, Commands_, kExtraAccelerators);
    SetupReviewAndPause();
    SetupLibrary();
    SetupHints();
    SetupViewChoices();
    SetupMaker();

    ControlBar_ = BuildControlBar(Frame_, Commands_);
    BarPlace_ = 0;
    Frame_->InsertControlBar(ControlBar_, Qt::TopToolBarArea, CmToolBar);

    HintMode_ = THintMode::Hover;
    ControlBar_->SetHintMode(HintMode_);

    Status_ = new TStatusBar;
    Status_->AddSeparator(6);
    CountField_ = Status_->AddTextGadget(16);
    TimeField_ = Status_->AddTextGadget(10);
    // The count field takes what its text needs and leaves the rest to hints.
    CountField_->FitWidthTo({QString::asprintf(kCountFieldFormat, kMaxDiffs)});
    // Whatever the clock or the judge writes there is shown whole.
    TimeField_->ReserveWidthFor({QString::asprintf(kTimeLeftFormat, 300LL), QString::fromUtf8(kNoTimeLimitText),
                                QString::fromUtf8(kJudgedTimeFieldText)});
    Frame_->InsertStatusBar(Status_, CmStatusBar);

    Game_.State.Running = false;
    StartTimerOrAsk();
    Commands_.Refresh();
}

void TKavrikApp::StartTimerOrAsk() {
    while (!StartTimer(Timer_)) {
        // No frame window exists yet, so the box has no owner.
        const auto answer = ShowMessage(nullptr, kMsgNoTimer, QMessageBox::Retry | QMessageBox::Cancel);
        if (answer != QMessageBox::Retry) {
            // The set-up goes on; Run ends with 0 instead of entering the loop.
            QuitRequested_ = true;
            return;
        }
    }
}

void TKavrikApp::InitInstance() {
    SetupMainWindow();
    Frame_->show();
    // Let the window manager place the frame before it is fitted, so that the
    // fit can keep it on the screen.
    WaitUntilPlaced(Frame_);
    Frame_->UpdateMinimumSize();  // the window manager's frame is known now
    Frame_->AcceptDroppedFiles(true);
    connect(Frame_, &TDecoratedFrame::FilesDropped, this, &TKavrikApp::EvDropFiles);
    GatherMarkersAtView(Game_);
    View_->setFocus();  // keyboard play: the arrows and Tab go to the view
    Host_.FitToPicture();
    Commands_.Refresh();
    if (!PendingFile.isEmpty() && !QuitRequested_) {
        // The question is centred on the frame, so the frame must have its
        // place and size on the screen first.
        WaitUntilPlaced(Frame_);
        LoadNamedFile(PendingFile, true);
    }
}

int TKavrikApp::Run() {
    InitInstance();
    if (QuitRequested_) return 0;
    return QApplication::exec();
}

bool TKavrikApp::CanClose() {
    Timer_.stop();
    StopMaking();
    return true;
}

void TKavrikApp::ShowFrame() {
    if (!Frame_) return;
    Frame_->show();
    Frame_->raise();
    Frame_->activateWindow();
}

void TKavrikApp::EvTimer() {
    // Ticks do not reach the application while a modal box or dialog runs;
    // the countdown measures calendar time and catches up afterwards.
    if (InTick_ || QApplication::activeModalWidget()) return;
    InTick_ = true;
    if (TickHandler) TickHandler();
    InTick_ = false;
    Commands_.Refresh();
}

}  // namespace vexa
