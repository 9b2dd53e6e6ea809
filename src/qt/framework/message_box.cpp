#include "framework/message_box.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace vexa {

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

int CaptionWidth(const QFont& font) { return CaptionWidth(font, kCaption); }

int CaptionWidth(const QFont& font, const QString& caption) {
    // Title bars commonly use a larger, bold face than the box's text; beside
    // the caption sit the window's icon and its buttons.
    QFont title = font;
    title.setPointSizeF(title.pointSizeF() > 0 ? title.pointSizeF() * 1.25 : 12.0);
    title.setBold(true);
    constexpr int kTitleBarExtras = 4 * 28;
    return QFontMetrics(title).horizontalAdvance(caption) + kTitleBarExtras;
}

void KeepCaptionWhole(QMessageBox& box) {
    // A short text makes a narrow box whose title bar cuts the caption; a
    // spacer across the box's grid keeps it at least as wide as the caption.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(CaptionWidth(box.font()), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text,
                                        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon) {
    if (Hook()) return Hook()(owner, text, buttons);
    QMessageBox box(icon, kCaption, text, buttons, owner);
    KeepCaptionWhole(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace vexa
