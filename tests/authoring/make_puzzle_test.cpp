// Making a puzzle from a photo: which edits are kept as fair, and the made
// puzzle as the player and the checks see it.
#include "authoring/make_puzzle.h"
#include "authoring/photo_edits.h"
#include "authoring/change_measure.h"

#include "picture/dib_pixels.h"

#include "puzzle/puzzle_file.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <QGuiApplication>
#include <QImage>
#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>

namespace {

using namespace vexa::authoring;

// Result screens are drawn with fonts, which needs a GUI application.
void EnsureApp() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);
}

// A calm textured ground with a few objects: a red disc, a blue and yellow
// half-and-half disc (not mirror-symmetric), a green square and a small dark dot.
cv::Mat Scene() {
    cv::Mat image(240, 320, CV_8UC3);
    std::mt19937 noise(7);
    for (int y = 0; y < image.rows; ++y)
        for (int x = 0; x < image.cols; ++x) {
            const int n = static_cast<int>(noise() % 7) - 3;
            image.at<cv::Vec3b>(y, x) = cv::Vec3b(cv::saturate_cast<uchar>(180 + n + y / 8),
                                                  cv::saturate_cast<uchar>(170 + n + x / 16), cv::saturate_cast<uchar>(150 + n));
        }
    cv::circle(image, {70, 70}, 22, cv::Scalar(210, 40, 40), cv::FILLED, cv::LINE_AA);
    cv::ellipse(image, {230, 70}, {22, 22}, 0, 90, 270, cv::Scalar(40, 60, 200), cv::FILLED, cv::LINE_AA);
    cv::ellipse(image, {230, 70}, {22, 22}, 0, -90, 90, cv::Scalar(230, 210, 30), cv::FILLED, cv::LINE_AA);
    cv::rectangle(image, cv::Rect(60, 160, 40, 40), cv::Scalar(40, 160, 60), cv::FILLED);
    cv::circle(image, {230, 180}, 2, cv::Scalar(40, 30, 30), cv::FILLED);
    return image;
}

Region RegionAt(const cv::Rect& box, bool disc) {
    Region r;
    r.box = {box.x, box.y, box.x + box.width, box.y + box.height};
    r.mask = cv::Mat::zeros(box.size(), CV_8U);
    if (disc)
        cv::circle(r.mask, {box.width / 2, box.height / 2}, box.width / 2 - 1, 255, cv::FILLED);
    else
        r.mask.setTo(255);
    r.area = cv::countNonZero(r.mask);
    return r;
}

struct EditCase {
    const char* name;
    EditKind kind;
    cv::Rect box;
    bool disc;
    Difficulty difficulty;
    std::vector<Box> taken;
    bool kept;
    const char* why;  // when refused
};

