#include "settings/result_record.h"

#include "settings_file_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vexa {
namespace {

using enum ViewMode;

namespace fs = std::filesystem;

const std::string kZo = "\x83\x5d";  // ゾ: second byte ']'
const std::string kA = "\x83\x41";   // ア: second byte 'A'

bool SameState(const TResultState& a, const TResultState& b) {
    return a.StoredCrcMsb == b.StoredCrcMsb && a.StoredCrcLsb == b.StoredCrcLsb && a.BestResult == b.BestResult;
}

TEST(ResultRecord, FormatsChecksumTextAndValue) {
    EXPECT_EQ(ResultChecksumText("abc", FewFound), "abc204");
    EXPECT_EQ(FormatResultRecord("abc", HalfFound), "0x7c79d7ef,0x1611c2b2,205");
    EXPECT_EQ(FormatResultRecord("abc", AllFound), "0x713af136,0x8f189308,206");
    EXPECT_EQ(FormatResultRecord(kZo.c_str(), AllFound), "0xca71958f,0x3e1078b4,206");
}

TEST(ResultRecord, ParsesLikeHexHexDecimalAndKeepsUnparsedFields) {
    const TResultState before{0x11, 0x22, FewFound};
    struct Case {
        const char* name;
        std::string have;
        int wantCount;
        TResultState want;
    };
    const Case cases[] = {
        {"as written", "0x7c79d7ef,0x1611c2b2,205", 3, {0x7c79d7ef, 0x1611c2b2, HalfFound}},
        {"upper case, no prefix", "7C79D7EF,0X1611C2B2,205", 3, {0x7c79d7ef, 0x1611c2b2, HalfFound}},
        {"blanks before numbers", " 0x1,\t0x2, -7", 3, {1, 2, ViewMode{-7}}},
        {"largest 32-bit value", "ffffffff,0xFFFFFFFF,0", 3, {0xffffffff, 0xffffffff, None}},
        {"trailing text ignored", "1,2,205xyz", 3, {1, 2, HalfFound}},
        {"erased record", "0,0,0", 3, {0, 0, None}},
        {"stops after the second number", "0x1,0x2", 2, {1, 2, FewFound}},
        {"stops at a blank before the comma", "0x1 ,0x2,3", 1, {1, 0x22, FewFound}},
        {"'0x' without digits reads 0", "0xg,1,2", 1, {0, 0x22, FewFound}},
        {"nothing parsed", "", 0, before},
        {"not a number", "zz,1,2", 0, before},
        {"33-bit checksum is a mismatch", "0x100000000,1,2", 0, before},
        {"result beyond int is a mismatch", "1,2,2147483648", 2, {1, 2, FewFound}},
        {"smallest int", "1,2,-2147483648", 3, {1, 2, ViewMode{-2147483647 - 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TResultState state = before;
        EXPECT_EQ(ParseResultRecord(c.have, state), c.wantCount);
        EXPECT_TRUE(SameState(state, c.want))
            << std::hex << state.StoredCrcMsb << " " << state.StoredCrcLsb << std::dec << " "
            << ModeNumber(state.BestResult);
    }
}

using ResultRecordFile = testing::SettingsFileTest;

TEST_F(ResultRecordFile, ReadVerifiesTheStoredValue) {
    struct Case {
        const char* name;
        std::string file;  // empty: no settings file
        std::string section;
        ViewMode startBest;
        ViewMode wantBest;
    };
    const Case cases[] = {
        {"no settings file", "", "abc", AllFound, FewFound},
        {"no section", "[x]\r\nDStrs=0x7c79d7ef,0x1611c2b2,205\r\n", "abc", FewFound, FewFound},
        {"valid record", "[abc]\r\nDStrs=0x7c79d7ef,0x1611c2b2,205\r\n", "abc", FewFound, HalfFound},
        {"upper case without prefixes", "[ABC]\r\ndstrs=713AF136,8F189308,206\r\n", "abc", FewFound, AllFound},
        {"result edited from 205 to 206", "[abc]\r\nDStrs=0x7c79d7ef,0x1611c2b2,206\r\n", "abc", FewFound, FewFound},
        {"copied under another section", "[abd]\r\nDStrs=0x7c79d7ef,0x1611c2b2,205\r\n", "abd", FewFound, FewFound},
        {"erased record", "[abc]\r\nDStrs=0,0,0\r\n", "abc", AllFound, FewFound},
        // Parsing keeps the earlier result when the field is cut off.
        {"result cut off, earlier value verifies", "[abc]\r\nDStrs=0x7c79d7ef,0x1611c2b2\r\n", "abc", HalfFound,
         HalfFound},
        {"result cut off, earlier value does not", "[abc]\r\nDStrs=0x7c79d7ef,0x1611c2b2\r\n", "abc", AllFound,
         FewFound},
        {"Shift-JIS section with ']' second byte", "[" + kZo + "]\r\nDStrs=0xca71958f,0x3e1078b4,206\r\n", kZo,
         FewFound, AllFound},
        {"section with CR LF never matches", "[a\r\nb]\r\nDStrs=0,0,0\r\n", "a\r\nb", HalfFound, FewFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path_);
        if (!c.file.empty()) Put(c.file);
        TResultState state;
        state.BestResult = c.startBest;
        ReadResultRecord(path_, c.section.c_str(), state);
        EXPECT_EQ(state.BestResult, c.wantBest);
    }
}

TEST_F(ResultRecordFile, WriteAndEraseChangeOnlyTheRecordLine) {
    const std::string others = "; kept\r\n[" + kA + "]\r\nDStrs=0xb5394afa,0xbdd6c129,205\r\n[abc]\r\nOther=1";
    Put(others);

    TResultState state;
    state.BestResult = HalfFound;
    ASSERT_TRUE(WriteResultRecord(path_, "ABC", state));
    // The checksum text takes the section's bytes as given.
    EXPECT_EQ(Get(), others + "\r\nDStrs=0xfdb71968,0x704e47be,205\r\n");

    state.BestResult = AllFound;
    ASSERT_TRUE(WriteResultRecord(path_, "abc", state));
    EXPECT_EQ(Get(), others + "\r\nDStrs=0x713af136,0x8f189308,206\r\n");
    EXPECT_EQ(state.StoredCrcMsb, 0x713af136u);
    EXPECT_EQ(state.StoredCrcLsb, 0x8f189308u);

    TResultState read;
    ReadResultRecord(path_, "abc", read);
    EXPECT_TRUE(SameState(read, state));

    ASSERT_TRUE(EraseResultRecord(path_, "abc"));
    EXPECT_EQ(Get(), others + "\r\nDStrs=0,0,0\r\n");
    ReadResultRecord(path_, "abc", read);
    EXPECT_EQ(read.BestResult, FewFound);

    // The other puzzle's record, under a section differing only in the
    // second byte's case, is untouched and still verifies.
    ReadResultRecord(path_, kA.c_str(), read);
    EXPECT_EQ(read.BestResult, HalfFound);
}

TEST_F(ResultRecordFile, SectionWithLineBreakIsNeverWritten) {
    // Such a name could not be found again, so every better result would
    // append another section.
    for (const char* section : {"a\rb", "a\nb", "ab\r\n"}) {
        SCOPED_TRACE(section);
        TResultState state;
        state.BestResult = AllFound;
        EXPECT_FALSE(WriteResultRecord(path_, section, state));
        EXPECT_FALSE(EraseResultRecord(path_, section));
        EXPECT_FALSE(fs::exists(path_));
    }
}

TEST_F(ResultRecordFile, ASectionSpelledOtherwiseKeepsItsResult) {
    // "SetTest" and "SETTEST" share one line, but the checksums tell whose
    // result it holds.
    const std::string setTest206 = FormatResultRecord("SetTest", AllFound);
    struct Case {
        const char* name;
        std::string file;
        const char* section;  // the puzzle that reaches HalfFound, then erases
        bool wantHeldByOther;  // told beforehand that the line is another puzzle's
        bool wantWritten;     // its own better record is kept too
        bool wantErased;
    };
    const Case cases[] = {
        {"another spelling's valid result is kept", "[SetTest]\r\nDStrs=" + setTest206 + "\r\n", "SETTEST", true,
         false, false},
        {"the same spelling erases its own", "[SetTest]\r\nDStrs=" + setTest206 + "\r\n", "SetTest", false, false,
         true},
        {"a value that verifies for no one is overwritten", "[SetTest]\r\nDStrs=0,0,0\r\n", "SETTEST", false, true,
         true},
        {"a value of this spelling under another header is ours",
         "[SetTest]\r\nDStrs=" + FormatResultRecord("SETTEST", AllFound) + "\r\n", "SETTEST", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.file);
        EXPECT_EQ(RecordHeldByOtherPuzzle(path_, c.section), c.wantHeldByOther);
        TResultState state;
        state.BestResult = HalfFound;
        EXPECT_EQ(WriteResultRecord(path_, c.section, state), c.wantWritten);
        EXPECT_EQ(EraseResultRecord(path_, c.section), c.wantErased);
        if (!c.wantErased) {
            EXPECT_EQ(Get(), c.file);
            TResultState other;
            ReadResultRecord(path_, "SetTest", other);
            EXPECT_EQ(other.BestResult, AllFound);
        } else {
            EXPECT_EQ(Get(), "[SetTest]\r\nDStrs=0,0,0\r\n");
        }
    }
}

}  // namespace
}  // namespace vexa
