// Frequency and mode changes on the wire: each family's bytes in their order, the pauses between them as
// the radio sees them, the poll held out of a change, and the window free while a change waits.

#include "rig/RigInterface.h"

#include "app/rig/RigOnTestPorts.h"
#include "rig/RigProfile.h"
#include "support/ByteString.h"
#include "support/RigctldProcess.h"

#include <QLineEdit>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace brindle::test {
namespace {

using namespace std::chrono_literals;
using Protocol = RigSimulator::Protocol;

class RigChangeTest : public RigOnSimulatedRadio
{
protected:
    void SetUp() override
    {
        RigOnSimulatedRadio::SetUp();
        std::filesystem::copy_file(std::string(BRINDLE_DATA_DIR) + "/BandPlan.txt", temp.file("BandPlan.txt"));
    }
    // Polls the rig, once the radio has answered, with what the radio heard so far forgotten.
    void poll(const char* rigName, Protocol protocol)
    {
        switchOn(protocol);
        QSignalSpy polled(&rig, &RigInterface::polled);
        rig.applySettings(chosen(rigName));
        rig.loadSettings();
        ASSERT_TRUE(rig.startPolling());
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz.has_value(); }, 5000));
        (void)radio->takeReceived();
    }
    // Polls the radio behind rigctld, once it has told its frequency.
    void pollThrough(const RigctldProcess& rigctld)
    {
        RigSettings settings = chosen("Hamlib rigctld");
        settings.rigctldAddress = "127.0.0.1:" + std::to_string(rigctld.port());
        rig.applySettings(settings);
        rig.loadSettings();
        ASSERT_TRUE(rig.startPolling());
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz.has_value(); }, 5000));
    }
    // The change has ended and its last bytes have reached the radio.
    bool changed(const std::string& last)
    {
        return QTest::qWaitFor([&] { return !rig.isChanging() && radio->hasReceived(last); }, 5000);
    }
    bool changed()
    {
        return QTest::qWaitFor([&] { return !rig.isChanging(); }, 5000);
    }
    // When the radio had the whole of these bytes; the first time they arrived after `from`.
    std::optional<SerialDeviceEnd::Clock::time_point> arrivalOf(const std::string& bytes, std::size_t from = 0) const
    {
        std::string stream;
        for (const RigSimulator::Arrival& arrival : radio->arrivals()) {
            stream += arrival.bytes;
            const std::size_t at = stream.find(bytes, from);
            if (at != std::string::npos) {
                return arrival.at;
            }
        }
        return std::nullopt;
    }
};

struct ChangeCase
{
    const char* rig;
    Protocol protocol;
    Hertz to;
    std::string mode; // the mode command the band plan's mode makes
    std::string frequency;
    std::chrono::milliseconds pause; // before the frequency command
};

void PrintTo(const ChangeCase& c, std::ostream* out)
{
    *out << c.rig;
}

class FamilyChangeTest : public RigChangeTest, public ::testing::WithParamInterface<ChangeCase>
{
};

