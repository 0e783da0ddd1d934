#pragma once

#include "ui/WindowScaling.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QScreen>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

namespace brindle::test {

// The screen of the test platform that has this size: 800 × 800 (the primary screen), 1024 × 768,
// 1366 × 768 or 1920 × 1080.
inline QScreen* screenSized(QSize size)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().size() == size) {
            return screen;
        }
    }
    return nullptr;
}

// What the window manager does once it has framed a window: it tells the program where it put it. The
// offscreen platform draws a frame of two pixels round a window it shows, but never tells.
inline void reportFrame(QWidget& window)
{
    QMoveEvent placed(window.pos(), window.pos());
    // Delivered as the platform delivers it: sendEvent would make it one of the program's own.
    QSpontaneKeyEvent::setSpontaneous(&placed);
    qApp->notify(&window, &placed);
}

// The main window as a dialog opened from it finds it: scaled to its screen, shown and framed.
struct FramedMainWindow
{
    explicit FramedMainWindow(QScreen* screen = QGuiApplication::primaryScreen())
    {
        window.setScreen(screen);
        scaleMainWindow(window, screenGeometryOf(window));
        window.show();
        reportFrame(window);
    }

    QWidget window;
};

} // namespace brindle::test
