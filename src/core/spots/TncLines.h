#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The text received from a packet TNC and not yet taken as lines. It starts with a line feed, so that the
// first line received counts as a line even though no line feed came before it.
//
// Nothing bounds a line in the TNC's text: a TNC that never sends a line feed would make the buffer grow
// for ever. Beyond TncBufferLimit the oldest text is dropped; the line it began then has no line feed
// before it, so it is dropped whole when its end arrives rather than taken in part.
class TncLineBuffer
{
public:
    static constexpr std::size_t TncBufferLimit = 64 * 1024;

    // One poll's text from the port: adds it and takes every line it completes, as splitTncLines does.
    // Returns the spot lines to hand over, in order; monitorText gets what is to be shown.
    std::vector<std::string> take(std::string_view received, std::string& monitorText, bool dxOnly);

    const std::string& text() const
    {
        return m_text;
    }

private:
    std::string m_text = "\n";
};

// Takes the complete lines out of the TNC's text. A line is the text after one line feed up to and
// including the next (a CR before it stays in the line); the line feed that ends it stays in the buffer to
// begin the next. Comparisons ignore case. A line already among the last characters of the monitor is a
// packet node's repeat and is skipped. Any other line is shown (appended to the monitor, which is then
// trimmed) when it begins with "DX" or dxOnly is clear; one that begins with "DX" is also returned as a
// spot, in order.
std::vector<std::string> splitTncLines(std::string& tncText, std::string& monitorText, bool dxOnly);

} // namespace brindle
