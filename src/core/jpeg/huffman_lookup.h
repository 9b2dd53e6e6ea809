// Huffman tables as a direct lookup on the next kFastBits bits of scan data,
// with the canonical code ranges for the longer codes.
#pragma once

#include <array>
#include <cstdint>

namespace vexa::jpeg {

// One Huffman table.
struct HuffmanLookup {
    static constexpr int kFastBits = 10;

    // Fast entries, one for each value of the leading kFastBits bits:
    //   bits 0-5   the bits the step takes (the code, plus the value bits
    //              when kHasValue is set)
    //   bit 6      kHasValue: the value bits that follow the code (size =
    //              the symbol for DC, its low four bits for AC) fit too;
    //              never set for AC symbol 0 (end of block)
    //   bits 8-15  the symbol
    //   bits 16-19 the code length
    //   bits 20-31 the value, extended, when kHasValue is set
    // 0 where the code is longer than kFastBits bits or no code matches.
    static constexpr std::int32_t kHasValue = 1 << 6;
    // Left unset here: BuildHuffmanLookup writes every entry it uses.
    HuffmanLookup() {}

    std::array<std::int32_t, 1 << kFastBits> Fast;
    // AC tables only: up to two symbols with their values from the leading
    // kPairBits bits, when their codes and value bits all lie within them.
    //   bits 0-5   the bits the entry takes; 0 where the first code is
    //              longer, its value does not fit, or no code matches
    //   bits 6-11  the bits of the first symbol and its value alone
    //   bits 12-15 run of the first symbol, bit 16 set when it is a
    //              coefficient (clear for end of block)
    //   bits 17-20 run of the second symbol, bit 21 set when there is one
    //              and it is a coefficient
    //   bit 22     kEndsBlock: the first or the second symbol is end of block
    //   bits 32-47 value of the first, bits 48-63 of the second (signed;
    //              0 for end of block or no second symbol)
    // A symbol that is no coefficient has run and value 0, so a decoder may
    // store its zero value at the current position like a coefficient's.
    static constexpr int kPairBits = 11;
    static constexpr std::uint64_t kEndsBlock = 1 << 22;
    std::array<std::uint64_t, 1 << kPairBits> Pairs;

    // End[L]: one past the last code of length L (1 to 16) as an L-bit
    // number; a lookahead no shorter code matches has a code of length L
    // when its leading L bits are below End[L]. Index[L] turns those bits
    // into the position of the symbol in Symbols.
    std::array<std::int32_t, 17> End;
    std::array<std::int32_t, 17> Index;
    std::array<std::uint8_t, 256> Symbols;

    // (code length << 8) | symbol of the code leading the 16-bit lookahead
    // x, or 0 when no code matches.
    std::uint16_t Find(std::uint32_t x) const {
        const std::int32_t e = Fast[x >> (16 - kFastBits)];
        if (e != 0) return static_cast<std::uint16_t>(((e >> 16) & 15) << 8 | ((e >> 8) & 0xFF));
        return FindLong(x);
    }
    // The same for a code longer than kFastBits bits.
    std::uint16_t FindLong(std::uint32_t x) const {
        for (int length = kFastBits + 1; length <= 16; ++length) {
            const std::int32_t code = static_cast<std::int32_t>(x >> (16 - length));
            if (code < End[length]) return static_cast<std::uint16_t>(length << 8 | Symbols[Index[length] + code]);
        }
        return 0;
    }
};

// Builds `table` from the 16 code counts (codes of length 1 to 16) and the
// symbols in code order, assigning codes as ITU-T T.81 annex C does. Returns
// false when there are more than 256 codes or the counts overflow the code
// space (a code of length L reaching 2^L); the table is then unusable.
// `dc` tells how a symbol gives the size of the value after it.
bool BuildHuffmanLookup(HuffmanLookup& table, const std::uint8_t* counts, const std::uint8_t* symbols, bool dc);

// Number of symbols the 16 counts announce.
int CountSymbols(const std::uint8_t* counts);

}  // namespace vexa::jpeg
