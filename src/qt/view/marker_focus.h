// The focus frame around the marker that the keyboard moves: a square ring
// a few pixels outside the marker, yellow between two black lines, so that
// it shows on dark and light pictures and differs from the marker itself.
// Mouse events pass through it.
#pragma once

#include <QPoint>
#include <QWidget>

namespace vexa {

class TMarkerFocusFrame : public QWidget {
    Q_OBJECT

public:
    // Pixels between the ring's outer edge and the marker's square.
    static constexpr int kMargin = 5;
    static constexpr int kRing = 4;  // black, yellow, yellow, black

    TMarkerFocusFrame(int markerSide, QWidget* parent);

    // Puts the ring around the marker whose top-left corner is `markerCorner`
    // and whose side is `markerSide` as drawn (it grows with the zoom), and
    // brings it to the top of its siblings.
    void Surround(QPoint markerCorner, int markerSide);

protected:
    void paintEvent(QPaintEvent* event) override;
};

inline const QColor kFocusRingColour{255, 214, 0};

}  // namespace vexa
