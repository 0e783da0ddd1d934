#include "RigChange.h"

#include "rig/RigProfile.h"

namespace brindle {

namespace {

// Time for the rig to finish whatever it was sent before a mode command arrives.
constexpr int ModePauseMs = 99;

using Kind = RigStep::Kind;

RigStep step(Kind kind, int ms = 0, std::string bytes = {})
{
    return { kind, ms, std::move(bytes) };
}

} // namespace

std::vector<RigStep> changeModeSteps(std::string_view rigName, std::string_view mode, const RigCommandContext& context)
{
    // The rig is found as the poll finds it; a name on no list is no rig here either.
    const RigModel model = rigModel(rigName);
    if (mode.empty() || model == RigModel::None) {
        return {};
    }
    std::vector<RigStep> steps { step(Kind::WaitUntilSent) };
    // rigctld queues what it is sent and handles one command after the other; it needs no pause.
    if (model != RigModel::Rigctld) {
        steps.push_back(step(Kind::Pause, ModePauseMs));
    }
    if (std::optional<std::string> command = modeCommand(rigName, mode, context)) {
        steps.push_back(step(Kind::WriteMode, 0, std::move(*command)));
    }
    steps.push_back(step(Kind::WaitUntilSent));
    return steps;
}

std::vector<RigStep> changeFrequencySteps(std::string_view rigName, Hertz hertz, const BandPlanModes& modes,
    const RigCommandContext& context, std::string_view rigModeText)
{
    const std::optional<FrequencyCommand> command = frequencyCommand(rigName, hertz, context);
    if (!command) {
        return {};
    }
    std::vector<RigStep> steps;
    // The Pegasus is tuned through a file, and its port has nothing of the poll's to clear.
    if (!command->toPegasusFile) {
        steps.push_back(step(Kind::DiscardReceived));
    }
    for (RigStep& step : changeModeSteps(rigName, modes.bandPlanMode(hertz), context)) {
        steps.push_back(std::move(step));
    }
    steps.push_back(step(Kind::WaitUntilSent));
    for (const int pause : command->pausesMs) {
        steps.push_back(step(Kind::Pause, pause));
    }
    if (command->toPegasusFile) {
        steps.push_back(step(Kind::WritePegasusFile, 0, pegasusFileText(hertz, rigModeText)));
    } else {
        steps.push_back(step(Kind::WriteFrequency, 0, command->bytes));
    }
    steps.push_back(step(Kind::WaitUntilSent));
    return steps;
}

} // namespace brindle
