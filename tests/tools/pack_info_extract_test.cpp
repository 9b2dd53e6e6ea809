// vexa-tool pack -> info -> extract, run as processes.
#include "tool_process.h"

#include "jpeg/decode_jpeg.h"
#include "play/play_messages.h"
#include "puzzle/puzzle_file.h"
#include "puzzle/puzzle_writer.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>

namespace {

using tooltest::Tool;
using tooltest::ToolRun;

QJsonObject Json(const QByteArray& text) { return QJsonDocument::fromJson(text).object(); }

QJsonArray Ints(std::initializer_list<int> values) {
    QJsonArray a;
    for (int v : values) a.append(v);
    return a;
}

// More than 256 colours, smooth enough for JPEG.
QImage Gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), 128 + (x + y) % 5));
    return image;
}

QImage ThreeColours() {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(qRgb(250, 240, 230));
    for (int x = 0; x < 7; ++x) image.setPixel(x, 2, qRgb(10, 20, 30));
    image.setPixel(6, 4, qRgb(0, 128, 255));
    return image;
}

class PackTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    void WriteText(const QString& name, const QByteArray& text) const {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // cjpeg from a PPM of `image`; empty when cjpeg cannot run.
    QByteArray Cjpeg(const QImage& image, const QString& name, const QString& options) const {
        image.save(Path(name + ".ppm"), "PPM");
        const std::string cmd = "cjpeg " + options.toStdString() + " " + Path(name + ".ppm").toStdString() + " > " +
                                Path(name).toStdString();
        if (std::system(cmd.c_str()) != 0) return {};
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // These manifests leave pairs out, which pack refuses unless told.
    ToolRun Pack(const QJsonObject& manifest) const {
        WriteText("m.json", QJsonDocument(manifest).toJson());
        return Tool({"pack", "--allow-incomplete", Path("m.json"), Path("out.VX")});
    }

    QTemporaryDir dir_;
};

// Largest per-channel difference and the mean one.
std::pair<int, double> Difference(const QImage& a, const QImage& b) {
    int worst = 0;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
                worst = std::max(worst, std::abs(d));
                sum += std::abs(d);
            }
        }
    return {worst, sum / (3.0 * a.width() * a.height())};
}

