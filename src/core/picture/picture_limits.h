// The largest picture the player handles. The view cannot show more, so the
// decoder refuses to make more and the loader refuses to hold more.
#pragma once

#include <cstdint>

namespace vexa {

// 4096 x 4096 pixels, whatever the shape.
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{4096} * 4096;

// True when a picture of width x height may be made: neither negative nor
// above 32 bits, and at most kMaxPicturePixels pixels. Computed in 64 bits.
constexpr bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
    if (width < 0 || height < 0) return false;
    // Both fit in 32 bits here, so the product cannot overflow 64 bits.
    if (width > INT32_MAX || height > INT32_MAX) return false;
    return width * height <= kMaxPicturePixels;
}

}  // namespace vexa
