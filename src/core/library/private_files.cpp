#include "library/private_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace vexa {

std::string XdgBaseFolder(const char* variable, const char* fallback) {
    if (const char* xdg = std::getenv(variable); xdg && xdg[0] == '/') return xdg;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return home.empty() ? std::string() : home + fallback;
}

bool MakePrivateFolders(const std::string& folder) {
    if (folder.empty()) return false;
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakePrivateFolders(folder.substr(0, slash))) return false;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReadSmallFile(const std::string& path, std::size_t limit, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > limit) {
        ::close(fd);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t r = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        done += static_cast<std::size_t>(r);
    }
    ::close(fd);
    const bool whole = done == bytes.size();
    bytes.resize(done);
    return whole;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || (slash > 0 && !MakePrivateFolders(path.substr(0, slash)))) return false;
    // A name no other writer uses at the same time: this process, a counter.
    static std::atomic<unsigned> serial{0};
    const std::string temp = path + "." + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) break;
        done += static_cast<std::size_t>(w);
    }
    const bool closed = ::close(fd) == 0;
    const bool ok = closed && done == bytes.size() && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace vexa
