// What the list reads of one puzzle file: texts, count and the photo's
// thumbnail, decoding no other picture, and the loader's error for a file
// that does not load.
#include "library_fixture.h"
#include "library/puzzle_summary.h"
#include "puzzle/puzzle_file.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

using testing::ScratchFolderTest;
using SummaryTest = ScratchFolderTest;

TEST_F(SummaryTest, ReadsTextsCountAndAThumbnailOfThePhoto) {
    vxtest::Recipe r = testing::NamedRecipe("T\x82\xA0", "Sec", 0x204060, 5);
    // Left half red, right half blue: the thumbnail keeps them apart.
    r.pictures[8].block = vexa::test::Dib24(8, 6, [](int x, int) { return x < 4 ? 0xFF0000u : 0x0000FFu; });
    const TPuzzleSummary s = ReadPuzzleSummary(PutPuzzle("a.VX", r));
    EXPECT_EQ(s.Error, TLoadError::None);
    EXPECT_EQ(s.Title, "T\x82\xA0");
    EXPECT_EQ(s.Section, "Sec");
    EXPECT_EQ(s.DiffCount, 5);
    ASSERT_EQ(s.Thumbnail.Width, 128);
    ASSERT_EQ(s.Thumbnail.Height, 96);
    EXPECT_EQ(s.Thumbnail.Rgb[0], 0xFF);
    EXPECT_EQ(s.Thumbnail.Rgb[2], 0x00);
    const std::size_t last = s.Thumbnail.Rgb.size() - 3;
    EXPECT_EQ(s.Thumbnail.Rgb[last], 0x00);
    EXPECT_EQ(s.Thumbnail.Rgb[last + 2], 0xFF);
}

TEST_F(SummaryTest, DecodesOnlyThePhotoSoAFaultElsewhereIsLeftToLoading) {
    // Entry 3's stream is cut before its frame: decoding it fails.
    vxtest::Recipe r = vxtest::SampleRecipe();
    r.pictures[3] = {2, {0xFF, 0xD8, 0xFF, 0xD9}, {}};
    const std::string path = PutPuzzle("broken-scene.VX", r);
    static TPuzzleData record;
    TPuzzleSideValues side;
    record.Reset();
    ASSERT_EQ(LoadPuzzleFile(record, side, path), TLoadError::NoMemory);

    const TPuzzleSummary s = ReadPuzzleSummary(path);
    EXPECT_EQ(s.Error, TLoadError::None);
    EXPECT_EQ(s.Thumbnail.Width, 128);
    EXPECT_EQ(s.Thumbnail.Height, 43);  // 3 x 1
}

TEST_F(SummaryTest, AFileThatDoesNotLoadGivesTheLoadersError) {
    vxtest::Recipe badHeader = testing::NamedRecipe("t", "s", 0);
    badHeader.header = "not a puzzle";
    vxtest::Recipe tooMany = testing::NamedRecipe("t", "s", 0);
    tooMany.diffCount = 11;
    vxtest::Recipe hugeBlock = testing::NamedRecipe("t", "s", 0);
    hugeBlock.pictures[0] = {0, {}, 0x7FFFFFFF};
    vxtest::Recipe negativeTable = testing::NamedRecipe("t", "s", 0);
    negativeTable.counts[4] = -1;
    auto bytes = [](const vxtest::Recipe& recipe) {
        const vxtest::Bytes b = vxtest::Build(recipe).bytes;
        return std::string(b.begin(), b.end());
    };
    const std::string whole = bytes(testing::NamedRecipe("t", "s", 0));
    const struct {
        const char* name;
        std::string bytes;
        TLoadError error;
    } cases[] = {
        {"bad header", bytes(badHeader), TLoadError::BadData},
        {"eleven differences", bytes(tooMany), TLoadError::BadData},
        {"one byte", "x", TLoadError::DiskError},
        // The last entry is S and L (8 bytes); 13 off ends inside the photo.
        {"cut in the photo", whole.substr(0, whole.size() - 13), TLoadError::NoMemory},
        {"cut in the last S", whole.substr(0, whole.size() - 6), TLoadError::DiskError},
        {"block over the cap", bytes(hugeBlock), TLoadError::NoMemory},
        {"negative table count", bytes(negativeTable), TLoadError::NoMemory},
    };
    for (const auto& c : cases) {
        const TPuzzleSummary s = ReadPuzzleSummary(Put("x.VX", c.bytes));
        EXPECT_EQ(s.Error, c.error) << c.name;
        EXPECT_TRUE(s.Thumbnail.Empty()) << c.name;
        EXPECT_TRUE(s.Title.empty()) << c.name;
    }
    EXPECT_EQ(ReadPuzzleSummary(Path("missing.VX")).Error, TLoadError::CannotOpen);
    std::filesystem::create_directory(Path("folder.VX"));
    EXPECT_EQ(ReadPuzzleSummary(Path("folder.VX")).Error, TLoadError::CannotOpen);
}

TEST_F(SummaryTest, EveryCutFileGivesTheErrorLoadingGives) {
    const vxtest::Bytes whole = vxtest::Build(vxtest::SampleRecipe()).bytes;
    for (std::size_t n = 0; n <= whole.size(); ++n) {
        static TPuzzleData record;
        TPuzzleSideValues side;
        record.Reset();
        const TLoadError loading = LoadPuzzleBytes(record, side, whole.data(), n);
        const std::string path = Put("cut.VX", std::string(whole.begin(), whole.begin() + static_cast<long>(n)));
        ASSERT_EQ(ReadPuzzleSummary(path).Error, loading) << "cut at " << n;
    }
}

TEST_F(SummaryTest, APhotoThatCannotBeDrawnLeavesTheThumbnailEmpty) {
    vxtest::Recipe r = testing::NamedRecipe("t", "s", 0);
    r.pictures[8].block.resize(30);  // shorter than its header
    const TPuzzleSummary s = ReadPuzzleSummary(PutPuzzle("a.VX", r));
    EXPECT_EQ(s.Error, TLoadError::None);
    EXPECT_TRUE(s.Thumbnail.Empty());
}

TEST(MakeThumbnail, FitsTheBoxKeepingProportionsAndAveragesWhatItCovers) {
    const struct {
        int w, h, tw, th;
    } shapes[] = {{480, 360, 128, 96}, {360, 480, 96, 128}, {4096, 1, 128, 1}, {2, 2, 128, 128}, {1, 1000, 1, 128}};
    for (const auto& s : shapes) {
        const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(s.w) * s.h, 0xFF808080);
        const TThumbnail t = MakeThumbnail(pixels.data(), s.w, s.h);
        EXPECT_EQ(t.Width, s.tw) << s.w << "x" << s.h;
        EXPECT_EQ(t.Height, s.th) << s.w << "x" << s.h;
        EXPECT_EQ(t.Rgb.size(), static_cast<std::size_t>(s.tw) * s.th * 3);
    }
    // 256 x 2 stripes of black and white columns average to grey.
    std::vector<std::uint32_t> stripes(512);
    for (int i = 0; i < 512; ++i) stripes[i] = (i % 2) ? 0xFFFFFFFF : 0xFF000000;
    const TThumbnail t = MakeThumbnail(stripes.data(), 256, 2);
    EXPECT_EQ(t.Width, 128);
    EXPECT_EQ(t.Rgb[0], 128);
    EXPECT_TRUE(MakeThumbnail(nullptr, 4, 4).Empty());
}

}  // namespace
}  // namespace vexa
