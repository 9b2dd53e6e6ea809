#include "play/judge.h"

#include "play/marker_play.h"
#include "play/match_markers.h"
#include "play/play_messages.h"
#include "play/review.h"
#include "play/show_mode.h"

#include <array>

namespace vexa {

namespace {

void Restart(TGamePlay& game) {
    IPlayHost& host = game.Host;
    host.ShowMessage(kRetryText);
    game.State.LastJudgement = {};  // a new attempt has nothing to review
    game.State.Hint = {};           // and has taken no hints yet
    host.SetMessageField({});       // nor a score or a count of hints
    game.State.StartTime = host.Now();
    const bool shown = ShowMode(game, ViewMode::Scene);
    GatherMarkersAtView(game);
    if (!shown) return;
    host.FitToPicture();
    game.State.Running = true;
}

// Lets a result below an earlier complete solution stand, show the complete
// screen again, or erase the record, as the user chooses.
ViewMode KeepBestResult(TGamePlay& game, ViewMode result) {
    TResultState& record = game.State.Result;
    const char* section = CurrentSection(game.Side);
    if (IsBetterResult(result, record.BestResult)) {
        record.BestResult = result;
        // Another puzzle's record on the same line is never overwritten; the
        // write would refuse silently (perhaps later, on the saver's thread),
        // so the refusal is told here. Any other failed write is not reported.
        if (RecordHeldByOtherPuzzle(game.SettingsPath, section))
            game.Host.ShowMessage(kRecordHeldByOtherText);
        else
            WriteResultRecord(game.SettingsPath, section, record);
        return result;
    }
    if (record.BestResult != ViewMode::AllFound || result == ViewMode::AllFound) return result;

    IPlayHost& host = game.Host;
    if (!host.IsRightButtonHeld() && !host.IsShiftHeld()) return ViewMode::AllFound;
    switch (host.AskYesNoCancel(kAllFoundBeforeQuestion)) {
    case TAnswer::Yes:
        return ViewMode::AllFound;
    case TAnswer::No:
        return result;
    case TAnswer::Cancel:
        EraseResultRecord(game.SettingsPath, section);
        record.BestResult = kNoResult;
        return result;
    }
    return result;
}

}  // namespace

int MatchMarkersInPlay(const TGamePlay& game, std::array<bool, kMaxDiffs>& found,
                       std::array<TPoint, kMaxDiffs>& points) {
    const int diffCount = game.Puzzle.DiffsInPlay();
    points = {};
    found = {};
    for (int i = 0; i < diffCount; ++i) points[i] = JudgedPoint(game.State.Markers, i);
    return MatchMarkers(std::span(game.Puzzle.DiffRects).first(diffCount), std::span(points).first(diffCount),
                        std::span(found).first(diffCount));
}

void Judge(TGamePlay& game) {
    IPlayHost& host = game.Host;
    TPlayState& state = game.State;

    if (!game.Puzzle.Loaded) {
        host.ShowMessage(host.WelcomeText());
        return;
    }
    if (state.Paused()) return;  // judging waits for the resume
    if (!state.Running) {
        Restart(game);
        return;
    }
    state.Running = false;

    if (state.Hint.Diff >= 0) {
        state.Hint.Diff = -1;  // no hint outlives the challenge, not even behind the verdict
        ShowPlayOverlay(game);
    }

    const int diffCount = game.Puzzle.DiffsInPlay();
    std::array<TPoint, kMaxDiffs> points{};
    std::array<bool, kMaxDiffs> flags{};
    const int found = MatchMarkersInPlay(game, flags, points);
    state.LastJudgement = TJudgement{true, diffCount, found, flags, points};

    host.ShowMessage(kVerdictText);
    ViewMode result = ResultForCount(found, diffCount);
    if (result == ViewMode::AllFound) state.TimeLimit = 0;
    result = KeepBestResult(game, result);

    host.SetTimeField(kJudgedTimeFieldText);
    host.SetTimeFieldWarning(false);
    if (!ShowMode(game, result)) return;
    host.FitToPicture();
    host.SetMessageField(ScoreText(found, diffCount));
}

}  // namespace vexa
