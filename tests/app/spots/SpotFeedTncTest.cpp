// The spot feed on a packet TNC: a real serial port on one end of a pseudo-terminal pair, the test
// playing the TNC on the other.

#include "spots/SpotFeed.h"

#include "os/PosixFileSystem.h"
#include "serial/QtSerialPort.h"
#include "spots/MonitorText.h"
#include "support/PtyPair.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace brindle::test {
namespace {

constexpr int WaitMs = 5000;

const std::string W1aw = "DX de W1AW:      14025.0  Q9ZZZ        CQ                       1200Z\r\n";
const std::string K1abc = "DX de K1ABC:      7005.0  Q9YY         599                      1201Z\r\n";
const std::string Beacon = "K1ABC-7>BEACON: Hello from the hilltop\r\n";

std::string lowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

class SpotFeedTncTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(pty.failure(), "");
        device = pty.near();
        feed.settings().source = "TNC";
        feed.settings().commandChar = "03";
        QObject::connect(&feed, &SpotFeed::spotLine, [this](const std::string& line) { spots.push_back(line); });
    }

    void open()
    {
        feed.openConnection("N0CALL");
        ASSERT_TRUE(feed.isOpen());
        ASSERT_TRUE(feed.isPolling());
    }

    // The TNC sends the bytes and then a spot of the test's own. The stream keeps its order, so once that
    // spot is handed over the bytes before it have been through the poll: the spots they made are returned.
    std::vector<std::string> spotsFrom(const std::string& bytes)
    {
        const std::string marker = "DX de MARK-" + std::to_string(++m_markers) + ": the TNC's text ends here\r\n";
        const std::size_t before = spots.size();
        if (!pty.writeFar(bytes + marker)) {
            ADD_FAILURE() << "the TNC's end cannot be written";
            return {};
        }
        if (!QTest::qWaitFor([&] { return !spots.empty() && spots.back() == marker; }, WaitMs)) {
            ADD_FAILURE() << "the marker never came through; monitor:\n" << feed.monitorText();
            return {};
        }
        return { spots.begin() + static_cast<std::ptrdiff_t>(before), spots.end() - 1 };
    }

    // What the TNC has received from the feed, once it holds at least the expected text.
    std::string tncReceives(const std::string& expected)
    {
        std::string received;
        (void)QTest::qWaitFor(
            [&] {
                received += pty.takeFar();
                return received.size() >= expected.size();
            },
            WaitMs);
        return received;
    }

    TempFolder temp;
    PtyPair pty { temp.path() };
    std::string device;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    SpotFeed feed { fs, temp.path(), dialogs,
        [this] { return std::make_unique<QtSerialPort>([this](int) { return device; }); } };
    std::vector<std::string> spots;

private:
    int m_markers = 0;
};

TEST_F(SpotFeedTncTest, linesAreShownAndSpotsHandedOverUnlessTheyAreRepeats)
{
    struct Case
    {
        const char* what;
        bool dxOnly;
        std::string monitorBefore;
        std::string received;
        std::vector<std::string> spots;
        std::string shown;
    };
    const std::string ownLf = "DX de K2XX:       3505.0  Q9XX         LF alone                 1202Z\n";
    const std::string rbn = "DX de KM3T-2-#:  14025.0  Q9ZZZ        CW 24 dB 22 WPM CQ      1200Z\r\n";
    const std::vector<Case> cases {
        { "a line ended by CR LF", false, "", W1aw, { W1aw }, W1aw },
        { "a line ended by LF alone", false, "", ownLf, { ownLf }, ownLf },
        { "a skimmer's line", false, "", rbn, { rbn }, rbn },
        { "a spot in lower case", false, "", lowerAscii(K1abc), { lowerAscii(K1abc) }, lowerAscii(K1abc) },
        { "other traffic", false, "", Beacon, {}, Beacon },
        { "other traffic with DX only", true, "", Beacon, {}, "" },
        { "a spot with DX only", true, "", W1aw, { W1aw }, W1aw },
        { "two lines in one read", false, "", W1aw + Beacon + K1abc, { W1aw, K1abc }, W1aw + Beacon + K1abc },
        { "a repeat in the same read", false, "", W1aw + W1aw, { W1aw }, W1aw },
        { "a repeat just within the last 800 characters", false, W1aw + std::string(800 - W1aw.size(), '-'), W1aw, {},
            "" },
        { "a repeat in other case", false, lowerAscii(W1aw) + "73\r\n", W1aw, {}, "" },
        { "other traffic repeated", false, Beacon, Beacon, {}, "" },
        { "a line just beyond the last 800 characters", false, W1aw + std::string(801 - W1aw.size(), '-'), W1aw,
            { W1aw }, W1aw },
    };
    open();
    EXPECT_EQ(feed.monitorText(), "** Attempting to Open Port **\r\n\r\n** TNC Serial Port Open **\r\n\r\n");
    // The first line counts although no line feed came before it.
    EXPECT_EQ(spotsFrom(""), std::vector<std::string> {});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        feed.settings().dxOnly = c.dxOnly;
        feed.replaceMonitor(c.monitorBefore);
        const std::vector<std::string> handedOver = spotsFrom(c.received);
        EXPECT_EQ(handedOver, c.spots);
        const std::string& monitor = feed.monitorText();
        ASSERT_TRUE(monitor.starts_with(c.monitorBefore)) << monitor;
        // The marker follows what the case showed.
        const std::string added = monitor.substr(c.monitorBefore.size());
        EXPECT_EQ(added.substr(0, added.rfind("DX de MARK-")), c.shown);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SpotFeedTncTest, aLineWaitsForItsLineFeed)
{
    open();
    const std::string half = "DX de W1AW:      14025.0  Q9ZZZ  ";
    ASSERT_TRUE(pty.writeFar(half));
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.tncLines().text().ends_with(half); }, WaitMs));
    EXPECT_TRUE(spots.empty());
    EXPECT_EQ(feed.monitorText().find("W1AW"), std::string::npos);

    const std::string rest = "      CQ                       1200Z\r\n";
    EXPECT_EQ(spotsFrom(rest), std::vector<std::string> { half + rest });
}

