#include "puzzle/puzzle_file.h"

#include "jpeg/decode_jpeg.h"
#include "vx_builder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using vxtest::Bytes;
using vxtest::Recipe;
namespace fs = std::filesystem;

std::string Msg(vexa::TLoadError e) { return vexa::LoadErrorName(e); }

std::string Load(const Bytes& bytes, vexa::TPuzzleData& record, vexa::TPuzzleSideValues& side) {
    return Msg(vexa::LoadPuzzleBytes(record, side, bytes.data(), bytes.size()));
}

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/vexa-puzzle-XXXXXX";
        path_ = ::mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string File(const std::string& name, const Bytes& bytes) const {
        const std::string p = path_ + "/" + name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// A baseline stream made by cjpeg from a small gradient; empty when cjpeg is missing.
Bytes CjpegStream(const TempDir& dir, int width, int height) {
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ppm += {char(x * 16), char(y * 16), char(96)};
    const std::string in = dir.File("in.ppm", Bytes(ppm.begin(), ppm.end()));
    const std::string out = dir.Path() + "/out.jpg";
    if (std::system(("cjpeg -quality 90 " + in + " > " + out).c_str()) != 0) return {};
    std::ifstream f(out, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

bool DecoderAvailable(const Bytes& stream) {
    Bytes bitmap;
    return vexa::DecodeJpegToDib(bitmap, stream.data(), static_cast<std::int32_t>(stream.size())) == vexa::DecodeOk;
}

TEST(LoadPuzzle, ReadsEveryFieldOfAWholeFile) {
    const Recipe recipe = vxtest::SampleRecipe();
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    ASSERT_EQ(Load(vxtest::Build(recipe).bytes, record, side), "none");

    EXPECT_EQ(record.Loaded, 1);
    EXPECT_STREQ(record.Title, "Title");
    EXPECT_STREQ(record.SectionName, "Sec\x82\xA0");
    EXPECT_STREQ(side.CurrentSection, "Sec\x82\xA0");
    EXPECT_STREQ(side.ExtraText, "extra");
    EXPECT_EQ(side.ExtraValue1, 7);
    EXPECT_EQ(side.ExtraValue2, -8);
    ASSERT_EQ(record.DiffCount, 2);
    EXPECT_EQ(record.DiffRects[1].Left, -5);
    EXPECT_EQ(record.DiffRects[1].Bottom, 80);
    EXPECT_EQ(record.DiffRects[2].Right, 0);
    EXPECT_EQ(record.TableCounts[0], 2);
    EXPECT_EQ(record.TableCounts[7], 1);
    EXPECT_EQ(record.Tables[0], recipe.tables[0]);
    EXPECT_EQ(record.Tables[7], recipe.tables[7]);
    EXPECT_TRUE(record.Tables[1].empty());
    EXPECT_EQ(record.PairSizes[4].Width, 3);
    EXPECT_EQ(record.PairSizes[4].Height, 1);
    EXPECT_EQ(record.BasePictures[0], recipe.pictures[0].block);
    EXPECT_TRUE(record.SparePictures[0].empty());
    EXPECT_EQ(record.BasePictures[4], recipe.pictures[8].block);
    EXPECT_TRUE(record.SparePictures[1].empty());
}

TEST(LoadPuzzle, OutcomeOfOddFiles) {
    struct Case {
        const char* name;
        void (*edit)(Recipe&);
        vexa::TLoadError want;
    };
    const Case cases[] = {
        {"header with its zero byte", [](Recipe& s) { s.header.push_back('\0'); }, vexa::TLoadError::None},
        {"header with bytes after the zero", [](Recipe& s) { s.header += std::string("\0junk", 5); }, vexa::TLoadError::None},
        {"header of 80 bytes", [](Recipe& s) { s.header.resize(80, 'x'); }, vexa::TLoadError::BadData},
        {"header over 80", [](Recipe& s) { s.header.resize(81, '\0'); }, vexa::TLoadError::DiskError},
        {"wrong header", [](Recipe& s) { s.header = "\x89\xF0\x90\xCD"; }, vexa::TLoadError::BadData},
        {"negative text length", [](Recipe& s) { s.textLength = -1; }, vexa::TLoadError::DiskError},
        {"title over 52", [](Recipe& s) { s.title.assign(53, 'a'); }, vexa::TLoadError::DiskError},
        {"extra text of 81", [](Recipe& s) { s.extra.assign(81, 'e'); }, vexa::TLoadError::None},
        {"extra text over 81", [](Recipe& s) { s.extra.assign(82, 'e'); }, vexa::TLoadError::DiskError},
        {"no differences", [](Recipe& s) { s.diffCount = 0, s.rects.clear(); }, vexa::TLoadError::None},
        {"negative differences", [](Recipe& s) { s.diffCount = -4, s.rects.clear(); }, vexa::TLoadError::None},
        {"ten differences", [](Recipe& s) { s.diffCount = 10, s.rects.resize(10); }, vexa::TLoadError::None},
        {"eleven differences", [](Recipe& s) { s.diffCount = 11, s.rects.resize(11); }, vexa::TLoadError::BadData},
        {"all table counts 0", [](Recipe& s) { s.counts = {}, s.tables = {}; }, vexa::TLoadError::None},
        {"negative table count", [](Recipe& s) { s.counts[3] = -1; }, vexa::TLoadError::NoMemory},
        {"every picture absent", [](Recipe& s) { s.pictures = {}; }, vexa::TLoadError::None},
        {"negative block length", [](Recipe& s) { s.pictures[2].L = -1; }, vexa::TLoadError::NoMemory},
        {"block length over the cap",
         [](Recipe& s) { s.pictures[2].L = vexa::kMaxPictureBlockBytes + 1; }, vexa::TLoadError::NoMemory},
        {"block longer than the file", [](Recipe& s) { s.pictures[9].L = 100; }, vexa::TLoadError::NoMemory},
        {"stream length with no block", [](Recipe& s) { s.pictures[7].S = 5; }, vexa::TLoadError::NoMemory},
        {"negative stream length", [](Recipe& s) { s.pictures[3] = {-1, {0xFF, 0xD8, 0xFF, 0xD9}, {}}; },
         vexa::TLoadError::NoMemory},
    };
    for (const Case& c : cases) {
        Recipe recipe = vxtest::SampleRecipe();
        c.edit(recipe);
        vexa::TPuzzleData record;
        vexa::TPuzzleSideValues side;
        EXPECT_EQ(Load(vxtest::Build(recipe).bytes, record, side), Msg(c.want)) << c.name;
        EXPECT_EQ(record.Loaded, c.want != vexa::TLoadError::None ? 0 : 1) << c.name;
        EXPECT_LE(record.DiffCount, vexa::kMaxDiffs) << c.name;
    }
}

TEST(LoadPuzzle, NegativeDiffCountStillReadsWhatFollows) {
    Recipe recipe = vxtest::SampleRecipe();
    recipe.diffCount = -4;
    recipe.rects.clear();
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    ASSERT_EQ(Load(vxtest::Build(recipe).bytes, record, side), "none");
    EXPECT_EQ(record.DiffCount, -4);
    EXPECT_EQ(record.TableCounts[7], 1);
    EXPECT_EQ(record.BasePictures[4], recipe.pictures[8].block);
}

TEST(LoadPuzzle, TextsEndWithinTheirFields) {
    struct Case {
        std::string title, section;
        std::string wantTitle, wantSection;
    };
    const Case cases[] = {
        // Stored without a zero byte: the text ends at n, whatever the field held.
        {"ab", "xy", "ab", "xy"},
        // Filling the whole field: the last byte gives way to the terminator.
        {std::string(52, 't'), std::string(52, 's'), std::string(51, 't'), std::string(51, 's')},
        {std::string("a\0b", 3), std::string("", 0), "a", ""},
    };
    for (const Case& c : cases) {
        Recipe recipe = vxtest::SampleRecipe();
        recipe.title = c.title;
        recipe.section = c.section;
        vexa::TPuzzleData record;
        vexa::TPuzzleSideValues side;
        std::memset(side.CurrentSection, 'z', sizeof side.CurrentSection);
        ASSERT_EQ(Load(vxtest::Build(recipe).bytes, record, side), "none") << c.title;
        EXPECT_EQ(std::string(record.Title), c.wantTitle);
        EXPECT_EQ(std::string(record.SectionName), c.wantSection);
        EXPECT_EQ(std::string(side.CurrentSection), c.wantSection);
    }
}

// A file that ends anywhere short of its last byte gives the message of the
// unit being read there, and nothing else.
TEST(LoadPuzzle, EveryTruncationPointGivesTheMessageOfItsUnit) {
    const vxtest::Built built = vxtest::Build(vxtest::SampleRecipe());
    const Bytes& full = built.bytes;
    std::size_t checked = 0;
    for (const vxtest::Zone& z : built.zones) {
        for (std::size_t n = z.begin; n < z.end; ++n) {
            vexa::TPuzzleData record;
            vexa::TPuzzleSideValues side;
            ASSERT_EQ(Msg(vexa::LoadPuzzleBytes(record, side, full.data(), n)), Msg(z.error)) << "cut at " << n;
            ASSERT_EQ(record.Loaded, 0);
            ++checked;
        }
    }
    EXPECT_EQ(checked, full.size());
}

TEST(LoadPuzzle, FailureKeepsTheSectionAlreadyRead) {
    Recipe recipe = vxtest::SampleRecipe();
    recipe.counts[19] = -2;
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    EXPECT_EQ(Load(vxtest::Build(recipe).bytes, record, side), Msg(vexa::TLoadError::NoMemory));
    EXPECT_STREQ(side.CurrentSection, "Sec\x82\xA0");
    EXPECT_EQ(record.Loaded, 0);
}

TEST(LoadPuzzleFile, OpensRegularFilesOnly) {
    TempDir dir;
    const std::string good = dir.File("good.VX", vxtest::Build(vxtest::SampleRecipe()).bytes);
    const std::string fifo = dir.Path() + "/pipe.VX";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        vexa::TLoadError want;
    };
    const Case cases[] = {
        {good, vexa::TLoadError::None},
        {dir.File("one.VX", {0x0A}), vexa::TLoadError::DiskError},
        {dir.File("empty.VX", {}), vexa::TLoadError::DiskError},
        {dir.Path() + "/missing.VX", vexa::TLoadError::CannotOpen},
        {dir.Path(), vexa::TLoadError::CannotOpen},
        {fifo, vexa::TLoadError::CannotOpen},
        {"/dev/zero", vexa::TLoadError::CannotOpen},
    };
    for (const Case& c : cases) {
        vexa::TPuzzleData record;
        vexa::TPuzzleSideValues side;
        EXPECT_EQ(Msg(vexa::LoadPuzzleFile(record, side, c.path)), Msg(c.want)) << c.path;
    }
}

TEST(LoadPuzzle, JpegEntriesGoThroughTheDecoder) {
    TempDir dir;
    const Bytes stream = CjpegStream(dir, 12, 10);
    ASSERT_FALSE(stream.empty()) << "cjpeg did not run";
    if (!DecoderAvailable(stream)) GTEST_SKIP() << "the JPEG decoder refuses a cjpeg stream";
    const auto size = static_cast<std::int32_t>(stream.size());
    Bytes padded = stream;
    padded.resize(stream.size() + 7, 0);  // bytes after the stream's end are never needed

    struct Case {
        const char* name;
        std::int32_t S;
        Bytes block;
        vexa::TLoadError want;
        bool present;
    };
    const Case cases[] = {
        {"S equal to L", size, stream, vexa::TLoadError::None, true},
        {"S beyond the block", size + 1000, stream, vexa::TLoadError::None, true},
        {"S short of a longer block", size, padded, vexa::TLoadError::None, true},
        {"S cutting the stream before its frame", 2, stream, vexa::TLoadError::NoMemory, false},
        {"a stream that ends before any scan", 4, {0xFF, 0xD8, 0xFF, 0xD9}, vexa::TLoadError::None, false},
    };
    for (const Case& c : cases) {
        Recipe recipe = vxtest::SampleRecipe();
        recipe.pictures[5] = {c.S, c.block, {}};
        vexa::TPuzzleData record;
        vexa::TPuzzleSideValues side;
        vexa::TPictureSources sources;
        const Bytes bytes = vxtest::Build(recipe).bytes;
        EXPECT_EQ(Msg(vexa::LoadPuzzleBytes(record, side, bytes.data(), bytes.size(), &sources)), Msg(c.want))
            << c.name;
        const vexa::Block& pic = record.SparePictures[2];
        EXPECT_EQ(!pic.empty(), c.present) << c.name;
        if (c.present) {
            ASSERT_GE(pic.size(), 40u);
            EXPECT_EQ(pic[4], 12) << c.name;   // width
            EXPECT_EQ(pic[8], 10) << c.name;   // height
            EXPECT_EQ(pic[14], 24) << c.name;  // bits
            EXPECT_TRUE(sources[5].Jpeg);
            EXPECT_EQ(sources[5].StreamLength, c.S);
            EXPECT_EQ(sources[5].Stream, c.block);
        }
        if (c.want == vexa::TLoadError::None) {
            EXPECT_FALSE(sources[0].Jpeg);
        }
    }
}

}  // namespace
