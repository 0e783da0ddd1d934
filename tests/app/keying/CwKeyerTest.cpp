#include "keying/CwKeyer.h"
#include "log/ContestSession.h"

#include "app/keying/CwOnTheMainWindow.h"
#include "keying/KeyingLines.h"
#include "serial/PortMap.h"
#include "support/PtyPair.h"
#include "support/RecordingKeyingLine.h"
#include "support/WithoutRealTimePriority.h"

#include <QSignalSpy>

#include <thread>

namespace brindle {
namespace {

using test::CwOnTheMainWindowTest;
using test::lendingTo;
using test::RecordingKeyingLine;
using test::RecordingLineSource;
using test::rtsAt;
using test::waitUntilIdle;

class CwKeyerTest : public ::testing::Test
{
protected:
    CwKeyer& keyer()
    {
        if (!m_keyer) {
            m_keyer = std::make_unique<CwKeyer>(fs, temp.path(), settings, dialogs, lendingTo(source));
            m_keyer->attach(session);
        }
        return *m_keyer;
    }
    // The settings store is shared by every test: the timing choice and loop count are left at their
    // defaults for the next.
    void TearDown() override
    {
        settings.save(settingkeys::UserCWSelection, "Timer");
        settings.save(settingkeys::UserCWLoopOffset, "0");
    }

    test::TempFolder temp;
    PosixFileSystem fs;
    QtSettingsStore settings;
    test::ScriptedDialogs dialogs;
    ContestSession session { fs, temp.file("log.txt") };
    KeyingState& keying = session.keying;
    RecordingKeyingLine line;
    RecordingLineSource source { line };
    std::unique_ptr<CwKeyer> m_keyer;
};

TEST_F(CwKeyerTest, TextIsKeyedOnTheKeyingThreadWhileTheWindowsRunOn)
{
    keyer().applySettings(rtsAt(60));
    keyer().appendText("TEST");
    // The call returns at once: the window's thread is free while the text is keyed.
    EXPECT_TRUE(keyer().isSending());
    ASSERT_TRUE(waitUntilIdle(keyer()));
    const auto edges = line.edges();
    ASSERT_EQ(edges.size(), 2u * 6u) << "T, E, S (three dots), T";
    for (const auto& edge : edges) {
        EXPECT_NE(edge.thread, std::this_thread::get_id());
    }
    EXPECT_FALSE(line.isDown());
    EXPECT_EQ(source.opens, 1);
}

TEST_F(CwKeyerTest, ClearingTheBufferFinishesTheCharacterOnTheAirAndStops)
{
    keyer().applySettings(rtsAt(60));
    keyer().appendText(std::string(10000, 'H'));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !line.edges().empty(); }, 5000));
    // Esc hammered while sending.
    for (int i = 0; i < 200; ++i) {
        keyer().clearBuffer();
    }
    ASSERT_TRUE(waitUntilIdle(keyer()));
    const auto edges = line.edges();
    EXPECT_LE(edges.size(), 2u * 4u * 2u) << "at most the H on the air and one taken meanwhile";
    EXPECT_EQ(edges.size() % 8, 0u) << "whole characters only";
    EXPECT_FALSE(line.isDown());
}

TEST_F(CwKeyerTest, KeyboardCwBackspaceTakesBackOnlyWhatIsNotYetOnTheAir)
{
    keyer().applySettings(rtsAt(60));
    keyer().typeCharacter('T');
    keyer().typeCharacter('E');
    keyer().typeCharacter('S');
    EXPECT_TRUE(keyer().takeBackCharacter());
    ASSERT_TRUE(waitUntilIdle(keyer()));
    EXPECT_FALSE(keyer().takeBackCharacter());
    EXPECT_EQ(line.edges().size(), 2u * 2u) << "T and E only";
}

TEST_F(CwKeyerTest, APortThatCannotBeOpenedIsReportedOncePerMessageAndTriedAgainWithTheNext)
{
    source.refusal = "/dev/ttyUSB0: No such file or directory";
    keyer().applySettings(rtsAt(60));
    keyer().appendText("CQ CQ TEST");
    ASSERT_TRUE(waitUntilIdle(keyer()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialogs.shown.size() == 1; }, 5000));
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Invalid port.");
    EXPECT_EQ(dialogs.shown[0].text,
        "The port you have selected for CW keying is invalid.  Please select another or enter 0 for none.\n\n"
        "/dev/ttyUSB0: No such file or directory");
    EXPECT_EQ(dialogs.beeps, 1);

    source.refusal = nullptr;
    keyer().appendText("E");
    ASSERT_TRUE(waitUntilIdle(keyer()));
    EXPECT_EQ(line.edges().size(), 2u);
}

