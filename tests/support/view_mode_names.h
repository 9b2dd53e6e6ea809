// View modes by name in test output and logs.
#pragma once

#include "puzzle/view_mode.h"

#include <ostream>
#include <string>

namespace vexa {

inline std::string ModeName(ViewMode mode) {
    switch (mode) {
    case ViewMode::None: return "None";
    case ViewMode::OutlineScene: return "OutlineScene";
    case ViewMode::Scene: return "Scene";
    case ViewMode::FewFound: return "FewFound";
    case ViewMode::HalfFound: return "HalfFound";
    case ViewMode::AllFound: return "AllFound";
    case ViewMode::Photo: return "Photo";
    case ViewMode::OutlinePhoto: return "OutlinePhoto";
    }
    return std::to_string(ModeNumber(mode));
}

inline std::ostream& operator<<(std::ostream& out, ViewMode mode) { return out << ModeName(mode); }

}  // namespace vexa
