// Message boxes with the program's caption, owned by a window of the program.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

namespace vexa {

inline const QString kCaption = QStringLiteral("間違いを探せ！");

// Shows `text` in a modal box owned by `owner`, centred on the owner's
// window, and returns the button pressed. The program's boxes carry no icon.
QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        QMessageBox::Icon icon = QMessageBox::NoIcon);

// The width that shows the caption whole in a title bar of `font`'s family:
// the box's width is never less.
int CaptionWidth(const QFont& font);
// The same for any caption, such as a dialog's title with the program's name.
int CaptionWidth(const QFont& font, const QString& caption);
// Widens `box` to CaptionWidth, whatever its text.
void KeepCaptionWhole(QMessageBox& box);

// Tests answer message boxes through this hook instead of a modal loop.
// The hook sees the owner, the text and the buttons offered. Pass {} to remove it.
using MessageBoxHook = std::function<QMessageBox::StandardButton(
    QWidget* owner, const QString& text, QMessageBox::StandardButtons buttons)>;
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace vexa
