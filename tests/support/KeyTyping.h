#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

namespace brindle::test {

// Types text into widget as a keyboard would, any character included: QTest knows only the ASCII ones.
inline void typeAnyText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace brindle::test
