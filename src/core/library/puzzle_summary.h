// What the puzzle list shows of one file: its texts, the number of
// differences and a small picture of its photo, or why it does not load.
#pragma once

#include "puzzle/load_error.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vexa {

// Thumbnails fit this box, keeping the picture's proportions (a 4:3 photo
// becomes 128 x 96).
inline constexpr int kThumbnailBox = 128;

// Packed 8-bit RGB, top row first; empty when there is no picture.
struct TThumbnail {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb;
    bool Empty() const { return Width <= 0 || Height <= 0; }
    friend bool operator==(const TThumbnail&, const TThumbnail&) = default;
};

struct TPuzzleSummary {
    TLoadError Error = TLoadError::None;  // None: the file loads as far as it was read
    std::string Title;                    // Shift-JIS bytes, as stored
    std::string Section;                  // the settings section its result is kept under
    int DiffCount = 0;                    // 0 for a count of 0 or below
    TThumbnail Thumbnail;                 // the photo (pair 4); empty when it cannot be drawn
    friend bool operator==(const TPuzzleSummary&, const TPuzzleSummary&) = default;
};

// Reads `path` as loading does, but decodes only the photo's base picture:
// the other pictures are checked for their lengths and the picture budget and
// dropped. A file that fails to load gives its load error and nothing else.
TPuzzleSummary ReadPuzzleSummary(const std::string& path);

// Scales `argb` (0xFFRRGGBB, top row first) to fit kThumbnailBox, averaging
// the source pixels that each thumbnail pixel covers.
TThumbnail MakeThumbnail(const std::uint32_t* argb, int width, int height);

}  // namespace vexa
