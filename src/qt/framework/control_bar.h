// The toolbar: command, exclusive and toggle buttons that mirror their
// command's action, separators, and the button hints in two modes.
#pragma once

#include <QToolBar>
#include <QToolButton>

class QAction;

namespace vexa {

enum class TButtonKind { Command, Exclusive, NonExclusive };

// A button showing `face`, enabled and pressed as its action says. A click
// triggers the action; the pressed state stays the action's to decide.
class TButtonGadget : public QToolButton {
    Q_OBJECT
public:
    TButtonGadget(int id, TButtonKind kind, QAction* action, const QIcon& face, QWidget* parent = nullptr);

    int Id() const { return CommandId; }
    TButtonKind Kind() const { return ButtonKind; }

signals:
    // The pointer entered (true) or left (false) the button.
    void Hovered(int id, bool inside);
    // The button went down (true) or came up (false) under the mouse.
    void Held(int id, bool down);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void nextCheckState() override {}

private:
    void Sync();

    int CommandId;
    TButtonKind ButtonKind;
    QAction* Command;
    bool Pressed = false;  // the left button went down on this button and is not yet released
};

// When a button's hint shows in the message field.
enum class THintMode {
    WhileHeld = 1,  // only while the button is held
    Hover = 2,      // while the pointer is over it
};

class TControlBar : public QToolBar {
    Q_OBJECT
public:
    explicit TControlBar(QWidget* parent = nullptr);

    TButtonGadget* AddButton(int id, TButtonKind kind, QAction* action);
    void AddSeparator();

    void SetHintMode(THintMode mode);
    THintMode HintMode() const { return Mode; }

    QList<TButtonGadget*> Buttons() const;

signals:
    // Show the hint of command `id`; -1 clears the message field.
    void HintRequested(int id);

private:
    void OnHovered(int id, bool inside);
    void OnHeld(int id, bool down);

    THintMode Mode = THintMode::Hover;
};

}  // namespace vexa
