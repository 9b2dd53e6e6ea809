#include "framework/control_bar.h"

#include "framework/button_faces.h"
#include "framework/hint_texts.h"

#include <QAction>
#include <QEnterEvent>
#include <QMouseEvent>

namespace vexa {

TButtonGadget::TButtonGadget(int id, TButtonKind kind, QAction* action, const QIcon& face, QWidget* parent)
    : QToolButton(parent), CommandId(id), ButtonKind(kind), Command(action) {
    setIcon(face);
    setIconSize(QSize(kFaceSize, kFaceSize));
    setAutoRaise(false);
    setFocusPolicy(Qt::NoFocus);
    setCheckable(kind != TButtonKind::Command);
    setToolTip(HintText(id));  // the status bar's hint, also where the pointer is
    connect(this, &QToolButton::clicked, this, [this] {
        if (Command && Command->isEnabled()) Command->trigger();
    });
    connect(Command, &QAction::changed, this, &TButtonGadget::Sync);
    Sync();
}

void TButtonGadget::Sync() {
    setEnabled(Command->isEnabled());
    if (isCheckable()) setChecked(Command->isChecked());
}

void TButtonGadget::enterEvent(QEnterEvent* event) {
    QToolButton::enterEvent(event);
    emit Hovered(CommandId, true);
}

void TButtonGadget::leaveEvent(QEvent* event) {
    QToolButton::leaveEvent(event);
    emit Hovered(CommandId, false);
}

void TButtonGadget::mousePressEvent(QMouseEvent* event) {
    QToolButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled()) {
        Pressed = true;
        emit Held(CommandId, true);
    }
}

void TButtonGadget::mouseReleaseEvent(QMouseEvent* event) {
    // The button pops up when the pointer is dragged off it, but the press
    // lasts until the release, wherever that happens.
    const bool wasPressed = Pressed && event->button() == Qt::LeftButton;
    if (wasPressed) Pressed = false;
    QToolButton::mouseReleaseEvent(event);  // may run the command
    if (wasPressed) emit Held(CommandId, false);
}

TControlBar::TControlBar(QWidget* parent) : QToolBar(parent) {
    setOrientation(Qt::Horizontal);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(kFaceSize, kFaceSize));
    setContextMenuPolicy(Qt::PreventContextMenu);
    QFont f = font();
    f.setPointSize(10);
    f.setBold(false);
    f.setItalic(false);
    setFont(f);
}

TButtonGadget* TControlBar::AddButton(int id, TButtonKind kind, QAction* action) {
    auto* button = new TButtonGadget(id, kind, action, ButtonFace(id), this);
    connect(button, &TButtonGadget::Hovered, this, &TControlBar::OnHovered);
    connect(button, &TButtonGadget::Held, this, &TControlBar::OnHeld);
    addWidget(button);
    return button;
}

void TControlBar::AddSeparator() { addSeparator(); }

void TControlBar::SetHintMode(THintMode mode) { Mode = mode; }

QList<TButtonGadget*> TControlBar::Buttons() const { return findChildren<TButtonGadget*>(); }

void TControlBar::OnHovered(int id, bool inside) {
    if (Mode != THintMode::Hover) return;
    emit HintRequested(inside ? id : -1);
}

void TControlBar::OnHeld(int id, bool down) {
    if (Mode == THintMode::Hover) {
        if (down) emit HintRequested(id);
        return;  // the hint stays while the pointer is over the button
    }
    emit HintRequested(down ? id : -1);
}

}  // namespace vexa
