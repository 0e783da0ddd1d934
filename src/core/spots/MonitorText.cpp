#include "MonitorText.h"

#include "common/Text.h"

namespace brindle {

bool isRepeatOfRecentText(std::string_view monitorText, std::string_view line)
{
    const std::size_t start = monitorText.size() > RepeatSearchSpan ? monitorText.size() - RepeatSearchSpan : 0;
    return findIgnoreCase(monitorText, line, start) != std::string_view::npos;
}

bool trimMonitor(std::string& monitorText)
{
    if (monitorText.size() <= MonitorLimit) {
        return false;
    }
    monitorText.erase(0, monitorText.size() - MonitorKeptAfterTrim);
    return true;
}

} // namespace brindle
