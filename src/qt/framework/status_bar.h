// The status bar: a message field for hints on the left, then fixed text
// fields that hints never cover.
#pragma once

#include <QLabel>
#include <QStatusBar>
#include <QStringList>

namespace vexa {

// A recessed, left-aligned text field at least `chars` characters wide.
class TTextGadget : public QLabel {
    Q_OBJECT
public:
    explicit TTextGadget(int chars, QWidget* parent = nullptr);
    int Chars() const { return WidthInChars; }
    void SetText(const QString& text) { setText(text); }
    // Widens the field so that each of `texts` shows whole.
    void ReserveWidthFor(const QStringList& texts);
    // Makes the field exactly as wide as the widest of `texts` needs, even
    // when that is less than Chars(): the rest goes to the message field. A
    // longer text still widens it rather than being cut.
    void FitWidthTo(const QStringList& texts);
    QString Text() const { return text(); }
    // Red text (on) or the bar's own colour (off).
    void SetWarning(bool on);
    bool Warning() const { return Warning_; }

private:
    int WidthInChars;
    bool Warning_ = false;
};

// The message field: a hint wider than the field is drawn in a smaller font,
// down to kSmallestShare of the bar's, so that it shows whole where the frame
// is narrow; only beyond that is it cut.
class TMessageField : public QLabel {
    Q_OBJECT
public:
    static constexpr double kSmallestShare = 0.7;
    explicit TMessageField(QWidget* parent = nullptr);
    void SetText(const QString& text);
    // The share of the bar's font size the text is drawn in now (1 = as the bar).
    double FontShare() const { return Share_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitFont();
    double Share_ = 1;
};

class TStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    TMessageField* MessageField() const { return Message; }
    // Puts the hint of command `id` in the message field; -1 or an id
    // without a hint empties it.
    void ShowHint(int id);
    void SetMessage(const QString& text);
    // A text of the game's own (the score after judging) that stays until a
    // hint replaces it: clearing the hints (-1) leaves it in place. An empty
    // note clears the field.
    void ShowNote(const QString& text);

    // Fixed widgets on the right, in the order they are added.
    void AddSeparator(int size);
    TTextGadget* AddTextGadget(int chars);

private:
    TMessageField* Message;
    bool NoteShown = false;
};

}  // namespace vexa
