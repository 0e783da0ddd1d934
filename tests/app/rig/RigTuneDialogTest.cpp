// The tune window and the command test window, driving a polled Kenwood on a real serial line.

#include "rig/RigTuneDialog.h"
#include "rig/FrequencyTestDialog.h"
#include "rig/RigInterfaceWindow.h"

#include "app/rig/RigOnTestPorts.h"
#include "rig/RigTuning.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace brindle::test {
namespace {

class RigWindowsOnAKenwood : public RigOnSimulatedRadio
{
protected:
    void SetUp() override
    {
        RigOnSimulatedRadio::SetUp();
        std::filesystem::copy_file(std::string(BRINDLE_DATA_DIR) + "/BandPlan.txt", temp.file("BandPlan.txt"));
        switchOn(RigSimulator::Protocol::Kenwood);
        rig.applySettings(chosen("Kenwood"));
        rig.loadSettings();
        ASSERT_TRUE(rig.startPolling());
        ASSERT_TRUE(QTest::qWaitFor([&] { return rig.reading().freqMHz.has_value(); }, 5000));
    }
    // The radio has heard these bytes, and the change that sent them is over.
    bool heard(const std::string& bytes)
    {
        return QTest::qWaitFor([&] { return radio->hasReceived(bytes) && !rig.isChanging(); }, 5000);
    }
};

class RigTuneDialogTest : public RigWindowsOnAKenwood
{
protected:
    void SetUp() override
    {
        RigWindowsOnAKenwood::SetUp();
        tune = std::make_unique<RigTuneDialog>(rig);
        tune->show();
        QApplication::setActiveWindow(tune.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(tune.get()));
        (void)radio->takeReceived();
    }
    template <class T = QWidget> T* control(const char* name)
    {
        T* found = tune->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* frequency()
    {
        return control<QLineEdit>("frequencyField");
    }
    void click(const char* name)
    {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }

    std::unique_ptr<RigTuneDialog> tune;
};

TEST_F(RigTuneDialogTest, aBandButtonTunesToItsFrequency)
{
    EXPECT_EQ(tune->windowTitle(), QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
    for (const auto& [button, text, command] :
        std::vector<std::tuple<const char*, const char*, const char*>> { { "bandButton_60", "5.368", "FA00005368000;" },
            { "bandButton_1.25", "223.5", "FA00223500000;" }, { "bandButton_20", "14.175", "MD2;FA00014175000;" } }) {
        click(button);
        EXPECT_EQ(frequency()->text(), QString::fromLatin1(text));
        EXPECT_TRUE(heard(command)) << command << " in " << radio->received();
    }
}

TEST_F(RigTuneDialogTest, aStepButtonMovesTheFrequencyToTheHertz)
{
    frequency()->setText(QStringLiteral("14.175"));
    click("stepUpButton_10Hz");
    EXPECT_EQ(frequency()->text(), QStringLiteral("14.17501"));
    EXPECT_TRUE(heard("FA00014175010;"));
    EXPECT_TRUE(control("doneButton")->hasFocus());
    click("stepDownButton_1MHz");
    EXPECT_EQ(frequency()->text(), QStringLiteral("13.17501"));
    EXPECT_TRUE(heard("FA00013175010;"));
}

TEST_F(RigTuneDialogTest, theFrequencyFieldTakesNumbersAndASlashThatGreysTheSteps)
{
    frequency()->setFocus();
    QTest::keyClicks(frequency(), QStringLiteral("7x.0a25"));
    EXPECT_EQ(frequency()->text(), QStringLiteral("7.025"));
    EXPECT_TRUE(control("stepUpButton_1KHz")->isEnabled());
    QTest::keyClicks(frequency(), QStringLiteral("/"));
    EXPECT_EQ(frequency()->text(), QStringLiteral("7.025/"));
    EXPECT_FALSE(control("stepUpButton_1KHz")->isEnabled());
    click("goButton");
    QTest::qWait(100);
    EXPECT_EQ(radio->received().find("FA0"), std::string::npos) << "no number, no tuning";
}

TEST_F(RigTuneDialogTest, enterGoesAndLeavesTheCaretAtTheEnd)
{
    frequency()->setFocus();
    QTest::keyClicks(frequency(), QStringLiteral("21.2345"));
    frequency()->setCursorPosition(2);
    QTest::keyClick(frequency(), Qt::Key_Return);
    // The typed text as it stands: the radio gets 21,234,500 Hz, not a hair above.
    EXPECT_TRUE(heard("FA00021234500;"));
    EXPECT_TRUE(frequency()->hasFocus());
    EXPECT_EQ(frequency()->cursorPosition(), frequency()->text().size());
    EXPECT_TRUE(tune->isVisible());
}

TEST_F(RigTuneDialogTest, aModeButtonSetsTheMode)
{
    click("usbButton");
    EXPECT_TRUE(heard("MD2;"));
    EXPECT_TRUE(control("doneButton")->hasFocus());
    click("cwButton");
    EXPECT_TRUE(heard("MD3;"));
}

TEST_F(RigTuneDialogTest, aScanStepsThroughItsRangeAndWraps)
{
    control<QLineEdit>("scanFromField")->setText(QStringLiteral("14.000"));
    control<QLineEdit>("scanToField")->setText(QStringLiteral("14.001"));
    EXPECT_TRUE(control<QRadioButton>("scanStep_10Hz")->isChecked());
    click("scanCheck");
    EXPECT_EQ(frequency()->text(), QStringLiteral("14.000")) << "an empty field starts at the range's start";
    EXPECT_TRUE(control("goButton")->hasFocus());
    tune->scanOneStep();
    EXPECT_EQ(frequency()->text(), QStringLiteral("14.00001"));
    for (int step = 2; step <= 100; ++step) {
        tune->scanOneStep();
    }
    EXPECT_EQ(frequency()->text(), QStringLiteral("14.001"));
    tune->scanOneStep();
    EXPECT_EQ(frequency()->text(), QStringLiteral("14."));
    // Stopped here, before its own timer steps on.
    control<QCheckBox>("scanCheck")->setChecked(false);
    EXPECT_TRUE(heard("FA00014000000;")) << "the radio follows the scan: " << radio->received();
}

TEST_F(RigTuneDialogTest, anyKeyStopsTheScanWhereItIs)
{
    frequency()->setText(QStringLiteral("7.0"));
    control<QCheckBox>("scanCheck")->setChecked(true);
    QTimer* timer = tune->findChild<QTimer*>(QStringLiteral("scanTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 299);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frequency()->text() != QStringLiteral("7.0"); }, 5000));
    QTest::keyClick(control("doneButton"), Qt::Key_Shift);
    EXPECT_FALSE(control<QCheckBox>("scanCheck")->isChecked());
    const QString stoppedAt = frequency()->text();
    QTest::qWait(700);
    EXPECT_EQ(frequency()->text(), stoppedAt);
}

TEST_F(RigTuneDialogTest, escClosesTheWindow)
{
    frequency()->setFocus();
    QTest::keyClick(frequency(), Qt::Key_Escape);
    EXPECT_FALSE(tune->isVisible());
}

TEST(RigTuneDialogWithoutARig, theFieldMovesAndNothingIsSent)
{
    NoRigControl rig;
    RigTuneDialog tune(rig);
    tune.show();
    QTest::mouseClick(tune.findChild<QPushButton*>(QStringLiteral("bandButton_40")), Qt::LeftButton);
    EXPECT_EQ(tune.findChild<QLineEdit*>(QStringLiteral("frequencyField"))->text(), QStringLiteral("7.15"));
}

class FrequencyTestDialogTest : public RigWindowsOnAKenwood
{
protected:
    void SetUp() override
    {
        RigWindowsOnAKenwood::SetUp();
        test = std::make_unique<FrequencyTestDialog>(rig);
        test->show();
        (void)radio->takeReceived();
    }
    QLineEdit* field(const char* name)
    {
        return test->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void send(const char* button)
    {
        QTest::mouseClick(test->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }

    std::unique_ptr<FrequencyTestDialog> test;
};

TEST_F(FrequencyTestDialogTest, sendsTheCommandAsTypedOrAsHexPairs)
{
    EXPECT_EQ(test->windowTitle(), QStringLiteral("Test Change Frequency Function"));
    EXPECT_EQ(field("commandField")->text(), QStringLiteral("FA00028475000;"));
    send("sendCommandButton");
    EXPECT_TRUE(heard("FA00028475000;"));

    test->findChild<QCheckBox*>(QStringLiteral("hexCheck"))->setChecked(true);
    field("commandField")->setText(QStringLiteral(" 46 41 3B "));
    (void)radio->takeReceived();
    send("sendCommandButton");
    EXPECT_TRUE(heard("FA;"));

    field("commandField")->setText(QStringLiteral("46 ZZ 3B"));
    (void)radio->takeReceived();
    send("sendCommandButton");
    QTest::qWait(100);
    EXPECT_EQ(radio->received().find("F;"), std::string::npos) << "a pair that is no hex sends nothing";
}

TEST_F(FrequencyTestDialogTest, sendsTheFrequencyAsTheSpotsDo)
{
    EXPECT_EQ(field("frequencyField")->text(), QStringLiteral("28.475"));
    send("sendFrequencyButton");
    EXPECT_TRUE(heard("MD2;FA00028475000;"));
}

TEST_F(FrequencyTestDialogTest, opensFromTheRigWindowOnlyWhilePolling)
{
    test.reset();
    RigInterfaceWindow window(rig, dialogs, [](const std::string&) {});
    QDialog* opened = nullptr;
    dialogs.onModal = [&](QDialog& dialog) { opened = &dialog; };
    window.openFrequencyTest();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->objectName(), QStringLiteral("FrequencyTestDialog"));

    rig.stopPolling();
    opened = nullptr;
    window.openFrequencyTest();
    EXPECT_EQ(opened, nullptr);
    EXPECT_EQ(dialogs.shown.back().title, QStringLiteral("You must be polling your rig to test this function."));
}

} // namespace
} // namespace brindle::test