TEST_F(CwKeyerTest, ReopeningThePortTellsAtOnceWhenItCannotBeOpened)
{
    keyer().applySettings(rtsAt(60));
    keyer().openCwPort();
    ASSERT_TRUE(QTest::qWaitFor([this] { return source.opens == 1; }, 5000));
    EXPECT_TRUE(dialogs.shown.empty());

    source.refusal = "/dev/ttyUSB0: Permission denied";
    keyer().openCwPort();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs.shown.empty(); }, 5000));
    EXPECT_EQ(dialogs.shown[0].title, "Invalid port.");
    EXPECT_EQ(source.closes, 1) << "the port open before was let go first";
}

TEST_F(CwKeyerTest, ReopeningPortZeroOnlyLetsThePortGo)
{
    keyer().applySettings(rtsAt(60));
    keyer().openCwPort();
    ASSERT_TRUE(QTest::qWaitFor([this] { return source.opens == 1; }, 5000));
    CwSettings none = rtsAt(60);
    none.port = "0";
    keyer().applySettings(none);
    keyer().openCwPort();
    ASSERT_TRUE(QTest::qWaitFor([this] { return source.closes == 1; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(source.opens, 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(CwKeyerTest, ALineLostWhileSendingStopsTheMessageTellsTheOperatorAndReopensNextTime)
{
    keyer().applySettings(rtsAt(60));
    line.failAfter = 3;
    keyer().appendText("HHHH");
    ASSERT_TRUE(waitUntilIdle(keyer()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs.shown.empty(); }, 5000));
    EXPECT_EQ(dialogs.shown[0].title, "CW keying stopped");
    EXPECT_TRUE(dialogs.shown[0].text.contains("Input/output error"));
    EXPECT_FALSE(line.isDown());
    EXPECT_EQ(source.closes, 1);

    line.failAfter = -1;
    keyer().appendText("E");
    ASSERT_TRUE(waitUntilIdle(keyer()));
    EXPECT_EQ(source.opens, 2);
    EXPECT_EQ(line.edges().size(), 3u + 2u);
}

TEST_F(CwKeyerTest, NoSpeedSendsNothingAndSaysSoOnce)
{
    CwSettings settings = rtsAt(1);
    keyer().applySettings(settings);
    keyer().slowDown(); // 0 WPM
    QSignalSpy notices(&keyer(), &CwKeyerControl::noticeForOperator);
    keyer().appendText("CQ TEST");
    ASSERT_TRUE(waitUntilIdle(keyer()));
    ASSERT_TRUE(QTest::qWaitFor([&notices] { return notices.size() == 1; }, 5000));
    EXPECT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0][0].toString(), "No CW sent: the speed must be at least 1 WPM.");
    for (const auto& edge : line.edges()) {
        EXPECT_FALSE(edge.down);
    }
}

TEST_F(CwKeyerTest, TheDisplayOptionShowsTheRestOfTheTextAndThenTheKeyboardModeHint)
{
    CwSettings settings = rtsAt(100);
    settings.showTextOnMain = true;
    keyer().applySettings(settings);
    keying.keyboardCwMode = true;
    QSignalSpy shown(&keyer(), &CwKeyerControl::unsentTextChanged);
    keyer().appendText("ABC");
    ASSERT_TRUE(waitUntilIdle(keyer()));
    ASSERT_TRUE(QTest::qWaitFor([&shown] { return shown.size() == 4; }, 5000));
    EXPECT_EQ(shown[0][0].toString(), "BC");
    EXPECT_EQ(shown[1][0].toString(), "C");
    EXPECT_EQ(shown[2][0].toString(), "");
    EXPECT_EQ(shown[3][0].toString(), "Keyboard CW Mode is on.  Press F12 to exit.");
}

TEST_F(CwKeyerTest, NoKeyingOptionSendsNothing)
{
    CwSettings settings = rtsAt(60);
    settings.keying = CwKeying::None;
    keyer().applySettings(settings);
    keyer().appendText("CQ");
    EXPECT_FALSE(keyer().isSending());
    EXPECT_EQ(source.opens, 0);
    EXPECT_EQ(keying.cwKeying, CwKeying::None);
}

TEST_F(CwKeyerTest, StartUpReadsTheSettingsFileAndTheTimingChoice)
{
    CwSettings stored = rtsAt(32);
    stored.keying = CwKeying::Dtr;
    stored.messages[0] = "CQ TEST $";
    stored.messages[8] = "VVV DE G4ABC";
    test::writeBytes(temp.file("cw.txt"), formatCwSettings(stored));
    settings.save(settingkeys::UserCWSelection, "Sleep");
    settings.save(settingkeys::UserCWLoopOffset, "123456");
    keyer().loadSettings();
    EXPECT_EQ(keyer().settings(), stored);
    EXPECT_EQ(keying.cwKeying, CwKeying::Dtr);
    EXPECT_EQ(keyer().timing(), CwTiming::Sleep);
    EXPECT_EQ(keyer().loopsPer60Ms(), 123456.0);
}

TEST_F(CwKeyerTest, TheSettingsFileIsOneFileWhateverTheCaseOfItsName)
{
    CwSettings stored = rtsAt(25);
    stored.messages[8] = "VVV DE G4ABC";
    test::writeBytes(temp.file("Cw.Txt"), formatCwSettings(stored));
    keyer().loadSettings();
    EXPECT_EQ(keyer().settings(), stored);

    CwSettings changed = stored;
    changed.messages[0] = "CQ TEST G4ABC";
    keyer().applySettings(changed);
    keyer().setTiming(CwTiming::Loop);
    keyer().setLoopsPer60Ms(654321.4);
    ASSERT_TRUE(keyer().saveCwSettings().ok());
    EXPECT_EQ(test::readBytes(temp.file("Cw.Txt")), formatCwSettings(changed));
    EXPECT_FALSE(std::filesystem::exists(temp.file("CW.txt")));
    EXPECT_EQ(settings.get(settingkeys::UserCWSelection, ""), "Loop");
    EXPECT_EQ(settings.get(settingkeys::UserCWLoopOffset, ""), "654321");
}

TEST_F(CwKeyerTest, WithoutASettingsFileDoneWritesCwTxt)
{
    keyer().loadSettings();
    EXPECT_EQ(keyer().settings(), CwSettings {});
    ASSERT_TRUE(keyer().saveCwSettings().ok());
    EXPECT_EQ(test::readBytes(temp.file("CW.txt")), formatCwSettings(CwSettings {}));
}

TEST_F(CwKeyerTest, KeyingWithoutRealTimePrioritySaysSoOnceWithTheRemedy)
{
    {
        test::WithoutRealTimePriority refused;
        keyer(); // its keying thread starts now, without the right
    }
    QSignalSpy notices(&keyer(), &CwKeyerControl::noticeForOperator);
    keyer().applySettings(rtsAt(100));
    keyer().setTiming(CwTiming::Timer);
    for (int message = 0; message < 2; ++message) {
        keyer().appendText("E");
        ASSERT_TRUE(waitUntilIdle(keyer()));
    }
    QTRY_COMPARE(notices.size(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(notices.size(), 1) << "said once, not at every message";
    const QString notice = notices[0][0].toString();
    EXPECT_TRUE(notice.startsWith(QStringLiteral("No real-time priority for CW"))) << notice.toStdString();
    EXPECT_TRUE(notice.contains(QStringLiteral("@audio - rtprio 20"))) << notice.toStdString();
    EXPECT_FALSE(keyer().hasRealTimePriority());
    EXPECT_EQ(line.edges().size(), 4u) << "the text is keyed all the same";
}

TEST_F(CwKeyerTest, EndingTheProgramMidMessageLeavesTheKeyUp)
{
    CwSettings settings = rtsAt(5);
    settings.wordSpace = "1000";
    keyer().applySettings(settings);
    keyer().appendText("T T");
    ASSERT_TRUE(QTest::qWaitFor([this] { return line.isDown(); }, 5000));
    m_keyer.reset();
    EXPECT_FALSE(line.isDown());
    EXPECT_EQ(source.closes, 1);
}

// The computer's own lines: a serial port that exists but has no modem-control lines (a pseudo-terminal,
// as some USB gadgets) opens, and the first key-down is refused: the operator is told, not left keying
// into nothing.
TEST(CwKeyerOnARealPort, APortWithoutModemLinesIsReportedNotSwallowed)
{
    test::TempFolder temp;
    test::PtyPair pair(temp.path());
    ASSERT_EQ(pair.failure(), "");
    QtSettingsStore settings;
    PortMap map;
    map.setPortDevice(1, pair.near());
    savePortMap(settings, map);
    PosixFileSystem fs;
    test::ScriptedDialogs dialogs;
    ContestSession session { fs, temp.file("log.txt") };
    CwKeyer keyer(fs, temp.path(), settings, dialogs, systemKeyingLines);
    keyer.attach(session);
    keyer.applySettings(rtsAt(60));
    keyer.appendText("TEST");
    ASSERT_TRUE(waitUntilIdle(keyer));
    ASSERT_TRUE(QTest::qWaitFor([&dialogs] { return !dialogs.shown.empty(); }, 5000));
    EXPECT_EQ(dialogs.shown[0].title, "CW keying stopped");
    EXPECT_TRUE(dialogs.shown[0].text.contains("no modem-control lines")) << dialogs.shown[0].text.toStdString();
    EXPECT_EQ(dialogs.shown.size(), 1u) << "one report for the message";
    savePortMap(settings, PortMap {});
}

// The whole main window with a real keyer: the log character logs the contact in the fields once the
// text before it is on the air; Esc stops sending before it clears anything; a close is refused while
// sending.
TEST_F(CwOnTheMainWindowTest, ACwPortThatCannotBeOpenedBringsUpTheCwWindow)
{
    source.refusal = "/dev/ttyUSB0: No such file or directory";
    QString shown;
    dialogs.onModal = [&shown](QDialog& window) {
        shown = window.objectName();
        window.close();
    };
    cwKeyer->appendText("E");

    QTRY_COMPARE(shown, QStringLiteral("CwKeyerWindow"));
    EXPECT_EQ(dialogs.titles(), QStringList { QStringLiteral("Invalid port.") });
}

TEST_F(CwOnTheMainWindowTest, TheLogCharacterLogsTheContactAfterTheTextBeforeIt)
{
    startClock();
    typeCall("DL1ABC");
    field("rstRcvdField")->setText("599");
    field("sectionField")->setText("NH");
    field("rstSentField")->setText("599");
    const int before = form->workingLog().log().count();
    cwKeyer->appendText("TU!E");
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->workingLog().log().count() == before + 1; }, 5000));
    EXPECT_EQ(form->workingLog().log().records().back().call, "DL1ABC");
    EXPECT_EQ(line.edges().size(), 2u * (1 + 3 + 1)) << "T, U (two dots and a dash), E";
}

TEST_F(CwOnTheMainWindowTest, TheLogCharacterWithAnEmptyCallLogsNothing)
{
    const int before = form->workingLog().log().count();
    cwKeyer->appendText("TU!");
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    QTest::qWait(50);
    EXPECT_EQ(form->workingLog().log().count(), before);
}

TEST_F(CwOnTheMainWindowTest, EscStopsTheSendingAndKeepsTheEntryCloseIsRefusedMeanwhile)
{
    typeCall("DL1ABC");
    cwKeyer->appendText("CQ CQ CQ TEST TEST TEST");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !line.edges().empty(); }, 5000));
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    cwKeyer->appendText("CQ CQ CQ TEST TEST TEST");
    QTest::keyClick(field("callField"), Qt::Key_Escape);
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    EXPECT_EQ(field("callField")->text(), "DL1ABC");
    EXPECT_LT(line.edges().size(), 2u * 20u);
    EXPECT_FALSE(line.isDown());
}

