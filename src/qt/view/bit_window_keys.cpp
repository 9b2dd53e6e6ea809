// Keyboard play in the picture view: selecting a marker with Tab, moving it
// with the arrow keys, and the conspicuous look of the markers.
#include "view/bit_window.h"

#include "view/answer_marker.h"
#include "view/marker_focus.h"
#include "viewcore/marker_keys.h"

#include <QKeyEvent>

#include <algorithm>

namespace vexa {

namespace {

bool IsTab(const QKeyEvent& e, bool& backwards) {
    if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (e.key() == Qt::Key_Backtab || (e.key() == Qt::Key_Tab && (e.modifiers() & Qt::ShiftModifier))) {
        backwards = true;
        return true;
    }
    backwards = false;
    return e.key() == Qt::Key_Tab;
}

// The step of an arrow key (Shift for the big one), or nothing.
bool ArrowStep(const QKeyEvent& e, int& dx, int& dy) {
    const Qt::KeyboardModifiers mods = e.modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier) return false;
    const int step = mods == Qt::ShiftModifier ? kMarkerKeyBigStep : kMarkerKeyStep;
    dx = dy = 0;
    switch (e.key()) {
    case Qt::Key_Left: dx = -step; return true;
    case Qt::Key_Right: dx = step; return true;
    case Qt::Key_Up: dy = -step; return true;
    case Qt::Key_Down: dy = step; return true;
    default: return false;
    }
}

}  // namespace

bool TBitWindow::KeyboardPlayAllowed() const {
    if (MarkersLocked()) return false;
    return MarkersMovable ? MarkersMovable() : ShowsMarkers(CurrentMode_);
}

bool TBitWindow::event(QEvent* event) {
    // Tab would move the focus on; while markers may move it selects them.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool backwards = false;
        if (IsTab(*key, backwards) && KeyboardPlayAllowed()) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TBitWindow::keyPressEvent(QKeyEvent* event) {
    if (HandleMarkerKey(*event)) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);  // the arrows scroll while no marker is selected
}

bool TBitWindow::HandleMarkerKey(const QKeyEvent& event) {
    bool backwards = false;
    int dx = 0, dy = 0;
    const bool tab = IsTab(event, backwards);
    const bool arrow = !tab && ArrowStep(event, dx, dy);
    const bool escape = event.key() == Qt::Key_Escape && event.modifiers() == Qt::NoModifier;
    if (!tab && !arrow && !escape) return false;
    if (!KeyboardPlayAllowed()) {
        EndKeyboardSelection();
        return false;
    }
    // The mouse has a marker (picking it up ended any selection): Tab waits,
    // the arrows scroll as they do without a selection.
    if (DragIndex_ >= 0) return tab;
    FinishWipe();  // a key means the new picture is wanted now
    if (tab) {
        SelectNextMarker(backwards);
        return true;
    }
    if (Selected_ < 0) return false;
    if (escape) {
        EndKeyboardSelection();
        return true;
    }
    return MoveSelectedMarker(dx, dy);
}

bool TBitWindow::SelectNextMarker(bool backwards) {
    const int inPlay = std::clamp<int>(Puzzle_.DiffCount, 0, kMarkerCount);
    Selected_ = NextMarkerSelection(Selected_, inPlay, backwards);
    PlaceFocusFrame();
    return Selected_ >= 0;
}

bool TBitWindow::MoveSelectedMarker(int dx, int dy) {
    if (Selected_ < 0) return false;
    const QPoint from = OuterFrames_[Selected_]->pos();
    const TPoint corner = MoveMarkerByKey(TPoint{from.x(), from.y()}, dx, dy, PictureWidth_, PictureHeight_);
    // As after a drop: the inner frame one pixel in, both on top.
    OuterFrames_[Selected_]->MoveToTop(QPoint(corner.X, corner.Y));
    InnerFrames_[Selected_]->MoveToTop(QPoint(corner.X + 1, corner.Y + 1));
    PlaceFocusFrame();
    return true;
}

void TBitWindow::EndKeyboardSelection() {
    Selected_ = -1;
    PlaceFocusFrame();
}

void TBitWindow::CheckKeyboardSelection() {
    if (Selected_ >= 0 && !KeyboardPlayAllowed()) EndKeyboardSelection();
}

void TBitWindow::PlaceFocusFrame() {
    if (!FocusFrame_) return;
    if (Selected_ < 0) {
        FocusFrame_->hide();
        return;
    }
    FocusFrame_->Surround(OuterFrames_[Selected_]->pos());
    FocusFrame_->show();
}

const QWidget* TBitWindow::FocusFrame() const { return FocusFrame_; }

void TBitWindow::SetConspicuousMarkers(bool on) {
    Conspicuous_ = on;
    for (int i = 0; i < kMarkerCount; ++i) {
        OuterFrames_[i]->SetLook(on ? TMarkerLook::Conspicuous : TMarkerLook::Plain);
        InnerFrames_[i]->SetLook(on ? TMarkerLook::Blank : TMarkerLook::Plain);
    }
}

}  // namespace vexa
