#include "keying/CwKeyerWindow.h"

#include "app/keying/CwOnTheMainWindow.h"
#include "keying/CwKeyer.h"
#include "log/ContestSession.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

#include <algorithm>
#include <filesystem>

namespace brindle {
namespace {

using test::CwOnTheMainWindowTest;
using test::lendingTo;
using test::rtsAt;
using test::waitUntilIdle;

// The window over a real keyer keying a recording line, and the settings file in a folder of its own.
class CwKeyerWindowTest : public ::testing::Test, protected test::KeyerOnRecordingLine
{
protected:
    void SetUp() override
    {
        keyer.applySettings(rtsAt(100));
    }
    // The settings store is shared by every test: the timing choice and loop count are left at their
    // defaults for the next.
    void TearDown() override
    {
        window.reset();
        settings.save(settingkeys::UserCWSelection, "Timer");
        settings.save(settingkeys::UserCWLoopOffset, "0");
    }

    CwKeyerWindow& open()
    {
        if (!window) {
            window = std::make_unique<CwKeyerWindow>(keyer, dialogs);
        }
        window->show();
        QApplication::setActiveWindow(window.get());
        return *window;
    }
    template <class W = QLineEdit> W* control(const char* name)
    {
        W* found = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* field(const char* name)
    {
        return control<QLineEdit>(name);
    }
    void click(const char* name)
    {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    // Typed into an emptied field.
    void retype(const char* name, const char* keys)
    {
        field(name)->setFocus(Qt::TabFocusReason);
        field(name)->clear();
        QTest::keyClicks(field(name), QString::fromLatin1(keys));
    }
    int keyDowns() const
    {
        const auto edges = line.edges();
        return static_cast<int>(std::count_if(edges.begin(), edges.end(), [](const auto& edge) { return edge.down; }));
    }
    // The operator moves on to the next field.
    void leave(const char* name)
    {
        QTest::keyClick(field(name), Qt::Key_Tab);
    }

    std::unique_ptr<CwKeyerWindow> window;
};

TEST_F(CwKeyerWindowTest, ShowsTheKeyersSettingsEachTimeItOpens)
{
    CwSettings stored = rtsAt(28);
    stored.messages[0] = "CQ TEST $";
    stored.messages[9] = "TU $";
    stored.messages[10] = "NR?";
    stored.keying = CwKeying::Dtr;
    stored.wordSpace = "-2";
    stored.parallelAddress = "&H278";
    stored.showTextOnMain = true;
    stored.repeatSeconds = "4.5";
    keyer.applySettings(stored);
    keyer.setTiming(CwTiming::Sleep);
    keyer.setLoopsPer60Ms(4321);
    open();
    EXPECT_EQ(window->windowTitle(), "CW String Selections");
    EXPECT_EQ(field("messageField_F1")->text(), "CQ TEST $");
    EXPECT_EQ(field("messageField_F10")->text(), "TU $");
    EXPECT_EQ(field("messageField_F11")->text(), "NR?");
    EXPECT_EQ(field("cwPortField")->text(), "1");
    EXPECT_EQ(field("speedField")->text(), "28");
    EXPECT_EQ(field("wordSpaceField")->text(), "-2");
    EXPECT_EQ(field("parallelAddressField")->text(), "&H278");
    EXPECT_EQ(field("repeatSecondsField")->text(), "4.5");
    EXPECT_EQ(field("loopCountField")->text(), "4321");
    EXPECT_TRUE(control<QCheckBox>("showTextOnMainCheck")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("dtrOption")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("sleepTimingOption")->isChecked());
    EXPECT_FALSE(control<QPushButton>("configureWinKeyButton")->isVisible()) << "no WinKey window to configure";

    window->hide();
    keyer.speedUp();
    stored.messages[0] = "CQ DX";
    stored.speed = "29";
    keyer.applySettings(stored);
    open();
    EXPECT_EQ(field("messageField_F1")->text(), "CQ DX");
    EXPECT_EQ(field("speedField")->text(), "29");
}

TEST_F(CwKeyerWindowTest, MessagesAreTypedInCapitalsAndRefuseADoubleQuote)
{
    open();
    retype("messageField_F2", "tu \"5nn\" $");
    EXPECT_EQ(field("messageField_F2")->text(), "TU 5NN $");
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(keyer.settings().messages[1], "TU 5NN $") << "the function key sends what the field shows";

    // Pasted (Ctrl+V or the field's menu), the quote would end the message early in the settings file
    // all the same.
    QGuiApplication::clipboard()->setText(QStringLiteral("QRZ \"?\""));
    field("messageField_F2")->paste();
    EXPECT_EQ(field("messageField_F2")->text(), "TU 5NN $");
    EXPECT_EQ(dialogs.beeps, 3);
}

TEST_F(CwKeyerWindowTest, NumberFieldsTakeTheirCharactersAndBecomeZeroWhenLeftWithoutANumber)
{
    const struct
    {
        const char* field;
        const char* typed;
        const char* shown;
        const char* left;
    } cases[] = {
        { "cwPortField", "1a-2", "12", "12" },
        { "cwPortField", "", "", "0" },
        { "speedField", "2.5x", "25", "25" },
        { "speedField", "", "", "0" },
        { "wordSpaceField", "-1.5/e", "-1.5", "-1.5" },
        { "wordSpaceField", "-", "-", "0" },
        { "wordSpaceField", "-12", "-8", "-8" },
        { "repeatSecondsField", "-59.5", "59.5", "59.5" },
        { "repeatSecondsField", "60", "60", "0" },
        { "repeatSecondsField", ".", ".", "0" },
    };
    open();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << " " << c.typed);
        retype(c.field, c.typed);
        EXPECT_EQ(field(c.field)->text(), c.shown);
        leave(c.field);
        EXPECT_EQ(field(c.field)->text(), c.left);
    }
    const CwSettings& applied = keyer.settings();
    EXPECT_EQ(applied.port, "0");
    EXPECT_EQ(applied.speed, "0");
    EXPECT_EQ(applied.wordSpace, "-8");
    EXPECT_EQ(applied.repeatSeconds, "0");
}

TEST_F(CwKeyerWindowTest, ThePortAndSpeedAreSelectedWholeOnFocusAndLeavingThePortReopensIt)
{
    open();
    for (const char* name : { "speedField", "cwPortField" }) {
        field(name)->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        EXPECT_EQ(field(name)->selectedText(), field(name)->text()) << name;
    }
    // Left as it was, the port is closed and opened again all the same; the speed opens nothing.
    leave("cwPortField");
    ASSERT_TRUE(QTest::qWaitFor([this] { return source.opens == 1; }, 5000));
    field("speedField")->setFocus(Qt::TabFocusReason);
    leave("speedField");
    field("cwPortField")->setFocus(Qt::TabFocusReason);
    leave("cwPortField");
    ASSERT_TRUE(QTest::qWaitFor([this] { return source.opens == 2; }, 5000));
    EXPECT_EQ(source.closes, 1);
}

TEST_F(CwKeyerWindowTest, MoreAndLessStepTheWordSpaceAndStopAtMinusEight)
{
    CwSettings settings = keyer.settings();
    settings.wordSpace = "-6";
    keyer.applySettings(settings);
    open();
    for (int i = 0; i < 3; ++i) {
        click("lessSpaceButton");
    }
    EXPECT_EQ(field("wordSpaceField")->text(), "-8");
    click("moreSpaceButton");
    EXPECT_EQ(field("wordSpaceField")->text(), "-7");
    EXPECT_EQ(keyer.settings().wordSpace, "-7");
}

TEST_F(CwKeyerWindowTest, FasterAndSlowerChangeTheSpeedTheKeyerKeysAt)
{
    open();
    retype("speedField", "20");
    EXPECT_EQ(keyer.speedText(), "20");
    click("fasterButton");
    EXPECT_EQ(field("speedField")->text(), "21");
    click("slowerButton");
    click("slowerButton");
    EXPECT_EQ(field("speedField")->text(), "19");
    EXPECT_EQ(keyer.speedText(), "19");
}

TEST_F(CwKeyerWindowTest, ChoosingAKeyingOptionSetsTheKeyingAtOnce)
{
    open();
    click("dtrOption");
    EXPECT_EQ(keyer.settings().keying, CwKeying::Dtr);
    EXPECT_EQ(session.keying.cwKeying, CwKeying::Dtr);
    click("noKeyingOption");
    EXPECT_EQ(session.keying.cwKeying, CwKeying::None);
    click("parallelOption");
    EXPECT_EQ(session.keying.cwKeying, CwKeying::ParallelPort);
}

TEST_F(CwKeyerWindowTest, TheLoopTimingIsCalibratedOnceWhenItsCountIsZero)
{
    keyer.setLoopsPer60Ms(0);
    open();
    const auto loopControlsEnabled = [this] {
        const bool field = control<QLineEdit>("loopCountField")->isEnabled();
        EXPECT_EQ(control<QLabel>("loopCountCaption")->isEnabled(), field);
        EXPECT_EQ(control<QPushButton>("loopFasterButton")->isEnabled(), field);
        EXPECT_EQ(control<QPushButton>("loopSlowerButton")->isEnabled(), field);
        return field;
    };
    EXPECT_FALSE(loopControlsEnabled());

    click("loopTimingOption");
    EXPECT_EQ(keyer.timing(), CwTiming::Loop);
    EXPECT_TRUE(loopControlsEnabled());
    const double calibrated = keyer.loopsPer60Ms();
    EXPECT_GT(calibrated, 0);
    EXPECT_EQ(field("loopCountField")->text().toDouble(), calibrated);

    click("sleepTimingOption");
    EXPECT_EQ(keyer.timing(), CwTiming::Sleep);
    EXPECT_FALSE(loopControlsEnabled());
    click("loopTimingOption");
    EXPECT_EQ(keyer.loopsPer60Ms(), calibrated) << "a count there is kept";

    // A count typed takes effect at once; text that is no count is ignored.
    retype("loopCountField", "1234");
    EXPECT_EQ(keyer.loopsPer60Ms(), 1234);
    retype("loopCountField", "fast");
    EXPECT_EQ(keyer.loopsPer60Ms(), 1234);
}

TEST_F(CwKeyerWindowTest, SpeedUpAndSlowDownOfTheLoopTakeATenthAndGiveItBackThenGoToDone)
{
    keyer.setTiming(CwTiming::Loop);
    keyer.setLoopsPer60Ms(1000);
    open();
    click("loopFasterButton");
    EXPECT_EQ(field("loopCountField")->text(), "900");
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>("doneButton"));
    click("loopSlowerButton");
    EXPECT_EQ(field("loopCountField")->text(), "1000");
    EXPECT_EQ(keyer.loopsPer60Ms(), 1000);
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>("doneButton"));
    retype("loopCountField", "5");
    click("loopFasterButton");
    EXPECT_EQ(field("loopCountField")->text(), "4") << "4.5 rounds to the even neighbour";
}