// The stored messages on the function keys, sent through real key events on the main window.
class CwMessagesOnTheMainWindowTest : public CwOnTheMainWindowTest
{
protected:
    void SetUp() override
    {
        CwOnTheMainWindowTest::SetUp();
        CwSettings settings = rtsAt(100);
        settings.messages[0] = "CQ";
        settings.messages[1] = "$ *";
        settings.messages[3] = "E";
        settings.messages[9] = "T";
        cwKeyer->applySettings(settings);
    }
    void press(Qt::Key key)
    {
        QTest::keyClick(field("callField"), key);
    }
    // The key-down edges keyed so far, as the elements' lengths in units at 100 WPM: 1 a dot, 3 a dash.
    std::string elements() const
    {
        std::string keyed;
        const auto edges = line.edges();
        for (std::size_t i = 0; i + 1 < edges.size(); i += 2) {
            const double ms = std::chrono::duration<double, std::milli>(edges[i + 1].at - edges[i].at).count();
            keyed += ms > 24 ? '-' : '.';
        }
        return keyed;
    }
};

TEST_F(CwMessagesOnTheMainWindowTest, F2SendsTheCallAndTheReportFilledIn)
{
    typeCall("K1AB");
    field("rstSentField")->setText(QStringLiteral("599"));
    press(Qt::Key_F2);
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    // K1AB 5NN: -.- .---- .- -... then ..... -. -.
    EXPECT_EQ(elements(),
        "-.-"
        ".----"
        ".-"
        "-..."
        "....."
        "-."
        "-.");
}

