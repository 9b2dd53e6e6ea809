#include "settings/result_record.h"

#include "settings/crc32.h"
#include "settings/profile_file.h"

#include <cinttypes>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>

namespace vexa {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One "%x" field into 32 bits: blanks, an optional 0x/0X, hex digits. A
// number that does not fit 32 bits is a mismatch rather than silently cut.
bool ParseHex32(const std::string& s, std::size_t& pos, std::uint32_t& out) {
    std::size_t p = pos;
    while (p < s.size() && IsSpace(s[p])) ++p;
    if (p + 1 < s.size() && s[p] == '0' && (s[p + 1] == 'x' || s[p + 1] == 'X') && p + 2 < s.size() &&
        HexDigit(s[p + 2]) >= 0)
        p += 2;
    if (p >= s.size() || HexDigit(s[p]) < 0) return false;
    std::uint64_t value = 0;
    for (; p < s.size() && HexDigit(s[p]) >= 0; ++p) {
        value = value * 16 + static_cast<std::uint64_t>(HexDigit(s[p]));
        if (value > std::numeric_limits<std::uint32_t>::max()) return false;
    }
    out = static_cast<std::uint32_t>(value);
    pos = p;
    return true;
}

// One "%d" field: blanks, an optional sign, decimal digits that fit an int.
bool ParseDecimal(const std::string& s, std::size_t& pos, int& out) {
    std::size_t p = pos;
    while (p < s.size() && IsSpace(s[p])) ++p;
    bool negative = false;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) negative = s[p++] == '-';
    if (p >= s.size() || s[p] < '0' || s[p] > '9') return false;
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                        : std::numeric_limits<int>::max();
    for (; p < s.size() && s[p] >= '0' && s[p] <= '9'; ++p) {
        value = value * 10 + (s[p] - '0');
        if (value > limit) return false;
    }
    out = static_cast<int>(negative ? -value : value);
    pos = p;
    return true;
}

bool Expect(const std::string& s, std::size_t& pos, char c) {
    if (pos >= s.size() || s[pos] != c) return false;
    ++pos;
    return true;
}

// "0x%lx,0x%lx,%d" with 32-bit checksums (long is 64 bits here).
std::string FormatValue(std::uint32_t msb, std::uint32_t lsb, ViewMode result) {
    char buf[48];
    const int n = std::snprintf(buf, sizeof buf, "0x%" PRIx32 ",0x%" PRIx32 ",%d", msb, lsb, ModeNumber(result));
    return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void ComputeChecksums(const char* section, ViewMode result, std::uint32_t& msb, std::uint32_t& lsb) {
    const std::string text = ResultChecksumText(section, result);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    msb = Crc32Msb(text.size(), bytes);
    lsb = Crc32Lsb(text.size(), bytes);
}

}  // namespace

std::string ResultChecksumText(const char* section, ViewMode result) {
    return (section ? std::string(section) : std::string()) + std::to_string(ModeNumber(result));
}

std::string FormatResultRecord(const char* section, ViewMode result) {
    std::uint32_t msb = 0, lsb = 0;
    ComputeChecksums(section, result, msb, lsb);
    return FormatValue(msb, lsb, result);
}

int ParseResultRecord(const std::string& value, TResultState& state) {
    std::size_t pos = 0;
    if (!ParseHex32(value, pos, state.StoredCrcMsb)) return 0;
    if (!Expect(value, pos, ',') || !ParseHex32(value, pos, state.StoredCrcLsb)) return 1;
    int result = 0;
    if (!Expect(value, pos, ',') || !ParseDecimal(value, pos, result)) return 2;
    // Any number is kept: whether it counts is for the checksums to say.
    state.BestResult = static_cast<ViewMode>(result);
    return 3;
}

