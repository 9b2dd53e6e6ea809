// What the decoder fuzz target demands of every input, shared with the replay
// test of the normal build: the result is one of the decoder's codes, and the
// bitmap is empty or a whole packed DIB of the size its header gives.
#pragma once

#include "fuzz_limits.h"
#include "jpeg/decode_jpeg.h"
#include "picture/picture_limits.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexa::fuzz {

// Inputs above this size are not tried; the decoder's cost grows with them
// and nothing new is reached.
inline constexpr std::size_t kMaxJpegInput = std::size_t{1} << 20;

// nullptr when the decoder behaved, else what went wrong.
inline const char* CheckDecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxJpegInput || ClaimsCostlyPicture(data, size)) return nullptr;
    std::vector<std::uint8_t> bitmap{1, 2, 3};  // must come back cleared or replaced
    const int result = DecodeJpegToDib(bitmap, data, static_cast<std::int32_t>(size));
    switch (result) {
        case DecodeOk: break;
        case DecodeBadStream:
        case DecodeUnsupported:
        case DecodeNoMemory:
            return bitmap.empty() ? nullptr : "a bitmap is left after a failure";
        default: return "an unknown result code";
    }
    if (bitmap.empty()) return nullptr;
    if (bitmap.size() < 40) return "a bitmap shorter than its header";
    const auto field = [&](int at) {
        return static_cast<std::int64_t>(bitmap[at] | bitmap[at + 1] << 8 | bitmap[at + 2] << 16 |
                                         static_cast<std::uint32_t>(bitmap[at + 3]) << 24);
    };
    const std::int64_t width = field(4), height = field(8);
    const std::int64_t stride = (3 * width + 3) & ~std::int64_t{3};
    if (field(0) != 40) return "a bitmap header of the wrong size";
    if (static_cast<std::int64_t>(bitmap.size()) != (height + 15) * stride + 40) return "a bitmap of the wrong size";
    if (width * height > kMaxPicturePixels) return "a bitmap above the pixel limit";
    return nullptr;
}

}  // namespace vexa::fuzz
