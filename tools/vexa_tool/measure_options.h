// The options that `diff` and `check` share for what counts as a change.
#pragma once

#include "authoring/change_measure.h"

#include <string>

namespace vexatool {

enum class OptionUse { NotOurs, Taken, Bad };

// Takes --tolerance, --min-area, --join (and --margin when `margin` is given)
// at argv[i], moving i past its value; on Bad, `problem` says why.
OptionUse TakeMeasureOption(int argc, char** argv, int& i, vexa::authoring::MeasureSettings& settings, int* margin,
                            std::string& problem);

}  // namespace vexatool
