#include "keying/WinKeyProtocol.h"

#include "support/ByteString.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

using test::bytes;

const std::string Resync = bytes({ 0x13, 0x13, 0x13 });
const std::string Echo = bytes({ 0x00, 0x04, 0x55 });
const std::string Open = bytes({ 0x00, 0x02 });

// An opening, the keyer answering with the given bytes (or nothing) after each step.
struct OpeningCase
{
    const char* what;
    std::optional<std::string> echoAnswer; // nothing: silence until the timeout
    std::optional<std::string> versionAnswer;
    WinKeyOpenOutcome outcome;
    std::string written;
    int version;
};

TEST(WinKeyOpening, EndsAsTheKeyerAnswersOrStaysSilent)
{
    const OpeningCase cases[] = {
        { "answers", bytes({ 0x55 }), bytes({ 23 }), WinKeyOpenOutcome::Success, Resync + Echo + Open, 23 },
        { "no echo", std::nullopt, std::nullopt, WinKeyOpenOutcome::NoEchoResponse, Resync + Echo, 0 },
        { "wrong echo", bytes({ 0x54 }), std::nullopt, WinKeyOpenOutcome::EchoMismatch, Resync + Echo, 0 },
        // A keyer left in host mode reports its status and speed pot whenever they change.
        { "status and pot before the echo", bytes({ 0xC4, 0x85, 0x55 }), bytes({ 0xC0, 23 }),
            WinKeyOpenOutcome::Success, Resync + Echo + Open, 23 },
        { "only status after the host open", bytes({ 0x55 }), bytes({ 0xC0 }), WinKeyOpenOutcome::NoOpenResponse,
            Resync + Echo + Open, 0 },
        { "no version", bytes({ 0x55 }), std::nullopt, WinKeyOpenOutcome::NoOpenResponse, Resync + Echo + Open, 0 },
        { "version 0", bytes({ 0x55 }), bytes({ 0 }), WinKeyOpenOutcome::NoOpenResponse, Resync + Echo + Open, 0 },
    };
    for (const OpeningCase& c : cases) {
        WinKeyProtocol keyer;
        std::int64_t now = 1000;
        keyer.beginOpen(now);
        std::string written = keyer.takeOutput();
        EXPECT_TRUE(keyer.isOpening()) << c.what;
        if (c.echoAnswer) {
            keyer.receive(*c.echoAnswer, now += 20);
            written += keyer.takeOutput();
            if (c.versionAnswer) {
                keyer.receive(*c.versionAnswer, now += 20);
            }
        }
        keyer.tick(now + WinKeyProtocol::AnswerTimeoutMs - 1);
        keyer.tick(now + WinKeyProtocol::AnswerTimeoutMs);
        written += keyer.takeOutput();
        EXPECT_EQ(keyer.openOutcome(), c.outcome) << c.what;
        EXPECT_EQ(written, c.written) << c.what;
        EXPECT_EQ(keyer.version(), c.version) << c.what;
        EXPECT_EQ(keyer.isOpen(), c.outcome == WinKeyOpenOutcome::Success) << c.what;
    }
}

WinKeyProtocol openKeyer()
{
    WinKeyProtocol keyer;
    keyer.beginOpen(0);
    keyer.receive(bytes({ 0x55 }), 1);
    keyer.receive(bytes({ 30 }), 2);
    (void)keyer.takeOutput();
    return keyer;
}

TEST(WinKeyOpening, ClosingOnceTheHostOpenIsWrittenEndsHostModeAndTheOpening)
{
    struct Case
    {
        const char* what;
        bool echoed;
        std::string written;
    } cases[] = {
        { "before the echo", false, "" },
        { "after the host open", true, bytes({ 0x00, 0x03 }) },
    };
    for (const Case& c : cases) {
        WinKeyProtocol keyer;
        keyer.beginOpen(0);
        if (c.echoed) {
            keyer.receive(bytes({ 0x55 }), 1);
        }
        (void)keyer.takeOutput();
        keyer.close();
        EXPECT_EQ(keyer.takeOutput(), c.written) << c.what;
        EXPECT_EQ(keyer.openOutcome(), WinKeyOpenOutcome::NotOpen) << c.what;
        EXPECT_FALSE(keyer.isOpening()) << c.what;
    }
}

