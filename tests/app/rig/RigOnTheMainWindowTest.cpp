// The rig on the main window: polled from the start when the default data names one, its frequency
// setting the band and the logged frequency (unless it is on no band at all), its window on Ctrl+R and the
// menu, its goodbye at close, and rigctld's going and coming back told on the message line.

#include "rig/RigInterface.h"

#include "app/log/StartedMainWindow.h"
#include "rig/RigProfile.h"
#include "serial/QtSerialPort.h"
#include "support/MapSettingsStore.h"
#include "support/PtyPair.h"
#include "support/RigSimulator.h"
#include "support/RigctldProcess.h"

#include <QAction>
#include <QMenuBar>
#include <QSignalSpy>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace brindle::test {
namespace {

class RigOnTheMainWindowTest : public StartedMainWindow
{
protected:
    DefaultData initialDefaults() const override
    {
        DefaultData defaults = StartedMainWindow::initialDefaults();
        defaults.rigName = "Ten Tec Pegasus";
        return defaults;
    }
    MainWindowKeyers keyers() override
    {
        rigStore.values[std::string(settingkeys::PegasusFolder)] = pegasus.path();
        writeRigFile("14.025,\"CW\"\r\n");
        RigSettings settings;
        applyProfile("Ten Tec Pegasus", settings);
        settings.useFrequency = true;
        settings.pollRate = "F";
        std::ofstream(folders.workingDir + "/RigCntrl.txt", std::ios::binary) << formatRigSettings(settings);

        MainWindowKeyers keyers;
        auto made = std::make_unique<RigInterface>(fs, folders.workingDir, dialogs, rigStore,
            [] { return std::make_unique<QtSerialPort>([](int) { return std::string("/nonexistent"); }); });
        rig = made.get();
        keyers.rig = std::move(made);
        return keyers;
    }
    void writeRigFile(std::string_view text) const
    {
        std::ofstream(pegasus.file("PEGASUS.OUT"), std::ios::binary) << text;
    }
    // The rig is turned to a frequency; true once the main window has followed.
    bool dialTo(std::string_view file, std::string_view frequencyText)
    {
        writeRigFile(file);
        return QTest::qWaitFor([&] { return form->operatingState().rigFrequencyText == frequencyText; }, 5000);
    }

