// The view's zoom and the pair: where the pictures lie in the content, how
// client points and picture pixels map onto each other, scaled painting of
// the part in sight, and the wheel.
#include "view/bit_window.h"

#include "viewcore/view_rules.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace vexa {

TViewPlace TBitWindow::Place() const {
    const QPoint scroll = ScrollPosition();
    if (Plain()) return TViewPlace{TPoint{scroll.x(), scroll.y()}, PictureWidth_, PictureHeight_};
    // A picture that starts right of or below the view's top-left counts as
    // scrolled to its own edge, and one narrower than the pair scrolled past
    // it as scrolled to its last pixel, so that gathering stays on it.
    const QPoint origin = MarkerOrigin();
    const double s = Layout_.Scale;
    const int w = MarkerPictureWidth(), h = MarkerPictureHeight();
    const TPoint top{std::clamp(ToPicture(scroll.x() - origin.x(), s), 0, std::max(w - 1, 0)),
                     std::clamp(ToPicture(scroll.y() - origin.y(), s), 0, std::max(h - 1, 0))};
    return TViewPlace{top, w, h};
}

TPoint TBitWindow::PlayPoint(QPoint client) const {
    if (Plain()) return TPoint{client.x(), client.y()};
    const QPoint content = client + ScrollPosition() - MarkerOrigin();
    const TPoint top = Place().Scroll;
    return TPoint{ToPicture(content.x(), Layout_.Scale) - top.X, ToPicture(content.y(), Layout_.Scale) - top.Y};
}

QPoint TBitWindow::MarkerOrigin() const {
    return Pair_ ? QPoint(Layout_.PhotoX, Layout_.PhotoY) : MainOrigin();
}

QRect TBitWindow::ClientRectOf(const QRect& picture, QPoint origin) const {
    const QPoint scroll = ScrollPosition();
    if (Plain()) return picture.translated(origin - scroll);
    const double s = Layout_.Scale;
    const QPoint topLeft(ToContent(picture.left(), s) - 1, ToContent(picture.top(), s) - 1);
    const QPoint end(ToContent(picture.left() + picture.width(), s) + 1,
                     ToContent(picture.top() + picture.height(), s) + 1);
    return QRect(topLeft, end - QPoint(1, 1)).translated(origin - scroll);
}

QRect TBitWindow::VisiblePictureRect(int margin) const {
    const QPoint content = ScrollPosition() - MarkerOrigin();
    const double s = Layout_.Scale;
    const int x0 = ToPicture(content.x(), s), y0 = ToPicture(content.y(), s);
    const int x1 = ToPicture(content.x() + viewport()->width(), s) + 1;
    const int y1 = ToPicture(content.y() + viewport()->height(), s) + 1;
    return QRect(QPoint(x0 - margin, y0 - margin), QPoint(x1 + margin, y1 + margin));
}

TBitWindow::TAnchor TBitWindow::AnchorAt(QPoint client) const {
    const QPoint scroll = ScrollPosition(), origin = MarkerOrigin();
    return TAnchor{PictureUnder(scroll.x(), client.x(), Layout_.Scale, origin.x()),
                   PictureUnder(scroll.y(), client.y(), Layout_.Scale, origin.y()), client};
}

void TBitWindow::ScrollToAnchor(const TAnchor& anchor) {
    const QPoint origin = MarkerOrigin();
    horizontalScrollBar()->setValue(ScrollPlacing(anchor.PictureX, anchor.Client.x(), Layout_.Scale, origin.x()));
    verticalScrollBar()->setValue(ScrollPlacing(anchor.PictureY, anchor.Client.y(), Layout_.Scale, origin.y()));
}

void TBitWindow::SetZoom(const TZoom& zoom) {
    if (zoom == Zoom_) return;
    Zoom_ = zoom;
    UpdateLayout();
}

