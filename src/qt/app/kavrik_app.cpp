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
#include "play/play_messages.h"
#include "puzzle/puzzle_file.h"
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
      Game_{Puzzle_, Side, *this, settingsPath,
            [](TPuzzleData& record, TPuzzleSideValues& side, const std::string& path) {
                return LoadPuzzleFile(record, side, path);
            }},
      StartTimer(StartQtTimer),
      TickHandler([this] { CountdownTick(Game_); }),
      SettingsPath(std::move(settingsPath)) {
    Timer_.setInterval(100);
    Timer_.setTimerType(Qt::CoarseTimer);
    connect(&Timer_, &QTimer::timeout, this, &TKavrikApp::EvTimer);
    RegisterCommands();
}

TKavrikApp::~TKavrikApp() {
    Timer_.stop();
    FrameOwner.reset();  // the view and the bars go with it, before the puzzle record
}

void TKavrikApp::RegisterCommands() {
    TCommandTable& c = Commands_;
    c.SetHandler(CmOpen, [this] { CmOpenFile(); });
    c.SetHandler(CmFit, [this] { CmFitToPicture(); });
    c.SetHandler(CmGather, [this] { CmGatherMarkers(); });
    c.SetEnabler(CmGather, [this](TCommandState& s) { s.Enabled = View && ShowsMarkers(View->CurrentMode()); });
    for (int id = CmModeOutlineScene; id <= CmModeOutlinePhoto; ++id) {
        const ViewMode mode = ModeOfCommand(id);
        c.SetHandler(id, [this, mode] { CmMode(mode); });
        c.SetEnabler(
            id,
            [this, mode](TCommandState& s) {
                s.Enabled = Running != 0;
                s.Checked = View && View->CurrentMode() == mode;
            },
            true);
    }
    c.SetHandler(CmJudge, [this] { CmJudgeAnswers(); });
    c.SetHandler(CmHelp, [this] { CmShowHelp(); });
    c.SetHandler(CmHintMode, [this] { CmSwitchHintMode(); });
    c.SetEnabler(CmHintMode, [this](TCommandState& s) { s.Checked = HintMode == 2; }, true);
    c.SetHandler(CmBarPlace, [this] { CmMoveControlBar(); });
    c.SetHandler(CmExit, [this] {
        if (Frame) Frame->close();
    });
}

void TKavrikApp::SetupMainWindow() {
    View = new TBitWindow(Puzzle_);

    FrameOwner = std::make_unique<TDecoratedFrame>(kCaption, View, Commands_);
    Frame = FrameOwner.get();
    Frame->CloseQuery = [this] { return CanClose(); };

    BuildMenu100(Frame->menuBar(), Commands_);
    Frame->TrackMenuHints(Frame->menuBar());
    Frame->setWindowIcon(ProgramIcon());
    InstallAccelerators(Frame, Commands_, kAccelerators100);

    ControlBar = BuildControlBar(Frame, Commands_);
    BarPlace = 0;
    Frame->InsertControlBar(ControlBar, Qt::TopToolBarArea, CmToolBar);

    HintMode = 2;
    ControlBar->SetHintMode(HintMode);

    Status = new TStatusBar;
    Status->AddSeparator(6);
    CountField = Status->AddTextGadget(16);
    TimeField = Status->AddTextGadget(10);
    // Whatever the clock or the judge writes there is shown whole.
    TimeField->ReserveWidthFor({QString::asprintf(kTimeLeftFormat, 300LL), QString::fromUtf8(kNoTimeLimitText),
                                QString::fromUtf8(kJudgedTimeFieldText)});
    Frame->InsertStatusBar(Status, CmStatusBar);

    Running = 0;
    StartTimerOrAsk();
    Commands_.Refresh();
}

void TKavrikApp::StartTimerOrAsk() {
    while (!StartTimer(Timer_)) {
        // No frame window exists yet, so the box has no owner.
        const auto answer = vexa::ShowMessage(nullptr, kMsgNoTimer, QMessageBox::Retry | QMessageBox::Cancel);
        if (answer != QMessageBox::Retry) {
            // The set-up goes on; Run ends with 0 instead of entering the loop.
            QuitRequested_ = true;
            return;
        }
    }
}

void TKavrikApp::InitInstance() {
    SetupMainWindow();
    Frame->show();
    // Let the window manager place the frame before it is fitted, so that the
    // fit can keep it on the screen.
    WaitUntilPlaced(Frame);
    Frame->UpdateMinimumSize();  // the window manager's frame is known now
    Frame->AcceptDroppedFiles(true);
    connect(Frame, &TDecoratedFrame::FilesDropped, this, &TKavrikApp::EvDropFiles);
    View->ShowMarkers(true);
    FitToPicture();
    Commands_.Refresh();
    if (!PendingFile.isEmpty() && !QuitRequested_) {
        // The question is centred on the frame, so the frame must have its
        // place and size on the screen first.
        WaitUntilPlaced(Frame);
        if (!FileNameFits(PendingFile)) {
            vexa::ShowMessage(Frame, kMsgNameTooLong);
            return;
        }
        vexa::ShowMessage(Frame, kMsgReady);
        LoadIntoPlay(PendingFile);
    }
}

int TKavrikApp::Run() {
    InitInstance();
    if (QuitRequested_) return 0;
    return QApplication::exec();
}

bool TKavrikApp::CanClose() {
    Timer_.stop();
    return true;
}

void TKavrikApp::ShowFrame() {
    if (!Frame) return;
    Frame->show();
    Frame->raise();
    Frame->activateWindow();
}

void TKavrikApp::EvTimer() {
    // Ticks do not reach the application while a modal box or dialog runs;
    // the countdown measures calendar time and catches up afterwards.
    if (InTick || QApplication::activeModalWidget()) return;
    InTick = true;
    if (TickHandler) TickHandler();
    InTick = false;
    Commands_.Refresh();
}

}  // namespace vexa
