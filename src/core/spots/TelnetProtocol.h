#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brindle {

// The Telnet protocol's own bytes in a cluster node's stream. Nodes are Telnet servers and open with
// option negotiation (IAC WILL ECHO, IAC DO NAWS, ...), and some send IAC NOP as a keep-alive; left in
// the text they would show as "ÿû" in the monitor and put bytes in front of a spot line, which then no
// longer begins with "DX". Commands are taken out of the text, a doubled IAC stands for the data byte
// 255, and every option the node offers or asks for is refused, so the link stays the plain network
// virtual terminal: the node's WILL gets DONT and its DO gets WONT. Its WONT and DONT say what is already
// so and are not answered, which keeps either side from answering an answer for ever. A command may be
// cut anywhere by the reads; the state is kept between them.
class TelnetProtocol
{
public:
    static constexpr unsigned char Iac = 255;
    static constexpr unsigned char Dont = 254;
    static constexpr unsigned char Do = 253;
    static constexpr unsigned char Wont = 252;
    static constexpr unsigned char Will = 251;
    static constexpr unsigned char Sb = 250;
    static constexpr unsigned char Se = 240;
    static constexpr std::size_t LongestSubnegotiation = 1024;

    // The text in one read without the protocol's bytes; what is to be sent back goes to replies.
    std::string take(std::string_view received, std::string& replies);
    // A new connection.
    void reset();

private:
    // The byte after an IAC.
    void command(unsigned char byte, std::string& text);

    enum class State : std::uint8_t
    {
        Text,
        Command, // after IAC
        Option, // after IAC and a verb, waiting for the option's number
        Subnegotiation, // after IAC SB, up to IAC SE; the node's parameters mean nothing to a spot feed
        SubnegotiationIac,
    };
    State m_state = State::Text;
    unsigned char m_verb = 0;
    std::size_t m_subnegotiationLength = 0;
};

} // namespace brindle
