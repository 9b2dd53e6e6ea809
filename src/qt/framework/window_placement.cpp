#include "framework/window_placement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace vexa {

namespace {
QRect AvailableArea(const QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
}  // namespace

void CentreOn(QWidget* window, const QWidget* owner) {
    if (!window || !owner) return;
    const QWidget* frame = owner->window();
    const QSize size = window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    // The window manager will put its own frame around the window, as it did
    // around the owner.
    const QSize decoration = frame->frameGeometry().size() - frame->geometry().size();
    QRect target(QPoint(0, 0), size + decoration);
    target.moveCenter(frame->frameGeometry().center());
    const QRect area = AvailableArea(frame);
    if (area.isValid()) {
        target.moveRight(std::min(target.right(), area.right()));
        target.moveBottom(std::min(target.bottom(), area.bottom()));
        target.moveLeft(std::max(target.left(), area.left()));
        target.moveTop(std::max(target.top(), area.top()));
    }
    window->move(target.topLeft());
}

void WaitUntilPlaced(QWidget* window, int timeoutMs) {
    if (!window || !window->isVisible()) return;
    QElapsedTimer clock;
    clock.start();
    auto placed = [window] {
        const QWindow* handle = window->windowHandle();
        return handle && handle->isExposed();
    };
    while (!placed() && clock.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!placed()) QThread::msleep(5);
    }
    // The window manager's answers to the last move or resize.
    QApplication::processEvents();
}

QSize LargestSizeOnScreen(const QWidget* window) {
    const QRect area = AvailableArea(window);
    if (!area.isValid()) return {};
    // The window manager's frame around the window, as far as it is known.
    const QSize decoration = window->frameGeometry().size() - window->geometry().size();
    return (area.size() - decoration).expandedTo(QSize(1, 1));
}

}  // namespace vexa
