#include "spots/SpotSettings.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace brindle {
namespace {

constexpr const char* FourteenLines = "\"9600\"\r\n\"E\"\r\n\"7\"\r\n\"2\"\r\n4\r\n\"R\"\r\n\"TNC\"\r\n1\r\n3\r\n1\r\n"
                                      "#TRUE#\r\n\"03\"\r\n\"7300\"\r\n\"dxc.example.net\"\r\n";

SpotSettings tncOnPort4()
{
    SpotSettings s;
    s.speed = "9600";
    s.parity = "E";
    s.dataBits = "7";
    s.stopBits = "2";
    s.port = 4;
    s.power = "R";
    s.source = "TNC";
    s.hexFlag = true;
    s.handshaking = 3;
    s.listMode = true;
    s.commandChar = "03";
    s.telnetPort = "7300";
    s.telnetHost = "dxc.example.net";
    return s;
}

TEST(SpotSettingsFile, StartsAsTheWindowDoes)
{
    const SpotSettings s;
    EXPECT_EQ(lineSettingsText(s), "19200,N,8,1");
    EXPECT_EQ(s.port, 1);
    EXPECT_EQ(s.power, "N");
    EXPECT_EQ(s.handshaking, 1);
    EXPECT_EQ(s.source, "") << "nothing chosen";
    EXPECT_FALSE(spotSourceOf(s.source).has_value()) << "which opens nothing, yet is not None";
    EXPECT_FALSE(s.listMode) << "Band Map";
    EXPECT_EQ(s.agwAddress, "127.0.0.1:8000");
    EXPECT_EQ(s.telnetLoginCall, "");
    EXPECT_FALSE(s.autoReconnect);
    EXPECT_FALSE(s.keepAlive);
    EXPECT_TRUE(s.autoLogin) << "a node's prompt is answered, as it always was";
}

TEST(SpotSettingsFile, WritesNineteenLinesThatReadBackThroughARealFile)
{
    test::TempFolder folder;
    SpotSettings s = tncOnPort4();
    s.dxOnly = true;
    s.agwAddress = "shack.local:8001";
    s.telnetLoginCall = "K1ABC-2";
    s.autoReconnect = true;
    s.autoLogin = false;
    const std::string path = folder.file(SpotSettingsFileName);
    test::writeBytes(path, formatSpotSettings(s));
    const std::string written = test::readBytes(path);
    EXPECT_EQ(written,
        std::string(FourteenLines) + "\"shack.local:8001\"\r\n\"K1ABC-2\"\r\n#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n");
    SpotSettings expected = s;
    expected.dxOnly = false; // the box starts cleared whatever the file says
    EXPECT_EQ(parseSpotSettings(written, SpotSettings {}), expected);
}

TEST(SpotSettingsFile, FourteenLinesReadAsBeforeAndKeepTheLaterValues)
{
    SpotSettings current;
    current.agwAddress = "10.0.0.2:8000";
    current.keepAlive = true;
    SpotSettings expected = tncOnPort4();
    expected.agwAddress = "10.0.0.2:8000";
    expected.keepAlive = true;
    EXPECT_EQ(parseSpotSettings(FourteenLines, current), expected);
    EXPECT_EQ(parseSpotSettings(std::string(FourteenLines) + "\r\n\r\n", current), expected)
        << "blank lines after the fourteen are no address";
}

TEST(SpotSettingsFile, AShortOrDamagedFileStopsWhereItGoesWrong)
{
    SpotSettings current;
    current.port = 7;
    current.telnetHost = "old.example.net";
    current.listMode = true;
    const std::string full = FourteenLines;
    const auto replaced = [&full](std::string_view what, std::string_view with) {
        std::string text = full;
        return text.replace(text.find(what), what.size(), with);
    };
    const struct Case
    {
        const char* name;
        std::string content;
        const char* speed;
        int port;
        const char* source;
        bool listMode;
        const char* telnetHost;
    } cases[] = {
        { "missing", "", "19200", 7, "", true, "old.example.net" },
        { "ends after the speed", "\"4800 \"\r\n", "4800", 7, "", true, "old.example.net" },
        { "bare values", "1200\nO\n8\n1\n2\nN\nTelnet\n0\n1\n0\n#false#\n03\n23\ncluster\n", "1200", 2, "Telnet", false,
            "cluster" },
        { "port 0", replaced("\r\n4\r\n", "\r\n0\r\n"), "9600", 7, "", true, "old.example.net" },
        { "port 11", replaced("\r\n4\r\n", "\r\n11\r\n"), "9600", 7, "", true, "old.example.net" },
        { "a port that is no number", replaced("\r\n4\r\n", "\r\nCOM4\r\n"), "9600", 7, "", true, "old.example.net" },
        { "handshaking 5", replaced("\r\n3\r\n", "\r\n5\r\n"), "9600", 4, "TNC", true, "old.example.net" },
        { "list mode that is no truth value", replaced("#TRUE#", "1"), "9600", 4, "TNC", true, "old.example.net" },
        { "a stray quote", replaced("\"TNC\"", "\"TNC\"x"), "9600", 4, "", true, "old.example.net" },
        { "an unterminated quote", replaced("\"dxc.example.net\"\r\n", "\"dxc.example.net\r\n"), "9600", 4, "TNC", true,
            "old.example.net" },
    };
    for (const Case& c : cases) {
        const SpotSettings r = parseSpotSettings(c.content, current);
        EXPECT_EQ(std::tie(r.speed, r.port, r.source, r.listMode, r.telnetHost),
            std::tuple(c.speed, c.port, c.source, c.listMode, c.telnetHost))
            << c.name;
    }
}

TEST(SpotSettingsFile, LaterValuesStopWhereDamagedToo)
{
    SpotSettings current;
    current.telnetLoginCall = "OLD";
    current.autoReconnect = true;
    current.keepAlive = true;
    const SpotSettings r
        = parseSpotSettings(std::string(FourteenLines) + "\"10.0.0.9:8000\"\r\n\"\"\r\nyes\r\n#FALSE#\r\n", current);
    EXPECT_EQ(std::tie(r.agwAddress, r.telnetLoginCall, r.autoReconnect, r.keepAlive),
        std::tuple("10.0.0.9:8000", "", true, true));

    // A file of eighteen lines was written before logging in could be switched off: it stays on.
    const std::string eighteen = std::string(FourteenLines) + "\"10.0.0.9:8000\"\r\n\"\"\r\n#TRUE#\r\n#TRUE#\r\n";
    EXPECT_TRUE(parseSpotSettings(eighteen, SpotSettings {}).autoLogin);
    EXPECT_FALSE(parseSpotSettings(eighteen + "#FALSE#\r\n", SpotSettings {}).autoLogin);
    EXPECT_TRUE(parseSpotSettings(eighteen + "no\r\n", SpotSettings {}).autoLogin) << "damaged: left as it was";
}

TEST(SpotSettingsFile, SourcesByTheirStoredTexts)
{
    const struct Case
    {
        const char* text;
        std::optional<SpotSource> source;
    } cases[] = {
        { "None", SpotSource::None },
        { "TNC", SpotSource::Tnc },
        { "tnc", SpotSource::Tnc },
        { "Telnet", SpotSource::Telnet },
        { "AGW PACKET ENGINE", SpotSource::Agw },
        { "", std::nullopt },
        { "AGW", std::nullopt },
        { " Telnet", std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spotSourceOf(c.text), c.source) << c.text;
    }
    for (const SpotSource source : { SpotSource::None, SpotSource::Tnc, SpotSource::Telnet, SpotSource::Agw }) {
        EXPECT_EQ(spotSourceOf(spotSourceText(source)), source);
    }
    EXPECT_EQ(spotSourceText(SpotSource::Agw), "AGW Packet Engine");
}

} // namespace
} // namespace brindle
