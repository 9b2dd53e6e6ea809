// Baseline JPEG (ITU-T T.81, sequential DCT, Huffman) to a packed 24-bit
// bottom-up device-independent bitmap.
#pragma once

#include <cstdint>
#include <vector>

namespace vexa {

enum DecodeResult : int {
    DecodeOk = 0,           // bitmap holds the picture, or is empty when the stream ended before any scan
    DecodeNoInput = 1,      // no stream was given
    DecodeBadStream = 2,    // malformed or truncated stream, or an unsupported sampling layout
    DecodeUnsupported = 3,  // a coding process other than baseline Huffman, or a DAC segment
    DecodeNoMemory = 5,     // the bitmap could not be allocated (or would be unreasonably large)
};

// Decodes `streamBytes` bytes at `stream`. `bitmap` is cleared first; on
// DecodeOk with a scan decoded it receives the packed bitmap (40-byte
// header, no colour table, rows bottom-up). It stays empty on every other result.
int DecodeJpegToDib(std::vector<std::uint8_t>& bitmap, const std::uint8_t* stream,
                    std::int32_t streamBytes);

}  // namespace vexa
