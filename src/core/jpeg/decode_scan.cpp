// Entropy decoding of the one scan, MCU by MCU (ITU-T T.81 annex F, baseline).
#include "decode_jpeg.h"
#include "jpeg/decoder_state.h"
#include "jpeg/sample_stages.h"
#include "jpeg/scan_bits.h"
#include "jpeg/simd_path.h"

#include <algorithm>
#include <cstring>

namespace vexa::jpeg {

namespace {

// The EXTEND procedure of T.81: the s-bit value t as a signed difference.
inline std::int32_t Extend(std::uint32_t t, int s) {
    return (t >> (s - 1)) & 1 ? static_cast<std::int32_t>(t) : static_cast<std::int32_t>(t) - ((1 << s) - 1);
}

inline std::int16_t Low16(std::int32_t v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v)); }

// Reads one symbol with `table` from the BitReader, and the value of
// size(symbol) bits after it. A lookahead no code covers gives symbol 0 and
// moves nothing. Returns false, reading no value, when the size exceeds 16
// (only a DC symbol can).
template <bool Dc>
bool ReadSymbol(BitReader& bits, const HuffmanLookup& table, int& symbol, std::int32_t& value) {
    const std::uint16_t e = table.Find(bits.Peek16());
    bits.Skip(e >> 8);
    symbol = e & 0xFF;
    const int size = Dc ? symbol : symbol & 15;
    if (Dc && size > 16) return false;
    value = 0;
    if (size != 0) {
        const std::uint32_t x = bits.Peek16();
        bits.Skip(size);
        value = Extend(x >> (16 - size), size);
    }
    return true;
}

// Decodes one block of component `c` (0 to 2) into `block` in natural order
// through the BitReader. Bad on a DC size above 16; DcOnly when no AC
// coefficient was coded.
BlockResult DecodeBlockByBytes(DecoderState& s, int c, std::int16_t* block) {
    const std::uint16_t* q = s.QuantTable[c];
    int symbol;
    std::int32_t value;
    if (!ReadSymbol<true>(s.Bits, *s.DcTable[c], symbol, value)) return BlockResult::Bad;
    s.Predictors[c] = Low16(s.Predictors[c] + value);
    std::fill_n(block, 64, std::int16_t{0});
    block[0] = Low16(static_cast<std::int32_t>(static_cast<std::uint32_t>(s.Predictors[c]) * q[0]));
    const HuffmanLookup& ac = *s.AcTable[c];
    BlockResult result = BlockResult::DcOnly;
    for (int k = 1; k < 64;) {
        ReadSymbol<false>(s.Bits, ac, symbol, value);
        if (symbol == 0) break;  // end of block (or no code matched)
        result = BlockResult::WithAc;
        // A run that passes the last coefficient puts the value on 63.
        k = std::min(k + (symbol >> 4), 64);
        const int z = kZigZag[k];
        block[z] = Low16(static_cast<std::int32_t>(static_cast<std::uint32_t>(value) * q[z]));
        ++k;
    }
    return result;
}

// Zig-zag position to natural index for positions up to 63 + 15, where a
// run that passes the last coefficient puts its value on 63.
constexpr std::array<std::uint8_t, 80> kZigZagGuarded = [] {
    std::array<std::uint8_t, 80> t{};
    for (int k = 0; k < 80; ++k) t[k] = static_cast<std::uint8_t>(k < 64 ? kZigZag[k] : 63);
    return t;
}();

// What one component's blocks are decoded with.
struct ComponentCoding {
    const HuffmanLookup* Dc = nullptr;
    const HuffmanLookup* Ac = nullptr;
    std::array<std::uint16_t, 80> Quant{};  // by zig-zag position, guarded like kZigZagGuarded
    // By zig-zag position, guarded alike: natural index | quantiser << 16.
    std::array<std::uint32_t, 80> Place{};
};

