// The best result of a puzzle, stored in the settings file under its
// section's "DStrs" key with two checksums over the section name and result.
#pragma once

#include "puzzle/view_mode.h"

#include <cstdint>
#include <string>

namespace vexa {

inline constexpr const char* kResultRecordKey = "DStrs";
inline constexpr const char* kEmptyResultRecord = "0,0,0";
// The best result of a puzzle without a record that verifies.
inline constexpr ViewMode kNoResult = ViewMode::FewFound;

struct TResultState {
    std::uint32_t StoredCrcMsb = 0;
    std::uint32_t StoredCrcLsb = 0;
    // A result, or whatever number a record that verifies holds.
    ViewMode BestResult = kNoResult;
};

// The checksum text: the section's bytes followed by the result's number in
// decimal.
std::string ResultChecksumText(const char* section, ViewMode result);

// The stored value for `result` in `section`: "0x<msb>,0x<lsb>,<number>".
std::string FormatResultRecord(const char* section, ViewMode result);

// Parses "%lx,%lx,%d" into the three fields of `state`; parsing stops at the
// first mismatch and later fields keep their values. Returns how many fields
// were set.
int ParseResultRecord(const std::string& value, TResultState& state);

// Reads and verifies the record of `section` (zero-terminated Shift-JIS bytes)
// in the settings file. A record that is missing or does not verify leaves
// BestResult at kNoResult. A section name holding CR or LF reads as "0,0,0".
void ReadResultRecord(const std::string& settingsPath, const char* section, TResultState& state);

// Stores state.BestResult (already set by the caller): recomputes both
// checksums into `state` and writes the value, unless the record on disk,
// read again under the file's lock, verifies and is at least as good (another
// copy of the player may have stored it since the load). Returns false when
// the file was not written (unwritable, a better record there, or a section
// name that a profile file cannot hold), true when it was or when the save
// was queued to run in the background; the caller may ignore it. Section
// names differing only in ASCII case share one line: a value there that
// verifies for the header's own, different spelling belongs to another
// puzzle and is never overwritten.
bool WriteResultRecord(const std::string& settingsPath, const char* section, TResultState& state);

// Whether the line that a write for `section` would change holds another
// puzzle's record: its section header differs from `section` only in the case
// of ASCII letters and its value verifies for the header's spelling. A write
// would keep that record and store nothing; asked beforehand (it reads the
// file once the saves asked for so far have run), so that the refusal can be
// told while a write runs in the background.
bool RecordHeldByOtherPuzzle(const std::string& settingsPath, const char* section);

// Writes "0,0,0", which never verifies; the caller sets BestResult to kNoResult.
// Another puzzle's record is kept as for a write.
bool EraseResultRecord(const std::string& settingsPath, const char* section);

}  // namespace vexa
