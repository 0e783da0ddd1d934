#include "spots/TelnetPolicy.h"
#include "spots/TelnetProtocol.h"
#include "spots/TelnetReceiver.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

const std::string Spot = "DX de KM3T-#:    14025.0  Q9ZZZ          CW    24 dB  25 WPM  CQ      1200Z";

TEST(TelnetProtocol, TakesTheProtocolOutOfTheTextAndRefusesEveryOption)
{
    struct Case
    {
        const char* what;
        std::string received;
        std::string text;
        std::string replies;
    };
    const std::vector<Case> cases {
        { "plain text passes", "login: ", "login: ", "" },
        { "the node's offers and requests refused", "\xFF\xFB\x01\xFF\xFB\x03\xFF\xFD\x18\xFF\xFD\x1Flogin: "s,
            "login: ", "\xFF\xFE\x01\xFF\xFE\x03\xFF\xFC\x18\xFF\xFC\x1F"s },
        { "its refusals are what is so already: no answer", "\xFF\xFC\x01\xFF\xFE\x03" + Spot, Spot, "" },
        { "a keep-alive NOP before a spot", "\xFF\xF1" + Spot, Spot, "" },
        { "go-ahead, data mark, are-you-there", "a\xFF\xF9" "b\xFF\xF2" "c\xFF\xF6" "d"s, "abcd", "" },
        { "a doubled IAC is the byte 255", "x\xFF\xFFy"s, "x\xFFy"s, "" },
        { "a subnegotiation is skipped whole", "\xFF\xFA\x18\x01\xFF\xFF\xFF\xF0" + Spot, Spot, "" },
        { "a subnegotiation cut short by a command ends there", "\xFF\xFA\x1F\x00\x50\xFF\xFB\x01"s + Spot,
            Spot, "\xFF\xFE\x01"s },
        { "a subnegotiation never ended gives the text back after a while",
            "\xFF\xFA\x18" + std::string(TelnetProtocol::LongestSubnegotiation, 'z') + Spot, Spot, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (std::size_t readSize : { c.received.size(), std::size_t { 1 }, std::size_t { 2 } }) {
            SCOPED_TRACE(readSize);
            TelnetProtocol protocol;
            std::string text;
            std::string replies;
            for (std::size_t at = 0; at < c.received.size(); at += readSize) {
                text += protocol.take(std::string_view(c.received).substr(at, readSize), replies);
            }
            EXPECT_EQ(text, c.text);
            EXPECT_EQ(replies, c.replies);
        }
    }
}

TEST(TelnetProtocol, ANewConnectionForgetsACommandTheOldOneLeftUnfinished)
{
    TelnetProtocol protocol;
    std::string replies;
    EXPECT_EQ(protocol.take("\xFF\xFA\x18"s, replies), "");
    protocol.reset();
    EXPECT_EQ(protocol.take(Spot, replies), Spot);
    EXPECT_EQ(replies, "");
}

TEST(TelnetReceiver, ASpotAfterTheNodesNegotiationIsHandedOverAndTheAnswerReturned)
{
    TelnetReceiver receiver;
    std::string monitor;
    const TelnetReceived taken
        = receiver.take("\xFF\xFB\x01\xFF\xF1" + Spot + "\r\n\xFF\xFD\x18Please enter your call: ", 0, monitor, false);
    EXPECT_EQ(taken.spots, Lines({ Spot }));
    EXPECT_EQ(taken.replies, "\xFF\xFE\x01\xFF\xFC\x18"s);
    EXPECT_TRUE(taken.loginPrompt);
    EXPECT_EQ(monitor, Spot + "\r\nPlease enter your call: ");
}

TEST(TelnetReceiver, AGreetingAndASpotInOneReadShowBothAndHandOverTheSpot)
{
    TelnetReceiver receiver;
    std::string monitor;
    const std::string read = "Welcome to the node\r\n" + Spot + "\r\n";
    EXPECT_EQ(receiver.take(read, 0, monitor, false).spots, Lines({ Spot }));
    EXPECT_EQ(monitor, read);
}

TEST(TelnetReceiver, ASpotCutBetweenReadsIsHandedOverOnceWhole)
{
    TelnetReceiver receiver;
    std::string monitor;
    EXPECT_TRUE(receiver.take(Spot.substr(0, 30), 0, monitor, false).spots.empty());
    EXPECT_EQ(monitor, Spot.substr(0, 30)) << "shown as it arrives";
    EXPECT_EQ(receiver.take(Spot.substr(30) + "\r", 10, monitor, false).spots, Lines({ Spot }));
    EXPECT_TRUE(receiver.take("\n" + Spot + "\r\n", 20, monitor, false).spots.size() == 1)
        << "no repeat test over Telnet, and the LF of the CR LF is no line";
}

TEST(TelnetReceiver, ClusterAndBeaconNetworkLinesComeOutWholeInAnyReads)
{
    const std::string feed = test::fixture("spots/rbn_lines.txt");
    Lines expected;
    for (std::size_t at = 0; at < feed.size();) {
        const std::size_t end = feed.find("\r\n", at);
        expected.push_back(feed.substr(at, end - at));
        at = end + 2;
    }
    for (const std::size_t readSize : { 1, 7, 64, 1460 }) {
        TelnetReceiver receiver;
        std::string monitor;
        Lines spots;
        for (std::size_t at = 0; at < feed.size(); at += readSize) {
            for (std::string& spot : receiver.take(feed.substr(at, readSize), 0, monitor, false).spots) {
                spots.push_back(spot);
            }
        }
        EXPECT_EQ(spots, expected) << "reads of " << readSize;
        EXPECT_EQ(monitor, feed);
    }
}

TEST(TelnetReceiver, DxOnlyShowsTheSpotsALineEach)
{
    TelnetReceiver receiver;
    std::string monitor = "Attempting connection to: dxc.example.net:7300\r\n\r\n";
    const std::string before = monitor;
    const TelnetReceived got = receiver.take("login: \r\nhello\r\n" + Spot + "\ndx de x\n", 0, monitor, true);
    EXPECT_EQ(got.spots, Lines({ Spot, "dx de x" }));
    EXPECT_EQ(monitor, before + Spot + "\r\n" + "dx de x\r\n");
}

TEST(TelnetReceiver, TheLineAfterAnAnsweredPromptStandsOnItsOwn)
{
    struct Case
    {
        const char* what;
        std::string beforeAnswer;
        std::string afterAnswer;
        std::vector<std::string> spots;
    };
    const std::vector<Case> cases {
        { "a node that goes on without a line end", "login: ", Spot + "\r\n", { Spot } },
        { "a node that ends the prompt's line", "login: ", "\r\n" + Spot + "\r\n", { Spot } },
        // The prompt's line ended in the read, and a spot began in it: the spot's beginning is kept.
        { "a spot begun in the prompt's read", "login: \r\n" + Spot.substr(0, 10), Spot.substr(10) + "\r\n",
            { Spot } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TelnetReceiver receiver;
        std::string monitor;
        (void)receiver.take(c.beforeAnswer, 0, monitor, false);
        receiver.promptAnswered();
        EXPECT_EQ(receiver.take(c.afterAnswer, 10, monitor, false).spots, c.spots);
        EXPECT_EQ(monitor, c.beforeAnswer + c.afterAnswer) << "the monitor shows everything as it came";
    }
}

TEST(TelnetReceiver, ANewConnectionStartsClean)
{
    TelnetReceiver receiver;
    std::string monitor;
    receiver.take("login: \r\n", 0, monitor, false);
    receiver.take("DX de half a li", 10, monitor, false);
    receiver.reset();
    EXPECT_TRUE(receiver.take("ne\r\nlogin: ", 20, monitor, false).spots.empty());
    EXPECT_EQ(receiver.loginPromptDueAtMs(), 20 + LoginPromptWatch::QuietMs)
        << "the new connection's prompt is answered";
    EXPECT_FALSE(receiver.loginPromptDue(20 + LoginPromptWatch::QuietMs - 1));
    EXPECT_TRUE(receiver.loginPromptDue(20 + LoginPromptWatch::QuietMs));
}

TEST(LoginPromptWatch, PromptsOfTheNodesHoweverTheReadsCutThem)
{
    const struct Case
    {
        std::string text;
        bool prompt;
    } cases[] = {
        { "Welcome to GB7DJK, a DXSpider node\r\n\r\nlogin: ", true },
        { "LOGIN:", true },
        { "Please enter your call: ", true },
        { "Please enter your callsign (or guest), then press Enter", true },
        { "please enter your call\r\n", true },
        { "Your call:\t", true },
        { "Enter your callsign:", true },
        { "login:\r\n", true },
        { std::string("login: \0", 8), true },
        { "Last login: Tue Jan 9 from 10.0.0.2\r\n", false },
        { "The call: and the rest of the line\r\n", false },
        { Spot + "\r\n", false },
        { "call", false },
        { std::string(300, '-') + "login: ", false },
    };
    for (const Case& c : cases) {
        for (std::size_t cut = 0; cut <= c.text.size(); ++cut) {
            LoginPromptWatch watch;
            // Reads are never empty: a text read whole arrives at the time of the second read.
            int answers = watch.take(c.text.substr(0, cut), cut == c.text.size() ? 100 : 0);
            answers += watch.take(c.text.substr(cut), 100);
            EXPECT_FALSE(watch.due(99 + LoginPromptWatch::QuietMs)) << c.text << " cut at " << cut;
            answers += watch.due(100 + LoginPromptWatch::QuietMs);
            EXPECT_EQ(answers, c.prompt ? 1 : 0) << c.text << " cut at " << cut;
            EXPECT_EQ(watch.prompted(), c.prompt) << c.text << " cut at " << cut;
            EXPECT_FALSE(watch.due(1'000'000)) << c.text << " cut at " << cut;
        }
    }
}

TEST(LoginPromptWatch, AnswersOncePerConnection)
{
    LoginPromptWatch watch;
    EXPECT_TRUE(watch.take("login:\r\n", 0));
    EXPECT_FALSE(watch.take("K1ABC\r\nSorry, K1ABC is not a valid call\r\nlogin:\r\n", 10))
        << "a refused call is not sent again";
    EXPECT_FALSE(watch.take("login: ", 20));
    EXPECT_FALSE(watch.due(10'000));
    watch.reset();
    EXPECT_TRUE(watch.take("Please enter your call: ", 30));
}

TEST(ReconnectBackoff, DoublesToAMinuteAndStartsAfreshAfterALastingConnection)
{
    ReconnectBackoff backoff;
    std::vector<std::int64_t> delays;
    std::int64_t now = 0;
    for (int i = 0; i < 7; ++i) {
        delays.push_back(backoff.lost(now));
        now += delays.back();
    }
    EXPECT_EQ(delays, (std::vector<std::int64_t> { 2'000, 4'000, 8'000, 16'000, 32'000, 60'000, 60'000 }));

    backoff.connected(now);
    EXPECT_EQ(backoff.lost(now + 59'999), 60'000) << "a node that drops at once keeps the long wait";
    backoff.connected(now + 100'000);
    EXPECT_EQ(backoff.lost(now + 160'000), 2'000) << "a connection of a minute starts afresh";
    EXPECT_EQ(backoff.lost(now + 162'000), 4'000);
    backoff.reset();
    EXPECT_EQ(backoff.lost(now + 170'000), 2'000) << "the operator's own open or close";
}

TEST(IdleKeepAlive, ALineEndAfterFiveSilentMinutes)
{
    IdleKeepAlive keepAlive;
    keepAlive.traffic(1'000);
    EXPECT_EQ(keepAlive.dueAtMs(), 301'000);
    EXPECT_FALSE(keepAlive.due(300'999));
    keepAlive.traffic(200'000);
    EXPECT_FALSE(keepAlive.due(301'000)) << "traffic puts it off";
    EXPECT_EQ(keepAlive.dueAtMs(), 500'000);
    EXPECT_TRUE(keepAlive.due(500'000));
    EXPECT_FALSE(keepAlive.due(500'001)) << "sent once, then five minutes again";
    EXPECT_EQ(keepAlive.dueAtMs(), 800'000);
    EXPECT_TRUE(keepAlive.due(900'000)) << "a late tick still sends it";
    EXPECT_EQ(IdleKeepAlive::Text, "\r");
}

TEST(TelnetErrorText, TheWindowsTextsByNumber)
{
    const struct Case
    {
        int number;
        const char* text;
    } cases[] = {
        { 7, "ERROR: Out of memory." },
        { 10054, "ERROR: The connection is reset by remote side.!" },
        { 10058, "ERROR: Socket has been shut down." },
        { 10060, "ERROR: Socket has been shut down." },
        { 10061, "ERROR: Connection is forcefully rejected." },
        { 11004, "ERROR: Valid name, no data record of requested type." },
        { 10059, "Error number 10059" },
        { -1, "Error number -1" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(telnetErrorText(c.number), c.text);
    }
}

} // namespace
} // namespace brindle
