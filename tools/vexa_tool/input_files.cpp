#include "input_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vexatool {

namespace {

std::string KindProblem(mode_t mode) {
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return "a folder, not a regular file";
    if (S_ISFIFO(mode)) return "a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a regular file";
    if (S_ISSOCK(mode)) return "a socket, not a regular file";
    return "not a regular file";
}

std::string TooLarge() {
    return "larger than " + std::to_string(kMaxInputFileBytes / (1024 * 1024)) + " MiB, the most that is read";
}

}  // namespace

std::string InputFileProblem(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::string("cannot open the file (") + std::strerror(errno) + ")";
    return KindProblem(st.st_mode);
}

bool ReadInputFile(const std::string& path, QByteArray& bytes, std::string& error) {
    error = InputFileProblem(path);
    if (!error.empty()) return false;
    // Non-blocking, should the path have become a FIFO since it was looked at.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = std::string("cannot open the file (") + std::strerror(errno) + ")";
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) st.st_mode = 0;
    error = KindProblem(st.st_mode);
    if (error.empty() && st.st_size > kMaxInputFileBytes) error = TooLarge();
    bytes.clear();
    if (error.empty()) bytes.reserve(static_cast<qsizetype>(st.st_size));
    // The file may grow while it is read; the cap holds all the same.
    char buffer[64 * 1024];
    while (error.empty()) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = std::string("cannot read the file (") + std::strerror(errno) + ")";
        if (n <= 0) break;
        if (bytes.size() + n > kMaxInputFileBytes) error = TooLarge();
        else bytes.append(buffer, static_cast<qsizetype>(n));
    }
    ::close(fd);
    if (!error.empty()) bytes.clear();
    return error.empty();
}

vexa::TLoadError LoadPuzzleInput(vexa::TPuzzleData& record, vexa::TPuzzleSideValues& side, const std::string& path,
                                 vexa::TPictureSources* sources) {
    const std::string problem = InputFileProblem(path);
    if (!problem.empty()) std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
    return vexa::LoadPuzzleFile(record, side, path, sources);
}

std::string LoadErrorLine(vexa::TLoadError error) {
    const char* text = vexa::LoadErrorText(error);
    const std::string hint = LoadErrorHint(error);
    return std::string(text ? text : "") + " (" + vexa::LoadErrorName(error) + ")" + (hint.empty() ? "" : ": " + hint);
}

static_assert(vexa::kMaxPicturePixels == std::int64_t{4096} * 4096, "PictureLimitText names the limit");
std::string PictureLimitText() { return "4096 x 4096 pixels"; }
std::string PuzzleBudgetText() { return std::to_string(vexa::kMaxPuzzlePictureBytes / (1024 * 1024)) + " MiB"; }

std::string LoadErrorHint(vexa::TLoadError error) {
    if (error != vexa::TLoadError::NoMemory) return {};
    return "the player also says this of a picture over its limit of " + PictureLimitText() +
           " or of pictures over " + PuzzleBudgetText() + " in all (vexa-tool pack refuses both)";
}

std::string LoadErrorHintJson(vexa::TLoadError error) {
    const std::string hint = LoadErrorHint(error);
    return hint.empty() ? std::string() : ", \"hint\": \"" + hint + "\"";
}

}  // namespace vexatool