TEST_F(CwMessagesOnTheMainWindowTest, F1RepeatsAfterItsPauseUntilAKeyIsPressed)
{
    CwSettings settings = cwKeyer->settings();
    settings.repeatSeconds = "0.2";
    cwKeyer->applySettings(settings);
    press(Qt::Key_F1);
    // CQ is -.-. --.- : eight elements a sending.
    ASSERT_TRUE(QTest::qWaitFor([this] { return elements().size() >= 16; }, 10000)) << "sent again after the pause";
    press(Qt::Key_F4);
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    const std::string keyed = elements();
    EXPECT_EQ(keyed.back(), '.') << "F4's E ends it";
    QTest::qWait(400);
    EXPECT_EQ(elements(), keyed) << "no repeat after a key";
}

TEST_F(CwMessagesOnTheMainWindowTest, F2InThePauseEndsTheRepeatAndSendsF2)
{
    CwSettings settings = cwKeyer->settings();
    settings.repeatSeconds = "5";
    cwKeyer->applySettings(settings);
    typeCall("K1AB");
    press(Qt::Key_F1);
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    ASSERT_EQ(elements(),
        "-.-."
        "--.-");
    press(Qt::Key_F2);
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    // K1AB and the report 5NN followed F1's CQ; the repeat is over.
    EXPECT_EQ(elements(),
        "-.-."
        "--.-"
        "-.-"
        ".----"
        ".-"
        "-..."
        "....."
        "-."
        "-.");
}

