#include "keying/CwKeyer.h"
#include "keying/CwKeyerWindow.h"
#include "keying/WinKeySetupDialog.h"
#include "log/ContestSession.h"

#include "app/keying/CwOnTheMainWindow.h"
#include "support/ByteString.h"
#include "support/PtyPair.h"
#include "support/WinKeySimulator.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace brindle {
namespace {

using test::lendingTo;
using test::bytes;
using test::WinKeySimulator;

const std::string Opening = bytes({ 0x13, 0x13, 0x13, 0x00, 0x04, 0x55 });
const std::string HostOpen = bytes({ 0x00, 0x02 });
// The default settings as an opening sends them: speed 18, weight 50, lead-in and tail 0, ratio 50,
// the side tone on pin 5, iambic B.
const std::string DefaultSettings
    = bytes({ 0x02, 18, 0x03, 50, 0x04, 0, 0, 0x17, 50, 0x09, 6, 0x0E, 0 });

CwSettings winKeyAt(int wordsPerMinute)
{
    CwSettings settings;
    settings.keying = CwKeying::WinKey;
    settings.speed = std::to_string(wordsPerMinute);
    return settings;
}

// The keyer's serial port is number 3, the near end of a pseudo-terminal pair whose far end a simulated
// keyer answers; port 4 stands for a device that is not there.
struct WinKeyOnAPty
{
    PortDeviceLookup devices()
    {
        return [this](int number) { return number == 3 ? pty.near() : temp.file("ttyUSB-unplugged"); };
    }

    test::TempFolder temp;
    test::PtyPair pty { temp.path() };
    WinKeySimulator winKey { pty.far() };
};

class WinKeyTest : public ::testing::Test, protected WinKeyOnAPty
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(pty.failure(), "");
        ASSERT_EQ(winKey.failure(), "");
        winKey.setCharacterMs(15);
        keyer.attach(session);
        session.defaults.ownCall = "G4ABC";
        keyer.applySettings(winKeyAt(18));
        WinKeySettings settings = keyer.winKeySettings();
        settings.port = 3;
        keyer.setWinKeySettings(settings);
    }

    // Opens the keyer and waits for the outcome.
    WinKeyOpenOutcome open()
    {
        QSignalSpy finished(&keyer, &CwKeyer::winKeyOpenFinished);
        keyer.openWinKey();
        EXPECT_TRUE(finished.count() > 0 || finished.wait(5000));
        return finished.isEmpty() ? WinKeyOpenOutcome::NotOpen : finished.last().at(0).value<WinKeyOpenOutcome>();
    }
    bool received(const std::string& wanted)
    {
        return QTest::qWaitFor([&] { return winKey.received() == wanted; }, 5000);
    }
    bool sent(const std::string& wanted)
    {
        return QTest::qWaitFor([&] { return winKey.sentText() == wanted; }, 10000);
    }

    PosixFileSystem fs;
    QtSettingsStore settings;
    test::ScriptedDialogs dialogs;
    ContestSession session { fs, temp.file("log.txt") };
    test::RecordingKeyingLine line;
    test::RecordingLineSource source { line };
    CwKeyer keyer { fs, temp.path(), settings, dialogs, lendingTo(source), devices() };
};

