// Turns a packed device-independent bitmap (40-byte info header or larger,
// colour table, pixel rows; no file header) into plain 32-bit pixels, checking
// every offset against the block.
#pragma once

#include "picture/dib_header.h"

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

enum class TDibDecode {
    Drawn,      // `out` holds the pixels
    Nothing,    // a form no drawing supports (compression, bit count), a zero
                // or negative size, or more pixels than PictureSizeAllowed
                // permits: nothing to draw
    TooShort,   // the block holds less than its header claims (header, colour
                // table, masks or rows): refused
};

// Decodes the block into `out`; `out` stays empty unless the result is Drawn.
TDibDecode DecodeDib(const std::uint8_t* data, std::size_t size, DibPixels& out);

// DecodeDib(...) == Drawn.
bool DecodeDibPixels(const std::uint8_t* data, std::size_t size, DibPixels& out);

}  // namespace vexa
