// The application object: builds the frame around the picture view, answers
// the commands, runs the 100 ms timer and loads puzzles from the open dialog,
// dropped files and the command line.
#pragma once

#include "framework/command_table.h"
#include "puzzle/puzzle_data.h"

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

class TKavrikApp : public QObject {
    Q_OBJECT
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

    // --- Command handlers (reached through the command table) ---------------
    void CmOpenFile();
    void CmFitToPicture();
    void CmGatherMarkers();
    void CmMode(int mode);
    void CmJudgeAnswers();
    void CmShowHelp();
    void CmSwitchHintMode();
    void CmMoveControlBar();

    // Files dropped on the frame: only the first counts.
    void EvDropFiles(const QStringList& files);
    // One tick of the 100 ms timer.
    void EvTimer();

    // Loads `path` and starts the challenge.
    void LoadIntoPlay(const QString& path);
    void FitToPicture();

    TCommandTable& Commands() { return Commands_; }
    QTimer& Timer() { return Timer_; }
    TPuzzleData& Puzzle() { return Puzzle_; }
    TStatusBar* StatusBar() const { return Status; }
    THelpWindow* HelpWindow() const { return Help; }
    bool QuitRequested() const { return QuitRequested_; }

    // Starts the timer; true when it runs. Tests replace it to make it fail.
    std::function<bool(QTimer&)> StartTimer;
    // Called on each tick when no modal dialog runs (game play's countdown).
    std::function<void()> TickHandler;
    // Called by the judge command (game play's Judge).
    std::function<void()> JudgeHandler;
    // Replaces the interim loader (game play's LoadIntoPlay).
    std::function<void(const QString& path)> PlayLoader;

    // Process-wide values of the run.
    std::string SettingsPath;
    QString PendingFile;

    // The fields the rest of the program reads.
    TBitWindow* View = nullptr;
    int HintMode = 2;
    TDecoratedFrame* Frame = nullptr;
    TControlBar* ControlBar = nullptr;
    int BarPlace = 0;
    TTextGadget* CountField = nullptr;
    TTextGadget* TimeField = nullptr;
    std::int64_t StartTime = 0;
    std::int16_t Running = 0;

    TPuzzleSideValues Side;

private:
    void RegisterCommands();
    void StartTimerOrAsk();
    bool FileNameFits(const QString& name) const;

    TPuzzleData Puzzle_;  // outlives the frame and its view
    TCommandTable Commands_;
    QTimer Timer_;
    std::unique_ptr<TDecoratedFrame> FrameOwner;
    TStatusBar* Status = nullptr;
    THelpWindow* Help = nullptr;
    bool QuitRequested_ = false;
    bool InTick = false;
};

}  // namespace vexa
