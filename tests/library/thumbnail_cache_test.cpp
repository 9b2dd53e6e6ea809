// The thumbnail cache: entries round-trip losslessly, any change to the file
// makes its entry stale, damaged entries are refused, and the folders it
// makes are the user's alone.
#include "library_fixture.h"
#include "library/library_scan.h"
#include "library/private_files.h"
#include "library/thumbnail_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <utime.h>

#include <gtest/gtest.h>

#include <mutex>
#include <set>

namespace vexa {
namespace {

using CacheTest = testing::ScratchFolderTest;

TPuzzleSummary SampleSummary() {
    TPuzzleSummary s;
    s.Title = std::string("\x82\xA0 title\n", 8);
    s.Section = "section";
    s.DiffCount = 7;
    s.Thumbnail.Width = 2;
    s.Thumbnail.Height = 1;
    s.Thumbnail.Rgb = {0, 1, 2, 253, 254, 255};
    return s;
}

TEST_F(CacheTest, AnEntryRoundTripsOnlyForTheSamePathAndStamp) {
    const TFileStamp stamp{1, 2, 3, 4, 5};
    const std::string bytes = EncodeCacheEntry("/p/a.VX", stamp, SampleSummary());
    EXPECT_EQ(DecodeCacheEntry(bytes, "/p/a.VX", stamp), SampleSummary());
    EXPECT_FALSE(DecodeCacheEntry(bytes, "/p/b.VX", stamp));
    for (TFileStamp other : {TFileStamp{9, 2, 3, 4, 5}, TFileStamp{1, 9, 3, 4, 5}, TFileStamp{1, 2, 9, 4, 5},
                             TFileStamp{1, 2, 3, 9, 5}, TFileStamp{1, 2, 3, 4, 9}})
        EXPECT_FALSE(DecodeCacheEntry(bytes, "/p/a.VX", other));
    // An unreadable file's entry keeps its error.
    TPuzzleSummary broken;
    broken.Error = TLoadError::DiskError;
    EXPECT_EQ(DecodeCacheEntry(EncodeCacheEntry("/x", stamp, broken), "/x", stamp), broken);
}

TEST_F(CacheTest, EveryCutOrDamagedEntryIsRefused) {
    const TFileStamp stamp{1, 2, 3, 4, 5};
    const std::string good = EncodeCacheEntry("/p/a.VX", stamp, SampleSummary());
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(DecodeCacheEntry(good.substr(0, n), "/p/a.VX", stamp)) << "cut at " << n;
    EXPECT_FALSE(DecodeCacheEntry(good + "x", "/p/a.VX", stamp));
    TPuzzleSummary wide = SampleSummary();
    wide.Thumbnail.Width = kThumbnailBox + 1;
    wide.Thumbnail.Rgb.resize(static_cast<std::size_t>(wide.Thumbnail.Width) * 3);
    EXPECT_FALSE(DecodeCacheEntry(EncodeCacheEntry("/p", stamp, wide), "/p", stamp));
    TPuzzleSummary many = SampleSummary();
    many.DiffCount = 11;
    EXPECT_FALSE(DecodeCacheEntry(EncodeCacheEntry("/p", stamp, many), "/p", stamp));
    std::string huge = good;
    huge[8 + 7] = '\x7F';  // the path's length, top byte
    EXPECT_FALSE(DecodeCacheEntry(huge, "/p/a.VX", stamp));
}

TEST_F(CacheTest, AChangedFileIsReadAgainAndAnUnchangedOneIsNot) {
    const TThumbnailCache cache(Path("cache/vexa/thumbnails"));
    const std::string puzzle = PutPuzzle("p/a.VX", testing::NamedRecipe("first", "s1", 0xFF0000));
    EXPECT_EQ(SummaryOf(puzzle, &cache).Title, "first");
    ASSERT_TRUE(std::filesystem::exists(cache.EntryPath(puzzle)));

    // The cache answers while the file is unchanged: an entry edited behind
    // its back shows through.
    const TFileStamp stamp = *StampOf(puzzle);
    TPuzzleSummary planted = SampleSummary();
    planted.Title = "from the cache";
    ASSERT_TRUE(cache.Store(puzzle, stamp, planted));
    EXPECT_EQ(SummaryOf(puzzle, &cache).Title, "from the cache");

    // Same size, same second: the change is still noticed.
    PutPuzzle("p/a.VX", testing::NamedRecipe("secnd", "s1", 0x00FF00));
    EXPECT_EQ(SummaryOf(puzzle, &cache).Title, "secnd");
    // Put back to the old modification time: the change time gives it away.
    timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(stamp.ModifiedNs / 1000000000),
                                           static_cast<long>(stamp.ModifiedNs % 1000000000)}};
    PutPuzzle("p/a.VX", testing::NamedRecipe("third", "s1", 0x00FF00));
    ASSERT_EQ(::utimensat(AT_FDCWD, puzzle.c_str(), times, 0), 0);
    EXPECT_EQ(SummaryOf(puzzle, &cache).Title, "third");
}

