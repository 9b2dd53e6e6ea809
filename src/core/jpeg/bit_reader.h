// The read position in a JPEG stream, and the scan data read bit by bit from
// it: the marker walk reads whole bytes here, and the scan decoder the MCUs
// that its faster ScanBits cannot take (see scan_bits.h).
//
// The position is a byte offset plus a bit offset (0-7, most significant bit
// first). Bytes outside the stream read as zero, so nothing is ever read out
// of bounds; moving past the end of the stream is "running out".
#pragma once

#include <cstdint>

namespace vexa::jpeg {

struct BitReader {
    const std::uint8_t* Data = nullptr;
    std::int64_t Size = 0;
    std::int64_t Pos = 0;  // next unread byte; Size - Pos is what remains
    int Offset = 0;        // bits of the byte at Pos already used
    bool RunOut = false;   // the scan data ran out; stays set for the scan

    std::uint8_t At(std::int64_t i) const { return i >= 0 && i < Size ? Data[i] : 0; }
    std::int64_t Remaining() const { return Size - Pos; }

    // The byte at Pos, then Pos moves on by one.
    std::uint8_t Next() { return At(Pos++); }
    // A big-endian 16-bit value.
    std::uint16_t Next16() {
        const int hi = Next();
        return static_cast<std::uint16_t>(hi << 8 | Next());
    }

    // A 0xFF followed by 0x00 in scan data is the data byte 0xFF.
    bool StuffedAt(std::int64_t i) const { return At(i) == 0xFF && At(i + 1) == 0x00; }

    // The next 16 data bits; the position does not move. A 0x00 at the
    // position itself is passed over when the byte before it is 0xFF.
    std::uint32_t Peek16() const {
        std::int64_t p = Pos;
        if (At(p) == 0x00 && At(p - 1) == 0xFF) ++p;
        std::uint32_t acc = 0;
        for (int i = 0; i < 3; ++i) {
            acc = acc << 8 | At(p);
            p += StuffedAt(p) ? 2 : 1;
        }
        return (acc >> (8 - Offset)) & 0xFFFF;
    }

    // Moves on by n bits (0 to 32), passing over stuffed zero bytes.
    void Skip(int n) {
        const int total = Offset + n;
        for (int i = 0; i < total >> 3; ++i) Pos += StuffedAt(Pos) ? 2 : 1;
        Offset = total & 7;
        if (Pos > Size) RunOut = true;
    }
};

}  // namespace vexa::jpeg