TEST_F(PackTest, BitmapPuzzleComesBackExactly) {
    const QImage many = Gradient(24, 20), few = ThreeColours();
    ASSERT_TRUE(many.save(Path("many.png")));
    ASSERT_TRUE(few.save(Path("few.bmp")));
    const QImage prog = Gradient(16, 8);
    ASSERT_FALSE(Cjpeg(prog, "prog.jpg", "-progressive").isEmpty());

    QJsonObject m;
    m["title"] = QString::fromUtf8("間違い探し その1");
    m["section"] = QString::fromUtf8("表計算]");
    m["extra_text"] = QString::fromUtf8("おまけ");
    m["extra_values"] = Ints({-3, 32767});
    m["diff_rects"] = QJsonArray{Ints({1, 2, 30, 40}), Ints({-5, 6, 7, 8})};
    QJsonArray tables;
    tables.append(QJsonArray{QJsonArray{"C", 1, 2, 3, 4, 5, 6}, QJsonArray{"W", 12}});
    for (int t = 1; t < 19; ++t) tables.append(QJsonArray{});
    tables.append(QJsonArray{QJsonArray{"T", -1, 0, 0, 0, 8, 9}});
    m["tables"] = tables;
    m["pairs"] = QJsonArray{QJsonObject{{"base", "many.png"}, {"spare", "few.bmp"}}, QJsonValue(),
                            QJsonObject{{"spare", "prog.jpg"}, {"size", Ints({100, 50})}},
                            QJsonObject{{"base", "few.bmp"}}, QJsonObject{}};
    const ToolRun pack = Pack(m);
    ASSERT_EQ(pack.status, 0) << pack.err.toStdString();

    const ToolRun info = Tool({"info", Path("out.VX")});
    ASSERT_EQ(info.status, 0) << info.out.toStdString();
    const QJsonObject have = Json(info.out);
    EXPECT_EQ(have["title"].toString(), m["title"].toString());
    EXPECT_EQ(have["section"].toString(), m["section"].toString());
    EXPECT_EQ(have["extra_text"].toString(), m["extra_text"].toString());
    EXPECT_EQ(have["extra_values"], m["extra_values"]);
    EXPECT_EQ(have["diff_count"].toInt(), 2);
    EXPECT_EQ(have["diff_rects"], m["diff_rects"]);
    QJsonArray counts = Ints({2});
    for (int t = 1; t < 19; ++t) counts.append(0);
    counts.append(1);
    EXPECT_EQ(have["table_counts"], counts);
    // Pair sizes default to the base picture's size, 0 x 0 without one.
    EXPECT_EQ(have["pair_sizes"], (QJsonArray{Ints({24, 20}), Ints({0, 0}), Ints({100, 50}), Ints({7, 5}),
                                              Ints({0, 0})}));
    auto dib = [](int w, int h, int bits) {
        return QJsonObject{{"source", "dib"}, {"width", w}, {"height", h}, {"bits", bits}};
    };
    EXPECT_EQ(have["pictures"], (QJsonArray{dib(24, 20, 24), dib(7, 5, 8), QJsonValue(), QJsonValue(), QJsonValue(),
                                            dib(16, 8, 8), dib(7, 5, 8), QJsonValue(), QJsonValue(), QJsonValue()}));

    // The tables hold the records as written, "W" with its ticks in the width.
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    ASSERT_EQ(vexa::LoadPuzzleFile(record, side, Path("out.VX").toStdString()), vexa::TLoadError::None);
    EXPECT_EQ(record.Tables[0], (vexa::Block{'C', 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0,  //
                                             'W', 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0}));
    EXPECT_EQ(record.Tables[19], (vexa::Block{'T', 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 8, 0, 9, 0}));

    const ToolRun extract = Tool({"extract", Path("out.VX"), Path("pictures")});
    ASSERT_EQ(extract.status, 0) << extract.err.toStdString();
    const QImage progDecoded(Path("prog.jpg"));
    struct Want {
        const char* file;
        QImage image;
    };
    for (const Want& w : {Want{"pair0-base.png", many}, Want{"pair0-spare.png", few}, Want{"pair2-spare.png", progDecoded},
                          Want{"pair3-base.png", few}}) {
        const QImage back(Path(QString("pictures/") + w.file));
        ASSERT_EQ(back.size(), w.image.size()) << w.file;
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), w.image.convertToFormat(QImage::Format_RGB32)) << w.file;
    }
    EXPECT_FALSE(QFile::exists(Path("pictures/pair1-base.png")));
}

