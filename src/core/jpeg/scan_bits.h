// The scan data as a 64-bit buffer of bits, loaded ahead of the BitReader.
//
// Loading turns the bytes into data the way BitReader::Peek16/Skip read
// them: a 0xFF followed by 0x00 is the data byte 0xFF and takes two bytes,
// every other byte is itself, and bytes past the end read as 0. Eight bytes
// without a 0xFF at once where they lie inside the stream, byte by byte
// elsewhere. Only whole MCUs are decoded from here: at an MCU boundary
// Sync() moves the BitReader to where the buffer stands and Establish()
// starts the buffer again from the BitReader.
#pragma once

#include "jpeg/bit_reader.h"

#include <cstdint>
#include <cstring>

namespace vexa::jpeg {

class ScanBits {
public:
    explicit ScanBits(BitReader& reader) : reader_(reader) {}

    std::uint64_t Buf = 0;  // the next bits in its top Count bits
    int Count = 0;

    // Starts at the reader's position and bit offset.
    void Establish() {
        start_ = reader_.Pos;
        load_ = reader_.Pos;
        pairs_ = 0;
        byBytes_ = false;
        Buf = 0;
        Count = 0;
        Refill();
        Buf <<= reader_.Offset;
        Count -= reader_.Offset;
    }

    // Tops the buffer up to 56 to 63 bits.
    [[gnu::always_inline]] void Refill() {
        if (!TopUp(Buf, Count)) RefillByBytes();
    }

    // Refill()'s fast step on a buffer the caller holds in `buf` with
    // `count` bits: false, changing nothing, when the eight bytes ahead are
    // not all inside the stream or one of them is 0xFF.
    [[gnu::always_inline]] bool TopUp(std::uint64_t& buf, int& count) {
        if (load_ + 8 > reader_.Size) return false;
        std::uint64_t w;
        std::memcpy(&w, reader_.Data + load_, 8);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        w = __builtin_bswap64(w);  // the first byte on top
#endif
        const std::uint64_t x = ~w;  // a 0xFF byte becomes a zero byte
        if (((x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull) != 0) return false;
        buf |= w >> count;
        load_ += 7 - (count >> 3);  // whole bytes up to 56 to 63 bits
        count |= 56;
        return true;
    }

    // Whether the reader sits on a 0x00 right after a 0xFF, where its own
    // position rules apply (see BitReader::Peek16): such an MCU is decoded
    // through the reader.
    bool OnZeroAfterFf() const { return reader_.At(reader_.Pos) == 0x00 && reader_.At(reader_.Pos - 1) == 0xFF; }

    // True when the next two bytes from where the buffer stands were loaded
    // eight at a time and so are no 0xFF: then no marker or stuffed fill
    // byte can follow the MCU, and the data cannot have run out.
    // Then Sync() is also moved on to start from here.
    [[gnu::always_inline]] bool NoMarkerAhead() {
        if (byBytes_) return false;
        if (Count < 16) Refill();
        if (byBytes_ || Count < 9) return false;
        start_ += (8 * (load_ - start_) - Count) >> 3;
        return true;
    }

    // Moves the reader to where the buffer stands, as the reader's own
    // Skip() calls would have moved it (setting RunOut alike).
    void Sync() {
        std::int64_t used = 8 * (load_ - start_ - pairs_) - Count;  // bits from start_ on
        if (!byBytes_) {
            reader_.Pos = start_ + (used >> 3);
            reader_.Offset = static_cast<int>(used & 7);
            return;
        }
        reader_.Pos = start_;
        reader_.Offset = 0;
        for (; used > 0; used -= 32) reader_.Skip(used < 32 ? static_cast<int>(used) : 32);
    }

private:
    [[gnu::noinline]] void RefillByBytes() {
        Buf = Count == 0 ? 0 : Buf & (~std::uint64_t{0} << (64 - Count));
        while (Count < 56) {  // 56 to 63 bits, as the fast step leaves
            const std::uint8_t byte = reader_.At(load_);
            const bool stuffed = reader_.StuffedAt(load_);
            load_ += stuffed ? 2 : 1;
            pairs_ += stuffed ? 1 : 0;
            Buf |= std::uint64_t{byte} << (56 - Count);
            Count += 8;
        }
        byBytes_ = true;
    }

    BitReader& reader_;
    std::int64_t start_ = 0;   // where Establish() started
    std::int64_t load_ = 0;    // the next byte to load
    std::int64_t pairs_ = 0;   // two-byte data (0xFF 0x00) loaded since start_
    bool byBytes_ = false;     // some bytes since start_ were loaded one by one
};

}  // namespace vexa::jpeg
