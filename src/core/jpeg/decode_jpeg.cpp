// The decoder's entry: the search for SOI, the marker walk and the frame,
// table and scan headers (ITU-T T.81 annex B).
#include "jpeg/decode_jpeg.h"

#include "jpeg/decoder_state.h"

#include <new>

namespace vexa {

namespace jpeg {
namespace {

constexpr std::uint16_t kSoi = 0xFFD8, kEoi = 0xFFD9;

// How a step of the walk ended: go on, end the walk with the result value
// held so far, or fail with a result code.
enum class Step { Go, End, Fail };

struct Walk {
    DecoderState& S;
    int Result = DecodeOk;  // the result value of the walk
    int Failure = DecodeBadStream;

    Step Fail(int code) {
        Failure = code;
        return Step::Fail;
    }

    // Passes over bytes up to the next 0xFF, then reads the marker code.
    Step NextMarker(std::uint16_t& code) {
        BitReader& b = S.Bits;
        while (b.At(b.Pos) != 0xFF) {
            ++b.Pos;
            if (b.Remaining() < 0) return Fail(DecodeBadStream);
        }
        code = b.Next16();
        return b.Remaining() < 0 ? Fail(DecodeBadStream) : Step::Go;
    }

    // Reads a segment length and checks that at least that many bytes remain
    // after it (two more than the segment itself needs).
    bool ReadLength(int& length) {
        length = S.Bits.Next16();
        return length <= S.Bits.Remaining();
    }

    Step SkipSegment() {
        BitReader& b = S.Bits;
        const std::int64_t start = b.Pos;
        const int length = b.Next16();
        b.Pos = start + length;
        return b.Remaining() < 0 ? Fail(DecodeBadStream) : Step::Go;
    }

    Step ReadFrameHeader() {
        BitReader& b = S.Bits;
        S.Precision = b.Next();
        S.Height = b.Next16();
        S.Width = b.Next16();
        S.Nf = b.Next();
        if (S.Nf > 4) return Fail(DecodeBadStream);
        for (int i = 0; i < S.Nf; ++i) {
            FrameComponent& f = S.Frame[i];
            f.Id = b.Next();
            const std::uint8_t factors = b.Next();
            f.H = factors >> 4;
            f.V = factors & 15;
            f.Tq = b.Next();
        }
        S.FrameSeen = true;
        return Step::Go;
    }

    // DHT: tables must end exactly at the segment's end.
    Step ReadHuffmanTables(int n) {
        BitReader& b = S.Bits;
        while (n > 0) {
            const std::uint8_t tc = b.Next();
            if (n < 17) return Fail(DecodeBadStream);
            int slot;
            if (tc <= 3) slot = tc;
            else if (tc >= 0x10 && tc <= 0x13) slot = tc - 12;
            else return Fail(DecodeBadStream);
            std::uint8_t counts[16];
            for (auto& c : counts) c = b.Next();
            const int symbols = CountSymbols(counts);
            n -= 17 + symbols;
            if (symbols > 256 || n < 0) return Fail(DecodeBadStream);
            std::uint8_t values[256];
            for (int i = 0; i < symbols; ++i) values[i] = b.Next();
            S.Slots[slot].reset();
            try {
                S.Slots[slot] = std::make_unique<HuffmanLookup>();
            } catch (const std::bad_alloc&) {
                return Step::End;  // as if EOI had been read
            }
            if (!BuildHuffmanLookup(*S.Slots[slot], counts, values, slot < 4)) return Fail(DecodeBadStream);
        }
        return n == 0 ? Step::Go : Fail(DecodeBadStream);
    }

    // DQT: tables must end exactly at the segment's end.
    Step ReadQuantTables(int n) {
        BitReader& b = S.Bits;
        while (n > 0) {
            const std::uint8_t pqtq = b.Next();
            const int pq = pqtq >> 4, tq = pqtq & 15;
            if (pq > 1) return Step::End;  // as if EOI had been read
            if (tq > 3) return Fail(DecodeBadStream);
            n -= 1 + (pq == 0 ? 64 : 128);
            if (n < 0) return Fail(DecodeBadStream);
            for (int k = 0; k < 64; ++k) S.Quant[tq][kZigZag[k]] = pq == 0 ? b.Next() : b.Next16();
            S.QuantDefined[tq] = true;
            ResetPredictors(S, S.Quant[0].data());
        }
        return n == 0 ? Step::Go : Fail(DecodeBadStream);
    }

