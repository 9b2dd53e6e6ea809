// Packed DIBs and animation tables for tests, written byte by byte and apart
// from the player's own writers, so that a round trip through those still
// proves something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexa::test {

using Bytes = std::vector<std::uint8_t>;

inline void PutLe(Bytes& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct DibShape {
    std::int32_t Width = 0;
    std::int32_t Height = 0;  // negative for top-down rows
    std::uint16_t Bits = 24;
    std::uint32_t Compression = 0;
    std::uint32_t ClrUsed = 0;
    std::uint32_t HeaderSize = 40;  // biSize; the header is zero-padded to it
};

// The header, then the colour table (0xRRGGBB entries, stored blue, green,
// red, 0); the caller appends the pixels.
inline Bytes DibHeader(const DibShape& shape, const std::vector<std::uint32_t>& table = {}) {
    Bytes b(shape.HeaderSize < 40 ? 40 : shape.HeaderSize, 0);
    PutLe(b, 0, shape.HeaderSize, 4);
    PutLe(b, 4, static_cast<std::uint32_t>(shape.Width), 4);
    PutLe(b, 8, static_cast<std::uint32_t>(shape.Height), 4);
    PutLe(b, 12, 1, 2);
    PutLe(b, 14, shape.Bits, 2);
    PutLe(b, 16, shape.Compression, 4);
    PutLe(b, 32, shape.ClrUsed, 4);
    for (std::uint32_t c : table) {
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
        b.push_back(static_cast<std::uint8_t>(c >> 16));
        b.push_back(0);
    }
    return b;
}

// A 24-bit DIB whose pixel (x, y), counted from the top row, is colour(x, y)
// as 0xRRGGBB (higher bits ignored). Rows are stored bottom-up, or top-down
// with a negative height; each is padded with zeros to 4 bytes.
template <class F>
Bytes Dib24(int width, int height, F colour, bool topDown = false) {
    Bytes b = DibHeader({width, topDown ? -height : height, 24});
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    for (int k = 0; k < height; ++k) {
        const int y = topDown ? k : height - 1 - k;
        Bytes line(stride, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            line[3 * x] = static_cast<std::uint8_t>(c);
            line[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            line[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

// A 24-bit DIB of `rgb`, width * height pixels 0xRRGGBB, top row first.
inline Bytes Dib24(int width, int height, const std::vector<std::uint32_t>& rgb) {
    return Dib24(width, height, [&](int x, int y) { return rgb[static_cast<std::size_t>(y) * width + x]; });
}

// Appends one animation record: 14 bytes, seven 16-bit little-endian fields
// (command letter, source x, source y, destination x, destination y, width,
// height).
inline void AppendRecord(Bytes& table, int command, int sx, int sy, int dx, int dy, int w, int h) {
    for (int v : {command, sx, sy, dx, dy, w, h}) {
        table.push_back(static_cast<std::uint8_t>(v & 0xFF));
        table.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
}

}  // namespace vexa::test
