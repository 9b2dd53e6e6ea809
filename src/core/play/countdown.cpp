#include "play/countdown.h"

#include "play/judge.h"
#include "play/play_messages.h"
#include "play/show_mode.h"
#include "settings/display_options.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace vexa {

std::int32_t ElapsedSeconds(const TGamePlay& game) {
    const std::int64_t diff = game.Host.Now() - game.State.StartTime;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(diff, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

namespace {

// Shows `elapsed` in the time field and judges once the time is up.
void ShowElapsed(TGamePlay& game, std::int32_t elapsed) {
    TPlayState& state = game.State;
    state.LastShownSecond = elapsed;
    if (state.TimeLimit != 0) {
        const long long remaining = static_cast<long long>(state.TimeLimit) - elapsed;
        char text[64];
        std::snprintf(text, sizeof text, kTimeLeftFormat, remaining);
        game.Host.SetTimeField(text);
        game.Host.SetTimeFieldWarning(IsLastSeconds(remaining));
        if (remaining <= 0) Judge(game);
    } else {
        game.Host.SetTimeField(kNoTimeLimitText);
        game.Host.SetTimeFieldWarning(false);
    }
}

}  // namespace

void ShowClockNow(TGamePlay& game) { ShowElapsed(game, ElapsedSeconds(game)); }

void CountdownTick(TGamePlay& game) {
    TPlayState& state = game.State;
    IPlayHost& host = game.Host;

    // The scene under a pause or a review waits.
    if (host.IsFrameActive() && state.Over == TOverMode::None) host.AnimateStep();
    if (!state.Running) return;
    if (!game.Puzzle.Loaded) {
        // ShowMode and LoadIntoPlay never leave a challenge running on an
        // empty record; should the record be emptied some other way, there is
        // nothing left to count down for.
        state.Running = false;
        ShowPlayOverlay(game);
        return;
    }
    if (state.Paused()) return;

    const std::int32_t elapsed = ElapsedSeconds(game);
    if (elapsed == state.LastShownSecond) return;
    ShowElapsed(game, elapsed);
}

void PauseChallenge(TGamePlay& game) {
    TPlayState& state = game.State;
    if (!state.Running || state.Over != TOverMode::None) return;
    state.Over = TOverMode::Paused;
    state.PausedElapsed = ElapsedSeconds(game);
    state.PausedByMinimise = false;  // FrameMinimised says otherwise
    ShowPlayOverlay(game);
}

void ResumeChallenge(TGamePlay& game) {
    TPlayState& state = game.State;
    if (!state.Paused()) return;
    state.Over = TOverMode::None;
    state.PausedByMinimise = false;
    // The clock goes on from the elapsed time kept at the pause, however the
    // calendar clock moved (or was set) meanwhile.
    state.StartTime = game.Host.Now() - state.PausedElapsed;
    ShowPlayOverlay(game);
    if (!state.Running || !game.Puzzle.Loaded) return;
    ShowElapsed(game, state.PausedElapsed);
}

void FrameMinimised(TGamePlay& game) {
    TPlayState& state = game.State;
    if (!state.PauseOnMinimise || !state.Running || state.Over != TOverMode::None) return;
    PauseChallenge(game);
    state.PausedByMinimise = state.Paused();
}

void FrameRestored(TGamePlay& game) {
    if (game.State.Paused() && game.State.PausedByMinimise) ResumeChallenge(game);
}

void SwitchPauseOnMinimise(TGamePlay& game) {
    game.State.PauseOnMinimise = !game.State.PauseOnMinimise;
    WritePauseOnMinimise(game.SettingsPath, game.State.PauseOnMinimise);
}

void TogglePause(TGamePlay& game) {
    if (game.State.Paused())
        ResumeChallenge(game);
    else
        PauseChallenge(game);
}

}  // namespace vexa