void ReadResultRecord(const std::string& settingsPath, const char* section, TResultState& state) {
    const char* name = section ? section : "";
    // A name with CR or LF could never be found again; it has no record.
    const std::string value = IsStorableSectionName(name)
                                  ? ReadProfileString(settingsPath, name, kResultRecordKey, kEmptyResultRecord)
                                  : std::string(kEmptyResultRecord);
    ParseResultRecord(value, state);
    std::uint32_t msb = 0, lsb = 0;
    ComputeChecksums(name, state.BestResult, msb, lsb);
    if (msb != state.StoredCrcMsb || lsb != state.StoredCrcLsb) state.BestResult = kNoResult;
}

namespace {

bool Verifies(const std::string& section, const TResultState& record) {
    std::uint32_t msb = 0, lsb = 0;
    ComputeChecksums(section.c_str(), record.BestResult, msb, lsb);
    return msb == record.StoredCrcMsb && lsb == record.StoredCrcLsb;
}

// The record on the line, judged as a read would see it: its first 80 bytes.
bool ParsePresent(std::string_view presentValue, TResultState& record) {
    const std::string present(presentValue.substr(0, kProfileValueCapacity - 1));
    return ParseResultRecord(present, record) == 3;
}

// The one rule of whose record a line holds: a value that verifies for the
// header's spelling, where it differs from `section`, is another puzzle's.
bool HeldByOtherSpelling(const std::string& section, std::string_view headerName, const TResultState& record) {
    // A puzzle's section name never holds a zero byte.
    const bool otherSpelling = headerName != section && headerName.find('\0') == std::string_view::npos;
    return otherSpelling && Verifies(std::string(headerName), record);
}

// Decides, under the file's lock, against the record on disk now. A record
// line is shared by section names that differ only in the case of ASCII
// letters, while the checksums cover the exact bytes: a value that verifies
// for the header's own, different spelling is another puzzle's result and is
// kept. A result (`newResult`) is stored only when it beats this puzzle's
// record on disk, which another copy of the player may have raised since we
// read it; an erase (no `newResult`) replaces this puzzle's record whatever
// it holds.
bool MayReplaceRecord(const std::string& section, std::string_view headerName, std::string_view presentValue,
                      std::optional<ViewMode> newResult) {
    TResultState record;
    if (!ParsePresent(presentValue, record)) return true;
    if (HeldByOtherSpelling(section, headerName, record)) return false;
    if (newResult && Verifies(section, record) && !IsBetterResult(*newResult, record.BestResult)) return false;
    return true;
}

bool WriteRecordValue(const std::string& settingsPath, const char* name, const std::string& value,
                      std::optional<ViewMode> newResult) {
    if (!IsStorableSectionName(name)) return false;
    std::string section(name);
    return SaveProfileString(settingsPath, section, kResultRecordKey, value,
                             [section, newResult](std::string_view headerName, std::string_view presentValue) {
                                 return MayReplaceRecord(section, headerName, presentValue, newResult);
                             });
}

}  // namespace

bool WriteResultRecord(const std::string& settingsPath, const char* section, TResultState& state) {
    const char* name = section ? section : "";
    ComputeChecksums(name, state.BestResult, state.StoredCrcMsb, state.StoredCrcLsb);
    return WriteRecordValue(settingsPath, name, FormatValue(state.StoredCrcMsb, state.StoredCrcLsb, state.BestResult),
                            state.BestResult);
}

bool RecordHeldByOtherPuzzle(const std::string& settingsPath, const char* section) {
    const char* name = section ? section : "";
    if (!IsStorableSectionName(name)) return false;
    const std::optional<TProfileEntry> entry = ReadProfileEntry(settingsPath, name, kResultRecordKey);
    TResultState record;
    return entry && ParsePresent(entry->Value, record) && HeldByOtherSpelling(name, entry->HeaderName, record);
}

bool EraseResultRecord(const std::string& settingsPath, const char* section) {
    return WriteRecordValue(settingsPath, section ? section : "", kEmptyResultRecord, std::nullopt);
}

}  // namespace vexa
