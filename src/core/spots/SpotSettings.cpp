#include "SpotSettings.h"

#include "common/FieldReader.h"
#include "common/FieldWriter.h"
#include "common/Text.h"
#include "serial/SerialPort.h"

#include <array>

namespace brindle {

namespace {

constexpr std::array<std::string_view, 4> SourceTexts { "None", "TNC", "Telnet", "AGW Packet Engine" };

constexpr int LowestHandshaking = 1;
constexpr int HighestHandshaking = 4;

} // namespace

std::optional<SpotSource> spotSourceOf(std::string_view text)
{
    for (std::size_t i = 0; i < SourceTexts.size(); ++i) {
        if (equalsIgnoreCase(text, SourceTexts[i])) {
            return static_cast<SpotSource>(i);
        }
    }
    return std::nullopt;
}

std::string_view spotSourceText(SpotSource source)
{
    return SourceTexts[static_cast<std::size_t>(source)];
}

std::string lineSettingsText(const SpotSettings& s)
{
    return lineSettingsText(s.speed, s.parity, s.dataBits, s.stopBits);
}

SpotSettings parseSpotSettings(std::string_view content, SpotSettings s)
{
    FieldReader reader(content);
    const auto text = [&reader](std::string& out) { return reader.readText(out); };
    const auto number = [&reader](int& out, int lowest, int highest) {
        const std::optional<int> value = reader.nextWholeNumber();
        if (!value || *value < lowest || *value > highest) {
            return false;
        }
        out = *value;
        return true;
    };
    const auto flag = [&reader](bool& out) { return reader.readFlag(out); };
    const auto truth = [&reader](bool& out) { return reader.readTruthValue(out); };

    std::string speed;
    if (!text(speed)) {
        return s;
    }
    s.speed = trimBlanks(speed);
    bool dxOnly = false;
    if (!text(s.parity) || !text(s.dataBits) || !text(s.stopBits) || !number(s.port, LowestSpotPort, HighestSpotPort)
        || !text(s.power) || !text(s.source) || !flag(s.hexFlag)
        || !number(s.handshaking, LowestHandshaking, HighestHandshaking) || !flag(dxOnly) || !truth(s.listMode)
        || !text(s.commandChar) || !text(s.telnetPort) || !text(s.telnetHost)) {
        return s;
    }
    if (reader.hasMoreValues() && text(s.agwAddress) && text(s.telnetLoginCall) && truth(s.autoReconnect)
        && truth(s.keepAlive)) {
        (void)truth(s.autoLogin);
    }
    return s;
}

std::string formatSpotSettings(const SpotSettings& s)
{
    FieldWriter out;
    out.text(trimBlanks(storableText(s.speed)));
    out.text(s.parity);
    out.text(s.dataBits);
    out.text(s.stopBits);
    out.number(s.port);
    out.text(s.power);
    out.text(s.source);
    out.number(s.hexFlag ? 1 : 0);
    out.number(s.handshaking);
    out.number(s.dxOnly ? 1 : 0);
    out.truthValue(s.listMode);
    out.text(s.commandChar);
    out.text(s.telnetPort);
    out.text(s.telnetHost);
    out.text(s.agwAddress);
    out.text(s.telnetLoginCall);
    out.truthValue(s.autoReconnect);
    out.truthValue(s.keepAlive);
    out.truthValue(s.autoLogin);
    return out.content();
}

} // namespace brindle
