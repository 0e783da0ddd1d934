#pragma once

#include "support/SerialDeviceEnd.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace brindle::test {

// A WinKey 2 keyer in host mode on the far end of a serial line (a PtyPair's far()), for the tests of the
// driver that talks to a real one. It answers from a thread of its own, so the side under test may block,
// poll or run an event loop as it likes, and it records what the host wrote and what that did to it.
//
// What the model leaves out, so that a test does not count on it: sidetone, PTT, Farnsworth, HSCW, the
// paddle and pointer settings and the buffered speed, key and wait commands are taken with their
// parameters and otherwise ignored (the wait bit is never set); merged letters are queued as their two
// letters; echoes of sent characters are always on, whatever the mode register says.
class WinKeySimulator
{
public:
    static constexpr int BufferCapacity = 128;
    static constexpr int DefaultRevision = 23;
    // The registers at power-on: these words per minute, weight and ratio 50, everything else 0.
    static constexpr int DefaultSpeed = 20;
    // The status byte: 0xC0 with these bits.
    static constexpr unsigned char Status = 0xC0;
    static constexpr unsigned char Xoff = 0x01;
    static constexpr unsigned char BreakIn = 0x02;
    static constexpr unsigned char Busy = 0x04;
    static constexpr unsigned char KeyDown = 0x08;
    static constexpr unsigned char Wait = 0x10;

    explicit WinKeySimulator(const std::string& device)
        : m_line(device, m_mutex)
    {
        m_line.start([this](std::string_view input, Clock::time_point now) {
            for (const char byte : input) {
                take(static_cast<unsigned char>(byte), now);
            }
            keyCharacters(now);
        });
    }
    // The line's thread ends before the state it works on goes.
    ~WinKeySimulator()
    {
        stop();
    }
    WinKeySimulator(const WinKeySimulator&) = delete;
    WinKeySimulator& operator=(const WinKeySimulator&) = delete;

    // Empty when the device opened; otherwise why it did not.
    const std::string& failure() const
    {
        return m_line.failure();
    }

    // Ends the keyer's thread and lets go of the line, as a keyer pulled off its cable would; stopping
    // together with PtyPair::stop() is an unplugged adapter.
    void stop()
    {
        m_line.stop();
    }

    // The answer to host open; 0 is a keyer that answers but not with a revision.
    void setRevision(int revision)
    {
        const std::lock_guard lock(m_mutex);
        m_revision = static_cast<unsigned char>(revision);
    }
    // How long each character takes to key; 0 goes back to the time the speed gives (ten dot units of
    // 1200 / wpm ms), which makes tests of a few characters last seconds.
    void setCharacterMs(int milliseconds)
    {
        const std::lock_guard lock(m_mutex);
        m_characterMs = milliseconds;
    }
    // XOFF is reported while more than this many characters wait in the buffer.
    void setXoffThreshold(int characters)
    {
        const std::lock_guard lock(m_mutex);
        m_xoffThreshold = characters;
    }
    // A keyer that is not there: what arrives is recorded, nothing is done with it and nothing answered.
    void setSilent(bool silent)
    {
        const std::lock_guard lock(m_mutex);
        m_silent = silent;
        if (silent) {
            m_line.dropOutput();
        }
    }
    // The echo test is answered, with a byte other than the one sent.
    void setWrongEcho(bool wrong)
    {
        const std::lock_guard lock(m_mutex);
        m_wrongEcho = wrong;
    }
    // Host open is neither answered nor obeyed.
    void setNoRevision(bool none)
    {
        const std::lock_guard lock(m_mutex);
        m_noRevision = none;
    }
    // Answers to the host's questions (echo test, host open, status, pot, values) leave this much later;
    // what follows them on the line waits behind them, as on a real serial line.
    void setAnswerDelayMs(int milliseconds)
    {
        const std::lock_guard lock(m_mutex);
        m_answerDelay = std::chrono::milliseconds(milliseconds);
    }
    // A keyer that stops sending and reports XOFF until released, whatever its buffer holds.
    void holdXoff(bool hold)
    {
        const std::lock_guard lock(m_mutex);
        m_holdXoff = hold;
        reportStatus(Clock::now());
    }
    // Bytes the host should make sense of or ignore, written as they are.
    void sendGarbage(std::string_view bytes)
    {
        const std::lock_guard lock(m_mutex);
        enqueue(std::string(bytes), Clock::now());
    }
    // The operator takes over with the paddles for this long: the keyer drops what it was sending and
    // what was buffered (as WinKey does on paddle break-in), reports break-in and busy at once, and idle
    // when the paddles are let go.
    void pressPaddles(int milliseconds)
    {
        const std::lock_guard lock(m_mutex);
        const auto now = Clock::now();
        m_paddlesUntil = now + std::chrono::milliseconds(milliseconds);
        m_buffer.clear();
        m_keying = false;
        reportStatus(now);
    }
    // The speed knob, as 0 to 63 above the pot's minimum; its new value is sent at once, unasked.
    void turnSpeedPot(int value)
    {
        const std::lock_guard lock(m_mutex);
        m_pot = static_cast<unsigned char>(value & 0x3F);
        enqueue(std::string(1, static_cast<char>(0x80 | m_pot)), Clock::now());
    }

