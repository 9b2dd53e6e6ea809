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

// Returns false, leaving `out` empty, when the block cannot be drawn: a header
// that is malformed, unsupported, too large, or claims more than the block holds.
bool DecodeDibPixels(const std::uint8_t* data, std::size_t size, DibPixels& out);

}  // namespace vexa
