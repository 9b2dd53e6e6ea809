#include "settings/crc32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace vexa {
namespace {

TEST(Crc32, BothVariantsMatchKnownValues) {
    struct Case {
        const char* name;
        std::string have;
        std::uint32_t wantMsb;
        std::uint32_t wantLsb;
    };
    const Case cases[] = {
        {"empty input is the inverted start value", "", 0x00000000u, 0x00000000u},
        {"catalogue check string", "123456789", 0xFC891918u, 0xCBF43926u},
        {"checksum text of section abc, result 205", "abc205", 0x7C79D7EFu, 0x1611C2B2u},
        // Bytes above 0x7F must be taken unsigned (a Shift-JIS pair here).
        {"Shift-JIS section", std::string("\x83\x5d", 2) + "206", 0xCA71958Fu, 0x3E1078B4u},
        {"high and zero bytes", std::string("\xff\x00\x80", 3), 0x96BB7B6Cu, 0xAC616EDFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.have.data());
        EXPECT_EQ(Crc32Msb(c.have.size(), bytes), c.wantMsb);
        EXPECT_EQ(Crc32Lsb(c.have.size(), bytes), c.wantLsb);
        // Fed in pieces of every split, the reflected one gives the same.
        for (std::size_t split = 0; split <= c.have.size(); ++split) {
            TCrc32Lsb pieces;
            pieces.Add(std::string_view(c.have).substr(0, split));
            pieces.Add(std::string_view(c.have).substr(split));
            EXPECT_EQ(pieces.Value(), c.wantLsb) << "split at " << split;
        }
    }
}

TEST(Crc32, LengthBoundsTheInput) {
    // Only `length` bytes count, whatever follows them.
    const std::uint8_t bytes[] = {'a', 'b', 'c', '2', '0', '5', 'X', 'Y'};
    EXPECT_EQ(Crc32Msb(6, bytes), 0x7C79D7EFu);
    EXPECT_EQ(Crc32Lsb(6, bytes), 0x1611C2B2u);
    EXPECT_EQ(Crc32Msb(0, nullptr), 0u);
}

}  // namespace
}  // namespace vexa
