// vexa-tool pack [--allow-incomplete] [--strict] MANIFEST.json OUT.VX: builds a puzzle file from a
// manifest, then warns of what `vexa-tool check` finds in it.
#include "commands.h"
#include "image_files.h"
#include "input_files.h"
#include "jpeg_files.h"
#include "manifest.h"
#include "packed_dib.h"
#include "puzzle_check.h"
#include "usage.h"

#include "authoring/change_measure.h"
#include "jpeg/decode_jpeg.h"
#include "picture/dib_pixels.h"
#include "puzzle/picture_budget.h"
#include "puzzle/puzzle_file.h"
#include "puzzle/puzzle_writer.h"

#include <QFileInfo>
#include <QImage>

#include <array>
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
        if (const std::string problem = PictureSizeProblem(out.width, out.height); !problem.empty())
            return Fail(where + ": " + problem);
        out.source = {true, static_cast<std::int32_t>(bytes.size()), ToBlock(bytes)};
        return true;
    }
    QImage image;
    if (!DecodeImageBytes(bytes, image, error)) return Fail(where + ": " + error);
    out.width = image.width();
    out.height = image.height();
    if (wanted.encode) {
        QByteArray stream;
        std::string error;
        if (!vexa::authoring::EncodeBaselineJpeg(image, *wanted.encode, stream, error))
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

// The picture as the player will draw it: the stored stream decoded by the
// player's own decoder, or the stored bitmap.
bool StoredPixels(const PackedPicture& picture, vexa::DibPixels& out) {
    if (!picture.source.Jpeg) return vexa::DecodeDibPixels(picture.dib.data(), picture.dib.size(), out);
    std::vector<std::uint8_t> bitmap;
    return vexa::DecodeJpegToDib(bitmap, picture.source.Stream.data(),
                                 static_cast<std::int32_t>(picture.source.Stream.size())) == vexa::DecodeOk &&
           vexa::DecodeDibPixels(bitmap.data(), bitmap.size(), out);
}

// What the player takes for the pictures in all, as its loader counts it.
std::int64_t DecodedBytes(const std::array<PackedPicture, vexa::kPictureCount>& pictures) {
    std::int64_t total = 0;
    for (const PackedPicture& p : pictures)
        total += p.source.Jpeg ? vexa::JpegBitmapBytesBound(p.source.Stream.data(), p.source.Stream.size())
                               : static_cast<std::int64_t>(p.dib.size());
    return total;
}

// "diffs": "auto": the rectangles `vexa-tool diff` finds between pair 0's
// and pair 4's base pictures as they are stored.
bool FindRects(Manifest& m, const std::array<PackedPicture, vexa::kPictureCount>& pictures) {
    const int photoIndex = 2 * (vexa::kPairCount - 1);
    if (m.pictures[0].file.empty() || m.pictures[photoIndex].file.empty())
        return Fail("diffs: \"auto\" needs the base pictures of pairs[0] and pairs[4]");
    vexa::DibPixels scene, photo;
    if (!StoredPixels(pictures[0], scene) || !StoredPixels(pictures[photoIndex], photo))
        return Fail("diffs: \"auto\": the stored scene or photo cannot be decoded");
    vexa::authoring::MeasureSettings settings;
    settings.join = m.autoRects->join;
    settings.minArea = m.autoRects->minArea;
    const vexa::authoring::ChangeMap map = vexa::authoring::MeasureChanges(scene, photo, settings);
    if (map.shift)
        return Fail("diffs: \"auto\": the photo is shifted by " + std::to_string(map.shift->dx) + ", " +
                    std::to_string(map.shift->dy) + " pixels against the scene; align the two pictures first");
    const std::vector<Box> boxes = vexa::authoring::ProposedRects(map, m.autoRects->margin);
    if (boxes.empty()) return Fail("diffs: \"auto\" found no differences between the scene and the photo");
    if (boxes.size() > static_cast<std::size_t>(vexa::kMaxDiffs))
        return Fail("diffs: \"auto\" found " + std::to_string(boxes.size()) + " differences; at most " +
                    std::to_string(vexa::kMaxDiffs) + " fit (vexa-tool diff shows them)");
    for (const Box& b : boxes)
        m.rects.push_back({static_cast<std::int16_t>(b.left), static_cast<std::int16_t>(b.top),
                           static_cast<std::int16_t>(b.right), static_cast<std::int16_t>(b.bottom)});
    return true;
}

// The written file as `vexa-tool check` sees it; its findings are printed as
// warnings. Returns how many there were.
int WarnOfFindings(const char* outPath, const Manifest& m) {
    static vexa::TPuzzleData written;
    vexa::TPuzzleSideValues side;
    vexa::TPictureSources sources;
    written.Reset();
    if (const vexa::TLoadError error = vexa::LoadPuzzleFile(written, side, outPath, &sources);
        error != vexa::TLoadError::None) {
        std::fprintf(stderr, "warning: %s: the player cannot load it: %s\n", outPath, LoadErrorLine(error).c_str());
        return 1;
    }
    CheckOptions options;
    if (m.autoRects) options.measure.join = m.autoRects->join, options.measure.minArea = m.autoRects->minArea;
    int count = 0;
    for (const Finding& f : CheckPuzzle(written, sources, options)) {
        std::fprintf(stderr, "%s: %s: {%s}\n", f.note ? "note" : "warning", f.kind.c_str(), f.json.c_str());
        count += !f.note;
    }
    return count;
}

}  // namespace

int RunPack(int argc, char** argv) {
    std::vector<const char*> paths;
    bool allowIncomplete = false, strict = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--allow-incomplete") == 0) {
            allowIncomplete = true;
        } else if (std::strcmp(argv[i], "--strict") == 0) {
            strict = true;
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

    std::array<PackedPicture, vexa::kPictureCount> pictures;
    for (int i = 0; i < vexa::kPictureCount; ++i)
        if (!m.pictures[i].file.empty() && !PackPicture(m.pictures[i], pictures[i])) return 1;
    const PackedPicture& scene = pictures[0];
    const PackedPicture& photo = pictures[2 * (vexa::kPairCount - 1)];
    if (scene.width > 0 && photo.width > 0 && (scene.width != photo.width || scene.height != photo.height)) {
        std::fprintf(stderr, "%s: the photo is %dx%d pixels, the scene (%s) %dx%d: they must be the same size\n",
                     m.pictures[2 * (vexa::kPairCount - 1)].field.c_str(), photo.width, photo.height,
                     m.pictures[0].field.c_str(), scene.width, scene.height);
        return 1;
    }
    if (const std::int64_t bytes = DecodedBytes(pictures); bytes > vexa::kMaxPuzzlePictureBytes) {
        std::fprintf(stderr,
                     "pairs: the pictures take %lld MiB once decoded, more than the %s the player allows a "
                     "puzzle: make them smaller\n",
                     static_cast<long long>((bytes + (1 << 20) - 1) >> 20), PuzzleBudgetText().c_str());
        return 1;
    }
    if (m.autoRects && !FindRects(m, pictures)) return 1;

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
        if (m.pictures[i].file.empty()) continue;
        PackedPicture& picture = pictures[i];
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
    if (WarnOfFindings(outPath, m) > 0 && strict) {
        std::fprintf(stderr, "%s: not kept: --strict and vexa-tool check has findings\n", outPath);
        std::remove(outPath);
        return 1;
    }
    return 0;
}

}  // namespace vexatool
