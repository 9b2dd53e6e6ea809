// The loader decodes JPEG entries side by side: whatever the number of
// threads, the record, the entries' sources and the message are those of a
// load that decodes each entry in file order as soon as it is read.
#include "puzzle/puzzle_file.h"

#include "jpeg_streams.h"
#include "vx_builder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using vxtest::Bytes;
using vxtest::Recipe;

std::string Msg(vexa::TLoadError e) { return vexa::LoadErrorName(e); }

struct Outcome {
    std::string message;
    std::array<Bytes, vexa::kPictureCount> pictures;
    std::array<Bytes, vexa::kPictureCount> streams;
    int loaded = 0;
};

Outcome Load(const Bytes& bytes, unsigned threads) {
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    Outcome out;
    out.message = Msg(vexa::LoadPuzzleBytes(record, side, bytes.data(), bytes.size(), &sources, threads));
    for (int i = 0; i < vexa::kPictureCount; ++i) {
        out.pictures[i] = vexa::PictureOf(record, i);
        out.streams[i] = sources[i].Stream;
    }
    out.loaded = record.Loaded;
    return out;
}

vxtest::Entry Jpeg(const Bytes& stream) { return {static_cast<std::int32_t>(stream.size()), stream, {}}; }

// Ten different pictures: JPEG streams of several sizes and contents, one DIB.
Recipe TenPictures() {
    Recipe r = vxtest::SampleRecipe();
    for (int i = 0; i < vexa::kPictureCount; ++i)
        r.pictures[i] = Jpeg(vxtest::GreyStream(8 + 13 * i, 5 + 7 * i, static_cast<std::uint8_t>(0x11 * i)));
    r.pictures[4] = {0, vxtest::Dib24(2, 1, {0x112233, 0x445566}), {}};
    return r;
}

TEST(ParallelLoad, SameRecordWithAnyNumberOfThreads) {
    const Bytes bytes = vxtest::Build(TenPictures()).bytes;
    const Outcome serial = Load(bytes, 1);
    ASSERT_EQ(serial.message, "none");
    for (int i = 0; i < vexa::kPictureCount; ++i) EXPECT_FALSE(serial.pictures[i].empty()) << i;
    for (unsigned threads : {0u, 2u, 3u, 16u}) {
        SCOPED_TRACE(threads);
        const Outcome have = Load(bytes, threads);
        EXPECT_EQ(have.message, serial.message);
        EXPECT_EQ(have.loaded, 1);
        EXPECT_EQ(have.pictures, serial.pictures);
        EXPECT_EQ(have.streams, serial.streams);
    }
}

TEST(ParallelLoad, TheFirstFailureInFileOrderDecides) {
    const Bytes broken = {0xFF, 0xD8, 0xFF, 0xC1, 0x00, 0x02};  // another coding process: refused
    struct Case {
        std::string name;
        std::vector<int> brokenJpegs;  // entries whose stream the decoder refuses
        int cutAfter;                  // the file ends just before this entry's S (10: not cut)
        std::string want;
        int wantPictures;              // entries that reach the record
    };
    const std::vector<Case> cases = {
        {"one broken picture", {6}, 10, "no_memory", 6},
        {"several broken pictures", {7, 2, 9}, 10, "no_memory", 2},
        {"a broken picture before a cut file", {3}, 8, "no_memory", 3},
        {"a cut file before a broken picture", {8}, 5, "disk_error", 5},
        {"the first picture broken", {0, 1}, 10, "no_memory", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recipe r = TenPictures();
        for (int i : c.brokenJpegs) r.pictures[i] = Jpeg(broken);
        const vxtest::Built built = vxtest::Build(r);
        Bytes bytes = built.bytes;
        if (c.cutAfter < 10) {
            // Zones of the ten entries: S, then the block, in file order at the end.
            const std::size_t entryZone = built.zones.size() - 2 * (10 - c.cutAfter);
            bytes.resize(built.zones[entryZone].begin);
        }
        for (unsigned threads : {1u, 4u}) {
            SCOPED_TRACE(threads);
            const Outcome have = Load(bytes, threads);
            EXPECT_EQ(have.message, c.want);
            EXPECT_EQ(have.loaded, 0);
            for (int i = 0; i < vexa::kPictureCount; ++i)
                EXPECT_EQ(!have.pictures[i].empty(), i < c.wantPictures) << "entry " << i;
        }
    }
}

}  // namespace
