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

// The pair entries of an AC table whose other lookups are complete.
void BuildPairs(HuffmanLookup& table) {
    constexpr int kBits = HuffmanLookup::kPairBits;
    constexpr std::uint32_t kMask = (1u << kBits) - 1;
    // (code length, symbol) of the code leading the kBits-bit number `bits`
    // when that code lies within its leading `room` bits, else length 0.
    const auto lead = [&table](std::uint32_t bits, int room, int& symbol) {
        const std::uint16_t f = table.Find((bits << (16 - kBits)) & 0xFFFF);
        const int length = f >> 8;
        symbol = f & 0xFF;
        return length <= room ? length : 0;
    };
    // The value of `size` bits at `from` bits into `bits`, extended.
    const auto valueAt = [](std::uint32_t bits, int from, int size) -> std::int32_t {
        if (size == 0) return 0;
        const std::uint32_t t = (bits >> (kBits - from - size)) & ((1u << size) - 1);
        return (t >> (size - 1)) & 1 ? static_cast<std::int32_t>(t) : static_cast<std::int32_t>(t) - ((1 << size) - 1);
    };
    for (std::uint32_t i = 0; i <= kMask; ++i) {
        int symbol = 0;
        const int length = lead(i, kBits, symbol);
        const int size = symbol & 15;
        if (length == 0 || length + size > kBits) {
            table.Pairs[i] = 0;
            continue;
        }
        const int first = length + size;
        if (symbol == 0) {  // end of block
            table.Pairs[i] = static_cast<std::uint64_t>(first | first << 6) | HuffmanLookup::kEndsBlock;
            continue;
        }
        std::uint64_t e = static_cast<std::uint64_t>(first << 6 | (symbol >> 4) << 12 | 1 << 16) |
                          std::uint64_t{static_cast<std::uint16_t>(valueAt(i, length, size))} << 32;
        int total = first;
        int second = 0;
        const int length2 = lead((i << first) & kMask, kBits - first, second);
        const int size2 = second & 15;
        if (length2 != 0 && first + length2 + size2 <= kBits) {
            total += length2 + size2;
            if (second == 0) {
                e |= HuffmanLookup::kEndsBlock;
            } else {
                e |= static_cast<std::uint64_t>((second >> 4) << 17 | 1 << 21) |
                     std::uint64_t{static_cast<std::uint16_t>(valueAt(i, first + length2, size2))} << 48;
            }
        }
        table.Pairs[i] = e | static_cast<std::uint64_t>(total);
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
    if (!dc) BuildPairs(table);
    return true;
}

}  // namespace vexa::jpeg
