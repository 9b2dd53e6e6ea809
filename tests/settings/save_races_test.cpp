// Saves against other processes and against a kill: two copies of the player
// on one settings file, and a save of a file in a folder that cannot be
// written stopped at every step.
#include "settings/profile_file.h"
#include "settings/profile_io.h"
#include "settings/result_record.h"

#include "settings_file_fixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vexa {
namespace {

namespace fs = std::filesystem;
using SaveRaces = testing::SettingsFileTest;
constexpr ViewMode kResults[] = {ViewMode::FewFound, ViewMode::HalfFound, ViewMode::AllFound};

std::string Record(const std::string& section, ViewMode result) {
    return "[" + section + "]\r\nDStrs=" + FormatResultRecord(section.c_str(), result) + "\r\n";
}

ViewMode Stored(const std::string& path, const std::string& section) {
    TResultState state;
    ReadResultRecord(path, section.c_str(), state);
    return state.BestResult;
}

// Waits for every child; true when all of them exited with 0.
bool AllSucceeded(const std::vector<pid_t>& children) {
    bool ok = true;
    for (const pid_t child : children) {
        int status = 0;
        ok = ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
    }
    return ok;
}

TEST_F(SaveRaces, AResultReadBeforeAnotherCopysSaveNeverLowersIt) {
    // A loads, B stores 206, A judges 205: the file keeps 206.
    Put(Record("other", ViewMode::HalfFound));
    TResultState a, b;
    ReadResultRecord(path_, "abc", a);
    ReadResultRecord(path_, "abc", b);
    b.BestResult = ViewMode::AllFound;
    ASSERT_TRUE(WriteResultRecord(path_, "abc", b));
    a.BestResult = ViewMode::HalfFound;
    EXPECT_FALSE(WriteResultRecord(path_, "abc", a));
    EXPECT_EQ(Get(), Record("other", ViewMode::HalfFound) + Record("abc", ViewMode::AllFound));
    // The Cancel path still erases it.
    ASSERT_TRUE(EraseResultRecord(path_, "abc"));
    EXPECT_EQ(Stored(path_, "abc"), kNoResult);
}

TEST_F(SaveRaces, ProcessesSavingAtOnceLoseNoRecord) {
    // Four processes store results of their own puzzles and of one shared
    // puzzle, each from a state it never reads again: replaced whole where the
    // folder may be written, in place where it may not.
    constexpr int kProcesses = 4;
    constexpr int kRounds = 30;
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "in place" : "replaced");
        Put("; shared by every copy\r\n");
        ::chmod(dir_.c_str(), inPlace ? 0555 : 0700);
        std::vector<pid_t> children;
        for (int p = 0; p < kProcesses; ++p) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                bool ok = true;
                for (int r = 0; r < kRounds; ++r) {
                    TResultState state;  // loaded before every other copy's save: 204
                    state.BestResult = kResults[(r + p) % 3];
                    const std::string own = "own" + std::to_string(p) + "-" + std::to_string(r % 5);
                    WriteResultRecord(path_, own.c_str(), state);
                    state.BestResult = kResults[(r * 7 + p) % 3];
                    WriteResultRecord(path_, "shared", state);
                    ok = ok && state.BestResult == kResults[(r * 7 + p) % 3];
                }
                ::_exit(ok ? 0 : 1);
            }
            children.push_back(child);
        }
        EXPECT_TRUE(AllSucceeded(children));
        ::chmod(dir_.c_str(), 0700);
        for (int p = 0; p < kProcesses; ++p) {
            for (int i = 0; i < 5; ++i) {
                // The best each process reached on its puzzle.
                ViewMode best = kNoResult;
                for (int r = i; r < kRounds; r += 5)
                    if (IsBetterResult(kResults[(r + p) % 3], best)) best = kResults[(r + p) % 3];
                EXPECT_EQ(Stored(path_, "own" + std::to_string(p) + "-" + std::to_string(i)), best);
            }
        }
        EXPECT_EQ(Stored(path_, "shared"), ViewMode::AllFound);
        EXPECT_EQ(Get().rfind("; shared by every copy\r\n", 0), 0u);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), inPlace ? 2 : 1);
    }
}

