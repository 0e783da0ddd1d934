// The rig interface: starting and ending a poll, what each read hands on, and the rigs that are read
// without a serial port (the Pegasus control program's file, Hamlib's rigctld).

#include "rig/RigInterface.h"

#include "app/rig/RigOnTestPorts.h"
#include "rig/RigProfile.h"
#include "support/RigctldProcess.h"

#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace brindle::test {
namespace {

class RigInterfaceTest : public ::testing::Test, public RigOnTestPorts
{
protected:
    QTimer* pollTimer()
    {
        return rig.findChild<QTimer*>(QStringLiteral("rigPollTimer"));
    }
};

TEST_F(RigInterfaceTest, aPortThatCannotBeOpenedIsReportedAndNothingPolls)
{
    QSignalSpy refused(&rig, &RigInterface::rigPortRefused);
    rig.applySettings(chosen("Kenwood"));

    EXPECT_FALSE(rig.startPolling());

    EXPECT_FALSE(rig.isPolling());
    EXPECT_EQ(refused.size(), 1);
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Invalid Comm Settings."));
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral(
        "The comm port that you selected for rig interface is either in use, invalid or the settings that you have "
        "selected are invalid.  Please select another combination or choose None for your rig selection.")));
    // The operator learns which device and why.
    EXPECT_TRUE(dialogs.shown[0].text.contains(QString::fromStdString(device))) << dialogs.shown[0].text.toStdString();
    EXPECT_EQ(dialogs.shown[0].icon, OperatorDialogs::Icon::Information);
}

TEST_F(RigInterfaceTest, noRigPollsNothingAndIsNoFailure)
{
    rig.applySettings(chosen("None"));
    EXPECT_TRUE(rig.startPolling());
    EXPECT_FALSE(rig.isPolling());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigInterfaceTest, theTimerRunsAtHalfTheChosenRate)
{
    writePegasusFile("14.025,\"CW\"\r\n");
    for (const auto& [rate, intervalMs] : std::vector<std::pair<std::string, int>> {
             { "F", 50 }, { "M", 250 }, { "S", 1000 }, { "R", 5000 }, { "X", 250 } }) {
        RigSettings settings = chosen("Ten Tec Pegasus");
        settings.pollRate = rate;
        rig.applySettings(settings);
        ASSERT_TRUE(rig.startPolling());
        EXPECT_EQ(pollTimer()->interval(), intervalMs) << rate;
        rig.stopPolling();
        EXPECT_FALSE(rig.isPolling());
    }
}

struct ReadCase
{
    const char* name;
    const char* file;
    bool useFrequency;
    ModeBy modeBy;
    std::optional<float> reported; // frequencyReported
    std::optional<const char*> mode; // modeReported
};

void PrintTo(const ReadCase& c, std::ostream* out)
{
    *out << c.name;
}

class RigReadTest : public RigInterfaceTest, public ::testing::WithParamInterface<ReadCase>
{
};

// The Pegasus control program's file stands for any reply here: it is read at every read tick, with no
// port in between.
TEST_P(RigReadTest, eachReadHandsOnWhatTheOperatorChose)
{
    const ReadCase& c = GetParam();
    if (c.file) {
        writePegasusFile(c.file);
    }
    RigSettings settings = chosen("Ten Tec Pegasus", c.useFrequency);
    settings.modeBy = c.modeBy;
    rig.applySettings(settings);
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
    QSignalSpy modes(&rig, &RigControl::modeReported);
    QSignalSpy polled(&rig, &RigInterface::polled);

    ASSERT_TRUE(rig.startPolling());
    ASSERT_TRUE(QTest::qWaitFor([&] { return polled.size() >= 2; }, 5000));
    rig.stopPolling();

    if (c.reported) {
        ASSERT_GE(frequencies.size(), 2);
        EXPECT_FLOAT_EQ(frequencies.back()[0].toFloat(), *c.reported);
    } else {
        EXPECT_TRUE(frequencies.isEmpty());
    }
    if (c.mode) {
        ASSERT_GE(modes.size(), 2);
        EXPECT_EQ(modes.back()[0].toString(), QString::fromLatin1(*c.mode));
    } else {
        EXPECT_TRUE(modes.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Pegasus, RigReadTest,
    ::testing::Values(
        ReadCase { "frequency and the rig's mode", "14.025,\"CW\"\r\n", true, ModeBy::Rig, 14.025f, "CW" },
        ReadCase { "no frequency unless used", "14.025,\"CW\"\r\n", false, ModeBy::Rig, {}, "CW" },
        ReadCase { "mode by frequency", "14.2,\"CW\"\r\n", true, ModeBy::Frequency, 14.2f, "PH" },
        // 160 m has no mode of its own: the rig's stays.
        ReadCase { "mode by frequency off the plan", "1.83,\"CW\"\r\n", true, ModeBy::Frequency, 1.83f, "CW" },
        ReadCase { "mode not used", "14.025,\"CW\"\r\n", true, ModeBy::Ignore, 14.025f, {} },
        // A rig that has not told its frequency leaves the band and the logged frequency alone.
        ReadCase { "no frequency read yet", "abc,\"CW\"\r\n", true, ModeBy::Rig, {}, "" },
        ReadCase { "no file yet", nullptr, true, ModeBy::Rig, {}, "" }),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST_F(RigInterfaceTest, pegasusReadsFollowTheFileAndTheChosenFolder)
{
    writePegasusFile("7.025,\"CW\"\r\n");
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
    rig.applySettings(chosen("Ten Tec Pegasus"));
    ASSERT_TRUE(rig.startPolling());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frequencies.isEmpty(); }, 5000));
    EXPECT_FLOAT_EQ(frequencies.back()[0].toFloat(), 7.025f);

    writePegasusFile("21.3,\"USB\"\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::abs(frequencies.back()[0].toFloat() - 21.3f) < 1e-4f; }, 5000));
    EXPECT_EQ(rig.reading().mode, "PH");
    EXPECT_EQ(rig.receiveBuffer(), "21.3,\"USB\"\r\n");

    // Another folder holds no file: the last reading stays.
    TempFolder elsewhere;
    rig.setPegasusFolder(elsewhere.path());
    EXPECT_EQ(rig.pegasusFolder(), elsewhere.path());
    frequencies.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frequencies.size() >= 2; }, 5000));
    EXPECT_FLOAT_EQ(frequencies.back()[0].toFloat(), 21.3f);
    EXPECT_EQ(rig.receiveBuffer(), "");
}

