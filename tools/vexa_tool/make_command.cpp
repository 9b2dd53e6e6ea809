// vexa-tool make PHOTO -o OUT.VX | PHOTO... --out-dir DIR [options]: a puzzle
// from a photo, made by the same code as the player's "写真から問題を作る".
#include "commands.h"
#include "usage.h"

#include "authoring/make_puzzle.h"
#include "picture/dib_pixels.h"
#include "puzzle/puzzle_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace vexatool {

namespace {

using vexa::authoring::MakeResult;

QImage BasePicture(const vexa::TPuzzleData& record, int pair) {
    vexa::DibPixels pixels;
    const vexa::Block& dib = record.BasePictures[pair];
    if (!vexa::DecodeDibPixels(dib.data(), dib.size(), pixels)) return {};
    QImage image(pixels.Width, pixels.Height, QImage::Format_RGB32);
    for (int y = 0; y < pixels.Height; ++y)
        std::memcpy(image.scanLine(y), pixels.Argb.data() + static_cast<std::size_t>(y) * pixels.Width,
                    static_cast<std::size_t>(pixels.Width) * 4);
    return image;
}

// The scene and the photo side by side as the player shows them, each
// difference outlined on both and named by the kind of edit.
bool WriteMadePreview(const std::string& path, const MakeResult& made) {
    static vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    record.Reset();
    if (vexa::LoadPuzzleBytes(record, side, made.puzzle.data(), made.puzzle.size()) != vexa::TLoadError::None)
        return false;
    const QImage scene = BasePicture(record, 0), photo = BasePicture(record, vexa::kPairCount - 1);
    if (scene.isNull() || photo.isNull()) return false;
    const int between = 16;
    QImage out(scene.width() * 2 + between, scene.height(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, scene);
    p.drawImage(scene.width() + between, 0, photo);
    const int line = std::max(2, scene.width() / 400);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(std::max(12, scene.width() / 60));
    p.setFont(font);
    for (const auto& e : made.edits)
        for (int x0 : {0, scene.width() + between}) {
            const QRect r(x0 + e.left, e.top, e.right - e.left, e.bottom - e.top);
            p.setPen(QPen(QColor(0, 0, 0, 200), line + 2));
            p.drawRect(r.adjusted(-line, -line, line, line));
            p.setPen(QPen(QColor(255, 220, 0), line));
            p.drawRect(r);
            p.drawText(r.left(), r.top() - line - 2, QString::fromStdString(e.kind));
        }
    p.end();
    return out.save(QString::fromStdString(path), "PNG");
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

// One photo: 0 made, 1 not.
int MakeOne(const std::string& photo, const std::string& out, const std::string& preview,
            vexa::authoring::MakeOptions options, bool drawSeed) {
    if (drawSeed) {
        std::random_device device;
        options.seed = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }
    const MakeResult made = vexa::authoring::MakePuzzle(photo, options);
    if (made.failure != vexa::authoring::MakeFailure::None) {
        std::fprintf(stderr, "%s: %s: %s\n", photo.c_str(), vexa::authoring::FailureName(made.failure),
                     made.detail.c_str());
        return 1;
    }
    if (!made.detail.empty()) std::fprintf(stderr, "note: %s: %s\n", photo.c_str(), made.detail.c_str());
    if (!WriteBytes(out, made.puzzle)) {
        std::fprintf(stderr, "%s: cannot write the file\n", out.c_str());
        return 1;
    }
    std::printf("%s: %d differences, seed %llu\n", out.c_str(), made.differences,
                static_cast<unsigned long long>(options.seed));
    if (!preview.empty() && !WriteMadePreview(preview, made)) {
        std::fprintf(stderr, "%s: cannot write the preview\n", preview.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int RunMake(int argc, char** argv) {
    std::vector<std::string> photos;
    std::string out, outDir, preview;
    vexa::authoring::MakeOptions options;
    bool seeded = false;
    for (int i = 1; i < argc; ++i) {
        const char* value = nullptr;
        if (OptionValue(argc, argv, i, "-o", value) || OptionValue(argc, argv, i, "--out", value)) {
            if (!value) return BadUsage("make", "-o needs the puzzle file to write");
            out = value;
        } else if (OptionValue(argc, argv, i, "--out-dir", value)) {
            if (!value) return BadUsage("make", "--out-dir needs a folder");
            outDir = value;
        } else if (OptionValue(argc, argv, i, "--differences", value)) {
            if (!value || !ParseWhole(value, vexa::authoring::kMinMadeDifferences,
                                      vexa::authoring::kMaxMadeDifferences, options.differences))
                return BadUsage("make", "--differences takes a number from 3 to 10");
        } else if (OptionValue(argc, argv, i, "--difficulty", value)) {
            const std::string d = value ? value : "";
            if (d == "easy") options.difficulty = vexa::authoring::Difficulty::Easy;
            else if (d == "normal") options.difficulty = vexa::authoring::Difficulty::Normal;
            else if (d == "hard") options.difficulty = vexa::authoring::Difficulty::Hard;
            else return BadUsage("make", "--difficulty takes easy, normal or hard");
        } else if (OptionValue(argc, argv, i, "--seed", value)) {
            const char* end = value ? value + std::strlen(value) : nullptr;
            std::uint64_t seed = 0;
            if (!value || *value == '\0' || std::from_chars(value, end, seed).ptr != end)
                return BadUsage("make", "--seed takes a whole number from 0 to 18446744073709551615");
            options.seed = seed;
            seeded = true;
        } else if (OptionValue(argc, argv, i, "--title", value)) {
            if (!value) return BadUsage("make", "--title needs a text");
            options.title = value;
        } else if (OptionValue(argc, argv, i, "--section", value)) {
            if (!value) return BadUsage("make", "--section needs a name");
            options.section = value;
        } else if (OptionValue(argc, argv, i, "--preview", value)) {
            if (!value) return BadUsage("make", "--preview needs the PNG file to write");
            preview = value;
        } else if (IsOption(argv[i])) {
            return BadUsage("make", std::string("unknown option ") + argv[i]);
        } else {
            photos.push_back(argv[i]);
        }
    }
    if (photos.empty()) return BadUsage("make", "give a photo");
    if (out.empty() == outDir.empty()) return BadUsage("make", "give either -o OUT.VX or --out-dir DIR");
    if (!out.empty() && photos.size() != 1) return BadUsage("make", "-o takes one photo; use --out-dir for more");
    if (!outDir.empty() && !preview.empty()) return BadUsage("make", "--preview takes one photo, with -o");

    // Result screens are drawn with fonts, which needs a GUI application; no
    // display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int appArgc = 1;
    static char appName[] = "vexa-tool";
    static char* appArgv[] = {appName, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance()) app = std::make_unique<QGuiApplication>(appArgc, appArgv);

    if (!out.empty()) return MakeOne(photos[0], out, preview, options, !seeded);
    if (!QDir().mkpath(QString::fromStdString(outDir))) {
        std::fprintf(stderr, "%s: cannot make the folder\n", outDir.c_str());
        return 1;
    }
    int status = 0;
    for (const std::string& photo : photos) {
        const QString name = QFileInfo(QString::fromStdString(photo)).completeBaseName() + ".VX";
        const std::string target = QDir(QString::fromStdString(outDir)).filePath(name).toStdString();
        status |= MakeOne(photo, target, {}, options, !seeded);
    }
    return status;
}

}  // namespace vexatool
