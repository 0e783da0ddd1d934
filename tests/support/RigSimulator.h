#pragma once

#include "support/SerialDeviceEnd.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace brindle::test {

// A transceiver on the far end of a serial line (a PtyPair's far()), answering the CAT requests of one of
// the families the logger polls, from a thread of its own, so the side under test may poll from its event
// loop as it likes. It records what it heard and can be made slow, mute, or to lose half of each answer.
//
// What the model leaves out, so that a test does not count on it: one VFO, no split, RIT or memories; an
// Icom's unasked transceive reports; the Kenwood and Yaesu commands beyond frequency, mode and the IF
// status; any pacing of the answers by the baud rate.
class RigSimulator
{
public:
    enum class Protocol
    {
        Kenwood, // text ending in ";": Kenwood, Elecraft
        Ftdx9000, // the same style with eight digits of hertz and "MD0"
        Icom, // CI-V frames
        Icom735, // CI-V with four bytes of frequency and no filter byte
        Yaesu, // five-byte commands, opcode last (FT-817 and alike)
    };
    enum class Mode
    {
        Lsb,
        Usb,
        Cw,
        CwReverse,
        Am,
        Fm,
        Rtty,
    };

    static constexpr long long StartingFrequencyHz = 14'025'000;
    static constexpr unsigned char DefaultCivAddress = 0x64;

    RigSimulator(const std::string& farDevice, Protocol protocol)
        : m_line(farDevice, m_mutex)
        , m_protocol(protocol)
    {
        m_line.start([this](std::string_view input, Clock::time_point now) { hear(input, now); });
    }
    // The line's thread ends before the state it works on goes.
    ~RigSimulator()
    {
        stop();
    }
    RigSimulator(const RigSimulator&) = delete;
    RigSimulator& operator=(const RigSimulator&) = delete;

    // Empty when the device opened; otherwise why it did not.
    const std::string& failure() const
    {
        return m_line.failure();
    }

    // Ends the radio's thread and lets go of the line; together with PtyPair::stop() it is an unplugged
    // cable.
    void stop()
    {
        m_line.stop();
    }

    // The dial and the mode switch, as the operator turns them.
    void setFrequencyHz(long long hertz)
    {
        const std::lock_guard lock(m_mutex);
        m_frequencyHz = hertz;
    }
    long long frequencyHz() const
    {
        const std::lock_guard lock(m_mutex);
        return m_frequencyHz;
    }
    void setMode(Mode mode)
    {
        const std::lock_guard lock(m_mutex);
        m_mode = mode;
    }
    Mode mode() const
    {
        const std::lock_guard lock(m_mutex);
        return m_mode;
    }

    // The CI-V address the radio answers to.
    void setCivAddress(unsigned char address)
    {
        const std::lock_guard lock(m_mutex);
        m_civAddress = address;
    }
    // On the one-wire CI-V bus every byte sent comes back to the sender; a level converter with separate
    // receive and send lines does not do that.
    void setEcho(bool echo)
    {
        const std::lock_guard lock(m_mutex);
        m_echo = echo;
    }

    // A radio switched off behind an interface that is powered: what arrives is recorded and nothing is
    // answered. The CI-V echo is the bus's, not the radio's, so it goes on.
    void setSilent(bool silent)
    {
        const std::lock_guard lock(m_mutex);
        m_silent = silent;
    }
    // Answers leave this much later; what follows them on the line waits behind them.
    void setReplyDelay(std::chrono::milliseconds delay)
    {
        const std::lock_guard lock(m_mutex);
        m_replyDelay = delay;
    }
    // Only the first half of each answer is sent and the rest never, as after a hit on the line.
    void setCutReplies(bool cut)
    {
        const std::lock_guard lock(m_mutex);
        m_cutReplies = cut;
    }
    // Bytes sent once, at once and unasked, as noise on the line.
    void setGarbage(std::string bytes)
    {
        const std::lock_guard lock(m_mutex);
        enqueue(std::move(bytes), Clock::now());
    }

    // What arrived, in the pieces the line's rounds took it in (2 ms apart at most), each with the time
    // of its round: a test measures the spacing of commands from them.
    struct Arrival
    {
        SerialDeviceEnd::Clock::time_point at;
        std::string bytes;
    };
    std::vector<Arrival> arrivals() const
    {
        const std::lock_guard lock(m_mutex);
        return m_arrivals;
    }

