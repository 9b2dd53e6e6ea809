#include "settings/profile_journal.h"

#include "settings/crc32.h"
#include "settings/profile_io.h"
#include "settings/settings_path.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vexa {
namespace {

constexpr std::size_t kChunk = 256 * 1024;
constexpr char kMagic[8] = {'V', 'X', 'J', 'R', 'N', 'L', '0', '1'};
constexpr std::size_t kHeaderSize = 56;

struct THeader {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::uint64_t OldSize = 0;
    std::uint64_t Begin = 0;
    std::uint64_t NewSize = 0;
    std::uint32_t PayloadCrc = 0;
};

void Put(unsigned char* p, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint64_t Get(const unsigned char* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

std::array<unsigned char, kHeaderSize> Encode(const THeader& h) {
    std::array<unsigned char, kHeaderSize> out{};
    std::memcpy(out.data(), kMagic, sizeof kMagic);
    Put(&out[8], h.Device, 8);
    Put(&out[16], h.Inode, 8);
    Put(&out[24], h.OldSize, 8);
    Put(&out[32], h.Begin, 8);
    Put(&out[40], h.NewSize, 8);
    Put(&out[48], h.PayloadCrc, 4);
    Put(&out[52], Crc32Lsb(52, out.data()), 4);
    return out;
}

bool Decode(const unsigned char* in, THeader& h) {
    if (std::memcmp(in, kMagic, sizeof kMagic) != 0 || Get(&in[52], 4) != Crc32Lsb(52, in)) return false;
    h.Device = Get(&in[8], 8);
    h.Inode = Get(&in[16], 8);
    h.OldSize = Get(&in[24], 8);
    h.Begin = Get(&in[32], 8);
    h.NewSize = Get(&in[40], 8);
    h.PayloadCrc = static_cast<std::uint32_t>(Get(&in[48], 4));
    return h.Begin <= h.NewSize;
}

bool MakeFolders(const std::string& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    if (errno != ENOENT) return false;
    const std::size_t slash = dir.find_last_of('/', dir.size() > 1 ? dir.size() - 2 : 0);
    if (slash != std::string::npos && slash > 0 && !MakeFolders(dir.substr(0, slash))) return false;
    return ::mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

// Copies `length` bytes from `from` at `fromOffset`, feeding `crc`; to `to`
// at `toOffset`, or appended when toOffset is UINT64_MAX.
bool Copy(int from, std::uint64_t fromOffset, std::uint64_t length, int to, std::uint64_t toOffset, TCrc32Lsb* crc) {
    std::vector<char> buf(kChunk);
    while (length > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length));
        if (!PreadAll(from, buf.data(), n, fromOffset)) return false;
        const std::string_view piece(buf.data(), n);
        if (crc) crc->Add(piece);
        if (to >= 0 && !(toOffset == UINT64_MAX ? WriteAll(to, piece) : PwriteAll(to, piece, toOffset))) return false;
        fromOffset += n;
        length -= n;
        if (toOffset != UINT64_MAX) toOffset += n;
    }
    return true;
}

// Writes the journal's payload into the file and cuts it to its new size.
bool Apply(int fd, int journal, const THeader& h) {
    const std::uint64_t length = h.NewSize - h.Begin;
    return ReserveRoom(fd, h.Begin, length) && Copy(journal, kHeaderSize, length, fd, h.Begin, nullptr) &&
           TruncateTo(fd, h.NewSize) && SyncFile(fd);
}

void Discard(const std::string& journal) {
    if (RemoveFile(journal)) SyncFolder(ProfileJournalFolder());
}

bool Belongs(const THeader& h, const struct stat& st) {
    const auto size = static_cast<std::uint64_t>(st.st_size);
    return h.Device == static_cast<std::uint64_t>(st.st_dev) && h.Inode == static_cast<std::uint64_t>(st.st_ino) &&
           size >= std::min(h.OldSize, h.NewSize) && size <= std::max(h.OldSize, h.NewSize) &&
           h.Begin <= std::min(h.OldSize, h.NewSize);
}

}  // namespace

std::string ProfileJournalFolder() {
    std::string folder = UserFolderFor("XDG_STATE_HOME", ".local/state");
    if (!folder.empty()) folder.pop_back();
    return folder;
}

std::string ProfileJournalPath(const std::string& target) {
    std::string absolute = target;
    if (absolute.empty() || absolute.front() != '/') {
        if (char* cwd = ::getcwd(nullptr, 0)) {
            absolute = std::string(cwd) + "/" + absolute;
            std::free(cwd);
        }
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(absolute.data());
    char name[64];
    std::snprintf(name, sizeof name, "/settings-%08x%08x.journal", Crc32Msb(absolute.size(), bytes),
                  Crc32Lsb(absolute.size(), bytes));
    const std::string folder = ProfileJournalFolder();
    return folder.empty() ? std::string() : folder + name;
}

bool HasProfileJournal(const std::string& target) {
    const std::string journal = ProfileJournalPath(target);
    struct stat st {};
    return !journal.empty() && ::stat(journal.c_str(), &st) == 0;
}

bool RewriteThroughJournal(int fd, const std::string& target, std::uint64_t begin, std::uint64_t end,
                           std::string_view insert) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return false;
    THeader h;
    h.Device = static_cast<std::uint64_t>(st.st_dev);
    h.Inode = static_cast<std::uint64_t>(st.st_ino);
    h.OldSize = static_cast<std::uint64_t>(st.st_size);
    if (begin > end || end > h.OldSize) return false;
    h.Begin = begin;
    h.NewSize = h.OldSize - (end - begin) + insert.size();

    const std::string journal = ProfileJournalPath(target);
    if (journal.empty() || !MakeFolders(ProfileJournalFolder())) return false;
    const std::string temp = journal + ".tmp";
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0) return false;
    TCrc32Lsb crc;
    crc.Add(insert);
    const std::array<unsigned char, kHeaderSize> blank{};
    bool ok = WriteAll(out, std::string_view(reinterpret_cast<const char*>(blank.data()), blank.size())) &&
              WriteAll(out, insert) && Copy(fd, end, h.OldSize - end, out, UINT64_MAX, &crc);
    if (ok) {
        h.PayloadCrc = crc.Value();
        const auto header = Encode(h);
        ok = PwriteAll(out, std::string_view(reinterpret_cast<const char*>(header.data()), header.size()), 0) &&
             SyncFile(out);
    }
    ok = (::close(out) == 0) && ok;
    // Only a complete, synced journal ever carries the journal's name.
    ok = ok && RenameFile(temp, journal);
    if (!ok) {
        (void)::unlink(temp.c_str());
        return false;
    }
    SyncFolder(ProfileJournalFolder());