    // Every byte the host wrote, in order.
    std::string received() const
    {
        const std::lock_guard lock(m_mutex);
        return m_received;
    }
    // Every byte the keyer wrote to the host, in order.
    std::string written() const
    {
        const std::lock_guard lock(m_mutex);
        return m_line.written();
    }
    bool isHostOpen() const
    {
        const std::lock_guard lock(m_mutex);
        return m_hostOpen;
    }
    int speed() const
    {
        return reg(m_speed);
    }
    int weight() const
    {
        return reg(m_weight);
    }
    int leadIn() const
    {
        return reg(m_leadIn);
    }
    int tail() const
    {
        return reg(m_tail);
    }
    int ratio() const
    {
        return reg(m_ratio);
    }
    int pinConfiguration() const
    {
        return reg(m_pinConfiguration);
    }
    int mode() const
    {
        return reg(m_mode);
    }
    // The status byte as it is now, whether or not it has been sent.
    int status() const
    {
        const std::lock_guard lock(m_mutex);
        return statusNow(Clock::now());
    }
    // Characters keyed to the end, oldest first.
    std::string sentText() const
    {
        const std::lock_guard lock(m_mutex);
        return m_sent;
    }
    // Characters waiting in the buffer; the one being keyed has left it and is in neither this nor
    // sentText().
    std::string bufferedText() const
    {
        const std::lock_guard lock(m_mutex);
        return m_buffer;
    }
    int clearCount() const
    {
        return reg(m_clears);
    }
    int backspaceCount() const
    {
        return reg(m_backspaces);
    }
    int statusRequests() const
    {
        return reg(m_statusRequests);
    }
    // Characters that arrived with the buffer full and were lost.
    int droppedCharacters() const
    {
        return reg(m_dropped);
    }

    // Whether the condition came true within the timeout; it is checked every millisecond or so.
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
    using Clock = SerialDeviceEnd::Clock;

    // Parameter bytes after each immediate command's code (0x00 and 0x16 have rules of their own).
    static constexpr std::array<int, 0x20> ImmediateParameters {
        0, 1, 1, 1, 2, 3, 1, 0, //  -, sidetone, speed, weight, lead-in/tail, pot setup, pause, get pot
        0, 1, 0, 1, 1, 1, 1, 15, // backspace, pins, clear, key immediate, HSCW, Farnsworth, mode, defaults
        1, 1, 1, 0, 1, 0, 1, 1, // 1st extension, key compensation, switchpoint, null, paddle, status, -, ratio
        1, 1, 1, 2, 1, 1, 0, 0, // PTT, key, wait, merge, speed, HSCW (all buffered), cancel speed, buffered nop
    };

    // Parameter bytes after an admin command's sub-code: calibrate takes the host's 0xFF, the echo test
    // its byte, load EEPROM all 256 bytes, send message its number, and load X1MODE (a WinKey 3 addition
    // a host may send anyway) its value. Reset, host open and close, the A2D and value queries, the WK1
    // and WK2 mode switches and dump EEPROM take none.
    static int adminParameters(unsigned char code)
    {
        switch (code) {
        case 0x00:
        case 0x04:
        case 0x0E:
        case 0x0F:
            return 1;
        case 0x0D:
            return 256;
        default:
            return 0;
        }
    }

    static std::size_t commandLength(const std::string& command)
    {
        const auto code = static_cast<unsigned char>(command[0]);
        if (code == 0x00 || code == 0x16) {
            if (command.size() < 2) {
                return 2;
            }
            const auto sub = static_cast<unsigned char>(command[1]);
            if (code == 0x00) {
                return 2 + static_cast<std::size_t>(adminParameters(sub));
            }
            // The pointer command: 00 resets the pointers; 01 and 02 move one, 03 adds nulls, each by a count.
            return sub >= 1 && sub <= 3 ? 3 : 2;
        }
        return 1 + static_cast<std::size_t>(ImmediateParameters[code]);
    }