TEST_P(FamilyChangeTest, theModeThenTheFrequencyReachTheRadioApartAndThePollGoesOn)
{
    const ChangeCase& c = GetParam();
    poll(c.rig, c.protocol);
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);

    rig.changeFrequency(c.to);
    ASSERT_TRUE(rig.isChanging());
    ASSERT_TRUE(changed(c.frequency));

    const std::string heard = radio->received();
    const std::size_t mode = heard.find(c.mode);
    ASSERT_NE(mode, std::string::npos) << hexText(heard);
    // Nothing of the poll's between the two commands.
    EXPECT_EQ(heard.substr(mode, c.mode.size() + c.frequency.size()), c.mode + c.frequency) << hexText(heard);
    const auto modeAt = arrivalOf(c.mode);
    const auto frequencyAt = arrivalOf(c.frequency);
    ASSERT_TRUE(modeAt && frequencyAt);
    // The radio's reading thread looks every 2 ms, so an arrival is noted up to that late.
    EXPECT_GE(*frequencyAt - *modeAt, c.pause - 2ms);
    EXPECT_EQ(radio->frequencyHz(), c.to);

    // The poll reads the new frequency.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !frequencies.isEmpty() && std::abs(frequencies.back()[0].toDouble() * 1e6 - c.to) < 5; }, 5000));
    EXPECT_TRUE(dialogs.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyChangeTest,
    ::testing::Values(ChangeCase { "Kenwood", Protocol::Kenwood, 7'025'000, "MD3;", "FA00007025000;", 205ms },
        ChangeCase { "Elecraft", Protocol::Kenwood, 14'200'000, "MD2;", "FA00014200000;", 1205ms },
        ChangeCase { "Icom", Protocol::Icom, 7'025'000, bytes({ 0xFE, 0xFE, 0x64, 0xE0, 0x06, 0x03, 0xFD }),
            bytes({ 0xFE, 0xFE, 0x64, 0xE0, 0x05, 0x00, 0x50, 0x02, 0x07, 0x00, 0xFD }), 140ms },
        ChangeCase { "Yaesu", Protocol::Yaesu, 7'150'000, bytes({ 0x00, 0x00, 0x00, 0x00, 0x07 }),
            bytes({ 0x00, 0x71, 0x50, 0x00, 0x01 }), 205ms }),
    [](const auto& info) { return std::string(info.param.rig); });

TEST_F(RigChangeTest, aKeyTypedWhileTheElecraftWaitsIsHandledAtOnce)
{
    poll("Elecraft", Protocol::Kenwood);
    QLineEdit field;
    field.show();
    rig.changeFrequency(14'025'000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return radio->hasReceived("MD3;"); }, 5000));
    QTest::keyClicks(&field, QStringLiteral("DL1ABC"));
    EXPECT_EQ(field.text(), QStringLiteral("DL1ABC"));
    EXPECT_TRUE(rig.isChanging()) << "the keys were taken in the middle of the change";
    EXPECT_FALSE(radio->hasReceived("FA00014025000;"));
    ASSERT_TRUE(changed("FA00014025000;"));
}

TEST_F(RigChangeTest, aChangeAskedForMeanwhileWaitsAndOnlyTheLastOfThoseWaitingIsMade)
{
    poll("Kenwood", Protocol::Kenwood);
    rig.changeFrequency(7'025'000);
    rig.changeFrequency(21'025'000);
    rig.changeFrequency(14'200'000);
    ASSERT_TRUE(changed("FA00014200000;"));
    const std::string heard = radio->received();
    EXPECT_NE(heard.find("MD3;FA00007025000;"), std::string::npos) << heard;
    EXPECT_EQ(heard.find("FA00021025000;"), std::string::npos) << heard;
    EXPECT_NE(heard.find("MD2;FA00014200000;"), std::string::npos) << heard;
    EXPECT_EQ(radio->frequencyHz(), 14'200'000);
    EXPECT_TRUE(rig.isPolling());
}

TEST_F(RigChangeTest, withoutAPollNothingIsSentAndNothingSaid)
{
    switchOn(Protocol::Kenwood);
    rig.applySettings(chosen("Kenwood"));
    rig.changeFrequency(14'025'000);
    EXPECT_FALSE(rig.isChanging());
    QTest::qWait(100);
    EXPECT_EQ(radio->received(), "");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigChangeTest, aModeAloneHoldsThePollAndOn160NoModeIsSent)
{
    poll("Kenwood", Protocol::Kenwood);
    rig.changeMode(0, "USB");
    ASSERT_TRUE(changed("MD2;"));
    EXPECT_EQ(radio->mode(), RigSimulator::Mode::Usb);
    EXPECT_TRUE(rig.isPolling());

    (void)radio->takeReceived();
    rig.changeFrequency(1'830'000);
    ASSERT_TRUE(changed("FA00001830000;"));
    const std::string heard = radio->received();
    EXPECT_NE(heard.find("FA00001830000;"), std::string::npos) << heard;
    EXPECT_EQ(heard.find("MD"), heard.find("MD;")) << "no mode command on 160 m: " << heard;
}

