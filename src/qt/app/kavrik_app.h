// The application object: builds the frame around the picture view, answers
// the commands, runs the 100 ms timer and loads puzzles from the open dialog,
// dropped files and the command line. It owns the one game and the host that
// game play works through (message boxes, status fields, view, keys).
#pragma once

#include "app/app_play_host.h"
#include "app/photo_making.h"
#include "framework/command_table.h"
#include "framework/control_bar.h"
#include "library/library_places.h"
#include "play/play_state.h"
#include "puzzle/puzzle_data.h"
#include "viewcore/fit_steps.h"
#include "viewcore/zoom.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vexa {

class TBitWindow;
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

    // First, so that the game exists before anything refers to its state.
    TPuzzleData Puzzle_;  // outlives the frame and its view
    TPuzzleSideValues Side_;
    TAppPlayHost Host_{*this};
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
    // 目立つマーカー: switches the markers' black-and-white outline and keeps
    // the choice in the settings file (a failed save is ignored, as for results).
    void CmSwitchConspicuousMarkers();

    // 問題集: the puzzle list; a puzzle chosen there is played as one named
    // from outside (OpenFromLibrary).
    void CmOpenLibrary();
    // A puzzle chosen in the list or the recent files: the name's length, the
    // ready question, the load.
    void OpenFromLibrary(const QByteArray& path);
    // Where the list looks and keeps its state; tests point it elsewhere.
    TLibraryPaths LibraryPaths = DefaultLibraryPaths();

    // 写真から問題を作る: a photo from the open dialog, the number of
    // differences and the difficulty from a small dialog, then the maker on a
    // worker thread behind a progress dialog that can cancel it (EvMade ends it).
    void CmMakePuzzle();
    // The work has ended: a box for a photo it could not use, or the puzzle
    // written to LibraryPaths.Places.MyPuzzles under a new name, then played
    // through the ready question.
    void EvMade();
    // Cancels the work under way, if any, and waits for its thread.
    void StopMaking();
    // Makes the puzzle; vexa::authoring::MakePuzzle unless a test replaces it.
    TPuzzleMaker Maker = &authoring::MakePuzzle;
    // The work under way, null when none; for tests.
    TPhotoMaking* Making() const { return Making_; }
    QProgressDialog* MakingProgress() const { return MakingProgress_; }

    bool ConspicuousMarkers() const { return ConspicuousMarkers_; }
    // ヒント: game play's hint, whose frame the hint timer then animates.
    void CmGiveHint();
    // One tick of the hint timer: the frame's next step, or its end.
    void EvHintTimer();
    // Drives the frame's animation while it shows (a few dozen times a second).
    QTimer& HintTimer() { return HintTimer_; }
    // Milliseconds of a steady clock for the frame's animation; tests set their own.
    std::function<std::int64_t()> MilliClock;

    // 並べて表示: game play switches the pair; the frame is fitted to it.
    void CmSwitchSideBySide();
    // The zoom: the view takes it, the frame is fitted to it (except for the
    // fit into the window, which keeps the frame), the point under `client`
    // (the view's top-left without one) stays put, and the choice is kept.
    void ApplyZoom(const TZoom& zoom, std::optional<QPoint> client = {});
    // One step in (positive) or out, as Ctrl+wheel and the commands zoom.
    void ZoomBySteps(int steps, std::optional<QPoint> client = {});

    void CmReviewAnswers();   // the review of the last judgement, or back to its result
    void CmPauseChallenge();  // pause or resume the running challenge

    // Files dropped on the frame (names as bytes): only the first counts.
    void EvDropFiles(const QList<QByteArray>& files);
    // One tick of the 100 ms timer.
    void EvTimer();

    // The one way in for a file name from the command line, the open dialog,
    // a drop or a second copy: a name too long for the name buffer is refused
    // with "ファイル名が長すぎます" (PendingFile keeps what it held); otherwise
    // it goes to PendingFile, the ready question is asked (not for a name
    // from the open dialog, which is loaded at once) and the file is loaded.
    void LoadNamedFile(const QByteArray& name, bool askReady);

    // Loads `path` (the name's bytes) and starts the challenge (game play's
    // LoadIntoPlay).
    void OpenPuzzle(const QByteArray& path);
    // The same for a name in Qt's form, encoded as the file system wants it.
    void OpenPuzzle(const QString& path);

    TGamePlay& Game() { return Game_; }
    TAppPlayHost& PlayHost() { return Host_; }
    TCommandTable& Commands() { return Commands_; }
    QTimer& Timer() { return Timer_; }
    TPuzzleData& Puzzle() { return Puzzle_; }
    // Learned difference between the view's and the frame's outer size, used
    // and updated by every fit; kept for the life of the program.
    TFitExtras& FitExtras() { return FitExtras_; }
    const std::string& SettingsPath() const { return Game_.SettingsPath; }
    bool Running() const { return Game_.State.Running; }
    bool QuitRequested() const { return QuitRequested_; }

    // The widgets; null until SetupMainWindow.
    TDecoratedFrame* Frame() const { return Frame_; }
    TBitWindow* View() const { return View_; }
    TControlBar* ControlBar() const { return ControlBar_; }
    TStatusBar* StatusBar() const { return Status_; }
    TTextGadget* CountField() const { return CountField_; }
    TTextGadget* TimeField() const { return TimeField_; }
    THelpWindow* HelpWindow() const { return Help_; }
    THintMode HintMode() const { return HintMode_; }

    // Starts the timer; true when it runs. Tests replace it to make it fail.
    std::function<bool(QTimer&)> StartTimer;
    // Called on each tick when no modal dialog runs; game play's CountdownTick
    // unless a test replaces it.
    std::function<void()> TickHandler;
    // Calendar seconds for game play; tests set their own clock.
    std::function<std::int64_t()> Clock;

    QByteArray PendingFile;  // file names are bytes, as the file system keeps them

