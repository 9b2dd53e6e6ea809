// The few fields of a packed DIB header that the view reads to size its
// offscreen pictures and build their palettes. Bytes beyond the block read as
// zero, so a short block never causes an out-of-bounds read.
#pragma once

#include "view/core/picture_limits.h"

#include <cstddef>
#include <cstdint>

namespace vexa {

struct TDibHeaderFields {
    std::uint32_t Size = 0;      // biSize
    std::int32_t Width = 0;      // biWidth
    std::int32_t Height = 0;     // biHeight; negative for top-down rows
    std::uint16_t BitCount = 0;  // biBitCount
    std::uint32_t ClrUsed = 0;   // biClrUsed
};

TDibHeaderFields ReadDibHeaderFields(const std::uint8_t* data, std::size_t size);

// Colour count: the low 16 bits of biClrUsed when non-zero, else 2, 16 or 256
// for 1, 4 or 8 bits per pixel, else 0.
std::uint16_t ColorCount(const TDibHeaderFields& header);

// Offset of colour table entry i (always after a 40-byte header).
inline std::size_t ColorTableEntryOffset(unsigned i) { return 40 + std::size_t{4} * i; }

// Largest offscreen picture the view makes.
inline constexpr std::int64_t kMaxOffscreenPixels = kMaxPicturePixels;

// True when a picture of width x height may be made: neither negative and
// at most kMaxOffscreenPixels pixels. Computed in 64 bits.
bool OffscreenSizeAllowed(std::int64_t width, std::int64_t height);

// Size of the offscreen picture for a block: its biWidth by the magnitude of
// its biHeight (top-down blocks have a negative height).
std::int64_t OffscreenHeightOf(const TDibHeaderFields& header);

}  // namespace vexa
