#include "settings/settings_path.h"

#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include <grp.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace vexa {
namespace {

namespace fs = std::filesystem;

TEST(SettingsPath, NameReplacesTheFileNamesExtension) {
    // "ぁ" is E3 81 81 in UTF-8: read as Shift-JIS its last byte would start a
    // pair and swallow the '/' or '.' after it.
    struct Case {
        const char* name;
        std::string have;
        std::string want;
    };
    const Case cases[] = {
        {"extension replaced", "/opt/vexa/VEXA32.EXE", "/opt/vexa/VEXA32.Ini"},
        {"last dot only", "/opt/vexa/vexa.v2.bin", "/opt/vexa/vexa.v2.Ini"},
        {"no extension", "/usr/bin/vexa", "/usr/bin/vexa.Ini"},
        {"dot in a folder name only", "/opt/vexa.d/vexa", "/opt/vexa.d/vexa.Ini"},
        {"leading dot is no extension", "/opt/.vexa", "/opt/.vexa.Ini"},
        {"trailing dot", "/opt/vexa.", "/opt/vexa.Ini"},
        {"no folder", "vexa.exe", "vexa.Ini"},
        {"kana before the separator", "/opt/\xe3\x81\x81/vexa", "/opt/\xe3\x81\x81/vexa.Ini"},
        {"kana before the dot", "/opt/\xe3\x81\x81.bin", "/opt/\xe3\x81\x81.Ini"},
        {"kana folder with a dot", "/opt/\xe3\x81\x81.d/vexa", "/opt/\xe3\x81\x81.d/vexa.Ini"},
        {"empty path", "", ""},
        {"folder path", "/opt/vexa/", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SettingsFileNameFor(c.have), c.want);
    }
}

class SettingsPathOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vexa-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(root_, ec))
            if (!e.is_symlink(ec) && e.is_directory(ec)) ::chmod(e.path().c_str(), 0700);
        fs::remove_all(root_, ec);
    }
    static void Put(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Get(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    fs::path root_;
};

TEST_F(SettingsPathOnDisk, ChoosesBesideProgramOnlyWhenFileAndFolderMayBeWritten) {
    // Modes without any write bit count as read-only even for root, so these
    // cases hold whoever runs them.
    const std::string fallback = (root_ / "config/vexa/").string();
    struct Case {
        const char* name;
        std::string folder;  // below root_
        std::function<void(const fs::path& folder, const fs::path& ini)> arrange;
        TSettingsPlace wantResult;
        std::optional<std::string> wantContents;  // of the ini beside the program; nullopt: absent
    };
    const std::string longFolder = std::string(200, 'l') + "/" + std::string(200, 'm');
    const Case cases[] = {
        {"writable folder, no file: probe deleted", "a", [](auto&, auto&) {}, TSettingsPlace::BesideProgram,
         std::nullopt},
        {"existing writable file kept", "b", [](auto&, auto& ini) { Put(ini, "[x]\r\nY=1\r\n"); },
         TSettingsPlace::BesideProgram, "[x]\r\nY=1\r\n"},
        {"read-only file", "c",
         [](auto&, auto& ini) {
             Put(ini, "keep");
             fs::permissions(ini, fs::perms::owner_read | fs::perms::group_read);
         },
         TSettingsPlace::Fallback, "keep"},
        {"folder where no file can be created", "d",
         [](auto& folder, auto&) { ::chmod(folder.c_str(), 0555); }, TSettingsPlace::Fallback, std::nullopt},
        {"writable file in a read-only folder is kept (saves write it in place)", "e",
         [](auto& folder, auto& ini) {
             Put(ini, "keep");
             ::chmod(folder.c_str(), 0555);
         },
         TSettingsPlace::BesideProgram, "keep"},
        {"symlink to a writable file", "f",
         [this](auto&, auto& ini) {
             Put(root_ / "elsewhere.Ini", "linked");
             fs::create_symlink(root_ / "elsewhere.Ini", ini);
         },
         TSettingsPlace::BesideProgram, "linked"},
        {"symlink to a read-only file", "g",
         [this](auto&, auto& ini) {
             Put(root_ / "readonly.Ini", "linked");
             ::chmod((root_ / "readonly.Ini").c_str(), 0444);
             fs::create_symlink(root_ / "readonly.Ini", ini);
         },
         TSettingsPlace::Fallback, "linked"},
        {"a folder in the file's place", "h", [](auto&, auto& ini) { fs::create_directory(ini); },
         TSettingsPlace::Fallback, ""},
        {"path longer than 260 bytes", longFolder, [](auto&, auto&) {}, TSettingsPlace::BesideProgram, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = root_ / c.folder;
        fs::create_directories(folder);
        const fs::path ini = folder / "vexa.Ini";
        c.arrange(folder, ini);

        const TSettingsPathResult got = MakeSettingsPath((folder / "vexa.bin").string(), fallback);
        EXPECT_EQ(got.Result, c.wantResult);
        EXPECT_EQ(got.Path, c.wantResult == TSettingsPlace::BesideProgram ? ini.string() : fallback + "vexa.Ini");
        if (!c.wantContents) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(ini)));
        } else if (!fs::is_directory(ini)) {
            EXPECT_EQ(Get(ini), *c.wantContents);
        }
        // Nothing else is left in the program's folder or made in the fallback.
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
                  c.wantContents ? 1 : 0);
        EXPECT_FALSE(fs::exists(root_ / "config"));
    }
}

