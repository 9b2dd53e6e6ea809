// Each puzzle of the set is a backdrop and up to twenty objects, one per cell
// of a 5 x 4 grid. In the cells chosen for the differences the photo draws
// the object otherwise (recoloured, gone, added, moved or smaller); the
// difference rectangle is the union of both drawings with a small margin, so
// it always holds the change and never reaches a neighbouring cell.
#include "set_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <cmath>

namespace demo {

namespace {

constexpr int kCols = 5, kRows = 4;
constexpr int kCellW = kWidth / kCols, kCellH = kHeight / kRows;

// A fixed generator (not the standard library's distributions, whose output
// may differ between library versions): the set must come out byte for byte.
class Lcg {
public:
    explicit Lcg(unsigned seed) : state_(seed * 2654435761u + 1) {}
    unsigned Next(unsigned n) {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 8) % n;
    }

private:
    unsigned state_;
};

enum class Shape { Ball, Star, Flower, Fish, Tree, House, Gift, Mushroom, Planet, Snowman, Apple, Cup };
enum class Change { None, Recolour, Remove, Add, Move, Shrink };

struct Object {
    Shape shape;
    QPoint centre;
    int size;
    QColor colour;
    Change change = Change::None;
};

struct Theme {
    const char* name;
    const char* title;
    const char* extra;
    QColor skyTop, skyBottom, ground;
    int horizon;  // y where the ground starts
    std::vector<Shape> shapes;
    std::vector<QColor> colours;
};

const std::vector<Theme>& Themes() {
    static const std::vector<Theme> themes = {
        {"beach", "夏の海辺", "砂浜と波の音", QColor(0x5B, 0xB4, 0xF0), QColor(0xCF, 0xEE, 0xFF),
         QColor(0xF0, 0xD9, 0x9C), 150, {Shape::Ball, Shape::Star, Shape::Fish, Shape::Gift},
         {QColor(0xE8, 0x4A, 0x3C), QColor(0xF5, 0xB0, 0x2E), QColor(0x2E, 0x86, 0xDE)}},
        {"flowers", "花いっぱいの丘", "春風の吹く丘", QColor(0x8E, 0xC9, 0xF5), QColor(0xEA, 0xF6, 0xFF),
         QColor(0x88, 0xC8, 0x5A), 110, {Shape::Flower, Shape::Tree, Shape::Mushroom},
         {QColor(0xE9, 0x4F, 0x8A), QColor(0xF7, 0xD0, 0x2C), QColor(0x9B, 0x59, 0xB6)}},
        {"town", "夜の町", "月明かりの通り", QColor(0x10, 0x18, 0x40), QColor(0x3A, 0x3F, 0x78),
         QColor(0x3C, 0x3C, 0x48), 240, {Shape::House, Shape::Tree, Shape::Star},
         {QColor(0xF2, 0xC1, 0x4E), QColor(0xD3, 0x54, 0x00), QColor(0x5D, 0xAD, 0xE2)}},
        {"aquarium", "水族館", "青い水の中", QColor(0x1B, 0x6C, 0xA8), QColor(0x5D, 0xC1, 0xE0),
         QColor(0xE6, 0xD3, 0x9E), 320, {Shape::Fish, Shape::Star, Shape::Ball},
         {QColor(0xFF, 0x8C, 0x1A), QColor(0xFF, 0xE0, 0x4A), QColor(0xE8, 0x3E, 0x6C)}},
        {"kitchen", "台所のテーブル", "おやつの時間", QColor(0xF6, 0xE7, 0xCF), QColor(0xEE, 0xD9, 0xB6),
         QColor(0xB9, 0x7A, 0x48), 170, {Shape::Cup, Shape::Apple, Shape::Gift},
         {QColor(0xC0, 0x39, 0x2B), QColor(0x27, 0xAE, 0x60), QColor(0x29, 0x80, 0xB9)}},
        {"snow", "雪の日", "白い朝の公園", QColor(0xA9, 0xC6, 0xE0), QColor(0xEC, 0xF2, 0xF8),
         QColor(0xF8, 0xFA, 0xFC), 160, {Shape::Snowman, Shape::Tree, Shape::House, Shape::Gift},
         {QColor(0x2E, 0x86, 0x4C), QColor(0xC0, 0x39, 0x2B), QColor(0x34, 0x49, 0x5E)}},
        {"space", "宇宙の旅", "星のあいだを進む", QColor(0x05, 0x05, 0x18), QColor(0x1A, 0x10, 0x3A),
         QColor(0x1A, 0x10, 0x3A), 360, {Shape::Planet, Shape::Star, Shape::Ball},
         {QColor(0xE6, 0x7E, 0x22), QColor(0x5D, 0xAD, 0xE2), QColor(0xF1, 0xC4, 0x0F)}},
        {"forest", "秋の森", "落ち葉の小道", QColor(0xF3, 0xC9, 0x8B), QColor(0xFB, 0xE8, 0xC8),
         QColor(0x9C, 0x6B, 0x3A), 180, {Shape::Tree, Shape::Mushroom, Shape::Apple, Shape::Flower},
         {QColor(0xD3, 0x54, 0x00), QColor(0xB0, 0x3A, 0x2E), QColor(0xE6, 0xA1, 0x1E)}},
    };
    return themes;
}

QColor Recoloured(const QColor& c) {
    const int h = c.hsvHue() < 0 ? 0 : c.hsvHue();
    return QColor::fromHsv((h + 150) % 360, std::max(150, c.hsvSaturation()), std::max(120, c.value()));
}

// Draws `o` centred on `c` within a box of `s` x `s` pixels.
void DrawShape(QPainter& p, Shape shape, QPoint c, int s, const QColor& colour) {
    const int h = s / 2;
    const QColor dark = colour.darker(160);
    p.setPen(QPen(dark, 2));
    p.setBrush(colour);
    switch (shape) {
    case Shape::Ball:
        p.drawEllipse(c, h, h);
        p.setBrush(Qt::white);
        p.drawChord(QRect(c.x() - h, c.y() - h, s, s), 30 * 16, 120 * 16);
        break;
    case Shape::Star: p.drawPolygon(Star(c, h, h * 2 / 5)); break;
    case Shape::Flower:
        p.setPen(QPen(QColor(0x3E, 0x8E, 0x41), 3));
        p.drawLine(c.x(), c.y(), c.x(), c.y() + h);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 6; ++i) {
            const double a = i * M_PI / 3;
            p.drawEllipse(QPointF(c.x() + h * 0.5 * std::cos(a), c.y() - h * 0.2 + h * 0.5 * std::sin(a)), h * 0.32,
                          h * 0.32);
        }
        p.setBrush(QColor(0xFF, 0xF3, 0xB0));
        p.drawEllipse(QPointF(c.x(), c.y() - h * 0.2), h * 0.25, h * 0.25);
        break;
    case Shape::Fish:
        p.drawEllipse(QRect(c.x() - h, c.y() - h / 2, s * 3 / 4, h));
        p.drawPolygon(QPolygon({QPoint(c.x() + h / 2 - 2, c.y()), QPoint(c.x() + h, c.y() - h / 2),
                                QPoint(c.x() + h, c.y() + h / 2)}));
        p.setBrush(Qt::black);
        p.drawEllipse(QPoint(c.x() - h / 2, c.y() - 2), 2, 2);
        break;
    case Shape::Tree:
        p.setBrush(QColor(0x7A, 0x4F, 0x2A));
        p.drawRect(QRect(c.x() - s / 10, c.y(), s / 5, h));
        p.setBrush(colour);
        p.drawEllipse(QPoint(c.x(), c.y() - h / 4), h * 3 / 4, h * 3 / 4);
        break;
    case Shape::House:
        p.setBrush(QColor(0xF2, 0xE3, 0xC6));
        p.drawRect(QRect(c.x() - h * 3 / 4, c.y() - h / 4, h * 3 / 2, h * 3 / 4));
        p.setBrush(colour);
        p.drawPolygon(QPolygon({QPoint(c.x() - h, c.y() - h / 4), QPoint(c.x(), c.y() - h),
                                QPoint(c.x() + h, c.y() - h / 4)}));
        p.setBrush(QColor(0xFF, 0xF0, 0xA8));
        p.drawRect(QRect(c.x() - h / 4, c.y(), h / 2, h / 3));
        break;
    case Shape::Gift:
        p.drawRect(QRect(c.x() - h * 3 / 4, c.y() - h / 2, h * 3 / 2, h * 5 / 4));
        p.setBrush(QColor(0xFF, 0xF4, 0xF0));
        p.drawRect(QRect(c.x() - s / 12, c.y() - h / 2, s / 6, h * 5 / 4));
        break;
    case Shape::Mushroom:
        p.setBrush(QColor(0xF5, 0xEB, 0xDC));
        p.drawRect(QRect(c.x() - s / 8, c.y() - h / 4, s / 4, h * 3 / 4));
        p.setBrush(colour);
        p.drawChord(QRect(c.x() - h, c.y() - h, s, h * 3 / 2), 0, 180 * 16);
        p.setBrush(Qt::white);
        p.drawEllipse(QPoint(c.x() - h / 3, c.y() - h / 2), s / 14 + 1, s / 14 + 1);
        break;
    case Shape::Planet:
        p.drawEllipse(c, h * 2 / 3, h * 2 / 3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour.lighter(140), 3));
        p.drawEllipse(QRect(c.x() - h, c.y() - h / 4, s, h / 2));
        break;
    case Shape::Snowman:
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(0x90, 0xA4, 0xB8), 2));
        p.drawEllipse(QPoint(c.x(), c.y() + h / 3), h * 3 / 5, h * 3 / 5);
        p.drawEllipse(QPoint(c.x(), c.y() - h / 2), h * 2 / 5, h * 2 / 5);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRect(QRect(c.x() - h / 2, c.y() - h / 4 + 1, h, s / 10 + 1));
        break;
    case Shape::Apple:
        p.drawEllipse(c, h * 3 / 4, h * 3 / 4);
        p.setPen(QPen(QColor(0x5A, 0x3A, 0x20), 3));
        p.drawLine(c.x(), c.y() - h * 3 / 4, c.x() + 3, c.y() - h);
        break;
    case Shape::Cup:
        p.drawRect(QRect(c.x() - h / 2, c.y() - h / 2, h, h));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRect(c.x() + h / 2 - 3, c.y() - h / 4, h / 2, h / 2));
        break;
    }
}

