// What the decoder fuzz target demands of every input, shared with the replay
// test of the normal build: the result is one of the decoder's codes, and the
// bitmap is empty or a whole packed DIB of the size its header gives.
#pragma once

#include "fuzz_limits.h"
#include "jpeg/decode_jpeg.h"
#include "picture/dib_header.h"

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
    const TDibHeaderFields header = ReadDibHeaderFields(bitmap.data(), bitmap.size());
    const std::int64_t width = header.Width, height = header.Height;
    if (header.Size != kDibHeaderBytes) return "a bitmap header of the wrong size";
    if (width < 0 || height < 0) return "a bitmap of a negative size";
    const auto stride = static_cast<std::int64_t>(DibStride(static_cast<std::uint64_t>(width), 24));
    if (static_cast<std::int64_t>(bitmap.size()) != (height + 15) * stride + kDibHeaderBytes)
        return "a bitmap of the wrong size";
    if (!PictureSizeAllowed(width, height)) return "a bitmap above the pixel limit";
    return nullptr;
}

}  // namespace vexa::fuzz
