// What the last judgement found, kept for the review of a result screen.
#pragma once

#include "puzzle/puzzle_data.h"

#include <array>

namespace vexa {

struct TJudgement {
    bool Valid = false;  // a judgement was made since the last load or restart
    int DiffCount = 0;   // rectangles (and markers) in play when it was made
    int FoundCount = 0;
    std::array<bool, kMaxDiffs> Found{};     // per rectangle
    std::array<TPoint, kMaxDiffs> Points{};  // judged marker points, picture coordinates
};

}  // namespace vexa