TEST_F(RigChangeTest, aPulledCableEndsTheChangeWithTheOperatorToldAndThePollGoesOnToFindThePortAgain)
{
    poll("Elecraft", Protocol::Kenwood);
    QSignalSpy polling(&rig, &RigInterface::pollingChanged);
    rig.changeFrequency(14'025'000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return radio->hasReceived("MD3;"); }, 5000));
    unplug();
    ASSERT_TRUE(changed());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Error Changing Frequency"));
    EXPECT_FALSE(dialogs.shown[0].text.isEmpty());
    // The operator never pressed End Test.
    EXPECT_TRUE(rig.isPolling());
    EXPECT_TRUE(polling.isEmpty());

    plugIn();
    switchOn(Protocol::Kenwood);
    radio->setFrequencyHz(21'025'000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz == 21.025f; }, 5000));
}

TEST_F(RigChangeTest, aChangeWhileTheCableIsOutIsRefusedAndPollingResumesOnceItIsBack)
{
    poll("Kenwood", Protocol::Kenwood);
    QSignalSpy notices(&rig, &RigControl::noticeForOperator);
    unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notices.isEmpty(); }, 5000));

    rig.changeFrequency(7'025'000);
    ASSERT_TRUE(changed());
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Error Changing Mode"));
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("Error Changing Frequency"));
    EXPECT_TRUE(rig.isPolling());

    plugIn();
    switchOn(Protocol::Kenwood);
    radio->setFrequencyHz(28'025'000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return radio->hasReceived("FA;"); }, 5000)) << "asked again";
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz == 28.025f; }, 5000));
    EXPECT_EQ(notices.back()[0].toString(), QStringLiteral("The rig's port is open again."));
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(RigChangeTest, aChangeWhileRigctldIsAwayIsRefusedAndPollingResumesOnceItIsBack)
{
    RigctldProcess rigctld;
    ASSERT_EQ(rigctld.failure(), "");
    pollThrough(rigctld);

    rigctld.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.linkStatus().contains(QStringLiteral("trying again")); }, 5000));
    rig.changeFrequency(14'074'000);
    ASSERT_TRUE(changed());
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Error Changing Mode"));
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("Error Changing Frequency"));
    EXPECT_TRUE(rig.isPolling());

    rigctld.start();
    ASSERT_EQ(rigctld.failure(), "");
    ASSERT_EQ(rigctld.command("F 21025000\n"), "RPRT 0\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz == 21.025f; }, 5000));
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(RigChangeTest, aModeThatCannotBeSentIsReportedWithTheMode)
{
    rig.applySettings(chosen("Kenwood"));
    rig.changeMode(0, "CW");
    ASSERT_TRUE(changed());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Error Changing Mode"));
    EXPECT_TRUE(dialogs.shown[0].text.endsWith(QStringLiteral(" CW"))) << dialogs.shown[0].text.toStdString();
}

TEST_F(RigChangeTest, thePegasusProgramIsToldInItsFile)
{
    writePegasusFile("14.025,\"CW\"\r\n");
    rig.applySettings(chosen("Ten Tec Pegasus"));
    rig.loadSettings();
    ASSERT_TRUE(rig.startPolling());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz.has_value(); }, 5000));
    rig.changeFrequency(7'025'000);
    ASSERT_TRUE(changed());
    std::ifstream file(temp.file("PEGASUS.IN"), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "7.025\r\nCW\r\n");
    EXPECT_TRUE(rig.isPolling());
}

TEST_F(RigChangeTest, rigctldSetsTheRadioBehindIt)
{
    RigctldProcess rigctld;
    ASSERT_EQ(rigctld.failure(), "");
    pollThrough(rigctld);

    rig.changeFrequency(14'074'000);
    ASSERT_TRUE(changed());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rigctld.command("f\n").startsWith("14074000"); }, 5000));
    EXPECT_TRUE(rigctld.command("m\n").startsWith("CW\n"));
    rig.changeMode(0, "LSB");
    ASSERT_TRUE(changed());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rigctld.command("m\n").startsWith("LSB\n"); }, 5000));
    // The poll reads the daemon's radio again, its confirmations taken for what they are.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.reading().mode == "PH"; }, 5000));
    EXPECT_FLOAT_EQ(rig.reading().freqMHz.value_or(0), 14.074f);
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace brindle::test
