#pragma once

#include "common/Result.h"
#include "rig/RigChange.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace brindle {

// Runs the steps of a frequency or mode change on the window's thread: the bytes in their order, the
// pauses the radios need between them, and the waits until the port has sent what it was given, each
// on a timer, so that keys, clicks and the other timers go on meanwhile. One change runs at a time; a
// change asked for while one runs waits for it, and takes the place of one that waits already: the
// radio is only ever taken to where the operator went last.
class RigCommandSequence : public QObject
{
    Q_OBJECT

public:
    // What the steps act on: the rig's port, or whatever stands for it.
    class Target
    {
    public:
        virtual ~Target() = default;
        virtual void discardReceived() = 0;
        virtual std::size_t bytesToWrite() const = 0;
        // A command, or the Pegasus file.
        virtual Status write(const RigStep& step) = 0;
    };

    struct Change
    {
        std::vector<RigStep> steps;
        std::string mode; // what the mode command sets, for the operator's message
    };

    explicit RigCommandSequence(Target& target, QObject* parent = nullptr);

    void run(Change change);
    bool isRunning() const
    {
        return m_running.has_value();
    }
    // Drops the change running and the one waiting, at once.
    void cancel();

signals:
    // A write failed. A mode command's failure ends only the mode's part; a frequency command's ends the
    // change.
    void writeFailed(const QString& mode, const QString& reason, bool frequencyCommand);
    // The last change has ended, and none waits.
    void idle();

private:
    void start(Change change);
    // Runs steps until one has to wait.
    void next();
    void waitUntilSent();
    void pauseMs(int ms);
    void checkSent();
    void finish(bool frequencyFailed);

    Target& m_target;
    std::optional<Change> m_running;
    std::size_t m_step = 0;
    std::optional<Change> m_waiting;
    QTimer m_pause;
    QTimer m_sendWatch;
    QElapsedTimer m_sendWaited;
};

} // namespace brindle
