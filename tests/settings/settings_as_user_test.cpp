// The settings file as an ordinary user sees it: a root-owned program folder
// with a settings file the user may write. When the suite runs as root, the
// user's side runs in this test program again under another uid.
#include "settings/result_record.h"
#include "settings/settings_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vexa {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kUser = 65534;
constexpr const char* kDirVariable = "VEXA_AS_USER_DIR";

std::string Get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Runs this program's test `filter` as kUser; the exit status, or -1 when
// no process can change to that user here.
int RunAsUser(const std::string& filter, const std::string& dir) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        ::setenv(kDirVariable, dir.c_str(), 1);
        const std::string self = CurrentProgramPath();
        const std::string filterArg = "--gtest_filter=" + filter;
        ::execlp("setpriv", "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", self.c_str(),
                 filterArg.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(SettingsAsUser, WritableFileInARootFolderIsUsedAndKept) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to set up folders the user cannot write";
    std::string pattern = (fs::temp_directory_path() / "vexa-user-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern;
    ::chmod(root.c_str(), 0755);
    fs::create_directories(root / "program");
    fs::create_directories(root / "readonly");
    fs::create_directories(root / "home");
    ASSERT_EQ(::chown((root / "home").c_str(), kUser, kUser), 0);
    const fs::path ini = root / "program/vexa.Ini";
    const std::string before = "[abc]\r\nDStrs=" + FormatResultRecord("abc", ViewMode::AllFound) + "\r\n";
    std::ofstream(ini, std::ios::binary) << before;
    ASSERT_EQ(::chown(ini.c_str(), kUser, kUser), 0);
    ::chmod(ini.c_str(), 0644);
    struct stat st {};
    ::stat(ini.c_str(), &st);

    const int status = RunAsUser("SettingsAsUser.UserSide", root.string());
    if (status == 127 || status == -1) {
        fs::remove_all(root);
        GTEST_SKIP() << "cannot run a process as uid 65534 here";
    }
    EXPECT_EQ(status, 0) << "the user's side failed";
    // Written in place: the same file, the old line kept, the new one added.
    EXPECT_EQ(Get(ini), before + "[def]\r\nDStrs=" + FormatResultRecord("def", ViewMode::HalfFound) + "\r\n");
    struct stat after {};
    ::stat(ini.c_str(), &after);
    EXPECT_EQ(after.st_ino, st.st_ino);
    EXPECT_EQ(std::distance(fs::directory_iterator(root / "program"), fs::directory_iterator()), 1);
    EXPECT_TRUE(fs::exists(root / "home/config/vexa/vexa.Ini"));
    fs::remove_all(root);
}

// The user's side of the test above; does nothing unless started by it.
TEST(SettingsAsUser, UserSide) {
    const char* dir = std::getenv(kDirVariable);
    if (!dir) GTEST_SKIP() << "started by WritableFileInARootFolderIsUsedAndKept";
    ASSERT_NE(::geteuid(), 0u);
    const fs::path root = dir;
    const std::string fallback = (root / "home/config/vexa/").string();
    // An in-place save keeps its journal in the user's state folder.
    ::setenv("XDG_STATE_HOME", (root / "home/state").c_str(), 1);

    const TSettingsPathResult kept = MakeSettingsPath((root / "program/vexa.bin").string(), fallback);
    EXPECT_EQ(kept.Result, TSettingsPlace::BesideProgram);
    ASSERT_EQ(kept.Path, (root / "program/vexa.Ini").string());
    TResultState state;
    ReadResultRecord(kept.Path, "abc", state);
    EXPECT_EQ(state.BestResult, ViewMode::AllFound);
    state.BestResult = ViewMode::HalfFound;
    EXPECT_TRUE(WriteResultRecord(kept.Path, "def", state));

    // No file, and a folder the user cannot write: the configuration folder.
    const TSettingsPathResult moved = MakeSettingsPath((root / "readonly/vexa.bin").string(), fallback);
    EXPECT_EQ(moved.Result, TSettingsPlace::Fallback);
    EXPECT_EQ(moved.Path, fallback + "vexa.Ini");
    EXPECT_FALSE(fs::exists(root / "readonly/vexa.Ini"));
    EXPECT_TRUE(WriteResultRecord(moved.Path, "abc", state));
}

}  // namespace
}  // namespace vexa
