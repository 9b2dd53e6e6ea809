#include "jpeg/huffman_lookup.h"

#include <algorithm>
#include <array>

namespace vexa::jpeg {

namespace {

constexpr int kFast = HuffmanLookup::kFastBits;
// The value field (12 bits, signed) holds every value of up to kFast - 1 bits.
static_assert(kFast <= 12);

// The fast entry for a code of `length` bits and its symbol, where `bits`
// are the kFast bits of a lookahead the code leads.
std::int32_t FastEntry(int length, int symbol, int bits, bool dc) {
    const int size = dc ? symbol : symbol & 15;
    std::int32_t e = length << 16 | symbol << 8;
    // An AC end of block gets no value, so that decoders can take every
    // entry with a value as a coefficient.
    if (size > 16 || length + size > kFast || (!dc && symbol == 0)) return e | length;
    int value = 0;
    if (size > 0) {
        const int t = (bits >> (kFast - length - size)) & ((1 << size) - 1);
        value = (t >> (size - 1)) & 1 ? t : t - ((1 << size) - 1);  // EXTEND, T.81 F.2.2.1
    }
    return e | static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << 20) | HuffmanLookup::kHasValue |
           (length + size);
}

// The pair entries of an AC table from its code counts and symbols.
void BuildPairs(HuffmanLookup& table, const std::uint8_t* counts, const std::uint8_t* symbols) {
    constexpr int kBits = HuffmanLookup::kPairBits;
    constexpr std::uint32_t kMask = (1u << kBits) - 1;
    // The leading symbol of every kBits-bit number whose code and value
    // bits lie within it: bits taken | symbol << 8 | value << 16; else 0.
    std::array<std::uint32_t, 1 << kBits> lead{};
    std::int32_t code = 0;
    for (int length = 1, k = 0; length <= kBits; ++length, code <<= 1) {
        for (int i = 0; i < counts[length - 1]; ++i, ++code, ++k) {
            const int symbol = symbols[k], size = symbol & 15, taken = length + size;
            if (taken > kBits) continue;
            for (std::uint32_t t = 0; t < (1u << size); ++t) {
                // EXTEND, T.81 F.2.2.1
                const std::int32_t value = size == 0 ? 0 : (t >> (size - 1)) & 1 ? static_cast<std::int32_t>(t)
                                                                                 : static_cast<std::int32_t>(t) - ((1 << size) - 1);
                const std::uint32_t entry = static_cast<std::uint32_t>(taken | symbol << 8) |
                                            std::uint32_t{static_cast<std::uint16_t>(value)} << 16;
                const std::uint32_t first = (static_cast<std::uint32_t>(code) << size | t) << (kBits - taken);
                std::fill_n(lead.begin() + first, 1u << (kBits - taken), entry);
            }
        }
    }
    for (std::uint32_t i = 0; i <= kMask; ++i) {
        const std::uint32_t f = lead[i];
        const int first = f & 63, symbol = (f >> 8) & 0xFF;
        if (f == 0) {
            table.Pairs[i] = 0;
        } else if (symbol == 0) {  // end of block
            table.Pairs[i] = static_cast<std::uint64_t>(first | first << 6) | HuffmanLookup::kEndsBlock;
        } else {
            std::uint64_t e = static_cast<std::uint64_t>(first << 6 | (symbol >> 4) << 12 | 1 << 16) |
                              std::uint64_t{f >> 16} << 32;
            int total = first;
            // The symbol after it, when it lies within the bits that are left.
            const std::uint32_t g = lead[(i << first) & kMask];
            const int second = g & 63, symbol2 = (g >> 8) & 0xFF;
            if (g != 0 && first + second <= kBits) {
                total += second;
                if (symbol2 == 0)
                    e |= HuffmanLookup::kEndsBlock;
                else
                    e |= static_cast<std::uint64_t>((symbol2 >> 4) << 17 | 1 << 21) | std::uint64_t{g >> 16} << 48;
            }
            table.Pairs[i] = e | static_cast<std::uint64_t>(total);
        }
    }
}

}  // namespace

int CountSymbols(const std::uint8_t* counts) {
    int total = 0;
    for (int i = 0; i < 16; ++i) total += counts[i];
    return total;
}

bool BuildHuffmanLookup(HuffmanLookup& table, const std::uint8_t* counts, const std::uint8_t* symbols, bool dc) {
    const int total = CountSymbols(counts);
    if (total > 256) return false;
    table.Fast.fill(0);
    table.End.fill(0);
    table.Index.fill(0);
    std::fill(table.Symbols.begin(), table.Symbols.end(), std::uint8_t{0});
    std::copy_n(symbols, total, table.Symbols.begin());
    std::int32_t code = 0;
    int k = 0;
    for (int length = 1; length <= 16; ++length, code <<= 1) {
        const int count = counts[length - 1];
        if (code + count > (1 << length)) return false;
        table.Index[length] = k - code;
        for (int i = 0; i < count; ++i, ++code, ++k) {
            if (length > kFast) continue;
            const int first = code << (kFast - length);
            for (int j = 0; j < 1 << (kFast - length); ++j)
                table.Fast[first + j] = FastEntry(length, symbols[k], first + j, dc);
        }
        table.End[length] = code;
    }
    if (!dc) BuildPairs(table, counts, symbols);
    return true;
}

}  // namespace vexa::jpeg