    Step ReadScanHeader() {
        BitReader& b = S.Bits;
        S.Ns = b.Next();
        if (S.Ns > 4) return Fail(DecodeBadStream);
        for (int i = 0; i < S.Ns; ++i) {
            ScanComponent& c = S.Scan[i];
            c.Id = b.Next();
            const std::uint8_t selectors = b.Next();
            c.DcSlot = selectors >> 4;
            c.AcSlot = 4 + (selectors & 15);
        }
        b.Pos += 3;  // spectral selection and successive approximation: not used

        S.LayoutCode = kLayoutNone;
        const auto factors = [&](int i) { return S.Frame[i].H << 4 | S.Frame[i].V; };
        if (S.Nf == 3 && factors(1) == 0x11 && factors(2) == 0x11) {
            switch (factors(0)) {
                case 0x22: S.LayoutCode = kLayout221; break;
                case 0x12: S.LayoutCode = kLayout121; break;
                case 0x21: S.LayoutCode = kLayout211; break;
                case 0x11: S.LayoutCode = kLayout111; break;
                default: break;
            }
        } else if (S.Nf == 1) {
            S.LayoutCode = kLayoutGray;
        }
        if (!S.FrameSeen || S.LayoutCode == kLayoutNone || S.Ns < S.Nf) return Fail(DecodeBadStream);

        // Scan entries are matched to frame components by position.
        for (int i = 0; i < S.Nf; ++i) {
            const ScanComponent& c = S.Scan[i];
            if (c.DcSlot > 3 || c.AcSlot > 7 || !S.Slots[c.DcSlot] || !S.Slots[c.AcSlot]) return Fail(DecodeBadStream);
            const int tq = S.Frame[i].Tq;
            if (tq > 3 || !S.QuantDefined[tq]) return Fail(DecodeBadStream);
            S.DcTable[i] = S.Slots[c.DcSlot].get();
            S.AcTable[i] = S.Slots[c.AcSlot].get();
            S.QuantTable[i] = S.Quant[tq].data();
        }
        return Step::Go;
    }

    // Finds SOI; any bytes before it are passed over.
    Step FindSoi() {
        BitReader& b = S.Bits;
        for (;;) {
            while (b.Remaining() > 0 && b.At(b.Pos) != 0xFF) ++b.Pos;
            if (b.Remaining() <= 0) return Fail(DecodeBadStream);
            const std::uint16_t code = b.Next16();
            if (code == kEoi || b.Remaining() <= 0) return Fail(DecodeBadStream);
            if (code == kSoi) return Step::Go;
        }
    }

    // One marker of the walk.
    Step Dispatch(std::uint16_t code, std::vector<std::uint8_t>& bitmap) {
        int length;
        if (code == 0xFFC0) {
            if (!ReadLength(length)) return Fail(DecodeBadStream);
            return ReadFrameHeader();
        }
        if ((code >= 0xFFC1 && code <= 0xFFC3) || (code >= 0xFFC5 && code <= 0xFFC7) ||
            (code >= 0xFFC9 && code <= 0xFFCF))
            return Fail(DecodeUnsupported);  // other coding processes, DAC (0xFFCC)
        if (code == 0xFFC4) {
            if (!ReadLength(length)) return Fail(DecodeBadStream);
            return ReadHuffmanTables(length - 2);
        }
        if (code == 0xFFDB) {
            if (!ReadLength(length)) return Fail(DecodeBadStream);
            return ReadQuantTables(length - 2);
        }
        if (code == 0xFFDA) {
            if (!ReadLength(length)) return Fail(DecodeBadStream);
            const Step header = ReadScanHeader();
            if (header != Step::Go) return header;
            Result = DecodeScan(S, bitmap);
            return Step::End;
        }
        if (code == kSoi) {
            Result = DecodeBadStream;
            return Step::Go;
        }
        if (code == kEoi) return Step::End;
        if (code == 0xFFC8 || (code >= 0xFFDC && code <= 0xFFFE)) return SkipSegment();
        return Step::Go;  // RSTn, 0xFF00-0xFFBF and 0xFFFF: nothing to do
    }
};

}  // namespace
}  // namespace jpeg

int DecodeJpegToDib(std::vector<std::uint8_t>& bitmap, const std::uint8_t* stream, std::int32_t streamBytes) {
    // The former bitmap's memory is kept aside to hold the new picture.
    std::vector<std::uint8_t> spare;
    spare.swap(bitmap);
    if (stream == nullptr) return DecodeNoInput;
    std::unique_ptr<jpeg::DecoderState> state;
    try {
        state = std::make_unique<jpeg::DecoderState>();
    } catch (const std::bad_alloc&) {
        return DecodeNoMemory;
    }
    state->Spare.swap(spare);
    jpeg::BitReader& b = state->Bits;
    b.Data = stream;
    b.Size = streamBytes > 0 ? streamBytes : 0;
    jpeg::Walk walk{*state};
    jpeg::Step step = walk.FindSoi();
    if (step == jpeg::Step::Go && b.At(b.Pos) != 0xFF) step = walk.Fail(DecodeBadStream);
    while (step == jpeg::Step::Go) {
        std::uint16_t code = 0;
        step = walk.NextMarker(code);
        if (step == jpeg::Step::Go) step = walk.Dispatch(code, bitmap);
    }
    if (step == jpeg::Step::Fail) {
        bitmap.clear();
        return walk.Failure;
    }
    if (walk.Result != DecodeOk) bitmap.clear();
    return walk.Result;
}

}  // namespace vexa
