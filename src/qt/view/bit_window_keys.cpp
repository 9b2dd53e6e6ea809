// Keyboard play in the picture view: Tab, Shift+Tab, the arrow keys and
// Escape go to game play, which selects and moves the markers; and the
// conspicuous look of the markers.
#include "view/bit_window.h"

#include "view/answer_marker.h"
#include "view/marker_focus.h"
#include "viewcore/marker_keys.h"

#include <QKeyEvent>

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

bool TBitWindow::ForwardKey(const QKeyEvent& event) {
    TMarkerKey key;
    bool backwards = false;
    if (IsTab(event, backwards))
        key.Kind = backwards ? TMarkerKey::Previous : TMarkerKey::Next;
    else if (ArrowStep(event, key.Dx, key.Dy))
        key.Kind = TMarkerKey::Move;
    else if (event.key() == Qt::Key_Escape && event.modifiers() == Qt::NoModifier)
        key.Kind = TMarkerKey::EndSelection;
    else
        return false;
    if (!Input.Key || !Input.Key(key)) return false;
    FinishWipe();  // a key means the new picture is wanted now
    return true;
}

bool TBitWindow::event(QEvent* event) {
    // Tab would move the focus on; while game play takes it, it selects markers.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool backwards = false;
        if (IsTab(*key, backwards) && ForwardKey(*key)) {
            key->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TBitWindow::keyPressEvent(QKeyEvent* event) {
    bool backwards = false;
    if (!IsTab(*event, backwards) && ForwardKey(*event)) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);  // the arrows scroll while no marker is selected
}

const QWidget* TBitWindow::FocusFrame() const { return FocusFrame_; }

void TBitWindow::SetConspicuousMarkers(bool on) {
    Conspicuous_ = on;
    for (int i = 0; i < kMaxDiffs; ++i) {
        OuterFrames_[i]->SetLook(on ? TMarkerLook::Conspicuous : TMarkerLook::Plain);
        InnerFrames_[i]->SetLook(on ? TMarkerLook::Blank : TMarkerLook::Plain);
    }
}

}  // namespace vexa
