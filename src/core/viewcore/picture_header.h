// What the view reads from a packed DIB header to size its offscreen pictures
// and build their palettes; the header itself is read by picture/dib_header.h.
#pragma once

#include "picture/dib_header.h"

#include <cstddef>
#include <cstdint>

namespace vexa {

// Offset of colour table entry i (always after a 40-byte header).
inline std::size_t ColorTableEntryOffset(unsigned i) { return 40 + std::size_t{4} * i; }

// True when an offscreen picture of width x height may be made: neither
// negative and at most kMaxPicturePixels pixels. Computed in 64 bits.
bool OffscreenSizeAllowed(std::int64_t width, std::int64_t height);

// Size of the offscreen picture for a block: its biWidth by the magnitude of
// its biHeight (top-down blocks have a negative height).
std::int64_t OffscreenHeightOf(const TDibHeaderFields& header);

}  // namespace vexa
