#include "settings/profile_scan.h"

#include <algorithm>
#include <cstring>

namespace vexa {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// What must precede an insertion so that it starts on a new line, given the
// byte before it (-1: the start of the file).
std::string_view LineEndingAfter(int byte) {
    if (byte < 0 || byte == '\n') return {};
    return byte == '\r' ? std::string_view("\n") : std::string_view("\r\n");
}

void AppendUpTo(std::string& out, std::string_view bytes, std::size_t limit) {
    if (out.size() < limit) out.append(bytes.substr(0, limit - out.size()));
}

}  // namespace

std::string_view TrimProfileBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (IsShiftJisLead(ca) && i + 1 < a.size()) {
            if (ca != cb || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (FoldAscii(ca) != FoldAscii(cb)) {
            return false;
        }
    }
    return true;
}

void TBoundedName::Add(char c) {
    if (TooLong_) return;
    if (IsBlank(c)) {
        if (Kept_.empty()) return;  // leading blanks are trimmed
        if (Blanks_.size() < Cap_) Blanks_.push_back(c);
        else BlanksTooLong_ = true;
        return;
    }
    // Blanks inside the name count now; too many of them make it too long.
    if (BlanksTooLong_ || Kept_.size() + Blanks_.size() + 1 > Cap_) {
        TooLong_ = true;
        return;
    }
    Kept_.append(Blanks_);
    Blanks_.clear();
    Kept_.push_back(c);
}

TProfileScan::TProfileScan(std::string_view section, std::string_view key)
    : Section_(section),
      Key_(key),
      SectionTrimmed_(TrimProfileBlanks(section)),
      KeyTrimmed_(TrimProfileBlanks(key)) {}

void TProfileScan::StartLine(char first) {
    if (first == ';') {
        Phase_ = Phase::Rest;  // a comment
    } else if (first == '[') {
        Phase_ = Phase::Header;
        Name_ = TBoundedName(SectionTrimmed_.size());
    } else if (HeaderFound_) {
        Phase_ = Phase::KeyName;
        Name_ = TBoundedName(KeyTrimmed_.size());
    } else {
        Phase_ = Phase::Rest;  // a key line outside our section changes nothing
    }
}

std::size_t TProfileScan::FeedHeader(std::string_view bytes) {
    if (HeaderFound_ || !Name_.Fits()) {
        // Only whether a ']' follows still matters: it makes this line a
        // header (which ends our section) or a name too long to match.
        if (std::memchr(bytes.data(), ']', bytes.size()) != nullptr) {
            BracketSeen_ = true;
            HeaderMatches_ = false;
            if (HeaderFound_) Settled_ = true;
        }
        return bytes.size();
    }
    std::size_t i = 0;
    for (; i < bytes.size() && Name_.Fits(); ++i) {
        if (bytes[i] == ']') {
            // The last ']' on the line closes the header: a Shift-JIS second
            // byte may be ']'.
            BracketSeen_ = true;
            HeaderMatches_ = ProfileNamesEqual(Name_.Text(), SectionTrimmed_);
            if (HeaderMatches_) HeaderName_ = Name_.Text();
        }
        Name_.Add(bytes[i]);
    }
    return i;
}

std::size_t TProfileScan::FeedValue(std::string_view bytes) {
    AppendUpTo(RawPrefix_, bytes, kProfileHeldValue + 1);
    RawLength_ += bytes.size();
    std::size_t first = 0;
    if (SinceFirst_ == 0)
        while (first < bytes.size() && IsBlank(bytes[first])) ++first;
    const std::string_view rest = bytes.substr(first);
    if (rest.empty()) return bytes.size();
    AppendUpTo(TrimmedPrefix_, rest, kProfileHeldValue + 1);
    std::size_t last = rest.size();
    while (last > 0 && IsBlank(rest[last - 1])) --last;
    if (last > 0) {
        TrimmedLength_ = SinceFirst_ + last;
        LastNonBlank_ = rest[last - 1];
    }
    SinceFirst_ += rest.size();
    return bytes.size();
}

void TProfileScan::FeedContent(std::string_view bytes, std::uint64_t offset) {
    std::size_t i = 0;
    while (i < bytes.size() && !Settled_) {
        switch (Phase_) {
        case Phase::LineStart:
            while (i < bytes.size() && IsBlank(bytes[i])) ++i;
            if (i == bytes.size()) break;
            StartLine(bytes[i]);
            if (Phase_ == Phase::Header) ++i;  // the '[' is no part of the name
            break;
        case Phase::Header:
            i += FeedHeader(bytes.substr(i));
            if (i < bytes.size() && !Name_.Fits()) i += FeedHeader(bytes.substr(i));
            break;
        case Phase::KeyName:
            if (!Name_.Fits()) {
                // The first '=' still makes this a key line of our section.
                if (std::memchr(bytes.data() + i, '=', bytes.size() - i) != nullptr) EqualsSeen_ = true;
                if (EqualsSeen_) Phase_ = Phase::Rest;
                i = bytes.size();
            } else if (bytes[i] == '=') {
                EqualsSeen_ = true;
                ++i;
                if (!KeyFound_ && ProfileNamesEqual(Name_.Text(), KeyTrimmed_)) {
                    Phase_ = Phase::Value;
                    ValueBegin_ = offset + i;
                } else {
                    Phase_ = Phase::Rest;
                }
            } else {
                Name_.Add(bytes[i++]);
            }
            break;
        case Phase::Value:
            i += FeedValue(bytes.substr(i));
            break;
        case Phase::Rest:
            i = bytes.size();
            break;
        }
    }
    if (!bytes.empty()) ContentEnd_ = offset + bytes.size();
}

