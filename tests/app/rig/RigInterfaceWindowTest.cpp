// The rig interface window: what choosing a rig and reading the settings file show, what ends a test,
// what a test shows of the radio's answers, and what "&Done" keeps.

#include "rig/RigInterfaceWindow.h"

#include "app/rig/RigOnTestPorts.h"
#include "common/Text.h"
#include "rig/RigProfile.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

class RigInterfaceWindowTest : public ::testing::Test, public RigOnTestPorts
{
protected:
    void SetUp() override
    {
        writePegasusFile("14.025,\"CW\"\r\n");
    }
    void openWindow()
    {
        window = std::make_unique<RigInterfaceWindow>(
            rig, dialogs, [this](const std::string& name) { savedRigNames.push_back(name); });
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    template <class T = QWidget> T* control(const char* name)
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QRadioButton* option(const char* name)
    {
        return control<QRadioButton>(name);
    }
    QString label(const char* name)
    {
        return control<QLabel>(name)->text();
    }
    // Clicks a rig in the list, as the operator does.
    void chooseInList(const char* name)
    {
        QListWidget* list = control<QListWidget>("rigList");
        const QList<QListWidgetItem*> items = list->findItems(QString::fromLatin1(name), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name;
        list->scrollToItem(items.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.front()).center());
    }
    // Clicks a button where the operator does: an option on its mark, which with a short caption is all
    // of it that takes a click.
    void click(const char* name)
    {
        auto* button = control<QAbstractButton>(name);
        const bool option = qobject_cast<QRadioButton*>(button) != nullptr;
        QTest::mouseClick(button, Qt::LeftButton, {},
            option ? QPoint(button->height() / 2, button->height() / 2) : button->rect().center());
    }
    void writeSettingsFile(const RigSettings& settings)
    {
        std::ofstream(temp.file("RigCntrl.txt"), std::ios::binary) << formatRigSettings(settings);
    }
    // Starts a test of the Pegasus rig, which needs no port, and waits for its first reading.
    void testPegasus()
    {
        chooseInList("Ten Tec Pegasus");
        click("testButton");
        ASSERT_TRUE(rig.isPolling());
        ASSERT_TRUE(QTest::qWaitFor([this] { return label("rigModeLabel") == QStringLiteral("CW"); }, 5000));
    }

    std::unique_ptr<RigInterfaceWindow> window;
    std::vector<std::string> savedRigNames;
};

TEST_F(RigInterfaceWindowTest, listsEveryRigInOrder)
{
    openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" Rig Interface Setup"));
    QListWidget* list = control<QListWidget>("rigList");
    const auto names = rigNames();
    ASSERT_EQ(list->count(), static_cast<int>(names.size()));
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_EQ(list->item(i)->text().toStdString(), names[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("None"));
    EXPECT_EQ(list->item(list->count() - 1)->text(), QStringLiteral("Hamlib rigctld"));
    // Before any settings file: port 1, 56k, no parity, 8 data bits, 1 stop bit, no power, 500 ms.
    for (const char* on : { "portOption_1", "baudOption_56000", "noParityOption", "eightBitsOption", "oneStopBitOption",
             "noPowerOption", "poll500msOption", "modeByRigOption" }) {
        EXPECT_TRUE(option(on)->isChecked()) << on;
    }
}

struct ChoiceCase
{
    const char* rig;
    const char* frequencyPoll;
    const char* modePoll;
    const char* baudOption; // the one checked after the choice
    bool toHex;
    bool toHexEnabled;
    bool icomNote;
};

void PrintTo(const ChoiceCase& c, std::ostream* out)
{
    *out << c.rig;
}

class RigChoiceTest : public RigInterfaceWindowTest, public ::testing::WithParamInterface<ChoiceCase>
{
};