void TBitWindow::ScrollToShow(const QRect& picture) {
    QRect area = picture;
    if (!Plain()) {
        const QPoint origin = MarkerOrigin();
        const double s = Layout_.Scale;
        area = QRect(origin.x() + ToContent(picture.x(), s), origin.y() + ToContent(picture.y(), s),
                     ScaledLength(picture.width(), s), ScaledLength(picture.height(), s));
    }
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setValue(vexa::ScrollToShow(h->value(), viewport()->width(), area.x(), area.width()));
    v->setValue(vexa::ScrollToShow(v->value(), viewport()->height(), area.y(), area.height()));
}

void TBitWindow::UpdateLayout() {
    ComputeLayout();
    const TScrollRanges ranges = ComputeScrollRanges(Layout_.Width, Layout_.Height, OuterWidth_, OuterHeight_,
                                                     HScrollHeight_, VScrollWidth_);
    horizontalScrollBar()->setRange(0, ranges.X);
    verticalScrollBar()->setRange(0, ranges.Y);
    PlaceMarkers();
    viewport()->update();
}

void TBitWindow::ComputeLayout() {
    TViewLayoutInput in;
    in.Loaded = Puzzle_.Loaded && CurrentMode_ != ViewMode::None;
    in.Pair = Pair_;
    in.Zoom = Zoom_;
    in.MainWidth = PictureWidth_;
    in.MainHeight = PictureHeight_;
    in.PhotoWidth = PhotoWidth_;
    in.PhotoHeight = PhotoHeight_;
    in.ViewWidth = OuterWidth_;
    in.ViewHeight = OuterHeight_;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableSize() : QSize(OuterWidth_, OuterHeight_);
    in.ScreenWidth = room.width();
    in.ScreenHeight = room.height();
    Layout_ = LayOutView(in);
}

void TBitWindow::DrawPicture(QPainter& painter, const QImage& image, int width, int height, QPoint origin,
                             const QRect& contentClip) const {
    if (image.isNull()) return;
    const QRect whole = QRect(0, 0, width, height) & image.rect();
    const double s = Layout_.Scale;
    if (s == 1.0) {
        painter.drawImage(origin, image, whole);
        return;
    }
    // Only the pixels under the clip are scaled, with two more around them so
    // that the smoothing at a repaint's edge matches a full paint; no scaled
    // copy of the picture is ever kept.
    const QPoint from = contentClip.topLeft() - origin;
    const QPoint to = contentClip.bottomRight() + QPoint(1, 1) - origin;
    const QRect source =
        QRect(QPoint(ToPicture(from.x(), s) - 2, ToPicture(from.y(), s) - 2),
              QPoint(ToPicture(to.x(), s) + 2, ToPicture(to.y(), s) + 2)) &
        whole;
    if (source.isEmpty()) return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(origin);
    painter.scale(s, s);
    painter.drawImage(QRectF(source), image, QRectF(source));
    painter.restore();
}

void TBitWindow::wheelEvent(QWheelEvent* event) {
    event->accept();
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // Whole notches zoom; a fine-grained wheel adds up to one first.
        WheelZoomNotches_ += (angle.y() != 0 ? angle.y() : angle.x()) / 120.0;
        const int notches = static_cast<int>(WheelZoomNotches_);
        if (notches == 0) return;
        WheelZoomNotches_ -= notches;
        if (Input.ZoomWheel) Input.ZoomWheel(notches, event->position().toPoint());
        return;
    }
    // Shift turns the wheel sideways; a tilt scrolls sideways by itself.
    // Touchpads report exact pixels; wheels notches of 120.
    const QPoint pixels = event->pixelDelta();
    const bool exact = !pixels.isNull();
    int dx = 0, dy = 0;
    if ((event->modifiers() & Qt::ShiftModifier) && angle.x() == 0) {
        dx = exact ? pixels.y() : WheelScroll(viewport()->width(), angle.y() / 120.0);
    } else {
        dx = exact ? pixels.x() : WheelScroll(viewport()->width(), angle.x() / 120.0);
        dy = exact ? pixels.y() : WheelScroll(viewport()->height(), angle.y() / 120.0);
    }
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() - dy);
}

}  // namespace vexa
