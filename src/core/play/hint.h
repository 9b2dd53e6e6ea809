// Hints: during a running challenge a frame comes up around one difference
// that no marker covers yet, for about two seconds, at the cost of time left.
// The frame's animation is asked for by the window's own fast timer
// (HintTick), with the milliseconds of a steady clock.
#pragma once

#include "play/play_state.h"

#include <cstdint>
#include <string>

namespace vexa {

// Seconds a hint takes from the time left; with this many or fewer left no
// hint is offered. A retry without a time limit pays nothing.
inline constexpr std::int32_t kHintCost = 30;
// How long the frame shows, and how it moves: it closes in from
// kHintFarMargin to kHintNearMargin pixels around the difference once per
// pulse. The line is centred on the frame, so nothing is drawn further than
// kHintFarMargin + kHintThickness / 2 from the difference (well within 40).
inline constexpr std::int64_t kHintShowMs = 2000;
inline constexpr std::int64_t kHintPulseMs = 500;
inline constexpr int kHintFarMargin = 34;
inline constexpr int kHintNearMargin = 6;
inline constexpr int kHintThickness = 4;

// The difference a hint marks: the first, in the puzzle's order, that the
// markers do not cover as judging would count them now; -1 when they cover
// every one.
int HintTarget(const TGamePlay& game);

// A hint is offered while markers may move (a running challenge on the
// photo, neither paused nor under review), no frame shows yet, some
// difference is uncovered and, with a time limit, more than kHintCost
// seconds are left.
bool HintOffered(const TGamePlay& game);

// The hint command at `nowMs`: when offered, counts the hint, takes
// kHintCost seconds off the clock (none without a time limit) and shows the
// time left at once, puts "ヒント N回" in the message field and brings up the
// frame. Markers and the best result are left alone. Returns whether a hint
// was given.
bool UseHint(TGamePlay& game, std::int64_t nowMs);

// Moves the frame's animation on to `nowMs` and hands the view the overlay;
// the frame goes once kHintShowMs have passed (or the clock went back), or
// when no challenge runs. Returns whether it still shows, so the caller knows
// when to stop ticking.
bool HintTick(TGamePlay& game, std::int64_t nowMs);

// The frame around `diff` after `ageMs` of its animation, in picture
// coordinates; the rectangle's edges are put in order first.
TDiffRect HintFrame(const TDiffRect& diff, std::int64_t ageMs);

// "ヒント N回".
std::string HintNoteText(int used);

}  // namespace vexa
