#include "KeyHold.h"

#include "common/Clock.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QScopedValueRollback>
#include <QWidget>

#include <algorithm>

namespace brindle {

namespace {

// A key the platform would have taken as a shortcut (a button's Alt+letter): the shortcut goes off now
// as it would have then.
bool triggerShortcut(QWidget* window, const QKeySequence& sequence)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->shortcut() == sequence && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->shortcut() == sequence && action->isEnabled()) {
            action->trigger();
            return true;
        }
    }
    return false;
}

} // namespace

KeyHold::KeyHold(const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &KeyHold::releaseIfDue);
}

namespace {

// How often a hold on something busy looks whether it still is.
constexpr int BusyPollMs = 10;

} // namespace

void KeyHold::holdUntil(std::int64_t untilMs)
{
    m_busy = {};
    m_untilMs = untilMs;
}

void KeyHold::holdWhile(std::function<bool()> busy, std::int64_t thenMs)
{
    m_busy = std::move(busy);
    m_afterBusyMs = thenMs;
    settleBusy();
}

void KeyHold::settleBusy() const
{
    if (m_busy && !m_busy()) {
        m_busy = {};
        m_untilMs = m_clock.monotonicMs() + m_afterBusyMs;
    }
}

bool KeyHold::holdsKeys() const
{
    settleBusy();
    return !m_replaying && (!m_keys.empty() || m_busy || m_clock.monotonicMs() < m_untilMs);
}

bool KeyHold::hold(QWidget* receiver, const QKeyEvent& event)
{
    if (!holdsKeys()) {
        return false;
    }
    m_keys.push_back({ receiver, event.key(), event.modifiers(), event.text() });
    arm();
    return true;
}

void KeyHold::arm()
{
    if (m_busy) {
        m_timer.start(BusyPollMs);
        return;
    }
    const std::int64_t remaining = m_untilMs - m_clock.monotonicMs();
    m_timer.start(static_cast<int>(std::clamp<std::int64_t>(remaining, 0, 60'000)));
}

void KeyHold::releaseIfDue()
{
    settleBusy();
    if (m_busy || m_clock.monotonicMs() < m_untilMs) {
        arm();
        return;
    }
    m_timer.stop();
    // A key handed on may itself start a new hold (another duplicate): the rest then waits again.
    while (!m_keys.empty() && !m_busy && m_clock.monotonicMs() >= m_untilMs) {
        const HeldKey held = m_keys.front();
        m_keys.pop_front();
        replay(held);
    }
    if (!m_keys.empty()) {
        arm();
    }
}

void KeyHold::replay(const HeldKey& held)
{
    QWidget* target = QApplication::focusWidget();
    if (!target || (held.receiver && target->window() != held.receiver->window())) {
        target = held.receiver;
    }
    if (!target) {
        return;
    }
    const QScopedValueRollback replaying(m_replaying, true);
    // As typed live: the platform offers the key as a shortcut first, then to the control with the focus.
    QKeyEvent override(QEvent::ShortcutOverride, held.key, held.modifiers, held.text);
    override.ignore();
    QCoreApplication::sendEvent(target, &override);
    if (!override.isAccepted() && triggerShortcut(target->window(), QKeySequence(held.key | held.modifiers))) {
        return;
    }
    QKeyEvent press(QEvent::KeyPress, held.key, held.modifiers, held.text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, held.key, held.modifiers, held.text);
    QCoreApplication::sendEvent(target, &release);
}

} // namespace brindle