TEST(RigInterfacePegasusFolder, isInTheHomeFolderUntilChosen)
{
    RigOnTestPorts rig;
    rig.store.values.clear();
    EXPECT_EQ(rig.rig.pegasusFolder(), QDir::homePath().toStdString() + "/Pegasus");
}

TEST_F(RigInterfaceTest, startUpPollsTheRigOfTheSettingsFileWhenTheDefaultDataNamesOne)
{
    writePegasusFile("14.025,\"CW\"\r\n");
    RigSettings file = chosen("Ten Tec Pegasus");
    std::ofstream(temp.file("RigCntrl.txt"), std::ios::binary) << formatRigSettings(file);

    rig.startUp("None");
    EXPECT_FALSE(rig.isPolling());
    rig.startUp(" none ");
    EXPECT_FALSE(rig.isPolling());

    // The default data only says that there is a rig; the file says which.
    rig.startUp("kenwood");
    EXPECT_TRUE(rig.isPolling());
    EXPECT_EQ(rig.settings().rigName, "Ten Tec Pegasus");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigInterfaceTest, theSettingsAreReadOnceAndWrittenWhole)
{
    RigSettings file = chosen("Icom");
    file.port = 4;
    std::ofstream(temp.file("RigCntrl.txt"), std::ios::binary) << formatRigSettings(file);
    rig.loadSettings();
    EXPECT_EQ(rig.settings(), file);

    RigSettings changed = file;
    changed.frequencyPoll = "FE FE 5C E0 03 FD";
    rig.applySettings(changed);
    rig.loadSettings(); // what the window holds is not read over again
    EXPECT_EQ(rig.settings(), changed);
    ASSERT_TRUE(rig.saveSettings());
    RigOnTestPorts reread;
    std::filesystem::copy_file(temp.file("RigCntrl.txt"), reread.temp.file("RigCntrl.txt"));
    reread.rig.loadSettings();
    EXPECT_EQ(reread.rig.settings(), changed);
}

TEST_F(RigInterfaceTest, aDamagedSettingsFileKeepsWhatItCannotTell)
{
    std::ofstream(temp.file("RigCntrl.txt"), std::ios::binary) << "\"4800 \"\r\n\"E\"\r\ngarbage\r\n";
    rig.loadSettings();
    EXPECT_EQ(rig.settings().baud, "4800");
    EXPECT_EQ(rig.settings().parity, "E");
    EXPECT_EQ(rig.settings().rigName, "None");
    EXPECT_EQ(rig.settings().pollRate, "M");
}

// What the operator was told, one notice a line.
std::string noticesText(const QSignalSpy& notices)
{
    std::string text;
    for (const QList<QVariant>& notice : notices) {
        text += notice[0].toString().toStdString() + "\n";
    }
    return text;
}

class RigctldRigTest : public RigInterfaceTest
{
protected:
    RigSettings rigctldAt(int port)
    {
        RigSettings settings = chosen("Hamlib rigctld");
        settings.rigctldAddress = "127.0.0.1:" + std::to_string(port);
        return settings;
    }
    RigctldProcess rigctld;
};

