// The parsing behind the profile file, one line at a time, so that a file of
// any size is read and rewritten without holding more than one line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

// Looks for `key` in the first section named `section` while lines are fed
// to it in order; tells when no further line can change the outcome.
class TProfileScan {
public:
    TProfileScan(std::string_view section, std::string_view key);

    // `line` is one line with its ending (the last line may have none);
    // `begin` is its offset in the file. Returns false once the result is
    // settled and later lines need not be read.
    bool Feed(std::string_view line, std::uint64_t begin);

    bool HeaderFound() const { return HeaderFound_; }
    bool KeyFound() const { return KeyFound_; }
    // The section name as its header spells it (trimmed).
    const std::string& HeaderName() const { return HeaderName_; }
    // The key line's bytes after '=' up to the line ending, as they stand.
    const std::string& RawValue() const { return RawValue_; }
    // What FindProfileValue returns: trimmed, one pair of quotes removed.
    std::string Value() const;

    // The change that sets the key to `value`: bytes [Begin, End) of the file
    // become Insert.
    struct TEdit {
        std::uint64_t Begin = 0;
        std::uint64_t End = 0;
        std::string Insert;
    };
    TEdit EditFor(std::string_view value) const;

private:
    std::string Section_;  // as given: a new header or key line spells them so
    std::string Key_;
    bool HeaderFound_ = false;
    bool KeyFound_ = false;
    bool Settled_ = false;
    std::string HeaderName_;
    std::string RawValue_;
    std::uint64_t ValueBegin_ = 0;
    std::uint64_t ValueEnd_ = 0;
    std::uint64_t InsertAt_ = 0;   // after the matching section's last key (or its header)
    int InsertAfterByte_ = -1;     // the byte before InsertAt_
    std::uint64_t Size_ = 0;       // bytes fed so far
    int LastByte_ = -1;            // the last byte fed, -1 when none
};

// Case-insensitive on ASCII letters only, never on the second byte of a
// Shift-JIS pair.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

// Trims blanks (space, tab, VT, FF) at both ends.
std::string_view TrimProfileBlanks(std::string_view s);

}  // namespace vexa
