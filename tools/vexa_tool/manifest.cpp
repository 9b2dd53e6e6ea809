#include "manifest.h"

#include "json_text.h"

#include "authoring/shift_jis.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <limits>
#include <string_view>

namespace vexatool {

namespace {

struct Fault {
    std::string message;
};

[[noreturn]] void Fail(const std::string& field, const std::string& what) { throw Fault{field + ": " + what}; }

// Every key of `o` must be one of `known`; a mistyped one is told the nearest.
void KnownKeys(const QJsonObject& o, const std::string& field, const QStringList& known) {
    for (const QString& key : o.keys()) {
        if (known.contains(key)) continue;
        const QString nearest = NearestKey(key, known);
        Fail((field.empty() ? "" : field + ".") + key.toStdString(),
             "is not a known key" + (nearest.isEmpty() ? std::string() : " (did you mean \"" + nearest.toStdString() + "\"?)"));
    }
}

int Whole(const QJsonValue& v, const std::string& field, int low, int high) {
    const double d = v.toDouble(std::nan(""));
    if (!v.isDouble() || d != std::floor(d) || d < low || d > high)
        Fail(field, "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    return static_cast<int>(d);
}

std::int16_t Int16(const QJsonValue& v, const std::string& field) {
    return static_cast<std::int16_t>(Whole(v, field, std::numeric_limits<std::int16_t>::min(),
                                           std::numeric_limits<std::int16_t>::max()));
}

QJsonArray Array(const QJsonValue& v, const std::string& field, int minSize, int maxSize) {
    if (!v.isArray()) Fail(field, "must be an array");
    const QJsonArray a = v.toArray();
    if (a.size() < minSize || a.size() > maxSize)
        Fail(field, minSize == maxSize ? "must hold " + std::to_string(minSize) + " entries"
                                       : "must hold " + std::to_string(minSize) + " to " + std::to_string(maxSize) +
                                             " entries");
    return a;
}

// A text for a field of `room` bytes, stored with its zero byte.
std::string Text(const QJsonObject& o, const char* key, std::size_t room) {
    const QJsonValue v = o.value(key);
    if (v.isUndefined()) return {};
    if (!v.isString()) Fail(key, "must be a string");
    const std::optional<std::string> bytes = vexa::authoring::ToShiftJis(v.toString());
    if (!bytes) Fail(key, "has a character that Shift-JIS cannot hold");
    if (bytes->find('\0') != std::string::npos) Fail(key, "must not hold a zero character");
    // The settings file stores a result under the section name on one line.
    if (std::string_view(key) == "section" && bytes->find_first_of("\r\n") != std::string::npos)
        Fail(key, "must not hold a line break (CR or LF): the player could never store a result for it");
    if (bytes->size() > room - 1)
        Fail(key, "is " + std::to_string(bytes->size()) + " bytes in Shift-JIS; at most " + std::to_string(room - 1) +
                      " fit");
    return *bytes;
}

// "auto", or {"auto": {"join": N, "margin": N, "min_area": N}}.
AutoRects AutoOptions(const QJsonValue& v) {
    const char* what = "must be an array of rectangles, \"auto\" or {\"auto\": {...}}";
    AutoRects a;
    if (v.isString()) {
        if (v.toString() != "auto") Fail("diffs", what);
        return a;
    }
    const QJsonObject o = v.toObject();
    KnownKeys(o, "diffs", {"auto"});
    if (!o.value("auto").isObject()) Fail("diffs.auto", "must be an object of settings, such as {\"join\": 6}");
    const QJsonObject settings = o.value("auto").toObject();
    KnownKeys(settings, "diffs.auto", {"join", "margin", "min_area"});
    if (settings.contains("join")) a.join = Whole(settings.value("join"), "diffs.auto.join", 0, 32767);
    if (settings.contains("margin")) a.margin = Whole(settings.value("margin"), "diffs.auto.margin", 0, 32767);
    if (settings.contains("min_area")) a.minArea = Whole(settings.value("min_area"), "diffs.auto.min_area", 0, 1 << 26);
    return a;
}

vexa::TAnimRecord Record(const QJsonValue& v, const std::string& field) {
    if (!v.isArray()) Fail(field, "must be an array like [\"C\", sx, sy, dx, dy, w, h]");
    const QJsonArray a = v.toArray();
    if (a.isEmpty() || !a[0].isString() || a[0].toString().size() != 1 ||
        !QString("CRTW").contains(a[0].toString()))
        Fail(field + "[0]", "must be \"C\", \"R\", \"T\" or \"W\"");
    const char command = a[0].toString().at(0).toLatin1();
    std::int16_t f[6] = {};
    if (command == 'W' && a.size() == 2) {
        f[4] = Int16(a[1], field + "[1]");  // ["W", ticks]
    } else {
        if (a.size() != 7) Fail(field, "must hold a command and six numbers");
        for (int i = 0; i < 6; ++i) f[i] = Int16(a[i + 1], field + "[" + std::to_string(i + 1) + "]");
    }
    return vexa::TAnimRecord{command, f[0], f[1], f[2], f[3], f[4], f[5]};
}

PictureSpec Picture(const QJsonValue& v, const std::string& field, const QDir& base) {
    PictureSpec p;
    p.field = field;
    if (v.isUndefined() || v.isNull()) return p;
    QJsonValue file = v;
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        KnownKeys(o, field, {"file", "encode"});
        file = o.value("file");
        if (o.contains("encode")) {
            const std::string ef = field + ".encode";
            if (!o.value("encode").isObject()) Fail(ef, "must be an object");
            const QJsonObject e = o.value("encode").toObject();
            EncodeSettings s;
            KnownKeys(e, ef, {"quality", "sampling", "restart"});
            if (e.contains("quality")) s.quality = Whole(e.value("quality"), ef + ".quality", 1, 100);
            if (e.contains("restart")) s.restart = Whole(e.value("restart"), ef + ".restart", 0, 65535);
            if (e.contains("sampling")) {
                const QString sampling = e.value("sampling").toString();
                if (sampling == "1x1") s.hFactor = 1, s.vFactor = 1;
                else if (sampling == "2x1") s.hFactor = 2, s.vFactor = 1;
                else if (sampling == "1x2") s.hFactor = 1, s.vFactor = 2;
                else if (sampling == "2x2") s.hFactor = 2, s.vFactor = 2;
                else if (sampling == "grey") s.grey = true, s.hFactor = 1, s.vFactor = 1;
                else Fail(ef + ".sampling", "must be \"1x1\", \"2x1\", \"1x2\", \"2x2\" or \"grey\"");
            }
            p.encode = s;
        }
        if (!file.isString()) Fail(field + ".file", "must be a file name");
    } else if (!v.isString()) {
        Fail(field, "must be a file name, an object with \"file\", or null");
    }
    if (file.toString().isEmpty()) Fail(v.isObject() ? field + ".file" : field, "must not be empty");
    p.file = QDir::cleanPath(base.absoluteFilePath(file.toString())).toStdString();
    return p;
}

void Parse(const QJsonObject& root, const QDir& base, Manifest& m) {
    KnownKeys(root, "", {"title", "section", "extra_text", "extra_values", "diffs", "diff_rects", "tables", "pairs"});
    m.title = Text(root, "title", sizeof vexa::TPuzzleData::Title);
    m.section = Text(root, "section", sizeof vexa::TPuzzleData::SectionName);
    m.extraText = Text(root, "extra_text", sizeof vexa::TPuzzleSideValues::ExtraText);
    if (root.contains("extra_values")) {
        const QJsonArray a = Array(root.value("extra_values"), "extra_values", 2, 2);
        m.extraValue1 = Int16(a[0], "extra_values[0]");
        m.extraValue2 = Int16(a[1], "extra_values[1]");
    }
    // "diffs" is the newer name of "diff_rects" and may also be "auto".
    if (root.contains("diffs") && root.contains("diff_rects")) Fail("diffs", "give either diffs or diff_rects");
    const std::string rectsKey = root.contains("diffs") ? "diffs" : "diff_rects";
    const QJsonValue rectsValue = root.value(QString::fromStdString(rectsKey));
    if (rectsKey == "diffs" && (rectsValue.isString() || rectsValue.isObject())) {
        m.autoRects = AutoOptions(rectsValue);
    } else if (!rectsValue.isUndefined()) {
        const QJsonArray rects = Array(rectsValue, rectsKey, 0, vexa::kMaxDiffs);
        for (int i = 0; i < rects.size(); ++i) {
            const std::string f = rectsKey + "[" + std::to_string(i) + "]";
            const QJsonArray r = Array(rects[i], f, 4, 4);
            m.rects.push_back({Int16(r[0], f + "[0]"), Int16(r[1], f + "[1]"), Int16(r[2], f + "[2]"),
                               Int16(r[3], f + "[3]")});
        }
    }
    if (root.contains("tables")) {
        const QJsonArray tables = Array(root.value("tables"), "tables", 0, vexa::kTableCount);
        for (int t = 0; t < tables.size(); ++t) {
            const std::string f = "tables[" + std::to_string(t) + "]";
            const QJsonArray records = Array(tables[t], f, 0, std::numeric_limits<std::int16_t>::max());
            for (int i = 0; i < records.size(); ++i)
                m.tables[t].push_back(Record(records[i], f + "[" + std::to_string(i) + "]"));
        }
    }
    if (root.contains("pairs")) {
        const QJsonArray pairs = Array(root.value("pairs"), "pairs", 0, vexa::kPairCount);
        for (int k = 0; k < pairs.size(); ++k) {
            const std::string f = "pairs[" + std::to_string(k) + "]";
            if (pairs[k].isNull()) continue;
            if (!pairs[k].isObject()) Fail(f, "must be an object or null");
            const QJsonObject pair = pairs[k].toObject();
            KnownKeys(pair, f, {"base", "spare", "size"});
            m.pictures[2 * k] = Picture(pair.value("base"), f + ".base", base);
            m.pictures[2 * k + 1] = Picture(pair.value("spare"), f + ".spare", base);
            if (pair.contains("size")) {
                const QJsonArray s = Array(pair.value("size"), f + ".size", 2, 2);
                m.sizes[k] = vexa::TPairSize{Int16(s[0], f + ".size[0]"), Int16(s[1], f + ".size[1]")};
            }
        }
    }
    for (int i = 0; i < vexa::kPictureCount; ++i)
        if (m.pictures[i].field.empty())
            m.pictures[i].field = "pairs[" + std::to_string(i / 2) + "]." + (i % 2 ? "spare" : "base");
}

}  // namespace

bool ParseManifest(const QByteArray& json, const QString& baseDir, Manifest& out, std::string& error) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull()) {
        error = "manifest: not JSON (" + parseError.errorString().toStdString() + " at " +
                LineAndColumn(json, parseError.offset) + ")";
        return false;
    }
    // QJsonDocument keeps the last of two equal keys without a word.
    if (const std::optional<DuplicateKey> twice = FindDuplicateKey(json)) {
        error = (twice->field.empty() ? "manifest" : twice->field) + ": the key \"" + twice->key +
                "\" is given twice (the second at " + LineAndColumn(json, twice->offset) + ")";
        return false;
    }
    if (!doc.isObject()) {
        error = "manifest: must be a JSON object";
        return false;
    }
    out = Manifest{};
    try {
        Parse(doc.object(), QDir(baseDir), out);
    } catch (const Fault& f) {
        error = f.message;
        return false;
    }
    return true;
}

}  // namespace vexatool