    // Room first: a full disk gives up the change before a byte has moved.
    if (!ReserveRoom(fd, h.Begin, h.NewSize - h.Begin)) {
        Discard(journal);
        return false;
    }
    const int in = ::open(journal.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0) return false;  // the journal stays for the next replay
    const bool applied = Apply(fd, in, h);
    ::close(in);
    if (applied) Discard(journal);
    return applied;
}

bool ReplayProfileJournal(int fd, const std::string& target) {
    const std::string journal = ProfileJournalPath(target);
    if (journal.empty()) return true;
    (void)::unlink((journal + ".tmp").c_str());  // an unfinished journal never counts
    const int in = ::open(journal.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0) return true;
    THeader h;
    unsigned char raw[kHeaderSize];
    struct stat fileStat {}, journalStat {};
    bool belongs = PreadAll(in, reinterpret_cast<char*>(raw), kHeaderSize, 0) && Decode(raw, h) &&
                   ::fstat(fd, &fileStat) == 0 && ::fstat(in, &journalStat) == 0 && Belongs(h, fileStat) &&
                   static_cast<std::uint64_t>(journalStat.st_size) == kHeaderSize + (h.NewSize - h.Begin);
    if (belongs) {
        TCrc32Lsb crc;
        belongs = Copy(in, kHeaderSize, h.NewSize - h.Begin, -1, 0, &crc) && crc.Value() == h.PayloadCrc;
    }
    const bool applied = belongs && Apply(fd, in, h);
    ::close(in);
    if (!belongs || applied) Discard(journal);
    return !belongs || applied;
}

}  // namespace vexa
