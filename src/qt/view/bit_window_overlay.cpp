// What the view draws over its current mode as game play hands it: the
// markers, the review of a judgement and the pause screen.
#include "view/bit_window.h"

#include "view/answer_marker.h"
#include "view/marker_focus.h"
#include "viewcore/view_rules.h"
#include "viewcore/zoom.h"

#include <QPainter>

#include <algorithm>
#include <optional>

namespace vexa {

namespace {

// A pair that people with red-green colour blindness tell apart.
const QColor kFoundOutline{0, 114, 178};
const QColor kMissedOutline{230, 159, 0};
constexpr int kOutlineWidth = 2;

// The hint's frame: a bright line edged in black, so that it shows on light
// and dark pictures alike and, rounded and coloured, is never taken for a
// marker's grey-and-black square.
const QColor kHintLine{255, 200, 0};
const QColor kHintEdge{0, 0, 0};
constexpr int kHintCornerRadius = 10;

const char kPausedText[] = "一時停止中";
const char kResumeText[] = "P キーで再開します";

}  // namespace

void TBitWindow::ShowOverlay(const TPlayOverlay& overlay) {
    Overlay_ = overlay;
    PlaceMarkers();
    viewport()->update();
}

void TBitWindow::PlaceMarkers() {
    const TMarkerBoard& board = Overlay_.Markers;
    const QPoint shift = MarkerOrigin() - ScrollPosition();
    const double s = Layout_.Scale;
    const auto toClient = [&](TPoint p) { return QPoint(ToContent(p.X, s), ToContent(p.Y, s)) + shift; };
    const bool wiping = WipeInProgress();
    // Bottom to top: each frame raised in turn ends in the board's order.
    for (const int i : board.Stacking) {
        if (i < 0 || i >= kMaxDiffs) continue;
        const TPoint corner = board.Corners[i];
        OuterFrames_[i]->SetScale(s);
        InnerFrames_[i]->SetScale(s);
        OuterFrames_[i]->MoveToTop(toClient(corner));
        InnerFrames_[i]->MoveToTop(toClient(board.InnerInset[i] ? TPoint{corner.X + 1, corner.Y + 1} : corner));
        const bool shown = i < Overlay_.MarkersShown && i != board.Lifted && !Overlay_.Paused && !wiping;
        OuterFrames_[i]->setVisible(shown);
        InnerFrames_[i]->setVisible(shown);
    }
    const int selected = board.Selected;
    if (selected >= 0 && selected < kMaxDiffs) {
        FocusFrame_->Surround(toClient(board.Corners[selected]), OuterFrames_[selected]->width());
        FocusFrame_->show();
    } else {
        FocusFrame_->hide();
    }
    // The drag cursor while the mouse holds a marker.
    const bool lifted = board.Lifted >= 0;
    if (lifted && !DragCursorShown_) {
        SavedCursor_ = viewport()->cursor();
        viewport()->setCursor(DragCursor_);
    } else if (!lifted && DragCursorShown_) {
        viewport()->setCursor(SavedCursor_);
    }
    DragCursorShown_ = lifted;
}

void TBitWindow::PaintReview(QPainter& painter, const QRect& visible) {
    // Edges far beyond the client area are pulled in to just beyond it, so
    // that rectangles from the file cannot overflow the painter's coordinates.
    const int margin = kOutlineWidth + 1;
    const int x0 = visible.left() - margin, x1 = visible.right() + 1 + margin;
    const int y0 = visible.top() - margin, y1 = visible.bottom() + 1 + margin;
    const int count = std::min(Puzzle_.DiffsInPlay(), Overlay_.Outlined);
    for (int i = 0; i < count; ++i) {
        const std::optional<TDiffRect> d = DiffRectWithin(Puzzle_.DiffRects[i], x0, y0, x1, y1);
        if (!d) continue;
        const int left = d->Left, right = d->Right, top = d->Top, bottom = d->Bottom;
        const int w = right - left, h = bottom - top;
        const QColor colour = Overlay_.Found[i] ? kFoundOutline : kMissedOutline;
        // Two pixels inside each edge: columns left..left+1 and right-2..right-1,
        // rows top..top+1 and bottom-2..bottom-1.
        const int across = std::min(kOutlineWidth, w), down = std::min(kOutlineWidth, h);
        painter.fillRect(left, top, w, down, colour);
        painter.fillRect(left, bottom - down, w, down, colour);
        painter.fillRect(left, top, across, h, colour);
        painter.fillRect(right - across, top, across, h, colour);
    }
}

void TBitWindow::PaintHintRing(QPainter& painter, const QRect& visible) {
    const THintRing& ring = Overlay_.Hint;
    const int thickness = std::max(ring.Thickness, 3);
    // Edges far outside the client area are pulled in to beyond the reach of
    // the line and the rounded corners, which keeps the visible part as it is
    // and the painter's coordinates small.
    const int margin = thickness + kHintCornerRadius + 2;
    const std::optional<TDiffRect> frame =
        DiffRectWithin(ring.Frame, visible.left() - margin, visible.top() - margin, visible.right() + 1 + margin,
                       visible.bottom() + 1 + margin);
    if (!frame) return;
    const QRectF shape(frame->Left, frame->Top, frame->Right - frame->Left, frame->Bottom - frame->Top);
    const qreal radius = std::min<qreal>({kHintCornerRadius, shape.width() / 2, shape.height() / 2});
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kHintEdge, thickness));
    painter.drawRoundedRect(shape, radius, radius);
    painter.setPen(QPen(kHintLine, thickness - 2));
    painter.drawRoundedRect(shape, radius, radius);
    painter.restore();
}

void TBitWindow::PaintPause(QPainter& painter) {
    painter.setPen(viewport()->palette().color(QPalette::Text));
    QFont big = painter.font();
    big.setPointSizeF(big.pointSizeF() > 0 ? big.pointSizeF() * 2 : 20);
    big.setBold(true);
    const QFont small = painter.font();
    const int bigHeight = QFontMetrics(big).height(), smallHeight = QFontMetrics(small).height();
    const QRect client(QPoint(0, 0), viewport()->size());
    const int gap = smallHeight / 2;
    const int top = client.height() / 2 - (bigHeight + gap + smallHeight) / 2;
    painter.setFont(big);
    painter.drawText(QRect(0, top, client.width(), bigHeight), Qt::AlignCenter, QString::fromUtf8(kPausedText));
    painter.setFont(small);
    painter.drawText(QRect(0, top + bigHeight + gap, client.width(), smallHeight), Qt::AlignCenter,
                     QString::fromUtf8(kResumeText));
}

}  // namespace vexa
