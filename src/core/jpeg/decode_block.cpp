#include "jpeg/decode_block.h"

#include <algorithm>

namespace vexa::jpeg {

namespace {

// Zig-zag position to natural index for positions up to 63 + 15, where a
// run that passes the last coefficient puts its value on 63.
constexpr std::array<std::uint8_t, 80> kZigZagGuarded = [] {
    std::array<std::uint8_t, 80> t{};
    for (int k = 0; k < 80; ++k) t[k] = static_cast<std::uint8_t>(k < 64 ? kZigZag[k] : 63);
    return t;
}();

// Reads one symbol with `table` from the BitReader, and the value of
// size(symbol) bits after it. A lookahead no code covers gives symbol 0 and
// moves nothing. Returns false, reading no value, when the size exceeds 16
// (only a DC symbol can).
template <bool Dc>
bool ReadSymbol(BitReader& bits, const HuffmanLookup& table, int& symbol, std::int32_t& value) {
    const std::uint16_t e = table.Find(bits.Peek16());
    bits.Skip(e >> 8);
    symbol = e & 0xFF;
    const int size = Dc ? symbol : symbol & 15;
    if (Dc && size > 16) return false;
    value = 0;
    if (size != 0) {
        const std::uint32_t x = bits.Peek16();
        bits.Skip(size);
        value = Extend(x >> (16 - size), size);
    }
    return true;
}

}  // namespace

ComponentCoding CodingOf(const DecoderState& s, int c) {
    ComponentCoding coding;
    coding.Dc = s.DcTable[c];
    coding.Ac = s.AcTable[c];
    for (int k = 0; k < 80; ++k) {
        coding.Quant[k] = s.QuantTable[c][kZigZagGuarded[k]];
        coding.Place[k] = kZigZagGuarded[k] | std::uint32_t{coding.Quant[k]} << 16;
    }
    return coding;
}

BlockResult DecodeBlockByBytes(DecoderState& s, int c, std::int16_t* block) {
    const std::uint16_t* q = s.QuantTable[c];
    int symbol;
    std::int32_t value;
    if (!ReadSymbol<true>(s.Bits, *s.DcTable[c], symbol, value)) return BlockResult::Bad;
    s.Predictors[c] = Low16(s.Predictors[c] + value);
    std::fill_n(block, 64, std::int16_t{0});
    block[0] = Low16(static_cast<std::int32_t>(static_cast<std::uint32_t>(s.Predictors[c]) * q[0]));
    const HuffmanLookup& ac = *s.AcTable[c];
    BlockResult result = BlockResult::DcOnly;
    for (int k = 1; k < 64;) {
        ReadSymbol<false>(s.Bits, ac, symbol, value);
        if (symbol == 0) break;  // end of block (or no code matched)
        result = BlockResult::WithAc;
        // A run that passes the last coefficient puts the value on 63.
        k = std::min(k + (symbol >> 4), 64);
        const int z = kZigZag[k];
        block[z] = Low16(static_cast<std::int32_t>(static_cast<std::uint32_t>(value) * q[z]));
        ++k;
    }
    return result;
}

}  // namespace vexa::jpeg
