// The program's message boxes: Qt's Japanese button texts, no icon, centred
// on the owner's window.
#include "framework/message_box.h"
#include "framework/qt_translation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace vexa {
namespace {

TEST(MessageBox, JapaneseButtonsNoIconCentredOnTheOwner) {
    ASSERT_TRUE(InstallQtTranslation(*qApp)) << "Qt's Japanese catalogue (qt6-translations-l10n) is missing";
    QWidget owner;
    owner.setGeometry(120, 90, 500, 400);
    owner.show();

    struct Seen {
        QMessageBox::Icon icon = QMessageBox::Warning;
        QStringList buttons;
        QPoint centre;
    } seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen.icon = box->icon();
        for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            seen.buttons << box->button(b)->text().remove('&');
        seen.centre = box->geometry().center();
        box->button(QMessageBox::Cancel)->click();
    });
    const auto answer =
        ShowMessage(&owner, QStringLiteral("この問題は以前に全問正解しています。"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(answer, QMessageBox::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    ASSERT_EQ(seen.buttons.size(), 3);
    EXPECT_TRUE(seen.buttons[0].startsWith(QStringLiteral("はい"))) << seen.buttons[0].toStdString();
    EXPECT_TRUE(seen.buttons[1].startsWith(QStringLiteral("いいえ"))) << seen.buttons[1].toStdString();
    EXPECT_TRUE(seen.buttons[2].startsWith(QStringLiteral("キャンセル"))) << seen.buttons[2].toStdString();
    EXPECT_LE((seen.centre - owner.geometry().center()).manhattanLength(), 2);
}

TEST(MessageBox, IsAtLeastAsWideAsItsCaption) {
    QWidget owner;
    owner.setGeometry(120, 90, 500, 400);
    owner.show();
    for (const QString& text : {QStringLiteral("OK"), QStringLiteral("用意はいいですか")}) {
        int width = 0, wanted = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            width = box->width();
            wanted = CaptionWidth(box->font());
            // Answered with the keyboard, as a user would.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(box, &press);
        });
        EXPECT_EQ(ShowMessage(&owner, text), QMessageBox::Ok) << text.toStdString();
        EXPECT_GT(wanted, QFontMetrics(owner.font()).horizontalAdvance(kCaption));
        EXPECT_GE(width, wanted) << text.toStdString();
    }
}

}  // namespace
}  // namespace vexa
