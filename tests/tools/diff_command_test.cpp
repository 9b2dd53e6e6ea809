// vexa-tool diff on pairs of drawn pictures, and pack's "diffs": "auto",
// which must find the same rectangles.
#include "tool_process.h"

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

#include <string>
#include <vector>

namespace {

using tooltest::Tool;
using tooltest::ToolRun;

struct Change {
    QRect area;
    int shift = 120;  // added to every channel of the grey background
};

constexpr int kW = 64, kH = 48;

QImage Picture(const std::vector<Change>& changes) {
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(QColor(100, 100, 100));
    for (const Change& c : changes)
        for (int y = c.area.top(); y <= c.area.bottom(); ++y)
            for (int x = c.area.left(); x <= c.area.right(); ++x)
                image.setPixel(x, y, qRgb(100 + c.shift, 100 + c.shift, 100 + c.shift));
    return image;
}

class DiffCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(Picture({}).save(Path("scene.png")));
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    QTemporaryDir dir_;
};

TEST_F(DiffCommand, PrintsGrownJoinedRectanglesAsManifestJson) {
    struct Case {
        std::string name;
        std::vector<Change> have;
        QStringList options;
        int wantExit;
        std::string want;
    };
    std::vector<Change> eleven;
    for (int i = 0; i < 11; ++i) eleven.push_back({QRect(2 + (i % 6) * 10, 4 + (i / 6) * 20, 4, 4)});
    const std::vector<Case> cases = {
        {"two changes, each grown by the margin", {{QRect(10, 10, 10, 10)}, {QRect(40, 30, 10, 10)}}, {}, 0,
         R"({"diffs": [[6,6,24,24], [36,26,54,44]]})"},
        {"margin given", {{QRect(10, 10, 10, 10)}}, {"--margin", "1"}, 0, R"({"diffs": [[9,9,21,21]]})"},
        {"clamped to the picture", {{QRect(0, 0, 5, 5)}, {QRect(kW - 3, kH - 3, 3, 3)}}, {}, 0,
         R"({"diffs": [[0,0,9,9], [57,41,64,48]]})"},
        {"changes closer than the join distance are one", {{QRect(10, 10, 10, 10)}, {QRect(26, 12, 6, 6)}}, {}, 0,
         R"({"diffs": [[6,6,36,24]]})"},
        {"two changes 11 pixels apart stay two", {{QRect(10, 10, 10, 10)}, {QRect(31, 12, 6, 6)}}, {}, 0,
         R"({"diffs": [[6,6,24,24], [27,8,41,22]]})"},
        {"grown boxes that would overlap are cut back, not merged",
         {{QRect(10, 10, 10, 10)}, {QRect(26, 12, 6, 6)}}, {"--join", "3"}, 0,
         R"({"diffs": [[6,6,23,24], [23,8,36,22]]})"},
        {"a change under the minimum area is noise", {{QRect(10, 10, 10, 10)}, {QRect(40, 30, 2, 2)}}, {}, 0,
         R"({"diffs": [[6,6,24,24]]})"},
        {"minimum area given", {{QRect(10, 10, 10, 10)}, {QRect(40, 30, 2, 2)}}, {"--min-area=2", "--margin=0"}, 0,
         R"({"diffs": [[10,10,20,20], [40,30,42,32]]})"},
        {"a faint change a person sees is found", {{QRect(10, 10, 10, 10), 30}}, {}, 0, R"({"diffs": [[6,6,24,24]]})"},
        {"fainter still: a weak change, noted apart", {{QRect(10, 10, 10, 10), 20}}, {}, 1,
         R"({"diffs": [], "weak": [[10,10,20,20]]})"},
        {"a tolerance picks the plain channel test", {{QRect(10, 10, 10, 10), 30}}, {"--tolerance", "30"}, 1,
         R"({"diffs": []})"},
        {"tolerance given", {{QRect(10, 10, 10, 10), 30}}, {"--tolerance", "29", "--margin", "0"}, 0,
         R"({"diffs": [[10,10,20,20]]})"},
        {"no change", {}, {}, 1, R"({"diffs": []})"},
        {"more than ten are all printed", eleven, {"--margin", "0", "--join", "0"}, 1,
         R"({"diffs": [[2,4,6,8], [12,4,16,8], [22,4,26,8], [32,4,36,8], [42,4,46,8], [52,4,56,8], )"
         R"([2,24,6,28], [12,24,16,28], [22,24,26,28], [32,24,36,28], [42,24,46,28]]})"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Picture(c.have).save(Path("photo.png")));
        const ToolRun got = Tool(QStringList{"diff", Path("scene.png"), Path("photo.png")} + c.options);
        EXPECT_EQ(got.status, c.wantExit) << got.err.toStdString();
        EXPECT_EQ(got.out.toStdString(), c.want + "\n");
        // Success says it all on standard output.
        if (got.status == 0) EXPECT_TRUE(got.err.isEmpty()) << got.err.toStdString();
    }
}

