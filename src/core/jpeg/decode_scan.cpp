// Entropy decoding of the one scan, MCU by MCU (ITU-T T.81 annex F, baseline).
#include "decode_jpeg.h"
#include "jpeg/decoder_state.h"
#include "jpeg/dib_writer.h"
#include "jpeg/inverse_dct.h"
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

// Reads symbols and their values straight from the BitReader, one by one.
// Used for an MCU that starts on a zero byte after 0xFF, where the reader's
// position rules are its own (see BitReader::Peek16). Commit() must run
// before anyone else moves the reader.
class SymbolReader {
public:
    explicit SymbolReader(BitReader& bits) : bits_(bits) {}
    ~SymbolReader() { Commit(); }

    void Commit() {
        bits_.Advance(used_);
        used_ = 0;
        avail_ = 0;
    }

    // Decodes one symbol with `table` and the value of size(symbol) bits
    // after it. A lookahead no code covers gives symbol 0 and moves nothing.
    // Returns false, reading no value, when the size exceeds 16 (only a DC
    // symbol can).
    template <bool Dc>
    bool Next(const HuffmanLookup& table, int& symbol, std::int32_t& value) {
        if (avail_ < 32) {
            Commit();
            std::uint64_t w;
            if (!bits_.Window(w)) return Slow<Dc>(table, symbol, value);
            window_ = w;
            avail_ = 56 - bits_.Offset;
        }
        const std::uint16_t e = table.Find(static_cast<std::uint32_t>(window_ >> 48));
        const int length = e >> 8;
        symbol = e & 0xFF;
        const int size = Dc ? symbol : symbol & 15;
        if (Dc && size > 16) return false;
        value = size == 0 ? 0 : Extend(static_cast<std::uint32_t>((window_ << length) >> (64 - size)), size);
        window_ <<= length + size;
        used_ += length + size;
        avail_ -= length + size;
        return true;
    }

private:
    template <bool Dc>
    bool Slow(const HuffmanLookup& table, int& symbol, std::int32_t& value) {
        const std::uint16_t e = table.Find(bits_.Peek16());
        bits_.Skip(e >> 8);
        symbol = e & 0xFF;
        const int size = Dc ? symbol : symbol & 15;
        if (Dc && size > 16) return false;
        if (size == 0) {
            value = 0;
        } else {
            const std::uint32_t x = bits_.Peek16();
            bits_.Skip(size);
            value = Extend(x >> (16 - size), size);
        }
        return true;
    }

    BitReader& bits_;
    std::uint64_t window_ = 0;
    int avail_ = 0;  // bits left in the window
    int used_ = 0;   // bits taken from the window, not yet moved past
};

// FirstThree: no coefficient but 0, 1 and 8 (none past zig-zag position 2);
// FirstFour: none outside rows 0-3 and columns 0-3 (none past position 9).
enum class BlockResult { DcOnly = 0, FirstThree = 1, FirstFour = 2, WithAc = 3, Bad = 4 };

