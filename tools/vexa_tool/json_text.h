// What QJsonDocument does not tell about a manifest's text: where a fault
// lies as line and column, keys given twice, and the known key nearest a
// mistyped one.
#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <string>

namespace vexatool {

// "line L, column C" of the byte at `offset` (both from 1; columns count
// characters, not bytes).
std::string LineAndColumn(const QByteArray& text, qsizetype offset);

struct DuplicateKey {
    std::string field;  // the object holding it, as messages name fields ("pairs[0].base"); empty for the root
    std::string key;
    qsizetype offset;   // of its second appearance
};

// The first key that appears twice in one object of `json`, which must be
// well-formed JSON.
std::optional<DuplicateKey> FindDuplicateKey(const QByteArray& json);

// The entry of `known` nearest `key` in spelling, if it is near enough to be
// what was meant, else empty.
QString NearestKey(const QString& key, const QStringList& known);

}  // namespace vexatool