TEST_F(RigctldRigTest, theRadioBehindRigctldSetsTheBandLikeAnyOther)
{
    ASSERT_EQ(rigctld.failure(), "");
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
    QSignalSpy modes(&rig, &RigControl::modeReported);
    rig.applySettings(rigctldAt(rigctld.port()));
    ASSERT_TRUE(rig.startPolling());
    EXPECT_TRUE(rig.linkStatus().contains(QStringLiteral("rigctld")));

    ASSERT_EQ(rigctld.command("F 14025000\nM CW 500\n"), "RPRT 0\nRPRT 0\n");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !frequencies.isEmpty() && std::abs(frequencies.back()[0].toFloat() - 14.025f) < 1e-4f; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !modes.isEmpty() && modes.back()[0].toString() == "CW"; }, 5000));
    EXPECT_EQ(rig.linkStatus(), QStringLiteral("Connected to rigctld at 127.0.0.1:%1").arg(rigctld.port()));

    ASSERT_EQ(rigctld.command("F 7150000\nM LSB 2400\n"), "RPRT 0\nRPRT 0\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return modes.back()[0].toString() == "PH"; }, 5000));
    EXPECT_FLOAT_EQ(frequencies.back()[0].toFloat(), 7.15f);

    rig.stopPolling();
    EXPECT_TRUE(rig.linkStatus().isEmpty());
}

TEST_F(RigctldRigTest, anAddressThatIsNoneIsRefusedLikeABadPort)
{
    QSignalSpy refused(&rig, &RigInterface::rigPortRefused);
    RigSettings settings = chosen("Hamlib rigctld");
    settings.rigctldAddress = "localhost";
    rig.applySettings(settings);
    EXPECT_FALSE(rig.startPolling());
    EXPECT_FALSE(rig.isPolling());
    EXPECT_EQ(refused.size(), 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Invalid Comm Settings."));
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("127.0.0.1:4532")));
}

TEST_F(RigctldRigTest, anAbsentDaemonIsPolledForWithoutStoppingAnything)
{
    rigctld.stop();
    rig.applySettings(rigctldAt(rigctld.port()));
    ASSERT_TRUE(rig.startPolling());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.linkStatus().contains(QStringLiteral("trying again")); }, 5000));
    EXPECT_TRUE(rig.isPolling());

    rigctld.start();
    ASSERT_EQ(rigctld.failure(), "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz.has_value(); }, 5000));
    EXPECT_FLOAT_EQ(*rig.reading().freqMHz, 145.0f);
}

TEST_F(RigctldRigTest, aFrequencyOnNoBandFromRigctldIsDroppedAndSaidOnce)
{
    ASSERT_EQ(rigctld.failure(), "");
    QSignalSpy frequencies(&rig, &RigControl::frequencyReported);
    rig.applySettings(rigctldAt(rigctld.port()));
    ASSERT_TRUE(rig.startPolling());
    // The dummy radio starts on 145 MHz, in the 2 m band. Only from its first reading on is the
    // connection surely the one that stays: rigctld 4.5 may close a connection opened just as the
    // daemon's start-up check closed its own, which is then said and made again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz == 145.0f; }, 5000));
    QSignalSpy notices(&rig, &RigControl::noticeForOperator);
    ASSERT_EQ(rigctld.command("F 14025000\n"), "RPRT 0\n");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !frequencies.isEmpty() && std::abs(frequencies.back()[0].toFloat() - 14.025f) < 1e-4f; }, 5000));

    // The dummy radio takes any frequency, as a damaged radio or a wrong backend may report one.
    for (const std::string noise : { "0", "688000", "100000000000" }) {
        SCOPED_TRACE(noise);
        ASSERT_EQ(rigctld.command(QByteArray::fromStdString("F " + noise + "\n")), "RPRT 0\n");
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.receiveBuffer().starts_with(noise + " Hz"); }, 5000))
            << rig.receiveBuffer();
        EXPECT_FLOAT_EQ(rig.reading().freqMHz.value_or(0), 14.025f);
        EXPECT_FLOAT_EQ(frequencies.back()[0].toFloat(), 14.025f);
    }
    ASSERT_EQ(notices.size(), 1) << noticesText(notices);
    EXPECT_EQ(notices[0][0].toString(),
        QStringLiteral("The rig reported 0.000 MHz, which is on no amateur band: the band and the logged frequency "
                       "stay as they were."));

    ASSERT_EQ(rigctld.command("F 10120000\n"), "RPRT 0\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz == 10.12f; }, 5000)) << "30 m is a band";
    ASSERT_EQ(rigctld.command("F 100000000000\n"), "RPRT 0\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return notices.size() == 2; }, 5000));
    EXPECT_TRUE(notices[1][0].toString().startsWith(QStringLiteral("The rig reported 100000.000 MHz")))
        << notices[1][0].toString().toStdString();
    EXPECT_FLOAT_EQ(rig.reading().freqMHz.value_or(0), 10.12f);
}

} // namespace
} // namespace brindle::test
