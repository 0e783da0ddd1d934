#pragma once

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace brindle::test {

// The device end of a serial line (a PtyPair's far()), for the simulated devices the tests talk to: the
// line in raw mode, read on a thread of its own every 2 ms, and what the device says sent once it is due.
// The device's own state is guarded by its mutex, which the line holds while it hands over what arrived
// and sends; the device calls enqueue(), dropOutput() and written() with it held too.
class SerialDeviceEnd
{
public:
    using Clock = std::chrono::steady_clock;
    // One round of the line's thread: what arrived since the last (perhaps nothing), and when.
    using Round = std::function<void(std::string_view input, Clock::time_point now)>;

    SerialDeviceEnd(const std::string& device, std::mutex& guard)
        : m_guard(guard)
    {
        m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0) {
            m_failure = "cannot open " + device + ": " + std::strerror(errno);
            return;
        }
        termios settings {};
        if (::tcgetattr(m_fd, &settings) == 0) {
            ::cfmakeraw(&settings);
            ::tcsetattr(m_fd, TCSANOW, &settings);
        }
        // A device coming onto the line has heard nothing yet, even when an earlier one left bytes unread.
        ::tcflush(m_fd, TCIFLUSH);
    }
    ~SerialDeviceEnd()
    {
        stop();
    }
    SerialDeviceEnd(const SerialDeviceEnd&) = delete;
    SerialDeviceEnd& operator=(const SerialDeviceEnd&) = delete;

    // Empty when the device opened; otherwise why it did not.
    const std::string& failure() const
    {
        return m_failure;
    }

    // Once the device is ready for its first round.
    void start(Round round)
    {
        if (m_fd >= 0) {
            m_round = std::move(round);
            m_thread = std::thread([this] { run(); });
        }
    }

    // Ends the thread and lets go of the line; together with PtyPair::stop() it is an unplugged cable.
    void stop()
    {
        m_stopping = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    // After everything already queued, as a device that answers in turn sends.
    void enqueue(std::string bytes, Clock::time_point due)
    {
        if (!bytes.empty()) {
            m_output.push_back({ due, std::move(bytes) });
        }
    }
    // In the order they are due: bytes due now (an echo on a shared bus) go out ahead of an answer still
    // held back, and bytes due at the same time keep their order.
    void enqueueByDue(std::string bytes, Clock::time_point due)
    {
        if (bytes.empty()) {
            return;
        }
        const auto after = std::find_if(
            m_output.begin(), m_output.end(), [due](const Pending& pending) { return pending.due > due; });
        m_output.insert(after, Pending { due, std::move(bytes) });
    }
    void dropOutput()
    {
        m_output.clear();
    }
    // Every byte the device wrote, in order.
    const std::string& written() const
    {
        return m_written;
    }

private:
    struct Pending
    {
        Clock::time_point due;
        std::string bytes;
    };

    void run()
    {
        while (!m_stopping) {
            pollfd watched { m_fd, POLLIN, 0 };
            const int ready = ::poll(&watched, 1, 2);
            std::string input;
            bool hungUp = ready > 0 && (watched.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
            if (ready > 0 && (watched.revents & POLLIN) != 0) {
                char chunk[256];
                for (;;) {
                    const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
                    if (got > 0) {
                        input.append(chunk, static_cast<std::size_t>(got));
                        continue;
                    }
                    if (got < 0 && errno == EINTR) {
                        continue;
                    }
                    hungUp = hungUp || !(got < 0 && errno == EAGAIN);
                    break;
                }
            }
            {
                const std::lock_guard lock(m_guard);
                const auto now = Clock::now();
                m_round(input, now);
                flush(now);
            }
            if (hungUp) {
                // The other end is gone and poll() would report that at once, over and over.
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
    }

    void flush(Clock::time_point now)
    {
        while (!m_output.empty() && m_output.front().due <= now) {
            std::string& bytes = m_output.front().bytes;
            const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EAGAIN || errno == EINTR) {
                    return;
                }
                m_output.clear(); // nobody is listening any more
                return;
            }
            m_written.append(bytes, 0, static_cast<std::size_t>(written));
            bytes.erase(0, static_cast<std::size_t>(written));
            if (!bytes.empty()) {
                return;
            }
            m_output.pop_front();
        }
    }

    std::mutex& m_guard;
    Round m_round;
    std::thread m_thread;
    std::atomic<bool> m_stopping { false };
    int m_fd = -1;
    std::string m_failure;
    std::deque<Pending> m_output;
    std::string m_written;
};

} // namespace brindle::test
