// The inverse DCT with AVX2: two blocks at once through the vector passes
// shared with SSE2 (inverse_dct_steps.h), a pass for blocks with few
// coefficients, and transforms that write grey pixels straight into the
// bitmap. Compiled for AVX2 throughout; called only where the CPU has it.
#include "jpeg/inverse_dct.h"

#if defined(__x86_64__)

#include "jpeg/simd_path.h"

#include <immintrin.h>

#include <cstdint>
#include <initializer_list>

VEXA_AVX2_BEGIN

#include "jpeg/avx2_rows.h"
#include "jpeg/inverse_dct_steps.h"
#include "jpeg/simd_lanes.h"

namespace vexa::jpeg {

namespace {

using V = Lanes<SimdPath::Avx2>;

[[gnu::always_inline]] inline void Load2(const std::int16_t* a, const std::int16_t* b, __m256i v[8]) {
    for (int i = 0; i < 8; ++i) v[i] = Load2x8(a + 8 * i, b + 8 * i);
}

[[gnu::always_inline]] inline void Store2(std::int16_t* a, std::int16_t* b, const __m256i v[8]) {
    for (int i = 0; i < 8; ++i) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(a + 8 * i), _mm256_castsi256_si128(v[i]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(b + 8 * i), _mm256_extracti128_si256(v[i], 1));
    }
}

// The transform with x[4] to x[7] zero, over the low four lanes of each
// block only when Low is set (the high four being zero, so is their result).
template <int Shift, bool Low>
[[gnu::always_inline]] inline void TransformFirstFour(__m256i x[8]) {
    __m256i out[8][2];
    for (int half = 0; half < (Low ? 1 : 2); ++half) {
        const __m256i x02 = V::Mix16(half, x[0], x[2]), x13 = V::Mix16(half, x[1], x[3]);
        const __m256i e0 = V::Madd(x02, Pair<V>(32, 42)), e3 = V::Madd(x02, Pair<V>(32, -42));
        const __m256i e1 = V::Madd(x02, Pair<V>(32, 17)), e2 = V::Madd(x02, Pair<V>(32, -17));
        const __m256i o0 = V::Madd(x13, Pair<V>(44, 38)), o1 = V::Madd(x13, Pair<V>(38, -9));
        const __m256i o2 = V::Madd(x13, Pair<V>(25, -44)), o3 = V::Madd(x13, Pair<V>(9, -25));
        out[0][half] = V::template Sar32<Shift>(V::Add32(e0, o0));
        out[7][half] = V::template Sar32<Shift>(V::Sub32(e0, o0));
        out[1][half] = V::template Sar32<Shift>(V::Add32(e1, o1));
        out[6][half] = V::template Sar32<Shift>(V::Sub32(e1, o1));
        out[2][half] = V::template Sar32<Shift>(V::Add32(e2, o2));
        out[5][half] = V::template Sar32<Shift>(V::Sub32(e2, o2));
        out[3][half] = V::template Sar32<Shift>(V::Add32(e3, o3));
        out[4][half] = V::template Sar32<Shift>(V::Sub32(e3, o3));
    }
    for (int i = 0; i < 8; ++i) x[i] = V::Pack32(out[i][0], Low ? V::Zero() : out[i][1]);
}

// Where a pair transform puts the samples: back into the blocks, or into a
// 24-bit bitmap as grey pixels (limited to 0..255).
struct BlockSink {
    [[gnu::always_inline]] inline void Rows(std::int16_t* a, std::int16_t* b, const __m256i v[8]) const { Store2(a, b, v); }
    // After a transform that left its samples in the blocks.
    [[gnu::always_inline]] inline void FromBlocks(std::int16_t*, std::int16_t*) const {}
};

struct GraySink {
    std::uint8_t* A;
    std::uint8_t* B;
    std::int32_t Stride;

