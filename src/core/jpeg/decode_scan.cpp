// Entropy decoding of the one scan, MCU by MCU (ITU-T T.81 annex F, baseline).
#include "decode_jpeg.h"
#include "jpeg/decoder_state.h"
#include "jpeg/decode_block.h"
#include "jpeg/sample_stages.h"
#include "jpeg/scan_bits.h"
#include "jpeg/simd_path.h"

#include <algorithm>
#include <cstring>

namespace vexa::jpeg {

namespace {

enum class AfterMcu { Go, Stop };

// Between MCUs: passes over a restart marker (restarting the predictors) and
// stops at EOI. Restart markers are taken wherever they stand; their numbers
// are not checked.
AfterMcu CheckMarkerAfterMcu(DecoderState& s) {
    BitReader& b = s.Bits;
    // A stuffed 0xFF holding only fill bits right before RSTn or EOI.
    if (b.At(b.Pos) == 0xFF && b.At(b.Pos + 1) == 0x00 && b.At(b.Pos + 2) == 0xFF) {
        const std::uint8_t m = b.At(b.Pos + 3);
        if ((m >= 0xD0 && m <= 0xD7) || m == 0xD9) {
            b.Pos += 2;
            b.Offset = 0;
            if (b.Remaining() < 0) return AfterMcu::Stop;
        }
    }
    // The rest of a partly used byte holds only fill bits.
    const std::int64_t at = b.Offset != 0 ? b.Pos + 1 : b.Pos;
    if (b.At(at) != 0xFF) return AfterMcu::Go;
    const std::uint8_t code = b.At(at + 1);
    if (code >= 0xD0 && code <= 0xD7) {
        b.Pos = at + 2;
        b.Offset = 0;
        if (b.Remaining() < 0) return AfterMcu::Stop;
        ResetPredictors(s, s.QuantTable[0]);
        return AfterMcu::Go;
    }
    return code == 0xD9 ? AfterMcu::Stop : AfterMcu::Go;
}

// Zeroes the pixels the MCUs after the one ending at column `x` of the MCU
// row from `y0` would have written.
void ZeroPixelsAfter(const DecoderState& s, std::uint8_t* bitmap, int x, int y0, int mcuHeight) {
    for (int y = y0; y < s.Height; ++y) {
        std::uint8_t* row = bitmap + kDibHeaderBytes + std::int64_t{s.Height - 1 - y} * s.Stride;
        const int from = y < y0 + mcuHeight ? x : 0;
        std::memset(row + 3 * from, 0, 3 * static_cast<std::size_t>(s.Width - from));
    }
}

// Where the scan stands between MCUs. While the bits ahead hold no 0xFF, no
// marker can follow and the BitReader need not know where the scan stands;
// an MCU that starts on a zero byte after 0xFF is read through the
// BitReader (ByBytes).
class McuCursor {
public:
    McuCursor(DecoderState& s, ScanBits& bits) : s_(s), bits_(bits) { Start(); }

    bool ByBytes() const { return byBytes_; }

    // After an MCU: false when the scan stops here.
    [[gnu::always_inline]] bool GoOn() {
        if (!byBytes_ && bits_.NoMarkerAhead()) return true;
        if (!byBytes_) bits_.Sync();
        if (s_.Bits.RunOut || CheckMarkerAfterMcu(s_) == AfterMcu::Stop) return false;
        Start();
        return true;
    }

private:
    void Start() {
        bits_.Establish();
        byBytes_ = bits_.OnZeroAfterFf();
    }

    DecoderState& s_;
    ScanBits& bits_;
    bool byBytes_ = false;
};

// A few MCUs decoded before they are transformed, so that most blocks with
// AC coefficients find a partner for the paired transform.
template <int Layout>
struct McuGroup {
    using Shape = McuShape<Layout>;
    static constexpr int kMcus = Shape::kBlocks >= 4 ? 2 : Shape::kBlocks == 1 ? 8 : 4;
    static_assert(kMcus * Shape::kBlocks <= kMaxBlocks);

    alignas(32) McuSamples Samples[kMcus];
    std::array<std::int16_t*, kMcus * Shape::kBlocks> Blocks;
    std::array<BlockResult, kMcus * Shape::kBlocks> Results;
    int Count = 0;  // blocks decoded
    int Mcus = 0;   // MCUs decoded
    bool Stop = false;

    // Decodes the MCUs from column x0 up to a group, the row's end (at
    // `width`, the picture's width held apart from s, which the block stores
    // might otherwise be taken to change) or the scan's. False on a bad block.
    [[gnu::always_inline]] bool Decode(DecoderState& s, ScanBits& bits, McuCursor& cursor,
                                       const std::array<ComponentCoding, 3>& coding, int x0, int width) {
        Count = Mcus = 0;
        Stop = false;
        while (Mcus < kMcus && !Stop && x0 + Mcus * Shape::kWidth < width) {
            McuSamples& m = Samples[Mcus];
#pragma GCC unroll 6
            for (int i = 0; i < Shape::kBlocks; ++i, ++Count) {
                const int c = i < Shape::kLumaBlocks ? 0 : i - Shape::kLumaBlocks + 1;
                Blocks[Count] = c == 0 ? m.Luma[i].data() : c == 1 ? m.Cb.data() : m.Cr.data();
                Results[Count] = cursor.ByBytes() ? DecodeBlockByBytes(s, c, Blocks[Count])
                                                  : DecodeBlockFast(bits, coding[c], s.Predictors[c], Blocks[Count]);
                if (Results[Count] == BlockResult::Bad) return false;
            }
            ++Mcus;
            Stop = !cursor.GoOn();
        }
        return true;
    }

