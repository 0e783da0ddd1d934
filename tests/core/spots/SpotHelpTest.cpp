#include "spots/SpotHelp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

// The help's paragraphs, each ended by CR LF CR LF; nothing may follow the last end.
std::vector<std::string> paragraphsOf(const std::string& text)
{
    std::vector<std::string> found;
    std::size_t from = 0;
    for (std::size_t end = text.find("\r\n\r\n"); end != std::string::npos; end = text.find("\r\n\r\n", from)) {
        found.push_back(text.substr(from, end - from));
        from = end + 4;
    }
    EXPECT_EQ(from, text.size()) << "text after the last paragraph";
    return found;
}

TEST(SpotHelpTest, eachSourceShowsItsParagraphsInOrder)
{
    struct Case
    {
        std::optional<SpotSource> source;
        std::size_t count;
        std::string first;
        std::string last;
    };
    const std::vector<Case> cases {
        { SpotSource::None, 18, "Use this form to configure your DX spotting options.", "This code was developed" },
        { SpotSource::Tnc, 5, "To use a Packet TNC,", "This code was developed" },
        { SpotSource::Telnet, 3, "If you have an Internet connection", "If the list is being displayed" },
        { SpotSource::Agw, 11, "This program will also interface with the AGW Packet Engine.",
            "This code was developed" },
    };
    for (const Case& c : cases) {
        const std::optional<std::string> help = spotHelpText(c.source);
        ASSERT_TRUE(help.has_value());
        const std::vector<std::string> paragraphs = paragraphsOf(*help);
        ASSERT_EQ(paragraphs.size(), c.count) << *help;
        EXPECT_EQ(paragraphs.front().rfind(c.first, 0), 0u) << paragraphs.front();
        EXPECT_EQ(paragraphs.back().rfind(c.last, 0), 0u) << paragraphs.back();
    }
    // Before a source is chosen there is nothing to explain.
    EXPECT_FALSE(spotHelpText(std::nullopt).has_value());
}

TEST(SpotHelpTest, theConnectExampleKeepsItsSpacingAndTheDownloadLineItsAddress)
{
    const std::vector<std::string> agw = paragraphsOf(*spotHelpText(SpotSource::Agw));
    EXPECT_EQ(agw[1], AgwDownloadLine);
    EXPECT_EQ(agw[6], ":C KORVA     or to disconnect :D");
    EXPECT_EQ(agw[7], "and press enter (you can also use the Esc key to add a colon).");
}

TEST(SpotHelpTest, anUnreachableEngineIsExplainedInTheMonitorAndTheBox)
{
    const std::vector<std::string> monitor = paragraphsOf(agwUnreachableMonitorText());
    ASSERT_EQ(monitor.size(), 4u);
    EXPECT_EQ(monitor[0],
        "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive packet with "
        "your soundcard or devices such a Baypac:");
    EXPECT_EQ(monitor[1], AgwDownloadLine);
    EXPECT_EQ(monitor[2], AgwSetupLine);
    EXPECT_EQ(monitor[3], AgwOpenLine);

    const std::string box = agwUnreachableMessageText();
    EXPECT_EQ(box, monitor[0] + "\r\n\r\n" + std::string(AgwDownloadLine)
            + "\r\n\r\n- Make sure the AGW Packet Engine software is running and configure it as described on the "
              "AGW Packet Engine website.");
}

} // namespace
} // namespace brindle
