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

}  // namespace
