// Names for the three results, shown beside their numbers.
#pragma once

#include "puzzle/view_mode.h"

namespace vexatool {

inline const char* ResultName(vexa::ViewMode result) {
    switch (result) {
        case vexa::ViewMode::FewFound: return "few_found";    // fewer than half
        case vexa::ViewMode::HalfFound: return "half_found";  // at least half, not all
        case vexa::ViewMode::AllFound: return "all_found";
        default: return "unknown";
    }
}

}  // namespace vexatool
