#include "StartedMainWindow.h"

#include "common/ProgramTitle.h"
#include "serial/SerialPortsDialog.h"
#include "support/KeyTyping.h"
#include "support/RecordingCwKeyer.h"
#include "ui/Colours.h"
#include "ui/HelpDialog.h"
#include "ui/MultiplierColoursDialog.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace brindle {
namespace {

using test::readBytes;
using test::writeBytes;

class MainWindowCommandsTest : public test::StartedMainWindow
{
protected:
    QLineEdit* call()
    {
        return field("callField");
    }
    QAction* action(const char* name)
    {
        return form->findChild<QAction*>(QString::fromLatin1(name));
    }
};

TEST_F(MainWindowCommandsTest, ctrlShortcutsDropTheirCharacterAndOnlyThat)
{
    startClock();
    QTest::keyClick(call(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(call(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(call()->text(), "");
    QTest::keyClicks(call(), QStringLiteral("k1"));
    EXPECT_EQ(call()->text(), "K1");
    // Ctrl pressed and let go alone is no shortcut: nothing typed after it is lost.
    QTest::keyPress(call(), Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(call(), Qt::Key_Control, Qt::NoModifier);
    QTest::keyClicks(call(), QStringLiteral("a"));
    EXPECT_EQ(call()->text(), "K1A");
}

TEST_F(MainWindowCommandsTest, aCtrlKeyThatTypesNothingLeavesTheNextCharacterAlone)
{
    startClock();
    for (const Qt::Key key : { Qt::Key_F1, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_Up }) {
        SCOPED_TRACE(key);
        form->clearEntry();
        QTest::keyClick(call(), key, Qt::ControlModifier);
        QTest::keyClicks(call(), QStringLiteral("k1abc"));
        EXPECT_EQ(call()->text(), "K1ABC");
    }
}

TEST_F(MainWindowCommandsTest, keysTheWindowDoesNotHandleDoWhatTheControlDoesWithThem)
{
    startClock();
    QTest::keyClicks(call(), QStringLiteral("k1abc"));
    QTest::keyClick(call(), Qt::Key_Home);
    EXPECT_EQ(call()->cursorPosition(), 0);
    QTest::keyClick(call(), Qt::Key_End);
    EXPECT_EQ(call()->cursorPosition(), 5);

    auto* list = form->findChild<QTableView*>(QStringLiteral("contactList"));
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_PageDown);
    EXPECT_EQ(list->currentIndex().row(), 2);
    QTest::keyClick(list, Qt::Key_PageUp);
    EXPECT_EQ(list->currentIndex().row(), 0);
}

TEST_F(MainWindowCommandsTest, aCharacterTheLogCannotHoldIsRefusedWithABeep)
{
    startClock();
    for (const char* name : { "callField", "sectionField", "countryField" }) {
        SCOPED_TRACE(name);
        form->clearEntry();
        dialogs.beeps = 0;
        test::typeAnyText(field(name), QString::fromUtf8("\u0141"));
        EXPECT_EQ(field(name)->text(), "");
        EXPECT_EQ(dialogs.beeps, 1);
    }
}

TEST_F(MainWindowCommandsTest, ctrlFOpensTheBandPlanAndTypesNothing)
{
    QStringList opened;
    dialogs.onModal = [&opened](QDialog& window) { opened << window.objectName(); };
    QTest::keyClick(call(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(opened, QStringList({ "BandPlanDialog" }));
    EXPECT_EQ(call()->text(), "");
}

TEST_F(MainWindowCommandsTest, theOptionsMenuOpensTheSerialPortsWindow)
{
    QAction* serialPorts = action("serialPortsAction");
    EXPECT_TRUE(form->findChild<QMenu*>(QStringLiteral("optionsMenu"))->actions().contains(serialPorts));
    EXPECT_EQ(serialPorts->text(), "&Serial Ports...");
    QStringList opened;
    dialogs.onModal = [&opened](QDialog& window) {
        opened << window.objectName();
        static_cast<SerialPortsDialog&>(window).m_cancelButton->click();
    };
    serialPorts->trigger();
    EXPECT_EQ(opened, QStringList({ "SerialPortsDialog" }));
}

TEST_F(MainWindowCommandsTest, functionKeysAndArrowsDoNothingWithoutAKeyer)
{
    startClock();
    QTest::keyClicks(call(), QStringLiteral("K1ABC"));
    const QString dialog = text("messageLabel");
    for (Qt::Key key : { Qt::Key_F1, Qt::Key_F10, Qt::Key_F12, Qt::Key_Up, Qt::Key_Down }) {
        QTest::keyClick(call(), key);
    }
    EXPECT_EQ(call()->text(), "K1ABC");
    EXPECT_EQ(text("messageLabel"), dialog);
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(MainWindowCommandsTest, escClearsTheEntryWhereverTheFocusIs)
{
    // A control of every part of the window: the key preview must reach them all.
    for (const char* where : { "callField", "countryField", "clearButton", "timeOnButton", "partialSearchButton",
             "listAllButton", "contactList" }) {
        SCOPED_TRACE(where);
        field("callField")->setText(QStringLiteral("K1ABC"));
        field("rstRcvdField")->setText(QStringLiteral("599"));
        widget(where)->setFocus();
        QTest::keyClick(widget(where), Qt::Key_Escape);
        EXPECT_EQ(field("callField")->text(), "");
        EXPECT_EQ(field("rstRcvdField")->text(), "");
        EXPECT_TRUE(field("callField")->hasFocus());
    }
}

TEST_F(MainWindowCommandsTest, tabVisitsTheControlsOfEveryPartInTheOrderTheyStand)
{
    QStringList visited;
    QWidget* at = call();
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
        ASSERT_NE(at, nullptr);
        visited << at->objectName();
    }
    EXPECT_EQ(visited,
        QStringList({ "rstRcvdField", "sectionField", "rstSentField", "countryField", "clearButton", "timeOnButton",
            "partialSearchButton", "listAllButton", "contactList" }));
}

TEST_F(MainWindowCommandsTest, theMenuBarOffersWhatThisProgramCanDo)
{
    QStringList menus;
    for (QAction* top : form->menuBar()->actions()) {
        menus << top->text();
    }
    EXPECT_EQ(menus, QStringList({ "&File", "&Options", "&Setup", "&Band", "&Graph", "&Help" }));
    for (const char* offered :
        { "newLogAction", "archiveLogAction", "restoreLogAction", "writeCabrilloAction", "exportAdifAction",
            "copyListAction", "exitAction", "formSizeAction", "taskbarAction", "coloursAction", "serialPortsAction",
            "listPreviousAction", "postContestAction", "privilegesAction", "graphAction", "helpAction" }) {
        EXPECT_TRUE(action(offered)->isEnabled() && action(offered)->isVisible()) << offered;
    }
    for (const char* hidden : { "reloadLogAction", "printAction", "exportGeneralAction" }) {
        EXPECT_FALSE(action(hidden)->isVisible()) << hidden;
    }
    EXPECT_EQ(action("copyListAction")->text(), "&Copy Listed Items to Clipboard");
}

TEST_F(MainWindowCommandsTest, theTitleNamesTheProgramThenItsAddress)
{
    const QString title = form->windowTitle();
    EXPECT_TRUE(title.startsWith(QStringLiteral("KORVA's Brindle 1.8 (DX Version)   ")));
    EXPECT_EQ(title.mid(75), QString::fromLatin1(ProgramWebAddress.data()));
    EXPECT_EQ(programNameFromTitle(mainWindowTitle()), "KORVA's Brindle 1.8 (DX Version)");
}

// A window whose CW keyer is on the air until the test lets it finish.
class SendingCwTest : public MainWindowCommandsTest
{
protected:
    MainWindowKeyers keyers() override
    {
        MainWindowKeyers sending;
        auto recording = std::make_unique<test::RecordingCwKeyer>();
        recording->sending = true;
        keyer = recording.get();
        sending.cw = std::move(recording);
        return sending;
    }

    test::RecordingCwKeyer* keyer = nullptr;
};

TEST_F(MainWindowCommandsTest, closingIsRefusedOnlyWhileCwIsBeingSent)
{
    EXPECT_TRUE(form->close());
}

TEST_F(SendingCwTest, aCloseWhileCwIsOnTheAirOnlyStopsTheSendingAndTheNextCloses)
{
    // A contact logged since the start: a close that goes through backs the log up.
    std::filesystem::create_directories(folders.backupDir);
    startClock();
    QTest::keyClicks(call(), QStringLiteral("k1zz5"));
    QTest::keyClicks(field("rstRcvdField"), QStringLiteral("99m"));
    QTest::keyClicks(field("sectionField"), QStringLiteral("a"));
    QTest::keyClick(field("sectionField"), Qt::Key_Return);
    ASSERT_EQ(form->workingLog().log().count(), 4);

    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(keyer->buffersCleared, 1);
    EXPECT_TRUE(std::filesystem::is_empty(folders.backupDir)) << "a refused close takes no backup";

    keyer->sending = false; // the character on the air is finished
    EXPECT_TRUE(form->close());
    EXPECT_EQ(keyer->buffersCleared, 2);
    EXPECT_FALSE(std::filesystem::is_empty(folders.backupDir)) << "the close that goes through backs the log up";
}

TEST_F(SendingCwTest, escWhileCwIsOnTheAirStopsTheSendingAndKeepsTheEntry)
{
    call()->setText(QStringLiteral("K1ABC"));
    QTest::keyClick(call(), Qt::Key_Escape);
    EXPECT_EQ(keyer->buffersCleared, 1);
    EXPECT_EQ(call()->text(), "K1ABC");
}

TEST_F(MainWindowCommandsTest, formSizeAnswersAreBroughtIntoRangeAndRounded)
{
    const std::pair<const char*, int> answers[] = {
        { "120", 100 },
        { "10", 30 },
        { "85.5", 86 },
        { "84.5", 84 },
        { "90", 90 },
    };
    for (const auto& [answer, stored] : answers) {
        SCOPED_TRACE(answer);
        dialogs.shown.clear();
        dialogs.inputs.push_back(QString::fromLatin1(answer));
        action("formSizeAction")->trigger();
        EXPECT_EQ(parseDefaultData(readBytes(folders.workingDir + "/inprefDX.txt")).value().formSizePercent, stored);
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_EQ(dialogs.shown[0].title, "Please enter screen percentage.");
        EXPECT_EQ(dialogs.shown[1].text, "This program must be closed and restarted for this setting to take effect.");
    }
}

TEST_F(MainWindowCommandsTest, aFormSizeThatIsNoNumberIsRefused)
{
    for (const std::optional<QString>& answer :
        { std::optional<QString>("abc"), std::optional<QString>(""), std::optional<QString>() }) {
        dialogs.shown.clear();
        dialogs.inputs.push_back(answer);
        action("formSizeAction")->trigger();
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_EQ(dialogs.shown[1].title, "Numeric Values Required");
        EXPECT_EQ(dialogs.shown[1].text, "Please enter only numeric values.");
        EXPECT_EQ(form->defaultData().formSizePercent, 100);
    }
}

TEST_F(MainWindowCommandsTest, theTaskbarOptionNeedsTheFullFormSize)
{
    EXPECT_FALSE(action("taskbarAction")->isChecked());
    action("taskbarAction")->trigger();
    EXPECT_TRUE(action("taskbarAction")->isChecked());
    EXPECT_EQ(parseDefaultData(readBytes(folders.workingDir + "/inprefDX.txt")).value().taskbarOption, 1);
    EXPECT_TRUE(dialogs.shown.empty());

    dialogs.inputs.push_back(QStringLiteral("90"));
    action("formSizeAction")->trigger();
    dialogs.shown.clear();
    action("taskbarAction")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "The form size must be set to 100% to use the taskbar display option.");
    EXPECT_EQ(dialogs.shown[0].title, "Please set your form size to 100% to use this option.");
    EXPECT_TRUE(action("taskbarAction")->isChecked()) << "the check mark does not change";
    EXPECT_EQ(form->defaultData().taskbarOption, 1);
}

TEST_F(MainWindowCommandsTest, cancelledColoursBecomeBlackAndTheGridFollows)
{
    dialogs.colours.push_back(std::nullopt); // remaining: cancelled
    dialogs.colours.push_back(0x00FF0000); // worked: blue
    dialogs.onModal = [](QDialog& window) {
        auto& colours = static_cast<MultiplierColoursDialog&>(window);
        colours.chooseRemainingColour();
        colours.chooseWorkedColour();
        colours.m_doneButton->click();
    };
    action("coloursAction")->trigger();
    const DefaultData saved = parseDefaultData(readBytes(folders.workingDir + "/inprefDX.txt")).value();
    EXPECT_EQ(saved.remainingColour, 0u);
    EXPECT_EQ(saved.workedColour, 0x00FF0000u);
    EXPECT_EQ(textColour(form->findChild<QLabel*>(QStringLiteral("sectionLabel_MA"))), fromBgr(0x00FF0000)) << "MA";
    EXPECT_EQ(textColour(form->findChild<QLabel*>(QStringLiteral("sectionLabel_CT"))), fromBgr(0)) << "CT";
}

TEST_F(MainWindowCommandsTest, helpShowsTheHelpTextOfTheWorkingFolder)
{
    writeBytes(folders.workingDir + "/readDX.txt", "How to log.\r\n");
    QString shown;
    dialogs.onModal = [&shown](QDialog& window) { shown = static_cast<HelpDialog&>(window).m_helpText->toPlainText(); };
    action("helpAction")->trigger();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("How to log.")));
}

TEST_F(MainWindowCommandsTest, theListedContactsGoToTheClipboard)
{
    action("copyListAction")->trigger();
    const QStringList lines = dialogs.clipboard.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1\tK1AB"))) << "the bottom row first";
}

// A computer five hours behind UTC.
class UtcOffsetCheckTest : public test::StartedMainWindow
{
protected:
    void SetUp() override
    {
        clock.local = { 2026, 2, 21, 14, 5, 30 };
        clock.utc = { 2026, 2, 21, 19, 5, 30 };
    }
    void start(float storedOffset)
    {
        m_stored = storedOffset;
        test::StartedMainWindow::SetUp();
    }
    DefaultData initialDefaults() const override
    {
        DefaultData d = test::StartedMainWindow::initialDefaults();
        d.utcOffsetHours = m_stored;
        return d;
    }
    float savedOffset() const
    {
        return parseDefaultData(readBytes(folders.workingDir + "/inprefDX.txt")).value().utcOffsetHours;
    }

private:
    float m_stored = 0;
};

TEST_F(UtcOffsetCheckTest, theRightOffsetAsksNothing)
{
    start(5);
    EXPECT_EQ(form->defaultData().utcOffsetHours, 5);
    for (const auto& shown : shownAtStart) {
        EXPECT_NE(shown.kind, "input");
    }
}

TEST_F(UtcOffsetCheckTest, aStaleOffsetIsProposedAndTakenWhenNumeric)
{
    dialogs.inputs.push_back(QStringLiteral("5"));
    start(4);
    ASSERT_FALSE(shownAtStart.empty());
    const auto& asked = shownAtStart.front();
    EXPECT_EQ(asked.kind, "input");
    EXPECT_EQ(asked.title, "Update the Local Time / UTC Offset?");
    EXPECT_EQ(asked.proposed, "5");
    EXPECT_TRUE(asked.text.contains(QStringLiteral("Current Offset Setting: 4\r\n")));
    EXPECT_EQ(savedOffset(), 5);
    EXPECT_EQ(form->defaultData().utcOffsetHours, 5);
}

TEST_F(UtcOffsetCheckTest, cancelKeepsTheStoredOffset)
{
    dialogs.inputs.push_back(std::nullopt);
    start(4);
    EXPECT_EQ(form->defaultData().utcOffsetHours, 4);
    EXPECT_EQ(savedOffset(), 4);
}

} // namespace
} // namespace brindle