TEST_F(CwKeyerWindowTest, TestSendsTheF9MessageAndSaysSendingWhileItIsOnTheAir)
{
    CwSettings settings = keyer.settings();
    settings.messages[8] = "VVV";
    keyer.applySettings(settings);
    open();
    EXPECT_FALSE(control<QLabel>("sendingLabel")->isVisible());
    click("testButton");
    EXPECT_TRUE(control<QLabel>("sendingLabel")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), field("messageField_F1"));
    ASSERT_TRUE(waitUntilIdle(keyer));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !control<QLabel>("sendingLabel")->isVisible(); }, 5000));
    EXPECT_EQ(keyDowns(), 12) << "three times ...-";
}

TEST_F(CwKeyerWindowTest, TestRefusesASerialLineWithoutAPort)
{
    const struct
    {
        const char* option;
        bool refused;
    } cases[] = { { "rtsOption", true }, { "dtrOption", true }, { "parallelOption", false } };
    CwSettings settings = keyer.settings();
    settings.messages[8] = "E";
    keyer.applySettings(settings);
    open();
    retype("cwPortField", "0");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        click(c.option);
        dialogs.shown.clear();
        dialogs.beeps = 0;
        click("testButton");
        ASSERT_TRUE(waitUntilIdle(keyer));
        if (c.refused) {
            EXPECT_EQ(dialogs.beeps, 1);
            ASSERT_EQ(dialogs.shown.size(), 1u);
            EXPECT_EQ(dialogs.shown[0].title, "A com port is required.");
            EXPECT_EQ(dialogs.shown[0].text, "Please enter a com port for CW rig interface.");
            EXPECT_EQ(QApplication::focusWidget(), field("cwPortField"));
            EXPECT_EQ(keyDowns(), 0);
        } else {
            EXPECT_TRUE(dialogs.shown.empty());
            EXPECT_EQ(keyDowns(), 1) << "the printer port needs no number";
        }
    }
}

