#include "TelnetProtocol.h"

namespace brindle {

void TelnetProtocol::command(unsigned char byte, std::string& text)
{
    if (byte == Iac) {
        text += static_cast<char>(byte);
        m_state = State::Text;
    } else if (byte >= Will && byte <= Dont) {
        m_verb = byte;
        m_state = State::Option;
    } else if (byte == Sb) {
        m_state = State::Subnegotiation;
        m_subnegotiationLength = 0;
    } else {
        // NOP, GA, DM and the rest: nothing a line-by-line reader needs to act on.
        m_state = State::Text;
    }
}

std::string TelnetProtocol::take(std::string_view received, std::string& replies)
{
    std::string text;
    text.reserve(received.size());
    for (const char c : received) {
        const auto byte = static_cast<unsigned char>(c);
        switch (m_state) {
        case State::Text:
            if (byte == Iac) {
                m_state = State::Command;
            } else {
                text += c;
            }
            break;
        case State::Command:
            command(byte, text);
            break;
        case State::Option:
            if (m_verb == Will || m_verb == Do) {
                replies += static_cast<char>(Iac);
                replies += static_cast<char>(m_verb == Will ? Dont : Wont);
                replies += c;
            }
            m_state = State::Text;
            break;
        case State::Subnegotiation:
            if (byte == Iac) {
                m_state = State::SubnegotiationIac;
            } else if (++m_subnegotiationLength > LongestSubnegotiation) {
                // No option's parameters run this long: the node's stream is text again, or noise.
                m_state = State::Text;
            }
            break;
        case State::SubnegotiationIac:
            // IAC SE ends it and a doubled IAC is a parameter byte. Any other command means the node never
            // ended it: it is taken as ended, and the command as one, rather than swallow the text after.
            if (byte == Iac) {
                m_state = State::Subnegotiation;
            } else if (byte == Se) {
                m_state = State::Text;
            } else {
                command(byte, text);
            }
            break;
        }
    }
    return text;
}

void TelnetProtocol::reset()
{
    m_state = State::Text;
    m_verb = 0;
    m_subnegotiationLength = 0;
}

} // namespace brindle