TEST(MadeEdits, KeptOnlyWhenFair) {
    const cv::Mat scene = Scene();
    const EditCase cases[] = {
        {"remove the red disc", EditKind::Remove, {46, 46, 48, 48}, true, Difficulty::Normal, {}, true, ""},
        {"recolour the red disc", EditKind::Recolour, {46, 46, 48, 48}, true, Difficulty::Normal, {}, true, ""},
        {"mirror the two-colour disc", EditKind::Mirror, {206, 46, 48, 48}, true, Difficulty::Normal, {}, true, ""},
        {"mirror the red disc: the same", EditKind::Mirror, {46, 46, 48, 48}, true, Difficulty::Normal, {}, false,
         "not visible"},
        {"resize the green square", EditKind::Resize, {58, 158, 44, 44}, false, Difficulty::Normal, {}, true, ""},
        {"add a copy of the red disc", EditKind::Add, {46, 46, 48, 48}, true, Difficulty::Easy, {}, true, ""},
        {"remove plain ground: nothing to see", EditKind::Remove, {140, 110, 30, 30}, true, Difficulty::Normal, {},
         false, "not visible"},
        {"remove the dot: too small at normal", EditKind::Detail, {226, 176, 9, 9}, true, Difficulty::Normal, {},
         false, ""},
        {"recolour beside a kept difference", EditKind::Recolour, {46, 46, 48, 48}, true, Difficulty::Normal,
         {{40, 96, 100, 120}}, false, "too close to another difference"},
        {"recolour at the very border", EditKind::Recolour, {0, 100, 20, 40}, false, Difficulty::Normal, {}, false,
         "at the border"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat edited = scene.clone();
        SeededDraws draws(3);
        EditArea area;
        const Region region = RegionAt(c.box, c.disc);
        ASSERT_TRUE(ApplyEdit(c.kind, region, scene, ColoursOf(scene), edited, c.taken, 12, draws, area));
        const Verdict v = VerifyEdit(scene, edited, area, c.taken, FairnessFor(c.difficulty), 12);
        EXPECT_EQ(v.kept, c.kept) << v.why;
        if (!c.kept && *c.why) {
            EXPECT_EQ(v.why, c.why);
        }
        if (c.kept && c.kind != EditKind::Add) {
            EXPECT_LE(v.rect.left, c.box.x);
            EXPECT_GE(v.rect.right, c.box.x + c.box.width - 2);
        }
    }
}

TEST(MadeEdits, AHardEdgedPatchOnTextureIsASeam) {
    cv::Mat scene(160, 160, CV_8UC3);
    std::mt19937 noise(11);
    for (int y = 0; y < scene.rows; ++y)
        for (int x = 0; x < scene.cols; ++x) {
            const uchar v = static_cast<uchar>(100 + noise() % 40);
            scene.at<cv::Vec3b>(y, x) = cv::Vec3b(v, v, v);
        }
    cv::Mat edited = scene.clone();
    edited(cv::Rect(60, 60, 40, 40)).setTo(cv::Scalar(230, 230, 230));
    EditArea area{{56, 56, 104, 104}, cv::Mat::zeros(48, 48, CV_8U)};
    area.blend(cv::Rect(4, 4, 40, 40)).setTo(255);
    const Verdict v = VerifyEdit(scene, edited, area, {}, FairnessFor(Difficulty::Normal), 12);
    EXPECT_FALSE(v.kept);
    EXPECT_EQ(v.why, "leaves a seam");
}

class MadePuzzle : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        ASSERT_TRUE(dir.isValid());
        photo = dir.filePath("photo.png").toStdString();
        const cv::Mat scene = Scene();
        QImage(scene.data, scene.cols, scene.rows, static_cast<qsizetype>(scene.step), QImage::Format_RGB888)
            .save(QString::fromStdString(photo));
    }
    QTemporaryDir dir;
    std::string photo;
};

TEST_F(MadePuzzle, SameSeedSameBytesOtherSeedOtherPuzzle) {
    MakeOptions options;
    options.differences = 3;
    options.seed = 5;
    const MakeResult a = MakePuzzle(photo, options), b = MakePuzzle(photo, options);
    ASSERT_EQ(a.failure, MakeFailure::None) << a.detail;
    EXPECT_EQ(a.puzzle, b.puzzle);
    options.seed = 6;
    const MakeResult c = MakePuzzle(photo, options);
    ASSERT_EQ(c.failure, MakeFailure::None) << c.detail;
    EXPECT_NE(a.puzzle, c.puzzle);
    EXPECT_NE(a.section, c.section);
}

TEST_F(MadePuzzle, MixesItsKinds) {
    // The scene's objects suit several kinds each, so none may take more than its share.
    for (const int differences : {3, 4}) {
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(testing::Message() << differences << " differences, seed " << seed);
            MakeOptions options;
            options.differences = differences;
            options.seed = seed;
            const MakeResult made = MakePuzzle(photo, options);
            ASSERT_EQ(made.failure, MakeFailure::None) << made.detail;
            std::map<std::string, int> kinds;
            for (const MadeEdit& e : made.edits) ++kinds[e.kind];
            for (const auto& [kind, count] : kinds) EXPECT_LE(count, KindShare(differences)) << kind;
        }
    }
}

