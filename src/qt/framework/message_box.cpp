#include "framework/message_box.h"

namespace vexa {

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text,
                                        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon) {
    if (Hook()) return Hook()(owner, text, buttons);
    QMessageBox box(icon, kCaption, text, buttons, owner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace vexa
