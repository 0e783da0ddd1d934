#include "spots/AgwSession.h"

#include "common/Text.h"
#include "spots/MonitorText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace brindle {
namespace {

using namespace std::string_literals;

const std::string Spot = "DX de W1AW: 14025.0 Q9ZZZ CQ 1200Z";
// The engine's description line before a monitored packet's text.
const std::string Monitored = " 1:Fm W1AW To APRS <UI pid=F0 Len=34 >[12:00:00]\r";

AgwFrame frame(char kind, const std::string& from, const std::string& data)
{
    return { 0, kind, kind == 'D' ? AgwTextPid : 0, from, "N0CALL", data };
}

struct TakeCase
{
    const char* what;
    AgwFrame frame;
    std::string monitor = {};
    bool dxOnly = false;
    std::vector<std::string> shown = {};
    std::optional<std::string> spot = std::nullopt;
};

void expectOutcome(AgwSession& session, const TakeCase& c)
{
    const AgwFrameOutcome outcome = session.take(c.frame, c.monitor, c.dxOnly);
    EXPECT_EQ(outcome.monitorTexts, c.shown) << c.what;
    EXPECT_EQ(outcome.spotLines, c.spot ? std::vector<std::string> { *c.spot } : std::vector<std::string> {})
        << c.what;
    EXPECT_EQ(outcome.beeps, 0) << c.what;
    EXPECT_FALSE(outcome.caption) << c.what;
}

TEST(AgwSession, whileMonitoringAPacketsTextIsShownAndASpotHandedOver)
{
    const std::string spotLine = Spot + "\r\n";
    const std::vector<TakeCase> cases {
        { "Dire Wolf: one CR and the C string's NUL after the text", frame('U', "W1AW", Monitored + Spot + "\r\0"s), {},
            false, { spotLine }, spotLine },
        { "AGWPE: two CRs after the text", frame('U', "W1AW", Monitored + Spot + "\r\r"), {}, false, { spotLine },
            spotLine },
        { "information and own frames too", frame('I', "W1AW", Monitored + Spot + "\r"), {}, false, { spotLine },
            spotLine },
        { "a spot in lower case", frame('U', "W1AW", Monitored + "dx de W1AW: 14025.0 Q9ZZZ\r"), {}, false,
            { "dx de W1AW: 14025.0 Q9ZZZ\r\n" }, "dx de W1AW: 14025.0 Q9ZZZ\r\n" },
        { "blanks around the text go", frame('U', "W1AW", Monitored + "  " + Spot + "  "), {}, false, { Spot }, Spot },
        { "a spot among the monitor's last 800 characters is a repeat", frame('U', "W1AW", Monitored + Spot + "\r"),
            std::string(100, 'x') + spotLine + std::string(800 - spotLine.size(), '.'), false, {}, std::nullopt },
        { "a repeat ignores case", frame('U', "W1AW", Monitored + Spot + "\r"),
            "DX DE w1aw: 14025.0 q9zzz CQ 1200Z\r\n", false, {}, std::nullopt },
        { "further back it is not", frame('U', "W1AW", Monitored + Spot + "\r"),
            std::string(100, 'x') + spotLine + std::string(800 - spotLine.size() + 1, '.'), false, { spotLine },
            spotLine },
        { "with DX only the spot still shows", frame('U', "W1AW", Monitored + Spot + "\r"), {}, true, { spotLine },
            spotLine },
        { "other text shows with its description", frame('U', "W1AW", Monitored + "hello\r"), {}, false,
            { "UW1AW  1:Fm W1AW To APRS <UI pid=F0 Len=34 >[12:00:00]\r\nhello\r\n" } },
        { "but not with DX only", frame('U', "W1AW", Monitored + "hello\r"), {}, true, {} },
        { "nor when its description holds DX and a blank",
            frame('U', "W1AW", " 1:Fm W1AW To DX <UI pid=F0 Len=5 >[12:00:00]\rhello\r"), {}, false, {} },
        { "connected data from a station not connected", frame('D', "W1AW", "hello\r"), {}, false,
            { "DW1AW hello\r\n" } },
        { "the registration reply is no text", frame('X', "N0CALL", "\x01"), {}, false, {} },
        { "nor a raw frame", frame('K', "W1AW", "DX de W1AW: 14025.0"), {}, false, {} },
    };
    for (const TakeCase& c : cases) {
        AgwSession session;
        expectOutcome(session, c);
    }
}

class ConnectedAgwSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session.setOwnCall(" N0CALL ");
        expectLinkReport(frame('C', "W1AW-5", "*** CONNECTED With Station W1AW-5\r\0"s),
            { "CW1AW-5 *** CONNECTED With Station W1AW-5\r\n", "** Connected to W1AW-5 **" }, 1,
            "DX Spotting Setup - Connected to W1AW-5");
        ASSERT_EQ(session.connectedStation(), "W1AW-5");
    }
    // The engine's report that the link began or ended.
    void expectLinkReport(
        const AgwFrame& report, const std::vector<std::string>& shown, int beeps, const std::string& caption)
    {
        const AgwFrameOutcome outcome = session.take(report, {}, false);
        EXPECT_EQ(outcome.monitorTexts, shown);
        EXPECT_EQ(outcome.beeps, beeps);
        EXPECT_EQ(outcome.caption, caption);
        EXPECT_TRUE(outcome.spotLines.empty());
    }

    AgwSession session;
};

