#include "puzzle/picture_budget.h"

#include "picture/dib_header.h"

#include <algorithm>
#include <cstring>

namespace vexa {

std::int64_t JpegBitmapBytesBound(const std::uint8_t* stream, std::size_t count) {
    if (stream == nullptr) return 0;
    // The decoder only reads a frame header where its marker walk meets the
    // bytes FF C0, and it reads bytes past the end as zero. Looking at every
    // FF C0 in the stream is cheaper than repeating the walk and cannot miss
    // the one the decoder will use.
    const auto at = [&](std::size_t i) -> std::uint32_t { return i < count ? stream[i] : 0; };
    std::int64_t bound = 0;
    const std::uint8_t* p = stream;
    const std::uint8_t* const end = stream + count;
    while (p < end) {
        p = static_cast<const std::uint8_t*>(std::memchr(p, 0xFF, static_cast<std::size_t>(end - p)));
        if (p == nullptr) break;
        const std::size_t i = static_cast<std::size_t>(p - stream);
        ++p;
        if (at(i + 1) != 0xC0) continue;
        // Length (2 bytes) and precision come first.
        const std::int64_t height = at(i + 5) << 8 | at(i + 6);
        const std::int64_t width = at(i + 7) << 8 | at(i + 8);
        if (!PictureSizeAllowed(width, height)) continue;
        const auto stride = static_cast<std::int64_t>(DibStride(static_cast<std::uint64_t>(width), 24));
        // Sized as the decoder's bitmap block: 15 spare rows for the last MCU row.
        bound = std::max(bound, (height + 15) * stride + kDibHeaderBytes);
    }
    return bound;
}

}  // namespace vexa
