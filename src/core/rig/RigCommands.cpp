#include "RigCommands.h"

#include "common/Text.h"
#include "rig/PollCycle.h"
#include "rig/RigProfile.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <span>

namespace brindle {

namespace {

constexpr Hertz HertzPerMHz = 1'000'000;
constexpr std::size_t MHzDecimals = 6;
constexpr std::size_t FrequencySignificantDigits = 7;

// The families' mode tables: the code each writes for a mode text.
struct ModeCode
{
    std::string_view mode;
    std::string_view code;
};

constexpr std::array<ModeCode, 7> KenwoodModes = { {
    { "CW", "3" },
    { "LSB", "1" },
    { "USB", "2" },
    { "AM", "5" },
    { "RTTY", "6" },
    { "FM", "4" },
    { "FSK", "6" },
} };

constexpr std::array<ModeCode, 8> IcomModes = { {
    { "LSB", "00" },
    { "USB", "01" },
    { "AM", "02" },
    { "CW", "03" },
    { "RTTY", "04" },
    { "FM", "05" },
    { "CW-R", "07" },
    { "RTTY-R", "08" },
} };

constexpr std::array<ModeCode, 8> YaesuModes = { {
    { "LSB", "00" },
    { "USB", "01" },
    { "CW", "02" },
    { "AM", "04" },
    { "FM", "08" },
    { "DIG", "0A" },
    { "RTTY", "0A" },
    { "PKT", "0C" },
} };

constexpr std::array<ModeCode, 8> OlderYaesuModes = { {
    { "LSB", "00" },
    { "USB", "01" },
    { "CW", "02" },
    { "CW-R", "03" },
    { "AM", "04" },
    { "FM", "06" },
    { "RTTY", "08" },
    { "PKT", "0A" },
} };

constexpr std::array<ModeCode, 7> Ftdx9000Modes = { {
    { "LSB", "1" },
    { "USB", "2" },
    { "CW", "3" },
    { "FM", "4" },
    { "AM", "5" },
    { "RTTY", "6" },
    { "CW-R", "7" },
} };

// Hamlib's names. The logger's data modes go out as sideband packet, which is how soundcard modes run.
constexpr std::array<ModeCode, 11> RigctldModes = { {
    { "CW", "CW" },
    { "CW-R", "CWR" },
    { "LSB", "LSB" },
    { "USB", "USB" },
    { "AM", "AM" },
    { "FM", "FM" },
    { "RTTY", "RTTY" },
    { "RTTY-R", "RTTYR" },
    { "FSK", "RTTY" },
    { "PKT", "PKTUSB" },
    { "DIG", "PKTUSB" },
} };

enum class ModeFamily
{
    None,
    Kenwood,
    Icom,
    Yaesu,
    OlderYaesu,
    Ftdx9000,
    Rigctld,
};

enum class FrequencyLayout
{
    None,
    Kenwood, // the poll's prefix, 11 digits of hertz
    Kenwood2, // "FA" or "FB" by the VFO
    Elecraft, // always "FA"
    Icom, // five BCD bytes of hertz
    Icom735, // four, as in the older CI-V the IC-735 shares with the IC-731
    FrontPanel,
    Orion,
    Pegasus,
    Yaesu,
    OlderYaesu,
    Ftdx9000,
    Rigctld,
};

// The set commands group the rigs otherwise than the polls do ("Icom 735" is tuned but its mode is not
// set; "Yaesu" and the older Yaesus differ), so each model says what it takes.
struct CommandRig
{
    ModeFamily modes;
    FrequencyLayout layout;
    std::array<int, 2> pausesMs; // 0: no pause
};

// The rig is found as the poll finds it, so a rig that is polled is tuned too. The pauses give each rig
// time to take in the mode command before the frequency arrives; the Elecraft needs a second more, the
// Omni VI longer than the Icoms, and the FT-1000 hardly any.
CommandRig commandRig(std::string_view rigName)
{
    switch (rigModel(rigName)) {
    case RigModel::Kenwood:
        return { ModeFamily::Kenwood, FrequencyLayout::Kenwood, { 205, 0 } };
    case RigModel::Kenwood2:
        return { ModeFamily::Kenwood, FrequencyLayout::Kenwood2, { 205, 0 } };
    case RigModel::Elecraft:
        return { ModeFamily::Kenwood, FrequencyLayout::Elecraft, { 205, 1000 } };
    case RigModel::Icom:
        return { ModeFamily::Icom, FrequencyLayout::Icom, { 140, 0 } };
    case RigModel::Icom735:
        return { ModeFamily::None, FrequencyLayout::Icom735, { 140, 0 } };
    case RigModel::OmniVi:
        return { ModeFamily::Icom, FrequencyLayout::Icom, { 140, 220 } };
    case RigModel::FrontPanel:
        return { ModeFamily::None, FrequencyLayout::FrontPanel, { 205, 0 } };
    case RigModel::Orion:
        return { ModeFamily::None, FrequencyLayout::Orion, { 205, 0 } };
    case RigModel::Pegasus:
        return { ModeFamily::None, FrequencyLayout::Pegasus, { 205, 0 } };
    case RigModel::Yaesu:
        return { ModeFamily::Yaesu, FrequencyLayout::Yaesu, { 205, 0 } };
    case RigModel::Yaesu757:
    case RigModel::Yaesu890:
    case RigModel::Yaesu920:
    case RigModel::Yaesu990:
    case RigModel::Yaesu1000D:
        return { ModeFamily::OlderYaesu, FrequencyLayout::OlderYaesu, { 205, 0 } };
    case RigModel::Yaesu1000:
        return { ModeFamily::OlderYaesu, FrequencyLayout::OlderYaesu, { 10, 0 } };
    case RigModel::Ftdx9000:
        return { ModeFamily::Ftdx9000, FrequencyLayout::Ftdx9000, { 205, 0 } };
    case RigModel::Rigctld:
        // rigctld queues commands and answers each in turn, so nothing needs to wait.
        return { ModeFamily::Rigctld, FrequencyLayout::Rigctld, { 0, 0 } };
    case RigModel::None:
    case RigModel::Other:
        break;
    }
    return { ModeFamily::None, FrequencyLayout::None, { 0, 0 } };
}

std::optional<std::string_view> modeCode(std::span<const ModeCode> table, std::string_view mode)
{
    for (const ModeCode& entry : table) {
        if (entry.mode == mode) {
            return entry.code;
        }
    }
    return std::nullopt;
}

// The quotient rounded to the nearest whole number, a half to the even neighbour.
Hertz roundedQuotient(Hertz value, Hertz divisor)
{
    if (value < 0) {
        return -roundedQuotient(-value, divisor);
    }
    Hertz quotient = value / divisor;
    const Hertz twiceRemainder = 2 * (value % divisor);
    if (twiceRemainder > divisor || (twiceRemainder == divisor && quotient % 2 != 0)) {
        ++quotient;
    }
    return quotient;
}

// The number in decimal digits, "0" in front up to the width; nothing when it needs more digits than
// the field has.
std::optional<std::string> digitText(Hertz value, std::size_t width)
{
    std::string digits = std::to_string(value);
    if (value < 0 || digits.size() > width) {
        return std::nullopt;
    }
    return std::string(width - digits.size(), '0') + digits;
}

// "01402500" as "00 25 40 01": BCD bytes least significant first.
std::string reversedPairs(std::string_view digits)
{
    std::string reversed;
    for (std::size_t at = digits.size(); at >= 2; at -= 2) {
        reversed += digits.substr(at - 2, 2);
    }
    return reversed;
}

// Hex or BCD digits as the pairs bytesFromHexPairs reads: "01402500" as "01 40 25 00".
std::string spacedPairs(std::string_view digits)
{
    std::string spaced;
    for (std::size_t at = 0; at < digits.size(); at += 2) {
        if (at > 0) {
            spaced += ' ';
        }
        spaced += digits.substr(at, 2);
    }
    return spaced;
}

// The CI-V bus address in the frequency poll, "64" in "FE FE 64 E0 03 FD"; bytesFromHexPairs refuses
// anything that is no hex pair, so a wrong address never reaches another radio on the bus.
std::string_view icomAddress(const RigCommandContext& context)
{
    constexpr std::size_t At = 6;
    return context.frequencyPoll.size() >= At + 2 ? context.frequencyPoll.substr(At, 2) : std::string_view();
}

std::string prefix(std::string_view text, std::size_t length)
{
    return std::string(text.substr(0, length));
}

std::optional<std::string> textCommand(std::string_view start, std::optional<std::string> digits)
{
    if (!digits) {
        return std::nullopt;
    }
    return std::string(start) + *digits + ";";
}

std::optional<std::string> bytesCommand(
    std::string_view before, std::optional<std::string> pairs, std::string_view after)
{
    if (!pairs) {
        return std::nullopt;
    }
    return bytesFromHexPairs(std::string(before) + *pairs + std::string(after));
}

std::optional<std::string> frequencyBytes(FrequencyLayout layout, Hertz hertz, const RigCommandContext& context)
{
    constexpr std::size_t KenwoodDigits = 11;
    constexpr std::size_t IcomDigits = 10;
    constexpr std::size_t Icom735Digits = 8;
    constexpr std::size_t YaesuDigits = 8;
    constexpr std::size_t Ftdx9000Digits = 8;
    constexpr Hertz LargestFourBytes = 0xFFFF'FFFF;
    // The radio reads the digits after "*AF" as whole hertz (MHz text would tune 21.2345 MHz to 21 Hz), in
    // the eight places its own replies give the frequency.
    constexpr Hertz LargestOrionHertz = 99'999'999;
    const auto spaced = [](std::optional<std::string> digits, bool reversed) -> std::optional<std::string> {
        if (!digits) {
            return std::nullopt;
        }
        return spacedPairs(reversed ? reversedPairs(*digits) : *digits);
    };
    switch (layout) {
    case FrequencyLayout::Kenwood:
        return textCommand(prefix(context.frequencyPoll, 2), digitText(hertz, KenwoodDigits));
    case FrequencyLayout::Kenwood2:
        return textCommand(context.vfoDigit == 1 ? "FB" : "FA", digitText(hertz, KenwoodDigits));
    case FrequencyLayout::Elecraft:
        return textCommand("FA", digitText(hertz, KenwoodDigits));
    case FrequencyLayout::Icom:
    case FrequencyLayout::Icom735:
        if (icomAddress(context).empty()) {
            return std::nullopt;
        }
        return bytesCommand("FE FE " + std::string(icomAddress(context)) + " E0 05 ",
            spaced(digitText(hertz, layout == FrequencyLayout::Icom735 ? Icom735Digits : IcomDigits), true), " FD");
    case FrequencyLayout::FrontPanel: {
        if (hertz > LargestFourBytes) {
            return std::nullopt;
        }
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08llX", hertz);
        return bytesCommand("2A 41 ", spacedPairs(hex), " 0D");
    }
    case FrequencyLayout::Orion:
        if (hertz > LargestOrionHertz) {
            return std::nullopt;
        }
        return "*AF" + std::to_string(hertz) + "\r";
    case FrequencyLayout::Yaesu:
        return bytesCommand("", spaced(digitText(tensOfHertz(hertz), YaesuDigits), false), " 01");
    case FrequencyLayout::OlderYaesu:
        return bytesCommand("", spaced(digitText(tensOfHertz(hertz), YaesuDigits), true), " 0A");
    case FrequencyLayout::Ftdx9000:
        return textCommand(prefix(context.frequencyPoll, 2), digitText(hertz, Ftdx9000Digits));
    case FrequencyLayout::Rigctld:
        return rigctldFrequencyCommand(hertz);
    case FrequencyLayout::Pegasus:
    case FrequencyLayout::None:
        break;
    }
    return std::nullopt;
}

} // namespace

std::optional<Hertz> hertzFromText(std::string_view mhzText)
{
    const std::string_view text = trimBlanks(mhzText);
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) {
        return std::nullopt;
    }
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    Hertz mhz = 0;
    for (const char c : whole) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
        mhz = mhz * 10 + (c - '0');
        if (mhz > MaxHertz / HertzPerMHz) {
            return std::nullopt;
        }
    }
    Hertz hertz = mhz * HertzPerMHz;
    Hertz place = HertzPerMHz;
    bool beyondHalf = false;
    bool half = false;
    for (std::size_t i = 0; i < fraction.size(); ++i) {
        const char c = fraction[i];
        if (!isDigit(c)) {
            return std::nullopt;
        }
        if (i < MHzDecimals) {
            place /= 10;
            hertz += (c - '0') * place;
        } else if (i == MHzDecimals) {
            beyondHalf = c > '5';
            half = c == '5';
        } else if (c != '0' && half) {
            beyondHalf = true;
        }
    }
    if (beyondHalf || (half && hertz % 2 != 0)) {
        ++hertz;
    }
    if (hertz > MaxHertz) {
        return std::nullopt;
    }
    return hertz;
}

