// The play state and everything the play operations (LoadIntoPlay, Judge,
// CountdownTick) work on.
#pragma once

#include "play/judgement.h"
#include "play/marker_board.h"
#include "play/play_host.h"
#include "puzzle/load_error.h"
#include "puzzle/puzzle_data.h"
#include "settings/result_record.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vexa {

constexpr std::int32_t kDefaultTimeLimit = 300;

// The hints of the running attempt.
struct THintState {
    int Used = 0;   // hints taken since the attempt started
    int Diff = -1;  // the difference whose frame shows now; -1 when none does
    // When the frame came up and how long it has shown as of the last tick,
    // in milliseconds of the caller's steady clock.
    std::int64_t ShownAtMs = 0;
    std::int64_t AgeMs = 0;
};

// What lies over the mode the view shows: nothing, the pause screen of a
// running challenge, or the review of the last judgement over its result.
enum class TOverMode { None, Paused, Review };

struct TPlayState {
    bool Running = false;               // a challenge is in progress; the record is loaded
    std::int64_t StartTime = 0;         // calendar seconds at its start
    std::int32_t TimeLimit = kDefaultTimeLimit;  // seconds; 0 = no limit
    std::int32_t LastShownSecond = -100;  // elapsed second last shown; never reset
    TResultState Result;                // stored checksums and BestResult of the loaded puzzle

    TMarkerBoard Markers;               // the answer markers, in picture coordinates

    TOverMode Over = TOverMode::None;
    // While paused, the running challenge's clock stands still at
    // PausedElapsed seconds, whatever the calendar clock does meanwhile.
    std::int32_t PausedElapsed = 0;
    // The pause was the frame's minimising, so restoring the frame resumes.
    bool PausedByMinimise = false;
    // 最小化で一時停止: minimising the frame pauses a running challenge.
    // Off unless the display options say otherwise.
    bool PauseOnMinimise = false;
    // 並べて表示: the scene and the photo show together during a challenge.
    // Off unless the display options say otherwise.
    bool SideBySide = false;
    // The last judgement, for the review; forgotten by a load or a restart.
    TJudgement LastJudgement;
    // Forgotten, like the judgement, by a load or a restart.
    THintState Hint;

    bool Paused() const { return Over == TOverMode::Paused; }
    bool Reviewing() const { return Over == TOverMode::Review; }
};

// Fills a reset record from a puzzle file: LoadPuzzleFile in the player.
using TPuzzleLoader = std::function<TLoadError(TPuzzleData&, TPuzzleSideValues&, const std::string&)>;

// One game: the puzzle record and its side values (owned by the application
// for the life of the program), the host, the settings file and the state.
// The application builds it once, e.g.
//   TGamePlay game{puzzle, side, /*host*/ *this, settingsPath, LoadPuzzleFile};
// and calls CountdownTick(game) on each 100 ms tick, Judge(game) for the
// judge command and LoadIntoPlay(game, path) for every file it is given.
// Running is read by the enabling of the mode commands; mode commands go
// through ShowMode(game, mode).
struct TGamePlay {
    TPuzzleData& Puzzle;
    TPuzzleSideValues& Side;
    IPlayHost& Host;
    std::string SettingsPath;
    TPuzzleLoader LoadPuzzle;
    TPlayState State{};
};

}  // namespace vexa