// The box a drawing of `size` at `c` stays within (pens included).
QRect BoxOf(QPoint c, int size) { return QRect(c.x() - size / 2 - 2, c.y() - size / 2 - 2, size + 5, size + 5); }

// Where and how an object is drawn in the scene (photo false) or the photo.
bool Drawn(const Object& o, bool photo, QPoint& at, int& size, QColor& colour) {
    at = o.centre;
    size = o.size;
    colour = o.colour;
    if (!photo) return o.change != Change::Add;
    switch (o.change) {
    case Change::Remove: return false;
    case Change::Recolour: colour = Recoloured(o.colour); break;
    case Change::Move: at += QPoint(o.size / 4 + 4, 0); break;
    case Change::Shrink: size = o.size * 3 / 5; break;
    default: break;
    }
    return true;
}

void DrawBackdrop(QPainter& p, const Theme& t, int index) {
    QLinearGradient sky(0, 0, 0, t.horizon);
    sky.setColorAt(0, t.skyTop);
    sky.setColorAt(1, t.skyBottom);
    p.fillRect(QRect(0, 0, kWidth, t.horizon), sky);
    p.fillRect(QRect(0, t.horizon, kWidth, kHeight - t.horizon), t.ground);
    // A few fixed specks (stars, sand, leaves) that are the same in both pictures.
    Lcg specks(100u + static_cast<unsigned>(index));
    p.setPen(Qt::NoPen);
    p.setBrush(t.skyTop.lightness() < 80 ? QColor(0xFF, 0xFF, 0xE0) : t.ground.darker(115));
    for (int i = 0; i < 60; ++i) {
        const int x = static_cast<int>(specks.Next(kWidth));
        const int y = t.skyTop.lightness() < 80 ? static_cast<int>(specks.Next(kHeight))
                                                : t.horizon + static_cast<int>(specks.Next(kHeight - t.horizon + 1));
        p.drawEllipse(QPoint(x, y), 1, 1);
    }
}

