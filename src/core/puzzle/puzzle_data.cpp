#include "puzzle/puzzle_data.h"

#include <cstring>

namespace vexa {

TPuzzleData::TPuzzleData() { Reset(); }

void TPuzzleData::Reset() {
    Loaded = 0;
    DiffCount = 0;
    std::memset(Title, 0, sizeof Title);
    std::memset(SectionName, 0, sizeof SectionName);
    std::strcpy(SectionName, "Kavrki");
    DiffRects.fill(TDiffRect{});
    for (int k = 0; k < kPairCount; ++k) {
        PairSizes[k] = TPairSize{};
        Block().swap(BasePictures[k]);
        Block().swap(SparePictures[k]);
    }
    for (int t = 0; t < kTableCount; ++t) {
        TableCounts[t] = 0;
        Block().swap(Tables[t]);
    }
}

}  // namespace vexa