TEST_F(SpotFeedTncTest, whatWasLeftUnfinishedIsForgottenWhenThePortOpensAgain)
{
    open();
    const std::string cut = "DX de W1AW:      14025.0  Q9Z";
    ASSERT_TRUE(pty.writeFar(cut));
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.tncLines().text().ends_with(cut); }, WaitMs));
    feed.closeConnection();
    ASSERT_FALSE(feed.isOpen());

    open();
    // Again the first line counts without a line feed before it, and nothing of the old one is glued to it.
    EXPECT_EQ(spotsFrom(K1abc), std::vector<std::string> { K1abc });
}

TEST_F(SpotFeedTncTest, aTncThatNeverEndsALineHoldsNoMoreThanTheBoundAndLaterLinesStillCount)
{
    open();
    // Noise of every byte value but the line feed, in pieces the pseudo-terminal takes at once, each
    // ending in a tag that tells when the poll has taken it.
    const int pieces = 48;
    std::string noise;
    for (int i = 0; i < 2000; ++i) {
        const char c = static_cast<char>(i % 256);
        noise += c == '\n' ? 'x' : c;
    }
    std::size_t largest = 0;
    for (int i = 0; i < pieces; ++i) {
        const std::string tag = "<piece " + std::to_string(i) + ">";
        ASSERT_TRUE(pty.writeFar(noise + tag));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                feed.pollSource(); // as the timer does, only sooner
                return feed.tncLines().text().ends_with(tag);
            },
            WaitMs))
            << "piece " << i;
        largest = std::max(largest, feed.tncLines().text().size());
    }
    EXPECT_GT(pieces * noise.size(), TncLineBuffer::TncBufferLimit);
    EXPECT_LE(largest, TncLineBuffer::TncBufferLimit);
    EXPECT_TRUE(spots.empty());

    // The line the noise was is dropped: its start is gone, so what is left of it is no line.
    EXPECT_EQ(spotsFrom("\r\n" + W1aw), std::vector<std::string> { W1aw });
    const std::string& monitor = feed.monitorText();
    EXPECT_LE(monitor.size(), MonitorLimit);
    EXPECT_EQ(monitor.find("<piece"), std::string::npos);
    EXPECT_NE(monitor.find(W1aw), std::string::npos);
}

TEST_F(SpotFeedTncTest, enterSendsTheLineWithACrAndEscTheCommandCharacter)
{
    open();
    feed.sendLine("SH/DX 5");
    EXPECT_EQ(tncReceives("SH/DX 5\r"), "SH/DX 5\r");

    EXPECT_TRUE(feed.sendTncCommandChar());
    EXPECT_EQ(tncReceives("\x03"), "\x03");
    feed.settings().commandChar = "1b";
    EXPECT_TRUE(feed.sendTncCommandChar());
    EXPECT_EQ(tncReceives("\x1b"), "\x1b");

    // A code that is no hexadecimal number sends nothing: the next line arrives alone.
    feed.settings().commandChar = "Ctrl+C";
    feed.sendTncCommandChar();
    feed.sendLine("CONV");
    EXPECT_EQ(tncReceives("CONV\r"), "CONV\r");
}

TEST_F(SpotFeedTncTest, aPortThatCannotBeOpenedIsExplainedAndTheConnectionClosed)
{
    struct Case
    {
        const char* what;
        bool deviceMissing;
        std::string speed;
    };
    const std::vector<Case> cases {
        { "no such device", true, "9600" },
        { "a speed no port has", false, "fast" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedDialogs boxes;
        SpotFeed refused { fs, temp.path(), boxes, [&] {
                              return std::make_unique<QtSerialPort>(
                                  [&](int) { return c.deviceMissing ? temp.file("no-such-device") : pty.near(); });
                          } };
        refused.settings().source = "TNC";
        refused.settings().speed = c.speed;
        QSignalSpy sourceRefused(&refused, &SpotFeed::sourceRefused);
        QSignalSpy openChanged(&refused, &SpotFeed::openChanged);

        refused.openConnection("N0CALL");
        EXPECT_EQ(boxes.beeps, 1);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Invalid Comm Settings."));
        EXPECT_TRUE(boxes.shown[0].text.startsWith(
            QStringLiteral("The comm port that you selected for DX Spotting is either in use, invalid or the settings "
                           "that you have selected are invalid.  Please select another combination or choose None "
                           "for your DX Spot selection.")))
            << boxes.shown[0].text.toStdString();
        EXPECT_EQ(sourceRefused.size(), 1);
        EXPECT_EQ(refused.monitorText(),
            "** Attempting to Open Port **\r\n\r\n** Unable to open TNC Serial Port **\r\n\r\n\r\n\r\n** Port Closed "
            "**");
        EXPECT_FALSE(refused.isOpen());
        EXPECT_FALSE(refused.isPolling());
        ASSERT_EQ(openChanged.size(), 2);
        EXPECT_TRUE(openChanged[0][0].toBool());
        EXPECT_FALSE(openChanged[1][0].toBool());
        EXPECT_FALSE(refused.sendTncCommandChar());
    }
}

} // namespace
} // namespace brindle::test
