// Entropy decoding of the one scan, MCU by MCU (ITU-T T.81 annex F, baseline).
#include "decode_jpeg.h"
#include "jpeg/decoder_state.h"
#include "jpeg/dib_writer.h"
#include "jpeg/inverse_dct.h"

#include <algorithm>

namespace vexa::jpeg {

namespace {

// The EXTEND procedure of T.81: the s-bit value t as a signed difference.
inline std::int32_t Extend(std::uint32_t t, int s) {
    return (t >> (s - 1)) & 1 ? static_cast<std::int32_t>(t) : static_cast<std::int32_t>(t) - ((1 << s) - 1);
}

// Reads symbols and their values. While the stream allows it, bits come
// from a 56-bit window that is refilled only when fewer than 32 bits (the
// most one symbol and its value take) are left in it; otherwise each symbol
// goes through Peek16/Skip. Both give the same bits and positions. Commit()
// must run before anyone else moves the reader.
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
        if (!Dc) {
            const std::int32_t f = table.FastAc[window_ >> (64 - HuffmanLookup::kFastBits)];
            if (f != 0) {
                const int n = f & 15;
                symbol = (f >> 4) & 0xFF;
                value = f >> 16;
                window_ <<= n;
                used_ += n;
                avail_ -= n;
                return true;
            }
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

inline std::int16_t Low16(std::int32_t v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v)); }

enum class BlockResult { DcOnly, WithAc, Bad };

// Decodes one block of component `c` (0 to 2) into `block` in natural order.
// Bad on a DC size above 16; DcOnly when no AC coefficient was coded.
BlockResult DecodeBlock(DecoderState& s, int c, std::int16_t* block) {
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

// Decodes one block and transforms it into samples.
bool DecodeAndTransform(DecoderState& s, int c, std::int16_t* block) {
    switch (DecodeBlock(s, c, block)) {
        case BlockResult::DcOnly: InverseDct8x8DcOnly(block); return true;
        case BlockResult::WithAc: InverseDct8x8(block); return true;
        case BlockResult::Bad: break;
    }
    return false;
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

enum class McuResult { Go, Stop, Bad };

// Decodes, transforms and writes one MCU whose top-left pixel is (x0, y0),
// clipped to cols x rows; then looks for a marker.
McuResult DecodeMcu(DecoderState& s, std::uint8_t* bitmap, int x0, int y0, int cols, int rows) {
    const int yBlocks = s.LayoutCode == kLayoutGray ? 1 : s.Frame[0].H * s.Frame[0].V;
    for (int i = 0; i < yBlocks; ++i)
        if (!DecodeAndTransform(s, 0, s.Luma[i].data())) return McuResult::Bad;
    std::uint8_t* dst = bitmap + kDibHeaderBytes + std::int64_t{s.Height - 1 - y0} * s.Stride + 3 * x0;
    if (s.LayoutCode == kLayoutGray) {
        WriteGrayMcu(dst, s.Stride, s.Luma[0].data(), cols, rows);
    } else {
        if (!DecodeAndTransform(s, 1, s.Cb.data()) || !DecodeAndTransform(s, 2, s.Cr.data())) return McuResult::Bad;
        WriteColorMcu(s.LayoutCode, dst, s.Stride, s.Luma, s.Cb.data(), s.Cr.data(), cols, rows);
    }
    // The MCU in which the data ran out is still written.
    if (s.Bits.RunOut) return McuResult::Stop;
    return CheckMarkerAfterMcu(s) == AfterMcu::Go ? McuResult::Go : McuResult::Stop;
}

}  // namespace

void ResetPredictors(DecoderState& s, const std::uint16_t* quant) {
    const int q = quant[0];
    s.Predictors[0] = static_cast<std::int16_t>(q == 0 ? 1024 : 1024 / q);
    s.Predictors[1] = s.Predictors[2] = 0;
}

int DecodeScan(DecoderState& s, std::vector<std::uint8_t>& bitmap) {
    if (!CreateDibBlock(bitmap, s.Width, s.Height)) return DecodeNoMemory;
    s.Stride = DibStride(s.Width);
    const bool gray = s.LayoutCode == kLayoutGray;
    const int mcuWidth = gray ? 8 : 8 * s.Frame[0].H;
    const int mcuHeight = gray ? 8 : 8 * s.Frame[0].V;
    const int width = s.Width, height = s.Height;
    // Whole MCUs first, then the clipped ones at the right and bottom edges.
    for (int y0 = 0; y0 < height; y0 += mcuHeight) {
        const int rows = std::min(mcuHeight, height - y0);
        for (int x0 = 0; x0 < width; x0 += mcuWidth) {
            const int cols = std::min(mcuWidth, width - x0);
            switch (DecodeMcu(s, bitmap.data(), x0, y0, cols, rows)) {
                case McuResult::Go: break;
                case McuResult::Stop: return DecodeOk;
                case McuResult::Bad: bitmap.clear(); return DecodeBadStream;
            }
        }
    }
    return DecodeOk;
}

}  // namespace vexa::jpeg
