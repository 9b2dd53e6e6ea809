// Huffman tables as direct lookups on the next 16 bits of scan data.
#pragma once

#include <array>
#include <cstdint>

namespace vexa::jpeg {

// One Huffman table. Entry[x] is (code length << 8) | symbol for the code
// whose bits lead the 16-bit lookahead x; length 0 (symbol 0) where no code
// matches. Fast[] holds the same for the top kFastBits bits when the code is
// that short, and 0 otherwise, so most symbols are found in a small table.
struct HuffmanLookup {
    static constexpr int kFastBits = 9;
    // Left unset here: BuildHuffmanLookup writes every entry once.
    HuffmanLookup() {}

    std::array<std::uint16_t, 1 << kFastBits> Fast;
    std::array<std::uint16_t, 65536> Entry;
    // For AC tables: where a code and the value bits that follow it (size =
    // low four bits of the symbol) fit in the top kFastBits bits, the whole
    // step at once: bits 0-3 the bits used, 4-11 the symbol, 16-31 the value.
    // 0 where they do not fit.
    std::array<std::int32_t, 1 << kFastBits> FastAc;

    // Length and symbol of the code leading the lookahead x.
    std::uint16_t Find(std::uint32_t x) const {
        const std::uint16_t e = Fast[x >> (16 - kFastBits)];
        return e != 0 ? e : Entry[x];
    }
};

// Builds `table` from the 16 code counts (codes of length 1 to 16) and the
// symbols in code order, assigning codes as ITU-T T.81 annex C does. Returns
// false when there are more than 256 codes or the counts overflow the code
// space (a code of length L reaching 2^L); the table is then unusable.
bool BuildHuffmanLookup(HuffmanLookup& table, const std::uint8_t* counts, const std::uint8_t* symbols);

// Number of symbols the 16 counts announce.
int CountSymbols(const std::uint8_t* counts);

}  // namespace vexa::jpeg
