#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// How an attempt to open the keyer ended, as the keyer window shows it.
enum class WinKeyOpenOutcome
{
    Success = 0,
    NoEchoResponse = 1,
    EchoMismatch = 2,
    NoOpenResponse = 3,
    ComOpenFailed = 4,
    GetComStateFailed = 5,
    SetComStateFailed = 6,
    AlreadyOpen = 8,
    NotOpen = 9,
};

// "WK Success!", "No Echo Response", …
std::string_view winKeyOpenText(WinKeyOpenOutcome outcome);

// A status from which the keyer takes no more characters: its buffer is more than two-thirds full (XOFF,
// bit 0), and anything of 5 or more (busy with XOFF, or the operator on the paddles) holds the text too.
// XOFF alone counts as well: a keyer held with a full buffer need not say it is busy.
inline bool winKeyRefusesCharacters(int status)
{
    return (status & 0x01) != 0 || status >= 5;
}

// The host side of the WinKey keyer's serial protocol, without the port: bytes to write come out of
// takeOutput(), bytes read go into receive(), and the time goes in with every call, so the opening's
// waits are timeouts a timer drives instead of sleeps. Nothing here blocks.
class WinKeyProtocol
{
public:
    // How long the keyer may take to answer the echo test and the host open.
    static constexpr std::int64_t AnswerTimeoutMs = 1000;

    // Starts opening: null commands to bring the keyer's command parser back to the start of a
    // command, the echo test, then (when the echo is right) the host open, whose answer is the keyer's
    // version. Opening an open keyer ends at once as AlreadyOpen, sending nothing.
    void beginOpen(std::int64_t nowMs);
    // The port itself could not be opened or set up: the opening ends with that outcome.
    void failOpen(WinKeyOpenOutcome outcome);
    void receive(std::string_view bytes, std::int64_t nowMs);
    void tick(std::int64_t nowMs);

    bool isOpening() const
    {
        return m_state == State::AwaitingEcho || m_state == State::AwaitingVersion;
    }
    bool isOpen() const
    {
        return m_state == State::Open;
    }
    // The outcome of the last opening, once it has ended.
    std::optional<WinKeyOpenOutcome> openOutcome() const
    {
        return m_outcome;
    }
    // The keyer's version byte; 0 while closed.
    int version() const
    {
        return isOpen() ? m_version : 0;
    }

    // The low five bits of the last status byte the keyer sent: 0 idle, above 0 busy; whether it takes
    // characters now, winKeyRefusesCharacters() says.
    int status() const
    {
        return m_status;
    }
    // The last speed-pot value the keyer sent, if any.
    std::optional<int> speedPot() const
    {
        return m_speedPot;
    }
    // Characters the keyer echoed as it sent them, oldest first; taking them empties the record.
    std::string takeEchoes();

    // Commands, written only while the keyer is open.
    void setSpeed(std::uint8_t wordsPerMinute);
    void setWeight(std::uint8_t weight);
    void setLeadInAndTail(std::uint8_t leadIn, std::uint8_t tail);
    void setRatio(std::uint8_t ratio);
    void setPinConfiguration(std::uint8_t pins);
    void setMode(std::uint8_t mode);
    void clearBuffer();
    void backspace();
    void requestStatus();
    // A character to send, as its code. Only printable ASCII is sent: a control code would be taken as
    // one of the keyer's commands (0x0A clears its buffer, 0x00 starts an admin command).
    void sendCharacter(char character);
    // Ends host mode and forgets the keyer's state; an opening under way ends as NotOpen.
    void close();

    std::string takeOutput();

private:
    enum class State
    {
        Closed,
        AwaitingEcho,
        AwaitingVersion,
        Open,
    };

    void endOpening(WinKeyOpenOutcome outcome);
    void command(std::string_view bytes);
    void takeFromOpenKeyer(unsigned char byte);

    State m_state = State::Closed;
    std::optional<WinKeyOpenOutcome> m_outcome;
    std::int64_t m_deadline = 0;
    int m_version = 0;
    int m_status = 0;
    std::optional<int> m_speedPot;
    std::string m_echoes;
    std::string m_output;
};

} // namespace brindle
