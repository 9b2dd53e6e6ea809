#include "view/core/picture_header.h"

namespace vexa {

namespace {
std::uint32_t ReadU32(const std::uint8_t* data, std::size_t size, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
        if (at + k < size) v |= std::uint32_t{data[at + k]} << (8 * k);
    return v;
}
}  // namespace

TDibHeaderFields ReadDibHeaderFields(const std::uint8_t* data, std::size_t size) {
    if (!data) size = 0;
    TDibHeaderFields h;
    h.Size = ReadU32(data, size, 0);
    h.Width = static_cast<std::int32_t>(ReadU32(data, size, 4));
    h.Height = static_cast<std::int32_t>(ReadU32(data, size, 8));
    h.BitCount = static_cast<std::uint16_t>(ReadU32(data, size, 14) & 0xFFFF);
    h.ClrUsed = ReadU32(data, size, 32);
    return h;
}

std::uint16_t ColorCount(const TDibHeaderFields& header) {
    const auto used = static_cast<std::uint16_t>(header.ClrUsed & 0xFFFF);
    if (used != 0) return used;
    switch (header.BitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

bool OffscreenSizeAllowed(std::int64_t width, std::int64_t height) {
    if (width < 0 || height < 0) return false;
    // Both fit in 32 bits here, so the product cannot overflow 64 bits.
    if (width > INT32_MAX || height > INT32_MAX) return false;
    return width * height <= kMaxOffscreenPixels;
}

std::int64_t OffscreenHeightOf(const TDibHeaderFields& header) {
    const std::int64_t h = header.Height;
    return h < 0 ? -h : h;
}

}  // namespace vexa