TEST_F(WinKeyTest, OpeningEndsAsTheKeyerAnswersWithTheBytesExchanged)
{
    struct Case
    {
        const char* name;
        std::function<void(WinKeySimulator&)> keyerIs;
        int port;
        WinKeyOpenOutcome outcome;
        std::string exchanged;
    } cases[] = {
        { "answering", [](WinKeySimulator&) {}, 3, WinKeyOpenOutcome::Success, Opening + HostOpen + DefaultSettings },
        { "silent", [](WinKeySimulator& k) { k.setSilent(true); }, 3, WinKeyOpenOutcome::NoEchoResponse, Opening },
        { "echoing wrongly", [](WinKeySimulator& k) { k.setWrongEcho(true); }, 3, WinKeyOpenOutcome::EchoMismatch,
            Opening },
        { "without a revision", [](WinKeySimulator& k) { k.setNoRevision(true); }, 3,
            WinKeyOpenOutcome::NoOpenResponse, Opening + HostOpen },
        { "not there", [](WinKeySimulator&) {}, 4, WinKeyOpenOutcome::ComOpenFailed, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WinKeyOnAPty other;
        ASSERT_EQ(other.pty.failure(), "");
        other.winKey.setCharacterMs(15);
        c.keyerIs(other.winKey);
        test::ScriptedDialogs seen;
        CwKeyer tried(fs, temp.path(), settings, seen, lendingTo(source), other.devices());
        tried.attach(session);
        tried.applySettings(winKeyAt(18));
        WinKeySettings s = tried.winKeySettings();
        s.port = c.port;
        tried.setWinKeySettings(s);

        QSignalSpy finished(&tried, &CwKeyer::winKeyOpenFinished);
        tried.openWinKey();
        ASSERT_TRUE(finished.count() > 0 || finished.wait(5000));
        EXPECT_EQ(finished.last().at(0).value<WinKeyOpenOutcome>(), c.outcome);
        EXPECT_TRUE(QTest::qWaitFor([&] { return other.winKey.received() == c.exchanged; }, 2000))
            << testing::PrintToString(other.winKey.received());
        const bool opened = c.outcome == WinKeyOpenOutcome::Success;
        EXPECT_EQ(tried.winKeyer().isOpen(), opened);
        EXPECT_EQ(tried.winKeyer().version(), opened ? 23 : 0);
        EXPECT_EQ(session.keying.winKeyOpen, opened);
        if (opened) {
            EXPECT_TRUE(seen.shown.empty());
        } else {
            ASSERT_EQ(seen.titles(), QStringList { "Unable to establish connection with Winkey." });
            EXPECT_TRUE(seen.shown[0].text.startsWith(
                QStringLiteral("Unable to establish connection with WinKey on com port %1.  Please check").arg(c.port)));
        }
        if (c.port == 4) {
            EXPECT_TRUE(seen.shown[0].text.contains("ttyUSB-unplugged")) << "the device and why: "
                                                                          << seen.shown[0].text.toStdString();
        }
    }
}

TEST_F(WinKeyTest, OpeningAnOpenKeyerSaysSoAndSendsNothing)
{
    ASSERT_EQ(open(), WinKeyOpenOutcome::Success);
    ASSERT_TRUE(received(Opening + HostOpen + DefaultSettings));
    EXPECT_EQ(open(), WinKeyOpenOutcome::AlreadyOpen);
    QTest::qWait(50);
    EXPECT_EQ(winKey.received(), Opening + HostOpen + DefaultSettings);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WinKeyTest, TextIsHandedOverAndTheFirstSendOpensTheKeyer)
{
    keyer.appendText("TEST");
    ASSERT_TRUE(sent("TEST"));
    EXPECT_TRUE(winKey.isHostOpen());
    EXPECT_EQ(winKey.received(), Opening + HostOpen + DefaultSettings + "TEST");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !keyer.isSending(); }, 5000));
}

TEST_F(WinKeyTest, AKeyerThatCannotBeOpenedDropsTheTextAndTheNextSendTriesAgain)
{
    winKey.setSilent(true);
    keyer.appendText("CQ TEST");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.shown.empty(); }, 5000));
    EXPECT_FALSE(keyer.hasWaitingText());
    EXPECT_FALSE(keyer.isSending());

    winKey.setSilent(false);
    keyer.appendText("E");
    ASSERT_TRUE(sent("E"));
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(WinKeyTest, ClosingTheKeyerWhileItOpensDropsTheTextWaitingForIt)
{
    winKey.setAnswerDelayMs(300);
    keyer.appendText("CQ");
    ASSERT_TRUE(keyer.winKeyer().isOpening());
    keyer.winKeyer().close();
    EXPECT_FALSE(keyer.isSending());
    EXPECT_FALSE(keyer.hasWaitingText());
    EXPECT_TRUE(dialogs.shown.empty()) << "the operator closed it: nothing to tell";
    winKey.setAnswerDelayMs(0);
    keyer.appendText("E");
    ASSERT_TRUE(sent("E"));
}

