#include "RigSettings.h"

#include "common/FieldReader.h"
#include "common/FieldWriter.h"
#include "common/Text.h"
#include "serial/SerialPort.h"

namespace brindle {

namespace {

// The baud field is five characters wide; a longer value (never one of the window's) is kept whole
// rather than cut into another speed.
constexpr std::size_t BaudWidth = 5;

// The baud as the file and the port take it: without the padding, and without what a quoted value cannot
// hold, so that the padding and the line settings written are the ones that read back.
std::string baudText(std::string_view baud)
{
    return std::string(trimBlanks(storableText(baud)));
}

std::string paddedBaud(std::string_view baud)
{
    std::string padded = baudText(baud);
    if (padded.size() < BaudWidth) {
        padded.append(BaudWidth - padded.size(), ' ');
    }
    return padded;
}

} // namespace

std::string lineSettingsText(const RigSettings& s)
{
    return lineSettingsText(s.baud, s.parity, s.dataBits, s.stopBits);
}

RigSettings parseRigSettings(std::string_view content, RigSettings s)
{
    FieldReader reader(content);
    const auto text = [&reader](std::string& out) { return reader.readText(out); };
    const auto flag = [&reader](bool& out) { return reader.readFlag(out); };
    std::string baud;
    if (!text(baud)) {
        return s;
    }
    s.baud = trimBlanks(baud);
    std::string lineSettings; // rebuilt from the values above whenever the port opens
    if (!text(s.parity) || !text(s.dataBits) || !text(s.stopBits) || !text(s.modePoll) || !text(s.frequencyPoll)
        || !text(lineSettings)) {
        return s;
    }
    const std::optional<int> port = reader.nextWholeNumber();
    if (!port || *port < LowestRigPort || *port > HighestRigPort) {
        return s;
    }
    s.port = *port;
    if (!text(s.power) || !text(s.pollRate) || !text(s.rigName) || !flag(s.convertToHex) || !flag(s.useFrequency)) {
        return s;
    }
    const std::optional<int> modeBy = reader.nextWholeNumber();
    if (!modeBy || *modeBy < static_cast<int>(ModeBy::Rig) || *modeBy > static_cast<int>(ModeBy::Ignore)) {
        return s;
    }
    s.modeBy = static_cast<ModeBy>(*modeBy);
    if (reader.hasMoreValues()) {
        (void)text(s.rigctldAddress);
    }
    return s;
}

std::string formatRigSettings(const RigSettings& s)
{
    FieldWriter out;
    out.text(paddedBaud(s.baud));
    out.text(s.parity);
    out.text(s.dataBits);
    out.text(s.stopBits);
    out.text(s.modePoll);
    out.text(s.frequencyPoll);
    out.text(lineSettingsText(s));
    out.number(s.port);
    out.text(s.power);
    out.text(s.pollRate);
    out.text(s.rigName);
    out.number(s.convertToHex ? 1 : 0);
    out.number(s.useFrequency ? 1 : 0);
    out.number(static_cast<int>(s.modeBy));
    out.text(s.rigctldAddress);
    return out.content();
}

} // namespace brindle
