// vexa-tool pack MANIFEST.json OUT.VX: builds a puzzle file from a manifest.
#include "commands.h"
#include "jpeg_files.h"
#include "manifest.h"
#include "packed_dib.h"

#include "puzzle/puzzle_file.h"
#include "puzzle/puzzle_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>

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
    QFile file(QString::fromStdString(wanted.file));
    if (!file.open(QIODevice::ReadOnly)) return Fail(where + ": cannot open the file");
    const QByteArray bytes = file.readAll();
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

}  // namespace

int RunPack(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: vexa-tool pack MANIFEST.json OUT.VX\n", stderr);
        return 2;
    }
    QFile manifestFile(QString::fromLocal8Bit(argv[1]));
    if (!manifestFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot open the manifest\n", argv[1]);
        return 1;
    }
    Manifest m;
    std::string error;
    if (!ParseManifest(manifestFile.readAll(), QFileInfo(manifestFile).absolutePath(), m, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }

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
        for (const vexa::TAnimRecord& r : m.tables[t])
            for (std::int16_t v : {r.Command, r.SourceX, r.SourceY, r.DestX, r.DestY, r.Width, r.Height}) {
                record.Tables[t].push_back(static_cast<std::uint8_t>(v));
                record.Tables[t].push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8));
            }
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
        if (!vexa::WritePuzzleFile(argv[2], record, side, sources)) {
            std::fprintf(stderr, "%s: cannot write the file\n", argv[2]);
            return 1;
        }
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "%s: %s\n", argv[2], e.what());
        return 1;
    }
    return 0;
}

}  // namespace vexatool
