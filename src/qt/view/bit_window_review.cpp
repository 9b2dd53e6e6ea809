// The review of a judgement and the pause screen: two ways the view shows
// something over its current mode.
#include "view/bit_window.h"

#include "view/answer_marker.h"
#include "viewcore/view_rules.h"

#include <QPainter>

#include <algorithm>
#include <optional>

namespace vexa {

namespace {

// A pair that people with red-green colour blindness tell apart.
const QColor kFoundOutline{0, 114, 178};
const QColor kMissedOutline{230, 159, 0};
constexpr int kOutlineWidth = 2;

const char kPausedText[] = "一時停止中";
const char kResumeText[] = "P キーで再開します";

}  // namespace

bool TBitWindow::MarkersShown() const { return (ShowsMarkers(CurrentMode_) || Reviewing_) && !Paused_; }

bool TBitWindow::ShowReview(const TJudgement& judged) {
    Review_ = judged;
    Reviewing_ = true;  // before the switch, which shows the markers
    if (!BuildAndShow(ViewMode::Photo, CurrentMode_)) {
        Reviewing_ = false;
        return false;
    }
    PlaceReviewMarkers();
    return true;
}

void TBitWindow::PlaceReviewMarkers() {
    // Each marker goes back to where it was judged; its inner frame keeps its
    // place inside the outer one.
    const QPoint scroll = ScrollPosition();
    const int count = std::clamp<int>(Puzzle_.DiffCount, 0, std::min(kMarkerCount, Review_.DiffCount));
    for (int i = 0; i < count; ++i) {
        const TPoint point = Review_.Points[i];
        const QPoint corner = QPoint(point.X - kMarkerSize / 2, point.Y - kMarkerSize / 2) - scroll;
        const QPoint shift = corner - OuterFrames_[i]->pos();
        OuterFrames_[i]->move(corner);
        InnerFrames_[i]->move(InnerFrames_[i]->pos() + shift);
    }
}

void TBitWindow::SetPaused(bool paused) {
    if (Paused_ == paused) return;
    FinishWipe();
    EndKeyboardSelection();
    Paused_ = paused;
    ShowMarkers(false);
    viewport()->update();
}

void TBitWindow::PaintReview(QPainter& painter, QPoint scroll) {
    // Edges far beyond the client area are pulled in to just beyond it, so
    // that rectangles from the file cannot overflow the painter's coordinates.
    const int margin = kOutlineWidth + 1;
    const int x0 = scroll.x() - margin, x1 = scroll.x() + viewport()->width() + margin;
    const int y0 = scroll.y() - margin, y1 = scroll.y() + viewport()->height() + margin;
    const int count = std::clamp<int>(Puzzle_.DiffCount, 0, kMaxDiffs);
    for (int i = 0; i < count; ++i) {
        const std::optional<TDiffRect> d = DiffRectWithin(Puzzle_.DiffRects[i], x0, y0, x1, y1);
        if (!d) continue;
        const int left = d->Left, right = d->Right, top = d->Top, bottom = d->Bottom;
        const int w = right - left, h = bottom - top;
        const QColor colour = i < Review_.DiffCount && Review_.Found[i] ? kFoundOutline : kMissedOutline;
        // Two pixels inside each edge: columns left..left+1 and right-2..right-1,
        // rows top..top+1 and bottom-2..bottom-1.
        const int across = std::min(kOutlineWidth, w), down = std::min(kOutlineWidth, h);
        painter.fillRect(left, top, w, down, colour);
        painter.fillRect(left, bottom - down, w, down, colour);
        painter.fillRect(left, top, across, h, colour);
        painter.fillRect(right - across, top, across, h, colour);
    }
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