TEST_F(SettingsPathOnDisk, FoldersOthersMayWriteAndOthersFilesAreNotUsed) {
    // In a folder that others may write, a settings file or a link in its
    // place may have been planted by someone else.
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give files and folders to another user";
    constexpr uid_t kOther = 65534;
    const std::string fallback = (root_ / "config/vexa/").string();
    gid_t sharedGroup = 0;  // a group with a member other than root, if the system has one
    for (gid_t gid = 1; gid < 2000 && sharedGroup == 0; ++gid)
        if (const group* gr = ::getgrgid(gid); gr && gr->gr_mem && gr->gr_mem[0]) sharedGroup = gid;
    struct Case {
        const char* name;
        std::function<void(const fs::path& folder, const fs::path& ini)> arrange;
        TSettingsPlace wantResult;
    };
    const Case cases[] = {
        {"world-writable folder", [](auto& folder, auto&) { ::chmod(folder.c_str(), 0777); }, TSettingsPlace::Fallback},
        {"sticky shared folder", [](auto& folder, auto&) { ::chmod(folder.c_str(), 01777); }, TSettingsPlace::Fallback},
        {"another user's folder", [](auto& folder, auto&) { ::chown(folder.c_str(), kOther, kOther); },
         TSettingsPlace::Fallback},
        {"own 775 folder under a private group", [](auto& folder, auto&) { ::chmod(folder.c_str(), 0775); },
         TSettingsPlace::BesideProgram},
        {"group-writable by a group with other members",
         [sharedGroup](auto& folder, auto&) {
             ::chown(folder.c_str(), 0, sharedGroup);
             ::chmod(folder.c_str(), sharedGroup ? 0775 : 0777);
         },
         TSettingsPlace::Fallback},
        {"link to another user's file",
         [this](auto&, auto& ini) {
             Put(root_ / "theirs.Ini", "theirs");
             ::chown((root_ / "theirs.Ini").c_str(), kOther, kOther);
             fs::create_symlink(root_ / "theirs.Ini", ini);
         },
         TSettingsPlace::Fallback},
        {"another user's link to our file",
         [this](auto&, auto& ini) {
             Put(root_ / "ours.Ini", "ours");
             fs::create_symlink(root_ / "ours.Ini", ini);
             ::lchown(ini.c_str(), kOther, kOther);
         },
         TSettingsPlace::Fallback},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = root_ / ("p" + std::to_string(n++));
        fs::create_directories(folder);
        const fs::path ini = folder / "vexa.Ini";
        c.arrange(folder, ini);
        const TSettingsPathResult got = MakeSettingsPath((folder / "vexa.bin").string(), fallback);
        EXPECT_EQ(got.Result, c.wantResult);
        if (fs::is_symlink(ini)) {
            // Never written through, whoever asks.
            const std::string before = Get(ini);
            EXPECT_FALSE(WriteProfileString(ini.string(), "abc", "DStrs", "0,0,0"));
            EXPECT_EQ(Get(ini), before);
        }
    }
}

