#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace brindle {

namespace {

constexpr std::array WatchedSignals = { SIGTERM, SIGINT, SIGHUP };

// The pipe's ends: the handler writes to the one, the event loop reads the other.
std::atomic<int> signalWriteEnd { -1 };
int signalReadEnd = -1;

// Only what is safe in a signal handler: one write, and errno left as the interrupted code had it.
extern "C" void noteSignal(int signalNumber)
{
    const int savedErrno = errno;
    const int handle = signalWriteEnd.load();
    if (handle >= 0) {
        const auto byte = static_cast<unsigned char>(signalNumber);
        // A full pipe already holds a signal that the loop has not taken: this one can go.
        (void)!::write(handle, &byte, 1);
    }
    errno = savedErrno;
}

void handleSignals(void (*handler)(int))
{
    struct sigaction action
    {
    };
    action.sa_handler = handler;
    ::sigemptyset(&action.sa_mask);
    // System calls that a signal interrupts go on where they can; the rest of the program need not
    // expect EINTR on its account.
    action.sa_flags = SA_RESTART;
    for (const int watched : WatchedSignals) {
        ::sigaction(watched, &action, nullptr);
    }
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent)
{
    int ends[2] = { -1, -1 };
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    signalReadEnd = ends[0];
    signalWriteEnd = ends[1];
    m_notifier = new QSocketNotifier(signalReadEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::takeSignals);
    handleSignals(noteSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier) {
        return;
    }
    handleSignals(SIG_DFL);
    delete m_notifier;
    const int writeEnd = signalWriteEnd.exchange(-1);
    ::close(writeEnd);
    ::close(signalReadEnd);
    signalReadEnd = -1;
}

void TerminationSignals::takeSignals()
{
    unsigned char byte = 0;
    while (::read(signalReadEnd, &byte, 1) == 1) {
        emit received(byte);
    }
}

} // namespace brindle
