// The 100 ms timer tick of game play, and pausing the clock.
#pragma once

#include "play/play_state.h"

#include <cstdint>

namespace vexa {

// The time field turns red once this many seconds or fewer are left.
inline constexpr long long kLastSeconds = 30;
constexpr bool IsLastSeconds(long long remaining) { return remaining <= kLastSeconds; }

// Seconds since the running challenge's start by the calendar clock (a
// clock set far back or forward saturates instead of wrapping).
std::int32_t ElapsedSeconds(const TGamePlay& game);

// Shows the time field for the elapsed time now, at once, and judges when
// the time is up: for a change of the clock other than its own running.
void ShowClockNow(TGamePlay& game);

// Advances the scene animation while the frame is active, then, while a
// challenge runs and is not paused, shows the seconds left whenever the
// elapsed calendar second changes and judges once the time is up. Ticks lost
// to a modal loop are caught up, since the countdown reads the clock.
void CountdownTick(TGamePlay& game);

// Pauses a running challenge: the elapsed time is kept and the view hides the
// pictures and markers. Does nothing when no challenge runs or it is paused.
void PauseChallenge(TGamePlay& game);
// Goes on from the elapsed time kept at the pause (a time limit crossed or a
// clock set back meanwhile changes nothing), shows the pictures again and
// shows the time field at once; judges when the time was already up.
void ResumeChallenge(TGamePlay& game);
// The pause command: PauseChallenge, or ResumeChallenge while paused.
void TogglePause(TGamePlay& game);

// The frame was minimised: pauses a running challenge when PauseOnMinimise
// is on. Otherwise the countdown runs on and still judges.
void FrameMinimised(TGamePlay& game);
// The frame came back from being minimised: a challenge that minimising
// paused goes on by itself; a pause the user chose stays.
void FrameRestored(TGamePlay& game);
// 最小化で一時停止: switches PauseOnMinimise and keeps the choice in the
// display options (a failed save is ignored; the choice holds for the run).
void SwitchPauseOnMinimise(TGamePlay& game);

// The pause command is enabled while a challenge runs.
inline bool PauseEnabled(const TGamePlay& game) { return game.State.Running; }

}  // namespace vexa
