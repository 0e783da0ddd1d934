#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
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

// A WinKey keyer at the far end of a serial line (a pseudo-terminal of a PtyPair), answering the host
// as the keyer does: the echo test, host open with its revision byte, the commands with their
// parameters, characters queued in a 128-byte buffer and "sent" one at a time at the set speed, each
// echoed as it ends, and a status byte sent by itself whenever busy or XOFF changes. It records every
// byte the host wrote, and can be told to misbehave as keyers and cables do.
class WinKeySimulator
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t BufferSize = 128;

    explicit WinKeySimulator(const std::string& device)
    {
        m_handle = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_handle >= 0) {
            termios raw {};
            if (::tcgetattr(m_handle, &raw) == 0) {
                ::cfmakeraw(&raw);
                ::tcsetattr(m_handle, TCSANOW, &raw);
            }
            m_thread = std::thread([this] { run(); });
        }
    }
    ~WinKeySimulator()
    {
        stop();
    }
    WinKeySimulator(const WinKeySimulator&) = delete;
    WinKeySimulator& operator=(const WinKeySimulator&) = delete;

    bool isRunning() const
    {
        return m_handle >= 0;
    }
    // The keyer is unplugged: it answers nothing more.
    void stop()
    {
        m_stopping = true;
        if (m_thread.joinable()) {
            m_thread.join();
        }
        if (m_handle >= 0) {
            ::close(m_handle);
            m_handle = -1;
        }
    }

    // Misbehaviour.
    void setSilent(bool silent)
    {
        m_silent = silent;
    }
    void setWrongEcho(bool wrong)
    {
        m_wrongEcho = wrong;
    }
    void setNoRevision(bool none)
    {
        m_noRevision = none;
    }
    void setRevision(std::uint8_t revision)
    {
        m_revision = revision;
    }
    // How long each character takes to send; 0 follows the set speed (ten units of it).
    void setCharacterMs(int ms)
    {
        m_characterMs = ms;
    }
    // The buffer fill above which XOFF is reported.
    void setXoffAbove(std::size_t count)
    {
        m_xoffAbove = count;
    }
    // Stops sending with XOFF reported, as a keyer whose buffer never empties, until released.
    void holdXoff(bool hold)
    {
        m_holdXoff = hold;
    }
    void sendGarbage(std::string_view bytes)
    {
        std::lock_guard lock(m_mutex);
        m_toHost += bytes;
    }
    // The operator sends on the paddles: break-in reported, then idle again.
    void pressPaddles()
    {
        std::lock_guard lock(m_mutex);
        m_toHost += static_cast<char>(0xC0 | BreakIn | Busy);
        m_toHost += static_cast<char>(0xC0 | statusBitsLocked());
    }
    void turnSpeedPot(std::uint8_t value)
    {
        std::lock_guard lock(m_mutex);
        m_toHost += static_cast<char>(0x80 | (value & 0x3F));
    }

    // What the host did.
    std::string received() const
    {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    bool isHostOpen() const
    {
        std::lock_guard lock(m_mutex);
        return m_hostOpen;
    }
    int speed() const
    {
        std::lock_guard lock(m_mutex);
        return m_speed;
    }
    std::string sentText() const
    {
        std::lock_guard lock(m_mutex);
        return m_sent;
    }
    std::string bufferedText() const
    {
        std::lock_guard lock(m_mutex);
        return std::string(m_buffer.begin(), m_buffer.end());
    }
    int clears() const
    {
        std::lock_guard lock(m_mutex);
        return m_clears;
    }
    int backspaces() const
    {
        std::lock_guard lock(m_mutex);
        return m_backspaces;
    }
    std::size_t droppedCharacters() const
    {
        std::lock_guard lock(m_mutex);
        return m_dropped;
    }
    // Polls the condition until it holds or the time is up.
    static bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
    {
        const auto giveUp = Clock::now() + timeout;
        while (!condition()) {
            if (Clock::now() > giveUp) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

private:
    static constexpr int Xoff = 0x01;
    static constexpr int BreakIn = 0x02;
    static constexpr int Busy = 0x04;

    // Parameter bytes of each command 0x00 to 0x1F as the keyer's host protocol defines them (0x00's
    // depend on its sub-command).
    static int parameterCount(unsigned char command)
    {
        static constexpr int counts[32] = { 1, 1, 1, 1, 2, 3, 1, 0, 0, 1, 0, 1, 1, 1, 1, 15, 1, 1, 1, 0, 1, 0, 1,
            1, 1, 1, 1, 2, 1, 1, 0, 0 };
        return counts[command];
    }
    // Admin sub-commands with a parameter: calibrate (00) and the echo test (04).
    static int adminParameterCount(unsigned char sub)
    {
        return sub == 0x00 || sub == 0x04 ? 1 : 0;
    }

    void run()
    {
        while (!m_stopping) {
            pollfd watched { m_handle, POLLIN, 0 };
            const int ready = ::poll(&watched, 1, 1);
            if (ready > 0 && (watched.revents & POLLIN)) {
                char chunk[256];
                const ssize_t got = ::read(m_handle, chunk, sizeof chunk);
                if (got > 0) {
                    std::lock_guard lock(m_mutex);
                    for (ssize_t i = 0; i < got; ++i) {
                        take(static_cast<unsigned char>(chunk[i]));
                    }
                }
            } else if (ready > 0 && (watched.revents & (POLLHUP | POLLERR))) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            std::lock_guard lock(m_mutex);
            keyCharacters();
            reportStatus();
            flushToHost();
        }
    }

    void take(unsigned char byte)
    {
        m_received += static_cast<char>(byte);
        if (m_silent) {
            return;
        }
        if (!m_command.empty()) {
            m_command += static_cast<char>(byte);
            const auto first = static_cast<unsigned char>(m_command[0]);
            std::size_t wanted = 1 + static_cast<std::size_t>(parameterCount(first));
            if (first == 0x00 && m_command.size() >= 2) {
                wanted = 2 + static_cast<std::size_t>(adminParameterCount(static_cast<unsigned char>(m_command[1])));
            }
            if (m_command.size() >= wanted) {
                perform(m_command);
                m_command.clear();
            }
            return;
        }
        if (byte < 0x20) {
            if (parameterCount(byte) == 0) {
                perform(std::string(1, static_cast<char>(byte)));
            } else {
                m_command = static_cast<char>(byte);
            }
            return;
        }
        if (!m_hostOpen) {
            return;
        }
        if (m_buffer.size() >= BufferSize) {
            ++m_dropped;
            return;
        }
        m_buffer.push_back(static_cast<char>(byte));
    }

    void perform(const std::string& command)
    {
        const auto code = static_cast<unsigned char>(command[0]);
        const auto parameter = [&command](std::size_t i) { return static_cast<unsigned char>(command[i]); };
        if (code == 0x00) {
            switch (parameter(1)) {
            case 0x02:
                if (!m_noRevision) {
                    m_hostOpen = true;
                    m_toHost += static_cast<char>(m_revision);
                }
                break;
            case 0x03:
                m_hostOpen = false;
                m_buffer.clear();
                break;
            case 0x04:
                m_toHost += static_cast<char>(m_wrongEcho ? parameter(2) ^ 0xFF : parameter(2));
                break;
            default:
                break;
            }
            return;
        }
        if (!m_hostOpen) {
            return;
        }
        switch (code) {
        case 0x02:
            m_speed = parameter(1);
            break;
        case 0x08:
            if (!m_buffer.empty()) {
                m_buffer.pop_back();
            }
            ++m_backspaces;
            break;
        case 0x0A:
            m_buffer.clear();
            m_keying = false;
            ++m_clears;
            break;
        case 0x15:
            m_toHost += static_cast<char>(0xC0 | statusBitsLocked());
            break;
        default:
            break;
        }
    }

    int characterMs() const
    {
        return m_characterMs > 0 ? m_characterMs.load() : 12'000 / std::max(1, m_speed);
    }

    void keyCharacters()
    {
        if (m_holdXoff) {
            return;
        }
        const auto now = Clock::now();
        if (m_keying && now >= m_characterEnds) {
            m_keying = false;
            m_sent += m_keyed;
            m_toHost += m_keyed; // the echo of a character sent
        }
        if (!m_keying && !m_buffer.empty()) {
            m_keyed = m_buffer.front();
            m_buffer.pop_front();
            m_keying = true;
            m_characterEnds = now + std::chrono::milliseconds(characterMs());
        }
    }

    int statusBitsLocked() const
    {
        int bits = 0;
        if (m_keying || !m_buffer.empty()) {
            bits |= Busy;
        }
        if (m_holdXoff || m_buffer.size() > m_xoffAbove) {
            bits |= Xoff | Busy;
        }
        return bits;
    }

    void reportStatus()
    {
        if (!m_hostOpen) {
            return;
        }
        const int bits = statusBitsLocked();
        if (bits != m_lastStatus) {
            m_lastStatus = bits;
            m_toHost += static_cast<char>(0xC0 | bits);
        }
    }

    void flushToHost()
    {
        if (m_toHost.empty()) {
            return;
        }
        const ssize_t written = ::write(m_handle, m_toHost.data(), m_toHost.size());
        if (written > 0) {
            m_toHost.erase(0, static_cast<std::size_t>(written));
        }
    }

    int m_handle = -1;
    std::thread m_thread;
    std::atomic<bool> m_stopping = false;
    std::atomic<bool> m_silent = false;
    std::atomic<bool> m_wrongEcho = false;
    std::atomic<bool> m_noRevision = false;
    std::atomic<bool> m_holdXoff = false;
    std::atomic<int> m_characterMs = 0;
    std::atomic<std::size_t> m_xoffAbove = BufferSize * 2 / 3;
    std::uint8_t m_revision = 23;

    mutable std::mutex m_mutex;
    std::string m_received;
    std::string m_command;
    std::string m_toHost;
    std::deque<char> m_buffer;
    std::string m_sent;
    bool m_hostOpen = false;
    bool m_keying = false;
    char m_keyed = 0;
    Clock::time_point m_characterEnds;
    int m_speed = 18;
    int m_lastStatus = 0;
    int m_clears = 0;
    int m_backspaces = 0;
    std::size_t m_dropped = 0;
};

} // namespace brindle::test