    // Transforms and writes the group from column x0 of the MCU row whose
    // top pixel row is `row` and which is `rows` high; moves x0 past it.
    // Returns the width written of the last MCU.
    template <class Stages>
    [[gnu::always_inline]] int Write(const DecoderState& s, std::uint8_t* row, int rows, int& x0) {
        if constexpr (Shape::kGray) {
            if (rows == 8 && x0 + Mcus * 8 <= s.Width) {
                std::array<std::uint8_t*, kMcus> dst;
                for (int g = 0; g < Mcus; ++g) dst[g] = row + 3 * (x0 + 8 * g);
                Stages::WholeGray(Blocks.data(), Results.data(), Count, dst.data(), s.Stride);
                x0 += Mcus * 8;
                return 8;
            }
        }
        Stages::Transform(Blocks.data(), Results.data(), Count);
        int cols = 0;
        for (int g = 0; g < Mcus; ++g, x0 += Shape::kWidth) {
            cols = std::min(Shape::kWidth, s.Width - x0);
            std::uint8_t* dst = row + 3 * x0;
            if constexpr (Shape::kGray) Stages::Gray(dst, s.Stride, Samples[g].Luma[0].data(), cols, rows);
            else Stages::template Color<Layout>(dst, s.Stride, Samples[g], cols, rows);
        }
        return cols;
    }
};

// The whole scan for one layout. Returns DecodeOk or DecodeBadStream.
template <class Stages, int Layout>
[[gnu::always_inline]] inline int DecodeMcus(DecoderState& s, std::uint8_t* bitmap) {
    using Shape = McuShape<Layout>;
    std::array<ComponentCoding, 3> coding;
    for (int c = 0; c < (Shape::kGray ? 1 : 3); ++c) coding[c] = CodingOf(s, c);
    ScanBits bits(s.Bits);
    McuCursor cursor(s, bits);
    McuGroup<Layout> group;
    const int width = s.Width, height = s.Height;
    for (int y0 = 0; y0 < height; y0 += Shape::kHeight) {
        const int rows = std::min(Shape::kHeight, height - y0);
        std::uint8_t* row = bitmap + kDibHeaderBytes + std::int64_t{height - 1 - y0} * s.Stride;
        for (int x0 = 0; x0 < width;) {
            if (!group.Decode(s, bits, cursor, coding, x0, width)) return DecodeBadStream;
            const int cols = group.template Write<Stages>(s, row, rows, x0);
            if (group.Stop) {
                // The MCU in which the data ran out is still written; the
                // pixels after it are zero.
                ZeroPixelsAfter(s, bitmap, x0 - Shape::kWidth + cols, y0, Shape::kHeight);
                return DecodeOk;
            }
        }
    }
    return DecodeOk;
}

// The scan loop of each path, for every layout: the one place that turns
// the layout into a constant.
template <class Stages>
[[gnu::always_inline]] inline int DecodeAllMcus(DecoderState& s, std::uint8_t* bitmap) {
    switch (s.LayoutCode) {
        case kLayoutGray: return DecodeMcus<Stages, kLayoutGray>(s, bitmap);
        case kLayout111: return DecodeMcus<Stages, kLayout111>(s, bitmap);
        case kLayout211: return DecodeMcus<Stages, kLayout211>(s, bitmap);
        case kLayout121: return DecodeMcus<Stages, kLayout121>(s, bitmap);
        case kLayout221: return DecodeMcus<Stages, kLayout221>(s, bitmap);
        default: return DecodeBadStream;
    }
}

int DecodeMcusScalar(DecoderState& s, std::uint8_t* bitmap) { return DecodeAllMcus<ScalarStages>(s, bitmap); }

#if defined(__SSE2__)
int DecodeMcusSse2(DecoderState& s, std::uint8_t* bitmap) { return DecodeAllMcus<Sse2Stages>(s, bitmap); }
#endif

#if defined(__x86_64__)
// The scan loop itself compiled for AVX2 and BMI2 (shifts by a register).
__attribute__((target("avx2,bmi2"))) int DecodeMcusAvx2(DecoderState& s, std::uint8_t* bitmap) {
    return DecodeAllMcus<Avx2Stages>(s, bitmap);
}
#endif

}  // namespace

void ResetPredictors(DecoderState& s, const std::uint16_t* quant) {
    const int q = quant[0];
    s.Predictors[0] = static_cast<std::int16_t>(q == 0 ? 1024 : 1024 / q);
    s.Predictors[1] = s.Predictors[2] = 0;
}

int DecodeScan(DecoderState& s, std::vector<std::uint8_t>& bitmap) {
    if (!CreateDibBlock(bitmap, s.Width, s.Height, &s.Spare)) return DecodeNoMemory;
    s.Spare = {};
    s.Stride = static_cast<std::int32_t>(DibStride(s.Width, 24));
    int result;
    // The one place that picks the instruction set.
    switch (ActiveSimdPath()) {
#if defined(__x86_64__)
        case SimdPath::Avx2: result = DecodeMcusAvx2(s, bitmap.data()); break;
#endif
#if defined(__SSE2__)
        case SimdPath::Sse2: result = DecodeMcusSse2(s, bitmap.data()); break;
#endif
        default: result = DecodeMcusScalar(s, bitmap.data()); break;
    }
    if (result != DecodeOk) bitmap.clear();
    return result;
}

}  // namespace vexa::jpeg