TEST_F(WinKeyTest, AFullKeyerHoldsTheNextCharacterUntilItClears)
{
    ASSERT_EQ(open(), WinKeyOpenOutcome::Success);
    winKey.holdXoff(true);
    // Busy with XOFF reported: nothing more is handed over, and what follows keeps its place.
    ASSERT_TRUE(QTest::qWaitFor([&] { return winKeyRefusesCharacters(keyer.winKeyer().status()); }, 5000));
    keyer.appendText("CQ");
    keyer.appendText(" DE");
    QTest::qWait(100);
    EXPECT_EQ(winKey.bufferedText(), "");
    EXPECT_TRUE(keyer.hasWaitingText());
    winKey.holdXoff(false);
    ASSERT_TRUE(sent("CQ DE"));
}

TEST_F(WinKeyTest, AKeyerThatStaysFullIsGivenUpOnAndTheOperatorTold)
{
    ASSERT_EQ(open(), WinKeyOpenOutcome::Success);
    keyer.setWinKeyPatience(200);
    QSignalSpy notices(&keyer, &CwKeyer::noticeForOperator);
    winKey.holdXoff(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return winKeyRefusesCharacters(keyer.winKeyer().status()); }, 5000));
    keyer.appendText("CQ CQ");
    ASSERT_TRUE(notices.wait(5000));
    EXPECT_TRUE(notices.last().at(0).toString().startsWith("The WinKey keyer has taken no text"));
    EXPECT_FALSE(keyer.hasWaitingText());
    // Esc still gets the operator out: the keyer is busy, and is cleared.
    EXPECT_TRUE(keyer.isSending());
    keyer.clearBuffer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return winKey.clearCount() == 1; }, 5000));
}

TEST_F(WinKeyTest, TestTextJoinsWhatIsWaitingInOneHandOver)
{
    ASSERT_EQ(open(), WinKeyOpenOutcome::Success);
    winKey.holdXoff(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return winKeyRefusesCharacters(keyer.winKeyer().status()); }, 5000));
    WinKeySetupDialog setup(keyer);
    setup.show();
    keyer.appendText("QRL? ");
    QTest::mouseClick(setup.findChild<QPushButton*>("testButton"), Qt::LeftButton);
    winKey.holdXoff(false);
    ASSERT_TRUE(sent("QRL? VVV TEST DE G4ABC"));
    EXPECT_EQ(winKey.received(), Opening + HostOpen + DefaultSettings + "QRL? VVV TEST DE G4ABC");
}

TEST_F(WinKeyTest, AKeyerUnpluggedWhileOpenIsReportedOnceAndOpenedAgainWithTheNextText)
{
    ASSERT_EQ(open(), WinKeyOpenOutcome::Success);
    winKey.stop();
    pty.stop();
    keyer.appendText("TEST");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.shown.empty(); }, 5000));
    QTest::qWait(100);
    ASSERT_EQ(dialogs.titles(), QStringList { "WinKey keyer lost" });
    EXPECT_FALSE(keyer.winKeyer().isOpen());
    EXPECT_FALSE(session.keying.winKeyOpen);
    EXPECT_FALSE(keyer.isSending());

    keyer.appendText("TEST");
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.shown.size() == 2; }, 5000));
    EXPECT_EQ(dialogs.shown[1].title, "Unable to establish connection with Winkey.");
}

TEST_F(WinKeyTest, GarbageAndPaddleSendingFromTheKeyerConfuseNothing)
{
    ASSERT_EQ(open(), WinKeyOpenOutcome::Success);
    std::string garbage;
    for (int value = 0; value < 256; ++value) {
        garbage += static_cast<char>(value);
    }
    winKey.sendGarbage(garbage);
    winKey.pressPaddles(20);
    winKey.turnSpeedPot(20);
    QTest::qWait(100);
    EXPECT_TRUE(keyer.winKeyer().isOpen());
    ASSERT_TRUE(QTest::qWaitFor([&] { return keyer.winKeyer().status() == 0; }, 5000));
    keyer.appendText("TU");
    ASSERT_TRUE(sent("TU"));
}

