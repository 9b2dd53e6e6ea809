// Settings files far larger than memory allows to hold, and lines of any
// length: read and saved a piece at a time, every byte kept.
#include "settings/profile_file.h"
#include "settings/result_record.h"
#include "settings/settings_saver.h"

#include "settings_file_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vexa {
namespace {

using LargeFile = testing::SettingsFileTest;

// The peak resident size of this process so far, in KiB.
long PeakKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

TEST_F(LargeFile, LinesOfAnyLengthAreKeptByteForByte) {
    const std::string big(8u << 20, 'x');
    const std::string record = FormatResultRecord("abc", ViewMode::HalfFound);
    struct Case {
        const char* name;
        std::string have;
        std::string want;  // after storing `record` under [abc]
    };
    const Case cases[] = {
        {"a long line without a break before the section", big + "\r\n[abc]\r\nDStrs=0,0,0\r\n",
         big + "\r\n[abc]\r\nDStrs=" + record + "\r\n"},
        {"a long header that is not ours", "[" + big + "]\r\nDStrs=1\r\n",
         "[" + big + "]\r\nDStrs=1\r\n[abc]\r\nDStrs=" + record + "\r\n"},
        {"our header closed far away by blanks", "[abc" + std::string(1u << 20, ' ') + "]\r\nDStrs=0\r\n",
         "[abc" + std::string(1u << 20, ' ') + "]\r\nDStrs=" + record + "\r\n"},
        {"a long key in our section", "[abc]\r\n" + big + "=1\r\n",
         "[abc]\r\n" + big + "=1\r\nDStrs=" + record + "\r\n"},
        {"a long value of our key", "[abc]\r\nDStrs=" + big + "\r\n[z]\r\n",
         "[abc]\r\nDStrs=" + record + "\r\n[z]\r\n"},
        {"a long value before ours", "[abc]\r\nX=" + big + "\rDStrs\r\nDStrs=1",
         "[abc]\r\nX=" + big + "\rDStrs\r\nDStrs=" + record},
        {"zero bytes and no line break at all", std::string(big.size(), '\0'),
         std::string(big.size(), '\0') + "\r\n[abc]\r\nDStrs=" + record + "\r\n"},
    };
    for (const bool inPlace : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (inPlace ? ", in place" : ""));
            Put(c.have);
            ::chmod(dir_.c_str(), inPlace ? 0555 : 0700);
            TResultState state;
            state.BestResult = ViewMode::HalfFound;
            EXPECT_TRUE(WriteResultRecord(path_, "abc", state));
            ::chmod(dir_.c_str(), 0700);
            EXPECT_TRUE(Get() == c.want);
            TResultState read;
            ReadResultRecord(path_, "abc", read);
            EXPECT_EQ(read.BestResult, ViewMode::HalfFound);
        }
    }
    // A long value is read as its first bytes only.
    Put("[abc]\r\nDStrs=\"" + big + "\"\r\n");
    EXPECT_EQ(ReadProfileString(path_, "abc", "DStrs", "none"), std::string(80, 'x'));
}

TEST_F(LargeFile, AHugeFileIsReadAndSavedInBoundedMemory) {
    // A sparse file of zero bytes (default 4 GiB), its only line break just
    // before a record near its end: read at start and saved, in a child
    // process so that its peak memory is its own.
    const char* env = std::getenv("VEXA_HUGE_SETTINGS_GIB");
    const long long size = (env ? std::atoll(env) : 4LL) << 30;
    Put("");
    ASSERT_EQ(::truncate(path_.c_str(), size - 4096), 0);
    std::ofstream(path_, std::ios::binary | std::ios::app) << "\n[abc]\r\nDStrs=0,0,0\r\n";
    ASSERT_EQ(::truncate(path_.c_str(), size), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const long before = PeakKiB();
        const auto start = std::chrono::steady_clock::now();
        TResultState state;
        ReadResultRecord(path_, "abc", state);
        bool ok = state.BestResult == kNoResult;
        const auto read = std::chrono::steady_clock::now();
        ::chmod(dir_.c_str(), 0555);  // in place: the whole file is not copied
        state.BestResult = ViewMode::AllFound;
        ok = ok && WriteResultRecord(path_, "abc", state);
        const auto saved = std::chrono::steady_clock::now();
        const long grown = PeakKiB() - before;
        using ms = std::chrono::milliseconds;
        std::printf("%lld bytes: read %lld ms, saved %lld ms, peak memory grew by %ld KiB\n", size,
                    static_cast<long long>(std::chrono::duration_cast<ms>(read - start).count()),
                    static_cast<long long>(std::chrono::duration_cast<ms>(saved - read).count()), grown);
        std::fflush(stdout);
        ::_exit(ok && grown < 64 * 1024 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(dir_.c_str(), 0700);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    TResultState read;
    ReadResultRecord(path_, "abc", read);
    EXPECT_EQ(read.BestResult, ViewMode::AllFound);
    ::truncate(path_.c_str(), 0);
}

TEST_F(LargeFile, BackgroundSavesRunInOrderAndReadsWaitForThem) {
    SetSettingsSavesInBackground(true);
    const std::thread::id caller = std::this_thread::get_id();
    std::thread::id ranOn;
    RunSettingsSave([&] {
        ranOn = std::this_thread::get_id();
        return true;
    });
    TResultState state;
    for (const ViewMode result : {ViewMode::HalfFound, ViewMode::AllFound}) {
        state.BestResult = result;
        EXPECT_TRUE(WriteResultRecord(path_, "abc", state));
    }
    EXPECT_TRUE(EraseResultRecord(path_, "abc"));
    state.BestResult = ViewMode::HalfFound;
    EXPECT_TRUE(WriteResultRecord(path_, "abc", state));
    // The read sees every save asked for before it, in order.
    TResultState read;
    ReadResultRecord(path_, "abc", read);
    EXPECT_EQ(read.BestResult, ViewMode::HalfFound);
    EXPECT_NE(ranOn, caller);
    SetSettingsSavesInBackground(false);
}

}  // namespace
}  // namespace vexa
