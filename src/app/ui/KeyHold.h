#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>

class QKeyEvent;
class QWidget;

namespace brindle {

class Clock;

// Holds every key typed into a window until a moment has come, then hands the keys on in the order they
// were typed, each to whatever has the focus by then, through the same path as a key typed at that
// moment. The window keeps running meanwhile: nothing is lost, nothing is reordered, and no key acts
// before the ones typed ahead of it.
class KeyHold : public QObject
{
    Q_OBJECT

public:
    explicit KeyHold(const Clock& clock, QObject* parent = nullptr);

    // Keys that arrive before monotonic time `untilMs` are held.
    void holdUntil(std::int64_t untilMs);
    // Keys are held while busy() says so (a voice prompt still plays), and for thenMs after.
    void holdWhile(std::function<bool()> busy, std::int64_t thenMs);
    // A hold is on, or keys are still waiting: a key typed now must queue behind them. False while a
    // held key is being handed on, which takes its effect.
    bool holdsKeys() const;
    // Holds the key if a hold is on (or keys are still waiting); false when the key may take effect now.
    // receiver is the control the key was typed into.
    bool hold(QWidget* receiver, const QKeyEvent& event);
    // Hands the held keys on once the moment has come; the timer calls it, and so can a test that moved
    // the clock.
    void releaseIfDue();

private:
    struct HeldKey
    {
        QPointer<QWidget> receiver;
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };

    void arm();
    // Once busy() no longer says so, the hold runs on for its time from that moment.
    void settleBusy() const;
    void replay(const HeldKey& held);

    const Clock& m_clock;
    QTimer m_timer;
    mutable std::int64_t m_untilMs = 0;
    mutable std::function<bool()> m_busy;
    std::int64_t m_afterBusyMs = 0;
    std::deque<HeldKey> m_keys;
    bool m_replaying = false;
};

} // namespace brindle
