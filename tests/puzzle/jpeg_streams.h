// Tiny hand-made baseline streams for the loader's tests: a grey frame of any
// claimed size with one-code Huffman tables (every block is DC 0, EOB), and
// a few bytes of scan data after which the scan runs out.
#pragma once

#include <cstdint>
#include <vector>

namespace vxtest {

inline std::vector<std::uint8_t> GreyStream(int width, int height, std::uint8_t fill = 0) {
    std::vector<std::uint8_t> s = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00};
    s.insert(s.end(), 64, 1);  // quantisation table 0
    const std::uint8_t frame[] = {0xFF, 0xC0, 0x00, 0x0B, 0x08,
                                  static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                                  static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width),
                                  0x01, 0x01, 0x11, 0x00};
    s.insert(s.end(), std::begin(frame), std::end(frame));
    for (std::uint8_t tc : {0x00, 0x10}) {  // DC table 0, AC table 0: one code of length 1, symbol 0
        const std::uint8_t dht[] = {0xFF, 0xC4, 0x00, 0x14, tc, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00};
        s.insert(s.end(), std::begin(dht), std::end(dht));
    }
    const std::uint8_t scan[] = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00};
    s.insert(s.end(), std::begin(scan), std::end(scan));
    s.insert(s.end(), 16, fill);
    s.insert(s.end(), {0xFF, 0xD9});
    return s;
}

}  // namespace vxtest
