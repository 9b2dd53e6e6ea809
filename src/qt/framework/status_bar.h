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
    QString Text() const { return text(); }
    // Red text (on) or the bar's own colour (off).
    void SetWarning(bool on);
    bool Warning() const { return Warning_; }

private:
    int WidthInChars;
    bool Warning_ = false;
};

class TStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    QLabel* MessageField() const { return Message; }
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
    QLabel* Message;
    bool NoteShown = false;
};

}  // namespace vexa
