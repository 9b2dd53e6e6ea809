// Decoding one block of coefficients from the scan data (ITU-T T.81
// F.2.2, baseline): the fast way through ScanBits, inline for the scan loop,
// and through the BitReader for the MCUs ScanBits cannot take.
#pragma once

#include "jpeg/decoder_state.h"
#include "jpeg/huffman_lookup.h"
#include "jpeg/scan_bits.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vexa::jpeg {

// What a decoded block holds besides its DC coefficient. FirstThree: no
// coefficient but 0, 1 and 8 (none past zig-zag position 2); FirstFour: none
// outside rows 0-3 and columns 0-3 (none past position 9).
enum class BlockResult { DcOnly = 0, FirstThree = 1, FirstFour = 2, WithAc = 3, Bad = 4 };

// The EXTEND procedure of T.81: the s-bit value t as a signed difference.
inline std::int32_t Extend(std::uint32_t t, int s) {
    return (t >> (s - 1)) & 1 ? static_cast<std::int32_t>(t) : static_cast<std::int32_t>(t) - ((1 << s) - 1);
}

inline std::int16_t Low16(std::int32_t v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v)); }

// Decodes one block of component `c` (0 to 2) into `block` in natural order
// through the BitReader. Bad on a DC size above 16; DcOnly when no AC
// coefficient was coded.
BlockResult DecodeBlockByBytes(DecoderState& s, int c, std::int16_t* block);

// What one component's blocks are decoded with.
struct ComponentCoding {
    const HuffmanLookup* Dc = nullptr;
    const HuffmanLookup* Ac = nullptr;
    // By zig-zag position up to 63 + 15, where a run that passes the last
    // coefficient puts its value on 63: the quantiser, and natural index |
    // quantiser << 16.
    std::array<std::uint16_t, 80> Quant{};
    std::array<std::uint32_t, 80> Place{};
};

// The tables of component `c` (0 to 2) of the scan.
ComponentCoding CodingOf(const DecoderState& s, int c);

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
[[gnu::always_inline]] inline void PutCoefficient(std::int16_t* block, std::uint32_t at, std::uint32_t value) {
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
    PutCoefficient(block, place[k], static_cast<std::uint32_t>(e >> 32 & 0xFFFF));
    k += (e >> 16) & 1;
    if (k >= 64) [[unlikely]] {  // the first symbol ended the block
        const int first = (e >> 6) & 63;
        buf <<= first;
        count -= first;
        return true;
    }
    k += (e >> 17) & 15;
    PutCoefficient(block, place[k], static_cast<std::uint32_t>(e >> 48));
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
    PutCoefficient(block, place[k], value);
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

}  // namespace vexa::jpeg
