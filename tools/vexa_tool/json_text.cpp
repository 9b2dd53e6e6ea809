#include "json_text.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace vexatool {

std::string LineAndColumn(const QByteArray& text, qsizetype offset) {
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    int line = 1, column = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {  // not a UTF-8 continuation byte
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

namespace {

// Walks JSON that QJsonDocument has accepted; every step still stays within
// the text.
class KeyScanner {
public:
    explicit KeyScanner(const QByteArray& text) : s_(text) {}

    std::optional<DuplicateKey> Run() {
        Value("");
        return found_;
    }

private:
    char At() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
    void Space() {
        while (pos_ < s_.size() && std::strchr(" \t\r\n", s_[pos_]) && s_[pos_] != '\0') ++pos_;
    }
    QString String() {
        const qsizetype start = pos_++;
        while (pos_ < s_.size() && s_[pos_] != '"') pos_ += s_[pos_] == '\\' ? 2 : 1;
        ++pos_;
        const QByteArray token = "[" + s_.mid(start, pos_ - start) + "]";
        return QJsonDocument::fromJson(token).array().at(0).toString();
    }
    // One value, then the position is past it.
    void Value(const std::string& field) {
        Space();
        const char c = At();
        if (c == '{' || c == '[') {
            ++pos_;
            std::set<QString> keys;
            for (int i = 0; pos_ < s_.size() && !found_; ++i) {
                Space();
                if (At() == '}' || At() == ']') {
                    ++pos_;
                    return;
                }
                if (At() == ',') {
                    ++pos_;
                    Space();
                }
                std::string inner = field + "[" + std::to_string(i) + "]";
                if (c == '{') {
                    const qsizetype at = pos_;
                    const QString key = String();
                    if (!keys.insert(key).second) found_ = DuplicateKey{field, key.toStdString(), at};
                    Space();
                    ++pos_;  // ':'
                    inner = field.empty() ? key.toStdString() : field + "." + key.toStdString();
                }
                if (!found_) Value(inner);
            }
        } else if (c == '"') {
            String();
        } else {
            while (pos_ < s_.size() && !std::strchr(",]} \t\r\n", s_[pos_])) ++pos_;
        }
    }

    const QByteArray& s_;
    qsizetype pos_ = 0;
    std::optional<DuplicateKey> found_;
};

int EditDistance(const QString& a, const QString& b) {
    std::vector<int> row(static_cast<std::size_t>(b.size()) + 1);
    for (std::size_t j = 0; j < row.size(); ++j) row[j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[static_cast<std::size_t>(j)];
            row[static_cast<std::size_t>(j)] =
                std::min({above + 1, row[static_cast<std::size_t>(j - 1)] + 1,
                          diagonal + (a[i - 1].toLower() == b[j - 1].toLower() ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

}  // namespace

std::optional<DuplicateKey> FindDuplicateKey(const QByteArray& json) { return KeyScanner(json).Run(); }

QString NearestKey(const QString& key, const QStringList& known) {
    QString best;
    int bestDistance = 0;
    for (const QString& k : known) {
        const int d = EditDistance(key, k);
        if (best.isEmpty() || d < bestDistance) best = k, bestDistance = d;
    }
    // Two letters wrong (a swapped pair), or a third of them in a long key;
    // and at least one right.
    const int allowed = std::max<int>(2, static_cast<int>(std::max(key.size(), best.size()) / 3));
    return bestDistance <= allowed && bestDistance < best.size() ? best : QString();
}

}  // namespace vexatool
