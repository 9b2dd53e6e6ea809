// The review of a judgement: the photo with every difference marked as found
// or missed, reached from a result screen and left back to it; and the score
// shown after judging.
#pragma once

#include "play/play_state.h"

#include <string>

namespace vexa {

// "見つけた数 N / M": `found` of `count` differences.
std::string ScoreText(int found, int count);

// The review can be shown or left: a puzzle is loaded, no challenge runs, the
// last judgement is known, and its result screen or the review is shown.
bool ReviewEnabled(const TGamePlay& game);

// From a result screen shows the review and puts the score in the message
// field; from the review returns to the result screen, whose animation
// starts again. Does nothing while ReviewEnabled is false. Writes nothing to
// the settings file.
void ToggleReview(TGamePlay& game);

}  // namespace vexa