TEST_F(PackTest, JpegEntriesAreStoredOrEncodedAsBaseline) {
    const QImage photo = Gradient(40, 24);
    const QByteArray baseline = Cjpeg(photo, "photo.jpg", "-quality 90");
    ASSERT_FALSE(baseline.isEmpty()) << "cjpeg did not run";
    vexa::Block probe;
    if (vexa::DecodeJpegToDib(probe, reinterpret_cast<const std::uint8_t*>(baseline.constData()),
                              static_cast<std::int32_t>(baseline.size())) != vexa::DecodeOk)
        GTEST_SKIP() << "the JPEG decoder refuses a cjpeg stream";
    ASSERT_TRUE(photo.save(Path("photo.png")));

    QJsonObject m;
    m["pairs"] = QJsonArray{
        QJsonObject{{"base", "photo.jpg"}},
        QJsonObject{{"base", QJsonObject{{"file", "photo.png"},
                                         {"encode", QJsonObject{{"quality", 95}, {"sampling", "1x2"}, {"restart", 3}}}}}},
        QJsonObject{{"spare", QJsonObject{{"file", "photo.jpg"}, {"encode", QJsonObject{{"sampling", "1x1"}}}}}}};
    const ToolRun pack = Pack(m);
    ASSERT_EQ(pack.status, 0) << pack.err.toStdString();

    // A baseline file is stored byte for byte, with S = L.
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    ASSERT_EQ(vexa::LoadPuzzleFile(record, side, Path("out.VX").toStdString(), &sources), vexa::TLoadError::None);
    ASSERT_TRUE(sources[0].Jpeg);
    EXPECT_EQ(sources[0].Stream, vexa::Block(baseline.begin(), baseline.end()));
    EXPECT_EQ(sources[0].StreamLength, baseline.size());
    ASSERT_TRUE(sources[2].Jpeg);
    ASSERT_TRUE(sources[5].Jpeg);

    const ToolRun info = Tool({"info", Path("out.VX")});
    ASSERT_EQ(info.status, 0) << info.out.toStdString();
    const QJsonObject jpeg{{"source", "jpeg"}, {"width", 40}, {"height", 24}, {"bits", 24}};
    const QJsonArray pictures = Json(info.out)["pictures"].toArray();
    EXPECT_EQ(pictures[0], jpeg);
    EXPECT_EQ(pictures[2], jpeg);
    EXPECT_EQ(pictures[5], jpeg);

    const ToolRun extract = Tool({"extract", Path("out.VX"), Path("x")});
    ASSERT_EQ(extract.status, 0) << extract.err.toStdString();
    // Against libjpeg's reading of the same stream. The player's decoder
    // converts colour with coarser coefficients and repeats chroma instead
    // of interpolating it, so only gross faults (rows, channels, blocks out
    // of place) stand out.
    for (int i : {0, 2, 5}) {
        const QString file = Path(QString("x/pair%1-%2.png").arg(i / 2).arg(i % 2 ? "spare" : "base"));
        const QImage back(file);
        const QImage want = QImage::fromData(QByteArray(reinterpret_cast<const char*>(sources[i].Stream.data()),
                                                        static_cast<qsizetype>(sources[i].Stream.size())));
        ASSERT_EQ(back.size(), photo.size()) << file.toStdString();
        const auto [worst, mean] = Difference(back, want);
        EXPECT_LE(worst, 48) << file.toStdString();
        EXPECT_LE(mean, 10.0) << file.toStdString();
    }
}

