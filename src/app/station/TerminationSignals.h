#pragma once

#include <QObject>

class QSocketNotifier;

namespace brindle {

// SIGTERM, SIGINT and SIGHUP (a desktop logout, kill, Ctrl+C in the terminal) would end the program
// wherever it stands, with the CW key, the PTT or the parallel port's register as they were. While an
// object of this class lives, such a signal only writes its number into a pipe, and the event loop hands
// it on as received(), so that the program can run its closing steps first. One object at a time.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    // The signals end the program again as the system would.
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or the handlers could not be set up: the signals then still end the program
    // at once, as they would without this object.
    bool isWatching() const
    {
        return m_notifier != nullptr;
    }

signals:
    void received(int signalNumber);

private:
    void takeSignals();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace brindle