TEST_F(ConnectedAgwSession, theStationsTextIsShownWholeAndItsSpotsHandedOver)
{
    const std::vector<TakeCase> cases {
        { "a cluster spot", frame('D', "W1AW-5", Spot + "\r"), {}, false, { Spot + "\r\n" }, Spot + "\r\n" },
        { "the node's greeting", frame('D', "w1aw-5", "Welcome\rto the node\r"), {}, false,
            { "Welcome\r\nto the node\r\n" } },
        { "not with DX only", frame('D', "W1AW-5", "Welcome\r"), {}, true, {} },
        { "another station's text is not shown", frame('D', "K1ABC", "hello\r"), {}, false, {} },
        { "a second connection changes nothing", frame('C', "K1ABC", ""), {}, false, {} },
        { "another station leaving changes nothing", frame('d', "K1ABC", ""), {}, false, {} },
    };
    for (const TakeCase& c : cases) {
        expectOutcome(session, c);
        EXPECT_EQ(session.connectedStation(), "W1AW-5") << c.what;
    }
}

TEST_F(ConnectedAgwSession, theStationLeavingBeepsTwiceAndRestoresTheCaption)
{
    expectLinkReport(frame('d', "w1aw-5", "*** DISCONNECTED From Station W1AW-5\r\0"s),
        { "*** DISCONNECTED From Station W1AW-5\r\n", "\r\n** Disconnected from W1AW-5 **\r\n" }, 2,
        "DX Spotting Setup");
    EXPECT_EQ(session.connectedStation(), "");
}

// The frames Dire Wolf 1.6 sends its AGW client, monitoring on, while N0CALL connects to the cluster node
// W1NODE, receives its greeting, prompt and two spots, and leaves: taken from the real engine.
const std::string Greeting = "Hello N0CALL, this is W1NODE cluster";
const std::string Prompt = "N0CALL de W1NODE >";
const std::string W3lpl = "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1200Z";
const std::string K1ttt = "DX de K1TTT:      7003.5  VK2XYZ       CW                             1201Z";

AgwFrame engineFrame(char kind, const std::string& from, const std::string& to, const std::string& data)
{
    return { 0, kind, kind == 'D' ? AgwTextPid : 0, from, to, data };
}

// An information frame from the node: the engine's monitored copy, then the same text as connected data.
std::vector<AgwFrame> nodeSays(const std::string& text, const std::string& sequence, const std::string& time)
{
    return {
        engineFrame('I', "W1NODE", "N0CALL",
            " 1:Fm W1NODE To N0CALL <I " + sequence + " R0 pid=0xF0 Len=" + std::to_string(text.size() + 1) + " P=0 >["
                + time + "]\r" + text + "\r\r\0"s),
        engineFrame('D', "W1NODE", "N0CALL", text + "\r"),
    };
}