TEST_P(RigChoiceTest, choosingARigShowsItsProfile)
{
    const ChoiceCase& c = GetParam();
    openWindow();
    // Something of an earlier choice that the new one must clear.
    chooseInList("Other");
    control<QLineEdit>("frequencyPollField")->setText(QStringLiteral("junk"));
    control<QCheckBox>("toHexCheck")->setChecked(true);

    chooseInList(c.rig);

    EXPECT_EQ(control<QLineEdit>("frequencyPollField")->text(), QString::fromLatin1(c.frequencyPoll));
    EXPECT_EQ(control<QLineEdit>("modePollField")->text(), QString::fromLatin1(c.modePoll));
    EXPECT_TRUE(option(c.baudOption)->isChecked());
    EXPECT_EQ(control<QCheckBox>("toHexCheck")->isChecked(), c.toHex);
    EXPECT_EQ(control<QCheckBox>("fromHexCheck")->isChecked(), c.toHex);
    EXPECT_EQ(control<QCheckBox>("toHexCheck")->isEnabled(), c.toHexEnabled);
    EXPECT_EQ(control<QLabel>("icomCaption")->isVisible(), c.icomNote);
    EXPECT_EQ(rig.settings().rigName, c.rig);
    EXPECT_EQ(rig.settings().frequencyPoll, c.frequencyPoll);
}