TEST_F(MadePuzzle, LoadsWithTheRectanglesItReports) {
    MakeOptions options;
    options.differences = 4;
    options.title = "テスト";
    const MakeResult made = MakePuzzle(photo, options);
    ASSERT_EQ(made.failure, MakeFailure::None) << made.detail;
    ASSERT_GE(made.differences, 1);
    static vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    record.Reset();
    ASSERT_EQ(vexa::LoadPuzzleBytes(record, side, made.puzzle.data(), made.puzzle.size(), &sources),
              vexa::TLoadError::None);
    EXPECT_EQ(record.DiffCount, made.differences);
    EXPECT_STREQ(record.Title, "\x83\x65\x83\x58\x83\x67");  // テスト in Shift-JIS
    for (int i = 0; i < vexa::kPictureCount; i += 2) EXPECT_TRUE(sources[i].Jpeg) << i;
    for (int i = 0; i < made.differences; ++i) {
        EXPECT_EQ(record.DiffRects[i].Left, made.edits[i].left);
        EXPECT_EQ(record.DiffRects[i].Bottom, made.edits[i].bottom);
    }
    // As stored and decoded: every change inside a rectangle, and each
    // rectangle holds at least 150 pixels changed by more than 40 in a channel.
    vexa::DibPixels scene, photo;
    ASSERT_TRUE(vexa::DecodeDibPixels(record.BasePictures[0].data(), record.BasePictures[0].size(), scene));
    ASSERT_TRUE(vexa::DecodeDibPixels(record.BasePictures[4].data(), record.BasePictures[4].size(), photo));
    const ChangeMap map = MeasureChanges(scene, photo, MeasureSettings{});
    EXPECT_FALSE(map.shift);
    for (const Change& c : map.changes) {
        const bool covered = std::any_of(made.edits.begin(), made.edits.end(), [&](const MadeEdit& e) {
            return Inside(Box{e.left, e.top, e.right, e.bottom}, c.box);
        });
        EXPECT_TRUE(covered) << BoxJson(c.box);
    }
    for (const MadeEdit& e : made.edits) {
        int strong = 0;
        for (int y = e.top; y < e.bottom; ++y)
            for (int x = e.left; x < e.right; ++x) {
                const std::uint32_t a = scene.Argb[y * scene.Width + x], b = photo.Argb[y * photo.Width + x];
                for (int shift : {0, 8, 16})
                    if (std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)) > 40) {
                        ++strong;
                        break;
                    }
            }
        EXPECT_GE(strong, 150) << e.kind;
    }
}

TEST_F(MadePuzzle, ExifOrientationIsHonoured) {
    const cv::Mat scene = Scene();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImage(scene.data, scene.cols, scene.rows, static_cast<qsizetype>(scene.step), QImage::Format_RGB888)
                    .save(&buffer, "JPEG", 90));
    // An APP1 segment after SOI: EXIF, one IFD entry, Orientation (0x0112) = 6, turn 90 degrees clockwise.
    const char exif[] = "\xFF\xE1\x00\x22" "Exif\0\0" "MM\0\x2A\0\0\0\x08" "\0\x01"
                        "\x01\x12\0\x03\0\0\0\x01\0\x06\0\0" "\0\0\0\0";
    jpeg.insert(2, QByteArray(exif, sizeof exif - 1));
    const std::string turned = dir.filePath("turned.jpg").toStdString();
    QFile file(QString::fromStdString(turned));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(jpeg);
    file.close();
    MakeOptions options;
    options.differences = 3;
    const MakeResult made = MakePuzzle(turned, options);
    ASSERT_EQ(made.failure, MakeFailure::None) << made.detail;
    static vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    record.Reset();
    ASSERT_EQ(vexa::LoadPuzzleBytes(record, side, made.puzzle.data(), made.puzzle.size()), vexa::TLoadError::None);
    EXPECT_EQ(record.PairSizes[0].Width, scene.rows);
    EXPECT_EQ(record.PairSizes[0].Height, scene.cols);
}

TEST_F(MadePuzzle, PhotosItCannotUseSayWhy) {
    const std::string small = dir.filePath("small.png").toStdString();
    QImage(100, 80, QImage::Format_RGB32).save(QString::fromStdString(small));
    const std::string flat = dir.filePath("flat.png").toStdString();
    QImage grey(400, 300, QImage::Format_RGB32);
    grey.fill(QColor(128, 128, 128));
    grey.save(QString::fromStdString(flat));
    const std::string junk = dir.filePath("junk.jpg").toStdString();
    QFile file(QString::fromStdString(junk));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    EXPECT_EQ(MakePuzzle(small, {}).failure, MakeFailure::TooSmall);
    EXPECT_EQ(MakePuzzle(flat, {}).failure, MakeFailure::TooFlat);
    EXPECT_EQ(MakePuzzle(junk, {}).failure, MakeFailure::Unreadable);
    EXPECT_EQ(MakePuzzle(dir.filePath("none.png").toStdString(), {}).failure, MakeFailure::Unreadable);
    MakeOptions longTitle;
    longTitle.title = std::string(60, 'x');
    EXPECT_EQ(MakePuzzle(photo, longTitle).failure, MakeFailure::BadOption);
    int calls = 0;
    EXPECT_EQ(MakePuzzle(photo, {}, [&](int) { return ++calls < 2; }).failure, MakeFailure::Cancelled);
}

}  // namespace
