// Whatever the operator types into a frequency field, for every rig and whatever its poll strings hold: the
// text reads as a frequency within the limits or as none, reads back the same from the text the field then
// shows, and a command built from it is whole (a command of fixed length has that length, a change never
// writes an empty command). The first bytes choose the rig, the polls, the mode and a step; the rest is the
// field's text.
#include "FuzzSupport.h"

#include "rig/RigChange.h"
#include "rig/RigProfile.h"
#include "rig/RigTuning.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

using brindle::Hertz;
using brindle::fuzz::require;

// The lengths of the commands whose fields do not depend on the poll strings.
struct FixedLength
{
    std::string_view rig;
    std::size_t frequency;
    std::size_t mode;
};
constexpr std::array<FixedLength, 13> FixedLengths = { {
    { "Kenwood 2", 14, 4 },
    { "Elecraft", 14, 4 },
    { "Icom", 11, 7 },
    { "Icom 735", 10, 0 },
    { "Ten Tec Omni VI", 11, 7 },
    { "Ten Tec Fnt Pnl", 7, 0 },
    { "Yaesu", 5, 5 },
    { "Yaesu 757 GX II", 5, 5 },
    { "Yaesu 890", 5, 5 },
    { "Yaesu 920", 5, 5 },
    { "Yaesu 990", 5, 5 },
    { "Yaesu 1000 D", 5, 5 },
    { "Yaesu 1000", 5, 5 },
} };

constexpr std::array<std::string_view, 5> FrequencyPolls = { "FE FE 64 E0 03 FD", "FA;", "", "FE FE 6", "FE FE ZZ" };
constexpr std::array<std::string_view, 4> ModePolls = { "MD0;", "MD;", "", "M" };
constexpr std::array<std::string_view, 13> Modes
    = { "CW", "CW-R", "LSB", "USB", "AM", "FM", "RTTY", "RTTY-R", "FSK", "DIG", "PKT", "", "cw" };

const brindle::BandPlanModes& bandPlanModes()
{
    static const brindle::BandPlanModes modes(brindle::parseBandPlan("\"2012\"\r\n"
                                                                     "\"20\",\"E\",\"CW\",14.000,14.150\r\n"
                                                                     "\"20\",\"E\",\"PH\",14.150,14.350\r\n"
                                                                     "\"40\",\"E\",\"PH\",7.125,7.300\r\n")
                                                  .plan);
    return modes;
}

void checkText(const std::optional<std::string>& text)
{
    require(!text || brindle::hertzFromText(*text).has_value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto rigs = brindle::rigNames();
    const std::size_t rigIndex = input.ConsumeIntegralInRange<std::size_t>(0, rigs.size());
    const std::string_view rig = rigIndex < rigs.size() ? rigs[rigIndex] : std::string_view("Nonesuch");
    const brindle::RigCommandContext context { input.PickValueInArray(FrequencyPolls),
        input.PickValueInArray(ModePolls), input.ConsumeIntegralInRange(-1, 2) };
    const std::string_view mode = input.PickValueInArray(Modes);
    const Hertz step = input.ConsumeIntegralInRange<Hertz>(-2'000'000, 2'000'000);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::optional<Hertz> hertz = brindle::hertzFromText(text);
    checkText(brindle::steppedText(text, step));
    checkText(brindle::scanNext(text, step, text, "54"));
    if (!hertz) {
        return 0;
    }
    require(*hertz >= 0 && *hertz <= brindle::MaxHertz);
    require(brindle::hertzFromText(brindle::exactFrequencyText(*hertz)) == hertz);
    require(brindle::hertzFromText(brindle::frequencyText(*hertz)).has_value());

    const std::optional<brindle::FrequencyCommand> frequency = brindle::frequencyCommand(rig, *hertz, context);
    const std::optional<std::string> modeCommand = brindle::modeCommand(rig, mode, context);
    for (const FixedLength& fixed : FixedLengths) {
        if (fixed.rig == rig) {
            require(!frequency || frequency->bytes.size() == fixed.frequency);
            require(!modeCommand || modeCommand->size() == fixed.mode);
        }
    }
    for (const brindle::RigStep& step : brindle::changeFrequencySteps(rig, *hertz, bandPlanModes(), context, mode)) {
        const bool writes = step.kind == brindle::RigStep::Kind::WriteMode
            || step.kind == brindle::RigStep::Kind::WriteFrequency
            || step.kind == brindle::RigStep::Kind::WritePegasusFile;
        require(writes != step.bytes.empty());
        require(step.kind != brindle::RigStep::Kind::Pause || step.ms > 0);
    }
    return 0;
}
