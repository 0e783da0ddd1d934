#include "rig/RigSettings.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace brindle {
namespace {

constexpr const char* FourteenLines = "\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n"
                                      "\"4800,N,8,2\"\r\n3\r\n\"R\"\r\n\"S\"\r\n\"Kenwood\"\r\n0\r\n1\r\n2\r\n";

RigSettings kenwoodOnPort3()
{
    return { .rigName = "Kenwood",
        .port = 3,
        .baud = "4800",
        .stopBits = "2",
        .power = "R",
        .pollRate = "S",
        .frequencyPoll = "FA;",
        .modePoll = "MD;",
        .useFrequency = true,
        .modeBy = ModeBy::Frequency };
}

TEST(RigSettingsFile, StartsAsTheWindowDoes)
{
    const RigSettings s;
    EXPECT_EQ(s.rigName, "None");
    EXPECT_EQ(s.port, 1);
    EXPECT_EQ(lineSettingsText(s), "56000,N,8,1");
    EXPECT_EQ(s.power, "N");
    EXPECT_EQ(s.pollRate, "M");
    EXPECT_EQ(s.modeBy, ModeBy::Rig);
    EXPECT_EQ(s.rigctldAddress, "127.0.0.1:4532");
}

TEST(RigSettingsFile, WritesFifteenLinesThatReadBackThroughARealFile)
{
    test::TempFolder folder;
    RigSettings s = kenwoodOnPort3();
    s.rigctldAddress = "shack.local:4533";
    const std::string path = folder.file(RigSettingsFileName);
    test::writeBytes(path, formatRigSettings(s));
    const std::string written = test::readBytes(path);
    EXPECT_EQ(written, std::string(FourteenLines) + "\"shack.local:4533\"\r\n");
    EXPECT_EQ(parseRigSettings(written, RigSettings {}), s);
}

TEST(RigSettingsFile, FourteenLinesReadAsBeforeAndKeepTheAddress)
{
    RigSettings current;
    current.rigctldAddress = "10.0.0.2:4532";
    RigSettings expected = kenwoodOnPort3();
    expected.rigctldAddress = "10.0.0.2:4532";
    EXPECT_EQ(parseRigSettings(FourteenLines, current), expected);
    EXPECT_EQ(parseRigSettings(std::string(FourteenLines) + "\r\n\r\n", current), expected)
        << "blank lines after the fourteen are no address";
}

TEST(RigSettingsFile, BaudIsAlwaysFiveCharactersAndBareValuesRead)
{
    RigSettings s;
    s.baud = "1200";
    EXPECT_TRUE(formatRigSettings(s).starts_with("\"1200 \"\r\n"));
    s.baud = "56000";
    EXPECT_TRUE(formatRigSettings(s).starts_with("\"56000\"\r\n"));
    const RigSettings quoteInBaud = parseRigSettings("48\"0 \"\r\n", {});
    const std::string written = formatRigSettings(quoteInBaud);
    EXPECT_TRUE(written.starts_with("\"480  \"\r\n")) << "padded after the quote is left out";
    EXPECT_NE(written.find("\"480,N,8,1\""), std::string::npos) << "the line settings agree with the baud";
    EXPECT_EQ(formatRigSettings(parseRigSettings(written, {})), written);
    const RigSettings bare = parseRigSettings("9600\nE\n7\n1\n\n\n\"9600,E,7,1\"\n10\nD\nF\nOther\n1\n0\n3\n", {});
    EXPECT_EQ(bare.baud, "9600");
    EXPECT_EQ(lineSettingsText(bare), "9600,E,7,1");
    EXPECT_EQ(bare.port, 10);
    EXPECT_EQ(bare.rigName, "Other");
    EXPECT_TRUE(bare.convertToHex);
    EXPECT_EQ(bare.modeBy, ModeBy::Ignore);
}

TEST(RigSettingsFile, AShortOrDamagedFileStopsWhereItGoesWrong)
{
    RigSettings current;
    current.rigName = "Icom";
    current.port = 5;
    current.frequencyPoll = "FE FE 64 E0 03 FD";
    current.modeBy = ModeBy::Ignore;
    struct Case
    {
        const char* name;
        std::string content;
        const char* baud;
        const char* frequencyPoll;
        int port;
        const char* rigName;
        ModeBy modeBy;
    } cases[] = {
        { "missing", "", "56000", "FE FE 64 E0 03 FD", 5, "Icom", ModeBy::Ignore },
        { "ends after the baud", "\"4800 \"\r\n", "4800", "FE FE 64 E0 03 FD", 5, "Icom", ModeBy::Ignore },
        { "ends after the port", "\"1200 \"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n\"\"\r\n\"FA;\"\r\n\"1200,N,8,1\"\r\n4\r\n",
            "1200", "FA;", 4, "Icom", ModeBy::Ignore },
        { "port 0", "\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"\"\r\n\"FA;\"\r\n\"4800,N,8,2\"\r\n0\r\n\"N\"\r\n",
            "4800", "FA;", 5, "Icom", ModeBy::Ignore },
        { "port 11", std::string(FourteenLines).replace(std::string(FourteenLines).find("\r\n3\r\n"), 5, "\r\n11\r\n"),
            "4800", "FA;", 5, "Icom", ModeBy::Ignore },
        { "a port that is no number", "\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"\"\r\n\"FA;\"\r\n\"x\"\r\nCOM3\r\n",
            "4800", "FA;", 5, "Icom", ModeBy::Ignore },
        { "mode by that is no choice",
            std::string(FourteenLines).replace(std::string(FourteenLines).size() - 3, 1, "4"), "4800", "FA;", 3,
            "Kenwood", ModeBy::Ignore },
        { "a stray quote", "\"4800 \"\r\n\"N\"x\r\n", "4800", "FE FE 64 E0 03 FD", 5, "Icom", ModeBy::Ignore },
    };
    for (const Case& c : cases) {
        const RigSettings r = parseRigSettings(c.content, current);
        EXPECT_EQ(std::tie(r.baud, r.frequencyPoll, r.port, r.rigName, r.modeBy),
            std::tuple(c.baud, c.frequencyPoll, c.port, c.rigName, c.modeBy))
            << c.name;
    }
}

TEST(RigSettingsFile, AQuoteTypedIntoAPollStringCannotBreakTheFile)
{
    RigSettings s = kenwoodOnPort3();
    s.frequencyPoll = "F\"A;";
    const RigSettings read = parseRigSettings(formatRigSettings(s), {});
    EXPECT_EQ(read.frequencyPoll, "FA;");
    EXPECT_EQ(read.rigName, "Kenwood") << "the values after it are still read";
}

} // namespace
} // namespace brindle
