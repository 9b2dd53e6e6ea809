// vexa-tool pack [--allow-incomplete] MANIFEST.json OUT.VX: builds a puzzle file from a manifest.
#include "change_regions.h"
#include "commands.h"
#include "image_files.h"
#include "input_files.h"
#include "jpeg_files.h"
#include "manifest.h"
#include "packed_dib.h"
#include "usage.h"

#include "puzzle/puzzle_file.h"
#include "puzzle/puzzle_writer.h"

#include <QFileInfo>
#include <QImage>

#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace vexatool {

namespace {

struct PackedPicture {
    vexa::TPictureSource source;
    vexa::Block dib;  // for DIB entries
    int width = 0, height = 0;
};

bool Fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
}

vexa::Block ToBlock(const QByteArray& bytes) { return vexa::Block(bytes.begin(), bytes.end()); }

bool PackPicture(const PictureSpec& wanted, PackedPicture& out) {
    const std::string where = wanted.field + ": " + wanted.file;
    QByteArray bytes;
    std::string error;
    if (!ReadInputFile(wanted.file, bytes, error)) return Fail(where + ": " + error);
    if (!wanted.encode && IsPlayableBaselineJpeg(bytes, out.width, out.height)) {
        if (out.width > std::numeric_limits<std::int16_t>::max() || out.height > std::numeric_limits<std::int16_t>::max())
            return Fail(where + ": larger than 32767 pixels");
        out.source = {true, static_cast<std::int32_t>(bytes.size()), ToBlock(bytes)};
        return true;
    }
    QImage image;
    if (!image.loadFromData(bytes)) return Fail(where + ": not an image this tool can read");
    out.width = image.width();
    out.height = image.height();
    if (out.width > std::numeric_limits<std::int16_t>::max() || out.height > std::numeric_limits<std::int16_t>::max())
        return Fail(where + ": larger than 32767 pixels");
    if (wanted.encode) {
        QByteArray stream;
        std::string error;
        if (!EncodeBaselineJpeg(image, *wanted.encode, stream, error))
            return Fail(wanted.field + ".encode: " + error);
        out.source = {true, static_cast<std::int32_t>(stream.size()), ToBlock(stream)};
    } else {
        out.dib = MakePackedDib(image);
    }
    const std::size_t stored = out.source.Jpeg ? out.source.Stream.size() : out.dib.size();
    if (stored > static_cast<std::size_t>(vexa::kMaxPictureBlockBytes))
        return Fail(where + ": the stored picture would exceed the player's limit of 64 MiB");
    return true;
}

// "diffs": "auto": the rectangles `vexa-tool diff` finds between the files of
// pair 0's and pair 4's base pictures.
bool FindRects(Manifest& m) {
    const PictureSpec& sceneSpec = m.pictures[0];
    const PictureSpec& photoSpec = m.pictures[2 * (vexa::kPairCount - 1)];
    if (sceneSpec.file.empty() || photoSpec.file.empty())
        return Fail("diffs: \"auto\" needs the base pictures of pairs[0] and pairs[4]");
    QImage scene, photo;
    std::string error;
    for (const auto& [wanted, image] : {std::pair{&sceneSpec, &scene}, std::pair{&photoSpec, &photo}})
        if (!ReadImageFile(wanted->file, *image, error)) return Fail(wanted->field + ": " + wanted->file + ": " + error);
    if (scene.size() != photo.size())
        return Fail("diffs: \"auto\" needs a scene and a photo of the same size");
    const std::vector<Box> boxes = DiffRectangles(ImagePixels(scene), ImagePixels(photo), DiffOptions{});
    if (boxes.empty()) return Fail("diffs: \"auto\" found no differences between the scene and the photo");
    if (boxes.size() > static_cast<std::size_t>(vexa::kMaxDiffs))
        return Fail("diffs: \"auto\" found " + std::to_string(boxes.size()) + " differences; at most " +
                    std::to_string(vexa::kMaxDiffs) + " fit (vexa-tool diff shows them)");
    for (const Box& b : boxes)
        m.rects.push_back({static_cast<std::int16_t>(b.left), static_cast<std::int16_t>(b.top),
                           static_cast<std::int16_t>(b.right), static_cast<std::int16_t>(b.bottom)});
    return true;
}

}  // namespace

