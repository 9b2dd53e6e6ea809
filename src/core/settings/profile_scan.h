// The parsing behind the profile file as a stream of bytes, so that a file of
// any size, with lines of any length, is read and rewritten while holding
// only a few bounded pieces of it: the names it compares and a prefix of the
// value it looks for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

// The most of a value that a scan keeps (the part a reader gets back); the
// rest of a longer value is passed over and kept in the file as it stands.
inline constexpr std::size_t kProfileHeldValue = 4096;

// A name as a line spells it, trimmed of blanks, kept only while it is no
// longer than the name it is compared with.
class TBoundedName {
public:
    explicit TBoundedName(std::size_t cap = 0) : Cap_(cap) {}
    void Add(char c);
    // False once the trimmed name is known to be longer than the cap.
    bool Fits() const { return !TooLong_; }
    const std::string& Text() const { return Kept_; }

private:
    std::size_t Cap_;
    std::string Kept_;     // from the first non-blank byte to the last one so far
    std::string Blanks_;   // blanks after Kept_, which count only if more follows
    bool BlanksTooLong_ = false;
    bool TooLong_ = false;
};

// Looks for `key` in the first section named `section` while the file's
// bytes are fed to it in order; tells when no further byte can change the
// outcome.
class TProfileScan {
public:
    TProfileScan(std::string_view section, std::string_view key);

    // The next bytes of the file. Returns false once the result is settled
    // and later bytes need not be read.
    bool Feed(std::string_view bytes);
    // `count` zero bytes: a hole in a sparse file, passed over without
    // reading them one by one where they cannot change anything.
    bool FeedZeros(std::uint64_t count);
    // The end of the file: settles a last line without a line ending.
    void Finish();

    bool HeaderFound() const { return HeaderFound_; }
    bool KeyFound() const { return KeyFound_; }
    // The section name as its header spells it (trimmed).
    const std::string& HeaderName() const { return HeaderName_; }
    // Whether the key line's bytes after '=' (up to the line ending) are
    // exactly `value`.
    bool RawValueIs(std::string_view value) const;
    // What a reader gets: trimmed, one pair of quotes removed, at most
    // kProfileHeldValue bytes.
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
    enum class Phase {
        LineStart,  // blanks before the first byte that decides the line's kind
        Header,     // after '['
        KeyName,    // before the first '='
        Value,      // the value looked for
        Rest,       // nothing more on this line matters
    };
    void StartLine(char first);
    void FeedContent(std::string_view bytes, std::uint64_t offset);
    void EndLine();
    bool ZerosChangeNothing() const;
    std::size_t FeedHeader(std::string_view bytes);
    std::size_t FeedValue(std::string_view bytes);

    std::string Section_;  // as given: a new header or key line spells them so
    std::string Key_;
    std::string SectionTrimmed_;
    std::string KeyTrimmed_;
    bool HeaderFound_ = false;
    bool KeyFound_ = false;
    bool Settled_ = false;
    std::string HeaderName_;

    // The current line.
    Phase Phase_ = Phase::LineStart;
    bool PendingCr_ = false;       // a '\r' that may be the line's ending
    TBoundedName Name_;            // header or key name so far
    bool BracketSeen_ = false;     // the header line has a closing ']'
    bool HeaderMatches_ = false;   // at its last ']' so far, the header names our section
    bool EqualsSeen_ = false;      // the key line has its '='

    // The value's bytes after '=', as they stand and trimmed.
    std::string RawPrefix_;
    std::uint64_t RawLength_ = 0;
    std::string TrimmedPrefix_;     // from the first non-blank byte
    std::uint64_t TrimmedLength_ = 0;  // up to and including the last non-blank byte
    std::uint64_t SinceFirst_ = 0;  // bytes from the first non-blank one on
    char LastNonBlank_ = 0;

    std::uint64_t ContentEnd_ = 0;  // after the last byte fed that is no line ending
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