    int reg(const int& value) const
    {
        const std::lock_guard lock(m_mutex);
        return value;
    }

    void take(unsigned char byte, Clock::time_point now)
    {
        m_received += static_cast<char>(byte);
        if (m_silent) {
            return;
        }
        if (m_command.empty()) {
            if (byte >= 0x20) {
                if (m_hostOpen && byte < 0x80) {
                    queue(static_cast<char>(byte));
                }
                return;
            }
            if (!m_hostOpen && byte != 0x00) {
                return; // outside host mode only admin commands are heard
            }
        }
        m_command += static_cast<char>(byte);
        if (m_command.size() == commandLength(m_command)) {
            const std::string command = std::move(m_command);
            m_command.clear();
            if (command[0] == 0x00) {
                admin(command, now);
            } else {
                immediate(command, now);
            }
            reportStatus(now);
        }
    }

    void admin(const std::string& command, Clock::time_point now)
    {
        const auto parameter = [&](std::size_t i) { return static_cast<unsigned char>(command[2 + i]); };
        switch (static_cast<unsigned char>(command[1])) {
        case 0x01:
            resetKeyer();
            break;
        case 0x02:
            if (!m_noRevision) {
                answer(std::string(1, static_cast<char>(m_revision)), now);
                m_hostOpen = true;
                m_reported = statusNow(now);
            }
            break;
        case 0x03:
            m_hostOpen = false;
            m_buffer.clear();
            m_keying = false;
            break;
        case 0x04:
            answer(std::string(1, static_cast<char>(m_wrongEcho ? parameter(0) ^ 0x01 : parameter(0))), now);
            break;
        case 0x05: // paddle A2D, speed A2D and get cal: no longer measured, always 0
        case 0x06:
        case 0x09:
            answer(std::string(1, '\0'), now);
            break;
        case 0x07:
            answer(values(), now);
            break;
        case 0x0C:
            answer(std::string(256, '\0'), now);
            break;
        default:
            break;
        }
    }

    void immediate(const std::string& command, Clock::time_point now)
    {
        const auto parameter = [&](std::size_t i) { return static_cast<unsigned char>(command[1 + i]); };
        switch (static_cast<unsigned char>(command[0])) {
        case 0x02:
            m_speed = parameter(0);
            break;
        case 0x03:
            m_weight = parameter(0);
            break;
        case 0x04:
            m_leadIn = parameter(0);
            m_tail = parameter(1);
            break;
        case 0x05:
            m_potMinimum = parameter(0);
            break;
        case 0x06:
            m_paused = parameter(0) != 0;
            break;
        case 0x07:
            answer(std::string(1, static_cast<char>(0x80 | m_pot)), now);
            break;
        case 0x08:
            ++m_backspaces;
            if (!m_buffer.empty()) {
                m_buffer.pop_back();
            }
            break;
        case 0x09:
            m_pinConfiguration = parameter(0);
            break;
        case 0x0A:
            ++m_clears;
            m_buffer.clear();
            m_keying = false;
            break;
        case 0x0B:
            m_keyDown = parameter(0) != 0;
            break;
        case 0x0E:
            m_mode = parameter(0);
            break;
        case 0x0F:
            // Mode, speed, sidetone, weight, lead-in, tail, pot minimum, pot range, 1st extension, key
            // compensation, Farnsworth, switchpoint, ratio, pins, pot range again.
            m_mode = parameter(0);
            m_speed = parameter(1);
            m_weight = parameter(3);
            m_leadIn = parameter(4);
            m_tail = parameter(5);
            m_potMinimum = parameter(6);
            m_ratio = parameter(12);
            m_pinConfiguration = parameter(13);
            break;
        case 0x15:
            ++m_statusRequests;
            answer(std::string(1, static_cast<char>(statusNow(now))), now);
            break;
        case 0x17:
            m_ratio = parameter(0);
            break;
        case 0x1B:
            queue(static_cast<char>(parameter(0)));
            queue(static_cast<char>(parameter(1)));
            break;
        default:
            break;
        }
    }

    std::string values() const
    {
        const int fields[] = { m_mode, m_speed, 0, m_weight, m_leadIn, m_tail, m_potMinimum, 0, 0, 0, 0, 50, m_ratio,
            m_pinConfiguration, 0 };
        std::string out;
        for (const int field : fields) {
            out += static_cast<char>(field);
        }
        return out;
    }

