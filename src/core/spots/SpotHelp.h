#pragma once

#include "spots/SpotSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// Where the AGW Packet Engine is to be had, as the help and the failure texts name it.
inline constexpr std::string_view AgwDownloadLine
    = "- Download the freely available software from https://www.sv2agw.com/downloads/";
inline constexpr std::string_view AgwSetupLine = "- Run the Packet Engine software and configure it as described on "
                                                 "the AGW Packet Engine website for your sound card or TNC.";
inline constexpr std::string_view AgwOpenLine = "- Click Open from this program.";

// The spotting window's help for a source, shown in its monitor when the source is chosen: paragraphs,
// each followed by CR LF CR LF. Nothing chosen yet (an empty or unknown text) has no help.
std::optional<std::string> spotHelpText(std::optional<SpotSource> source);

// The monitor's account of an engine that could not be reached, and the message box's.
std::string agwUnreachableMonitorText();
std::string agwUnreachableMessageText();
inline constexpr std::string_view AgwUnreachableTitle = "Unable to connect to the AGW Packet Engine.";

} // namespace brindle