QImage Render(const Theme& t, int index, const std::vector<Object>& objects, bool photo) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    DrawBackdrop(p, t, index);
    for (const Object& o : objects) {
        QPoint at;
        int size;
        QColor colour;
        if (Drawn(o, photo, at, size, colour)) DrawShape(p, o.shape, at, size, colour);
    }
    return image;
}

}  // namespace

SetPuzzle DrawSetPuzzle(int index) {
    const Theme& t = Themes()[static_cast<std::size_t>(index)];
    const int diffs = 3 + index;
    // Easier puzzles have bigger objects and changes that jump out.
    const int size = index < 3 ? 54 : index < 6 ? 44 : 34;
    Lcg rng(static_cast<unsigned>(index) + 1);

    // Which cells differ: a shuffle of all twenty, the first `diffs` of it.
    std::vector<int> cells(kCols * kRows);
    for (int i = 0; i < kCols * kRows; ++i) cells[i] = i;
    for (int i = kCols * kRows - 1; i > 0; --i) std::swap(cells[i], cells[rng.Next(static_cast<unsigned>(i + 1))]);
    const Change easy[] = {Change::Remove, Change::Recolour, Change::Add};
    const Change all[] = {Change::Recolour, Change::Remove, Change::Add, Change::Move, Change::Shrink};

    std::vector<Object> objects;
    SetPuzzle puzzle;
    for (int k = 0; k < kCols * kRows; ++k) {
        const int cell = cells[k];
        const bool differs = k < diffs;
        // Cells that do not differ are left empty now and then.
        if (!differs && rng.Next(10) < 3) continue;
        Object o;
        o.shape = t.shapes[rng.Next(static_cast<unsigned>(t.shapes.size()))];
        o.colour = t.colours[rng.Next(static_cast<unsigned>(t.colours.size()))];
        o.size = size + static_cast<int>(rng.Next(7)) - 3;
        const int jitter = 4;
        o.centre = QPoint((cell % kCols) * kCellW + kCellW / 2 - jitter + static_cast<int>(rng.Next(2 * jitter + 1)),
                          (cell / kCols) * kCellH + kCellH / 2 - jitter + static_cast<int>(rng.Next(2 * jitter + 1)));
        if (differs) {
            o.change = index < 3 ? easy[rng.Next(3)] : all[rng.Next(5)];
            QRect box;
            for (bool photo : {false, true}) {
                QPoint at;
                int drawnSize;
                QColor colour;
                if (Drawn(o, photo, at, drawnSize, colour)) box = box.united(BoxOf(at, drawnSize));
            }
            puzzle.differences.push_back(box.adjusted(-3, -3, 3, 3).intersected(QRect(0, 0, kWidth, kHeight)));
        }
        objects.push_back(o);
    }
    puzzle.name = QStringLiteral("%1-%2").arg(index + 1, 2, 10, QChar('0')).arg(QLatin1String(t.name));
    puzzle.title = QString::fromUtf8(t.title);
    puzzle.section = QStringLiteral("Vexa問題集 %1").arg(QLatin1String(t.name));
    puzzle.extraText = QString::fromUtf8(t.extra);
    puzzle.scene = Render(t, index, objects, false);
    puzzle.photo = Render(t, index, objects, true);
    return puzzle;
}

}  // namespace demo