// The player's message for a picture over its limit speaks of memory; the
// tool adds the limit.
TEST_F(PackTest, InfoNamesThePictureLimitWhereThePlayerSpeaksOfMemory) {
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    // A small baseline stream whose frame header claims 5000 x 4000 pixels.
    const QByteArray small = Cjpeg(Gradient(16, 16), "small.jpg", "-quality 90");
    ASSERT_FALSE(small.isEmpty()) << "cjpeg did not run";
    vexa::Block huge(small.begin(), small.end());
    const qsizetype sof = small.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    const std::uint8_t size[] = {0x0F, 0xA0, 0x13, 0x88};  // height 4000, width 5000
    std::copy(std::begin(size), std::end(size), huge.begin() + sof + 5);
    sources[0] = {true, static_cast<std::int32_t>(huge.size()), huge};
    const std::vector<std::uint8_t> bytes = vexa::SerializePuzzle(record, side, sources);
    QFile f(Path("huge.VX"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    f.close();
    const ToolRun info = Tool({"info", Path("huge.VX")});
    ASSERT_NE(info.status, 0) << "the frame over the limit was not refused: " << info.out.toStdString();
    const QJsonObject have = Json(info.out);
    EXPECT_EQ(have["error_name"].toString(), "no_memory");
    EXPECT_TRUE(have["hint"].toString().contains("4096 x 4096 pixels")) << info.out.toStdString();
    const ToolRun check = Tool({"check", Path("huge.VX")});
    EXPECT_TRUE(check.out.contains("4096 x 4096 pixels")) << check.out.toStdString();
}

TEST_F(PackTest, InfoShowsAStreamWithoutAScanAsAbsent) {
    vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    sources[3] = {true, 4, vexa::Block{0xFF, 0xD8, 0xFF, 0xD9}};
    const std::vector<std::uint8_t> bytes = vexa::SerializePuzzle(record, side, sources);
    QFile f(Path("noscan.VX"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    f.close();
    vexa::Block probe;
    const std::uint8_t stream[] = {0xFF, 0xD8, 0xFF, 0xD9};
    if (vexa::DecodeJpegToDib(probe, stream, 4) != vexa::DecodeOk) GTEST_SKIP() << "the JPEG decoder is not in";

    const ToolRun info = Tool({"info", Path("noscan.VX")});
    ASSERT_EQ(info.status, 0) << info.out.toStdString();
    const QJsonObject have = Json(info.out);
    EXPECT_EQ(have["pictures"].toArray()[3], QJsonValue());
    EXPECT_EQ(have["section"].toString(), "Kavrki");
}

TEST_F(PackTest, FailuresSayWhy) {
    WriteText("one.VX", "\x0A");
    struct Case {
        QString file;
        QString want;
        QString wantName;
    };
    const Case cases[] = {
        {Path("one.VX"), QString::fromUtf8(vexa::kMsgDiskError), "disk_error"},
        {Path("missing.VX"), QString::fromUtf8(vexa::kMsgCannotOpen), "cannot_open"},
        {dir_.path(), QString::fromUtf8(vexa::kMsgCannotOpen), "cannot_open"},
    };
    for (const Case& c : cases) {
        const ToolRun info = Tool({"info", c.file});
        EXPECT_EQ(info.status, 1) << c.file.toStdString();
        EXPECT_EQ(Json(info.out), (QJsonObject{{"error", c.want}, {"error_name", c.wantName}}))
            << c.file.toStdString();
        EXPECT_EQ(Tool({"extract", c.file, Path("none")}).status, 1) << c.file.toStdString();
    }
}

TEST_F(PackTest, ManifestFaultsNameTheirField) {
    ASSERT_TRUE(ThreeColours().save(Path("few.png")));
    struct Case {
        const char* json;
        const char* field;
    };
    const Case cases[] = {
        {"[1, 2]", "manifest"},
        {"{\"title\": \"abc", "manifest"},
        {"{\"colour\": 1}", "colour"},
        {"{\"title\": \"123456789012345678901234567890123456789012345678901234567890\"}", "title"},
        {"{\"section\": \"\xF0\x9F\x98\x80\"}", "section"},
        {"{\"extra_values\": [1]}", "extra_values"},
        {"{\"extra_values\": [1, 40000]}", "extra_values[1]"},
        {"{\"diff_rects\": [[1, 2, 3, 4], [1, 2, 3]]}", "diff_rects[1]"},
        {"{\"diff_rects\": [[0,0,0,0],[0,0,0,0],[0,0,0,0],[0,0,0,0],[0,0,0,0],[0,0,0,0],[0,0,0,0],[0,0,0,0],"
         "[0,0,0,0],[0,0,0,0],[0,0,0,0]]}",
         "diff_rects"},
        {"{\"tables\": [[], [[\"X\", 0, 0, 0, 0, 0, 0]]]}", "tables[1][0][0]"},
        {"{\"tables\": [[[\"C\", 1, 2]]]}", "tables[0][0]"},
        {"{\"tables\": [[[\"C\", 1, 2, 3, 4, 5, 6.5]]]}", "tables[0][0][6]"},
        {"{\"pairs\": [{\"base\": \"missing.png\"}]}", "pairs[0].base"},
        {"{\"pairs\": [{}, {\"spare\": {\"file\": \"few.png\", \"encode\": {\"quality\": 0}}}]}",
         "pairs[1].spare.encode.quality"},
        {"{\"pairs\": [{\"base\": {\"file\": \"few.png\", \"encode\": {\"sampling\": \"4x4\"}}}]}",
         "pairs[0].base.encode.sampling"},
        {"{\"pairs\": [{\"base\": \"m.json\"}]}", "pairs[0].base"},
        {"{\"pairs\": [{\"size\": [1]}]}", "pairs[0].size"},
        {"{\"section\": \"two\\nlines\"}", "section"},
        {"{\"section\": \"carriage\\rreturn\"}", "section"},
        {"{\"diffs\": \"maybe\"}", "diffs"},
        {"{\"diffs\": [[1, 2, 3, 4]], \"diff_rects\": [[1, 2, 3, 4]]}", "diffs"},
        {"{\"diffs\": [[1, 2, 3]]}", "diffs[0]"},
        {"{\"diff_rects\": \"auto\"}", "diff_rects"},
        {"{\"diffs\": \"auto\", \"pairs\": [{\"base\": \"few.png\"}]}", "diffs"},
    };
    for (const Case& c : cases) {
        WriteText("m.json", c.json);
        const ToolRun pack = Tool({"pack", "--allow-incomplete", Path("m.json"), Path("bad.VX")});
        EXPECT_EQ(pack.status, 1) << c.json;
        EXPECT_TRUE(pack.err.startsWith(QByteArray(c.field) + ":")) << c.json << " -> " << pack.err.toStdString();
        EXPECT_FALSE(QFile::exists(Path("bad.VX"))) << c.json;
    }
}

// Messages that say where and what: line and column in the text, a key
// given twice, the known key nearest a mistyped one.
TEST_F(PackTest, ManifestMessagesSayWhereAndWhat) {
    ASSERT_TRUE(ThreeColours().save(Path("few.png")));
    struct Case {
        const char* json;
        const char* want;  // the whole first line of the message
    };
    const Case cases[] = {
        {"{\n  \"title\": \"x\",\n  \"section\" 1\n}", "manifest: not JSON (missing name separator at line 3, column 14)"},
        {"{\"title\": \"a\", \"title\": \"b\"}",
         "manifest: the key \"title\" is given twice (the second at line 1, column 16)"},
        {"{\"pairs\": [{\"base\": \"few.png\",\n \"base\": \"few.png\"}]}",
         "pairs[0]: the key \"base\" is given twice (the second at line 2, column 2)"},
        {"{\"t\\u0069tle\": \"a\", \"title\": \"b\"}",
         "manifest: the key \"title\" is given twice (the second at line 1, column 21)"},
        {"{\"tittle\": \"a\"}", "tittle: is not a known key (did you mean \"title\"?)"},
        {"{\"pairs\": [{\"bsae\": \"few.png\"}]}", "pairs[0].bsae: is not a known key (did you mean \"base\"?)"},
        {"{\"zzz\": 1}", "zzz: is not a known key"},
        {"{\"diffs\": {\"auto\": {\"jion\": 6}}}", "diffs.auto.jion: is not a known key (did you mean \"join\"?)"},
        {"{\"diffs\": {\"auto\": {\"join\": -1}}}", "diffs.auto.join: must be a whole number from 0 to 32767"},
        {"{\"diffs\": {\"auto\": 6}}", "diffs.auto: must be an object of settings, such as {\"join\": 6}"},
    };
    for (const Case& c : cases) {
        WriteText("m.json", c.json);
        const ToolRun pack = Tool({"pack", "--allow-incomplete", Path("m.json"), Path("bad.VX")});
        EXPECT_EQ(pack.status, 1) << c.json;
        EXPECT_EQ(pack.err.toStdString(), std::string(c.want) + "\n") << c.json;
    }
}

// The player refuses a picture over 4096 x 4096 pixels and pictures over
// 256 MiB in all; pack refuses them first and names the limit, and a scene
// and a photo of different sizes.
TEST_F(PackTest, PicturesThePlayerWouldRefuseAreRefused) {
    QImage huge(4097, 4096, QImage::Format_Grayscale8);
    huge.fill(90);
    ASSERT_TRUE(huge.save(Path("huge.png")));
    QImage most(4096, 4096, QImage::Format_RGB32);
    most.fill(QColor(30, 90, 160));
    ASSERT_TRUE(most.save(Path("most.png")));
    ASSERT_TRUE(Gradient(24, 20).save(Path("small.png")));
    ASSERT_TRUE(Gradient(20, 24).save(Path("tall.png")));
    const QJsonObject encoded{{"file", "most.png"}, {"encode", QJsonObject{{"quality", 50}}}};
    struct Case {
        std::string name;
        QJsonArray pairs;
        std::string want;
    };
    const Case cases[] = {
        {"over the pixel limit",
         {QJsonObject{{"base", "huge.png"}}},
         "pairs[0].base: " + Path("huge.png").toStdString() +
             ": 4097 x 4096 pixels, more than the player's limit of 4096 x 4096 pixels (in area): scale it down\n"},
        {"over the puzzle's budget",
         {QJsonObject{{"base", encoded}, {"spare", encoded}}, QJsonObject{{"base", encoded}, {"spare", encoded}},
          QJsonObject{{"base", encoded}, {"spare", encoded}}},
         "pairs: the pictures take 290 MiB once decoded, more than the 256 MiB the player allows a puzzle: make "
         "them smaller\n"},
        {"scene and photo of different sizes",
         {QJsonObject{{"base", "small.png"}}, QJsonValue(), QJsonValue(), QJsonValue(), QJsonObject{{"base", "tall.png"}}},
         "pairs[4].base: the photo is 20x24 pixels, the scene (pairs[0].base) 24x20: they must be the same size\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteText("m.json", QJsonDocument(QJsonObject{{"pairs", c.pairs}}).toJson());
        const ToolRun pack = Tool({"pack", "--allow-incomplete", Path("m.json"), Path("big.VX")});
        EXPECT_EQ(pack.status, 1);
        EXPECT_EQ(pack.err.toStdString(), c.want);
        EXPECT_FALSE(QFile::exists(Path("big.VX")));
    }
    const ToolRun diff = Tool({"diff", Path("huge.png"), Path("huge.png")});
    EXPECT_EQ(diff.status, 1);
    EXPECT_TRUE(diff.err.contains("more than the player's limit of 4096 x 4096 pixels")) << diff.err.toStdString();
}

// Judging shows a result screen, so a puzzle without one cannot be played to
// its end: pack names the first missing base picture unless told to go on.
TEST_F(PackTest, IncompletePuzzlesAreWrittenOnlyWhenAskedFor) {
    ASSERT_TRUE(ThreeColours().save(Path("few.png")));
    const QJsonObject full{{"base", "few.png"}};
    struct Case {
        std::string name;
        QJsonArray have;
        QByteArray want;  // the start of the message; empty when packed
    };
    const Case cases[] = {
        {"every pair", {full, full, full, full, full}, ""},
        {"no pairs", {}, "pairs[0].base: missing"},
        {"a result screen left out", {full, full, QJsonValue(), full, full}, "pairs[2].base: missing"},
        {"only a spare picture", {full, QJsonObject{{"spare", "few.png"}}, full, full, full}, "pairs[1].base: missing"},
        {"no photo", {full, full, full, full}, "pairs[4].base: missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteText("m.json", QJsonDocument(QJsonObject{{"pairs", c.have}}).toJson());
        QFile::remove(Path("out.VX"));
        const ToolRun pack = Tool({"pack", Path("m.json"), Path("out.VX")});
        if (c.want.isEmpty()) {
            EXPECT_EQ(pack.status, 0) << pack.err.toStdString();
            continue;
        }
        EXPECT_EQ(pack.status, 1);
        EXPECT_TRUE(pack.err.startsWith(c.want)) << pack.err.toStdString();
        EXPECT_FALSE(QFile::exists(Path("out.VX")));
        EXPECT_EQ(Tool({"pack", Path("m.json"), Path("out.VX"), "--allow-incomplete"}).status, 0);
        const ToolRun check = Tool({"check", Path("out.VX")});
        EXPECT_EQ(check.status, 1);
        EXPECT_TRUE(check.out.contains("missing_base_picture")) << check.out.toStdString();
    }
}

}  // namespace
