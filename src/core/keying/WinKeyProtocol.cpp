#include "WinKeyProtocol.h"

#include <initializer_list>
#include <utility>

namespace brindle {

namespace {

constexpr unsigned char Admin = 0x00;
constexpr unsigned char HostOpen = 0x02;
constexpr unsigned char HostClose = 0x03;
constexpr unsigned char EchoTest = 0x04;
constexpr unsigned char EchoByte = 0x55;
constexpr unsigned char NullCommand = 0x13;
// The echoes kept for the window; a keyer sending for hours must not grow them without end.
constexpr std::size_t MaxEchoes = 4096;

std::string bytes(std::initializer_list<unsigned char> values)
{
    std::string out;
    for (unsigned char value : values) {
        out += static_cast<char>(value);
    }
    return out;
}

} // namespace

std::string_view winKeyOpenText(WinKeyOpenOutcome outcome)
{
    switch (outcome) {
    case WinKeyOpenOutcome::Success:
        return "WK Success!";
    case WinKeyOpenOutcome::NoEchoResponse:
        return "No Echo Response";
    case WinKeyOpenOutcome::EchoMismatch:
        return "Echo Mismatch";
    case WinKeyOpenOutcome::NoOpenResponse:
        return "No Open Response";
    case WinKeyOpenOutcome::ComOpenFailed:
        return "Com Open Failed";
    case WinKeyOpenOutcome::GetComStateFailed:
        return "Get Com ST Failed";
    case WinKeyOpenOutcome::SetComStateFailed:
        return "Set Com ST Failed";
    case WinKeyOpenOutcome::AlreadyOpen:
        return "WK Already Open";
    case WinKeyOpenOutcome::NotOpen:
        return "WK Not Open";
    }
    return {};
}

void WinKeyProtocol::beginOpen(std::int64_t nowMs)
{
    if (isOpen()) {
        m_outcome = WinKeyOpenOutcome::AlreadyOpen;
        return;
    }
    m_outcome.reset();
    m_status = 0;
    m_speedPot.reset();
    m_echoes.clear();
    // A keyer left halfway through a command by an earlier program takes the null commands as that
    // command's parameters at worst, and is then at the start of the next command.
    m_output += bytes({ NullCommand, NullCommand, NullCommand, Admin, EchoTest, EchoByte });
    m_state = State::AwaitingEcho;
    m_deadline = nowMs + AnswerTimeoutMs;
}

void WinKeyProtocol::failOpen(WinKeyOpenOutcome outcome)
{
    m_output.clear();
    endOpening(outcome);
}

void WinKeyProtocol::endOpening(WinKeyOpenOutcome outcome)
{
    m_outcome = outcome;
    m_state = outcome == WinKeyOpenOutcome::Success ? State::Open : State::Closed;
}

void WinKeyProtocol::receive(std::string_view received, std::int64_t nowMs)
{
    for (const char c : received) {
        const auto byte = static_cast<unsigned char>(c);
        // A keyer left in host mode by an earlier program may still report its status or speed pot while
        // it is opened again: those bytes have the top bit set, which no echo or version byte has.
        if (isOpening() && (byte & 0x80) != 0) {
            continue;
        }
        switch (m_state) {
        case State::Closed:
            break; // nothing is expected: a keyer's chatter before it is opened
        case State::AwaitingEcho:
            if (byte != EchoByte) {
                endOpening(WinKeyOpenOutcome::EchoMismatch);
                break;
            }
            m_output += bytes({ Admin, HostOpen });
            m_state = State::AwaitingVersion;
            m_deadline = nowMs + AnswerTimeoutMs;
            break;
        case State::AwaitingVersion:
            // A revision of 0 is no revision: the keyer did not open.
            m_version = byte;
            endOpening(byte != 0 ? WinKeyOpenOutcome::Success : WinKeyOpenOutcome::NoOpenResponse);
            break;
        case State::Open:
            takeFromOpenKeyer(byte);
            break;
        }
    }
}

void WinKeyProtocol::takeFromOpenKeyer(unsigned char byte)
{
    if ((byte & 0xC0) == 0xC0) {
        m_status = byte & 0x1F;
    } else if ((byte & 0xC0) == 0x80) {
        m_speedPot = byte & 0x3F;
    } else {
        if (m_echoes.size() >= MaxEchoes) {
            m_echoes.erase(0, m_echoes.size() - MaxEchoes / 2);
        }
        m_echoes += static_cast<char>(byte);
    }
}

void WinKeyProtocol::tick(std::int64_t nowMs)
{
    if (!isOpening() || nowMs < m_deadline) {
        return;
    }
    endOpening(m_state == State::AwaitingEcho ? WinKeyOpenOutcome::NoEchoResponse : WinKeyOpenOutcome::NoOpenResponse);
}

std::string WinKeyProtocol::takeEchoes()
{
    return std::exchange(m_echoes, std::string());
}

void WinKeyProtocol::command(std::string_view commandBytes)
{
    if (isOpen()) {
        m_output += commandBytes;
    }
}

void WinKeyProtocol::setSpeed(std::uint8_t wordsPerMinute)
{
    command(bytes({ 0x02, wordsPerMinute }));
}

void WinKeyProtocol::setWeight(std::uint8_t weight)
{
    command(bytes({ 0x03, weight }));
}

void WinKeyProtocol::setLeadInAndTail(std::uint8_t leadIn, std::uint8_t tail)
{
    command(bytes({ 0x04, leadIn, tail }));
}

void WinKeyProtocol::setRatio(std::uint8_t ratio)
{
    command(bytes({ 0x17, ratio }));
}

void WinKeyProtocol::setPinConfiguration(std::uint8_t pins)
{
    command(bytes({ 0x09, pins }));
}

void WinKeyProtocol::setMode(std::uint8_t mode)
{
    command(bytes({ 0x0E, mode }));
}

void WinKeyProtocol::clearBuffer()
{
    command(bytes({ 0x0A }));
}

void WinKeyProtocol::backspace()
{
    command(bytes({ 0x08 }));
}

void WinKeyProtocol::requestStatus()
{
    command(bytes({ 0x15 }));
}

void WinKeyProtocol::sendCharacter(char character)
{
    // Codes below 0x20 are the keyer's commands, not characters, and none is defined above 0x7F.
    const auto code = static_cast<unsigned char>(character);
    if (code >= 0x20 && code < 0x80) {
        command(std::string(1, character));
    }
}

void WinKeyProtocol::close()
{
    // The keyer is in host mode from the moment it read the host open, answered or not.
    if (isOpen() || m_state == State::AwaitingVersion) {
        m_output += bytes({ Admin, HostClose });
    }
    if (isOpening()) {
        m_outcome = WinKeyOpenOutcome::NotOpen;
    }
    m_state = State::Closed;
    m_status = 0;
}

std::string WinKeyProtocol::takeOutput()
{
    return std::exchange(m_output, std::string());
}

} // namespace brindle
