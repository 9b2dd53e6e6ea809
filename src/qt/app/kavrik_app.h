// The application object: builds the frame around the picture view, answers
// the commands, runs the 100 ms timer and loads puzzles from the open dialog,
// dropped files and the command line. It owns the one game and is the window
// that game play works through (message boxes, status fields, view, keys).
#pragma once

#include "framework/command_table.h"
#include "play/play_host.h"
#include "play/play_state.h"
#include "puzzle/puzzle_data.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vexa {

class TBitWindow;
class TControlBar;
class TDecoratedFrame;
class THelpWindow;
class TStatusBar;
class TTextGadget;

inline const QString kMsgReady = QStringLiteral("用意はいいですか");
inline const QString kMsgNameTooLong = QStringLiteral("ファイル名が長すぎます");
inline const QString kMsgNoTimer = QStringLiteral(
    "タイマーを作成できません。再試行しますか?再試行しない場合プログラムは終了します");

class TKavrikApp : public QObject, public IPlayHost {
    Q_OBJECT

    // First, so that the game exists before anything refers to its state.
    TPuzzleData Puzzle_;  // outlives the frame and its view

public:
    TPuzzleSideValues Side;

private:
    TGamePlay Game_;

public:
    // `settingsPath` is where results are kept for this run (tests pass a
    // private one).
    explicit TKavrikApp(std::string settingsPath, QObject* parent = nullptr);
    ~TKavrikApp() override;

    TKavrikApp(const TKavrikApp&) = delete;
    TKavrikApp& operator=(const TKavrikApp&) = delete;

    // Builds the frame, bars and timer (no window is shown yet).
    void SetupMainWindow();
    // SetupMainWindow, then shows the frame, accepts drops, gathers the
    // markers, fits the frame and loads PendingFile after the ready question.
    void InitInstance();
    // InitInstance and the event loop; returns the loop's status, or 0 when
    // the timer question was cancelled.
    int Run();
    // Stops the timer; the frame closes.
    bool CanClose();

    // Shows the frame as it is (a minimised frame stays minimised) and activates it.
    void ShowFrame();
    // A file that a second copy was started with: loaded as a file named on
    // the command line, once no box or dialog is open.
    void OpenHandedFile(const QByteArray& file);

    // --- Command handlers (reached through the command table) ---------------
    void CmOpenFile();
    void CmFitToPicture();
    void CmGatherMarkers();
    void CmMode(ViewMode mode);
    void CmJudgeAnswers();
    void CmShowHelp();
    void CmSwitchHintMode();
    void CmMoveControlBar();

    // Files dropped on the frame (names as bytes): only the first counts.
    void EvDropFiles(const QList<QByteArray>& files);
    // One tick of the 100 ms timer.
    void EvTimer();

    // Loads `path` (the name's bytes) and starts the challenge (game play's
    // LoadIntoPlay).
    void LoadIntoPlay(const QByteArray& path);
    // The same for a name in Qt's form, encoded as the file system wants it.
    void LoadIntoPlay(const QString& path);

    // --- IPlayHost: what game play asks of the window ------------------------
    void ShowMessage(const std::string& text) override;
    TAnswer AskYesNoCancel(const std::string& text) override;
    void SetCountField(const std::string& text) override;
    void SetTimeField(const std::string& text) override;
    bool SwitchMode(ViewMode mode) override;
    ViewMode CurrentMode() const override;
    void ShowMarkers(bool gather) override;
    TPoint MarkerCentre(int index) const override;
    void AnimateStep() override;
    std::string WelcomeText() const override;
    void FitToPicture() override;
    bool IsFrameActive() const override;
    bool IsShiftHeld() const override;
    bool IsRightButtonHeld() const override;
    std::int64_t Now() const override;

    TGamePlay& Game() { return Game_; }
    TCommandTable& Commands() { return Commands_; }
    QTimer& Timer() { return Timer_; }
    TPuzzleData& Puzzle() { return Puzzle_; }
    TStatusBar* StatusBar() const { return Status; }
    THelpWindow* HelpWindow() const { return Help; }
    bool QuitRequested() const { return QuitRequested_; }

    // Starts the timer; true when it runs. Tests replace it to make it fail.
    std::function<bool(QTimer&)> StartTimer;
    // Called on each tick when no modal dialog runs; game play's CountdownTick
    // unless a test replaces it.
    std::function<void()> TickHandler;
    // Calendar seconds for game play; tests set their own clock.
    std::function<std::int64_t()> Clock;

    // Process-wide values of the run. The game reads the settings file named
    // at construction.
    std::string SettingsPath;
    QByteArray PendingFile;  // file names are bytes, as the file system keeps them

    // The fields the rest of the program reads.
    TBitWindow* View = nullptr;
    int HintMode = 2;
    TDecoratedFrame* Frame = nullptr;
    TControlBar* ControlBar = nullptr;
    int BarPlace = 0;
    TTextGadget* CountField = nullptr;
    TTextGadget* TimeField = nullptr;
    // The play state lives in the game; these name its fields, so the
    // enabling rules and game play read one value.
    std::int64_t& StartTime = Game_.State.StartTime;
    std::int16_t& Running = Game_.State.Running;

private:
    void RegisterCommands();
    void StartTimerOrAsk();
    bool FileNameFits(const QByteArray& name) const;
    void TakeHandedFile();

    TCommandTable Commands_;
    QTimer Timer_;
    std::unique_ptr<TDecoratedFrame> FrameOwner;
    TStatusBar* Status = nullptr;
    THelpWindow* Help = nullptr;
    bool QuitRequested_ = false;
    bool InTick = false;
    QByteArray HandedFile_;  // waiting to be loaded
};

}  // namespace vexa
