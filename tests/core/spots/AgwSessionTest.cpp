#include "spots/AgwSession.h"

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
    EXPECT_EQ(outcome.spotLine, c.spot) << c.what;
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
        EXPECT_FALSE(outcome.spotLine);
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
