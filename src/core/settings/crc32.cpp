#include "settings/crc32.h"

namespace vexa {

std::uint32_t Crc32Msb(std::size_t length, const std::uint8_t* bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= static_cast<std::uint32_t>(bytes[i]) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            const bool out = (crc & 0x80000000u) != 0;
            crc <<= 1;
            if (out) crc ^= 0x04C11DB7u;
        }
    }
    return ~crc;
}

std::uint32_t Crc32Lsb(std::size_t length, const std::uint8_t* bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            const bool out = (crc & 1u) != 0;
            crc >>= 1;
            if (out) crc ^= 0xEDB88320u;
        }
    }
    return ~crc;
}

}  // namespace vexa
