// What the loader fuzz target demands of every input, shared with the replay
// test of the normal build: the loader gives one of its messages or a loaded
// record, the pictures stay within the budget, every loaded DIB is drawn or
// refused in bounds, and a loaded puzzle written back loads to the same bytes
// again.
#pragma once

#include "fuzz_limits.h"
#include "puzzle/puzzle_file.h"
#include "puzzle/puzzle_writer.h"
#include "picture/dib_header.h"
#include "picture/dib_pixels.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vexa::fuzz {

// Pictures claiming more pixels than this are not drawn: they only cost time,
// and the reader's own tests cover its limit.
inline constexpr std::int64_t kMaxDrawnPuzzlePixels = std::int64_t{1} << 20;

// nullptr when the loader behaved, else what went wrong.
inline const char* CheckLoadPuzzle(const std::uint8_t* data, std::size_t size) {
    if (ClaimsCostlyPicture(data, size)) return nullptr;
    TPuzzleData record;
    TPuzzleSideValues side;
    TPictureSources sources;
    const TLoadError error = LoadPuzzleBytes(record, side, data, size, &sources);
    if (record.DiffCount > kMaxDiffs) return "more rectangles than the record holds";
    if (error != TLoadError::None) {
        if (error != TLoadError::BadData && error != TLoadError::DiskError && error != TLoadError::NoMemory)
            return "an unknown error";
        return record.Loaded != 0 ? "a failed load marked loaded" : nullptr;
    }
    if (record.Loaded != 1) return "a load without Loaded";
    if (::strnlen(record.Title, sizeof record.Title) == sizeof record.Title ||
        ::strnlen(record.SectionName, sizeof record.SectionName) == sizeof record.SectionName ||
        ::strnlen(side.ExtraText, sizeof side.ExtraText) == sizeof side.ExtraText)
        return "a text without its terminator";
    std::int64_t pictureBytes = 0;
    for (int i = 0; i < kPictureCount; ++i) {
        const Block& block = PictureOf(record, i);
        pictureBytes += static_cast<std::int64_t>(block.size());
        if (block.size() >= 12) {
            const TDibHeaderFields header = ReadDibHeaderFields(block.data(), block.size());
            if (std::abs(static_cast<std::int64_t>(header.Width) * header.Height) > kMaxDrawnPuzzlePixels) continue;
        }
        DibPixels pixels;
        if (DecodeDibPixels(block.data(), block.size(), pixels) &&
            pixels.Argb.size() != static_cast<std::size_t>(pixels.Width) * pixels.Height)
            return "a drawn picture of the wrong size";
    }
    if (pictureBytes > kMaxPuzzlePictureBytes) return "pictures above the budget";

    const std::vector<std::uint8_t> written = SerializePuzzle(record, side, sources);
    TPuzzleData again;
    TPuzzleSideValues side2;
    TPictureSources sources2;
    if (LoadPuzzleBytes(again, side2, written.data(), written.size(), &sources2) != TLoadError::None)
        return "a written puzzle does not load";
    if (SerializePuzzle(again, side2, sources2) != written) return "a written puzzle loads differently";
    return nullptr;
}

}  // namespace vexa::fuzz
