// Whatever a rig, a wrong device or line noise leaves in the receive buffer, for every rig profile and both
// turns of the request toggle: no decoder reads outside the buffer, a frequency it gives is a frequency
// (finite, not negative), and a mode it gives is one the logger knows. The first byte chooses the profile,
// the toggle and the poll strings; the rest is the buffer.
#include "FuzzSupport.h"

#include "rig/RigReplies.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace {

using brindle::fuzz::require;

constexpr std::array<std::string_view, 20> RigNames = { "Kenwood", "Elecraft", "Kenwood 2", "Icom", "Icom 735",
    "Ten Tec Omni VI", "Yaesu", "Yaesu 757 GX II", "Yaesu 890", "Yaesu 920", "Yaesu 990", "Yaesu 1000 D", "Yaesu 1000",
    "Yaesu FTdx9000", "Ten Tec Fnt Pnl", "Ten Tec Orion", "Ten Tec Pegasus", "Other", "None", "" };

// The polls the profiles use, and the ones an operator could leave short or empty.
constexpr std::array<std::string_view, 4> FrequencyPolls = { "FA;", "FA", "", "IF;" };
constexpr std::array<std::string_view, 4> ModePolls = { "MD0;", "MD;", "", "M" };

bool knownMode(std::string_view mode)
{
    return mode == "CW" || mode == "PH" || mode == "AM" || mode == "FM";
}

void check(std::optional<float> freqMHz)
{
    require(!freqMHz || (std::isfinite(*freqMHz) && *freqMHz >= 0));
}

void check(std::optional<std::string_view> mode)
{
    require(!mode || knownMode(*mode));
}

void check(const brindle::DecodedReply& read)
{
    check(read.freqMHz);
    check(read.mode);
    require(!read.vfoDigit || (*read.vfoDigit >= 0 && *read.vfoDigit <= 9));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brindle;
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const std::string_view buffer(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view rig = RigNames[(choice & 0x1F) % RigNames.size()];
    const bool askedFrequency = (choice & 0x20) == 0;
    const std::string_view frequencyPoll = FrequencyPolls[(choice >> 6) & 3];
    const std::string_view modePoll = ModePolls[(choice >> 6) & 3];

    RigReading reading { 3.7f, "was", std::nullopt };
    const RigReply reply { buffer, frequencyPoll, modePoll, askedFrequency };
    decodeRigReply(rig, reply, reading);
    require(reading.freqMHz.has_value());
    check(reading.freqMHz);
    require(reading.mode == "was" || knownMode(reading.mode));
    check(decodeRigReply(rig, reply));

    check(decodeKenwoodFrequency(buffer, frequencyPoll));
    check(decodeKenwoodMode(buffer));
    check(decodeKenwoodIf(buffer));
    check(decodeCivFrequency(buffer, CivFrequencyBytes::Five));
    check(decodeCivFrequency(buffer, CivFrequencyBytes::Four));
    check(decodeCivMode(buffer));
    check(decodeYaesuBcd(buffer));
    check(decodeYaesu757Status(buffer));
    for (const auto layout :
        { YaesuStatusLayout::Ft890, YaesuStatusLayout::Ft920, YaesuStatusLayout::Ft990, YaesuStatusLayout::Ft1000 }) {
        check(decodeYaesuStatus(buffer, layout));
    }
    check(decodeFtdx9000(buffer, frequencyPoll, modePoll));
    check(decodeTenTecPanelFrequency(buffer));
    check(decodeTenTecPanelMode(buffer));
    check(decodeOrionFrequency(buffer));
    check(decodeOrionMode(buffer));
    check(readPegasusReply(buffer));
    check(modeFromFrequency(reading.freqMHz.value_or(0)));

    const std::string hex = hexText(buffer);
    require(hex.size() == 2 * buffer.size());
    require(hex.find_first_not_of("0123456789ABCDEF") == std::string::npos);
    return 0;
}