TEST_F(DiffCommand, PicturesOfOtherSizesAreAnError) {
    QImage wide(kW + 1, kH, QImage::Format_RGB32);
    wide.fill(Qt::white);
    ASSERT_TRUE(wide.save(Path("wide.png")));
    const ToolRun got = Tool({"diff", Path("scene.png"), Path("wide.png")});
    EXPECT_EQ(got.status, 1);
    EXPECT_TRUE(got.out.isEmpty());
    EXPECT_FALSE(got.err.isEmpty());
}

// "diffs": "auto" stores what diff prints for the two files, and diff on the
// packed puzzle (its decoded pairs 0 and 4) agrees.
TEST_F(DiffCommand, PackAutoStoresWhatDiffFinds) {
    ASSERT_TRUE(Picture({{QRect(10, 10, 10, 10)}, {QRect(40, 30, 12, 8), -80}}).save(Path("photo.png")));
    const ToolRun diff = Tool({"diff", Path("scene.png"), Path("photo.png")});
    ASSERT_EQ(diff.status, 0) << diff.err.toStdString();

    QJsonObject manifest{{"diffs", "auto"}};
    manifest["pairs"] = QJsonArray{QJsonObject{{"base", "scene.png"}}, QJsonObject{{"base", "scene.png"}},
                                   QJsonObject{{"base", "scene.png"}}, QJsonObject{{"base", "scene.png"}},
                                   QJsonObject{{"base", "photo.png"}}};
    QFile f(Path("m.json"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QJsonDocument(manifest).toJson());
    f.close();
    const ToolRun pack = Tool({"pack", Path("m.json"), Path("auto.VX")});
    ASSERT_EQ(pack.status, 0) << pack.err.toStdString();

    const ToolRun info = Tool({"info", Path("auto.VX")});
    const QJsonArray stored = QJsonDocument::fromJson(info.out).object()["diff_rects"].toArray();
    EXPECT_EQ(stored, QJsonDocument::fromJson(diff.out).object()["diffs"].toArray()) << diff.out.toStdString();
    EXPECT_EQ(Tool({"diff", Path("auto.VX")}).out, diff.out);
    EXPECT_EQ(Tool({"check", Path("auto.VX")}).status, 0);

    // Without a difference there is nothing to store, and pack says so.
    ASSERT_TRUE(Picture({}).save(Path("photo.png")));
    const ToolRun none = Tool({"pack", Path("m.json"), Path("none.VX")});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.startsWith("diffs:")) << none.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("none.VX")));
}

