// The rig on the main window: polled from the start when the default data names one, its frequency
// setting the band and the logged frequency, its window on Ctrl+R and the menu, and its goodbye at close.

#include "rig/RigInterface.h"

#include "app/log/StartedMainWindow.h"
#include "rig/RigProfile.h"
#include "serial/QtSerialPort.h"
#include "support/MapSettingsStore.h"

#include <QAction>
#include <QMenuBar>

#include <fstream>

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

} // namespace
} // namespace brindle::test
