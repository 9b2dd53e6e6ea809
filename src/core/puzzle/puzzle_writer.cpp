#include "puzzle/puzzle_writer.h"

#include "puzzle/puzzle_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <stdexcept>

namespace vexa {

void AppendI16(std::vector<std::uint8_t>& out, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    out.push_back(static_cast<std::uint8_t>(u));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
}

void AppendI32(std::vector<std::uint8_t>& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(u >> shift));
}

void AppendTextBlock(std::vector<std::uint8_t>& out, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        throw std::invalid_argument("text block too long");
    AppendI16(out, static_cast<std::int16_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

void AppendDataBlock(std::vector<std::uint8_t>& out, const Block& block) {
    if (block.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::invalid_argument("data block too long");
    AppendI32(out, static_cast<std::int32_t>(block.size()));
    out.insert(out.end(), block.begin(), block.end());
}

namespace {

// The text of a field up to its first zero byte (at most width - 1 bytes),
// followed by a zero byte.
std::string WithZero(const char* field, std::size_t width) {
    std::string text(field, std::min(width - 1, ::strnlen(field, width)));
    text.push_back('\0');
    return text;
}

}  // namespace

std::vector<std::uint8_t> SerializePuzzle(const TPuzzleData& record, const TPuzzleSideValues& side,
                                          const TPictureSources& sources) {
    std::vector<std::uint8_t> out;
    AppendTextBlock(out, std::string_view(kPuzzleHeader, sizeof kPuzzleHeader - 1));
    AppendTextBlock(out, WithZero(record.Title, sizeof record.Title));
    AppendTextBlock(out, WithZero(record.SectionName, sizeof record.SectionName));
    AppendTextBlock(out, WithZero(side.ExtraText, sizeof side.ExtraText));
    AppendI16(out, side.ExtraValue1);
    AppendI16(out, side.ExtraValue2);
    AppendI16(out, record.DiffCount);
    const int rects = record.DiffsInPlay();
    for (int i = 0; i < rects; ++i) {
        const TDiffRect& r = record.DiffRects[i];
        for (std::int32_t v : {r.Left, r.Top, r.Right, r.Bottom}) AppendI16(out, static_cast<std::int16_t>(v));
    }
    for (std::int16_t count : record.TableCounts) AppendI16(out, count);
    for (int t = 0; t < kTableCount; ++t) {
        const std::int16_t count = record.TableCounts[t];
        if (count <= 0) continue;
        if (record.Tables[t].size() != static_cast<std::size_t>(count) * kAnimRecordBytes)
            throw std::invalid_argument("table " + std::to_string(t) + " does not hold its count of records");
        out.insert(out.end(), record.Tables[t].begin(), record.Tables[t].end());
    }
    for (const TPairSize& s : record.PairSizes) {
        AppendI16(out, s.Width);
        AppendI16(out, s.Height);
    }
    for (int i = 0; i < kPictureCount; ++i) {
        const TPictureSource& src = sources[i];
        if (src.Jpeg) {
            AppendI32(out, src.StreamLength);
            AppendDataBlock(out, src.Stream);
        } else {
            AppendI32(out, 0);
            AppendDataBlock(out, PictureOf(record, i));
        }
    }
    return out;
}

bool WritePuzzleFile(const std::string& path, const TPuzzleData& record, const TPuzzleSideValues& side,
                     const TPictureSources& sources) {
    const std::vector<std::uint8_t> bytes = SerializePuzzle(record, side, sources);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace vexa
