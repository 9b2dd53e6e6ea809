// vexa-demo-gen OUTDIR: draws the demo puzzle's pictures into OUTDIR and
// writes manifest.json, which `vexa-tool pack` turns into the puzzle file.
// The output depends only on the drawing code, Qt and the Japanese font, so
// the bundled demo can be checked against a fresh run.
#include "demo_art.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QJsonArray TrackJson(const demo::Track& track) {
    QJsonArray records;
    for (const demo::Record& r : track) {
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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vexa-demo-gen OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());

    const demo::Pair pairs[4] = {demo::DrawScene(), demo::DrawResultScreen(1), demo::DrawResultScreen(2),
                                 demo::DrawResultScreen(3)};
    const QImage photo = demo::DrawPhoto();

    // Mixed storage, as real puzzles have it: 2x2 JPEG for the scene and the
    // photo, grey JPEG, 1x1 JPEG, and an 8-bit DIB for the last screen.
    const QJsonObject encodings[5] = {
        {{"quality", 90}, {"sampling", "2x2"}},
        {{"quality", 88}, {"sampling", "grey"}},
        {{"quality", 90}, {"sampling", "1x1"}},
        {},
        {{"quality", 90}, {"sampling", "2x2"}, {"restart", 4}},
    };
    const char* names[4] = {"scene", "result1", "result2", "result3"};

    bool ok = true;
    QJsonArray pairsJson;
    QJsonArray tables;
    for (int k = 0; k < 4; ++k) {
        const QString base = QString("%1.png").arg(names[k]);
        const QString spare = QString("%1-spare.png").arg(names[k]);
        ok = Save(pairs[k].base, out, base) && Save(pairs[k].spare, out, spare) && ok;
        pairsJson.append(QJsonObject{{"base", PictureJson(base, encodings[k])},
                                     {"spare", PictureJson(spare, encodings[k])}});
        for (int t = 0; t < 5; ++t)
            tables.append(t < static_cast<int>(pairs[k].tracks.size()) ? TrackJson(pairs[k].tracks[t]) : QJsonArray{});
    }
    ok = Save(photo, out, "photo.png") && ok;
    pairsJson.append(QJsonObject{{"base", PictureJson("photo.png", encodings[4])}});

    QJsonArray rects;
    for (const QRect& r : demo::Differences())
        rects.append(QJsonArray{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});

    // Written by hand so that the committed manifest reads well: one record,
    // rectangle or pair per line.
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
    text += "  \"title\": \"はじめての間違い探し\",\n";
    text += "  \"section\": \"Vexaデモ\",\n";
    text += "  \"extra_text\": \"湖のほとりの村\",\n";
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
        return 1;
    }
    return ok ? 0 : 1;
}
