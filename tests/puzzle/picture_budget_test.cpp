// Decompression bombs: pictures above the pixel limit and puzzles whose
// pictures together pass the budget fail with the memory message, and do so
// before the memory is taken. Every allocation made during a load is watched.
#include "puzzle/picture_budget.h"
#include "puzzle/puzzle_file.h"

#include "jpeg/decode_jpeg.h"
#include "jpeg_streams.h"
#include "vx_builder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

namespace {

// The largest single allocation while watching is on.
std::atomic<bool> gWatching{false};
std::atomic<std::size_t> gLargest{0};

void Note(std::size_t n) {
    if (!gWatching.load(std::memory_order_relaxed)) return;
    std::size_t seen = gLargest.load(std::memory_order_relaxed);
    while (n > seen && !gLargest.compare_exchange_weak(seen, n)) {
    }
}

}  // namespace

// The replacements pair malloc with free, which GCC cannot see.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t n) {
    Note(n);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using vxtest::Bytes;
using vxtest::Recipe;

std::string Msg(const char* m) { return m ? m : "(ok)"; }

constexpr std::size_t kMiB = 1024 * 1024;

struct Loaded {
    std::string message;
    std::size_t largestAllocation;
};

Loaded Load(const Bytes& bytes, vexa::TPuzzleData& record) {
    vexa::TPuzzleSideValues side;
    gLargest = 0;
    gWatching = true;
    const char* m = vexa::LoadPuzzleBytes(record, side, bytes.data(), bytes.size());
    gWatching = false;
    return {Msg(m), gLargest.load()};
}

Recipe WithJpegs(int count, const Bytes& stream) {
    Recipe r;
    r.counts = {};
    for (int i = 0; i < count; ++i) r.pictures[i] = {static_cast<std::int32_t>(stream.size()), stream, {}};
    return r;
}

TEST(PictureBudget, BombsFailBeforeTheirMemoryIsTaken) {
    const Bytes huge = vxtest::GreyStream(8192, 8192);
    const Bytes limit = vxtest::GreyStream(4096, 4096);
    const Bytes small = vxtest::GreyStream(16, 16);
    struct Case {
        std::string name;
        Recipe have;
        std::string want;
        std::size_t wantLargestBelow;  // no allocation this large or larger
    };
    Recipe dibAfterBig = WithJpegs(5, limit);  // five at the limit: 241 MiB of 256
    dibAfterBig.pictures[7].block = Bytes(20 * kMiB, 0);
    Recipe dibWithin = WithJpegs(1, small);
    dibWithin.pictures[5].block = Bytes(20 * kMiB, 0);
    const std::vector<Case> cases = {
        // Each refused by the decoder before it makes its bitmap.
        {"ten pictures of 8192 x 8192", WithJpegs(10, huge), vexa::kMsgNoMemory, 4 * kMiB},
        {"one of 4097 x 4096", WithJpegs(1, vxtest::GreyStream(4097, 4096)), vexa::kMsgNoMemory, 4 * kMiB},
        // Each allowed, but six of them pass the budget: nothing is decoded.
        {"ten pictures of 4096 x 4096", WithJpegs(10, limit), vexa::kMsgNoMemory, 4 * kMiB},
        {"a DIB block past the budget", dibAfterBig, vexa::kMsgNoMemory, 4 * kMiB},
        {"a DIB block within it", dibWithin, "(ok)", 21 * kMiB},
        {"small pictures", WithJpegs(10, small), "(ok)", 4 * kMiB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = vxtest::Build(c.have).bytes;
        vexa::TPuzzleData record;
        const Loaded have = Load(bytes, record);
        EXPECT_EQ(have.message, c.want);
        EXPECT_LT(have.largestAllocation, c.wantLargestBelow);
    }
}

TEST(PictureBudget, TheDecoderRefusesFramesAboveTheLimitBeforeAllocating) {
    struct Case {
        int width, height;
        int want;
    };
    const Case cases[] = {
        {4097, 4096, vexa::DecodeNoMemory},
        {8192, 8192, vexa::DecodeNoMemory},
        {65535, 65535, vexa::DecodeNoMemory},
        {4096, 4096, vexa::DecodeOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const Bytes stream = vxtest::GreyStream(c.width, c.height);
        Bytes bitmap;
        gLargest = 0;
        gWatching = true;
        const int have = vexa::DecodeJpegToDib(bitmap, stream.data(), static_cast<std::int32_t>(stream.size()));
        gWatching = false;
        EXPECT_EQ(have, c.want);
        if (c.want != vexa::DecodeOk) {
            EXPECT_TRUE(bitmap.empty());
            EXPECT_LT(gLargest.load(), 4 * kMiB);
        }
    }
}

TEST(PictureBudget, APictureAtTheLimitLoads) {
    const Bytes stream = vxtest::GreyStream(4096, 4096, 0x55);
    vexa::TPuzzleData record;
    ASSERT_EQ(Load(vxtest::Build(WithJpegs(1, stream)).bytes, record).message, "(ok)");
    EXPECT_EQ(record.BasePictures[0].size(),
              static_cast<std::size_t>(vexa::JpegBitmapBytesBound(stream.data(), stream.size())));
}

// The bound the budget charges is never below what the decoder then takes.
TEST(PictureBudget, BoundCoversTheDecodedBitmap) {
    struct Case {
        std::string name;
        Bytes have;
    };
    Bytes twoFrames = vxtest::GreyStream(9, 7);
    const Bytes later = vxtest::GreyStream(300, 200);
    twoFrames.insert(twoFrames.begin() + 2, later.begin() + 2, later.end() - 2);  // an earlier, larger frame
    Bytes cut = vxtest::GreyStream(40, 30);
    cut.resize(cut.size() - 10);
    const std::vector<Case> cases = {
        {"odd sizes", vxtest::GreyStream(17, 9)},
        {"wide", vxtest::GreyStream(65535, 2)},
        {"two frames", twoFrames},
        {"cut inside the scan", cut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bitmap;
        ASSERT_EQ(vexa::DecodeJpegToDib(bitmap, c.have.data(), static_cast<std::int32_t>(c.have.size())),
                  vexa::DecodeOk);
        EXPECT_GE(vexa::JpegBitmapBytesBound(c.have.data(), c.have.size()), static_cast<std::int64_t>(bitmap.size()));
    }
    // Frame headers above the limit, or none at all, ask for nothing.
    const Bytes huge = vxtest::GreyStream(8192, 8192);
    EXPECT_EQ(vexa::JpegBitmapBytesBound(huge.data(), huge.size()), 0);
    const Bytes none = {0xFF, 0xD8, 0xFF, 0xD9};
    EXPECT_EQ(vexa::JpegBitmapBytesBound(none.data(), none.size()), 0);
    // A header cut right after its marker reads the missing bytes as zero.
    const Bytes stub = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x01};
    EXPECT_EQ(vexa::JpegBitmapBytesBound(stub.data(), stub.size()), 40);  // 256 rows of width 0
}

}  // namespace
