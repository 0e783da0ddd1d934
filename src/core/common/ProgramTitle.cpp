#include "ProgramTitle.h"

#include "Text.h"

namespace brindle {

std::string mainWindowTitle()
{
    std::string title(ProgramName);
    title.resize(75, ' ');
    return title + std::string(ProgramWebAddress);
}

std::string programNameFromTitle(std::string_view title)
{
    return std::string(trimBlanks(title.substr(0, 60)));
}

} // namespace brindle
