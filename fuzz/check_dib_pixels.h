// What the DIB fuzz target demands of every input, shared with the replay
// test of the normal build: a drawn picture has exactly width x height opaque
// pixels, a refused one leaves nothing behind.
#pragma once

#include "picture/dib_header.h"
#include "picture/dib_pixels.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace vexa::fuzz {

// Blocks claiming more pixels than this are not drawn: large pictures only
// cost time, and the reader's own tests cover its limit.
inline constexpr std::int64_t kMaxDrawnDibPixels = std::int64_t{1} << 14;

// nullptr when the reader behaved, else what went wrong.
inline const char* CheckDibPixels(const std::uint8_t* data, std::size_t size) {
    if (size >= 12) {
        const TDibHeaderFields header = ReadDibHeaderFields(data, size);
        if (std::abs(static_cast<std::int64_t>(header.Width) * header.Height) > kMaxDrawnDibPixels) return nullptr;
    }
    DibPixels pixels;
    if (!DecodeDibPixels(data, size, pixels))
        return pixels.Width != 0 || !pixels.Argb.empty() ? "a refused block left pixels" : nullptr;
    if (pixels.Width <= 0 || pixels.Height <= 0 ||
        pixels.Argb.size() != static_cast<std::size_t>(pixels.Width) * pixels.Height)
        return "a drawn picture of the wrong size";
    for (std::uint32_t p : pixels.Argb)
        if ((p >> 24) != 0xFF) return "a pixel that is not opaque";
    return nullptr;
}

}  // namespace vexa::fuzz