ComponentCoding CodingOf(const DecoderState& s, int c) {
    ComponentCoding coding;
    coding.Dc = s.DcTable[c];
    coding.Ac = s.AcTable[c];
    for (int k = 0; k < 80; ++k) {
        coding.Quant[k] = s.QuantTable[c][kZigZagGuarded[k]];
        coding.Place[k] = kZigZagGuarded[k] | std::uint32_t{coding.Quant[k]} << 16;
    }
    return coding;
}

// The steps of DecodeBlockFast. Each works on the scan bits the caller holds
// in `buf` (the next bits on top) and `count`, kept in registers for the
// block and handed back to `bits` where it refills.

// Tops buf up through the buffer's full refill.
[[gnu::always_inline]] inline void RefillHeld(ScanBits& bits, std::uint64_t& buf, int& count) {
    bits.Buf = buf;
    bits.Count = count;
    bits.Refill();
    buf = bits.Buf;
    count = bits.Count;
}

// Tops buf up, the cheap way while the bytes ahead hold no 0xFF.
[[gnu::always_inline]] inline void TopUpHeld(ScanBits& bits, std::uint64_t& buf, int& count) {
    if (!bits.TopUp(buf, count)) [[unlikely]]
        RefillHeld(bits, buf, count);
}

// The DC difference (at least 32 bits held); false on a size above 16.
[[gnu::always_inline]] inline bool TakeDcDifference(const HuffmanLookup& dc, std::uint64_t& buf, int& count,
                                                    std::int32_t& diff) {
    constexpr int kFast = HuffmanLookup::kFastBits;
    const std::int32_t e = dc.Fast[buf >> (64 - kFast)];
    if (e & HuffmanLookup::kHasValue) {
        diff = e >> 20;
        buf <<= e & 63;
        count -= e & 63;
        return true;
    }
    const std::uint16_t f = e != 0 ? static_cast<std::uint16_t>(((e >> 16) & 15) << 8 | ((e >> 8) & 0xFF))
                                   : dc.FindLong(static_cast<std::uint32_t>(buf >> 48));
    const int length = f >> 8, size = f & 0xFF;
    if (size > 16) return false;
    buf <<= length;
    diff = size == 0 ? 0 : Extend(static_cast<std::uint32_t>(buf >> (64 - size)), size);
    buf <<= size;
    count -= length + size;
    return true;
}

// Zeroes the block with four 32-byte stores (a plain memset of this size may
// become a slow rep stos).
[[gnu::always_inline]] inline void ClearBlock(std::int16_t* block) {
    using Zeros = std::int16_t __attribute__((vector_size(32)));
    for (int i = 0; i < 64; i += 16) {
        const Zeros zero{};
        std::memcpy(block + i, &zero, sizeof zero);
    }
}

// Stores coefficient `value` times its quantiser where `at` (a Place entry) says.
[[gnu::always_inline]] inline void Put(std::int16_t* block, std::uint32_t at, std::uint32_t value) {
    block[at & 0xFF] = Low16(static_cast<std::int32_t>(value * (at >> 16)));
}

// One or two AC symbols from pair entry `e` (see HuffmanLookup::Pairs), the
// next coefficient at zig-zag position k. A symbol that is no coefficient
// (end of block, or no second symbol) stores a zero where the next
// coefficient would go, which the block holds already. True when the block
// ends with them.
[[gnu::always_inline]] inline bool TakePair(std::uint64_t e, const std::uint32_t* place, std::int16_t* block,
                                            unsigned& k, std::uint64_t& buf, int& count) {
    k += (e >> 12) & 15;
    Put(block, place[k], static_cast<std::uint32_t>(e >> 32 & 0xFFFF));
    k += (e >> 16) & 1;
    if (k >= 64) [[unlikely]] {  // the first symbol ended the block
        const int first = (e >> 6) & 63;
        buf <<= first;
        count -= first;
        return true;
    }
    k += (e >> 17) & 15;
    Put(block, place[k], static_cast<std::uint32_t>(e >> 48));
    k += (e >> 21) & 1;
    buf <<= e & 63;
    count -= static_cast<int>(e & 63);
    return (e & HuffmanLookup::kEndsBlock) || k >= 64;
}