INSTANTIATE_TEST_SUITE_P(Profiles, RigChoiceTest,
    ::testing::Values(ChoiceCase { "Kenwood", "FA;", "MD;", "baudOption_4800", false, false, false },
        ChoiceCase { "Icom", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", "baudOption_1200", true, false, true },
        ChoiceCase { "Icom 735", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", "baudOption_1200", true, false, true },
        ChoiceCase { "Ten Tec Orion", "?AF", "?RMM", "baudOption_56000", false, false, false },
        ChoiceCase { "Yaesu", "00 00 00 00 03", "", "baudOption_4800", true, false, false },
        // "Other" keeps the serial settings of the rig before it.
        ChoiceCase { "Other", "", "", "baudOption_56000", false, true, false }),
    [](const auto& info) {
        std::string name = info.param.rig;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST_F(RigInterfaceWindowTest, theSettingsFileSelectsItsOptionsAndAValueOfNoOptionSelectsNone)
{
    RigSettings file;
    file.rigName = "Icom 735";
    file.port = 4;
    file.baud = "9600";
    file.parity = "X"; // no option has it
    file.dataBits = "7";
    file.stopBits = "2";
    file.power = "D";
    file.pollRate = "S";
    file.frequencyPoll = "FE FE 04 E0 03 FD";
    file.convertToHex = true;
    file.useFrequency = true;
    file.modeBy = ModeBy::Ignore;
    writeSettingsFile(file);

    openWindow();

    for (const char* on : { "portOption_4", "baudOption_9600", "sevenBitsOption", "twoStopBitsOption", "dtrPowerOption",
             "poll2sOption", "ignoreModeOption" }) {
        EXPECT_TRUE(option(on)->isChecked()) << on;
    }
    for (const char* off : { "oddParityOption", "noParityOption", "evenParityOption" }) {
        EXPECT_FALSE(option(off)->isChecked()) << off;
    }
    EXPECT_EQ(control<QListWidget>("rigList")->currentItem()->text(), QStringLiteral("Icom 735"));
    EXPECT_TRUE(control<QCheckBox>("useFrequencyCheck")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("toHexCheck")->isChecked());
    // Read from the file, the note is only for "Icom" itself.
    EXPECT_FALSE(control<QLabel>("icomCaption")->isVisible());

    // What matches no option is written back as it was read.
    click("doneButton");
    RigOnTestPorts reread;
    std::filesystem::copy_file(temp.file("RigCntrl.txt"), reread.temp.file("RigCntrl.txt"));
    reread.rig.loadSettings();
    EXPECT_EQ(reread.rig.settings(), file);
}

TEST_F(RigInterfaceWindowTest, aTestShowsTheRadiosAnswersAndEndTestClearsThem)
{
    openWindow();
    EXPECT_FALSE(control("pollingLabel")->isVisible());
    EXPECT_FALSE(control("endTestButton")->isEnabled());

    testPegasus();
    EXPECT_TRUE(control("pollingLabel")->isVisible());
    EXPECT_TRUE(control("endTestButton")->isEnabled());
    EXPECT_EQ(label("rigFrequencyLabel"), QStringLiteral("14.02500"));
    EXPECT_EQ(label("unprocessedLabel"), QStringLiteral("14.025,\"CW\"\r\n"));

    control<QCheckBox>("fromHexCheck")->setChecked(true);
    writePegasusFile("7.1,\"\"");
    ASSERT_TRUE(QTest::qWaitFor([this] { return label("rigFrequencyLabel") == QStringLiteral("7.10000"); }, 5000));
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return label("unprocessedLabel") == QStringLiteral("37 2E 31 2C 22 22 "); }, 5000));

    click("endTestButton");
    EXPECT_FALSE(rig.isPolling());
    EXPECT_FALSE(control("pollingLabel")->isVisible());
    EXPECT_FALSE(control("endTestButton")->isEnabled());
    for (const char* cleared : { "rigFrequencyLabel", "rigModeLabel", "unprocessedLabel" }) {
        EXPECT_EQ(label(cleared), QString()) << cleared;
    }
}

TEST_F(RigInterfaceWindowTest, aFrequencyOnNoBandIsNotShownAsTheRigsFrequency)
{
    openWindow();
    testPegasus();
    ASSERT_EQ(label("rigFrequencyLabel"), QStringLiteral("14.02500"));
    for (const char* noise : { "100000,\"CW\"", ".688,\"CW\"", "0,\"CW\"" }) {
        SCOPED_TRACE(noise);
        writePegasusFile(noise);
        // The window shows what came, and the rig's frequency as it was.
        ASSERT_TRUE(QTest::qWaitFor([&] { return label("unprocessedLabel") == QString::fromLatin1(noise); }, 5000));
        EXPECT_EQ(label("rigFrequencyLabel"), QStringLiteral("14.02500"));
    }
    writePegasusFile("7.1,\"CW\"");
    EXPECT_TRUE(QTest::qWaitFor([this] { return label("rigFrequencyLabel") == QStringLiteral("7.10000"); }, 5000));
}

TEST_F(RigInterfaceWindowTest, aTestOnAPortThatCannotOpenReturnsToIdle)
{
    openWindow();
    chooseInList("Kenwood");
    click("testButton");
    EXPECT_FALSE(rig.isPolling());
    EXPECT_EQ(dialogs.shown.at(0).title, QStringLiteral("Invalid Comm Settings."));
    EXPECT_FALSE(control("pollingLabel")->isVisible());
    EXPECT_FALSE(control("endTestButton")->isEnabled());
    EXPECT_EQ(label("rigFrequencyLabel"), QStringLiteral("No Response"));
    EXPECT_EQ(label("rigModeLabel"), QStringLiteral("No Response"));
}

TEST_F(RigInterfaceWindowTest, changingAPortSettingOrEnteringAPollStringEndsTheTest)
{
    openWindow();
    for (const char* name : { "portOption_3", "baudOption_9600", "evenParityOption", "sevenBitsOption",
             "twoStopBitsOption", "rtsPowerOption", "poll2sOption" }) {
        testPegasus();
        click(name);
        EXPECT_FALSE(rig.isPolling()) << name;
        EXPECT_TRUE(option(name)->isChecked()) << name;
    }
    testPegasus();
    control("modePollField")->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(rig.isPolling());
    EXPECT_EQ(rig.settings().port, 3);
    EXPECT_EQ(rig.settings().baud, "9600");
    EXPECT_EQ(rig.settings().pollRate, "S");
}

TEST_F(RigInterfaceWindowTest, whereTheModeComesFromIsChosenWithoutEndingTheTest)
{
    openWindow();
    testPegasus();
    click("modeByFrequencyOption");
    EXPECT_TRUE(rig.isPolling());
    EXPECT_EQ(rig.settings().modeBy, ModeBy::Frequency);
    EXPECT_EQ(rig.reading().mode, "");
    EXPECT_EQ(label("rigModeLabel"), QStringLiteral("No Response"));
    // 14.025 is in the CW part of 20 m.
    ASSERT_TRUE(QTest::qWaitFor([this] { return label("rigModeLabel") == QStringLiteral("CW"); }, 5000));

    control<QCheckBox>("useFrequencyCheck")->setChecked(true);
    EXPECT_TRUE(rig.settings().useFrequency);
    EXPECT_TRUE(rig.isPolling());
}

TEST_F(RigInterfaceWindowTest, changeFrequencyNeedsAPoll)
{
    openWindow();
    click("frequencyTestButton");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("You must be polling your rig to test this function."));
    EXPECT_EQ(dialogs.shown[0].text,
        QStringLiteral("You must be polling your rig to test this function.  Please select your rig type and click "
                       "the Test command button."));
    EXPECT_EQ(dialogs.shown[0].icon, OperatorDialogs::Icon::Information);
}