TEST_F(CwKeyerWindowTest, DoneWritesTheSettingsFileAndTheTimingToTheStoreAndHides)
{
    open();
    QSignalSpy saved(window.get(), &CwKeyerWindow::settingsSaved);
    retype("messageField_F1", "cq test $");
    retype("messageField_F11", "agn?");
    retype("speedField", "32");
    retype("repeatSecondsField", "5");
    click("showTextOnMainCheck");
    click("dtrOption");
    click("loopTimingOption");
    retype("loopCountField", "4321");
    click("doneButton");

    CwSettings expected = rtsAt(32);
    expected.messages[0] = "CQ TEST $";
    expected.messages[10] = "AGN?";
    expected.keying = CwKeying::Dtr;
    expected.showTextOnMain = true;
    expected.repeatSeconds = "5";
    EXPECT_EQ(test::readBytes(temp.file("CW.txt")), formatCwSettings(expected));
    EXPECT_EQ(settings.get(settingkeys::UserCWSelection, ""), "Loop");
    EXPECT_EQ(settings.get(settingkeys::UserCWLoopOffset, ""), "4321");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(saved.size(), 1);
}

TEST_F(CwKeyerWindowTest, DoneThatCannotWriteTheFileOnlyHides)
{
    std::filesystem::create_directory(temp.file("CW.txt"));
    open();
    QSignalSpy saved(window.get(), &CwKeyerWindow::settingsSaved);
    click("doneButton");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(saved.size(), 0);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(CwKeyerWindowTest, CodePracticeOpensModallyAndWhatItLeftWaitingIsDroppedWhenItCloses)
{
    open();
    QString opened;
    dialogs.onModal = [&opened](QDialog& practice) {
        opened = practice.objectName();
        QTest::mouseClick(practice.findChild<QPushButton*>(QStringLiteral("fasterButton")), Qt::LeftButton);
        QTest::keyClicks(practice.findChild<QLineEdit*>(QStringLiteral("keyboardField")), QStringLiteral("tttt"));
    };
    click("codePracticeButton");
    EXPECT_EQ(opened, "CodePracticeDialog");
    EXPECT_FALSE(keyer.hasWaitingText());
    ASSERT_TRUE(waitUntilIdle(keyer));
    EXPECT_LT(keyDowns(), 4);
    EXPECT_EQ(field("speedField")->text(), "101") << "the practice's Faster is the keyer's";
}

// The menu opens the window modally; Ctrl+C and Ctrl+S open it beside the main window.
class CwSetupOnTheMainWindowTest : public CwOnTheMainWindowTest
{
protected:
    CwKeyerWindow* keyerWindow()
    {
        return form->findChild<CwKeyerWindow*>(QStringLiteral("CwKeyerWindow"));
    }
};

TEST_F(CwSetupOnTheMainWindowTest, TheMenuItemOpensTheWindowModallyShowingTheKeyersSettings)
{
    auto* item = form->findChild<QAction*>(QStringLiteral("cwSetupAction"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "&CW Setup");
    EXPECT_TRUE(item->isEnabled());
    QString speedShown;
    dialogs.onModal = [&speedShown](QDialog& window) {
        speedShown = window.findChild<QLineEdit*>(QStringLiteral("speedField"))->text();
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("doneButton")), Qt::LeftButton);
    };
    item->trigger();
    EXPECT_EQ(speedShown, "100");
    EXPECT_TRUE(std::filesystem::exists(folders.workingDir + "/CW.txt"));
}

