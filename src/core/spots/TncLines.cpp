#include "TncLines.h"

#include "common/Text.h"
#include "spots/MonitorText.h"

namespace brindle {

std::vector<std::string> splitTncLines(std::string& tncText, std::string& monitorText, bool dxOnly)
{
    std::vector<std::string> spots;
    const std::size_t first = tncText.find('\n');
    if (first == std::string::npos) {
        return spots;
    }
    // The text before the first line feed is the tail of a line whose start was dropped or never came.
    std::size_t start = first;
    for (;;) {
        const std::size_t end = tncText.find('\n', start + 1);
        if (end == std::string::npos) {
            break;
        }
        const std::string_view line = std::string_view(tncText).substr(start + 1, end - start);
        if (!isRepeatOfRecentText(monitorText, line)) {
            const bool spot = startsWithIgnoreCase(line, "DX");
            if (spot || !dxOnly) {
                monitorText += line;
                trimMonitor(monitorText);
            }
            if (spot) {
                spots.emplace_back(line);
            }
        }
        start = end;
    }
    // Erased once at the end: line by line would move the rest of a long buffer for every line.
    tncText.erase(0, start);
    return spots;
}

std::vector<std::string> TncLineBuffer::take(std::string_view received, std::string& monitorText, bool dxOnly)
{
    if (received.empty()) {
        return {};
    }
    m_text += received;
    std::vector<std::string> spots = splitTncLines(m_text, monitorText, dxOnly);
    if (m_text.size() > TncBufferLimit) {
        m_text.erase(0, m_text.size() - TncBufferLimit);
    }
    return spots;
}

} // namespace brindle