TEST_F(CacheTest, MadeFoldersAreTheUsersAloneAndAnExistingOneKeepsItsMode) {
    const TThumbnailCache cache(Path("xdg-cache/vexa/thumbnails"));
    ASSERT_TRUE(cache.Store("/p", TFileStamp{}, SampleSummary()));
    for (const char* folder : {"xdg-cache/vexa", "xdg-cache/vexa/thumbnails"}) {
        struct stat st {};
        ASSERT_EQ(::stat(Path(folder).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
    }
    struct stat entry {};
    ASSERT_EQ(::stat(cache.EntryPath("/p").c_str(), &entry), 0);
    EXPECT_EQ(entry.st_mode & 0777, 0600u);

    ::mkdir(Path("open").c_str(), 0755);
    ::chmod(Path("open").c_str(), 0755);
    ASSERT_TRUE(MakePrivateFolders(Path("open/sub")));
    struct stat st {};
    ::stat(Path("open").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_FALSE(MakePrivateFolders(Put("file", "x") + "/sub"));
}

TEST_F(CacheTest, DefaultFolderFollowsXdgCacheHome) {
    testing::SavedEnvironment saved({"XDG_CACHE_HOME", "HOME"});
    ::setenv("XDG_CACHE_HOME", "/somewhere/cache", 1);
    EXPECT_EQ(TThumbnailCache::DefaultFolder(), "/somewhere/cache/vexa/thumbnails");
    ::setenv("XDG_CACHE_HOME", "relative", 1);
    ::setenv("HOME", "/home/x", 1);
    EXPECT_EQ(TThumbnailCache::DefaultFolder(), "/home/x/.cache/vexa/thumbnails");
}

TEST_F(CacheTest, AScanSummarisesEveryFileOnceOnSeveralThreads) {
    std::vector<std::string> paths;
    for (int i = 0; i < 24; ++i)
        paths.push_back(PutPuzzle("p/" + std::to_string(i) + ".VX",
                                  testing::NamedRecipe("t" + std::to_string(i), "s", 0x102030)));
    paths.push_back(Put("p/broken.VX", "x"));
    paths.push_back(Path("p/missing.VX"));
    const TThumbnailCache cache(Path("cache"));
    for (int round = 0; round < 2; ++round) {  // cold, then from the cache
        std::mutex m;
        std::set<std::size_t> seen;
        std::vector<TPuzzleSummary> got(paths.size());
        {
            TLibraryScan scan(paths, &cache, 3, [&](std::size_t i, TPuzzleSummary s) {
                std::lock_guard lock(m);
                EXPECT_TRUE(seen.insert(i).second);
                got[i] = std::move(s);
            });
            scan.Wait();
        }
        EXPECT_EQ(seen.size(), paths.size());
        EXPECT_EQ(got[5].Title, "t5");
        EXPECT_EQ(got[24].Error, TLoadError::DiskError);
        EXPECT_EQ(got[25].Error, TLoadError::CannotOpen);
    }
}

}  // namespace
}  // namespace vexa