Hertz hertzFromMHz(double mhz)
{
    if (!std::isfinite(mhz)) {
        return 0;
    }
    const double limit = static_cast<double>(MaxHertz);
    return static_cast<Hertz>(std::nearbyint(std::fmax(-limit, std::fmin(limit, mhz * HertzPerMHz))));
}

Hertz tensOfHertz(Hertz hertz)
{
    return roundedQuotient(hertz, 10);
}

std::string frequencyText(Hertz hertz)
{
    Hertz kept = hertz < 0 ? -hertz : hertz;
    const std::size_t digits = std::to_string(kept).size();
    if (digits > FrequencySignificantDigits) {
        Hertz unit = 1;
        for (std::size_t i = FrequencySignificantDigits; i < digits; ++i) {
            unit *= 10;
        }
        kept = roundedQuotient(kept, unit) * unit;
    }
    return exactFrequencyText(hertz < 0 ? -kept : kept);
}

std::string exactFrequencyText(Hertz hertz)
{
    return decimalMHzText(hertz, MHzDecimals, false);
}

std::string decimalMHzText(Hertz units, std::size_t decimals, bool keepPoint)
{
    const bool negative = units < 0;
    std::string digits = std::to_string(negative ? -units : units);
    if (digits.size() <= decimals) {
        digits.insert(0, decimals + 1 - digits.size(), '0');
    }
    const std::size_t point = digits.size() - decimals;
    std::string text = (negative ? "-" : "") + digits.substr(0, point);
    std::string_view fraction = std::string_view(digits).substr(point);
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    if (!fraction.empty() || keepPoint) {
        text += '.';
    }
    return text + std::string(fraction);
}

