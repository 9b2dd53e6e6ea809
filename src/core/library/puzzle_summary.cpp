#include "library/puzzle_summary.h"

#include "picture/dib_pixels.h"
#include "puzzle/puzzle_file.h"

#include <algorithm>
#include <cstring>

namespace vexa {

namespace {

// Pair 4's base picture in file order.
constexpr int kPhotoEntry = 2 * 4;

std::string FieldText(const char* field, std::size_t size) { return std::string(field, ::strnlen(field, size)); }

}  // namespace

TThumbnail MakeThumbnail(const std::uint32_t* argb, int width, int height) {
    TThumbnail out;
    if (!argb || width <= 0 || height <= 0) return out;
    // The longer side becomes the box's; the other keeps the proportion.
    const std::int64_t w = width, h = height;
    if (w >= h) {
        out.Width = kThumbnailBox;
        out.Height = static_cast<int>(std::max<std::int64_t>(1, (h * kThumbnailBox + w / 2) / w));
    } else {
        out.Height = kThumbnailBox;
        out.Width = static_cast<int>(std::max<std::int64_t>(1, (w * kThumbnailBox + h / 2) / h));
    }
    out.Rgb.resize(static_cast<std::size_t>(out.Width) * out.Height * 3);
    std::uint8_t* dst = out.Rgb.data();
    for (int ty = 0; ty < out.Height; ++ty) {
        const std::int64_t y0 = ty * h / out.Height;
        const std::int64_t y1 = std::max(y0 + 1, (ty + 1) * h / out.Height);
        for (int tx = 0; tx < out.Width; ++tx) {
            const std::int64_t x0 = tx * w / out.Width;
            const std::int64_t x1 = std::max(x0 + 1, (tx + 1) * w / out.Width);
            std::uint64_t r = 0, g = 0, b = 0;
            for (std::int64_t y = y0; y < y1; ++y) {
                const std::uint32_t* row = argb + y * w;
                for (std::int64_t x = x0; x < x1; ++x) {
                    r += (row[x] >> 16) & 0xFF;
                    g += (row[x] >> 8) & 0xFF;
                    b += row[x] & 0xFF;
                }
            }
            const std::uint64_t n = static_cast<std::uint64_t>((y1 - y0) * (x1 - x0));
            *dst++ = static_cast<std::uint8_t>((r + n / 2) / n);
            *dst++ = static_cast<std::uint8_t>((g + n / 2) / n);
            *dst++ = static_cast<std::uint8_t>((b + n / 2) / n);
        }
    }
    return out;
}

TPuzzleSummary ReadPuzzleSummary(const std::string& path) {
    TPuzzleSummary summary;
    // The record holds at most the one decoded picture; it is freed on return.
    TPuzzleData record;
    TPuzzleSideValues side;
    summary.Error = LoadPuzzlePictures(record, side, path, 1u << kPhotoEntry);
    if (summary.Error != TLoadError::None) return summary;
    summary.Title = FieldText(record.Title, sizeof record.Title);
    summary.Section = FieldText(side.CurrentSection, sizeof side.CurrentSection);
    summary.DiffCount = std::max<int>(0, record.DiffCount);
    const Block& photo = record.BasePictures[4];
    DibPixels pixels;
    if (!photo.empty() && DecodeDibPixels(photo.data(), photo.size(), pixels))
        summary.Thumbnail = MakeThumbnail(pixels.Argb.data(), pixels.Width, pixels.Height);
    return summary;
}

}  // namespace vexa
