#include "settings/display_options.h"

#include "settings/result_record.h"

#include "settings_file_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>

namespace vexa {
namespace {

namespace fs = std::filesystem;

const std::string kSection = std::string("[") + kDisplayOptionsSection + "]";

using DisplayOptionsFile = testing::SettingsFileTest;

TEST_F(DisplayOptionsFile, ReadsOnlyAOneAsOn) {
    struct Case {
        const char* name;
        std::string have;  // the file; empty: none
        bool want;
    };
    const Case cases[] = {
        {"no settings file", "", false},
        {"results only", "[abc]\r\nDStrs=0x713af136,0x8f189308,206\r\n", false},
        {"on", kSection + "\r\nConspicuousMarkers=1\r\n", true},
        {"on, blanks around", kSection + "\r\nConspicuousMarkers = 1 \r\n", true},
        {"on, key in other letter case", kSection + "\nconspicuousmarkers=1", true},
        {"off", kSection + "\r\nConspicuousMarkers=0\r\n", false},
        {"empty value", kSection + "\r\nConspicuousMarkers=\r\n", false},
        {"garbled value", kSection + "\r\nConspicuousMarkers=yes\r\n", false},
        {"a number that is not 1", kSection + "\r\nConspicuousMarkers=10\r\n", false},
        {"key under a puzzle's section does not count", "[abc]\r\nConspicuousMarkers=1\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path_);
        if (!c.have.empty()) Put(c.have);
        EXPECT_EQ(ReadConspicuousMarkers(path_), c.want);
    }
}

TEST_F(DisplayOptionsFile, WritingLeavesEveryOtherLineAndTheResultsAsTheyWere) {
    // Results of two puzzles, one in a Shift-JIS section, a comment and no
    // final line ending.
    const std::string results = "; kept\r\n[abc]\r\nDStrs=0x713af136,0x8f189308,206\r\n[\x83\x41]\r\n"
                                "DStrs=0xb5394afa,0xbdd6c129,205";
    Put(results);
    ASSERT_TRUE(WriteConspicuousMarkers(path_, true));
    EXPECT_EQ(Get(), results + "\r\n" + kSection + "\r\nConspicuousMarkers=1\r\n");
    EXPECT_TRUE(ReadConspicuousMarkers(path_));

    ASSERT_TRUE(WriteConspicuousMarkers(path_, false));
    EXPECT_EQ(Get(), results + "\r\n" + kSection + "\r\nConspicuousMarkers=0\r\n");
    EXPECT_FALSE(ReadConspicuousMarkers(path_));

    // A result written afterwards lands in its own section, and both still read.
    TResultState state;
    state.BestResult = ViewMode::HalfFound;
    ASSERT_TRUE(WriteResultRecord(path_, "new", state));
    TResultState read;
    ReadResultRecord(path_, "abc", read);
    EXPECT_EQ(read.BestResult, ViewMode::AllFound);
    ReadResultRecord(path_, "new", read);
    EXPECT_EQ(read.BestResult, ViewMode::HalfFound);
    EXPECT_FALSE(ReadConspicuousMarkers(path_));
}

TEST_F(DisplayOptionsFile, ACreatedFileHoldsOnlyTheOption) {
    ASSERT_TRUE(WriteConspicuousMarkers(path_, true));
    EXPECT_EQ(Get(), kSection + "\r\nConspicuousMarkers=1\r\n");
}

TEST_F(DisplayOptionsFile, AFailedWriteReportsItAndChangesNothing) {
    const std::string results = "[abc]\r\nDStrs=0x713af136,0x8f189308,206\r\n";
    Put(results);
    ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
    EXPECT_FALSE(WriteConspicuousMarkers(path_, true));
    EXPECT_EQ(Get(), results);
    EXPECT_FALSE(ReadConspicuousMarkers(path_));
}

}  // namespace
}  // namespace vexa
