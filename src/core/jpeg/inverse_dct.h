// The decoder's integer inverse DCT, in plain C++, with SSE2 and with AVX2.
#pragma once

#include <cstdint>

namespace vexa::jpeg {

// Transforms one 8x8 block (64 values, natural order) into samples in place:
// the 1-D transform over each row with shift 5, then over each column with
// shift 8, each result kept as its low 16 bits. The products 44, 42, 38, 25,
// 17 and 9 times v are sums of the multiples 2v..32v, each formed in 16 bits
// and so wrapping; this is part of the result, not an accident. Every
// version below gives the same samples.
void InverseDct8x8Scalar(std::int16_t* block);
#if defined(__SSE2__)
void InverseDct8x8Sse2(std::int16_t* block);
#endif

// The same for a block whose coefficients are all 0 but the first.
void InverseDct8x8DcOnly(std::int16_t* block);
// Its samples straight into a 24-bit bitmap as grey pixels, each limited to
// 0..255 and written as blue, green and red: 8x8 pixels from dst, each row
// `stride` bytes below the one before in memory.
void InverseDct8x8DcOnlyToGray(const std::int16_t* block, std::uint8_t* dst, std::int32_t stride);

#if defined(__x86_64__)
// With AVX2, only where the CPU has it. Two blocks at once.
void InverseDct8x8PairAvx2(std::int16_t* a, std::int16_t* b);
// Two blocks at once whose coefficients are all 0 outside rows 0-3 and
// columns 0-3.
void InverseDct8x8PairFirstFourAvx2(std::int16_t* a, std::int16_t* b);
// The two pair transforms above writing the samples of a and b straight into
// the bitmap as grey pixels, as InverseDct8x8DcOnlyToGray does, from dstA
// and dstB. The blocks' contents are lost.
void InverseDct8x8PairToGrayAvx2(std::int16_t* a, std::int16_t* b, std::uint8_t* dstA, std::uint8_t* dstB,
                                 std::int32_t stride);
void InverseDct8x8PairFirstFourToGrayAvx2(std::int16_t* a, std::int16_t* b, std::uint8_t* dstA, std::uint8_t* dstB,
                                          std::int32_t stride);
// One block whose coefficients are all 0 but 0, 1 and 8.
void InverseDct8x8FirstThreeAvx2(std::int16_t* block);
// The same writing grey pixels as the pair transforms to grey do.
void InverseDct8x8FirstThreeToGrayAvx2(std::int16_t* block, std::uint8_t* dst, std::int32_t stride);
#endif

// The same transform written term by term; every version above must agree
// with it on every input.
void InverseDct8x8Reference(std::int16_t* block);

}  // namespace vexa::jpeg
