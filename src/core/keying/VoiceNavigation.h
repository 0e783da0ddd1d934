#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brindle {

// How much of the main window is spoken, as the default data keeps it.
enum class VoiceNavLevel : std::uint8_t
{
    Off = 0,
    CallOnly = 1,
    AllFields = 2,
};

// The prompts, named as their recordings are: "Call" plays "Call.wav" from the working folder.
namespace prompts {
inline constexpr std::string_view Call = "Call";
inline constexpr std::string_view SentReport = "RstSnt";
inline constexpr std::string_view ReceivedReport = "RstRcvd";
inline constexpr std::string_view Section = "State";
inline constexpr std::string_view Country = "Country";
inline constexpr std::string_view Dupe = "Dupe";
inline constexpr std::string_view NavigationOff = "NavDis";
inline constexpr std::string_view NavigationOn = "NavEn";
} // namespace prompts

// The recording of a prompt, in the working folder.
std::string promptFileName(std::string_view name);
// What a prompt says, for speaking one that has no recording; empty for a name that is no prompt.
std::string_view promptWords(std::string_view name);

// Something that says words aloud, for the prompts the operator has no recordings of.
class PromptSpeaker
{
public:
    virtual ~PromptSpeaker() = default;
    // Starts saying words, cutting off whatever it was saying, and returns at once.
    virtual void say(std::string_view words) = 0;
    virtual void stop() = 0;
    virtual bool isSpeaking() const = 0;
};

} // namespace brindle
