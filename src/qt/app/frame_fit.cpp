#include "app/frame_fit.h"

#include "framework/window_placement.h"
#include "view/bit_window.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace vexa {

namespace {

class TFrameFit : public TFitTarget {
public:
    TFrameFit(QWidget* frame, const TBitWindow& view) : Frame_(frame), View_(view) {}
    // The view's geometry is current even while the frame is hidden, when Qt
    // defers resize events.
    int ViewOuterWidth() const override { return View_.width(); }
    int ViewOuterHeight() const override { return View_.height(); }
    bool FrameSizeFixed() const override {
        return Frame_->isMinimized() || Frame_->isMaximized() || Frame_->isFullScreen();
    }
    TFitSize ResizeFrame(int width, int height) override {
        Frame_->raise();
        // Never larger than the screen's available area: scroll bars take over.
        const QSize largest = LargestSizeOnScreen(Frame_);
        if (largest.isValid()) width = std::min(width, largest.width()), height = std::min(height, largest.height());
        Frame_->resize(width, height);  // Qt keeps it within the frame's minimum size
        if (QLayout* layout = Frame_->layout()) {
            layout->invalidate();  // lay the client out now, even while hidden
            layout->activate();
        }
        KeepOnScreen();
        return {Frame_->width(), Frame_->height()};
    }

private:
    // A frame grown past the screen's right or bottom edge moves back in.
    void KeepOnScreen() {
        if (!Frame_->isVisible()) return;
        const QScreen* screen = Frame_->screen();
        if (!screen) return;
        const QRect area = screen->availableGeometry();
        QRect outer = Frame_->frameGeometry();
        const QPoint before = outer.topLeft();
        if (outer.right() > area.right()) outer.moveRight(area.right());
        if (outer.bottom() > area.bottom()) outer.moveBottom(area.bottom());
        if (outer.left() < area.left()) outer.moveLeft(area.left());
        if (outer.top() < area.top()) outer.moveTop(area.top());
        if (outer.topLeft() != before) Frame_->move(outer.topLeft());
    }

    QWidget* Frame_;
    const TBitWindow& View_;
};

}  // namespace

void FitToPicture(QWidget* frame, const TBitWindow& view, TFitExtras& extras) {
    if (!frame) return;
    TFrameFit target(frame, view);
    FitFrameToPicture(target, view.ContentWidth(), view.ContentHeight(), extras);
}

}  // namespace vexa
