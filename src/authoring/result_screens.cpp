#include "result_screens.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace vexa::authoring {

namespace {

struct Look {
    QColor tint;  // laid over the photo
    const char* caption;
    QColor fill, outline;
};

// Captions are filled outlines of the Japanese font, so they look the same
// wherever the font is installed, and stand out on any photo.
void Caption(QPainter& p, const QString& text, const QRect& area, const Look& look) {
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(std::max(12, area.width() / 9));
    font.setWeight(QFont::Bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath path;
    path.addText(0, 0, font, text);
    QRectF r = path.boundingRect();
    // Long captions shrink to fit the width.
    const double fit = std::min(1.0, area.width() * 0.9 / std::max(1.0, r.width()));
    QTransform t;
    t.scale(fit, fit);
    path = t.map(path);
    r = path.boundingRect();
    path.translate(area.center().x() - r.center().x(), area.center().y() - r.center().y());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(look.outline, std::max(3, area.width() / 70), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(look.fill);
    p.drawPath(path);
}

}  // namespace

std::array<QImage, 3> ResultScreens(const QImage& photo, int longSide) {
    const QImage base = (std::max(photo.width(), photo.height()) > longSide
                             ? photo.scaled(longSide, longSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             : photo)
                            .convertToFormat(QImage::Format_RGB32);
    const Look looks[3] = {
        {QColor(20, 20, 40, 170), "ざんねん！", QColor(200, 210, 255), QColor(20, 20, 60)},
        {QColor(10, 60, 120, 110), "あと少し！", QColor(255, 255, 255), QColor(10, 50, 110)},
        {QColor(255, 190, 40, 70), "全部見つけた！", QColor(255, 230, 60), QColor(150, 40, 0)},
    };
    std::array<QImage, 3> screens;
    for (int k = 0; k < 3; ++k) {
        QImage image = base;
        if (k == 0) image = image.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        QPainter p(&image);
        p.fillRect(image.rect(), looks[k].tint);
        Caption(p, QString::fromUtf8(looks[k].caption), image.rect(), looks[k]);
        p.end();
        screens[k] = image;
    }
    return screens;
}

}  // namespace vexa::authoring
