#include "settings/crc32.h"

#include <array>

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
    TCrc32Lsb crc;
    crc.Add(std::string_view(reinterpret_cast<const char*>(bytes), length));
    return crc.Value();
}

void TCrc32Lsb::Add(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1u) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    for (const char ch : bytes) State_ = table[(State_ ^ static_cast<unsigned char>(ch)) & 0xFFu] ^ (State_ >> 8);
}

}  // namespace vexa