TEST(WinKeyStatus, TheKeyerTakesNoCharactersWithXoffOrFromFiveOn)
{
    const std::pair<int, bool> cases[] = { { 0, false }, { 4, false }, { 1, true }, { 5, true }, { 6, true } };
    for (const auto& [status, refuses] : cases) {
        EXPECT_EQ(winKeyRefusesCharacters(status), refuses) << status;
    }
}

TEST(WinKeyOpening, AnOpenKeyerIsAlreadyOpenAndNothingIsSent)
{
    WinKeyProtocol keyer = openKeyer();
    keyer.beginOpen(10);
    EXPECT_EQ(keyer.openOutcome(), WinKeyOpenOutcome::AlreadyOpen);
    EXPECT_EQ(keyer.takeOutput(), "");
    EXPECT_TRUE(keyer.isOpen());
    EXPECT_EQ(keyer.version(), 30);
}

TEST(WinKeyOpening, APortThatFailsEndsTheOpeningWithItsOutcome)
{
    WinKeyProtocol keyer;
    keyer.beginOpen(0);
    keyer.failOpen(WinKeyOpenOutcome::ComOpenFailed);
    EXPECT_EQ(keyer.openOutcome(), WinKeyOpenOutcome::ComOpenFailed);
    EXPECT_EQ(keyer.takeOutput(), "") << "nothing goes to a port that is not there";
    EXPECT_EQ(winKeyOpenText(WinKeyOpenOutcome::ComOpenFailed), "Com Open Failed");
    EXPECT_EQ(winKeyOpenText(WinKeyOpenOutcome::Success), "WK Success!");
}

TEST(WinKeyCommands, AreTheKeyersRegisterBytesAndOnlyWrittenWhileOpen)
{
    WinKeyProtocol closed;
    closed.setSpeed(25);
    closed.clearBuffer();
    closed.sendCharacter('E');
    EXPECT_EQ(closed.takeOutput(), "");

    WinKeyProtocol keyer = openKeyer();
    keyer.setSpeed(25);
    keyer.setWeight(50);
    keyer.setLeadInAndTail(1, 2);
    keyer.setRatio(50);
    keyer.setPinConfiguration(6);
    keyer.setMode(16);
    keyer.clearBuffer();
    keyer.backspace();
    keyer.requestStatus();
    for (char c : std::string_view("CQ\n\x01\xC4!")) {
        keyer.sendCharacter(c);
    }
    EXPECT_EQ(keyer.takeOutput(),
        bytes({ 0x02, 25, 0x03, 50, 0x04, 1, 2, 0x17, 50, 0x09, 6, 0x0E, 16, 0x0A, 0x08, 0x15 }) + "CQ!");
    keyer.close();
    EXPECT_EQ(keyer.takeOutput(), bytes({ 0x00, 0x03 }));
    EXPECT_FALSE(keyer.isOpen());
    EXPECT_EQ(keyer.version(), 0);
}

TEST(WinKeyBytes, StatusPotAndEchoesAreToldApartWhateverArrives)
{
    WinKeyProtocol keyer = openKeyer();
    // Busy with XOFF, a pot value, echoes, paddle break-in, then idle.
    keyer.receive(bytes({ 0xC5, 0x80 | 22, 'C', 'Q', 0xC6 }), 10);
    EXPECT_EQ(keyer.status(), 6);
    EXPECT_EQ(keyer.speedPot(), 22);
    EXPECT_EQ(keyer.takeEchoes(), "CQ");
    keyer.receive(bytes({ 0xC0 }), 11);
    EXPECT_EQ(keyer.status(), 0);
    EXPECT_EQ(keyer.takeEchoes(), "");

    // Garbage for a long time never grows the echoes without end.
    keyer.receive(std::string(100000, 'x'), 12);
    EXPECT_LE(keyer.takeEchoes().size(), 4096u);
}

} // namespace
} // namespace brindle
