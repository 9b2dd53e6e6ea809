#include "framework/status_bar.h"

#include "framework/hint_texts.h"

namespace vexa {

namespace {
QFont BarFont(QFont f) {
    f.setPointSize(10);
    f.setBold(false);
    f.setItalic(false);
    return f;
}
}  // namespace

TTextGadget::TTextGadget(int chars, QWidget* parent) : QLabel(parent), WidthInChars(chars) {
    setFont(BarFont(font()));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
    // Characters are measured as digits; longer texts (wide kana) widen the
    // field instead of being cut.
    const int margins = 2 * frameWidth() + 2 * margin() + 6;
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + margins);
}

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent), Message(new QLabel(this)) {
    setFont(BarFont(font()));
    Message->setTextFormat(Qt::PlainText);
    Message->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Message->setMinimumWidth(0);
    Message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(Message, 1);
}

void TStatusBar::ShowHint(int id) { SetMessage(id < 0 ? QString() : HintText(id)); }

void TStatusBar::SetMessage(const QString& text) { Message->setText(text); }

void TStatusBar::AddSeparator(int size) {
    auto* gap = new QWidget(this);
    gap->setFixedWidth(size);
    addPermanentWidget(gap);
}

TTextGadget* TStatusBar::AddTextGadget(int chars) {
    auto* field = new TTextGadget(chars, this);
    addPermanentWidget(field);
    return field;
}

}  // namespace vexa
