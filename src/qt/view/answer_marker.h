// One frame of an answer marker: a small child of the view's viewport that
// draws only a one-pixel outline, so the picture stays visible inside it.
// Mouse events pass through it to the view.
#pragma once

#include <QColor>
#include <QCursor>
#include <QWidget>

namespace vexa {

// How a frame draws itself. Conspicuous: the outer frame draws a two-pixel
// band of short black and white pieces; Blank: the inner frame then draws
// nothing, so the band is the whole marker.
enum class TMarkerLook { Plain, Conspicuous, Blank };

class TMarkerFrame : public QWidget {
    Q_OBJECT

public:
    // Outer frames are 21 x 21 grey, inner frames 19 x 19 black.
    TMarkerFrame(int side, QColor colour, QWidget* parent);

    // Moves the frame without resizing it and brings it to the top of its
    // siblings, as every move of a marker does.
    void MoveToTop(QPoint corner);

    void SetLook(TMarkerLook look);
    // Drawn at the view's zoom: the side and the outline grow with it.
    void SetScale(double scale);
    TMarkerLook Look() const { return Look_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor Colour_;
    int Side_;
    double Scale_ = 1.0;
    TMarkerLook Look_ = TMarkerLook::Plain;
};

inline const QColor kMarkerOuterColour{128, 128, 128};
inline const QColor kMarkerInnerColour{0, 0, 0};

// The drag cursor "MyCursor": a 21 x 21 square outline with ticks every 5
// pixels and a black cross with a white border in the middle; hot spot (10, 10).
QCursor MakeDragCursor();

}  // namespace vexa