// The setup window over the keyer.
class WinKeySetupDialogTest : public WinKeyTest
{
protected:
    WinKeySetupDialog& show()
    {
        dialog = std::make_unique<WinKeySetupDialog>(keyer);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }
    template <class W = QLineEdit> W* control(const char* name)
    {
        W* found = dialog->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name)
    {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    // An option is chosen by a click on its round button: the rest of its width is no button.
    void choose(const char* name)
    {
        QRadioButton* option = control<QRadioButton>(name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
        EXPECT_TRUE(option->isChecked()) << name;
    }
    // Typed into the field, which the operator then leaves.
    void enter(const char* name, const QString& text)
    {
        QLineEdit* field = control(name);
        field->setFocus(Qt::TabFocusReason);
        field->setText(text);
        // Away to a command, not on through the fields, whose own checks would run as they are left.
        control<QPushButton>("doneButton")->setFocus(Qt::TabFocusReason);
    }
    QString label(const char* name)
    {
        return control<QLabel>(name)->text();
    }

    std::unique_ptr<WinKeySetupDialog> dialog;
};

TEST_F(WinKeySetupDialogTest, OpenAndCloseShowTheKeyersStateAndVersion)
{
    show();
    EXPECT_EQ(dialog->windowTitle(), " WinKey Setup");
    EXPECT_EQ(label("openStatusLabel"), "Closed");
    EXPECT_EQ(label("versionLabel"), "Version #");
    EXPECT_EQ(control("portField")->text(), "3");
    EXPECT_EQ(control("speedField")->text(), "18") << "the CW speed";
    EXPECT_TRUE(control<QRadioButton>("tonePinOption")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("iambicBOption")->isChecked());

    click("openButton");
    ASSERT_TRUE(QTest::qWaitFor([&] { return label("openStatusLabel") != "Closed"; }, 5000));
    EXPECT_EQ(label("openStatusLabel"), "WK Success!");
    EXPECT_EQ(label("versionLabel"), "Version # 23");
    EXPECT_TRUE(control<QPushButton>("doneButton")->hasFocus());
    click("openButton");
    EXPECT_EQ(label("openStatusLabel"), "WK Already Open");

    click("closeButton");
    EXPECT_EQ(label("openStatusLabel"), "Closed");
    EXPECT_EQ(label("versionLabel"), "Version #");
    EXPECT_FALSE(keyer.winKeyer().isOpen());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !winKey.isHostOpen(); }, 5000)) << "00 03 ends host mode";
}

TEST_F(WinKeySetupDialogTest, LeavingAFieldSendsItsValueOnlyWhenValid)
{
    show();
    click("openButton");
    ASSERT_TRUE(received(Opening + HostOpen + DefaultSettings));
    struct Case
    {
        const char* field;
        const char* typed;
        std::string sent; // after the opening
        const char* shown;
    } cases[] = {
        { "ratioField", "32", "", "32" },
        { "ratioField", "33", bytes({ 0x17, 33 }), "33" },
        { "ratioField", "66", bytes({ 0x17, 66 }), "66" },
        { "ratioField", "67", "", "67" },
        { "weightField", "99", bytes({ 0x03, 99 }), "99" },
        { "weightField", "", "", "50" },
        { "speedField", "300", "", "18" },
        { "speedField", "35", bytes({ 0x02, 35 }), "35" },
        { "leadInField", "5", bytes({ 0x04, 5, 0 }), "5" },
    };
    std::string expected = Opening + HostOpen + DefaultSettings;
    for (const Case& c : cases) {
        enter(c.field, QString::fromLatin1(c.typed));
        expected += c.sent;
        EXPECT_TRUE(received(expected)) << c.field << " " << c.typed;
        EXPECT_EQ(control(c.field)->text(), c.shown) << c.field << " " << c.typed;
    }
    // Lead-in "5" with a tail that is no number: the tail becomes "0" and nothing is sent.
    enter("tailField", "x");
    EXPECT_EQ(control("tailField")->text(), "0");
    QTest::qWait(50);
    EXPECT_EQ(winKey.received(), expected);
}

TEST_F(WinKeySetupDialogTest, PinAndModeButtonsSendTheWholeSettingsToAnOpenKeyer)
{
    show();
    click("openButton");
    ASSERT_TRUE(received(Opening + HostOpen + DefaultSettings));
    choose("pttPinOption");
    ASSERT_TRUE(received(Opening + HostOpen + DefaultSettings
        + bytes({ 0x02, 18, 0x03, 50, 0x04, 0, 0, 0x17, 50, 0x09, 5, 0x0E, 0 })));
    choose("bugOption");
    ASSERT_TRUE(received(Opening + HostOpen + DefaultSettings
        + bytes({ 0x02, 18, 0x03, 50, 0x04, 0, 0, 0x17, 50, 0x09, 5, 0x0E, 0 })
        + bytes({ 0x02, 18, 0x03, 50, 0x04, 0, 0, 0x17, 50, 0x09, 5, 0x0E, 48 })));
}

