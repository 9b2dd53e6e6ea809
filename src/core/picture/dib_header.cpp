#include "picture/dib_header.h"

namespace vexa {

namespace {

std::uint32_t ReadU32(const std::uint8_t* data, std::size_t size, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
        if (at + k < size) v |= std::uint32_t{data[at + k]} << (8 * k);
    return v;
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

TDibHeaderFields ReadDibHeaderFields(const std::uint8_t* data, std::size_t size) {
    if (!data) size = 0;
    TDibHeaderFields h;
    h.Size = ReadU32(data, size, 0);
    h.Width = static_cast<std::int32_t>(ReadU32(data, size, 4));
    h.Height = static_cast<std::int32_t>(ReadU32(data, size, 8));
    h.BitCount = static_cast<std::uint16_t>(ReadU32(data, size, 14) & 0xFFFF);
    h.Compression = ReadU32(data, size, 16);
    h.ClrUsed = ReadU32(data, size, 32);
    return h;
}

void WriteDibHeader(std::uint8_t* out, std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                    std::uint32_t clrUsed) {
    const std::uint64_t rows = height < 0 ? -std::int64_t{height} : height;
    const std::uint64_t stride = DibStride(static_cast<std::uint32_t>(width), bitCount);
    for (int i = 0; i < kDibHeaderBytes; ++i) out[i] = 0;
    Put32(out + 0, kDibHeaderBytes);                     // biSize
    Put32(out + 4, static_cast<std::uint32_t>(width));   // biWidth
    Put32(out + 8, static_cast<std::uint32_t>(height));  // biHeight
    out[12] = 1;                                         // biPlanes
    out[14] = static_cast<std::uint8_t>(bitCount);       // biBitCount
    out[15] = static_cast<std::uint8_t>(bitCount >> 8);
    Put32(out + 20, static_cast<std::uint32_t>(stride * rows));  // biSizeImage; biCompression stays BI_RGB
    Put32(out + 32, clrUsed);                                    // biClrUsed
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

}  // namespace vexa
