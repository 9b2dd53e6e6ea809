#include "play/hint.h"

#include "play/countdown.h"
#include "play/judge.h"
#include "play/marker_play.h"
#include "play/play_messages.h"
#include "play/show_mode.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

namespace vexa {

int HintTarget(const TGamePlay& game) {
    std::array<bool, kMaxDiffs> found{};
    std::array<TPoint, kMaxDiffs> points{};
    MatchMarkersInPlay(game, found, points);
    const int diffCount = game.Puzzle.DiffsInPlay();
    for (int i = 0; i < diffCount; ++i)
        if (!found[i]) return i;
    return -1;
}

bool HintOffered(const TGamePlay& game) {
    const TPlayState& state = game.State;
    if (!MarkersMayMove(game) || state.Hint.Diff >= 0) return false;
    if (state.TimeLimit != 0) {
        const long long left = static_cast<long long>(state.TimeLimit) - ElapsedSeconds(game);
        if (left <= kHintCost) return false;
    }
    return HintTarget(game) >= 0;
}

bool UseHint(TGamePlay& game, std::int64_t nowMs) {
    if (!HintOffered(game)) return false;
    TPlayState& state = game.State;
    THintState& hint = state.Hint;
    hint.Diff = HintTarget(game);
    hint.ShownAtMs = nowMs;
    hint.AgeMs = 0;
    ++hint.Used;
    if (state.TimeLimit != 0) {
        // Starting the clock earlier takes the time off whatever is left, and
        // a restart, which starts it afresh, gives it back.
        state.StartTime -= kHintCost;
        ShowClockNow(game);
    }
    game.Host.SetMessageField(HintNoteText(hint.Used));
    ShowPlayOverlay(game);
    return true;
}

bool HintTick(TGamePlay& game, std::int64_t nowMs) {
    THintState& hint = game.State.Hint;
    if (hint.Diff < 0) return false;
    const std::int64_t age = nowMs - hint.ShownAtMs;
    if (age < 0 || age >= kHintShowMs || !game.State.Running)
        hint.Diff = -1;
    else
        hint.AgeMs = age;
    ShowPlayOverlay(game);
    return hint.Diff >= 0;
}

TDiffRect HintFrame(const TDiffRect& diff, std::int64_t ageMs) {
    const std::int64_t into = std::clamp<std::int64_t>(ageMs, 0, kHintShowMs) % kHintPulseMs;
    const int margin = kHintFarMargin -
                       static_cast<int>((kHintFarMargin - kHintNearMargin) * into / kHintPulseMs);
    // Edges from a file are 16-bit, but the record holds 32: no edge may wrap.
    const auto out = [](std::int64_t edge) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(edge, std::numeric_limits<std::int32_t>::min(),
                                                                  std::numeric_limits<std::int32_t>::max()));
    };
    return TDiffRect{out(std::int64_t{std::min(diff.Left, diff.Right)} - margin),
                     out(std::int64_t{std::min(diff.Top, diff.Bottom)} - margin),
                     out(std::int64_t{std::max(diff.Left, diff.Right)} + margin),
                     out(std::int64_t{std::max(diff.Top, diff.Bottom)} + margin)};
}

std::string HintNoteText(int used) {
    char text[48];
    std::snprintf(text, sizeof text, kHintNoteFormat, used);
    return text;
}

}  // namespace vexa
