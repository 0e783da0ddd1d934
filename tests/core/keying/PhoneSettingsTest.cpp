#include "keying/PhoneSettings.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

PhoneSettings sampleSettings()
{
    PhoneSettings s;
    s.waveFiles[0] = "/home/op/cq test.wav";
    s.waveFiles[1] = "/home/op/exchange, fast.wav";
    s.waveFiles[3] = "/home/op/r\xE9p\xE9tez.wav"; // Latin-1, as the file is 8-bit text
    s.waveFiles[8] = "qrz.wav";
    s.pttPort = "3";
    s.pttLine = PttLine::Dtr;
    s.loopSeconds = "2.5";
    s.parallelAddress = "&H278";
    return s;
}

constexpr std::string_view SampleFile = "\"/home/op/cq test.wav\"\r\n"
                                        "\"/home/op/exchange, fast.wav\"\r\n"
                                        "\"\"\r\n"
                                        "\"/home/op/r\xE9p\xE9tez.wav\"\r\n"
                                        "\"\"\r\n"
                                        "\"\"\r\n"
                                        "\"\"\r\n"
                                        "\"\"\r\n"
                                        "\"qrz.wav\"\r\n"
                                        "\"3\"\r\n"
                                        "1\r\n"
                                        "\"2.5\"\r\n"
                                        "\"&H278\"\r\n";

std::string withLfLineEnds(std::string_view text)
{
    std::string lf;
    for (char c : text) {
        if (c != '\r') {
            lf += c;
        }
    }
    return lf;
}

TEST(PhoneSettingsFile, ThirteenLinesReadBackAsWritten)
{
    EXPECT_EQ(formatPhoneSettings(sampleSettings()), SampleFile);
    EXPECT_EQ(parsePhoneSettings(SampleFile), sampleSettings());
    EXPECT_EQ(parsePhoneSettings(withLfLineEnds(SampleFile)), sampleSettings()) << "LF line ends";
}

TEST(PhoneSettingsFile, WhatIsMissingOrDamagedKeepsItsDefault)
{
    EXPECT_EQ(parsePhoneSettings(""), PhoneSettings());

    // Ends inside the paths.
    PhoneSettings s = parsePhoneSettings("\"a.wav\"\r\n\"b.wav\"\r\n");
    EXPECT_EQ(s.waveFiles[1], "b.wav");
    EXPECT_EQ(s.waveFiles[2], "");
    EXPECT_EQ(s.pttPort, "0");

    // Ends after the port: the line and what follows keep their defaults.
    s = parsePhoneSettings(SampleFile.substr(0, SampleFile.find("1\r\n\"2.5\"")));
    EXPECT_EQ(s.waveFiles[8], "qrz.wav");
    EXPECT_EQ(s.pttPort, "3");
    EXPECT_EQ(s.pttLine, PttLine::Rts);
    EXPECT_EQ(s.loopSeconds, "0");
    EXPECT_EQ(s.parallelAddress, "&H378");

    // A quote left open in F2 swallows the next line and runs into its quote: the reading stops at F2.
    s = parsePhoneSettings("\"a.wav\"\r\n\"b.wav\r\n\"c.wav\"\r\n\"d.wav\"\r\n");
    EXPECT_EQ(s.waveFiles[0], "a.wav");
    EXPECT_EQ(s.waveFiles[1], "");
    EXPECT_EQ(s.waveFiles[3], "");
}

TEST(PhoneSettingsFile, ThePttLineIsZeroOneOrTwoAndAnythingElseIsRts)
{
    const struct
    {
        std::string_view line;
        PttLine read;
    } cases[] = {
        { "0", PttLine::Rts },
        { "1", PttLine::Dtr },
        { "2", PttLine::Parallel },
        { " 2 ", PttLine::Parallel },
        { "\"1\"", PttLine::Dtr },
        { "", PttLine::Rts },
        { "7", PttLine::Rts },
        { "-1", PttLine::Rts },
        { "1.5", PttLine::Rts },
        { "DTR", PttLine::Rts },
    };
    const std::size_t lineStart = SampleFile.find("1\r\n\"2.5\"");
    for (const auto& c : cases) {
        std::string file(SampleFile);
        file.replace(lineStart, 1, c.line);
        const PhoneSettings s = parsePhoneSettings(file);
        EXPECT_EQ(s.pttLine, c.read) << c.line;
        EXPECT_EQ(s.parallelAddress, "&H278") << c.line << ": the values after it are still read";
    }
}

TEST(PhoneSettingsFile, PathsLoseTheBlanksAroundThemWhenReadAndWhenWritten)
{
    const PhoneSettings read = parsePhoneSettings("\"  /home/op/cq test.wav  \"\r\n  qrz.wav \r\n");
    EXPECT_EQ(read.waveFiles[0], "/home/op/cq test.wav");
    EXPECT_EQ(read.waveFiles[1], "qrz.wav");

    PhoneSettings typed;
    typed.waveFiles[2] = " \t/home/op/tu.wav ";
    typed.loopSeconds = " 3 "; // only the paths are trimmed
    const std::string written = formatPhoneSettings(typed);
    EXPECT_NE(written.find("\r\n\"/home/op/tu.wav\"\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\r\n\" 3 \"\r\n"), std::string::npos) << written;
}

TEST(PhoneSettingsFile, AQuoteCannotBeKeptAndNeverBreaksTheFile)
{
    PhoneSettings typed = sampleSettings();
    typed.waveFiles[0] = "/home/op/\"best\" cq.wav";
    const PhoneSettings read = parsePhoneSettings(formatPhoneSettings(typed));
    EXPECT_EQ(read.waveFiles[0], "/home/op/best cq.wav");
    EXPECT_EQ(read.parallelAddress, "&H278") << "the values after it are still read";

    // Hand-edited bare values with a quote read as they will be saved.
    const PhoneSettings edited
        = parsePhoneSettings("/home/op/\"best\".wav\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nCOM\"3\r\n");
    EXPECT_EQ(edited.waveFiles[0], "/home/op/best.wav");
    EXPECT_EQ(edited.pttPort, "COM3");
    EXPECT_EQ(parsePhoneSettings(formatPhoneSettings(edited)), edited);
}

TEST(PttPortField, AWholeNumberFromOneUpIsAPortAnythingElseIsNone)
{
    const struct
    {
        std::string_view text;
        int port;
    } cases[] = {
        { "3", 3 },
        { " 2 ", 2 },
        { "12", 12 },
        { "0", 0 },
        { "-1", 0 },
        { "2.5", 0 },
        { "3x", 0 },
        { "x", 0 },
        { "", 0 },
        { "99999999999", 0 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pttPortNumber(c.text), c.port) << c.text;
    }
}

} // namespace
} // namespace brindle