TEST_F(WinKeySetupDialogTest, DoneKeepsTheSettingsInTheirFileForTheNextRun)
{
    show();
    enter("weightField", "45");
    enter("ratioField", "60");
    choose("iambicAOption");
    click("doneButton");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(test::readBytes(temp.file("WK.txt")), "3\r\n\"18\"\r\n\"45\"\r\n\"0\"\r\n\"0\"\r\n\"60\"\r\n6\r\n16\r\n");

    // The next run reads them, and the speed is the CW speed of that run.
    CwKeyer next(fs, temp.path(), settings, dialogs, lendingTo(source), devices());
    next.applySettings(winKeyAt(25));
    EXPECT_EQ(next.winKeySettings().weight, "45");
    EXPECT_EQ(next.winKeySettings().keyerMode, WinKeyModes::IambicA);
    EXPECT_EQ(next.winKeySettings().speed, "25");
}

TEST_F(WinKeySetupDialogTest, TheTypeAheadFieldAndBufferTestSendThroughTheKeyer)
{
    show();
    QTest::keyClicks(control("typeAheadField"), "cq");
    ASSERT_TRUE(sent("CQ"));
    EXPECT_EQ(control("typeAheadField")->text(), "CQ");
    click("bufferTestButton");
    std::string alphabet;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        alphabet += letter;
    }
    alphabet += ' ';
    winKey.setCharacterMs(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return winKey.sentText() == "CQ" + alphabet + alphabet + alphabet; }, 20000));
    click("stopButton");
    EXPECT_TRUE(QTest::qWaitFor([&] { return winKey.clearCount() == 1; }, 5000));
}

// The main window keyed through the keyer.
class WinKeyOnTheMainWindowTest : public test::StartedMainWindow
{
protected:
    MainWindowKeyers keyers() override
    {
        MainWindowKeyers keyers;
        auto cw = std::make_unique<CwKeyer>(fs, folders.workingDir, settings, dialogs, lendingTo(source), onPty.devices());
        cwKeyer = cw.get();
        keyers.cw = std::move(cw);
        return keyers;
    }
    void SetUp() override
    {
        ASSERT_EQ(onPty.pty.failure(), "");
        onPty.winKey.setCharacterMs(15);
        StartedMainWindow::SetUp();
        CwSettings cw = winKeyAt(20);
        cw.messages[1] = "$ 5NN";
        cw.messages[2] = "TU!";
        cwKeyer->applySettings(cw);
        WinKeySettings s = cwKeyer->winKeySettings();
        s.port = 3;
        cwKeyer->setWinKeySettings(s);
        QSignalSpy finished(cwKeyer, &CwKeyer::winKeyOpenFinished);
        cwKeyer->openWinKey();
        ASSERT_TRUE(finished.count() > 0 || finished.wait(5000));
        ASSERT_TRUE(cwKeyer->winKeyer().isOpen());
        const std::size_t openingLength = Opening.size() + HostOpen.size() + DefaultSettings.size();
        ASSERT_TRUE(QTest::qWaitFor([this, openingLength] { return winKey().received().size() == openingLength; }, 5000));
        opened = onPty.winKey.received();
    }
    void TearDown() override
    {
        form.reset();
    }
    WinKeySimulator& winKey()
    {
        return onPty.winKey;
    }
    bool received(const std::string& after)
    {
        return QTest::qWaitFor([&] { return winKey().received() == opened + after; }, 5000);
    }

    WinKeyOnAPty onPty;
    test::RecordingKeyingLine line;
    test::RecordingLineSource source { line };
    CwKeyer* cwKeyer = nullptr;
    std::string opened;
};

TEST_F(WinKeyOnTheMainWindowTest, FunctionKeysSendTheirMessagesAndTheLogCharacterLogsAtTheHandOver)
{
    startClock();
    typeCall("DL1ABC");
    field("rstRcvdField")->setText("599");
    field("sectionField")->setText("NH");
    field("rstSentField")->setText("599");
    QTest::keyClick(field("callField"), Qt::Key_F2);
    ASSERT_TRUE(received("DL1ABC 5NN"));
    const int before = form->workingLog().log().count();
    QTest::keyClick(field("callField"), Qt::Key_F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->workingLog().log().count() == before + 1; }, 5000));
    EXPECT_EQ(form->workingLog().log().records().back().call, "DL1ABC");
    ASSERT_TRUE(received("DL1ABC 5NNTU!"));
}