std::vector<AgwFrame> direWolfConnectedSession()
{
    std::vector<AgwFrame> frames {
        engineFrame('T', "N0CALL", "W1NODE", " 1:Fm N0CALL To W1NODE <SABME P=1 >[12:22:55]\r\0"s),
        engineFrame('S', "W1NODE", "N0CALL", " 1:Fm W1NODE To N0CALL <UA F=1 >[12:22:57]\r\0"s),
        engineFrame('C', "W1NODE", "N0CALL", "*** CONNECTED With Station W1NODE\r\0"s),
    };
    for (const std::vector<AgwFrame>& said : { nodeSays(Greeting, "S0", "12:22:58"), nodeSays(Prompt, "S1", "12:22:58"),
             nodeSays(W3lpl, "S2", "12:22:58"), nodeSays(K1ttt, "S3", "12:22:59") }) {
        frames.insert(frames.end(), said.begin(), said.end());
    }
    frames.insert(frames.end(),
        {
            engineFrame('T', "N0CALL", "W1NODE", " 1:Fm N0CALL To W1NODE <XID P=1 Len=27 >[12:23:00]\r\x82\x80\r\0"s),
            engineFrame('T', "N0CALL", "W1NODE", " 1:Fm N0CALL To W1NODE <RR R4 F=0 >[12:23:00]\r\0"s),
            engineFrame('S', "W1NODE", "N0CALL", " 1:Fm W1NODE To N0CALL <XID F=1 Len=27 >[12:23:03]\r\x82\x80\r\0"s),
            engineFrame('T', "N0CALL", "W1NODE", " 1:Fm N0CALL To W1NODE <DISC P=1 >[12:23:19]\r\0"s),
            engineFrame('S', "W1NODE", "N0CALL", " 1:Fm W1NODE To N0CALL <UA F=1 >[12:23:21]\r\0"s),
            engineFrame('d', "W1NODE", "N0CALL", "*** DISCONNECTED From Station W1NODE\r\0"s),
        });
    return frames;
}

// The frames through the session as the spot feed takes them: the monitor grows by each text, and each spot
// goes to the store.
struct Played
{
    std::string monitor;
    std::vector<std::string> spots;
};

Played play(AgwSession& session, const std::vector<AgwFrame>& frames, std::string monitor = {})
{
    Played played { std::move(monitor), {} };
    for (const AgwFrame& frame : frames) {
        const AgwFrameOutcome outcome = session.take(frame, played.monitor, false);
        for (const std::string& text : outcome.monitorTexts) {
            played.monitor += text;
            trimMonitor(played.monitor);
        }
        played.spots.insert(played.spots.end(), outcome.spotLines.begin(), outcome.spotLines.end());
    }
    return played;
}

TEST(AgwSession, aNodeConnectedThroughTheEngineShowsItsTextOnceAndEachSpotIsHandedOver)
{
    AgwSession session;
    session.setOwnCall("N0CALL");
    const Played played = play(session, direWolfConnectedSession());
    EXPECT_EQ(played.spots, (std::vector<std::string> { W3lpl + "\r\n", K1ttt + "\r\n" }));
    // Before the link and after it only the monitoring is there, and it shows as ever.
    EXPECT_EQ(played.monitor,
        "TN0CALL  1:Fm N0CALL To W1NODE <SABME P=1 >[12:22:55]\r\n"
        "SW1NODE  1:Fm W1NODE To N0CALL <UA F=1 >[12:22:57]\r\n"
        "CW1NODE *** CONNECTED With Station W1NODE\r\n"
        "** Connected to W1NODE **"
            + Greeting + "\r\n" + Prompt + "\r\n" + W3lpl + "\r\n" + K1ttt + "\r\n"
            + "*** DISCONNECTED From Station W1NODE\r\n"
              "\r\n** Disconnected from W1NODE **\r\n");
    EXPECT_EQ(session.connectedStation(), "");
}

TEST(AgwSession, aSpotAlreadyShownIsARepeatOnTheLinkAsOffIt)
{
    struct Case
    {
        const char* what;
        std::string monitorBefore;
        std::vector<std::string> spots;
    };
    const std::vector<Case> cases {
        { "a spot heard from another node before connecting", W3lpl + "\r\n", { K1ttt + "\r\n" } },
        { "in other case", toUpperAscii(W3lpl) + "\r\n", { K1ttt + "\r\n" } },
        { "a spot beyond the monitor's last 800 characters", W3lpl + "\r\n" + std::string(800, '.'),
            { W3lpl + "\r\n", K1ttt + "\r\n" } },
    };
    for (const Case& c : cases) {
        AgwSession session;
        session.setOwnCall("N0CALL");
        EXPECT_EQ(play(session, direWolfConnectedSession(), c.monitorBefore).spots, c.spots) << c.what;
    }
}

