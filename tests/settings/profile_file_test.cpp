#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <algorithm>
#include <vector>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vexa {
namespace {

namespace fs = std::filesystem;

// Shift-JIS pairs whose second byte is something the parser looks at.
const std::string kA = "\x83\x41";   // ア: second byte 'A'
const std::string kDi = "\x83\x61";  // ヂ: the same pair with 'a'
const std::string kZe = "\x83\x5b";  // ゼ: second byte '['
const std::string kZo = "\x83\x5d";  // ゾ: second byte ']'

TEST(ProfileFile, FindsValues) {
    struct Case {
        const char* name;
        std::string have;
        std::string section;
        std::string key;
        std::optional<std::string> want;
    };
    const Case cases[] = {
        {"CRLF lines", "[abc]\r\nDStrs=v1\r\n", "abc", "DStrs", "v1"},
        {"LF lines, no final line ending", "[abc]\nX=1\nDStrs=v1", "abc", "DStrs", "v1"},
        {"ASCII names fold case", "[ABC]\r\ndstrs=v1\r\n", "aBc", "DSTRS", "v1"},
        {"second byte of a pair is not folded", "[" + kA + "]\r\nDStrs=v1\r\n", kDi, "DStrs", std::nullopt},
        {"pair with ']' second byte", "[" + kZo + "]\r\nDStrs=v1\r\n", kZo, "DStrs", "v1"},
        {"pair with '[' second byte", "[" + kZe + kZo + "]\r\nDStrs=v1\r\n", kZe + kZo, "DStrs", "v1"},
        {"header ends at the last ']'", "[a]b] tail\r\nDStrs=v1\r\n", "a]b", "DStrs", "v1"},
        {"names and values trimmed", "  [ abc ]\t\r\n\t DStrs  =  v 1  \r\n", " abc", "DStrs ", "v 1"},
        {"double quotes removed", "[abc]\r\nDStrs= \"v1\" \r\n", "abc", "DStrs", "v1"},
        {"single quotes removed", "[abc]\r\nDStrs='v1'\r\n", "abc", "DStrs", "v1"},
        {"unmatched quotes kept", "[abc]\r\nDStrs=\"v1'\r\n", "abc", "DStrs", "\"v1'"},
        {"only the first '=' splits", "[abc]\r\nDStrs=a=b\r\n", "abc", "DStrs", "a=b"},
        {"empty value", "[abc]\r\nDStrs=\r\n", "abc", "DStrs", ""},
        {"comment line skipped", "[abc]\r\n ;DStrs=c\r\nDStrs=v1\r\n", "abc", "DStrs", "v1"},
        {"';' inside a value is data", "[abc]\r\nDStrs=a;b\r\n", "abc", "DStrs", "a;b"},
        {"first key wins", "[abc]\r\nDStrs=v1\r\nDStrs=v2\r\n", "abc", "DStrs", "v1"},
        {"first section wins", "[abc]\r\nDStrs=v1\r\n[abc]\r\nDStrs=v2\r\n", "abc", "DStrs", "v1"},
        {"later duplicate section is not searched", "[abc]\r\nX=1\r\n[abc]\r\nDStrs=v2\r\n", "abc", "DStrs",
         std::nullopt},
        {"key of another section", "[abd]\r\nDStrs=v1\r\n[abc]\r\nX=1\r\n", "abc", "DStrs", std::nullopt},
        {"key before any section", "DStrs=v1\r\n[abc]\r\n", "abc", "DStrs", std::nullopt},
        {"header without ']' starts no section", "[abc\r\nDStrs=v1\r\n", "abc", "DStrs", std::nullopt},
        {"missing section", "[x]\r\nDStrs=v1\r\n", "abc", "DStrs", std::nullopt},
        {"empty file", "", "abc", "DStrs", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindProfileValue(c.have, c.section, c.key), c.want);
    }
}

TEST(ProfileFile, SetChangesOnlyWhatItMust) {
    struct Case {
        const char* name;
        std::string have;
        std::string section;
        std::string want;
    };
    const Case cases[] = {
        {"empty file", "", "abc", "[abc]\r\nDStrs=new\r\n"},
        {"value replaced, other lines and LF endings kept",
         "; note\n[abc]\nX=1\nDStrs=old\nY=2\n[z]\nDStrs=z\n", "abc",
         "; note\n[abc]\nX=1\nDStrs=new\nY=2\n[z]\nDStrs=z\n"},
        {"key spelling and indentation kept", "[ABC]\r\n  dstrs = old  \r\n", "abc", "[ABC]\r\n  dstrs =new\r\n"},
        {"key appended after the section's last key", "[abc]\r\nX=1\r\n; c\r\n\r\n[def]\r\nY=2\r\n", "abc",
         "[abc]\r\nX=1\r\nDStrs=new\r\n; c\r\n\r\n[def]\r\nY=2\r\n"},
        {"key appended under a bare header", "[abc]\r\n\r\n[def]\r\n", "abc", "[abc]\r\nDStrs=new\r\n\r\n[def]\r\n"},
        {"last key line without line ending", "[abc]\r\nX=1", "abc", "[abc]\r\nX=1\r\nDStrs=new\r\n"},
        {"section appended", "[x]\r\nY=2\r\n", "abc", "[x]\r\nY=2\r\n[abc]\r\nDStrs=new\r\n"},
        {"section appended after a line without ending", "[x]\r\nY=2", "abc", "[x]\r\nY=2\r\n[abc]\r\nDStrs=new\r\n"},
        {"section appended after a lone CR", "[x]\r\nY=2\r", "abc", "[x]\r\nY=2\r\n[abc]\r\nDStrs=new\r\n"},
        {"first of two sections gets the key", "[abc]\r\nX=1\r\n[abc]\r\nDStrs=old\r\n", "abc",
         "[abc]\r\nX=1\r\nDStrs=new\r\n[abc]\r\nDStrs=old\r\n"},
        {"pair with a letter second byte is its own section", "[" + kA + "]\r\nDStrs=old\r\n", kDi,
         "[" + kA + "]\r\nDStrs=old\r\n[" + kDi + "]\r\nDStrs=new\r\n"},
        {"pair with ']' second byte found again", "[" + kZo + "]\r\nDStrs=old\r\n", kZo,
         "[" + kZo + "]\r\nDStrs=new\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto got = SetProfileValue(c.have, c.section, "DStrs", "new");
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, c.want);
        EXPECT_EQ(FindProfileValue(*got, c.section, "DStrs"), "new");
    }
}

TEST(ProfileFile, RefusesTextsThatWouldBreakLines) {
    struct Case {
        const char* name;
        std::string section, key, value;
    };
    const Case cases[] = {
        {"CR in section", "a\rb", "DStrs", "v"},
        {"LF in section", "a\nb", "DStrs", "v"},
        {"'=' in key", "abc", "D=S", "v"},
        {"blank key", "abc", " ", "v"},
        {"LF in value", "abc", "DStrs", "v\nw"},
        {"NUL in value", "abc", "DStrs", std::string("v\0w", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SetProfileValue("[abc]\r\n", c.section, c.key, c.value), std::nullopt);
    }
}

class ProfileFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vexa-profile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        ::setenv("XDG_STATE_HOME", (dir_ / "state").c_str(), 1);
    }
    void TearDown() override {
        ::umount2((dir_ / "disk").c_str(), MNT_DETACH);  // a test's small file system, if still there
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(dir_, ec))
            if (!e.is_symlink(ec) && e.is_directory(ec)) ::chmod(e.path().c_str(), 0700);
        ::chmod(dir_.c_str(), 0700);
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static unsigned Mode(const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    static ino_t Inode(const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir_;
};

TEST_F(ProfileFileOnDisk, WriteCreatesFoldersAndFileThenReadsBack) {
    const std::string path = Path("sub/deeper/vexa.Ini");
    ASSERT_TRUE(WriteProfileString(path, "abc", "DStrs", "0x1,0x2,205"));
    EXPECT_EQ(Get(path), "[abc]\r\nDStrs=0x1,0x2,205\r\n");
    EXPECT_EQ(ReadProfileString(path, "ABC", "DStrs", "0,0,0"), "0x1,0x2,205");
    EXPECT_EQ(ReadProfileString(path, "abd", "DStrs", "0,0,0"), "0,0,0");
    EXPECT_EQ(ReadProfileString(Path("missing.Ini"), "abc", "DStrs", "0,0,0"), "0,0,0");
    // The save leaves no temporary file behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "sub/deeper"), fs::directory_iterator()), 1);
}

TEST_F(ProfileFileOnDisk, ReadReturnsAtMostCapacityLessOneBytes) {
    const std::string path = Path("vexa.Ini");
    const std::string value(100, '7');
    Put(path, "[abc]\r\nDStrs=" + value + "\r\n");
    EXPECT_EQ(ReadProfileString(path, "abc", "DStrs", "0,0,0"), value.substr(0, 80));
    EXPECT_EQ(ReadProfileString(path, "abc", "DStrs", "0,0,0", 4), "777");
    EXPECT_EQ(ReadProfileString(path, "abc", "none", std::string(90, 'd')), std::string(80, 'd'));
}

TEST_F(ProfileFileOnDisk, WriteRefusesWhatMayNotBeWritten) {
    // A file or folder without any write bit counts as read-only for every
    // user, root included, so these run everywhere.
    struct Case {
        const char* name;
        unsigned fileMode;
        unsigned folderMode;
    };
    const Case cases[] = {
        {"read-only file", 0444, 0755},
        {"read-only file in a read-only folder", 0444, 0555},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = dir_ / "locked";
        fs::create_directory(folder);
        const std::string path = (folder / "vexa.Ini").string();
        const std::string before = "[abc]\r\nDStrs=old\r\n";
        Put(path, before);
        ::chmod(path.c_str(), c.fileMode);
        ::chmod(folder.c_str(), c.folderMode);
        EXPECT_FALSE(WriteProfileString(path, "abc", "DStrs", "new"));
        EXPECT_EQ(Get(path), before);
        EXPECT_EQ(Mode(path), c.fileMode);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
        ::chmod(folder.c_str(), 0755);
        fs::remove_all(folder);
    }
}

TEST_F(ProfileFileOnDisk, WriteFollowsSymlinksAndKeepsTheMode) {
    const std::string real = Path("real.Ini");
    Put(real, "[x]\r\nY=1\r\n");
    ::chmod(real.c_str(), 0640);
    const std::string link = Path("link.Ini");
    fs::create_symlink("real.Ini", link);

    ASSERT_TRUE(WriteProfileString(link, "abc", "DStrs", "v"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Get(real), "[x]\r\nY=1\r\n[abc]\r\nDStrs=v\r\n");
    EXPECT_EQ(Mode(real), 0640u);

    // A dangling link names the file to create.
    const std::string dangling = Path("dangling.Ini");
    fs::create_symlink("made.Ini", dangling);
    ASSERT_TRUE(WriteProfileString(dangling, "abc", "DStrs", "v"));
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(Get(Path("made.Ini")), "[abc]\r\nDStrs=v\r\n");

    const std::string loop = Path("loop.Ini");
    fs::create_symlink("loop.Ini", loop);
    EXPECT_FALSE(WriteProfileString(loop, "abc", "DStrs", "v"));
}

TEST_F(ProfileFileOnDisk, SpecialFilesAreNeitherReadNorReplaced) {
    const std::string fifo = Path("fifo.Ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // Opening a FIFO for reading must not wait for a writer.
    EXPECT_EQ(ReadProfileString(fifo, "abc", "DStrs", "0,0,0"), "0,0,0");
    EXPECT_FALSE(WriteProfileString(fifo, "abc", "DStrs", "v"));
    fs::create_directory(dir_ / "folder.Ini");
    EXPECT_FALSE(WriteProfileString(Path("folder.Ini"), "abc", "DStrs", "v"));
    EXPECT_FALSE(WriteProfileString("", "abc", "DStrs", "v"));
    EXPECT_EQ(ReadProfileString("", "abc", "DStrs", "0,0,0"), "0,0,0");
}

TEST_F(ProfileFileOnDisk, WritableFileInAReadOnlyFolderIsChangedInPlace) {
    // The folder has no write bit, so even root cannot replace the file; the
    // file itself is written where it lies, to the bytes a replacement would have.
    struct Case {
        const char* name;
        std::string have;
        std::string value;
    };
    const std::string tail = "[z]\r\nK=" + std::string(100000, 'k') + "\r\n";  // spans several chunks
    const Case cases[] = {
        {"longer value, tail moves back", "[abc]\r\nDStrs=0,0,0\r\n" + tail, "0x7c79d7ef,0x1611c2b2,205"},
        {"shorter value, tail moves forward", "[abc]\r\nDStrs=0x7c79d7ef,0x1611c2b2,205\r\n" + tail, "0,0,0"},
        {"same length", "[abc]\r\nDStrs=0x1,0x2,205\r\n" + tail, "0x3,0x4,206"},
        {"key added inside the file", "[abc]\nX=1\n" + tail, "0,0,0"},
        {"section appended after a line without ending", tail + "[x]\r\nY=2", "0,0,0"},
        {"empty file", "", "0,0,0"},
    };
    const fs::path folder = dir_ / "program";
    const std::string path = (folder / "vexa.Ini").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::create_directory(folder);
        Put(path, c.have);
        ::chmod(path.c_str(), 0640);
        ::chmod(folder.c_str(), 0555);
        const ino_t inode = Inode(path);

        ASSERT_TRUE(WriteProfileString(path, "abc", "DStrs", c.value));
        const std::string want = *SetProfileValue(c.have, "abc", "DStrs", c.value);
        EXPECT_TRUE(Get(path) == want) << Get(path).substr(0, 80);
        EXPECT_EQ(Inode(path), inode);
        EXPECT_EQ(Mode(path), 0640u);
        EXPECT_EQ(ReadProfileString(path, "abc", "DStrs", "none"), c.value);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
        ::chmod(folder.c_str(), 0755);
        fs::remove_all(folder);
    }
}

TEST_F(ProfileFileOnDisk, SaveRemovesTemporariesOfEndedProcesses) {
    // A process that has ended: the temporary files of a save killed midway.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string gone = std::to_string(child);
    const std::string alive = std::to_string(::getppid());

    Put(Path("vexa.Ini"), "[x]\r\nY=1\r\n");
    const std::vector<std::string> removed = {".vexa.Ini.tmp-" + gone + "-1", ".vexa.Ini.tmp-" + gone + "-27"};
    const std::vector<std::string> kept = {
        ".vexa.Ini.tmp-" + alive + "-1",    // a live process may still be saving
        ".vexa.Ini.tmp-" + gone + "-1x",    // not the pattern
        ".vexa.Ini.tmp-" + gone,            // not the pattern
        ".vexa.Ini.tmp--" + gone + "-1",    // not the pattern
        "vexa.Ini.tmp-" + gone + "-1",      // not hidden
        ".other.Ini.tmp-" + gone + "-1",    // another file's
        ".vexa.Ini.tmp-" + gone + "-2",     // a folder
        ".vexa.Ini.tmp-" + gone + "-3",     // a symlink
    };
    Put(Path(removed[0]), "");
    Put(Path(removed[1]), "[x]\r\nY=1\r\n");
    for (std::size_t i = 0; i + 2 < kept.size(); ++i) Put(Path(kept[i]), "");
    fs::create_directory(Path(kept[kept.size() - 2]));
    fs::create_symlink("vexa.Ini", Path(kept.back()));

    ASSERT_TRUE(WriteProfileString(Path("vexa.Ini"), "abc", "DStrs", "v"));
    std::vector<std::string> want = kept;
    want.push_back("vexa.Ini");
    std::sort(want.begin(), want.end());
    EXPECT_EQ(Names(), want);
}

TEST_F(ProfileFileOnDisk, FilesOfAnySizeAreReadAndWritten) {
    // Well over 16 MiB of other lines before the record.
    std::string filler;
    const std::string line = "; " + std::string(1000, 'f') + "\r\n";
    while (filler.size() < (17u << 20)) filler += line;
    const std::string have = filler + "[abc]\r\nDStrs=0,0,0\r\n[z]\r\nK=1\r\n";
    const std::string path = Path("vexa.Ini");
    Put(path, have);
    EXPECT_EQ(ReadProfileString(path, "abc", "DStrs", "none"), "0,0,0");

    // Replaced whole where the folder allows it.
    ASSERT_TRUE(WriteProfileString(path, "abc", "DStrs", "0x7c79d7ef,0x1611c2b2,205"));
    std::string want = filler + "[abc]\r\nDStrs=0x7c79d7ef,0x1611c2b2,205\r\n[z]\r\nK=1\r\n";
    EXPECT_TRUE(Get(path) == want);
    // Changed in place where it does not; the new section goes at the end.
    ::chmod(dir_.c_str(), 0555);
    ASSERT_TRUE(WriteProfileString(path, "new", "DStrs", "0,0,0"));
    want += "[new]\r\nDStrs=0,0,0\r\n";
    EXPECT_TRUE(Get(path) == want);
    EXPECT_EQ(ReadProfileString(path, "new", "DStrs", "none"), "0,0,0");
    ::chmod(dir_.c_str(), 0700);
}

TEST_F(ProfileFileOnDisk, GuardSeesTheHeadersSpellingAndCanRefuse) {
    const std::string path = Path("vexa.Ini");
    const std::string have = "[SetTest]\r\nDStrs=old\r\n";
    Put(path, have);
    std::string seenHeader, seenValue;
    const auto refuse = [&](std::string_view header, std::string_view value) {
        seenHeader = header;
        seenValue = value;
        return false;
    };
    EXPECT_FALSE(WriteProfileString(path, "SETTEST", "DStrs", "new", refuse));
    EXPECT_EQ(seenHeader, "SetTest");
    EXPECT_EQ(seenValue, "old");
    EXPECT_EQ(Get(path), have);
    // Without a present value there is nothing to guard.
    seenHeader.clear();
    ASSERT_TRUE(WriteProfileString(path, "Other", "DStrs", "new", refuse));
    EXPECT_EQ(seenHeader, "");
}

TEST_F(ProfileFileOnDisk, AFullDiskLeavesTheFileAsItWas) {
    // A small file system of our own that can be filled up.
    const fs::path mount = dir_ / "disk";
    fs::create_directory(mount);
    if (::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    const fs::path folder = mount / "program";
    fs::create_directory(folder);
    const std::string path = (folder / "vexa.Ini").string();
    // Exactly one page, so that a longer file needs another.
    std::string have = "[abc]\r\nDStrs=0,0,0\r\n;";
    have += std::string(4096 - have.size() - 2, 'p') + "\r\n";
    Put(path, have);
    {
        std::ofstream filler(mount / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    struct Case {
        const char* name;
        unsigned folderMode;
    };
    for (const Case& c : {Case{"replaced", 0755}, Case{"in place", 0555}}) {
        SCOPED_TRACE(c.name);
        ::chmod(folder.c_str(), c.folderMode);
        EXPECT_FALSE(WriteProfileString(path, "abc", "DStrs", "0x7c79d7ef,0x1611c2b2,205"));
        EXPECT_TRUE(Get(path) == have);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
    // A value no longer than the old one needs no room and is written.
    EXPECT_TRUE(WriteProfileString(path, "abc", "DStrs", "1,2,3"));
    EXPECT_EQ(ReadProfileString(path, "abc", "DStrs", "none"), "1,2,3");
    ::chmod(folder.c_str(), 0755);
}

}  // namespace
}  // namespace vexa