TEST_F(WinKeyOnTheMainWindowTest, EscWhileTheKeyerSendsClearsItAndKeepsTheEntry)
{
    winKey().setCharacterMs(200);
    typeCall("DL1ABC");
    QTest::keyClick(field("callField"), Qt::Key_F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cwKeyer->winKeyer().status() > 0; }, 5000));
    QTest::keyClick(field("callField"), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return winKey().clearCount() == 1; }, 5000));
    EXPECT_EQ(field("callField")->text(), "DL1ABC");
    EXPECT_FALSE(cwKeyer->hasWaitingText());
    ASSERT_TRUE(QTest::qWaitFor([&] { return cwKeyer->winKeyer().status() == 0; }, 5000));
    // With the keyer idle, Esc is the entry's again.
    QTest::keyClick(field("callField"), Qt::Key_Escape);
    EXPECT_EQ(field("callField")->text(), "");
    EXPECT_EQ(winKey().clearCount(), 1);
}

TEST_F(WinKeyOnTheMainWindowTest, BackspaceInKeyboardCwTakesBackTheKeyersLastCharacter)
{
    winKey().setCharacterMs(300);
    QTest::keyClick(field("callField"), Qt::Key_F12);
    QTest::keyClicks(field("callField"), "CQ");
    ASSERT_TRUE(received("CQ"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return cwKeyer->winKeyer().status() > 0; }, 5000));
    QTest::keyClick(field("callField"), Qt::Key_Backspace);
    ASSERT_TRUE(received(std::string("CQ") + '\x08'));
    EXPECT_EQ(winKey().backspaceCount(), 1);
    EXPECT_EQ(field("callField")->text(), "") << "the keys went on the air, not into the field";
}

TEST_F(WinKeyOnTheMainWindowTest, SpeedArrowsSetTheKeyersSpeed)
{
    QTest::keyClick(field("callField"), Qt::Key_Up);
    ASSERT_TRUE(received(bytes({ 0x02, 21 })));
    QTest::keyClick(field("callField"), Qt::Key_Down);
    QTest::keyClick(field("callField"), Qt::Key_Down);
    ASSERT_TRUE(received(bytes({ 0x02, 21, 0x02, 20, 0x02, 19 })));
    EXPECT_EQ(winKey().speed(), 19);
}

TEST_F(WinKeyOnTheMainWindowTest, AnyKeyDuringTheRepeatingCallClearsTheKeyer)
{
    CwSettings cw = cwKeyer->settings();
    cw.messages[0] = "CQ";
    cw.repeatSeconds = "0.2";
    cwKeyer->applySettings(cw);
    QTest::keyClick(field("callField"), Qt::Key_F1);
    // Handed over, then again after the pause.
    ASSERT_TRUE(received("CQCQ"));
    QTest::keyClick(field("callField"), Qt::Key_A);
    ASSERT_TRUE(QTest::qWaitFor([&] { return winKey().clearCount() >= 1; }, 5000));
    const std::string stopped = winKey().received();
    QTest::qWait(600);
    EXPECT_EQ(winKey().received(), stopped) << "the calling ended";
}

TEST_F(WinKeyOnTheMainWindowTest, TheConfigureButtonOfTheCwWindowOpensTheSetup)
{
    CwKeyerWindow window(*cwKeyer, dialogs);
    window.show();
    auto* configure = window.findChild<QPushButton*>("configureWinKeyButton");
    ASSERT_NE(configure, nullptr);
    EXPECT_TRUE(configure->isVisible());
    bool opened = false;
    dialogs.onModal = [&opened](QDialog& dialog) {
        opened = dialog.objectName() == "WinKeySetupDialog";
        dialog.reject();
    };
    QTest::mouseClick(configure, Qt::LeftButton);
    EXPECT_TRUE(opened);
    window.findChild<QRadioButton*>("rtsOption")->click();
    EXPECT_FALSE(configure->isVisible());
}

} // namespace
} // namespace brindle