    TempFolder pegasus;
    MapSettingsStore rigStore;
    RigInterface* rig = nullptr;
};

TEST_F(RigOnTheMainWindowTest, theBandAndTheLoggedFrequencyFollowTheDial)
{
    EXPECT_TRUE(rig->isPolling());
    ASSERT_TRUE(dialTo("14.025,\"CW\"\r\n", "14.025"));
    EXPECT_EQ(form->operatingState().currentBand, "20");

    ASSERT_TRUE(dialTo("7.0251,\"CW\"\r\n", "7.025"));
    EXPECT_EQ(form->operatingState().currentBand, "40");
    EXPECT_EQ(text("bandLabel"), QStringLiteral("40"));

    // Off the contest's bands the band stays, and the frequency is logged as it is.
    ASSERT_TRUE(dialTo("10.12,\"CW\"\r\n", "10.120"));
    EXPECT_EQ(form->operatingState().currentBand, "40");
    ASSERT_TRUE(dialTo("7.3001,\"CW\"\r\n", "7.300"));
    EXPECT_EQ(form->operatingState().currentBand, "40");
    ASSERT_TRUE(dialTo("28.5,\"USB\"\r\n", "28.500"));
    EXPECT_EQ(form->operatingState().currentBand, "10");
    // The rig's phone leaves the log's mode as the operator set it.
    EXPECT_EQ(form->defaultData().mode, "CW");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigOnTheMainWindowTest, aContactIsLoggedOnTheRigsFrequency)
{
    ASSERT_TRUE(dialTo("14.03,\"CW\"\r\n", "14.030"));
    startClock();
    typeCall("DL1ABC");
    leaveCall();
    field("sectionField")->setText(QStringLiteral("MA"));
    form->logContact();
    std::ifstream log(logPath(), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    const std::size_t line = content.find("DL1ABC");
    ASSERT_NE(line, std::string::npos) << content;
    EXPECT_NE(content.find("14.030", line), std::string::npos) << content.substr(line);
}

TEST_F(RigOnTheMainWindowTest, ctrlRAndTheMenuOpenTheRigWindow)
{
    QAction* item = form->findChild<QAction*>(QStringLiteral("rigInterfaceAction"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    QWidget* window = form->findChild<QWidget*>(QStringLiteral("RigInterfaceWindow"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    window->hide();

    field("callField")->setFocus();
    QTest::keyClick(field("callField"), Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(field("callField")->text(), QString()) << "the shortcut's letter must not reach the field";
    // The window's hiding leaves the poll running.
    window->hide();
    EXPECT_TRUE(rig->isPolling());
}

TEST_F(RigOnTheMainWindowTest, ctrlGOpensTheTuneWindowModally)
{
    QString opened;
    dialogs.onModal = [&](QDialog& dialog) {
        opened = dialog.objectName();
        dialog.accept();
    };
    field("callField")->setFocus();
    QTest::keyClick(field("callField"), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(opened, QStringLiteral("RigTuneDialog"));
    EXPECT_EQ(field("callField")->text(), QString());
}

TEST_F(RigOnTheMainWindowTest, closingTheProgramEndsThePoll)
{
    form->close();
    EXPECT_FALSE(rig->isPolling());
}

// The main window with a rig polled from the start, named by the default data and set up in the rig
// window's file.
class PolledRigOnTheMainWindow : public StartedMainWindow
{
protected:
    virtual RigSettings rigSettings() const = 0;
    virtual std::string portDevice() const
    {
        return "/nonexistent";
    }
    DefaultData initialDefaults() const override
    {
        DefaultData defaults = StartedMainWindow::initialDefaults();
        defaults.rigName = rigSettings().rigName;
        return defaults;
    }
    MainWindowKeyers keyers() override
    {
        std::ofstream(folders.workingDir + "/RigCntrl.txt", std::ios::binary) << formatRigSettings(rigSettings());
        MainWindowKeyers keyers;
        auto made = std::make_unique<RigInterface>(fs, folders.workingDir, dialogs, rigStore,
            [device = portDevice()] { return std::make_unique<QtSerialPort>([device](int) { return device; }); });
        rig = made.get();
        keyers.rig = std::move(made);
        return keyers;
    }
    RigSettings polledFast(std::string_view rigName) const
    {
        RigSettings settings;
        applyProfile(rigName, settings);
        settings.useFrequency = true;
        settings.pollRate = "F";
        return settings;
    }
    bool loggedFrequencyBecomes(std::string_view frequencyText)
    {
        return QTest::qWaitFor([&] { return form->operatingState().rigFrequencyText == frequencyText; }, 5000);
    }
    std::string logContent() const
    {
        std::ifstream log(logPath(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    }

    MapSettingsStore rigStore;
    RigInterface* rig = nullptr;
};

// A Kenwood on a serial line, simulated on the far end of a pseudo-terminal pair.
class KenwoodOnTheMainWindowTest : public PolledRigOnTheMainWindow
{
protected:
    RigSettings rigSettings() const override
    {
        return polledFast("Kenwood");
    }
    std::string portDevice() const override
    {
        return pty.near();
    }
    static std::string frequencyReply(long long hertz)
    {
        char reply[32];
        std::snprintf(reply, sizeof reply, "FA%011lld;", hertz);
        return reply;
    }

    TempFolder cable;
    PtyPair pty { cable.path() };
    RigSimulator radio { pty.far(), RigSimulator::Protocol::Kenwood };
};

TEST_F(KenwoodOnTheMainWindowTest, frequenciesOnNoBandLeaveTheBandAndTheLogAndAreSaidOnce)
{
    ASSERT_EQ(pty.failure(), "");
    ASSERT_EQ(radio.failure(), "");
    ASSERT_TRUE(rig->isPolling());
    QSignalSpy notices(rig, &RigControl::noticeForOperator);
    radio.setFrequencyHz(3'525'000);
    ASSERT_TRUE(loggedFrequencyBecomes("3.525"));
    ASSERT_EQ(form->operatingState().currentBand, "80");

    // Line noise or a damaged reply, read as 0 Hz, 688 kHz and 100 GHz, one after another.
    for (const long long noise : { 0LL, 688'000LL, 99'999'999'999LL }) {
        SCOPED_TRACE(noise);
        radio.setFrequencyHz(noise);
        const std::string reply = frequencyReply(noise);
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig->receiveBuffer().find(reply) != std::string::npos; }, 5000));
        EXPECT_EQ(form->operatingState().currentBand, "80");
        EXPECT_EQ(text("bandLabel"), QStringLiteral("80"));
        EXPECT_EQ(form->operatingState().rigFrequencyText, "3.525");
        EXPECT_FLOAT_EQ(rig->reading().freqMHz.value_or(0), 3.525f);
    }
    const QString told = QStringLiteral("The rig reported 0.000 MHz, which is on no amateur band: the band and the "
                                        "logged frequency stay as they were.");
    ASSERT_EQ(notices.size(), 1) << "said once, not at every poll";
    EXPECT_EQ(notices[0][0].toString(), told);
    EXPECT_EQ(text("messageLabel"), told);

    // A contact logged while the rig still sends nonsense is logged on the last good frequency.
    startClock();
    typeCall("DL1ABC");
    leaveCall();
    field("sectionField")->setText(QStringLiteral("MA"));
    form->logContact();
    const std::string log = logContent();
    const std::size_t line = log.find("DL1ABC");
    ASSERT_NE(line, std::string::npos) << log;
    const std::string record = log.substr(line, log.find('\n', line) - line);
    EXPECT_NE(record.find("3.525"), std::string::npos) << record;
    EXPECT_EQ(record.find("100000"), std::string::npos) << record;

    // A good frequency in between: the next nonsense is said again.
    radio.setFrequencyHz(7'025'000);
    ASSERT_TRUE(loggedFrequencyBecomes("7.025"));
    EXPECT_EQ(form->operatingState().currentBand, "40");
    radio.setFrequencyHz(688'000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notices.size() == 2; }, 5000));
    EXPECT_TRUE(text("messageLabel").startsWith(QStringLiteral("The rig reported 0.688 MHz")))
        << text("messageLabel").toStdString();
    EXPECT_EQ(form->operatingState().currentBand, "40");
    EXPECT_EQ(form->operatingState().rigFrequencyText, "7.025");
    EXPECT_TRUE(dialogs.shown.empty());
}

// Hamlib's rigctld with its dummy radio, on a loopback port.
class RigctldOnTheMainWindowTest : public PolledRigOnTheMainWindow
{
protected:
    RigSettings rigSettings() const override
    {
        RigSettings settings = polledFast(RigctldRigName);
        settings.rigctldAddress = where().toStdString();
        return settings;
    }
    QString where() const
    {
        return QStringLiteral("127.0.0.1:%1").arg(rigctld.port());
    }

    RigctldProcess rigctld;
};

TEST_F(RigctldOnTheMainWindowTest, rigctldGoneAndBackIsSaidOnTheMessageLineOnceEach)
{
    ASSERT_EQ(rigctld.failure(), "");
    ASSERT_TRUE(rig->isPolling());
    // The dummy radio starts on 145 MHz, in the 2 m band. Only from its first reading on is the
    // connection surely the one that stays: rigctld 4.5 may close a connection opened just as the
    // daemon's start-up check closed its own, which is then said and made again.
    ASSERT_TRUE(loggedFrequencyBecomes("145.000"));
    QSignalSpy notices(rig, &RigControl::noticeForOperator);
    ASSERT_EQ(rigctld.command("F 14025000\n"), "RPRT 0\n");
    ASSERT_TRUE(loggedFrequencyBecomes("14.025"));
    EXPECT_TRUE(notices.isEmpty());

    rigctld.stop();
    const QString gone = QStringLiteral("rigctld at %1 does not answer: ").arg(where());
    ASSERT_TRUE(QTest::qWaitFor([&] { return text("messageLabel").startsWith(gone); }, 5000))
        << text("messageLabel").toStdString();
    EXPECT_TRUE(text("messageLabel").endsWith(QStringLiteral(". Trying again every second.")));
    // Tried again: the connection is now refused, a new reason the link reports, and still not said again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig->linkStatus().contains(QStringLiteral("refused")); }, 5000))
        << rig->linkStatus().toStdString();
    EXPECT_EQ(notices.size(), 1);
    EXPECT_TRUE(rig->isPolling());

    rigctld.start();
    ASSERT_EQ(rigctld.failure(), "");
    const QString back = QStringLiteral("rigctld at %1 is connected again.").arg(where());
    ASSERT_TRUE(QTest::qWaitFor([&] { return text("messageLabel") == back; }, 5000))
        << text("messageLabel").toStdString();
    // What follows it depends on the daemon's start-up race above; the next word after its going is this.
    ASSERT_GE(notices.size(), 2);
    EXPECT_EQ(notices[1][0].toString(), back);
    ASSERT_EQ(rigctld.command("F 7025000\n"), "RPRT 0\n");
    ASSERT_TRUE(loggedFrequencyBecomes("7.025"));
    EXPECT_EQ(form->operatingState().currentBand, "40");
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace brindle::test
