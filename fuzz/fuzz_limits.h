// The picture sizes the fuzz targets decode. Pictures above the player's
// limit (kMaxPicturePixels) are tried like any others: they must be refused
// before any memory is taken, which costs nothing. Pictures below it but
// larger than kMaxFuzzedPixels are passed over: under the sanitizers and the
// coverage feedback each of their pixels costs time, and they reach no code
// a small picture does not (the limit itself has its own tests).
#pragma once

#include "picture/picture_limits.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vexa::fuzz {

inline constexpr std::int64_t kMaxFuzzedPixels = std::int64_t{1} << 14;

// True when some frame header (FF C0) in the bytes claims a picture between
// kMaxFuzzedPixels and the player's limit. Every FF C0 counts, wherever it
// stands, so no picture the decoder might make is missed.
inline bool ClaimsCostlyPicture(const std::uint8_t* data, std::size_t size) {
    const auto at = [&](std::size_t i) -> std::int64_t { return i < size ? data[i] : 0; };
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (data[i] != 0xFF || data[i + 1] != 0xC0) continue;
        const std::int64_t pixels = (at(i + 5) << 8 | at(i + 6)) * (at(i + 7) << 8 | at(i + 8));
        if (pixels > kMaxFuzzedPixels && pixels <= kMaxPicturePixels) return true;
    }
    return false;
}

}  // namespace vexa::fuzz
