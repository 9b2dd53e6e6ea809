// Packed DIB -> 0xFFRRGGBB pixels. Every offset is computed in 64 bits and
// checked against the block before it is read.
#include "picture/dib_pixels.h"

#include <bit>
#include <cstring>

namespace vexa {

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return kBlack | (r << 16) | (g << 8) | b; }

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255.
class Channel {
public:
    explicit Channel(std::uint32_t mask) : mask_(mask) {
        if (mask == 0) return;
        shift_ = std::countr_zero(mask);
        max_ = (std::uint64_t{1} << std::bit_width(mask >> shift_)) - 1;
    }
    std::uint32_t operator()(std::uint32_t pixel) const {
        if (max_ == 0) return 0;
        const std::uint64_t v = (pixel & mask_) >> shift_;
        return static_cast<std::uint32_t>((v * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    std::uint64_t max_ = 0;
};

struct Picture {
    int width;
    int height;
    bool topDown;
    std::vector<std::uint32_t>* argb;
    const std::vector<std::uint32_t>* palette;

    // Stored row r (0 = first in the block) -> output row.
    void Put(std::int64_t x, std::int64_t r, std::uint32_t colour) const {
        if (x < 0 || x >= width || r < 0 || r >= height) return;
        const std::int64_t y = topDown ? r : height - 1 - r;
        (*argb)[static_cast<std::size_t>(y * width + x)] = colour;
    }
    std::uint32_t Index(std::uint32_t i) const { return i < palette->size() ? (*palette)[i] : kBlack; }
};

void DrawRows(const Picture& pic, const std::uint8_t* bits, std::uint64_t stride, int bitCount,
              const Channel& red, const Channel& green, const Channel& blue) {
    for (int r = 0; r < pic.height; ++r) {
        const std::uint8_t* row = bits + stride * static_cast<std::uint64_t>(r);
        for (int x = 0; x < pic.width; ++x) {
            std::uint32_t c;
            switch (bitCount) {
                case 1: c = pic.Index((row[x >> 3] >> (7 - (x & 7))) & 1u); break;
                case 4: c = pic.Index((x & 1) ? row[x >> 1] & 0x0Fu : row[x >> 1] >> 4); break;
                case 8: c = pic.Index(row[x]); break;
                case 16: {
                    const std::uint32_t v = Get16(row + 2 * x);
                    c = Rgb(red(v), green(v), blue(v));
                    break;
                }
                case 24: c = Rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
                default: {
                    const std::uint32_t v = Get32(row + 4 * static_cast<std::size_t>(x));
                    c = Rgb(red(v), green(v), blue(v));
                    break;
                }
            }
            pic.Put(x, r, c);
        }
    }
}

// RLE8 / RLE4 codes; runs, absolute runs and deltas that leave the picture
// are clipped, and the data ending early leaves the rest black.
void DrawRle(const Picture& pic, const std::uint8_t* p, std::uint64_t size, bool rle4) {
    std::uint64_t pos = 0;
    std::int64_t x = 0, r = 0;
    auto nibbleColour = [&](std::uint8_t byte, std::uint64_t i) {
        return pic.Index(rle4 ? ((i & 1) ? byte & 0x0Fu : byte >> 4) : byte);
    };
    while (pos + 2 <= size && r < pic.height) {
        const std::uint8_t n = p[pos], c = p[pos + 1];
        pos += 2;
        if (n > 0) {
            for (std::uint64_t i = 0; i < n; ++i) pic.Put(x + static_cast<std::int64_t>(i), r, nibbleColour(c, i));
            x += n;
        } else if (c == 0) {
            x = 0;
            ++r;
        } else if (c == 1) {
            return;
        } else if (c == 2) {
            if (pos + 2 > size) return;
            x += p[pos];
            r += p[pos + 1];
            pos += 2;
        } else {
            const std::uint64_t bytes = rle4 ? (c + 1u) / 2u : c;
            for (std::uint64_t i = 0; i < c; ++i) {
                const std::uint64_t at = pos + (rle4 ? i / 2 : i);
                if (at >= size) return;
                pic.Put(x + static_cast<std::int64_t>(i), r, nibbleColour(p[at], i));
            }
            x += c;
            pos += (bytes + 1) & ~std::uint64_t{1};  // absolute runs are padded to 16 bits
        }
    }
}

}  // namespace

bool DecodeDibPixels(const std::uint8_t* data, std::size_t size, DibPixels& out) {
    return DecodeDib(data, size, out) == TDibDecode::Drawn;
}

TDibDecode DecodeDib(const std::uint8_t* data, std::size_t size, DibPixels& out) {
    constexpr TDibDecode kNothing = TDibDecode::Nothing, kShort = TDibDecode::TooShort;
    out = DibPixels{};
    if (data == nullptr || size < 40) return kShort;
    const TDibHeaderFields header = ReadDibHeaderFields(data, size);
    const std::uint64_t headerSize = header.Size & 0xFFFFu;
    const std::int32_t width = header.Width, height = header.Height;
    const int bitCount = header.BitCount;
    const std::uint32_t compression = header.Compression;
    if (headerSize < 40 || width <= 0 || height == 0 || height == INT32_MIN) return kNothing;

    const bool topDown = height < 0;
    const std::int64_t rows = topDown ? -static_cast<std::int64_t>(height) : height;
    if (!PictureSizeAllowed(width, rows)) return kNothing;

    bool known;
    switch (compression) {
        case kBiRgb:
            known = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
                    bitCount == 32;
            break;
        case kBiRle8: known = bitCount == 8; break;
        case kBiRle4: known = bitCount == 4; break;
        case kBiBitfields: known = bitCount == 16 || bitCount == 32; break;
        default: known = false;
    }
    if (!known) return kNothing;

    const std::uint64_t colours = ColorCount(header);

    // With BI_BITFIELDS the three masks sit at offset 40: after a 40-byte
    // header, or inside a larger one.
    std::uint32_t masks[3] = {0x7C00u, 0x03E0u, 0x001Fu};
    if (bitCount == 32) masks[0] = 0xFF0000u, masks[1] = 0xFF00u, masks[2] = 0xFFu;
    std::uint64_t tableOffset = headerSize;
    if (compression == kBiBitfields) {
        if (size < 52) return kShort;
        for (int i = 0; i < 3; ++i) masks[i] = Get32(data + 40 + 4 * i);
        if (headerSize == 40) tableOffset += 12;
    }
    const std::uint64_t pixelOffset = tableOffset + 4 * colours;
    if (pixelOffset > size) return kShort;

    std::vector<std::uint32_t> palette;
    if (bitCount <= 8) {
        palette.resize(static_cast<std::size_t>(colours));
        for (std::uint64_t i = 0; i < colours; ++i) {
            const std::uint8_t* q = data + tableOffset + 4 * i;
            palette[i] = Rgb(q[2], q[1], q[0]);
        }
    }

    const std::uint64_t available = size - pixelOffset;
    const std::uint64_t stride = DibStride(static_cast<std::uint64_t>(width), bitCount);
    const bool rle = compression == kBiRle8 || compression == kBiRle4;
    if (!rle && stride * static_cast<std::uint64_t>(rows) > available) return kShort;

    std::vector<std::uint32_t> argb(static_cast<std::size_t>(static_cast<std::int64_t>(width) * rows), kBlack);
    const Picture pic{width, static_cast<int>(rows), topDown, &argb, &palette};
    if (rle)
        DrawRle(pic, data + pixelOffset, available, compression == kBiRle4);
    else
        DrawRows(pic, data + pixelOffset, stride, bitCount, Channel(masks[0]), Channel(masks[1]), Channel(masks[2]));

    out.Width = width;
    out.Height = static_cast<int>(rows);
    out.BitCount = bitCount;
    out.Argb = std::move(argb);
    return TDibDecode::Drawn;
}

}  // namespace vexa
