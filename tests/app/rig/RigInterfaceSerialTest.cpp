// The rig interface over a real serial line to a simulated radio: what the main window is handed, the
// Yaesu's goodbye, and a cable pulled and put back while polling.

#include "rig/RigInterface.h"

#include "app/rig/RigOnTestPorts.h"
#include "rig/RigProfile.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace brindle::test {
namespace {

using Protocol = RigSimulator::Protocol;

TEST_F(RigOnSimulatedRadio, aKenwoodsDialAndModeReachTheMainWindow)
{
    switchOn(Protocol::Kenwood);
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
    QSignalSpy modes(&rig, &RigControl::modeReported);
    rig.applySettings(chosen("Kenwood"));
    ASSERT_TRUE(rig.startPolling());

    ASSERT_TRUE(reported(frequencies, 14.025f));
    EXPECT_EQ(modes.back()[0].toString(), QStringLiteral("CW"));
    radio->setFrequencyHz(7'150'000);
    radio->setMode(RigSimulator::Mode::Lsb);
    ASSERT_TRUE(reported(frequencies, 7.15f));
    ASSERT_TRUE(QTest::qWaitFor([&] { return modes.back()[0].toString() == QStringLiteral("PH"); }, 5000));
    // Both requests in each send tick, nothing else.
    for (const std::string& command : radio->commands()) {
        EXPECT_TRUE(command == "FA;" || command == "MD;") << command;
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigOnSimulatedRadio, aYaesuIsLetGoOfWhenTheProgramCloses)
{
    switchOn(Protocol::Yaesu);
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
    rig.applySettings(chosen("Yaesu"));
    ASSERT_TRUE(rig.startPolling());
    ASSERT_TRUE(reported(frequencies, 14.025f));

    rig.closeRig();
    EXPECT_FALSE(rig.isPolling());
    const std::string goodbye("\x00\x00\x00\x00\x80", 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return radio->hasReceived(goodbye); }, 5000));
    const std::string received = radio->received();
    EXPECT_EQ(received.substr(0, 5), std::string(5, '\0'));
    EXPECT_EQ(received.substr(received.size() - 5), goodbye);
}

TEST_F(RigOnSimulatedRadio, endTestSaysNoGoodbye)
{
    switchOn(Protocol::Yaesu);
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
    rig.applySettings(chosen("Yaesu"));
    ASSERT_TRUE(rig.startPolling());
    ASSERT_TRUE(reported(frequencies, 14.025f));
    rig.stopPolling();
    QTest::qWait(100);
    EXPECT_FALSE(radio->hasReceived(std::string("\x00\x00\x00\x00\x80", 5)));
}

TEST_F(RigOnSimulatedRadio, aSilentRadioLeavesTheLastReadingAndTheWindowFree)
{
    switchOn(Protocol::Kenwood);
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
    rig.applySettings(chosen("Kenwood"));
    ASSERT_TRUE(rig.startPolling());
    ASSERT_TRUE(reported(frequencies, 14.025f));

    radio->setSilent(true);
    radio->setFrequencyHz(21'025'000);
    QSignalSpy polled(&rig, &RigInterface::polled);
    QTest::qWait(300);
    EXPECT_TRUE(polled.isEmpty()) << "nothing came, so nothing was decoded";
    EXPECT_FLOAT_EQ(rig.reading().freqMHz.value_or(0), 14.025f);
    EXPECT_TRUE(rig.isPolling());

    radio->setSilent(false);
    ASSERT_TRUE(reported(frequencies, 21.025f));
}

TEST_F(RigOnSimulatedRadio, aPulledCableIsSaidOnceAndThePollGoesOnWhenItIsBack)
{
    switchOn(Protocol::Kenwood);
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
    QSignalSpy notices(&rig, &RigControl::noticeForOperator);
    rig.applySettings(chosen("Kenwood"));
    ASSERT_TRUE(rig.startPolling());
    ASSERT_TRUE(reported(frequencies, 14.025f));

    unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notices.isEmpty(); }, 5000));
    EXPECT_TRUE(notices.front()[0].toString().startsWith(QStringLiteral("The rig does not answer")))
        << notices.front()[0].toString().toStdString();
    QTest::qWait(1500);
    EXPECT_EQ(notices.size(), 1) << "tried again every second, but said once";
    EXPECT_TRUE(rig.isPolling());
    EXPECT_TRUE(dialogs.shown.empty()) << "no box in the middle of a pile-up";

    plugIn();
    switchOn(Protocol::Kenwood);
    radio->setFrequencyHz(28'500'000);
    ASSERT_TRUE(reported(frequencies, 28.5f));
    EXPECT_EQ(notices.back()[0].toString(), QStringLiteral("The rig's port is open again."));
}

TEST_F(RigOnSimulatedRadio, aFrequencyOnNoBandIsDroppedAndSaidOnceUntilAGoodOneCame)
{
    // The Icom is asked for frequency and mode in turn: a mode read between two bad frequencies is no
    // good frequency coming back.
    const struct
    {
        const char* rig;
        Protocol protocol;
        long long noise; // a frequency the family's reply can carry
    } cases[] = {
        { "Kenwood", Protocol::Kenwood, 99'999'999'999 },
        { "Icom", Protocol::Icom, 688'000 },
        { "Yaesu", Protocol::Yaesu, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rig);
        if (!pty) {
            plugIn();
        }
        switchOn(c.protocol);
        QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
        QSignalSpy notices(&rig, &RigControl::noticeForOperator);
        rig.applySettings(chosen(c.rig));
        ASSERT_TRUE(rig.startPolling());
        ASSERT_TRUE(reported(frequencies, 14.025f));

        radio->setFrequencyHz(c.noise);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !notices.isEmpty(); }, 5000));
        EXPECT_TRUE(notices.front()[0].toString().startsWith(QStringLiteral("The rig reported ")))
            << notices.front()[0].toString().toStdString();
        // Many more polls answered with the same nonsense.
        const std::size_t heard = radio->commands().size();
        ASSERT_TRUE(QTest::qWaitFor([&] { return radio->commands().size() >= heard + 12; }, 5000));
        EXPECT_EQ(notices.size(), 1) << "said once, not at every poll";
        EXPECT_FLOAT_EQ(rig.reading().freqMHz.value_or(0), 14.025f);
        for (const QList<QVariant>& report : frequencies) {
            EXPECT_FLOAT_EQ(report[0].toFloat(), 14.025f) << "only the good frequency reaches the main window";
        }

        radio->setFrequencyHz(7'025'000);
        ASSERT_TRUE(reported(frequencies, 7.025f));
        radio->setFrequencyHz(c.noise);
        ASSERT_TRUE(QTest::qWaitFor([&] { return notices.size() == 2; }, 5000)) << "after a good one, said again";
        EXPECT_FLOAT_EQ(rig.reading().freqMHz.value_or(0), 7.025f);
        EXPECT_TRUE(dialogs.shown.empty());

        rig.stopPolling();
        unplug();
    }
}

} // namespace
} // namespace brindle::test
