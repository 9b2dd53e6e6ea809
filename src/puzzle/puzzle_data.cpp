#include "puzzle/puzzle_data.h"

#include <cstring>

namespace vexa {

TPuzzleData::TPuzzleData() { Reset(); }

void TPuzzleData::Reset(const char* title) {
    Loaded = 0;
    DiffCount = 0;
    std::memset(Title, 0, sizeof Title);
    if (title) std::strncpy(Title, title, sizeof Title - 1);
    std::memset(SectionName, 0, sizeof SectionName);
    std::strcpy(SectionName, "Kavrki");
    DiffRects.fill(TDiffRect{});
    for (int k = 0; k < kPairCount; ++k) {
        PairSizes[k] = TPairSize{};
        Block().swap(BasePictures[k]);
        Block().swap(SparePictures[k]);
    }
    // Close before the table blocks go away.
    CloseSceneTables();
    AnimatedScene = 0;
    for (int t = 0; t < kTableCount; ++t) {
        TableCounts[t] = 0;
        Block().swap(Tables[t]);
    }
}

void TPuzzleData::CloseSceneTables() {
    SceneTables.fill(nullptr);
    SceneOpen = false;
}

void TPuzzleData::OpenSceneTables(int scene) {
    CloseSceneTables();
    if (scene < 0 || scene > 3) return;
    for (int track = 0; track < kTracksPerScene; ++track) {
        const int t = scene * kTracksPerScene + track;
        if (TableCounts[t] > 0 &&
            Tables[t].size() >= static_cast<std::size_t>(TableCounts[t]) * kAnimRecordBytes)
            SceneTables[track] = &Tables[t];
    }
    AnimatedScene = scene;
    SceneOpen = true;
}

TAnimRecord TPuzzleData::SceneRecord(int track, int index) const {
    return ReadAnimRecord(SceneTables[track]->data() + static_cast<std::size_t>(index) * kAnimRecordBytes);
}

}  // namespace vexa