std::optional<std::string> modeCommand(
    std::string_view rigName, std::string_view mode, const RigCommandContext& context)
{
    switch (commandRig(rigName).modes) {
    case ModeFamily::Kenwood:
        if (const auto code = modeCode(KenwoodModes, mode)) {
            return "MD" + std::string(*code) + ";";
        }
        break;
    case ModeFamily::Icom:
        if (const auto code = modeCode(IcomModes, mode); code && !icomAddress(context).empty()) {
            return bytesFromHexPairs(
                "FE FE " + std::string(icomAddress(context)) + " E0 06 " + std::string(*code) + " FD");
        }
        break;
    case ModeFamily::Yaesu:
        if (const auto code = modeCode(YaesuModes, mode)) {
            return bytesFromHexPairs(std::string(*code) + " 00 00 00 07");
        }
        break;
    case ModeFamily::OlderYaesu:
        if (const auto code = modeCode(OlderYaesuModes, mode)) {
            return bytesFromHexPairs("00 00 00 " + std::string(*code) + " 0C");
        }
        break;
    case ModeFamily::Ftdx9000:
        if (const auto code = modeCode(Ftdx9000Modes, mode)) {
            return prefix(context.modePoll, 3) + std::string(*code) + ";";
        }
        break;
    case ModeFamily::Rigctld:
        return rigctldModeCommand(mode);
    case ModeFamily::None:
        break;
    }
    return std::nullopt;
}

