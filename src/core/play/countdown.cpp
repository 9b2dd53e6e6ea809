#include "play/countdown.h"

#include "play/judge.h"
#include "play/play_messages.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace vexa {

void CountdownTick(TGamePlay& game) {
    TPlayState& state = game.State;
    IPlayHost& host = game.Host;

    if (host.IsFrameActive()) host.AnimateStep();
    if (!state.Running) return;
    if (!game.Puzzle.Loaded) {
        // ShowMode and LoadIntoPlay never leave a challenge running on an
        // empty record; should the record be emptied some other way, there is
        // nothing left to count down for.
        state.Running = 0;
        return;
    }

    // A clock set far back or forward saturates instead of wrapping.
    const std::int64_t diff = host.Now() - state.StartTime;
    const auto elapsed = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(diff, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
    if (elapsed == state.LastShownSecond) return;
    state.LastShownSecond = elapsed;

    if (state.TimeLimit != 0) {
        const long long remaining = static_cast<long long>(state.TimeLimit) - elapsed;
        char text[64];
        std::snprintf(text, sizeof text, kTimeLeftFormat, remaining);
        host.SetTimeField(text);
        if (remaining <= 0) Judge(game);
    } else {
        host.SetTimeField(kNoTimeLimitText);
    }
}

}  // namespace vexa
