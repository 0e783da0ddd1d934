#pragma once

// Keys typed into a field from outside the window's thread, as an operator types them, and how long each
// took to show in the field: the wait a typist feels while the window is busy.
//
// On an X server the keys go through the server itself (xdotool, one process fed a key at a time), so they
// take the way real keys take, the accessibility bridge's key listeners included; offscreen they are posted
// to the field's queue.

#include "BenchFigures.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace brindle::bench {

class KeyTyper
{
public:
    // Every spacingMs a key of "K1ABCD" goes to the field, the field emptied after each six.
    KeyTyper(QLineEdit& field, int spacingMs)
        : m_field(&field)
        , m_target(&field)
        , m_spacingMs(spacingMs)
    {
        m_connection = QObject::connect(&field, &QLineEdit::textChanged, [this](const QString& text) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
            if (text.size() > m_shownLength && m_sentAt.load() != 0) {
                m_latencies.push_back(ms(std::chrono::steady_clock::duration(now - m_sentAt.exchange(0))));
            }
            m_shownLength = static_cast<int>(text.size());
            if (text.size() >= 6) {
                QTimer::singleShot(0, m_field.data(), [this] { m_field->clear(); });
            }
        });
    }
    ~KeyTyper()
    {
        stop();
        QObject::disconnect(m_connection);
    }
    KeyTyper(const KeyTyper&) = delete;
    KeyTyper& operator=(const KeyTyper&) = delete;

    // False when the X server's keys cannot be had (xdotool missing). There the field's window is made the
    // active one first, as the operator clicks it, since another window may have taken the focus.
    bool start()
    {
        if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
            m_xdotool = ::popen("exec xdotool -", "w");
            if (!m_xdotool) {
                return false;
            }
            m_throughServer = true;
            std::fprintf(
                m_xdotool, "windowactivate --sync %llu\n", static_cast<unsigned long long>(m_field->window()->winId()));
            std::fflush(m_xdotool);
        }
        m_running = true;
        m_thread = std::thread([this] { type(); });
        return true;
    }
    // The latencies so far, in milliseconds, and typing goes on.
    std::vector<double> take()
    {
        return std::exchange(m_latencies, {});
    }
    // The latencies since the last take, in milliseconds; a key still unseen counts with its wait so far.
    std::vector<double> stop()
    {
        if (m_running.exchange(false)) {
            m_thread.join();
        }
        if (m_xdotool) {
            ::pclose(m_xdotool);
            m_xdotool = nullptr;
        }
        if (const auto sent = m_sentAt.exchange(0); sent != 0) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
            m_latencies.push_back(ms(std::chrono::steady_clock::duration(now - sent)));
        }
        return m_latencies;
    }
    // Through the X server, or posted.
    bool throughServer() const
    {
        return m_throughServer;
    }

private:
    void type()
    {
        // Time for the window to take the focus before the first key.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        int typed = 0;
        while (m_running) {
            const char key = "K1ABCD"[typed++ % 6];
            m_sentAt = std::chrono::steady_clock::now().time_since_epoch().count();
            if (m_xdotool) {
                std::fprintf(m_xdotool, "key %c\n", key);
                std::fflush(m_xdotool);
            } else {
                const QString text { QLatin1Char(key) };
                const auto code = static_cast<Qt::Key>(key >= 'A' ? Qt::Key_A + (key - 'A') : Qt::Key_0 + (key - '0'));
                QCoreApplication::postEvent(m_target, new QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier, text));
                QCoreApplication::postEvent(m_target, new QKeyEvent(QEvent::KeyRelease, code, Qt::NoModifier, text));
            }
            // The next key once this one shows, as a typist waits for a frozen field; a minute at most.
            for (int waited = 0; waited < 60'000 && m_running && m_sentAt.load() != 0; ++waited) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(m_spacingMs));
        }
    }

    QPointer<QLineEdit> m_field;
    // The same, for the typing thread, which only posts to it.
    QObject* m_target;
    int m_spacingMs;
    QMetaObject::Connection m_connection;
    std::FILE* m_xdotool = nullptr;
    bool m_throughServer = false;
    std::thread m_thread;
    std::atomic<bool> m_running { false };
    // When the key not yet seen was sent, in steady-clock ticks; 0 when none waits.
    std::atomic<std::chrono::steady_clock::rep> m_sentAt { 0 };
    int m_shownLength = 0;
    std::vector<double> m_latencies;
};

} // namespace brindle::bench
