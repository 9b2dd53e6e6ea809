#include "settings/profile_scan.h"

namespace vexa {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

bool IsShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

enum class LineKind { Other, Comment, Section, Key };

struct TLine {
    LineKind Kind = LineKind::Other;
    std::string_view Name;       // section or key name, trimmed
    std::size_t ValueBegin = 0;  // key lines: first byte after '='
    std::size_t ContentEnd = 0;  // where the line ending starts
};

TLine ClassifyLine(std::string_view line) {
    TLine out;
    std::size_t contentEnd = line.size();
    if (contentEnd > 0 && line[contentEnd - 1] == '\n') --contentEnd;
    if (contentEnd > 0 && line[contentEnd - 1] == '\r') --contentEnd;
    out.ContentEnd = contentEnd;
    const std::string_view content = line.substr(0, contentEnd);
    const std::string_view body = TrimProfileBlanks(content);
    if (body.empty()) return out;
    if (body.front() == ';') {
        out.Kind = LineKind::Comment;
    } else if (body.front() == '[') {
        // The last ']' closes the header: a Shift-JIS second byte may be ']'.
        const std::size_t close = body.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            out.Kind = LineKind::Section;
            out.Name = TrimProfileBlanks(body.substr(1, close - 1));
        }
    } else if (const std::size_t eq = content.find('='); eq != std::string_view::npos) {
        out.Kind = LineKind::Key;
        out.Name = TrimProfileBlanks(content.substr(0, eq));
        out.ValueBegin = eq + 1;
    }
    return out;
}

// What must precede an insertion so that it starts on a new line, given the
// byte before it (-1: the start of the file).
std::string_view LineEndingAfter(int byte) {
    if (byte < 0 || byte == '\n') return {};
    return byte == '\r' ? std::string_view("\n") : std::string_view("\r\n");
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

TProfileScan::TProfileScan(std::string_view section, std::string_view key)
    : Section_(section), Key_(key) {}

bool TProfileScan::Feed(std::string_view line, std::uint64_t begin) {
    if (Settled_ || line.empty()) return !Settled_;
    Size_ = begin + line.size();
    LastByte_ = static_cast<unsigned char>(line.back());
    const TLine parsed = ClassifyLine(line);
    if (parsed.Kind == LineKind::Section) {
        if (HeaderFound_) {
            // The first matching section has ended.
            Settled_ = true;
            return false;
        }
        if (ProfileNamesEqual(parsed.Name, TrimProfileBlanks(Section_))) {
            HeaderFound_ = true;
            HeaderName_ = parsed.Name;
            InsertAt_ = Size_;
            InsertAfterByte_ = LastByte_;
        }
    } else if (parsed.Kind == LineKind::Key && HeaderFound_) {
        InsertAt_ = Size_;
        InsertAfterByte_ = LastByte_;
        if (ProfileNamesEqual(parsed.Name, TrimProfileBlanks(Key_))) {
            KeyFound_ = true;
            RawValue_ = line.substr(parsed.ValueBegin, parsed.ContentEnd - parsed.ValueBegin);
            ValueBegin_ = begin + parsed.ValueBegin;
            ValueEnd_ = begin + parsed.ContentEnd;
            Settled_ = true;
            return false;
        }
    }
    return true;
}

std::string TProfileScan::Value() const {
    std::string_view v = TrimProfileBlanks(RawValue_);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
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