void TProfileScan::EndLine() {
    if (Phase_ == Phase::Header && BracketSeen_) {
        if (HeaderFound_) {
            Settled_ = true;  // the first matching section has ended
        } else if (HeaderMatches_) {
            HeaderFound_ = true;
            InsertAt_ = Size_;
            InsertAfterByte_ = LastByte_;
        }
    } else if (EqualsSeen_) {
        InsertAt_ = Size_;
        InsertAfterByte_ = LastByte_;
        if (Phase_ == Phase::Value) {
            KeyFound_ = true;
            ValueEnd_ = ContentEnd_;
            Settled_ = true;
        }
    }
    Phase_ = Phase::LineStart;
    BracketSeen_ = HeaderMatches_ = EqualsSeen_ = false;
}

bool TProfileScan::Feed(std::string_view bytes) {
    if (Settled_) return false;
    const std::uint64_t base = Size_;
    std::size_t pos = 0;
    if (PendingCr_ && !bytes.empty()) {
        // A '\r' that ended the previous piece is content unless '\n' follows.
        PendingCr_ = false;
        if (bytes[0] != '\n') FeedContent("\r", base - 1);
    }
    while (pos < bytes.size() && !Settled_) {
        const void* nl = std::memchr(bytes.data() + pos, '\n', bytes.size() - pos);
        const std::size_t end = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - bytes.data())
                                   : bytes.size();
        std::size_t contentEnd = end;
        if (contentEnd > pos && bytes[contentEnd - 1] == '\r') {
            --contentEnd;
            if (!nl) PendingCr_ = true;
        }
        FeedContent(bytes.substr(pos, contentEnd - pos), base + pos);
        if (!nl) {
            pos = bytes.size();
            break;
        }
        pos = end + 1;
        Size_ = base + pos;
        LastByte_ = '\n';
        EndLine();
    }
    if (pos > 0) {
        Size_ = base + pos;
        LastByte_ = static_cast<unsigned char>(bytes[pos - 1]);
    }
    return !Settled_;
}

bool TProfileScan::ZerosChangeNothing() const {
    return !PendingCr_ && (Phase_ == Phase::Rest || (Phase_ == Phase::KeyName && !Name_.Fits()) ||
                           (Phase_ == Phase::Header && (HeaderFound_ || !Name_.Fits())));
}

bool TProfileScan::FeedZeros(std::uint64_t count) {
    static const std::string zeros(64 * 1024, '\0');
    while (count > 0 && !Settled_) {
        if (ZerosChangeNothing()) {
            Size_ += count;
            LastByte_ = 0;
            ContentEnd_ = Size_;
            return true;
        }
        // One piece decides what the line is; the rest is likely passed over.
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, zeros.size()));
        Feed(std::string_view(zeros.data(), n));
        count -= n;
    }
    return !Settled_;
}

void TProfileScan::Finish() {
    if (Settled_) return;
    PendingCr_ = false;  // a '\r' at the very end is the last line's ending
    EndLine();
}

bool TProfileScan::RawValueIs(std::string_view value) const {
    return KeyFound_ && RawLength_ == value.size() && RawPrefix_ == value;
}

std::string TProfileScan::Value() const {
    const std::size_t held = static_cast<std::size_t>(std::min<std::uint64_t>(TrimmedLength_, TrimmedPrefix_.size()));
    std::string_view v(TrimmedPrefix_.data(), held);
    if (TrimmedLength_ >= 2 && (v.front() == '"' || v.front() == '\'') && LastNonBlank_ == v.front()) {
        const std::uint64_t inner = TrimmedLength_ - 2;
        v = std::string_view(TrimmedPrefix_).substr(1, static_cast<std::size_t>(std::min<std::uint64_t>(inner, held - 1)));
    }
    return std::string(v.substr(0, kProfileHeldValue));
}

TProfileScan::TEdit TProfileScan::EditFor(std::string_view value) const {
    TEdit edit;
    if (KeyFound_) {
        // Everything up to '=' and the line ending stays; only the value changes.
        edit.Begin = ValueBegin_;
        edit.End = ValueEnd_;
        edit.Insert = value;
    } else if (HeaderFound_) {
        edit.Begin = edit.End = InsertAt_;
        edit.Insert.append(LineEndingAfter(InsertAfterByte_));
        edit.Insert.append(Key_).append("=").append(value).append("\r\n");
    } else {
        edit.Begin = edit.End = Size_;
        edit.Insert.append(LineEndingAfter(LastByte_));
        edit.Insert.append("[").append(Section_).append("]\r\n");
        edit.Insert.append(Key_).append("=").append(value).append("\r\n");
    }
    return edit;
}

}  // namespace vexa
