// The journal that makes an in-place save of the settings file survive a
// kill or a power cut: the file's new bytes from the first changed one to the
// end are written to a journal in the per-user state folder, synced and
// named, before the file itself is touched. A journal left by a save that
// did not finish is replayed, whole, on the next access to the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

// $XDG_STATE_HOME (when absolute) or ~/.local/state, plus "vexa/"; empty when
// neither can be found.
std::string ProfileJournalFolder();

// The journal's name for the settings file at `target` (symlinks resolved).
std::string ProfileJournalPath(const std::string& target);

// Changes the file behind `fd` (open for reading and writing, locked) so that
// bytes [begin, end) become `insert`, through a journal: either the whole
// change happens, now or at the next replay, or none. False, with the file
// untouched, when the journal cannot be written or the disk has no room.
bool RewriteThroughJournal(int fd, const std::string& target, std::uint64_t begin, std::uint64_t end,
                           std::string_view insert);

// Finishes the change a journal for `target` describes, when one is there and
// belongs to the file behind `fd` (open for reading and writing, locked); a
// journal of another file or a damaged one is removed. False only when a
// journal that belongs could not be applied (it stays for the next time).
bool ReplayProfileJournal(int fd, const std::string& target);

// Whether a journal for `target` waits to be replayed.
bool HasProfileJournal(const std::string& target);

}  // namespace vexa
