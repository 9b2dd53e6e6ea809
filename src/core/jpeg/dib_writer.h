// The decoder's output: a packed 24-bit bottom-up device-independent bitmap,
// and the writers that put one MCU of samples into it.
#pragma once

#include "picture/dib_header.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vexa::jpeg {

// Row stride of a 24-bit picture: 3 bytes a pixel, raised to a multiple of 4.
inline std::int32_t DibStride(std::uint16_t width) { return static_cast<std::int32_t>(vexa::DibStride(width, 24)); }

// Sizes `bitmap` to (height + 15) rows of the stride plus the header, all
// zero, and writes the BITMAPINFOHEADER. Returns false, leaving `bitmap`
// empty, when the picture is too large or the memory cannot be had.
// With a `spare` buffer large enough, that buffer becomes the bitmap and the
// picture's pixels keep whatever it held (everything else is zeroed): the
// caller then writes every pixel, or zeroes the ones it does not write.
bool CreateDibBlock(std::vector<std::uint8_t>& bitmap, std::uint16_t width, std::uint16_t height,
                    std::vector<std::uint8_t>* spare = nullptr);

// limit(): 16x fixed point to a byte, 0 below 0 and 255 from 4096 up.
inline std::uint8_t LimitSample(std::int32_t t) {
    t >>= 4;
    return static_cast<std::uint8_t>(t < 0 ? 0 : t > 255 ? 255 : t);
}

// Writes `cols` x `rows` pixels of one grey block. `dst` is the MCU's
// top-left pixel; the next row down lies `stride` bytes lower in memory.
void WriteGrayMcu(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows);

// Writes `cols` x `rows` pixels of a colour MCU of the given layout (1 to 4):
// luma holds the Y blocks in MCU order, cb and cr one block each; every chroma
// sample covers the 1, 2 or 4 pixels the layout gives it.
void WriteColorMcu(int layout, std::uint8_t* dst, std::int32_t stride,
                   const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                   const std::int16_t* cr, int cols, int rows);

// The same writers in plain C++, and with AVX2 (only where the CPU has it).
// WriteGrayMcu and WriteColorMcu use SSE2 where the build targets it.
void WriteGrayMcuScalar(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows);
void WriteColorMcuScalar(int layout, std::uint8_t* dst, std::int32_t stride,
                         const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                         const std::int16_t* cr, int cols, int rows);
#if defined(__x86_64__)
void WriteGrayMcuAvx2(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows);
void WriteColorMcuAvx2(int layout, std::uint8_t* dst, std::int32_t stride,
                       const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                       const std::int16_t* cr, int cols, int rows);
#endif

}  // namespace vexa::jpeg
