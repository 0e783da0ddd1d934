#pragma once

#include "rig/BandPlanModes.h"
#include "rig/RigCommands.h"

#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// A change of mode or frequency as the steps the rig interface carries out one after the other, from a
// timer so that the window stays live through the pauses. Holding the poll timer for the length of a
// frequency change, so that no poll falls between its commands, is the runner's part.
struct RigStep
{
    enum class Kind
    {
        DiscardReceived, // what the port has received belongs to the poll, which the change cuts short
        WaitUntilSent, // until the port has nothing left to send, at most 2 s
        Pause, // ms
        WriteMode, // bytes to the port
        WriteFrequency, // bytes to the port
        WritePegasusFile, // bytes as the whole of PegasusCommandFileName
    };
    Kind kind;
    int ms = 0;
    std::string bytes;

    bool operator==(const RigStep&) const = default;
};

// The longest a wait for the port to send may take, so that a stalled port cannot hold a change.
inline constexpr int LongestSendWaitMs = 2000;

// Setting the mode alone (the tune window's mode buttons). Nothing at all for an empty mode or for no rig
// ("None" in any case, or a name on no list, as the poll reads the name); otherwise the rig is given time
// to finish what it is sent before the command, which is left out when the rig or its family has none for
// the mode.
std::vector<RigStep> changeModeSteps(std::string_view rigName, std::string_view mode, const RigCommandContext& context);

// Tuning the rig: the band plan's mode for the frequency first (none on 160 m, off the plan or on an edge),
// then the frequency, each after its pauses. Nothing at all when the rig has no frequency command or
// cannot take this frequency: a mode change on its own would only move the rig off what it was doing.
std::vector<RigStep> changeFrequencySteps(std::string_view rigName, Hertz hertz, const BandPlanModes& modes,
    const RigCommandContext& context, std::string_view rigModeText);

} // namespace brindle
