#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The text of a Telnet cluster connection as lines. TCP delivers the text in pieces that have nothing to do
// with its lines: one read may hold several lines, or end in the middle of one, so a read is never taken
// for a line. Bytes go in as they arrive; each line comes out once its end has arrived, without its line
// end, and the unfinished rest waits for the next read.
//
// A line ends at LF, at CR LF, or at a CR alone: cluster nodes end lines every way Telnet allows, and some
// still end them with a bare CR. A CR LF split between two reads ends one line, not two. NUL bytes are left
// out: Telnet sends them only as padding (a bare CR goes as CR NUL).
//
// No line a cluster sends comes near the bound (4 KiB unless told otherwise). A longer one is noise (a binary stream, a
// node gone wrong) and is dropped whole, up to its end, instead of being cut into pieces any of which could begin with
// "DX" and pass for a spot. So the pending text never holds more than the bound, however long the line.
class LineSplitter
{
public:
    static constexpr std::size_t DefaultMaxLineLength = 4096;

    explicit LineSplitter(std::size_t maxLineLength = DefaultMaxLineLength);

    // The lines this read completes, in order.
    std::vector<std::string> take(std::string_view received);
    // The same, added to lines: for a caller that keeps one vector across reads.
    void take(std::string_view received, std::vector<std::string>& lines);

    // The line begun and not yet ended; empty while a line too long is being dropped.
    const std::string& pending() const
    {
        return m_pending;
    }
    // Lines dropped for their length since the splitter was made or reset.
    std::size_t droppedLines() const
    {
        return m_droppedLines;
    }

    // A new connection: nothing of the old one's unfinished line belongs to it.
    void reset();
    // The unfinished line is over without its end (a prompt that has been answered): what follows
    // begins a line of its own.
    void endLine();

private:
    std::size_t m_maxLineLength;
    std::string m_pending;
    bool m_afterCr = false;
    bool m_dropping = false;
    std::size_t m_droppedLines = 0;
};

} // namespace brindle