    // Every byte the radio got, in order.
    std::string received() const
    {
        const std::lock_guard lock(m_mutex);
        return m_received;
    }
    std::string takeReceived()
    {
        const std::lock_guard lock(m_mutex);
        m_arrivals.clear();
        return std::exchange(m_received, {});
    }
    // Whether these bytes have arrived, one after another, since the last takeReceived(); never waits, so
    // a test running the event loop can use it with QTest::qWaitFor.
    bool hasReceived(std::string_view bytes) const
    {
        const std::lock_guard lock(m_mutex);
        return m_received.find(bytes) != std::string::npos;
    }
    // The same for a test without an event loop: whether they arrived within the timeout.
    bool waitForReceived(std::string_view bytes, std::chrono::milliseconds timeout) const
    {
        const auto giveUp = Clock::now() + timeout;
        while (!hasReceived(bytes)) {
            if (Clock::now() > giveUp) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    // The whole commands heard so far, to any address: as text for the text families ("FA;"), as
    // hex pairs the way the rig window writes poll strings for the binary ones ("FE FE 64 E0 03 FD").
    std::vector<std::string> commands() const
    {
        const std::lock_guard lock(m_mutex);
        return m_commands;
    }
    // Every byte the radio wrote, echoes included.
    std::string written() const
    {
        const std::lock_guard lock(m_mutex);
        return m_line.written();
    }

    // The bytes of the CI-V frequency: BCD, least significant pair first, of hertz.
    static std::string civFrequency(long long hertz, std::size_t byteCount)
    {
        std::string out;
        for (std::size_t k = 0; k < byteCount; ++k) {
            out += static_cast<char>(bcdPair(static_cast<int>(hertz % 100)));
            hertz /= 100;
        }
        return out;
    }

private:
    using Clock = SerialDeviceEnd::Clock;

    static constexpr unsigned char CivPreamble = 0xFE;
    static constexpr unsigned char CivEnd = 0xFD;
    static constexpr unsigned char CivOk = 0xFB;
    static constexpr unsigned char CivNotOk = 0xFA;
    // Longer than any frame a controller sends: what has no end by then was no frame.
    static constexpr std::size_t LongestCommand = 64;

    static unsigned char bcdPair(int value)
    {
        return static_cast<unsigned char>((value / 10) << 4 | value % 10);
    }
    static std::optional<int> fromBcdPair(unsigned char byte)
    {
        if ((byte >> 4) > 9 || (byte & 0x0F) > 9) {
            return std::nullopt;
        }
        return (byte >> 4) * 10 + (byte & 0x0F);
    }
    static std::string hexPairs(std::string_view bytes)
    {
        std::string text;
        for (const char byte : bytes) {
            char pair[4];
            std::snprintf(pair, sizeof pair, "%02X ", static_cast<unsigned char>(byte));
            text += pair;
        }
        if (!text.empty()) {
            text.pop_back();
        }
        return text;
    }
    static std::string digits(long long value, int width)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%0*lld", width, value);
        return text;
    }
    static bool allDigits(std::string_view text)
    {
        return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    }

    // The mode codes of each family, in the order of Mode. The Kenwood and Yaesu text rigs share one set
    // (6 is FSK on the one, RTTY-LSB on the other); the FT-817 calls its data modes DIG, 0A.
    static constexpr Mode Modes[] = { Mode::Lsb, Mode::Usb, Mode::Cw, Mode::CwReverse, Mode::Am, Mode::Fm, Mode::Rtty };
    static constexpr char TextCodes[] = { '1', '2', '3', '7', '5', '4', '6' };
    static constexpr unsigned char CivCodes[] = { 0x00, 0x01, 0x03, 0x07, 0x02, 0x05, 0x04 };
    static constexpr unsigned char YaesuCodes[] = { 0x00, 0x01, 0x02, 0x03, 0x04, 0x08, 0x0A };

    template <class Code> static Code codeOf(Mode mode, const Code (&codes)[std::size(Modes)])
    {
        return codes[static_cast<std::size_t>(mode)];
    }
    template <class Code> static std::optional<Mode> modeOf(Code code, const Code (&codes)[std::size(Modes)])
    {
        for (std::size_t k = 0; k < std::size(Modes); ++k) {
            if (codes[k] == code) {
                return Modes[k];
            }
        }
        return std::nullopt;
    }

    // What arrived in one round of the line: recorded, echoed on the bus, and taken byte by byte.
    void hear(std::string_view input, Clock::time_point now)
    {
        m_received += input;
        if (!input.empty()) {
            m_arrivals.push_back({ now, std::string(input) });
        }
        if (m_echo && (m_protocol == Protocol::Icom || m_protocol == Protocol::Icom735) && !input.empty()) {
            enqueue(std::string(input), now);
        }
        for (const char byte : input) {
            take(static_cast<unsigned char>(byte), now);
        }
    }

    void take(unsigned char byte, Clock::time_point now)
    {
        switch (m_protocol) {
        case Protocol::Kenwood:
        case Protocol::Ftdx9000:
            m_command += static_cast<char>(byte);
            if (byte == ';') {
                const std::string command = std::exchange(m_command, {});
                m_commands.push_back(command);
                textCommand(command, now);
            } else if (m_command.size() > LongestCommand) {
                m_command.clear();
            }
            break;
        case Protocol::Icom:
        case Protocol::Icom735:
            takeCiv(byte, now);
            break;
        case Protocol::Yaesu:
            m_command += static_cast<char>(byte);
            if (m_command.size() == 5) {
                const std::string command = std::exchange(m_command, {});
                m_commands.push_back(hexPairs(command));
                yaesuCommand(command, now);
            }
            break;
        }
    }

    void textCommand(std::string_view command, Clock::time_point now)
    {
        const bool ftdx = m_protocol == Protocol::Ftdx9000;
        const std::size_t frequencyDigits = ftdx ? 8 : 11;
        const std::string_view modeCommand = ftdx ? "MD0" : "MD";
        const std::string_view body = command.substr(0, command.size() - 1);
        if (body == "FA") {
            answer("FA" + digits(m_frequencyHz, static_cast<int>(frequencyDigits)) + ";", now);
        } else if (body.substr(0, 2) == "FA" && body.size() == 2 + frequencyDigits && allDigits(body.substr(2))) {
            m_frequencyHz = std::stoll(std::string(body.substr(2)));
        } else if (body == modeCommand) {
            answer(std::string(modeCommand) + codeOf(m_mode, TextCodes) + ";", now);
        } else if (body.substr(0, modeCommand.size()) == modeCommand && body.size() == modeCommand.size() + 1
            && modeOf(body.back(), TextCodes)) {
            m_mode = *modeOf(body.back(), TextCodes);
        } else if (body == "IF" && !ftdx) {
            answer(ifStatus(), now);
        } else {
            answer("?;", now);
        }
    }

    // The IF status: hertz, step, RIT offset, RIT and XIT, memory bank and channel, receiving, then the
    // mode (0-based 29) and the VFO (30, A is 0), scan, split, tone, tone number and shift.
    std::string ifStatus() const
    {
        return "IF" + digits(m_frequencyHz, 11) + "     " + "+0000" + "0" + "0" + "0" + "00" + "0"
            + codeOf(m_mode, TextCodes) + "0" + "0" + "0" + "0" + "00" + "0" + ";";
    }

    void takeCiv(unsigned char byte, Clock::time_point now)
    {
        if (byte == CivPreamble) {
            // Controllers may send more than two preamble bytes; one inside a frame starts the next frame,
            // as after a frame cut short.
            const bool preamble = m_command.size() == 1 || m_command.size() == 2;
            m_command.assign(preamble ? 2 : 1, static_cast<char>(CivPreamble));
            return;
        }
        if (m_command.size() < 2) {
            m_command.clear(); // no frame has begun
            return;
        }
        m_command += static_cast<char>(byte);
        if (byte == CivEnd) {
            const std::string frame = std::exchange(m_command, {});
            m_commands.push_back(hexPairs(frame));
            civFrame(frame, now);
        } else if (m_command.size() > LongestCommand) {
            m_command.clear();
        }
    }

    void civFrame(std::string_view frame, Clock::time_point now)
    {
        // FE FE, to, from, command, data, FD.
        if (frame.size() < 6 || static_cast<unsigned char>(frame[2]) != m_civAddress) {
            return;
        }
        const auto controller = static_cast<unsigned char>(frame[3]);
        const auto command = static_cast<unsigned char>(frame[4]);
        const std::string_view data = frame.substr(5, frame.size() - 6);
        const bool old = m_protocol == Protocol::Icom735;
        const std::size_t frequencyBytes = old ? 4 : 5;
        const auto reply = [&](std::string body) {
            std::string out { static_cast<char>(CivPreamble), static_cast<char>(CivPreamble),
                static_cast<char>(controller), static_cast<char>(m_civAddress) };
            answer(out + body + static_cast<char>(CivEnd), now);
        };
        const auto acknowledge = [&](bool ok) { reply(std::string(1, static_cast<char>(ok ? CivOk : CivNotOk))); };
        switch (command) {
        case 0x03:
            reply(std::string(1, static_cast<char>(command)) + civFrequency(m_frequencyHz, frequencyBytes));
            break;
        case 0x04: {
            std::string body { static_cast<char>(command), static_cast<char>(codeOf(m_mode, CivCodes)) };
            if (!old) {
                body += '\x01'; // the first filter
            }
            reply(body);
            break;
        }
        case 0x05: {
            const std::optional<long long> hertz = civHertz(data, frequencyBytes);
            if (hertz) {
                m_frequencyHz = *hertz;
            }
            acknowledge(hertz.has_value());
            break;
        }
        case 0x06: {
            const std::optional<Mode> mode
                = data.empty() ? std::nullopt : modeOf(static_cast<unsigned char>(data[0]), CivCodes);
            if (mode) {
                m_mode = *mode;
            }
            acknowledge(mode.has_value());
            break;
        }
        default:
            acknowledge(false);
            break;
        }
    }

    static std::optional<long long> civHertz(std::string_view data, std::size_t byteCount)
    {
        if (data.size() != byteCount) {
            return std::nullopt;
        }
        long long hertz = 0;
        for (std::size_t k = byteCount; k-- > 0;) {
            const std::optional<int> pair = fromBcdPair(static_cast<unsigned char>(data[k]));
            if (!pair) {
                return std::nullopt;
            }
            hertz = hertz * 100 + *pair;
        }
        return hertz;
    }

    void yaesuCommand(std::string_view command, Clock::time_point now)
    {
        switch (static_cast<unsigned char>(command[4])) {
        case 0x01: {
            long long tensOfHertz = 0;
            for (std::size_t k = 0; k < 4; ++k) {
                const std::optional<int> pair = fromBcdPair(static_cast<unsigned char>(command[k]));
                if (!pair) {
                    return;
                }
                tensOfHertz = tensOfHertz * 100 + *pair;
            }
            m_frequencyHz = tensOfHertz * 10;
            break;
        }
        case 0x03: {
            std::string status;
            long long tensOfHertz = m_frequencyHz / 10;
            for (int k = 0; k < 4; ++k) {
                status.insert(status.begin(), static_cast<char>(bcdPair(static_cast<int>(tensOfHertz % 100))));
                tensOfHertz /= 100;
            }
            answer(status + static_cast<char>(codeOf(m_mode, YaesuCodes)), now);
            break;
        }
        case 0x07:
            if (const std::optional<Mode> mode = modeOf(static_cast<unsigned char>(command[0]), YaesuCodes)) {
                m_mode = *mode;
            }
            break;
        default:
            // CAT on (00), CAT off (80) and the rest are taken without a word.
            break;
        }
    }

    void answer(std::string bytes, Clock::time_point now)
    {
        if (m_silent) {
            return;
        }
        if (m_cutReplies) {
            bytes.resize(bytes.size() / 2);
        }
        enqueue(std::move(bytes), now + m_replyDelay);
    }

    void enqueue(std::string bytes, Clock::time_point due)
    {
        m_line.enqueueByDue(std::move(bytes), due);
    }

    mutable std::mutex m_mutex;
    SerialDeviceEnd m_line;
    const Protocol m_protocol;

    // Faults and timing a test sets.
    bool m_echo = true;
    bool m_silent = false;
    bool m_cutReplies = false;
    Clock::duration m_replyDelay {};

    // The radio.
    long long m_frequencyHz = StartingFrequencyHz;
    Mode m_mode = Mode::Cw;
    unsigned char m_civAddress = DefaultCivAddress;
    std::string m_command;

    // What happened.
    std::string m_received;
    std::vector<Arrival> m_arrivals;
    std::vector<std::string> m_commands;
};

} // namespace brindle::test