// One AC symbol that no pair entry covers (at least 32 bits held). True when
// the block ends with it.
[[gnu::always_inline]] inline bool TakeSymbol(const HuffmanLookup& ac, const std::uint32_t* place, std::int16_t* block,
                                              unsigned& k, std::uint64_t& buf, int& count) {
    const std::uint16_t f = ac.Find(static_cast<std::uint32_t>(buf >> 48));
    const int length = f >> 8, size = f & 15, symbol = f & 0xFF;
    buf <<= length;
    count -= length;
    if (symbol == 0) return true;  // end of block (or no code matched)
    const std::uint32_t value =
        size == 0 ? 0 : static_cast<std::uint32_t>(Extend(static_cast<std::uint32_t>(buf >> (64 - size)), size));
    buf <<= size;
    count -= size;
    k += symbol >> 4;
    Put(block, place[k], value);
    return ++k >= 64;
}

// The kind of a block whose last coefficient stood before zig-zag position k.
inline BlockResult KindBefore(unsigned k) { return static_cast<BlockResult>(int{k > 1} + int{k > 3} + int{k > 10}); }

// Decodes one block from the scan bits into `block` in natural order (the
// same bits and results as DecodeBlockByBytes).
[[gnu::always_inline]] inline BlockResult DecodeBlockFast(ScanBits& bits, const ComponentCoding& coding,
                                                          std::int16_t& predictor, std::int16_t* block) {
    std::uint64_t buf = bits.Buf;
    int count = bits.Count;
    if (count < 32) RefillHeld(bits, buf, count);
    std::int32_t diff;
    if (!TakeDcDifference(*coding.Dc, buf, count, diff)) {
        bits.Buf = buf;
        bits.Count = count;
        return BlockResult::Bad;
    }
    predictor = Low16(predictor + diff);
    ClearBlock(block);
    block[0] = Low16(static_cast<std::int32_t>(static_cast<std::uint32_t>(predictor) * coding.Quant[0]));
    const std::uint64_t* pairs = coding.Ac->Pairs.data();
    const std::uint32_t* place = coding.Place.data();
    constexpr int kPair = HuffmanLookup::kPairBits;
    // The buffer is topped up at every step, off the path from one lookup
    // to the next: each lookup finds at least kPair bits, and the steps
    // that are no pair entry at least 32 (the first step: what the DC
    // value left, at least kPair).
    if (count < kPair) TopUpHeld(bits, buf, count);
    unsigned k = 1;
    for (;;) {
        const std::uint64_t e = pairs[buf >> (64 - kPair)];
        TopUpHeld(bits, buf, count);
        if ((e & 63) != 0) [[likely]] {
            if (TakePair(e, place, block, k, buf, count)) break;
        } else if (TakeSymbol(*coding.Ac, place, block, k, buf, count)) {
            break;
        }
    }
    bits.Buf = buf;
    bits.Count = count;
    return KindBefore(k);
}

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

    // Decodes the MCUs from column x0 up to a group, the row's end or the
    // scan's. False on a bad block.
    [[gnu::always_inline]] bool Decode(DecoderState& s, ScanBits& bits, McuCursor& cursor,
                                       const std::array<ComponentCoding, 3>& coding, int x0) {
        Count = Mcus = 0;
        Stop = false;
        while (Mcus < kMcus && !Stop && x0 + Mcus * Shape::kWidth < s.Width) {
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
    for (int y0 = 0; y0 < s.Height; y0 += Shape::kHeight) {
        const int rows = std::min(Shape::kHeight, s.Height - y0);
        std::uint8_t* row = bitmap + kDibHeaderBytes + std::int64_t{s.Height - 1 - y0} * s.Stride;
        for (int x0 = 0; x0 < s.Width;) {
            if (!group.Decode(s, bits, cursor, coding, x0)) return DecodeBadStream;
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
