#include "VoiceNavigation.h"

#include <array>
#include <utility>

namespace brindle {

std::string promptFileName(std::string_view name)
{
    return std::string(name) + ".wav";
}

std::string_view promptWords(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 8> Words { {
        { prompts::Call, "Call" },
        { prompts::SentReport, "Sent report" },
        { prompts::ReceivedReport, "Received report" },
        { prompts::Section, "State" },
        { prompts::Country, "Country" },
        { prompts::Dupe, "Dupe" },
        { prompts::NavigationOff, "Navigation off" },
        { prompts::NavigationOn, "Navigation on" },
    } };
    for (const auto& [prompt, words] : Words) {
        if (prompt == name) {
            return words;
        }
    }
    return {};
}

} // namespace brindle
