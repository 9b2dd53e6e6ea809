#include "jpeg/huffman_lookup.h"

#include <algorithm>

namespace vexa::jpeg {

int CountSymbols(const std::uint8_t* counts) {
    int total = 0;
    for (int i = 0; i < 16; ++i) total += counts[i];
    return total;
}

bool BuildHuffmanLookup(HuffmanLookup& table, const std::uint8_t* counts, const std::uint8_t* symbols) {
    if (CountSymbols(counts) > 256) return false;
    table.Fast.fill(0);
    table.Entry.fill(0);
    std::uint32_t code = 0;
    int k = 0;
    for (int length = 1; length <= 16; ++length, code <<= 1) {
        const int count = counts[length - 1];
        if (code + count > (1u << length)) return false;
        for (int i = 0; i < count; ++i, ++code, ++k) {
            const auto entry = static_cast<std::uint16_t>(length << 8 | symbols[k]);
            const int span = 1 << (16 - length);
            std::fill_n(table.Entry.begin() + code * span, span, entry);
            if (length <= HuffmanLookup::kFastBits) {
                const int fastSpan = 1 << (HuffmanLookup::kFastBits - length);
                std::fill_n(table.Fast.begin() + (code << (HuffmanLookup::kFastBits - length)), fastSpan, entry);
            }
        }
    }
    return true;
}

}  // namespace vexa::jpeg