TEST_F(CwMessagesOnTheMainWindowTest, KeyboardCwTypesOntoTheAirAndBackspaceTakesBackTheUnsent)
{
    press(Qt::Key_F12);
    EXPECT_EQ(text("messageLabel"), "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");
    QTest::keyClicks(field("callField"), QStringLiteral("tee"));
    QTest::keyClick(field("callField"), Qt::Key_Backspace);
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    EXPECT_EQ(field("callField")->text(), "") << "typed text goes on the air, not into the fields";
    EXPECT_EQ(elements(), "-.") << "T and one E: the last E was taken back before it was sent";
    press(Qt::Key_F12);
    EXPECT_EQ(text("messageLabel"), "");
}

TEST_F(CwMessagesOnTheMainWindowTest, AFunctionKeyDuringAMessageReplacesItsRest)
{
    CwSettings settings = cwKeyer->settings();
    settings.messages[0] = "CQ CQ CQ CQ CQ";
    cwKeyer->applySettings(settings);
    press(Qt::Key_F1);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !line.edges().empty(); }, 5000));
    press(Qt::Key_F10);
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    const std::string keyed = elements();
    EXPECT_LT(keyed.size(), 10u) << "the rest of F1 went";
    EXPECT_EQ(keyed.back(), '-') << "F10's T was sent";
}

TEST_F(CwMessagesOnTheMainWindowTest, AnEmptyMessageOrNoKeyingSendsNothing)
{
    press(Qt::Key_F3); // empty
    QTest::qWait(100);
    EXPECT_TRUE(line.edges().empty());

    CwSettings settings = cwKeyer->settings();
    settings.keying = CwKeying::None;
    cwKeyer->applySettings(settings);
    press(Qt::Key_F1);
    press(Qt::Key_Up);
    press(Qt::Key_F12);
    QTest::qWait(100);
    EXPECT_TRUE(line.edges().empty());
    EXPECT_EQ(cwKeyer->speedText(), "100");
}

TEST_F(CwMessagesOnTheMainWindowTest, TheArrowsChangeTheSpeedAndSayIt)
{
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Up);
    EXPECT_EQ(cwKeyer->speedText(), "99");
    EXPECT_EQ(text("messageLabel"), "99 WPM");
}

} // namespace
} // namespace brindle