int RunPack(int argc, char** argv) {
    std::vector<const char*> paths;
    bool allowIncomplete = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--allow-incomplete") == 0) {
            allowIncomplete = true;
        } else if (IsOption(argv[i])) {
            return BadUsage("pack", std::string("unknown option ") + argv[i]);
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (paths.size() != 2) return BadUsage("pack", "give a manifest and the puzzle file to write");
    const char* manifestPath = paths[0];
    const char* outPath = paths[1];
    QByteArray manifestBytes;
    std::string error;
    if (!ReadInputFile(manifestPath, manifestBytes, error)) {
        std::fprintf(stderr, "%s: %s\n", manifestPath, error.c_str());
        return 1;
    }
    Manifest m;
    if (!ParseManifest(manifestBytes, QFileInfo(QString::fromLocal8Bit(manifestPath)).absolutePath(), m, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    // Judging shows the result screen of pair 1, 2 or 3 and fails on one
    // without a picture; the scene and the photo are shown from the start.
    for (int k = 0; k < vexa::kPairCount && !allowIncomplete; ++k)
        if (m.pictures[2 * k].file.empty()) {
            std::fprintf(stderr,
                         "%s: missing; without a base picture in every pair the player cannot show the puzzle "
                         "to its end (--allow-incomplete writes it all the same)\n",
                         m.pictures[2 * k].field.c_str());
            return 1;
        }
    if (m.autoRects && !FindRects(m)) return 1;

    static vexa::TPuzzleData record;
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    std::memcpy(record.Title, m.title.c_str(), m.title.size() + 1);
    std::memset(record.SectionName, 0, sizeof record.SectionName);
    std::memcpy(record.SectionName, m.section.c_str(), m.section.size() + 1);
    std::memcpy(side.ExtraText, m.extraText.c_str(), m.extraText.size() + 1);
    side.ExtraValue1 = m.extraValue1;
    side.ExtraValue2 = m.extraValue2;
    record.DiffCount = static_cast<std::int16_t>(m.rects.size());
    for (std::size_t i = 0; i < m.rects.size(); ++i) record.DiffRects[i] = m.rects[i];
    for (int t = 0; t < vexa::kTableCount; ++t) {
        record.TableCounts[t] = static_cast<std::int16_t>(m.tables[t].size());
        for (const vexa::TAnimRecord& r : m.tables[t]) vexa::AppendAnimRecord(record.Tables[t], r);
    }
    for (int i = 0; i < vexa::kPictureCount; ++i) {
        const PictureSpec& wanted = m.pictures[i];
        if (wanted.file.empty()) continue;
        PackedPicture picture;
        if (!PackPicture(wanted, picture)) return 1;
        if (picture.source.Jpeg)
            sources[i] = std::move(picture.source);
        else
            vexa::PictureOf(record, i) = std::move(picture.dib);
        if (i % 2 == 0 && !m.sizes[i / 2])
            m.sizes[i / 2] = vexa::TPairSize{static_cast<std::int16_t>(picture.width),
                                             static_cast<std::int16_t>(picture.height)};
    }
    for (int k = 0; k < vexa::kPairCount; ++k) record.PairSizes[k] = m.sizes[k].value_or(vexa::TPairSize{});

    try {
        if (!vexa::WritePuzzleFile(outPath, record, side, sources)) {
            std::fprintf(stderr, "%s: cannot write the file\n", outPath);
            return 1;
        }
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "%s: %s\n", outPath, e.what());
        return 1;
    }
    return 0;
}

}  // namespace vexatool