TEST_F(CwSetupOnTheMainWindowTest, CtrlCAndCtrlSOpenTheWindowBesideTheMainWindowAtItsNormalSize)
{
    startClock();
    for (const Qt::Key key : { Qt::Key_C, Qt::Key_S }) {
        SCOPED_TRACE(key);
        QTest::keyClick(field("callField"), key, Qt::ControlModifier);
        ASSERT_NE(keyerWindow(), nullptr);
        EXPECT_TRUE(keyerWindow()->isVisible());
        EXPECT_FALSE(keyerWindow()->isModal());
        EXPECT_EQ(field("callField")->text(), "") << "the letter reaches no field";
        keyerWindow()->showMinimized();
        QApplication::setActiveWindow(form.get());
    }
    QTest::keyClick(field("callField"), Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(keyerWindow()->isMinimized());
}

TEST_F(CwSetupOnTheMainWindowTest, DoneGivesTheFocusBackToTheMainWindow)
{
    QTest::keyClick(field("callField"), Qt::Key_C, Qt::ControlModifier);
    QApplication::setActiveWindow(keyerWindow());
    QTest::mouseClick(keyerWindow()->findChild<QPushButton*>(QStringLiteral("doneButton")), Qt::LeftButton);
    EXPECT_FALSE(keyerWindow()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([this] { return form->isActiveWindow(); }, 2000));
}

} // namespace
} // namespace brindle
