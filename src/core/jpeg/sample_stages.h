// The sample stages of the scan decoder for each instruction-set path: the
// inverse DCT of a group of decoded blocks, and the writers that put their
// samples into the bitmap. Included by the scan decoder only.
#pragma once

#include "jpeg/decode_block.h"
#include "jpeg/decoder_state.h"
#include "jpeg/dib_writer.h"
#include "jpeg/inverse_dct.h"

#include <cstdint>
#include <type_traits>

namespace vexa::jpeg {

// The most blocks decoded before they are transformed.
inline constexpr int kMaxBlocks = 12;

// Every path's stages take a group of n decoded blocks with their results:
//   Transform(blocks, results, n)                the samples, in place
//   WholeGray(blocks, results, n, dst, stride)   grey MCUs, blocks[i] written
//                                                whole (8x8 pixels) at dst[i]
//   Gray(dst, stride, samples, cols, rows)       one grey MCU's samples
//   Color<Layout>(dst, stride, samples, cols, rows)  one colour MCU's samples

// The stages of a path that transforms one block at a time with Isa::Idct.
template <class Isa>
struct OneByOneStages : Isa {
    static void Transform(std::int16_t* const* blocks, const BlockResult* results, int n) {
        for (int i = 0; i < n; ++i) {
            if (results[i] == BlockResult::DcOnly) InverseDct8x8DcOnly(blocks[i]);
            else Isa::Idct(blocks[i]);
        }
    }
    static void WholeGray(std::int16_t* const* blocks, const BlockResult* results, int n, std::uint8_t* const* dst,
                          std::int32_t stride) {
        Transform(blocks, results, n);
        for (int i = 0; i < n; ++i) Isa::Gray(dst[i], stride, blocks[i], 8, 8);
    }
};

struct ScalarIsa {
    static void Idct(std::int16_t* block) { InverseDct8x8Scalar(block); }
    static void Gray(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
        WriteGrayMcuScalar(dst, stride, samples, cols, rows);
    }
    template <int Layout>
    static void Color(std::uint8_t* dst, std::int32_t stride, const McuSamples& samples, int cols, int rows) {
        WriteColorMcuScalar<Layout>(dst, stride, samples, cols, rows);
    }
};
using ScalarStages = OneByOneStages<ScalarIsa>;

#if defined(__SSE2__)
struct Sse2Isa {
    static void Idct(std::int16_t* block) { InverseDct8x8Sse2(block); }
    static void Gray(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
        WriteGrayMcuSse2(dst, stride, samples, cols, rows);
    }
    template <int Layout>
    static void Color(std::uint8_t* dst, std::int32_t stride, const McuSamples& samples, int cols, int rows) {
        WriteColorMcuSse2<Layout>(dst, stride, samples, cols, rows);
    }
};
using Sse2Stages = OneByOneStages<Sse2Isa>;
#endif

#if defined(__x86_64__)
// A group's blocks sorted by kind (DcOnly to WithAc), each with where its
// pixels go when they are written whole.
struct BlocksByKind {
    std::int16_t* Block[4][kMaxBlocks];
    std::uint8_t* To[4][kMaxBlocks];
    int Count[4] = {0, 0, 0, 0};

    // Sorts the blocks, and their dst entries when WithPixels.
    template <bool WithPixels>
    BlocksByKind(std::int16_t* const* blocks, const BlockResult* results, int n, std::uint8_t* const* dst,
                 std::bool_constant<WithPixels>) {
        for (int i = 0; i < n; ++i) {
            const int kind = static_cast<int>(results[i]);
            if constexpr (WithPixels) To[kind][Count[kind]] = dst[i];
            Block[kind][Count[kind]++] = blocks[i];
        }
    }
};

// The AVX2 transforms over blocks sorted by kind, so that no branch depends
// on a block's kind: blocks with AC coefficients two at a time, those with
// few together. With Gray the transforms write the blocks' pixels
// themselves (the blocks' contents are then lost).
template <bool Gray>
[[gnu::always_inline]] inline void TransformByKindAvx2(const BlocksByKind& k, std::int32_t stride) {
    for (int i = 0; i < k.Count[0]; ++i) {
        if constexpr (Gray) InverseDct8x8DcOnlyToGray(k.Block[0][i], k.To[0][i], stride);
        else InverseDct8x8DcOnly(k.Block[0][i]);
    }
    for (int i = 0; i < k.Count[1]; ++i) {
        if constexpr (Gray) InverseDct8x8FirstThreeToGrayAvx2(k.Block[1][i], k.To[1][i], stride);
        else InverseDct8x8FirstThreeAvx2(k.Block[1][i]);
    }
    // Pairs i, j of kinds a and b (FirstFour or WithAc): the cheaper pass
    // only when both are FirstFour.
    const auto pair = [&](int a, int i, int b, int j) {
        if constexpr (Gray) {
            if (a == 2 && b == 2)
                InverseDct8x8PairFirstFourToGrayAvx2(k.Block[a][i], k.Block[b][j], k.To[a][i], k.To[b][j], stride);
            else InverseDct8x8PairToGrayAvx2(k.Block[a][i], k.Block[b][j], k.To[a][i], k.To[b][j], stride);
        } else {
            if (a == 2 && b == 2) InverseDct8x8PairFirstFourAvx2(k.Block[a][i], k.Block[b][j]);
            else InverseDct8x8PairAvx2(k.Block[a][i], k.Block[b][j]);
        }
    };
    int few = 0, full = 0;
    for (; few + 1 < k.Count[2]; few += 2) pair(2, few, 2, few + 1);
    for (; full + 1 < k.Count[3]; full += 2) pair(3, full, 3, full + 1);
    // A block left over goes with the other kind's, or with zeros: a pair
    // costs less than one block alone.
    if (few < k.Count[2] && full < k.Count[3]) {
        pair(2, few, 3, full);
    } else if (few < k.Count[2] || full < k.Count[3]) {
        alignas(32) std::int16_t zeros[64] = {};
        const int kind = few < k.Count[2] ? 2 : 3, i = kind == 2 ? few : full;
        std::int16_t* block = k.Block[kind][i];
        if (kind == 2) InverseDct8x8PairFirstFourAvx2(block, zeros);
        else InverseDct8x8PairAvx2(block, zeros);
        if constexpr (Gray) WriteGrayMcuAvx2(k.To[kind][i], stride, block, 8, 8);
    }
}

struct Avx2Stages {
    static void Transform(std::int16_t* const* blocks, const BlockResult* results, int n) {
        TransformByKindAvx2<false>(BlocksByKind(blocks, results, n, nullptr, std::false_type{}), 0);
    }
    static void WholeGray(std::int16_t* const* blocks, const BlockResult* results, int n, std::uint8_t* const* dst,
                          std::int32_t stride) {
        TransformByKindAvx2<true>(BlocksByKind(blocks, results, n, dst, std::true_type{}), stride);
    }
    static void Gray(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
        WriteGrayMcuAvx2(dst, stride, samples, cols, rows);
    }
    template <int Layout>
    static void Color(std::uint8_t* dst, std::int32_t stride, const McuSamples& samples, int cols, int rows) {
        WriteColorMcuAvx2<Layout>(dst, stride, samples, cols, rows);
    }
};
#endif

}  // namespace vexa::jpeg
