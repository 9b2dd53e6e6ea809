// The list's model: which folders in which groups, the files they hold, the
// best results read as loading reads them, and the orders and the filter.
#include "library_fixture.h"
#include "library/library_list.h"
#include "library/library_scan.h"
#include "settings/result_record.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace vexa {
namespace {

using ListTest = testing::ScratchFolderTest;

std::vector<std::string> Names(const std::vector<TLibraryEntry>& entries, const std::vector<std::size_t>& shown) {
    std::vector<std::string> names;
    for (std::size_t i : shown) names.push_back(entries[i].FileName);
    return names;
}

TEST(LibraryFolders, GroupsInOrderEachFolderOnce) {
    TLibraryState state;
    state.Folders = {"/added/one", "/mine/", "/added/two"};
    state.LastPlayed = "/added/two/./x.VX";
    const auto folders = LibraryFolders({"/mine", "/usr/share/vexa/puzzles"}, state);
    ASSERT_EQ(folders.size(), 4u);
    EXPECT_EQ(folders[0].Group, TLibraryGroup::MyPuzzles);
    EXPECT_EQ(folders[1].Path, "/added/one");
    EXPECT_EQ(folders[2].Path, "/added/two");
    EXPECT_EQ(folders[3].Group, TLibraryGroup::Bundled);

    state.LastPlayed = "/elsewhere/y.VX";
    const auto withLast = LibraryFolders({"", "/b"}, state);
    ASSERT_EQ(withLast.size(), 5u);
    EXPECT_EQ(withLast[0].Group, TLibraryGroup::AddedFolder);
    EXPECT_EQ(withLast[3].Group, TLibraryGroup::LastFolder);
    EXPECT_EQ(withLast[3].Path, "/elsewhere");
    EXPECT_EQ(withLast[4].Group, TLibraryGroup::Bundled);

    // A bundled puzzle played last leaves the set under its own heading.
    state.LastPlayed = "/b/01.VX";
    const auto bundledLast = LibraryFolders({"", "/b/"}, state);
    EXPECT_EQ(bundledLast.back().Group, TLibraryGroup::Bundled);
    EXPECT_EQ(bundledLast.size(), 4u);  // the three added folders and the set
}

TEST_F(ListTest, ListsPuzzleFilesByNameInEveryCaseAndNothingElse) {
    for (const char* name : {"b.VX", "a.vx", "C.Vx", "notes.txt", "VX", ".VX.bak"}) Put(std::string("f/") + name, "x");
    std::filesystem::create_directory(Path("f/dir.VX"));
    std::filesystem::create_symlink(Path("f/a.vx"), Path("f/link.VX"));
    std::filesystem::create_symlink(Path("f/none"), Path("f/dangling.VX"));
    EXPECT_EQ(PuzzleFilesIn(Path("f")), (std::vector<std::string>{"C.Vx", "a.vx", "b.VX", "link.VX"}));
    EXPECT_TRUE(PuzzleFilesIn(Path("missing")).empty());
}

class ResultTest : public ListTest {
protected:
    std::string settings_;
    void SetUp() override {
        ListTest::SetUp();
        settings_ = Path("vexa.Ini");
    }
    void Store(const char* section, ViewMode result) {
        TResultState state;
        state.BestResult = result;
        ASSERT_TRUE(WriteResultRecord(settings_, section, state));
    }
};

TEST_F(ResultTest, ReadsAndVerifiesAsLoadingDoes) {
    Store("all", ViewMode::AllFound);
    Store("half", ViewMode::HalfFound);
    Store("few", ViewMode::FewFound);
    Put("other.Ini", "");
    // A record edited by hand from 205 to 206, and one copied under another name.
    const std::string half = FormatResultRecord("edited", ViewMode::HalfFound);
    std::string text = Get(settings_);
    text += "[edited]\r\nDStrs=" + half.substr(0, half.size() - 3) + "206\r\n";
    text += "[copied]\r\nDStrs=" + FormatResultRecord("all", ViewMode::AllFound) + "\r\n";
    text += "[upper]\r\nDStrs=0X" + FormatResultRecord("upper", ViewMode::AllFound).substr(2) + "\r\n";
    // A record whose checksums are those for 204 but whose number says 205.
    const std::string few = FormatResultRecord("tampered", ViewMode::FewFound);
    text += "[tampered]\r\nDStrs=" + few.substr(0, few.size() - 3) + "205\r\n";
    std::ofstream(settings_, std::ios::binary) << text;

    const struct {
        const char* section;
        TLibraryResult want;
    } cases[] = {{"all", TLibraryResult::AllFound},     {"half", TLibraryResult::HalfFound},
                 {"few", TLibraryResult::FewFound},     {"none", TLibraryResult::NotTried},
                 {"edited", TLibraryResult::NotTried},  {"copied", TLibraryResult::NotTried},
                 {"upper", TLibraryResult::AllFound},   {"tampered", TLibraryResult::NotTried},
                 {"bad\nname", TLibraryResult::NotTried}};
    for (const auto& c : cases) EXPECT_EQ(ReadLibraryResult(settings_, c.section), c.want) << c.section;
    EXPECT_EQ(ReadLibraryResult(Path("missing.Ini"), "all"), TLibraryResult::NotTried);
}

TEST_F(ResultTest, AVerifiedRecordOfFewerThanHalfShowsAsSuch) {
    // Only a hand-made lower record lets 204 be stored; it verifies.
    std::ofstream(settings_, std::ios::binary) << "[s]\r\nDStrs=" + FormatResultRecord("s", ViewMode::FewFound) + "\r\n";
    EXPECT_EQ(ReadLibraryResult(settings_, "s"), TLibraryResult::FewFound);
    const std::string before = Get(settings_);
    std::vector<TLibraryEntry> entries(1);
    entries[0].Summarised = true;
    entries[0].Summary.Section = "s";
    ReadLibraryResults(entries, settings_);
    EXPECT_EQ(entries[0].Result, TLibraryResult::FewFound);
    EXPECT_EQ(Get(settings_), before);  // reading writes nothing
}

TEST_F(ResultTest, ListsFoldersSortsFiltersAndCounts) {
    Store("s-b", ViewMode::AllFound);
    Store("s-c", ViewMode::HalfFound);
    const std::string mine = Path("mine"), bundled = Path("bundled");
    PutPuzzle("mine/c.VX", testing::NamedRecipe("Cherry", "s-c", 1));
    PutPuzzle("mine/a.VX", testing::NamedRecipe("apple pie", "s-a", 1));
    PutPuzzle("mine/b.VX", testing::NamedRecipe("Banana", "s-b", 1));
    Put("mine/broken.VX", "not a puzzle at all");
    PutPuzzle("bundled/z.VX", testing::NamedRecipe("Apricot", "s-b", 1));
    // Dates: b newest, then a, then c.
    const auto setTime = [&](const char* f, time_t t) {
        timespec times[2] = {{t, 0}, {t, 0}};
        ::utimensat(AT_FDCWD, Path(f).c_str(), times, 0);
    };
    setTime("mine/c.VX", 1000);
    setTime("mine/a.VX", 2000);
    setTime("mine/b.VX", 3000);
    setTime("mine/broken.VX", 500);

    std::vector<TLibraryEntry> entries = ListLibrary(LibraryFolders({mine, bundled}, {}));
    ASSERT_EQ(entries.size(), 5u);
    for (TLibraryEntry& e : entries) {
        e.Summary = SummaryOf(e.Path, nullptr);
        e.Summarised = true;
        if (!e.Summary.Title.empty()) e.DisplayTitle = e.Summary.Title;
    }
    ReadLibraryResults(entries, settings_);

    using V = std::vector<std::string>;
    EXPECT_EQ(Names(entries, ArrangeLibrary(entries, TLibrarySort::Name, "")),
              (V{"a.VX", "b.VX", "broken.VX", "c.VX", "z.VX"}));
    // Groups keep their order: the bundled z stays last though it is solved.
    EXPECT_EQ(Names(entries, ArrangeLibrary(entries, TLibrarySort::Result, "")),
              (V{"a.VX", "broken.VX", "c.VX", "b.VX", "z.VX"}));
    EXPECT_EQ(Names(entries, ArrangeLibrary(entries, TLibrarySort::Date, "")),
              (V{"b.VX", "a.VX", "c.VX", "broken.VX", "z.VX"}));
    // The filter looks at titles, ASCII letters in any case.
    EXPECT_EQ(Names(entries, ArrangeLibrary(entries, TLibrarySort::Name, "AP")), (V{"a.VX", "z.VX"}));
    EXPECT_TRUE(ArrangeLibrary(entries, TLibrarySort::Name, "durian").empty());
    EXPECT_EQ(Names(entries, ArrangeLibrary(entries, TLibrarySort::Name, "BROKEN")), (V{"broken.VX"}));

    const auto broken = std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.FileName == "broken.VX"; });
    EXPECT_TRUE(broken->Unreadable());
    EXPECT_EQ(broken->Summary.Error, TLoadError::DiskError);  // "no" is a header length over 80
    const TLibraryProgress progress = CountProgress(entries);
    EXPECT_EQ(progress.Total, 4);
    EXPECT_EQ(progress.Solved, 2);

    const auto shown = ArrangeLibrary(entries, TLibrarySort::Name, "");
    EXPECT_EQ(InitialSelection(entries, shown, mine + "/c.VX"), 3);
    EXPECT_EQ(InitialSelection(entries, shown, "/gone.VX"), 0);
    EXPECT_EQ(InitialSelection(entries, {}, ""), -1);
}

}  // namespace
}  // namespace vexa