// On pictures stored as JPEG, "auto" looks at what the player will show, so
// check finds the puzzle clean; rectangles that miss a change make pack
// warn, and fail with --strict.
TEST_F(DiffCommand, PackChecksWhatItWroteAndAutoUsesTheStoredPictures) {
    QImage scene(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < scene.height(); ++y)
        for (int x = 0; x < scene.width(); ++x)
            scene.setPixel(x, y, qRgb(90 + x / 3, 140 + y / 4, 170 + ((x / 3 + y / 3) % 2) * 14));
    QImage photo = scene.copy();
    for (int y = 30; y < 44; ++y)
        for (int x = 20; x < 40; ++x) photo.setPixel(x, y, qRgb(200, 40, 40));
    for (int y = 80; y < 92; ++y)
        for (int x = 100; x < 130; ++x) photo.setPixel(x, y, qRgb(30, 60, 120));
    ASSERT_TRUE(scene.save(Path("textured.png")));
    ASSERT_TRUE(photo.save(Path("changed.png")));
    auto pack = [&](const QJsonValue& diffs, const QStringList& options) {
        const QJsonObject q75{{"quality", 75}};
        QJsonObject manifest{{"diffs", diffs}};
        manifest["pairs"] = QJsonArray{QJsonObject{{"base", QJsonObject{{"file", "textured.png"}, {"encode", q75}}}},
                                       QJsonObject{{"base", "scene.png"}}, QJsonObject{{"base", "scene.png"}},
                                       QJsonObject{{"base", "scene.png"}},
                                       QJsonObject{{"base", QJsonObject{{"file", "changed.png"}, {"encode", q75}}}}};
        QFile f(Path("m.json"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QJsonDocument(manifest).toJson());
        f.close();
        QFile::remove(Path("stored.VX"));
        return Tool(QStringList{"pack"} + options + QStringList{Path("m.json"), Path("stored.VX")});
    };

    for (const QJsonValue& automatic : {QJsonValue("auto"), QJsonValue(QJsonObject{{"auto", QJsonObject{{"join", 4}, {"margin", 2}}}})}) {
        const ToolRun packed = pack(automatic, {"--strict"});
        EXPECT_EQ(packed.status, 0) << packed.err.toStdString();
        EXPECT_TRUE(packed.err.isEmpty()) << packed.err.toStdString();
        const ToolRun check = Tool({"check", Path("stored.VX")});
        EXPECT_EQ(check.status, 0) << check.out.toStdString();
        EXPECT_EQ(QJsonDocument::fromJson(Tool({"info", Path("stored.VX")}).out).object()["diff_count"].toInt(), 2);
    }

    const QJsonArray oneMissed{QJsonArray{16, 26, 44, 48}};
    const ToolRun warned = pack(oneMissed, {});
    EXPECT_EQ(warned.status, 0);
    EXPECT_TRUE(warned.err.startsWith("warning: uncovered_change: {\"box\":[")) << warned.err.toStdString();
    EXPECT_TRUE(QFile::exists(Path("stored.VX")));
    const ToolRun strict = pack(oneMissed, {"--strict"});
    EXPECT_EQ(strict.status, 1);
    EXPECT_FALSE(QFile::exists(Path("stored.VX")));
}

// --preview draws the photo with the rectangles on it.
TEST_F(DiffCommand, PreviewShowsTheRectanglesOnThePhoto) {
    ASSERT_TRUE(Picture({{QRect(10, 10, 10, 10)}}).save(Path("photo.png")));
    const ToolRun got = Tool({"diff", Path("scene.png"), Path("photo.png"), "--preview", Path("preview.png")});
    ASSERT_EQ(got.status, 0) << got.err.toStdString();
    EXPECT_TRUE(got.err.isEmpty());
    const QImage preview(Path("preview.png"));
    ASSERT_EQ(preview.size(), QSize(kW, kH));
    // The rectangle [6,6,24,24] is outlined just outside, in yellow within a
    // dark band; the photo shows through elsewhere.
    EXPECT_EQ(preview.pixel(5, 15), qRgb(255, 220, 0));
    EXPECT_EQ(preview.pixel(24, 15), qRgb(255, 220, 0));
    EXPECT_LT(qGray(preview.pixel(2, 15)), 40);
    EXPECT_EQ(preview.pixel(6, 15), qRgb(100, 100, 100));
    EXPECT_EQ(preview.pixel(40, 40), qRgb(100, 100, 100));
    EXPECT_EQ(preview.pixel(15, 15), qRgb(220, 220, 220));
}

}  // namespace
