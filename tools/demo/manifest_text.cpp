#include "manifest_text.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace demo {

namespace {

QJsonArray TrackJson(const Track& track) {
    QJsonArray records;
    for (const Record& r : track) {
        if (r.command == 'W')
            records.append(QJsonArray{"W", r.w});
        else
            records.append(QJsonArray{QString(QChar(r.command)), r.sx, r.sy, r.dx, r.dy, r.w, r.h});
    }
    return records;
}

QJsonObject PictureJson(const QString& file, const QJsonObject& encode) {
    QJsonObject picture{{"file", file}};
    if (!encode.isEmpty()) picture["encode"] = encode;
    return picture;
}

bool Save(const QImage& image, const QDir& out, const QString& name) {
    if (image.save(out.filePath(name), "PNG")) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(name)));
    return false;
}

}  // namespace

bool WritePuzzle(const QDir& out, const PuzzleTexts& texts, const PuzzleArt& art) {
    QDir().mkpath(out.path());
    const char* names[4] = {"scene", "result1", "result2", "result3"};

    bool ok = true;
    QJsonArray pairsJson;
    QJsonArray tables;
    for (int k = 0; k < 4; ++k) {
        const Pair& pair = art.pairs[k];
        const QString base = QString("%1.png").arg(names[k]);
        const QString spare = QString("%1-spare.png").arg(names[k]);
        ok = Save(pair.base, out, base) && ok;
        QJsonObject pairJson{{"base", PictureJson(base, art.encodings[k])}};
        if (!pair.spare.isNull()) {
            ok = Save(pair.spare, out, spare) && ok;
            pairJson["spare"] = PictureJson(spare, art.encodings[k]);
        }
        pairsJson.append(pairJson);
        for (int t = 0; t < 5; ++t)
            tables.append(t < static_cast<int>(pair.tracks.size()) ? TrackJson(pair.tracks[t]) : QJsonArray{});
    }
    ok = Save(art.photo, out, "photo.png") && ok;
    pairsJson.append(QJsonObject{{"base", PictureJson("photo.png", art.encodings[4])}});

    QJsonArray rects;
    for (const QRect& r : art.differences)
        rects.append(QJsonArray{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});

    auto compact = [](const auto& value) {
        return QString::fromUtf8(QJsonDocument(value).toJson(QJsonDocument::Compact));
    };
    auto lines = [&](const QJsonArray& items, const QString& indent) {
        QStringList parts;
        for (const QJsonValue& v : items)
            parts << indent + (v.isArray() ? compact(v.toArray()) : compact(v.toObject()));
        return parts.join(",\n");
    };
    QString text = "{\n";
    text += "  \"title\": \"" + texts.title + "\",\n";
    text += "  \"section\": \"" + texts.section + "\",\n";
    text += "  \"extra_text\": \"" + texts.extraText + "\",\n";
    text += "  \"extra_values\": [0, 0],\n";
    text += "  \"diff_rects\": [\n" + lines(rects, "    ") + "\n  ],\n";
    QStringList tableTexts;
    for (const QJsonValue& t : tables) {
        const QJsonArray records = t.toArray();
        tableTexts << (records.isEmpty() ? QString("    []") : "    [\n" + lines(records, "      ") + "\n    ]");
    }
    text += "  \"tables\": [\n" + tableTexts.join(",\n") + "\n  ],\n";
    text += "  \"pairs\": [\n" + lines(pairsJson, "    ") + "\n  ]\n}\n";

    QFile file(out.filePath("manifest.json"));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return ok;
}

}  // namespace demo