TEST_F(SettingsPathOnDisk, AnInstalledProgramKeepsResultsInTheConfigurationFolder) {
    const std::string fallback = (root_ / "config/vexa/").string();
    struct Case {
        const char* name;
        std::string program;       // below root_
        std::string shareFolder;   // made below root_ when not empty
        bool wantInstalled;
    };
    const Case cases[] = {
        {"prefix with share/vexa", "usr/bin/vexa", "usr/share/vexa", true},
        {"bin without share/vexa beside it", "copy/bin/vexa", "copy/share/other", false},
        {"build tree", "build/vexa", "build/share/vexa", false},
        {"copied next to share/vexa, not in bin", "opt/vexa", "share/vexa", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path program = root_ / c.program;
        fs::create_directories(program.parent_path());
        Put(program, "");
        fs::create_directories(root_ / c.shareFolder);
        EXPECT_EQ(IsInstalledProgram(program.string()), c.wantInstalled);
        const TSettingsPathResult got = MakeSettingsPath(program.string(), fallback);
        if (c.wantInstalled) {
            EXPECT_EQ(got.Result, TSettingsPlace::Fallback);
            EXPECT_EQ(got.Path, fallback + "vexa.Ini");
        } else {
            EXPECT_EQ(got.Result, TSettingsPlace::BesideProgram);
            EXPECT_EQ(got.Path, program.string() + ".Ini");
        }
    }
}

TEST_F(SettingsPathOnDisk, FallbackJoinAndMissingProgramPath) {
    const fs::path folder = root_ / "ro";
    fs::create_directory(folder);
    ::chmod(folder.c_str(), 0555);
    const std::string program = (folder / "VEXA32.EXE").string();
    EXPECT_EQ(MakeSettingsPath(program, "/cfg/vexa").Path, "/cfg/vexa/VEXA32.Ini");
    EXPECT_EQ(MakeSettingsPath(program, "/cfg/vexa/").Path, "/cfg/vexa/VEXA32.Ini");

    const TSettingsPathResult none = MakeSettingsPath("", "/cfg/vexa/");
    EXPECT_EQ(none.Result, TSettingsPlace::None);
    EXPECT_EQ(none.Path, "");
}

TEST(SettingsPath, FallbackFolderComesFromTheEnvironment) {
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    };
    Saved saved[] = {{"XDG_CONFIG_HOME", {}}, {"HOME", {}}};
    for (Saved& s : saved)
        if (const char* v = std::getenv(s.name)) s.value = v;

    struct Case {
        const char* name;
        const char* xdg;  // nullptr: unset
        const char* home;
        std::string want;
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME", "/x/conf", "/home/u", "/x/conf/vexa/"},
        {"trailing slash", "/x/conf//", "/home/u", "/x/conf/vexa/"},
        {"relative XDG_CONFIG_HOME ignored", "conf", "/home/u", "/home/u/.config/vexa/"},
        {"empty XDG_CONFIG_HOME ignored", "", "/home/u", "/home/u/.config/vexa/"},
        {"unset XDG_CONFIG_HOME", nullptr, "/home/u", "/home/u/.config/vexa/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.xdg) ::setenv("XDG_CONFIG_HOME", c.xdg, 1); else ::unsetenv("XDG_CONFIG_HOME");
        ::setenv("HOME", c.home, 1);
        EXPECT_EQ(DefaultSettingsFallbackDir(), c.want);
    }
    for (const Saved& s : saved) {
        if (s.value) ::setenv(s.name, s.value->c_str(), 1); else ::unsetenv(s.name);
    }
}

TEST(SettingsPath, ProgramPathNamesThisTest) {
    const std::string self = CurrentProgramPath();
    ASSERT_FALSE(self.empty());
    EXPECT_TRUE(fs::equivalent(self, "/proc/self/exe"));
}

}  // namespace
}  // namespace vexa