private:
    void RegisterCommands();
    // The review and pause commands with their enabling, their keys, and
    // 最小化で一時停止 with the watch on the frame's minimising.
    void RegisterReviewAndPause();
    void SetupReviewAndPause();
    // The list's command, key and recent-files menu; a loaded puzzle noted there.
    void RegisterLibrary();
    // The hint command, its enabling, key and timer.
    void RegisterHints();
    // 並べて表示 and the zoom: commands, keys, the wheel, the stored choices.
    void RegisterViewChoices();
    void SetupViewChoices();
    void SetupHints();
    void SetupLibrary();
    // The making command, its enabling and key.
    void RegisterMaker();
    void SetupMaker();
    void NoteOpenedInLibrary(const QByteArray& path);
    void StartTimerOrAsk();
    bool FileNameFits(const QByteArray& name) const;
    void TakeHandedFile();

    TCommandTable Commands_;
    QTimer Timer_;
    QTimer HintTimer_;
    std::unique_ptr<TDecoratedFrame> FrameOwner_;
    TDecoratedFrame* Frame_ = nullptr;
    TBitWindow* View_ = nullptr;
    TControlBar* ControlBar_ = nullptr;
    TStatusBar* Status_ = nullptr;
    TTextGadget* CountField_ = nullptr;
    TTextGadget* TimeField_ = nullptr;
    THelpWindow* Help_ = nullptr;
    THintMode HintMode_ = THintMode::Hover;
    int BarPlace_ = 0;
    bool QuitRequested_ = false;
    bool ConspicuousMarkers_ = false;
    bool InTick_ = false;
    TFitExtras FitExtras_;
    QByteArray HandedFile_;  // waiting to be loaded
    TPhotoMaking* Making_ = nullptr;  // a child; cancelled and waited for on close
    QPointer<QProgressDialog> MakingProgress_;  // a child of the frame
};

}  // namespace vexa
