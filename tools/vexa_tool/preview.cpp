#include "preview.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstdio>

namespace vexatool {

namespace {

// A box outlined twice: a dark band outside, the colour inside, so it stands
// out on any picture. Dashed for marks that are not rectangles.
void Outline(QPainter& p, const vexa::authoring::Box& b, const QColor& colour, bool dashed, int width) {
    const QRectF r(b.left, b.top, b.right - b.left, b.bottom - b.top);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 200), width + 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(r.adjusted(-width, -width, width, width));
    QPen pen(colour, width, dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    p.drawRect(r.adjusted(-width / 2.0, -width / 2.0, width / 2.0, width / 2.0));
}

}  // namespace

bool WritePreview(const std::string& path, const vexa::DibPixels& photo,
                  const std::vector<vexa::authoring::Box>& rects,
                  const std::vector<vexa::authoring::Box>& uncovered,
                  const std::vector<vexa::authoring::Box>& weak) {
    if (photo.Width <= 0 || photo.Height <= 0) {
        std::fprintf(stderr, "%s: no photo to draw the preview on\n", path.c_str());
        return false;
    }
    QImage image(photo.Width, photo.Height, QImage::Format_RGB32);
    for (int y = 0; y < photo.Height; ++y)
        std::copy_n(photo.Argb.data() + static_cast<std::size_t>(y) * photo.Width, photo.Width,
                    reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    // Lines a little thicker on large pictures, so they show when scaled down.
    const int width = std::max(2, std::max(photo.Width, photo.Height) / 400);
    {
        QPainter p(&image);
        for (const auto& b : weak) Outline(p, b, QColor(0, 230, 255), true, width);
        for (const auto& b : rects) Outline(p, b, QColor(255, 220, 0), false, width);
        for (const auto& b : uncovered) Outline(p, b, QColor(255, 40, 60), true, width);
    }
    if (!image.save(QString::fromStdString(path), "PNG")) {
        std::fprintf(stderr, "%s: cannot write the preview\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace vexatool