// Decodes one block of component `c` (0 to 2) into `block` in natural order
// through the BitReader. Bad on a DC size above 16; DcOnly when no AC
// coefficient was coded.
BlockResult DecodeBlockByBytes(DecoderState& s, int c, std::int16_t* block) {
    const std::uint16_t* q = s.QuantTable[c];
    int symbol;
    std::int32_t value;
    SymbolReader reader(s.Bits);
    if (!reader.Next<true>(*s.DcTable[c], symbol, value)) return BlockResult::Bad;
    s.Predictors[c] = Low16(s.Predictors[c] + value);
    std::fill_n(block, 64, std::int16_t{0});
    block[0] = Low16(static_cast<std::int32_t>(static_cast<std::uint32_t>(s.Predictors[c]) * q[0]));
    const HuffmanLookup& ac = *s.AcTable[c];
    BlockResult result = BlockResult::DcOnly;
    for (int k = 1; k < 64;) {
        reader.Next<false>(ac, symbol, value);
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

// Decodes one block from the scan bits into `block` in natural order (the
// same bits and results as DecodeBlockByBytes).
[[gnu::always_inline]] inline BlockResult DecodeBlockFast(ScanBits& bits, const ComponentCoding& coding,
                                                          std::int16_t& predictor, std::int16_t* block) {
    constexpr int kFast = HuffmanLookup::kFastBits;
    std::uint64_t buf = bits.Buf;
    int count = bits.Count;
    if (count < 32) {
        bits.Count = count;
        bits.Refill();
        buf = bits.Buf;
        count = bits.Count;
    }
    std::int32_t diff;
    {
        const std::int32_t e = coding.Dc->Fast[buf >> (64 - kFast)];
        if (e & HuffmanLookup::kHasValue) {
            diff = e >> 20;
            buf <<= e & 63;
            count -= e & 63;
        } else {
            const std::uint16_t f = e != 0 ? static_cast<std::uint16_t>(((e >> 16) & 15) << 8 | ((e >> 8) & 0xFF))
                                           : coding.Dc->FindLong(static_cast<std::uint32_t>(buf >> 48));
            const int length = f >> 8, size = f & 0xFF;
            if (size > 16) {
                bits.Buf = buf;
                bits.Count = count;
                return BlockResult::Bad;
            }
            buf <<= length;
            diff = size == 0 ? 0 : Extend(static_cast<std::uint32_t>(buf >> (64 - size)), size);
            buf <<= size;
            count -= length + size;
        }
    }
    predictor = Low16(predictor + diff);
    // Four 32-byte stores (a plain memset of this size may become a slow rep stos).
    using Zeros = std::int16_t __attribute__((vector_size(32)));
    for (int i = 0; i < 64; i += 16) {
        const Zeros zero{};
        std::memcpy(block + i, &zero, sizeof zero);
    }
    block[0] = Low16(static_cast<std::int32_t>(static_cast<std::uint32_t>(predictor) * coding.Quant[0]));
    const std::uint64_t* pairs = coding.Ac->Pairs.data();
    const std::uint32_t* place = coding.Place.data();
    constexpr int kPair = HuffmanLookup::kPairBits;
    // The buffer is topped up at every step, off the path from one lookup
    // to the next: each lookup finds at least kPair bits, and the steps
    // that are no pair entry at least 32 (the first step: what the DC
    // value left, at least kPair).
    const auto topUp = [&bits](std::uint64_t& b, int& n) __attribute__((always_inline)) {
        if (bits.TopUp(b, n)) [[likely]]
            return;
        bits.Buf = b;
        bits.Count = n;
        bits.Refill();
        b = bits.Buf;
        n = bits.Count;
    };
    if (count < kPair) topUp(buf, count);
    unsigned k = 1;
    for (;;) {
        const std::uint64_t e = pairs[buf >> (64 - kPair)];
        topUp(buf, count);
        if (e & 63) [[likely]] {
            // One or two symbols. One that is no coefficient (end of block,
            // or no second symbol) stores a zero where the next coefficient
            // would go, which the block holds already.
            k += (e >> 12) & 15;
            std::uint32_t at = place[k];
            block[at & 0xFF] = Low16(static_cast<std::int32_t>(static_cast<std::uint32_t>(e >> 32 & 0xFFFF) * (at >> 16)));
            k += (e >> 16) & 1;
            if (k >= 64) [[unlikely]] {  // the first symbol ended the block
                const int first = (e >> 6) & 63;
                buf <<= first;
                count -= first;
                break;
            }
            k += (e >> 17) & 15;
            at = place[k];
            block[at & 0xFF] = Low16(static_cast<std::int32_t>(static_cast<std::uint32_t>(e >> 48) * (at >> 16)));
            k += (e >> 21) & 1;
            buf <<= e & 63;
            count -= static_cast<int>(e & 63);
            if ((e & HuffmanLookup::kEndsBlock) || k >= 64) break;
            continue;
        }
        const std::uint16_t f = coding.Ac->Find(static_cast<std::uint32_t>(buf >> 48));
        const int length = f >> 8, size = f & 15, symbol = f & 0xFF;
        buf <<= length;
        count -= length;
        if (symbol == 0) break;  // end of block (or no code matched)
        const std::uint32_t value =
            size == 0 ? 0 : static_cast<std::uint32_t>(Extend(static_cast<std::uint32_t>(buf >> (64 - size)), size));
        buf <<= size;
        count -= size;
        k += symbol >> 4;
        const std::uint32_t at = place[k];
        block[at & 0xFF] = Low16(static_cast<std::int32_t>(value * (at >> 16)));
        if (++k >= 64) break;
    }
    bits.Buf = buf;
    bits.Count = count;
    return static_cast<BlockResult>(int{k > 1} + int{k > 3} + int{k > 10});
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

// The most blocks decoded before they are transformed (see DecodeMcus).
constexpr int kMaxBlocks = 12;

// The inverse DCT of the decoded blocks of one MCU, one by one.
template <void (*Idct)(std::int16_t*)>
void TransformEach(std::int16_t* const* blocks, const BlockResult* results, int n) {
    for (int i = 0; i < n; ++i) {
        if (results[i] == BlockResult::DcOnly) InverseDct8x8DcOnly(blocks[i]);
        else Idct(blocks[i]);
    }
}

// Grey MCUs whose blocks are transformed and then written, one by one:
// blocks[i] goes to dst[i], all of them whole (8x8 pixels).
template <class Stages>
void TransformWriteGray(std::int16_t* const* blocks, const BlockResult* results, int n, std::uint8_t* const* dst,
                        std::int32_t stride) {
    Stages::Transform(blocks, results, n);
    for (int i = 0; i < n; ++i) Stages::Gray(dst[i], stride, blocks[i], 8, 8);
}

// The sample stages of one path.
struct ScalarStages {
    static void Transform(std::int16_t* const* blocks, const BlockResult* results, int n) {
        TransformEach<InverseDct8x8Scalar>(blocks, results, n);
    }
    static void Gray(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
        WriteGrayMcuScalar(dst, stride, samples, cols, rows);
    }
    static void WholeGray(std::int16_t* const* blocks, const BlockResult* results, int n, std::uint8_t* const* dst,
                          std::int32_t stride) {
        TransformWriteGray<ScalarStages>(blocks, results, n, dst, stride);
    }
    static void Color(int layout, std::uint8_t* dst, std::int32_t stride,
                      const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                      const std::int16_t* cr, int cols, int rows) {
        WriteColorMcuScalar(layout, dst, stride, luma, cb, cr, cols, rows);
    }
};

struct Sse2Stages {
    static void Transform(std::int16_t* const* blocks, const BlockResult* results, int n) {
        TransformEach<InverseDct8x8>(blocks, results, n);
    }
    static void Gray(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
        WriteGrayMcu(dst, stride, samples, cols, rows);
    }
    static void WholeGray(std::int16_t* const* blocks, const BlockResult* results, int n, std::uint8_t* const* dst,
                          std::int32_t stride) {
        TransformWriteGray<Sse2Stages>(blocks, results, n, dst, stride);
    }
    static void Color(int layout, std::uint8_t* dst, std::int32_t stride,
                      const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                      const std::int16_t* cr, int cols, int rows) {
        WriteColorMcu(layout, dst, stride, luma, cb, cr, cols, rows);
    }
};

#if defined(__x86_64__)
struct Avx2Stages {
    // Blocks with AC coefficients two at a time, those with few together.
    // The blocks are sorted by kind first: no branch on a block's kind.
    static void Transform(std::int16_t* const* blocks, const BlockResult* results, int n) {
        std::int16_t* kinds[4][kMaxBlocks];
        int counts[4] = {0, 0, 0, 0};
        for (int i = 0; i < n; ++i) {
            const int kind = static_cast<int>(results[i]);
            kinds[kind][counts[kind]++] = blocks[i];
        }
        for (int i = 0; i < counts[0]; ++i) InverseDct8x8DcOnly(kinds[0][i]);
        for (int i = 0; i < counts[1]; ++i) InverseDct8x8FirstThreeAvx2(kinds[1][i]);
        int few = 0, full = 0;
        for (; few + 1 < counts[2]; few += 2) InverseDct8x8PairFirstFourAvx2(kinds[2][few], kinds[2][few + 1]);
        for (; full + 1 < counts[3]; full += 2) InverseDct8x8PairAvx2(kinds[3][full], kinds[3][full + 1]);
        // A block left over goes with the other kind's, or with zeros: a
        // pair costs less than one block alone.
        if (few < counts[2] && full < counts[3]) {
            InverseDct8x8PairAvx2(kinds[2][few], kinds[3][full]);
        } else if (few < counts[2] || full < counts[3]) {
            alignas(32) std::int16_t zeros[64] = {};
            if (few < counts[2]) InverseDct8x8PairFirstFourAvx2(kinds[2][few], zeros);
            else InverseDct8x8PairAvx2(kinds[3][full], zeros);
        }
    }
    static void Gray(std::uint8_t* dst, std::int32_t stride, const std::int16_t* samples, int cols, int rows) {
        WriteGrayMcuAvx2(dst, stride, samples, cols, rows);
    }
    // Whole grey MCUs: the transforms write their pixels themselves.
    static void WholeGray(std::int16_t* const* blocks, const BlockResult* results, int n, std::uint8_t* const* dst,
                          std::int32_t stride) {
        std::int16_t* kinds[4][kMaxBlocks];
        std::uint8_t* to[4][kMaxBlocks];
        int counts[4] = {0, 0, 0, 0};
        for (int i = 0; i < n; ++i) {
            const int kind = static_cast<int>(results[i]);
            to[kind][counts[kind]] = dst[i];
            kinds[kind][counts[kind]++] = blocks[i];
        }
        for (int i = 0; i < counts[0]; ++i) InverseDct8x8DcOnlyToGray(kinds[0][i], to[0][i], stride);
        for (int i = 0; i < counts[1]; ++i) InverseDct8x8FirstThreeToGrayAvx2(kinds[1][i], to[1][i], stride);
        int few = 0, full = 0;
        for (; few + 1 < counts[2]; few += 2)
            InverseDct8x8PairFirstFourToGrayAvx2(kinds[2][few], kinds[2][few + 1], to[2][few], to[2][few + 1], stride);
        for (; full + 1 < counts[3]; full += 2)
            InverseDct8x8PairToGrayAvx2(kinds[3][full], kinds[3][full + 1], to[3][full], to[3][full + 1], stride);
        if (few < counts[2] && full < counts[3]) {
            InverseDct8x8PairToGrayAvx2(kinds[2][few], kinds[3][full], to[2][few], to[3][full], stride);
        } else if (few < counts[2] || full < counts[3]) {
            // Paired with zeros, then written.
            alignas(32) std::int16_t zeros[64] = {};
            std::int16_t* block = few < counts[2] ? kinds[2][few] : kinds[3][full];
            if (few < counts[2]) InverseDct8x8PairFirstFourAvx2(block, zeros);
            else InverseDct8x8PairAvx2(block, zeros);
            WriteGrayMcuAvx2(few < counts[2] ? to[2][few] : to[3][full], stride, block, 8, 8);
        }
    }
    static void Color(int layout, std::uint8_t* dst, std::int32_t stride,
                      const std::array<std::array<std::int16_t, 64>, 4>& luma, const std::int16_t* cb,
                      const std::int16_t* cr, int cols, int rows) {
        WriteColorMcuAvx2(layout, dst, stride, luma, cb, cr, cols, rows);
    }
};
#endif


// The whole scan for one layout. Returns DecodeOk or DecodeBadStream.
template <class Stages, int Layout>
[[gnu::always_inline]] inline int DecodeMcus(DecoderState& s, std::uint8_t* bitmap) {
    constexpr bool kGray = Layout == kLayoutGray;
    constexpr int kLumaBlocks = kGray ? 1 : Layout == kLayout111 ? 1 : Layout == kLayout221 ? 4 : 2;
    constexpr int kBlocks = kLumaBlocks + (kGray ? 0 : 2);
    constexpr int kMcuWidth = Layout == kLayout211 || Layout == kLayout221 ? 16 : 8;
    constexpr int kMcuHeight = Layout == kLayout121 || Layout == kLayout221 ? 16 : 8;
    std::array<ComponentCoding, 3> coding;
    for (int c = 0; c < (kGray ? 1 : 3); ++c) {
        coding[c].Dc = s.DcTable[c];
        coding[c].Ac = s.AcTable[c];
        for (int k = 0; k < 80; ++k) {
            coding[c].Quant[k] = s.QuantTable[c][kZigZagGuarded[k]];
            coding[c].Place[k] = kZigZagGuarded[k] | std::uint32_t{coding[c].Quant[k]} << 16;
        }
    }
    const int width = s.Width, height = s.Height;
    BitReader& reader = s.Bits;
    ScanBits bits(reader);
    bits.Establish();
    bool byBytes = bits.OnZeroAfterFf();
    // Between MCUs: false when the scan stops here. While the bits ahead hold
    // no 0xFF, no marker can follow and the BitReader need not know where
    // the scan stands.
    const auto goOn = [&]() __attribute__((always_inline)) {
        if (!byBytes && bits.NoMarkerAhead()) return true;
        if (!byBytes) bits.Sync();
        if (reader.RunOut || CheckMarkerAfterMcu(s) == AfterMcu::Stop) return false;
        bits.Establish();
        byBytes = bits.OnZeroAfterFf();
        return true;
    };
    // A few MCUs are decoded before they are transformed, so that most
    // blocks with AC coefficients find a partner for the paired transform.
    constexpr int kGroup = kBlocks >= 4 ? 2 : kBlocks == 1 ? 8 : 4;
    static_assert(kGroup * kBlocks <= kMaxBlocks);
    struct McuSamples {
        std::array<Block, 4> Luma;
        Block Cb, Cr;
    };
    alignas(32) McuSamples work[kGroup];
    for (int y0 = 0; y0 < height; y0 += kMcuHeight) {
        const int rows = std::min(kMcuHeight, height - y0);
        std::uint8_t* row = bitmap + kDibHeaderBytes + std::int64_t{height - 1 - y0} * s.Stride;
        for (int x0 = 0; x0 < width;) {
            std::array<std::int16_t*, kGroup * kBlocks> blocks;
            std::array<BlockResult, kGroup * kBlocks> results;
            int n = 0, done = 0;
            bool stop = false;
            while (done < kGroup && !stop && x0 + done * kMcuWidth < width) {
                McuSamples& m = work[done];
#pragma GCC unroll 6
                for (int i = 0; i < kBlocks; ++i, ++n) {
                    const int c = i < kLumaBlocks ? 0 : i - kLumaBlocks + 1;
                    blocks[n] = c == 0 ? m.Luma[i].data() : c == 1 ? m.Cb.data() : m.Cr.data();
                    results[n] = byBytes ? DecodeBlockByBytes(s, c, blocks[n])
                                         : DecodeBlockFast(bits, coding[c], s.Predictors[c], blocks[n]);
                    if (results[n] == BlockResult::Bad) return DecodeBadStream;
                }
                ++done;
                stop = !goOn();
            }
            int cols = 0;
            bool written = false;
            if constexpr (kGray) {
                if (rows == 8 && x0 + done * 8 <= width) {
                    std::array<std::uint8_t*, kGroup> dst;
                    for (int g = 0; g < done; ++g) dst[g] = row + 3 * (x0 + 8 * g);
                    Stages::WholeGray(blocks.data(), results.data(), n, dst.data(), s.Stride);
                    x0 += done * 8;
                    cols = 8;
                    written = true;
                }
            }
            if (!written) {
                Stages::Transform(blocks.data(), results.data(), n);
                for (int g = 0; g < done; ++g, x0 += kMcuWidth) {
                    cols = std::min(kMcuWidth, width - x0);
                    std::uint8_t* dst = row + 3 * x0;
                    if (kGray) Stages::Gray(dst, s.Stride, work[g].Luma[0].data(), cols, rows);
                    else Stages::Color(Layout, dst, s.Stride, work[g].Luma, work[g].Cb.data(), work[g].Cr.data(), cols, rows);
                }
            }
            if (stop) {
                // The MCU in which the data ran out is still written; the
                // pixels after it are zero.
                ZeroPixelsAfter(s, bitmap, x0 - kMcuWidth + cols, y0, kMcuHeight);
                return DecodeOk;
            }
        }
    }
    return DecodeOk;
}

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

int DecodeMcusSse2(DecoderState& s, std::uint8_t* bitmap) { return DecodeAllMcus<Sse2Stages>(s, bitmap); }

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
    s.Stride = DibStride(s.Width);
    int result;
    switch (ActiveSimdPath()) {
#if defined(__x86_64__)
        case SimdPath::Avx2: result = DecodeMcusAvx2(s, bitmap.data()); break;
#endif
        case SimdPath::Sse2: result = DecodeMcusSse2(s, bitmap.data()); break;
        default: result = DecodeMcusScalar(s, bitmap.data()); break;
    }
    if (result != DecodeOk) bitmap.clear();
    return result;
}

}  // namespace vexa::jpeg
