#include "settings/settings_path.h"

#include "settings/profile_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexa {
namespace {

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsOtherUser(uid_t uid) { return uid != ::geteuid() && uid != 0; }

// Whether any user but us and root belongs to group `gid`, as a member or by
// their own primary group.
bool GroupHasOthers(gid_t gid) {
    if (const group* gr = ::getgrgid(gid)) {
        for (char** member = gr->gr_mem; member && *member; ++member) {
            const passwd* pw = ::getpwnam(*member);
            if (!pw || IsOtherUser(pw->pw_uid)) return true;
        }
    }
    bool others = false;
    ::setpwent();
    while (const passwd* pw = ::getpwent())
        if (pw->pw_gid == gid && IsOtherUser(pw->pw_uid)) others = true;
    ::endpwent();
    return others;
}

// A folder in which another user could put, replace or remove our settings
// file (or a link in its place): world-writable, sticky like /tmp, another
// user's, or group-writable by a group that has other members. Our own 775
// folder under a private group is ours alone.
bool OthersMayWriteFolder(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0) return true;
    if ((st.st_mode & (S_IWOTH | S_ISVTX)) != 0) return true;
    if (IsOtherUser(st.st_uid) && (st.st_mode & S_IWUSR) != 0) return true;
    return (st.st_mode & S_IWGRP) != 0 && GroupHasOthers(st.st_gid);
}

// Whether the settings file at `path` can be kept there: an existing file
// must be a writable regular file (a save changes it in place when its folder
// cannot be written). A missing file is probed by creating it empty and
// deleting it again.
bool CanKeepSettingsAt(const std::string& path) {
    std::string target;
    if (!ResolveProfileTarget(path, target)) return false;
    const std::string folder = FolderOfPath(target);
    if (OthersMayWriteFolder(FolderOfPath(path)) || OthersMayWriteFolder(folder)) return false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) return MayWriteFile(target);
    if (errno != ENOENT) return false;
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    ::close(fd);
    const bool writable = MayWriteFile(target) && MayWriteFolder(folder);
    ::unlink(target.c_str());
    return writable;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool IsInstalledProgram(const std::string& programPath) {
    const std::string bin = FolderOfPath(programPath);
    if (BaseName(bin) != "bin") return false;
    const std::string prefix = FolderOfPath(bin);
    return IsFolder((prefix == "/" ? std::string() : prefix) + "/share/vexa");
}

std::string SettingsFileNameFor(const std::string& programPath) {
    const std::size_t nameStart = programPath.rfind('/') == std::string::npos ? 0 : programPath.rfind('/') + 1;
    if (nameStart >= programPath.size()) return {};
    const std::size_t dot = programPath.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) return programPath + ".Ini";
    return programPath.substr(0, dot + 1) + "Ini";
}

TSettingsPathResult MakeSettingsPath(const std::string& programPath, const std::string& fallbackDir) {
    const std::string besideProgram = SettingsFileNameFor(programPath);
    if (besideProgram.empty()) return {TSettingsPlace::None, {}};
    if (!IsInstalledProgram(programPath) && CanKeepSettingsAt(besideProgram))
        return {TSettingsPlace::BesideProgram, besideProgram};
    std::string path = fallbackDir;
    if (!path.empty() && path.back() != '/') path += '/';
    path += BaseName(besideProgram);
    return {TSettingsPlace::Fallback, path};
}

std::string UserFolderFor(const char* variable, const char* belowHome) {
    std::string base;
    if (const char* xdg = std::getenv(variable); xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !home[0]) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : nullptr;
        }
        if (!home || !home[0]) return {};
        base = std::string(home) + "/" + belowHome;
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    if (base != "/") base += '/';
    return base + "vexa/";
}

std::string DefaultSettingsFallbackDir() { return UserFolderFor("XDG_CONFIG_HOME", ".config"); }

std::string CurrentProgramPath() {
    std::string buf(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buf.size()) {
            buf.resize(static_cast<std::size_t>(n));
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

}  // namespace vexa
