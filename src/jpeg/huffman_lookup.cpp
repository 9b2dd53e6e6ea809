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
    std::uint32_t code = 0;
    std::uint32_t end = 0;  // canonical codes fill Entry from 0 up to here
    int k = 0;
    for (int length = 1; length <= 16; ++length, code <<= 1) {
        const int count = counts[length - 1];
        if (code + count > (1u << length)) return false;
        for (int i = 0; i < count; ++i, ++code, ++k) {
            const auto entry = static_cast<std::uint16_t>(length << 8 | symbols[k]);
            const int span = 1 << (16 - length);
            std::fill_n(table.Entry.begin() + code * span, span, entry);
            end = (code + 1) * span;
            if (length <= HuffmanLookup::kFastBits) {
                const int fastSpan = 1 << (HuffmanLookup::kFastBits - length);
                std::fill_n(table.Fast.begin() + (code << (HuffmanLookup::kFastBits - length)), fastSpan, entry);
            }
        }
    }
    std::fill(table.Entry.begin() + end, table.Entry.end(), std::uint16_t{0});
    for (int i = 0; i < (1 << HuffmanLookup::kFastBits); ++i) {
        const int e = table.Fast[i];
        const int length = e >> 8, symbol = e & 0xFF, size = symbol & 15;
        table.FastAc[i] = 0;
        if (e == 0 || length + size > HuffmanLookup::kFastBits) continue;
        int value = 0;
        if (size > 0) {
            const int t = (i >> (HuffmanLookup::kFastBits - length - size)) & ((1 << size) - 1);
            value = (t >> (size - 1)) & 1 ? t : t - ((1 << size) - 1);  // EXTEND, T.81 F.2.2.1
        }
        table.FastAc[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << 16) | symbol << 4 | (length + size);
    }
    return true;
}

}  // namespace vexa::jpeg
