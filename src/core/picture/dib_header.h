// The header of a packed device-independent bitmap (a BITMAPINFOHEADER of 40
// bytes or more, then the colour table and the pixel rows; no file header):
// reading its fields, writing one, and the sizes that follow from it.
#pragma once

#include "picture/picture_limits.h"

#include <cstddef>
#include <cstdint>

namespace vexa {

inline constexpr int kDibHeaderBytes = 40;

// biCompression values.
inline constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

struct TDibHeaderFields {
    std::uint32_t Size = 0;         // biSize
    std::int32_t Width = 0;         // biWidth
    std::int32_t Height = 0;        // biHeight; negative for top-down rows
    std::uint16_t BitCount = 0;     // biBitCount
    std::uint32_t Compression = 0;  // biCompression
    std::uint32_t ClrUsed = 0;      // biClrUsed
};

// The header's fields. Bytes beyond the block read as zero, so a short block
// never causes an out-of-bounds read.
TDibHeaderFields ReadDibHeaderFields(const std::uint8_t* data, std::size_t size);

// Writes the 40-byte header of an uncompressed picture at `out`: one plane,
// biSizeImage = stride x height, resolutions and important colours 0.
void WriteDibHeader(std::uint8_t* out, std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                    std::uint32_t clrUsed = 0);

// Colour count: the low 16 bits of biClrUsed when non-zero, else 2, 16 or 256
// for 1, 4 or 8 bits per pixel, else 0.
std::uint16_t ColorCount(const TDibHeaderFields& header);

// Bytes in one row of `width` pixels of `bitCount` bits, raised to a multiple
// of 4. In 64 bits, so that no 32-bit width overflows it.
constexpr std::uint64_t DibStride(std::uint64_t width, unsigned bitCount) { return (width * bitCount + 31) / 32 * 4; }

}  // namespace vexa
