// The decoder's integer inverse DCT.
#pragma once

#include <cstdint>

namespace vexa::jpeg {

// Transforms one 8x8 block (64 values, natural order) into samples in place:
// the 1-D transform over each row with shift 5, then over each column with
// shift 8, each result kept as its low 16 bits. The products 44, 42, 38, 25,
// 17 and 9 times v are sums of the multiples 2v..32v, each formed in 16 bits
// and so wrapping; this is part of the result, not an accident.
void InverseDct8x8(std::int16_t* block);

// InverseDct8x8 in plain C++, and with AVX2 (only where the CPU has it).
// InverseDct8x8 itself uses SSE2 where the build targets it.
void InverseDct8x8Scalar(std::int16_t* block);
#if defined(__x86_64__)
void InverseDct8x8Avx2(std::int16_t* block);
// Two blocks at once.
void InverseDct8x8PairAvx2(std::int16_t* a, std::int16_t* b);
// Two blocks at once whose coefficients are all 0 outside rows 0-3 and
// columns 0-3.
void InverseDct8x8PairFirstFourAvx2(std::int16_t* a, std::int16_t* b);
// One block whose coefficients are all 0 but 0, 1 and 8.
void InverseDct8x8FirstThreeAvx2(std::int16_t* block);
#endif

// The same for a block whose coefficients are all 0 but the first.
void InverseDct8x8DcOnly(std::int16_t* block);

// The same transform written term by term; InverseDct8x8 must agree with it
// on every input.
void InverseDct8x8Reference(std::int16_t* block);

}  // namespace vexa::jpeg
