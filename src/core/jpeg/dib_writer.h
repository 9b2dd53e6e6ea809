// The decoder's output: a packed 24-bit bottom-up device-independent bitmap,
// and the writers that put one MCU of samples into it, in plain C++, with
// SSE2 and with AVX2.
#pragma once

#include "jpeg/decoder_state.h"
#include "picture/dib_header.h"

#include <cstdint>
#include <vector>

namespace vexa::jpeg {

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

// Writes `cols` x `rows` pixels of one grey block, each sample limited to
// 0..255 and written as blue, green and red. `dst` is the MCU's top-left
// pixel; the next row down lies `stride` bytes lower in memory.
void WriteGrayMcuScalar(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows);

// Writes `cols` x `rows` pixels of a colour MCU of the given layout (one of
// kLayout111 to kLayout221); every chroma sample covers the 1, 2 or 4 pixels
// the layout gives it.
template <int Layout>
void WriteColorMcuScalar(std::uint8_t* dst, std::int32_t stride, const McuSamples& samples, int cols, int rows);

// The same with SSE2, and with AVX2 (only where the CPU has it), for whole
// MCUs; clipped ones are written by the plain code.
#if defined(__SSE2__)
void WriteGrayMcuSse2(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows);
template <int Layout>
void WriteColorMcuSse2(std::uint8_t* dst, std::int32_t stride, const McuSamples& samples, int cols, int rows);
#endif
#if defined(__x86_64__)
void WriteGrayMcuAvx2(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows);
template <int Layout>
void WriteColorMcuAvx2(std::uint8_t* dst, std::int32_t stride, const McuSamples& samples, int cols, int rows);
#endif

}  // namespace vexa::jpeg