// A node with a backlog fills a frame with several lines, and the engine's frame length (PACLEN) may cut a
// line between two frames: its data is a stream of lines, like a Telnet node's.
TEST(AgwSession, aConnectedNodesSpotsAreItsLinesWhereverItsFramesCutThem)
{
    const std::string text = Greeting + "\r" + W3lpl + "\r" + K1ttt + "\r" + Prompt;
    struct Case
    {
        const char* what;
        std::vector<std::size_t> cuts;
    };
    std::vector<Case> cases {
        { "all in one frame", {} },
        { "a spot cut in two", { text.find(W3lpl) + 30 } },
        { "cut just after a line's end", { text.find(K1ttt) } },
        { "cut just before a line's end", { text.find(K1ttt) - 1 } },
    };
    Case paclen { "frames of 40 bytes", {} };
    for (std::size_t at = 40; at < text.size(); at += 40) {
        paclen.cuts.push_back(at);
    }
    cases.push_back(paclen);
    for (const Case& c : cases) {
        for (const bool dxOnly : { false, true }) {
            SCOPED_TRACE(std::string(c.what) + (dxOnly ? ", DX only" : ""));
            AgwSession session;
            session.setOwnCall("N0CALL");
            std::vector<AgwFrame> frames { engineFrame('C', "W1NODE", "N0CALL", "*** CONNECTED With Station W1NODE\r\0"s) };
            std::size_t from = 0;
            for (const std::size_t cut : c.cuts) {
                frames.push_back(engineFrame('D', "W1NODE", "N0CALL", text.substr(from, cut - from)));
                from = cut;
            }
            frames.push_back(engineFrame('D', "W1NODE", "N0CALL", text.substr(from)));
            std::string monitor;
            std::vector<std::string> spots;
            for (const AgwFrame& frame : frames) {
                const AgwFrameOutcome outcome = session.take(frame, monitor, dxOnly);
                for (const std::string& shown : outcome.monitorTexts) {
                    monitor += shown;
                }
                spots.insert(spots.end(), outcome.spotLines.begin(), outcome.spotLines.end());
            }
            EXPECT_EQ(spots, (std::vector<std::string> { W3lpl + "\r\n", K1ttt + "\r\n" }));
            const std::string connected
                = (dxOnly ? "" : "CW1NODE *** CONNECTED With Station W1NODE\r\n"s) + "** Connected to W1NODE **";
            EXPECT_EQ(monitor,
                connected
                    + (dxOnly ? W3lpl + "\r\n" + K1ttt + "\r\n"
                              : Greeting + "\r\n" + W3lpl + "\r\n" + K1ttt + "\r\n" + Prompt));
        }
    }
}

TEST_F(ConnectedAgwSession, theEnginesCopiesOfTheLinksFramesAreNoText)
{
    const std::string description = " 1:Fm W1AW-5 To N0CALL <I S0 R0 pid=0xF0 Len=35 P=0 >[12:22:58]\r";
    const std::vector<TakeCase> cases {
        { "the station's information frame", engineFrame('I', "W1AW-5", "N0CALL", description + "Welcome\r\r\0"s) },
        { "a spot in it", engineFrame('I', "W1AW-5", "N0CALL", description + Spot + "\r\r\0"s) },
        { "its calls in other case", engineFrame('I', "w1aw-5", "n0call", description + Spot + "\r\r\0"s) },
        { "its acknowledgement",
            engineFrame('S', "W1AW-5", "N0CALL", " 1:Fm W1AW-5 To N0CALL <RR R1 F=0 >[12:22:58]\r\0"s) },
        { "our own information frame",
            engineFrame('T', "N0CALL", "W1AW-5", " 1:Fm N0CALL To W1AW-5 <I S0 R1 >[12:22:59]\rSH/DX\r\0"s) },
    };
    for (const TakeCase& c : cases) {
        expectOutcome(session, c);
    }
}

