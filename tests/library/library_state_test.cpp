// The list's state file: any byte of a name survives, recent files keep
// their order and number, and a damaged file loses only what it damaged.
#include "library_fixture.h"
#include "library/library_state.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace vexa {
namespace {

using StateTest = testing::ScratchFolderTest;

TEST(PercentEncoding, EveryByteSurvivesAndNothingBreaksALine) {
    std::string all;
    for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
    const std::string encoded = PercentEncode(all);
    EXPECT_EQ(encoded.find('\n'), std::string::npos);
    EXPECT_EQ(encoded.find('='), std::string::npos);
    EXPECT_EQ(PercentDecode(encoded), all);
    EXPECT_EQ(PercentEncode("/home/a b/x.VX"), "/home/a%20b/x.VX");
    for (const char* bad : {"%", "%4", "%G0", "a%zz"}) EXPECT_FALSE(PercentDecode(bad)) << bad;
    EXPECT_EQ(PercentDecode("%e3%81%82"), "\xE3\x81\x82");
}

TEST(LibraryStateText, RoundTripsNamesWithLineBreaksAndShiftJis) {
    TLibraryState state;
    state.Folders = {"/a/b", std::string("/odd\nname\r/\x82\xA0", 13)};
    state.Recent = {"/x/1.VX", "/x/line\nbreak.VX", "/x/%41.VX"};
    state.LastPlayed = "/x/line\nbreak.VX";
    EXPECT_EQ(ParseLibraryState(FormatLibraryState(state)), state);
}

TEST(LibraryStateText, SkipsWhatItCannotReadAndKeepsTheRest) {
    const TLibraryState state = ParseLibraryState(
        "# comment\r\n"
        "folder=/ok\r\n"
        "folder=/bad%zz\n"
        "folder=/ok\n"
        "folder=\n"
        "recent=/with%00zero\n"
        "unknown=/x\n"
        "recent=/r1\n"
        "last=/r1");
    EXPECT_EQ(state.Folders, std::vector<std::string>{"/ok"});
    EXPECT_EQ(state.Recent, std::vector<std::string>{"/r1"});
    EXPECT_EQ(state.LastPlayed, "/r1");
    std::string many;
    for (int i = 0; i < 12; ++i) many += "recent=/" + std::to_string(i) + "\n";
    EXPECT_EQ(ParseLibraryState(many).Recent.size(), kMaxRecentFiles);
}

TEST(LibraryStateText, OpeningMovesAFileToTheFrontAndKeepsEight) {
    TLibraryState state;
    for (int i = 0; i < 10; ++i) NoteOpened(state, "/" + std::to_string(i));
    EXPECT_EQ(state.Recent.size(), kMaxRecentFiles);
    EXPECT_EQ(state.Recent.front(), "/9");
    EXPECT_EQ(state.Recent.back(), "/2");
    NoteOpened(state, "/5");
    EXPECT_EQ(state.Recent.front(), "/5");
    EXPECT_EQ(std::count(state.Recent.begin(), state.Recent.end(), "/5"), 1);
    EXPECT_EQ(state.Recent.size(), kMaxRecentFiles);
    EXPECT_EQ(state.LastPlayed, "/5");

    EXPECT_TRUE(AddFolder(state, "/f"));
    EXPECT_FALSE(AddFolder(state, "/f"));
    EXPECT_TRUE(RemoveFolder(state, "/f"));
    EXPECT_FALSE(RemoveFolder(state, "/f"));
}

TEST_F(StateTest, SavesIntoAPrivateFolderAndLoadsBack) {
    const std::string path = Path("state/vexa/library");
    EXPECT_EQ(LoadLibraryState(path), TLibraryState{});
    TLibraryState state;
    NoteOpened(state, "/p/\n.VX");
    AddFolder(state, "/folder");
    ASSERT_TRUE(SaveLibraryState(path, state));
    EXPECT_EQ(LoadLibraryState(path), state);
    struct stat st {};
    ASSERT_EQ(::stat(Path("state/vexa").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("state/vexa")), {}), 1);
    EXPECT_FALSE(SaveLibraryState(Put("plain", "x") + "/library", state));
}

TEST_F(StateTest, DefaultPathFollowsXdgStateHome) {
    testing::SavedEnvironment saved({"XDG_STATE_HOME", "HOME"});
    ::setenv("XDG_STATE_HOME", "/s", 1);
    EXPECT_EQ(DefaultLibraryStatePath(), "/s/vexa/library");
    ::unsetenv("XDG_STATE_HOME");
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(DefaultLibraryStatePath(), "/home/u/.local/state/vexa/library");
}

}  // namespace
}  // namespace vexa
