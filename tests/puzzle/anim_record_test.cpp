#include "puzzle/anim_record.h"

#include "picture_builders.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vexa {
namespace {

TEST(AnimRecord, ReadsAndWritesTheBytesABuilderWritesByHand) {
    struct Case {
        const char* name;
        TAnimRecord have;
    };
    const Case cases[] = {
        {"copy", {'C', 10, 20, 30, 40, 5, 6}},
        {"wait", {'W', 0, 0, 0, 0, 25, 0}},
        {"negative positions", {'T', -1, -300, -32768, 2, 3, 4}},
        {"extremes", {'R', 32767, -32768, 256, 255, -256, 1}},
    };
    for (const Case& c : cases) {
        const TAnimRecord& r = c.have;
        std::vector<std::uint8_t> want;
        test::AppendRecord(want, r.Command, r.SourceX, r.SourceY, r.DestX, r.DestY, r.Width, r.Height);
        ASSERT_EQ(want.size(), std::size_t{kAnimRecordBytes});

        std::vector<std::uint8_t> have{0xEE};  // appended after what is there
        AppendAnimRecord(have, r);
        EXPECT_EQ(std::vector<std::uint8_t>(have.begin() + 1, have.end()), want) << c.name;

        const TAnimRecord back = ReadAnimRecord(want.data());
        EXPECT_EQ(back.Command, r.Command) << c.name;
        EXPECT_EQ(back.SourceX, r.SourceX) << c.name;
        EXPECT_EQ(back.SourceY, r.SourceY) << c.name;
        EXPECT_EQ(back.DestX, r.DestX) << c.name;
        EXPECT_EQ(back.DestY, r.DestY) << c.name;
        EXPECT_EQ(back.Width, r.Width) << c.name;
        EXPECT_EQ(back.Height, r.Height) << c.name;
    }
}

}  // namespace
}  // namespace vexa