// Only the frames between the own call and the connected station are the link's: the node's traffic with
// others, and other stations', are monitored as before.
TEST_F(ConnectedAgwSession, framesOfOtherLinksAreMonitoredAsBefore)
{
    const std::string toK1abc = " 1:Fm W1AW-5 To K1ABC <I S0 R0 pid=0xF0 Len=35 P=0 >[12:22:58]\r";
    const std::string beacon = " 1:Fm W1AW-5 To BEACON <UI pid=F0 Len=5 >[12:22:58]\r";
    const std::vector<TakeCase> cases {
        { "the node's frame to another user", engineFrame('I', "W1AW-5", "K1ABC", toK1abc + Spot + "\r\r\0"s), {},
            false, { " 1:Fm W1AW-5 To K1ABC <I S0 R0 pid=0xF0 Len=35 P=0 >[12:22:58]\r\n" + Spot + "\r\n" } },
        { "the node's beacon", engineFrame('U', "W1AW-5", "BEACON", beacon + "hello\r\0"s), {}, false,
            { " 1:Fm W1AW-5 To BEACON <UI pid=F0 Len=5 >[12:22:58]\r\nhello\r\n" } },
        { "another station's frame to us",
            engineFrame('I', "K1ABC", "N0CALL", " 1:Fm K1ABC To N0CALL <I S0 R0 >[12:22:58]\rhi\r\0"s) },
    };
    for (const TakeCase& c : cases) {
        expectOutcome(session, c);
    }
}

struct SendCase
{
    const char* text;
    std::vector<std::string> requests;
};

TEST_F(ConnectedAgwSession, typedLinesGoToTheConnectedStation)
{
    const std::vector<SendCase> cases {
        { "SH/DX", { agwDataRequest("N0CALL", "W1AW-5", "SH/DX\r") } },
        { ":c k1abc", { agwConnectRequest("N0CALL", "K1ABC") } },
        { ":x", {} },
        { ":d", { agwDisconnectRequest("N0CALL", "W1AW-5") } },
    };
    for (const SendCase& c : cases) {
        const AgwSendOutcome sent = session.send(c.text);
        EXPECT_EQ(sent.requests, c.requests) << c.text;
        EXPECT_FALSE(sent.message) << c.text;
    }
    EXPECT_EQ(session.connectedStation(), "W1AW-5") << "only the engine's report ends the link";
    EXPECT_EQ(session.leaveStation(), agwDisconnectRequest("N0CALL", "W1AW-5"));
    EXPECT_EQ(session.connectedStation(), "");
    EXPECT_EQ(session.leaveStation(), std::nullopt);
}

TEST(AgwSession, whileMonitoringOnlyAConnectionRequestGoesOut)
{
    AgwSession session;
    session.setOwnCall("N0CALL");
    const std::vector<SendCase> cases {
        { "SH/DX", {} },
        { ":D", {} },
        { ":C  w1aw-5  ", { agwConnectRequest("N0CALL", "W1AW-5") } },
        { ":", {} },
    };
    for (const SendCase& c : cases) {
        const AgwSendOutcome sent = session.send(c.text);
        EXPECT_EQ(sent.requests, c.requests) << c.text;
        EXPECT_FALSE(sent.message) << c.text;
    }
    const AgwSendOutcome noCall = session.send(":c  ");
    EXPECT_TRUE(noCall.requests.empty());
    ASSERT_TRUE(noCall.message);
    EXPECT_EQ(noCall.message->text, "You must enter a call sign to connect to such as :C KORVA");
    EXPECT_EQ(noCall.message->title, "Call sign Required");
}

TEST(AgwSession, aLongTypedLineGoesAtTheNextBlank)
{
    const std::string seventy(70, 'x');
    struct Case
    {
        std::string field;
        std::optional<std::string> due;
    };
    const std::vector<Case> cases {
        { seventy + "y ", seventy + "y" },
        { seventy + " ", seventy },
        { seventy.substr(1) + " ", std::nullopt },
        { seventy + "yz", std::nullopt },
        { "", std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(agwLineDueAtBlank(c.field), c.due) << c.field.size();
    }
}

} // namespace
} // namespace brindle