std::optional<FrequencyCommand> frequencyCommand(
    std::string_view rigName, Hertz hertz, const RigCommandContext& context)
{
    const CommandRig rig = commandRig(rigName);
    if (rig.layout == FrequencyLayout::None || hertz < 0) {
        return std::nullopt;
    }
    FrequencyCommand command;
    for (const int pause : rig.pausesMs) {
        if (pause > 0) {
            command.pausesMs.push_back(pause);
        }
    }
    if (rig.layout == FrequencyLayout::Pegasus) {
        command.toPegasusFile = true;
        return command;
    }
    std::optional<std::string> bytes = frequencyBytes(rig.layout, hertz, context);
    if (!bytes) {
        return std::nullopt;
    }
    command.bytes = std::move(*bytes);
    return command;
}

std::string pegasusFileText(Hertz hertz, std::string_view rigModeText)
{
    return frequencyText(hertz) + "\r\n" + std::string(trimBlanks(rigModeText)) + "\r\n";
}

std::optional<std::string> rigctldFrequencyCommand(Hertz hertz)
{
    if (hertz < 0) {
        return std::nullopt;
    }
    return "F " + std::to_string(hertz) + "\n";
}

std::optional<std::string> rigctldModeCommand(std::string_view mode)
{
    const std::optional<std::string_view> code = modeCode(RigctldModes, mode);
    if (!code) {
        return std::nullopt;
    }
    return "M " + std::string(*code) + " 0\n";
}

} // namespace brindle