TEST_F(RigInterfaceWindowTest, copyPutsTheUnprocessedDataOnTheClipboard)
{
    openWindow();
    testPegasus();
    click("copyUnprocessedButton");
    EXPECT_EQ(dialogs.clipboard, QStringLiteral("14.025,\"CW\"\r\n"));
    EXPECT_TRUE(control("doneButton")->hasFocus());
}

TEST_F(RigInterfaceWindowTest, doneRestartsThePollAndKeepsTheSettingsAndTheRigName)
{
    openWindow();
    chooseInList("Ten Tec Pegasus");
    TempFolder pegasus;
    std::ofstream(pegasus.file("PEGASUS.OUT"), std::ios::binary) << "21.025,\"CW\"\r\n";
    dialogs.files.push_back(QString::fromStdString(pegasus.path()));
    click("pegasusBrowseButton");
    EXPECT_EQ(control<QLineEdit>("pegasusFolderField")->text(), QString::fromStdString(pegasus.path()));

    click("doneButton");

    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(rig.isPolling());
    EXPECT_EQ(savedRigNames, std::vector<std::string> { "Ten Tec Pegasus" });
    EXPECT_EQ(rig.pegasusFolder(), pegasus.path());
    ASSERT_TRUE(QTest::qWaitFor([this] { return rig.reading().freqMHz.value_or(0) > 21; }, 5000));
    RigOnTestPorts reread;
    std::filesystem::copy_file(temp.file("RigCntrl.txt"), reread.temp.file("RigCntrl.txt"));
    reread.rig.loadSettings();
    EXPECT_EQ(reread.rig.settings().rigName, "Ten Tec Pegasus");
}

TEST_F(RigInterfaceWindowTest, aSettingsFileThatCannotBeWrittenIsReported)
{
    openWindow();
    std::filesystem::create_directory(temp.file("RigCntrl.txt"));
    chooseInList("Kenwood");
    click("doneButton");
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_TRUE(dialogs.shown.back().text.contains(QStringLiteral("RigCntrl.txt")));
    EXPECT_EQ(savedRigNames, std::vector<std::string> { "Kenwood" });
}

TEST_F(RigInterfaceWindowTest, theNetworkAndPegasusFieldsShowOnlyForTheirRigs)
{
    openWindow();
    for (const auto& [rigName, rigctld, pegasus] : std::vector<std::tuple<const char*, bool, bool>> {
             { "Kenwood", false, false }, { "Hamlib rigctld", true, false }, { "Ten Tec Pegasus", false, true } }) {
        chooseInList(rigName);
        EXPECT_EQ(control("rigctldHostField")->isVisible(), rigctld) << rigName;
        EXPECT_EQ(control("pegasusFolderField")->isVisible(), pegasus) << rigName;
        EXPECT_EQ(control("portOption_1")->isEnabled(), !rigctld) << rigName;
    }
    chooseInList("Hamlib rigctld");
    EXPECT_EQ(control<QLineEdit>("rigctldHostField")->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(control<QLineEdit>("rigctldPortField")->text(), QStringLiteral("4532"));
    QLineEdit* port = control<QLineEdit>("rigctldPortField");
    port->selectAll();
    QTest::keyClicks(port, QStringLiteral("4575"));
    EXPECT_EQ(rig.settings().rigctldAddress, "127.0.0.1:4575");
}

} // namespace
} // namespace brindle::test