// The step at which the child below kills itself.
int gKillAt = 0;
int gSteps = 0;
void KillAtStep(TSaveStep) {
    if (++gSteps == gKillAt) ::raise(SIGKILL);
}

TEST_F(SaveRaces, AnInPlaceSaveKilledAtAnyStepLeavesTheOldFileOrTheNew) {
    // Neighbours before and after the changed record, and a tail long enough
    // to take several writes to move.
    const std::string before = Record("before", ViewMode::AllFound);
    const std::string after = Record("after", ViewMode::HalfFound) + "[z]\r\nK=" + std::string(600000, 'k') + "\r\n";
    struct Case {
        const char* name;
        std::string old;
        ViewMode result;  // kNoResult: erase
    };
    const Case cases[] = {
        {"the record grows", before + "[abc]\r\nDStrs=0,0,0\r\n" + after, ViewMode::AllFound},
        {"the record shrinks", before + Record("abc", ViewMode::HalfFound) + after, kNoResult},
        {"a new section at the end", before + after, ViewMode::HalfFound},
    };
    int kills = 0, broken = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.old);
        TResultState state;
        state.BestResult = c.result;
        if (c.result == kNoResult) ASSERT_TRUE(EraseResultRecord(path_, "abc"));
        else ASSERT_TRUE(WriteResultRecord(path_, "abc", state));
        const std::string saved = Get();
        for (int k = 1;; ++k) {
            Put(c.old);
            ::chmod(dir_.c_str(), 0555);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                gKillAt = k;
                SetSaveStepHook(KillAtStep);
                TResultState s;
                s.BestResult = c.result;
                const bool ok = c.result == kNoResult ? EraseResultRecord(path_, "abc")
                                                      : WriteResultRecord(path_, "abc", s);
                ::_exit(ok ? 0 : 1);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ::chmod(dir_.c_str(), 0700);
            if (WIFEXITED(status)) {
                EXPECT_EQ(WEXITSTATUS(status), 0);
                EXPECT_TRUE(Get() == saved);
                break;
            }
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
            ++kills;
            // The next start reads the file: a cut-short save is finished first.
            ::chmod(dir_.c_str(), 0555);
            EXPECT_EQ(Stored(path_, "before"), ViewMode::AllFound);
            ::chmod(dir_.c_str(), 0700);
            const std::string now = Get();
            const bool whole = now == c.old || now == saved;
            if (!whole) ++broken;
            EXPECT_TRUE(whole) << "killed at step " << k;
            EXPECT_EQ(Stored(path_, "after"), ViewMode::HalfFound);
        }
    }
    std::printf("kills at each step: %d, files broken: %d\n", kills, broken);
    EXPECT_GT(kills, 10);
}

TEST_F(SaveRaces, InPlaceSavesKilledAtRandomMomentsLeaveAWholeFile) {
    // A process stores and erases one record without a pause; it is killed
    // after a random few milliseconds, again and again.
    const std::string tail = Record("after", ViewMode::HalfFound) + "[z]\r\nK=" + std::string(600000, 'k') + "\r\n";
    const std::string erased = Record("before", ViewMode::AllFound) + "[abc]\r\nDStrs=0,0,0\r\n" + tail;
    const std::string stored = Record("before", ViewMode::AllFound) + Record("abc", ViewMode::AllFound) + tail;
    std::srand(static_cast<unsigned>(::getpid()));
    int broken = 0;
    constexpr int kKills = 40;
    Put(erased);
    for (int i = 0; i < kKills; ++i) {
        ::chmod(dir_.c_str(), 0555);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                TResultState s;
                s.BestResult = ViewMode::AllFound;
                WriteResultRecord(path_, "abc", s);
                EraseResultRecord(path_, "abc");
            }
        }
        ::usleep(static_cast<useconds_t>(1000 + std::rand() % 30000));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        EXPECT_EQ(Stored(path_, "after"), ViewMode::HalfFound);  // finishes a cut-short save
        ::chmod(dir_.c_str(), 0700);
        const std::string now = Get();
        if (now != erased && now != stored) ++broken;
    }
    std::printf("kills at random moments: %d, files broken: %d\n", kKills, broken);
    EXPECT_EQ(broken, 0);
}

}  // namespace
}  // namespace vexa
