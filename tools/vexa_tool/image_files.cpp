#include "image_files.h"
#include "input_files.h"

#include "picture/picture_limits.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdio>
#include <fstream>

namespace vexatool {

namespace {

bool EndsWith(const std::string& s, const char* suffix) {
    const QString q = QString::fromStdString(s);
    return q.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
}

bool SavePpm(const std::string& path, int width, int height, const std::vector<std::uint32_t>& argb) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (std::uint32_t p : argb) {
        const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
        out.write(rgb, 3);
    }
    return static_cast<bool>(out);
}

}  // namespace

bool SaveArgbImage(const std::string& path, int width, int height,
                   const std::vector<std::uint32_t>& argb) {
    if (width <= 0 || height <= 0 || argb.size() != static_cast<std::size_t>(width) * height) {
        std::fprintf(stderr, "%s: no picture to write\n", path.c_str());
        return false;
    }
    bool ok;
    if (EndsWith(path, ".ppm")) {
        ok = SavePpm(path, width, height, argb);
    } else {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            std::copy_n(argb.data() + static_cast<std::size_t>(y) * width, width,
                        reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
        ok = image.save(QString::fromStdString(path), EndsWith(path, ".bmp") ? "BMP" : "PNG");
    }
    if (!ok) std::fprintf(stderr, "%s: cannot write the image\n", path.c_str());
    return ok;
}

std::string PictureSizeProblem(std::int64_t width, std::int64_t height) {
    if (vexa::PictureSizeAllowed(width, height)) return {};
    return std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the player's limit of " +
           PictureLimitText() + " (in area): scale it down";
}

bool DecodeImageBytes(const QByteArray& bytes, QImage& image, std::string& error) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid()) error = PictureSizeProblem(size.width(), size.height());
    if (!error.empty()) return false;
    if (!image.loadFromData(bytes) || image.isNull()) {
        error = "not an image this tool can read";
        return false;
    }
    error = PictureSizeProblem(image.width(), image.height());
    return error.empty();
}

bool ReadImageFile(const std::string& path, QImage& image, std::string& error) {
    QByteArray bytes;
    return ReadInputFile(path, bytes, error) && DecodeImageBytes(bytes, image, error);
}

vexa::DibPixels ImagePixels(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    vexa::DibPixels pixels;
    pixels.Width = image.width();
    pixels.Height = image.height();
    pixels.BitCount = 32;
    pixels.Argb.resize(static_cast<std::size_t>(pixels.Width) * pixels.Height);
    for (int y = 0; y < pixels.Height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < pixels.Width; ++x)
            pixels.Argb[static_cast<std::size_t>(y) * pixels.Width + x] = line[x] | 0xFF000000u;
    }
    return pixels;
}

}  // namespace vexatool
