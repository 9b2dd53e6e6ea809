// Turns a packed device-independent bitmap (40-byte info header or larger,
// colour table, pixel rows; no file header) into plain 32-bit pixels, checking
// every offset against the block.
#pragma once

#include "view/core/picture_limits.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexa {

struct DibPixels {
    int Width = 0;   // pixels
    int Height = 0;  // pixels (positive; top-down and bottom-up rows both end up top-down here)
    int BitCount = 0;
    std::vector<std::uint32_t> Argb;  // Width * Height pixels, top row first, 0xFFRRGGBB
};

// Largest picture (in pixels) a block may claim before it is refused.
inline constexpr std::int64_t kMaxDibPixels = kMaxPicturePixels;

enum class TDibDecode {
    Drawn,      // `out` holds the pixels
    Nothing,    // a form no drawing supports (compression, bit count), a zero
                // or negative size, or too many pixels: nothing to draw
    TooShort,   // the block holds less than its header claims (header, colour
                // table, masks or rows): refused
};

// Decodes the block into `out`; `out` stays empty unless the result is Drawn.
TDibDecode DecodeDib(const std::uint8_t* data, std::size_t size, DibPixels& out);

// DecodeDib(...) == Drawn.
bool DecodeDibPixels(const std::uint8_t* data, std::size_t size, DibPixels& out);

}  // namespace vexa
