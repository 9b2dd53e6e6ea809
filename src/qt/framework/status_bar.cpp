#include "framework/status_bar.h"

#include "framework/hint_texts.h"

#include <algorithm>

namespace vexa {

namespace {
QFont BarFont(QFont f) {
    f.setPointSize(10);
    f.setBold(false);
    f.setItalic(false);
    return f;
}

// Kana and kanji come from a taller fallback font; sizing every field for
// them keeps the bar (and so the view above it) from changing height when a
// hint appears.
void ReserveHeightForKana(QLabel* label) {
    const QString saved = label->text();
    label->setText(QStringLiteral("間違いを探せ！"));
    label->setMinimumHeight(label->sizeHint().height());
    label->setText(saved);
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
    ReserveHeightForKana(this);
}

void TTextGadget::ReserveWidthFor(const QStringList& texts) {
    const QString saved = text();
    int width = minimumWidth();
    for (const QString& t : texts) {
        setText(t);
        width = std::max(width, sizeHint().width());
    }
    setText(saved);
    setMinimumWidth(width);
}

void TTextGadget::FitWidthTo(const QStringList& texts) {
    const QString saved = text();
    setMinimumWidth(0);  // the size hint counts the minimum in
    int width = 0;
    for (const QString& t : texts) {
        setText(t);
        width = std::max(width, sizeHint().width());
    }
    setText(saved);
    setMinimumWidth(width);
}

void TTextGadget::SetWarning(bool on) {
    if (on == Warning_) return;
    Warning_ = on;
    QPalette colours;  // empty: the bar's own colours again
    if (on) {
        colours = palette();
        colours.setColor(QPalette::WindowText, QColor(0xD0, 0x00, 0x00));
    }
    setPalette(colours);
}

TMessageField::TMessageField(QWidget* parent) : QLabel(parent) {}

void TMessageField::SetText(const QString& text) {
    setText(text);
    FitFont();
}

void TMessageField::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    FitFont();
}

void TMessageField::FitFont() {
    // The bar's own font is the full size; the field sets its own only to shrink.
    const QFont full = parentWidget() ? parentWidget()->font() : font();
    const int room = contentsRect().width() - 2 * margin() - indent() - 2;
    double share = 1;
    QFont f = full;
    const int need = QFontMetrics(full).horizontalAdvance(text());
    if (need > room && room > 0) {
        share = std::max(kSmallestShare, double(room) / need);
        // Point sizes go in steps: shrink on until the text fits or the floor is reached.
        for (;;) {
            f.setPointSizeF(full.pointSizeF() * share);
            if (share <= kSmallestShare || QFontMetrics(f).horizontalAdvance(text()) <= room) break;
            share = std::max(kSmallestShare, share - 0.02);
        }
    }
    Share_ = share;
    if (f != font()) setFont(f);
}

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent), Message(new TMessageField(this)) {
    setFont(BarFont(font()));
    Message->setTextFormat(Qt::PlainText);
    Message->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Message->setMinimumWidth(0);
    Message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ReserveHeightForKana(Message);
    addWidget(Message, 1);
}

void TStatusBar::ShowHint(int id) {
    if (id < 0 && NoteShown) return;
    SetMessage(id < 0 ? QString() : HintText(id));
}

void TStatusBar::SetMessage(const QString& text) {
    NoteShown = false;
    Message->SetText(text);
}

void TStatusBar::ShowNote(const QString& text) {
    Message->SetText(text);
    NoteShown = !text.isEmpty();
}

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
