// Names for the three results, shown beside their numbers.
#pragma once

#include "play/match_markers.h"

namespace vexatool {

inline const char* ResultName(int result) {
    switch (result) {
        case vexa::kResultFewFound: return "few_found";    // fewer than half
        case vexa::kResultHalfFound: return "half_found";  // at least half, not all
        case vexa::kResultAllFound: return "all_found";
        default: return "unknown";
    }
}

// The picture pair whose scene is the result's screen.
inline int ResultPair(int result) { return result - vexa::kResultFewFound + 1; }

}  // namespace vexatool
