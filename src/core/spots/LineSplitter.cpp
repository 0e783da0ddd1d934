#include "LineSplitter.h"

#include <algorithm>

namespace brindle {

LineSplitter::LineSplitter(std::size_t maxLineLength)
    : m_maxLineLength(std::max<std::size_t>(maxLineLength, 1))
{
}

void LineSplitter::reset()
{
    m_pending.clear();
    m_afterCr = false;
    m_dropping = false;
    m_droppedLines = 0;
}

void LineSplitter::endLine()
{
    m_pending.clear();
    m_afterCr = false;
    m_dropping = false;
}

std::vector<std::string> LineSplitter::take(std::string_view received)
{
    std::vector<std::string> lines;
    take(received, lines);
    return lines;
}

void LineSplitter::take(std::string_view received, std::vector<std::string>& lines)
{
    std::size_t at = 0;
    while (at < received.size()) {
        const char c = received[at];
        if (c == '\n' || c == '\r') {
            // The LF of a CR LF belongs to the line the CR already ended.
            if (!(c == '\n' && m_afterCr)) {
                if (!m_dropping) {
                    lines.push_back(m_pending);
                }
                m_pending.clear();
                m_dropping = false;
            }
            m_afterCr = c == '\r';
            ++at;
            continue;
        }
        m_afterCr = false;
        if (c == '\0') {
            ++at;
            continue;
        }
        // The bytes up to the next line end or NUL go in at once: most reads are whole lines.
        const std::size_t runEnd = std::min(received.find_first_of(std::string_view("\r\n\0", 3), at), received.size());
        const std::size_t runLength = runEnd - at;
        if (!m_dropping) {
            if (runLength > m_maxLineLength - m_pending.size()) {
                m_dropping = true;
                ++m_droppedLines;
                m_pending.clear();
            } else {
                m_pending.append(received.substr(at, runLength));
            }
        }
        at = runEnd;
    }
}

} // namespace brindle
