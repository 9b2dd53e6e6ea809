// The one in-memory puzzle record, filled by the loader and emptied by Reset.
#pragma once

#include "puzzle/anim_record.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vexa {

// A memory block owned by the record: a packed DIB or an animation table.
// Empty means "no block".
using Block = std::vector<std::uint8_t>;

struct TDiffRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// A point in pixels: of the picture (where markers lie and differences are
// judged), or of the view's client area where the pointer is.
struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TPairSize {
    std::int16_t Width = 0, Height = 0;
};

constexpr int kMaxDiffs = 10;
constexpr int kTableCount = 20;
constexpr int kPairCount = 5;
constexpr int kTracksPerScene = 5;

// What a puzzle file holds. Which scene is animated, and where, is the
// view's business (TSceneTracks).
struct TPuzzleData {
    std::int16_t DiffCount = 0;
    std::array<TDiffRect, kMaxDiffs> DiffRects{};
    std::array<std::int16_t, kTableCount> TableCounts{};
    std::array<Block, kTableCount> Tables;
    char Title[52] = {};
    char SectionName[52] = {};
    std::array<TPairSize, kPairCount> PairSizes{};
    std::array<Block, kPairCount> BasePictures;
    std::array<Block, kPairCount> SparePictures;
    std::int16_t Loaded = 0;

    TPuzzleData();  // empty record, as after Reset()
    ~TPuzzleData() = default;
    TPuzzleData(const TPuzzleData&) = delete;
    TPuzzleData& operator=(const TPuzzleData&) = delete;

    // Empties the record and releases every block.
    void Reset();

    // The differences (and markers) in play: DiffCount, which comes from the
    // file, within 0..kMaxDiffs.
    int DiffsInPlay() const { return DiffCount < 0 ? 0 : DiffCount > kMaxDiffs ? kMaxDiffs : DiffCount; }
};

// Values read from the puzzle file that live beside the record; Reset leaves them.
struct TPuzzleSideValues {
    char CurrentSection[81] = {};
    char ExtraText[81] = {};
    std::int16_t ExtraValue1 = 0;
    std::int16_t ExtraValue2 = 0;
};

// The section name as a C string: the buffer's last byte is made its end, so
// a name that fills the buffer cannot run past it.
inline const char* CurrentSection(TPuzzleSideValues& side) {
    side.CurrentSection[sizeof side.CurrentSection - 1] = '\0';
    return side.CurrentSection;
}

}  // namespace vexa
