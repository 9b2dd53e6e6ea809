#include "jpeg/huffman_lookup.h"

#include <algorithm>

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
    return true;
}

}  // namespace vexa::jpeg
