#include "play/judge.h"

#include <algorithm>
#include <array>

namespace vexa {

namespace {

void Restart(TGamePlay& game) {
    IPlayHost& host = game.Host;
    host.ShowMessage(kRetryText);
    game.State.StartTime = host.Now();
    host.SwitchMode(kModeScene);
    host.ShowMarkers(true);
    const bool shown = host.CurrentMode() != kModeNone;
    if (shown) host.FitToPicture();
    // A failed switch has emptied the record: nothing to count down for.
    game.State.Running = (shown && game.Puzzle.Loaded) ? 1 : 0;
}

// Lets a result below an earlier complete solution stand, show the complete
// screen again, or erase the record, as the user chooses.
int KeepBestResult(TGamePlay& game, int result) {
    TResultState& record = game.State.Result;
    const char* section = game.Side.CurrentSection;
    if (result > record.BestResult) {
        record.BestResult = result;
        WriteResultRecord(game.SettingsPath, section, record);  // a failed write is not reported
        return result;
    }
    if (record.BestResult != kResultAllFound || result == kResultAllFound) return result;

    IPlayHost& host = game.Host;
    if (!host.IsRightButtonHeld() && !host.IsShiftHeld()) return kResultAllFound;
    switch (host.AskYesNoCancel(kAllFoundBeforeQuestion)) {
    case TAnswer::Yes:
        return kResultAllFound;
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

void Judge(TGamePlay& game) {
    IPlayHost& host = game.Host;
    TPlayState& state = game.State;

    if (!game.Puzzle.Loaded) {
        host.ShowMessage(host.WelcomeText());
        return;
    }
    if (!state.Running) {
        Restart(game);
        return;
    }
    state.Running = 0;

    const int diffCount = std::clamp<int>(game.Puzzle.DiffCount, 0, kMaxDiffs);
    const TJudgePoint scroll = host.ScrollPosition();
    std::array<TJudgePoint, kMaxDiffs> points{};
    for (int i = 0; i < diffCount; ++i) {
        const TJudgePoint corner = host.MarkerPosition(i);
        points[i] = {corner.X + scroll.X + 10, corner.Y + scroll.Y + 10};
    }
    const int found = MatchMarkers(std::span(game.Puzzle.DiffRects).first(diffCount),
                                   std::span(points).first(diffCount));

    host.ShowMessage(kVerdictText);
    int result = ResultForCount(found, diffCount);
    if (result == kResultAllFound) state.TimeLimit = 0;
    game.Side.CurrentSection[sizeof game.Side.CurrentSection - 1] = '\0';
    result = KeepBestResult(game, result);

    host.SetTimeField(kJudgedTimeFieldText);
    host.SwitchMode(result);
    if (host.CurrentMode() != kModeNone) host.FitToPicture();
}

}  // namespace vexa
