#include "puzzle/puzzle_writer.h"

#include "puzzle/puzzle_file.h"
#include "vx_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

using vxtest::Bytes;

// Canonical files (header n = 10, texts with their zero byte) come back byte for byte.
TEST(SerializePuzzle, ReproducesTheFileItWasLoadedFrom) {
    vxtest::Recipe full = vxtest::SampleRecipe();
    vxtest::Recipe sparse;
    sparse.diffCount = 10;
    sparse.rects.assign(10, {-1, 2, -300, 32767});
    sparse.title.assign(1, '\0');
    sparse.extra = std::string(80, '\x88') + '\0';
    sparse.counts[19] = 3;
    sparse.tables[19] = Bytes(42, 0xEE);
    sparse.pictures[9].block = vxtest::Dib24(1, 1, {0x00FF00});
    for (const vxtest::Recipe& recipe : {full, sparse}) {
        const Bytes bytes = vxtest::Build(recipe).bytes;
        vexa::TPuzzleData record;
        vexa::TPuzzleSideValues side;
        vexa::TPictureSources sources;
        ASSERT_EQ(vexa::LoadPuzzleBytes(record, side, bytes.data(), bytes.size(), &sources), vexa::TLoadError::None);
        EXPECT_EQ(vexa::SerializePuzzle(record, side, sources), bytes);
    }
}

TEST(SerializePuzzle, JpegEntriesKeepTheirStreamAndS) {
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    record.BasePictures[1] = Bytes(40, 1);  // a decoded picture is not what the file holds
    sources[2] = {true, 999, Bytes{0xFF, 0xD8, 0xFF, 0xD9}};
    const Bytes bytes = vexa::SerializePuzzle(record, side, sources);
    // The last nine entries: 8 bytes each except entry 2 with its 4-byte stream.
    const Bytes tail(bytes.end() - (9 * 8 + 4 + 8), bytes.end());
    Bytes want(16, 0);
    for (std::uint8_t b : {0xE7, 0x03, 0, 0, 4, 0, 0, 0, 0xFF, 0xD8, 0xFF, 0xD9}) want.push_back(b);
    want.resize(want.size() + 7 * 8, 0);
    EXPECT_EQ(tail, want);
}

TEST(SerializePuzzle, WritesFieldsAsTheLoaderReadsThem) {
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    std::memset(record.Title, 'T', sizeof record.Title);  // no zero byte anywhere
    std::strcpy(record.SectionName, "\x95\x5C");          // second byte 0x5C stays as it is
    std::strcpy(side.ExtraText, "x");
    side.ExtraValue1 = -32768;
    record.DiffCount = 3;
    record.DiffRects[2] = {-7, 8, 9, -10};
    record.DiffRects[3] = {1, 1, 1, 1};  // beyond DiffCount: not written
    record.TableCounts[5] = 1;
    record.Tables[5] = Bytes{'R', 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
    record.PairSizes[2] = {640, -1};
    record.SparePictures[3] = vxtest::Dib24(2, 1, {1, 2});

    const Bytes bytes = vexa::SerializePuzzle(record, side);
    vexa::TPuzzleData back;
    vexa::TPuzzleSideValues backSide;
    ASSERT_EQ(vexa::LoadPuzzleBytes(back, backSide, bytes.data(), bytes.size()), vexa::TLoadError::None);
    EXPECT_EQ(std::string(back.Title), std::string(51, 'T'));
    EXPECT_STREQ(back.SectionName, "\x95\x5C");
    EXPECT_STREQ(backSide.ExtraText, "x");
    EXPECT_EQ(backSide.ExtraValue1, -32768);
    ASSERT_EQ(back.DiffCount, 3);
    EXPECT_EQ(back.DiffRects[2].Left, -7);
    EXPECT_EQ(back.DiffRects[2].Bottom, -10);
    EXPECT_EQ(back.DiffRects[3].Left, 0);
    EXPECT_EQ(back.Tables[5], record.Tables[5]);
    EXPECT_EQ(back.PairSizes[2].Width, 640);
    EXPECT_EQ(back.PairSizes[2].Height, -1);
    EXPECT_EQ(back.SparePictures[3], record.SparePictures[3]);
    EXPECT_TRUE(back.BasePictures[3].empty());
    // Header, then title with n = 52 (51 bytes and the zero).
    EXPECT_EQ(bytes[0], 10);
    EXPECT_EQ(bytes[12], 52);
}

TEST(SerializePuzzle, RefusesATableThatDoesNotMatchItsCount) {
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    record.TableCounts[0] = 2;
    record.Tables[0] = Bytes(14);
    EXPECT_THROW(vexa::SerializePuzzle(record, side), std::invalid_argument);
}

}  // namespace
