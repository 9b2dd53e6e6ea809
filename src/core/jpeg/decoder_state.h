// Per-call state of the JPEG decoder and the internal operations that share it.
// Nothing here survives a call of DecodeJpegToDib.
#pragma once

#include "jpeg/bit_reader.h"
#include "jpeg/huffman_lookup.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vexa::jpeg {

// Zig-zag index to natural index (ITU-T T.81, figure A.6), then 8 guard entries
// of 63 so that a run past the last coefficient lands on coefficient 63.
inline constexpr std::array<std::uint16_t, 72> kZigZag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48, 41, 34,
    27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63};

// Sampling layouts: the MCU shapes the decoder supports.
enum Layout : int {
    kLayoutGray = 0,  // one component, one 8x8 block per MCU whatever its factors
    kLayout111 = 1,   // 1x1, 1x1, 1x1
    kLayout211 = 2,   // 2x1: 16 wide, 8 high
    kLayout121 = 3,   // 1x2: 8 wide, 16 high
    kLayout221 = 4,   // 2x2: 16x16
    kLayoutNone = 99,
};

// The MCU of a layout: chroma samples cover 1 << Hs pixels across and
// 1 << Vs down; the luma blocks stand in rows of 1 << Hs.
template <int Layout>
struct McuShape {
    static constexpr bool kGray = Layout == kLayoutGray;
    static constexpr int kHs = Layout == kLayout211 || Layout == kLayout221 ? 1 : 0;
    static constexpr int kVs = Layout == kLayout121 || Layout == kLayout221 ? 1 : 0;
    static constexpr int kLumaBlocks = (1 + kHs) * (1 + kVs);
    static constexpr int kBlocks = kLumaBlocks + (kGray ? 0 : 2);
    static constexpr int kWidth = 8 << kHs, kHeight = 8 << kVs;
};

struct FrameComponent {
    std::uint8_t Id = 0, H = 0, V = 0, Tq = 0;
};

struct ScanComponent {
    std::uint8_t Id = 0, DcSlot = 0, AcSlot = 0;
};

// One coefficient block: 64 signed 16-bit values in natural order, samples after the transform.
using Block = std::array<std::int16_t, 64>;

// The samples of one MCU: the Y blocks in MCU order, one Cb and one Cr block.
struct McuSamples {
    std::array<Block, 4> Luma;
    Block Cb, Cr;
};

struct DecoderState {
    BitReader Bits;  // the stream, the read position and the bit offset

    std::uint16_t Width = 0, Height = 0;
    bool FrameSeen = false;
    std::uint8_t Precision = 0;  // read and ignored: 8 is assumed
    std::uint8_t Nf = 0;
    std::array<FrameComponent, 4> Frame{};
    std::uint8_t Ns = 0;
    std::array<ScanComponent, 4> Scan{};

    std::array<std::unique_ptr<HuffmanLookup>, 8> Slots;  // 0-3 DC, 4-7 AC
    std::array<std::array<std::uint16_t, 64>, 4> Quant{};  // natural order
    std::array<bool, 4> QuantDefined{};
    std::array<std::int16_t, 3> Predictors{};
    int LayoutCode = kLayoutNone;

    // Per-component selections for components 1 to 3 (index 0 to 2).
    std::array<const HuffmanLookup*, 3> DcTable{};
    std::array<const HuffmanLookup*, 3> AcTable{};
    std::array<const std::uint16_t*, 3> QuantTable{};

    std::int32_t Stride = 0;
    // The caller's former bitmap, reused for the new one when large enough.
    std::vector<std::uint8_t> Spare;
};

// Sets the three DC predictors: component 1 to 1024 / q (1024 when q is 0),
// where q is the DC entry of `quant`; components 2 and 3 to 0.
void ResetPredictors(DecoderState& s, const std::uint16_t* quant);

// Decodes the scan that starts at the read position into `bitmap`.
// Returns DecodeOk, DecodeNoMemory, or DecodeBadStream (bitmap cleared).
int DecodeScan(DecoderState& s, std::vector<std::uint8_t>& bitmap);

}  // namespace vexa::jpeg