    [[gnu::always_inline]] inline void Rows(std::int16_t*, std::int16_t*, const __m256i v[8]) const {
        // Rows r and r + 1 of a block in each lane.
        std::uint8_t* a = A;
        std::uint8_t* b = B;
        for (int r = 0; r < 8; r += 2, a -= 2 * Stride, b -= 2 * Stride) {
            const __m256i bytes = _mm256_packus_epi16(v[r], v[r + 1]);
            StoreGray2x8<0>(a, b, bytes);
            StoreGray2x8<1>(a - Stride, b - Stride, bytes);
        }
    }
    [[gnu::always_inline]] inline void FromBlocks(std::int16_t* a, std::int16_t* b) const {
        __m256i v[8];
        Load2(a, b, v);
        Rows(a, b, v);
    }
};

// The column pass with wrapping products on rows the row pass left in v.
template <class Sink>
void FinishColumnsWrapping(std::int16_t* a, std::int16_t* b, const __m256i v[8], const Sink& sink) {
    Store2(a, b, v);
    ColumnsWrapping(a);
    ColumnsWrapping(b);
    sink.FromBlocks(a, b);
}

template <class Sink>
void Pair(std::int16_t* a, std::int16_t* b, const Sink& sink) {
    __m256i v[8];
    Load2(a, b, v);
    switch (TwoPasses<V>(v)) {
        case PassesDone::None:
            InverseDct8x8Sse2(a);
            InverseDct8x8Sse2(b);
            sink.FromBlocks(a, b);
            return;
        case PassesDone::RowsOnly: FinishColumnsWrapping(a, b, v, sink); return;
        case PassesDone::Both: sink.Rows(a, b, v); return;
    }
}

template <class Sink>
void PairFirstFour(std::int16_t* a, std::int16_t* b, const Sink& sink) {
    __m256i v[8];
    for (int i = 0; i < 4; ++i) v[i] = Load2x8(a + 8 * i, b + 8 * i);
    for (int i = 4; i < 8; ++i) v[i] = V::Zero();
    Transpose<V>(v);  // columns 4 to 7 are zero, and rows 4 to 7 in every lane
    if (!LanesSmall<V>(v) || !FirstPairSmall<V>(v)) {
        Pair(a, b, sink);
        return;
    }
    TransformFirstFour<5, true>(v);
    Transpose<V>(v);  // rows 4 to 7 of the row pass's result are zero
    if (!LanesSmall<V>(v)) {
        FinishColumnsWrapping(a, b, v, sink);
        return;
    }
    TransformFirstFour<8, false>(v);
    sink.Rows(a, b, v);
}

// Coefficients a = block[0], b = block[1], c = block[8] alone: the row pass
// leaves row 0 as (32 a + w b) >> 5 with w = 44, 38, 25, 9, -9, -25, -38, -44
// for columns 0 to 7, row 1 as c everywhere and the other rows 0; the column
// pass then gives (32 r + w c) >> 8 down each column, with w by row. With
// |a| < 8192 and |b|, |c| < 1024 no product wraps and every value fits in
// 16 bits, as in the exact passes. Writes the samples to dst as grey pixels
// when Gray.
template <bool Gray>
void FirstThree(std::int16_t* block, std::uint8_t* dst, std::int32_t stride) {
    const int a = block[0], b = block[1], c = block[8];
    if (a < -8192 || a > 8191 || b < -1024 || b > 1023 || c < -1024 || c > 1023) {
        InverseDct8x8Sse2(block);
        if (Gray)
            for (int row = 0; row < 8; row += 2)
                StoreGrayRowPair(dst - row * stride, stride,
                                 _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 8 * row)));
        return;
    }
    const __m256i weights = _mm256_setr_epi32(44, 38, 25, 9, -9, -25, -38, -44);
    // Pairs (a, b) against (32, w): row 0, one column a lane.
    const __m256i ab = Pair<V>(a, b);
    const __m256i w32 = _mm256_or_si256(_mm256_set1_epi32(32), _mm256_slli_epi32(weights, 16));
    const __m256i row0 = _mm256_srai_epi32(_mm256_madd_epi16(ab, w32), 5);
    // Pairs (row 0, c) for the column pass.
    const __m256i rc = _mm256_or_si256(_mm256_and_si256(row0, _mm256_set1_epi32(0xFFFF)),
                                       _mm256_set1_epi32(static_cast<std::int32_t>(static_cast<std::uint32_t>(c) << 16)));
    const int w[8] = {44, 38, 25, 9, -9, -25, -38, -44};
    for (int row = 0; row < 8; row += 2) {
        const __m256i upper = _mm256_srai_epi32(_mm256_madd_epi16(rc, Pair<V>(32, w[row])), 8);
        const __m256i lower = _mm256_srai_epi32(_mm256_madd_epi16(rc, Pair<V>(32, w[row + 1])), 8);
        // packs works within 128-bit lanes: reorder to row, then row + 1.
        const __m256i rows = _mm256_permute4x64_epi64(_mm256_packs_epi32(upper, lower), 0xD8);
        if (Gray) StoreGrayRowPair(dst - row * stride, stride, rows);
        else _mm256_storeu_si256(reinterpret_cast<__m256i*>(block + 8 * row), rows);
    }
}

}  // namespace

void InverseDct8x8PairAvx2(std::int16_t* a, std::int16_t* b) { Pair(a, b, BlockSink{}); }

void InverseDct8x8PairFirstFourAvx2(std::int16_t* a, std::int16_t* b) { PairFirstFour(a, b, BlockSink{}); }

void InverseDct8x8PairToGrayAvx2(std::int16_t* a, std::int16_t* b, std::uint8_t* dstA, std::uint8_t* dstB,
                                 std::int32_t stride) {
    Pair(a, b, GraySink{dstA, dstB, stride});
}

void InverseDct8x8PairFirstFourToGrayAvx2(std::int16_t* a, std::int16_t* b, std::uint8_t* dstA, std::uint8_t* dstB,
                                          std::int32_t stride) {
    PairFirstFour(a, b, GraySink{dstA, dstB, stride});
}

void InverseDct8x8FirstThreeAvx2(std::int16_t* block) { FirstThree<false>(block, nullptr, 0); }

void InverseDct8x8FirstThreeToGrayAvx2(std::int16_t* block, std::uint8_t* dst, std::int32_t stride) {
    FirstThree<true>(block, dst, stride);
}

}  // namespace vexa::jpeg

VEXA_AVX2_END

#endif
