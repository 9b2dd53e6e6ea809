// What the view reads from a packed DIB header to size its offscreen
// pictures; the header itself is read by picture/dib_header.h, and whether a
// size may be made at all is PictureSizeAllowed (picture/picture_limits.h).
#pragma once

#include "picture/dib_header.h"

#include <cstdint>

namespace vexa {

// Height of the offscreen picture for a block: the magnitude of its biHeight
// (top-down blocks have a negative height); its width is biWidth.
inline std::int64_t OffscreenHeightOf(const TDibHeaderFields& header) {
    const std::int64_t h = header.Height;
    return h < 0 ? -h : h;
}

}  // namespace vexa