    void queue(char character)
    {
        if (static_cast<int>(m_buffer.size()) >= BufferCapacity) {
            ++m_dropped;
        } else {
            m_buffer += character;
        }
    }

    std::chrono::milliseconds characterTime() const
    {
        if (m_characterMs > 0) {
            return std::chrono::milliseconds(m_characterMs);
        }
        const int wordsPerMinute = m_speed > 0 ? m_speed : m_potMinimum + m_pot;
        return std::chrono::milliseconds(10 * 1200 / (wordsPerMinute > 0 ? wordsPerMinute : 5));
    }

    bool paddlesDown(Clock::time_point now) const
    {
        return now < m_paddlesUntil;
    }

    bool stopped(Clock::time_point now) const
    {
        return !m_hostOpen || m_paused || m_holdXoff || paddlesDown(now);
    }

    // Takes characters from the buffer and keys them, each for its time, echoing each as it ends. A
    // machine that fell behind catches up at once, character after character, so none is lost.
    void keyCharacters(Clock::time_point now)
    {
        Clock::time_point from = now;
        for (;;) {
            if (!m_keying && !m_buffer.empty() && !stopped(now)) {
                m_current = m_buffer.front();
                m_buffer.erase(0, 1);
                m_keying = true;
                m_keyedUntil = from + characterTime();
            }
            reportStatus(now);
            if (!m_keying || stopped(now) || now < m_keyedUntil) {
                return;
            }
            m_keying = false;
            m_sent += m_current;
            enqueue(std::string(1, m_current), now);
            from = m_keyedUntil;
        }
    }

    unsigned char statusNow(Clock::time_point now) const
    {
        unsigned char status = Status;
        if (m_holdXoff || static_cast<int>(m_buffer.size()) > m_xoffThreshold) {
            status |= Xoff;
        }
        if (paddlesDown(now)) {
            status |= BreakIn | Busy;
        }
        if (m_keying || !m_buffer.empty()) {
            status |= Busy;
        }
        if (m_keyDown) {
            status |= KeyDown;
        }
        return status;
    }

    // In host mode WinKey 2 sends its status whenever it changes, unasked.
    void reportStatus(Clock::time_point now)
    {
        const unsigned char status = statusNow(now);
        if (m_hostOpen && status != m_reported) {
            enqueue(std::string(1, static_cast<char>(status)), now);
        }
        m_reported = status;
    }

    void answer(std::string bytes, Clock::time_point now)
    {
        enqueue(std::move(bytes), now + m_answerDelay);
    }

    void enqueue(std::string bytes, Clock::time_point due)
    {
        if (!m_silent) {
            m_line.enqueue(std::move(bytes), due);
        }
    }

    // What a reset puts back; the recordings and the faults a test set are kept.
    void resetKeyer()
    {
        m_hostOpen = false;
        m_speed = DefaultSpeed;
        m_weight = 50;
        m_ratio = 50;
        m_leadIn = m_tail = m_pinConfiguration = m_mode = m_potMinimum = 0;
        m_paused = m_keyDown = m_keying = false;
        m_buffer.clear();
    }

    mutable std::mutex m_mutex;
    SerialDeviceEnd m_line;

    // Faults and timing a test sets.
    unsigned char m_revision = DefaultRevision;
    int m_characterMs = 0;
    int m_xoffThreshold = BufferCapacity * 2 / 3;
    bool m_silent = false;
    bool m_wrongEcho = false;
    bool m_noRevision = false;
    bool m_holdXoff = false;
    Clock::duration m_answerDelay {};

    // The keyer.
    std::string m_command;
    bool m_hostOpen = false;
    int m_speed = DefaultSpeed;
    int m_weight = 50;
    int m_ratio = 50;
    int m_leadIn = 0;
    int m_tail = 0;
    int m_pinConfiguration = 0;
    int m_mode = 0;
    int m_potMinimum = 0;
    unsigned char m_pot = 0;
    bool m_paused = false;
    bool m_keyDown = false;
    Clock::time_point m_paddlesUntil {};
    std::string m_buffer;
    bool m_keying = false;
    char m_current = 0;
    Clock::time_point m_keyedUntil {};
    unsigned char m_reported = Status;

    // What happened.
    std::string m_received;
    std::string m_sent;
    int m_clears = 0;
    int m_backspaces = 0;
    int m_statusRequests = 0;
    int m_dropped = 0;
};

} // namespace brindle::test
