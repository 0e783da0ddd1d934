// The phone keyer: which lines PTT keys for a message, for how long, and what happens around it.

#include "common/QtText.h"
#include "keying/CwKeyer.h"
#include "serial/PortArbiter.h"

#include "app/keying/CwOnTheMainWindow.h"
#include "app/keying/PhoneOnRecordingLines.h"

#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

constexpr int F1 = 112;

class PhoneKeyerTest : public ::testing::Test, public PhoneKeyerOnRecordingLines
{
protected:
    QTimer* repeatTimer()
    {
        return keyer->findChild<QTimer*>(QStringLiteral("phoneRepeatTimer"));
    }
};

struct PttCase
{
    const char* name;
    const char* port;
    PttLine line;
    std::vector<bool> serial;
    CwKeying serialKeying;
    std::vector<bool> parallel;
};

void PrintTo(const PttCase& c, std::ostream* out)
{
    *out << c.name;
}

class PttLineTest : public PhoneKeyerTest, public ::testing::WithParamInterface<PttCase>
{
};

TEST_P(PttLineTest, aMessageKeysPttOnTheChosenLinesForExactlyItsLength)
{
    const PttCase& c = GetParam();
    choose(c.port, c.line);

    keyer->playMessage(F1 + 1);
    EXPECT_EQ(player->current(), wave(2));
    EXPECT_TRUE(keyer->isPlaying());
    EXPECT_EQ(keyer->isPttKeyed(), !c.serial.empty() || !c.parallel.empty());
    if (!c.serial.empty()) {
        EXPECT_TRUE(serialLine.isDown());
        EXPECT_EQ(serialChoice->keying.load(), c.serialKeying);
        EXPECT_EQ(serialChoice->portNumber.load(), 3);
    }
    EXPECT_EQ(parallelLine.isDown(), !c.parallel.empty());

    player->finish();
    EXPECT_FALSE(keyer->isPttKeyed()) << "dropped as the message ends, not at the next watch";
    EXPECT_EQ(switches(serialLine), c.serial);
    EXPECT_EQ(switches(parallelLine), c.parallel);
    EXPECT_TRUE(dialogs.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, PttLineTest,
    ::testing::Values(PttCase { "rtsOfPort3", "3", PttLine::Rts, { true, false }, CwKeying::Rts, {} },
        PttCase { "dtrOfPort3", "3", PttLine::Dtr, { true, false }, CwKeying::Dtr, {} },
        PttCase { "parallelAlone", "0", PttLine::Parallel, {}, CwKeying::Rts, { true, false } },
        PttCase { "parallelAndRtsOfPort3", "3", PttLine::Parallel, { true, false }, CwKeying::Rts, { true, false } },
        PttCase { "noPortVoxOrHand", "0", PttLine::Rts, {}, CwKeying::Rts, {} }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PhoneKeyerTest, aNewMessageWhilePlayingTakesOverWithPttStayingOn)
{
    choose("3", PttLine::Rts);
    keyer->playMessage(F1);
    keyer->playMessage(F1 + 4);

    EXPECT_EQ(player->current(), wave(5));
    const std::vector<bool> keyed = switches(serialLine);
    EXPECT_EQ(std::count(keyed.begin(), keyed.end(), false), 0) << "no gap between the two messages";
    player->finish();
    EXPECT_EQ(switches(serialLine).back(), false);
}

TEST_F(PhoneKeyerTest, stoppingEndsTheMessageAndDropsPttAtOnce)
{
    choose("3", PttLine::Parallel);
    keyer->playMessage(F1);
    keyer->stopPlaying();

    EXPECT_FALSE(keyer->isPlaying());
    EXPECT_EQ(switches(serialLine), (std::vector<bool> { true, false }));
    EXPECT_EQ(switches(parallelLine), (std::vector<bool> { true, false }));
}

TEST_F(PhoneKeyerTest, aKeyWithoutAMessageEndsWhatPlaysAndKeysNothing)
{
    choose("3", PttLine::Rts);
    keyer->playMessage(F1);
    keyer->playMessage(F1 + 3);

    EXPECT_FALSE(keyer->isPlaying());
    EXPECT_EQ(switches(serialLine), (std::vector<bool> { true, false }));
    EXPECT_EQ(player->played.size(), 1u);
}

TEST_F(PhoneKeyerTest, aMessageThatCannotPlayKeysNothingAndSaysWhy)
{
    choose("3", PttLine::Parallel, "10");
    PhoneSettings settings = keyer->settings();
    settings.waveFiles[0] = temp.file("gone.wav");
    keyer->applySettings(settings);
    QSignalSpy notices(keyer.get(), &PhoneKeyerControl::noticeForOperator);

    keyer->playMessage(F1);

    EXPECT_TRUE(switches(serialLine).empty());
    EXPECT_TRUE(switches(parallelLine).empty());
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(
        notices[0][0].toString().startsWith(QStringLiteral("F1 not played: ") + toQString(temp.file("gone.wav"))))
        << notices[0][0].toString().toStdString();
    EXPECT_FALSE(keyer->isRepeatArmed()) << "nothing to repeat";
    EXPECT_FALSE(repeatTimer()->isActive());
}

TEST_F(PhoneKeyerTest, F1RepeatsAfterItsPauseFromTheEndOfEachPlaying)
{
    choose("3", PttLine::Rts, "10");
    keyer->playMessage(F1);
    EXPECT_TRUE(keyer->isRepeatArmed());
    EXPECT_FALSE(repeatTimer()->isActive()) << "the pause runs from the end";

    player->finish();
    EXPECT_TRUE(repeatTimer()->isActive());
    EXPECT_EQ(repeatTimer()->interval(), 10000);
    EXPECT_FALSE(serialLine.isDown()) << "no PTT during the pause";

    keyer->repeatFirstMessage();
    EXPECT_EQ(player->current(), wave(1));
    EXPECT_TRUE(serialLine.isDown());
    EXPECT_FALSE(repeatTimer()->isActive());

    keyer->stopRepeat();
    player->finish();
    EXPECT_FALSE(repeatTimer()->isActive());
    EXPECT_EQ(switches(serialLine), (std::vector<bool> { true, false, true, false }));
}

TEST_F(PhoneKeyerTest, onlyF1RepeatsAndOnlyWithAPauseInRange)
{
    for (const char* loop : { "0", "60", "x" }) {
        choose("0", PttLine::Rts, loop);
        keyer->playMessage(F1);
        EXPECT_FALSE(keyer->isRepeatArmed()) << loop;
    }
    choose("0", PttLine::Rts, "10");
    keyer->playMessage(F1 + 1);
    EXPECT_FALSE(keyer->isRepeatArmed());
}

// The window applies the pause at every key typed into its field: emptied, 0 or out of range while F1
// repeats, it must not key the transmitter again and again with no pause at all.
TEST_F(PhoneKeyerTest, aPauseRetypedToNothingWhileF1RepeatsNeverKeysAgainAtOnce)
{
    for (const char* loop : { "0", "", "75" }) {
        SCOPED_TRACE(loop);
        choose("3", PttLine::Rts, "10");
        keyer->playMessage(F1);
        ASSERT_TRUE(keyer->isRepeatArmed());
        const std::size_t played = player->played.size();

        choose("3", PttLine::Rts, loop);
        player->finish();
        QCoreApplication::processEvents();

        EXPECT_FALSE(repeatTimer()->isActive());
        EXPECT_EQ(player->played.size(), played) << "F1 played again at once";
        EXPECT_FALSE(serialLine.isDown());
        keyer->stopRepeat();
    }
}

TEST_F(PhoneKeyerTest, aPortNumberHoldsOnceThePortIsOpenedAndZeroKeysNoPort)
{
    choose("3", PttLine::Rts);
    ASSERT_TRUE(keyer->openPttPort());
    choose("5", PttLine::Rts);
    keyer->playMessage(F1);
    player->finish();
    EXPECT_EQ(serialChoice->portNumber.load(), 3) << "a number being typed takes no port";
    EXPECT_EQ(serialSource.opens.load(), 1);

    choose("0", PttLine::Rts);
    ASSERT_TRUE(keyer->openPttPort());
    keyer->playMessage(F1);
    EXPECT_FALSE(keyer->isPttKeyed()) << "port 0: PTT is the operator's (VOX or hand)";
    EXPECT_EQ(switches(serialLine), (std::vector<bool> { true, false }));
}

TEST_F(PhoneKeyerTest, aRefusedPttPortIsReportedAndTheMessageStillPlaysWithoutPtt)
{
    serialSource.refusal = "/dev/ttyUSB2: No such file or directory";
    choose("3", PttLine::Rts);
    QSignalSpy refused(keyer.get(), &PhoneKeyer::pttPortRefused);

    keyer->playMessage(F1);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Invalid port."));
    EXPECT_EQ(dialogs.shown[0].text,
        QStringLiteral("The port you have selected for Phone keying is invalid.  Please select another or enter 0 for "
                       "none.\n\n/dev/ttyUSB2: No such file or directory"));
    EXPECT_EQ(dialogs.shown[0].icon, OperatorDialogs::Icon::Information);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(refused.size(), 1);
    EXPECT_EQ(player->current(), wave(1));
    EXPECT_FALSE(keyer->isPttKeyed());
}

TEST_F(PhoneKeyerTest, aPortThatFailsWhileKeyingIsSaidAndOpenedAgainByTheNextMessage)
{
    choose("3", PttLine::Rts);
    serialLine.failAfter = 1;
    QSignalSpy notices(keyer.get(), &PhoneKeyerControl::noticeForOperator);
    keyer->playMessage(F1);
    player->finish();

    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0][0].toString(), QStringLiteral("PTT failed: Input/output error"));
    serialLine.failAfter = -1;
    keyer->playMessage(F1);
    EXPECT_EQ(serialSource.opens.load(), 2);
    EXPECT_TRUE(serialLine.isDown());
}

TEST_F(PhoneKeyerTest, wave2TxtIsWrittenWholeAndReadBack)
{
    choose("3", PttLine::Dtr, "7.5");
    ASSERT_TRUE(keyer->saveSettings().ok());
    const PhoneSettings saved = keyer->settings();

    keyer->applySettings({});
    keyer->loadSettings();
    EXPECT_EQ(keyer->settings(), saved);
    EXPECT_EQ(readBytes(temp.file("wave2.txt")), formatPhoneSettings(saved));
}

// The phone port, the CW port and the WinKey keyer's may be one: each takes it from the others.
TEST(PortArbiterTest, aClaimLetsGoTheHoldersThatMaySitOnTheSamePort)
{
    using Holder = PortArbiter::Holder;
    using Port = PortArbiter::Port;
    const struct
    {
        Holder claimant;
        Port port;
        std::vector<Holder> released;
    } cases[] = {
        { Holder::CwKey, Port::Serial, { Holder::PhonePtt } },
        { Holder::PhonePtt, Port::Serial, { Holder::WinKey, Holder::CwKey } },
        { Holder::WinKey, Port::Serial, { Holder::PhonePtt, Holder::CwKey } },
        // The WinKey keyer is never on a parallel port: PTT there leaves it open.
        { Holder::PhonePtt, Port::Parallel, { Holder::CwKey } },
        { Holder::CwKey, Port::Parallel, { Holder::PhonePtt } },
    };
    for (const auto& c : cases) {
        PortArbiter ports;
        std::vector<Holder> released;
        for (const Holder holder : { Holder::CwKey, Holder::PhonePtt, Holder::WinKey }) {
            ports.setRelease(holder, [&released, holder] { released.push_back(holder); });
        }
        ports.claim(c.claimant, c.port);
        EXPECT_EQ(released, c.released) << static_cast<int>(c.claimant) << " " << static_cast<int>(c.port);
    }
}

TEST(PortHandOverTest, pttOnTheParallelPortLeavesTheWinKeyKeyerOpen)
{
    PhoneKeyerOnRecordingLines phone;
    PortArbiter ports;
    int winKeyReleases = 0;
    ports.setRelease(PortArbiter::Holder::WinKey, [&winKeyReleases] { ++winKeyReleases; });
    phone.keyer->usePortArbiter(ports);

    phone.choose("0", PttLine::Parallel);
    phone.keyer->playMessage(F1);
    EXPECT_TRUE(phone.parallelLine.isDown());
    phone.player->finish();
    EXPECT_EQ(winKeyReleases, 0);

    phone.choose("3", PttLine::Rts);
    ASSERT_TRUE(phone.keyer->openPttPort());
    EXPECT_EQ(winKeyReleases, 1) << "the phone keyer's serial port may be the keyer's";
}

TEST(PortHandOverTest, thePhoneKeyerAndTheCwKeyTakeThePortFromEachOther)
{
    PhoneKeyerOnRecordingLines phone;
    KeyerOnRecordingLine cw;
    cw.keyer.applySettings(rtsAt(100));
    PortArbiter ports;
    cw.keyer.usePortArbiter(ports);
    phone.keyer->usePortArbiter(ports);
    phone.choose("1", PttLine::Rts);

    cw.keyer.appendText("E");
    ASSERT_TRUE(waitUntilIdle(cw.keyer));
    EXPECT_EQ(cw.source.opens.load(), 1);

    ASSERT_TRUE(phone.keyer->openPttPort());
    EXPECT_EQ(cw.source.closes.load(), 1) << "the CW port let go before the phone port opened";
    EXPECT_EQ(phone.serialSource.opens.load(), 1);

    cw.keyer.appendText("E");
    ASSERT_TRUE(waitUntilIdle(cw.keyer));
    EXPECT_EQ(phone.serialSource.closes.load(), 1) << "and the other way round";
    EXPECT_EQ(cw.source.opens.load(), 2);

    phone.keyer->playMessage(F1);
    EXPECT_EQ(phone.serialSource.opens.load(), 2) << "the next message takes it back";
    EXPECT_EQ(cw.source.closes.load(), 2);
}

// The main window of a phone station, keying PTT on RTS of port 3.
class PhoneOnTheMainWindowTest : public StartedMainWindow, public PttOnRecordingLines
{
protected:
    DefaultData initialDefaults() const override
    {
        DefaultData defaults = StartedMainWindow::initialDefaults();
        defaults.mode = "PH";
        return defaults;
    }
    MainWindowKeyers keyers() override
    {
        MainWindowKeyers keyers;
        auto recording = std::make_unique<RecordingWavePlayer>();
        player = recording.get();
        auto phone = std::make_unique<PhoneKeyer>(fs, folders.workingDir, dialogs, std::move(recording), lineMaker());
        phoneKeyer = phone.get();
        keyers.phone = std::move(phone);
        return keyers;
    }
    void SetUp() override
    {
        std::filesystem::create_directories(temp.file("work"));
        PhoneSettings settings;
        for (int key = 1; key <= PhoneMessageCount; ++key) {
            settings.waveFiles[static_cast<std::size_t>(key - 1)] = wave(key);
        }
        settings.pttPort = "3";
        settings.loopSeconds = "10";
        writeBytes(temp.file("work/wave2.txt"), formatPhoneSettings(settings));
        StartedMainWindow::SetUp();
    }
    // The keyer in the window borrows the lines, which go before the window would.
    void TearDown() override
    {
        form.reset();
    }
    std::string wave(int key)
    {
        const std::string path = temp.file("work/F" + std::to_string(key) + ".wav");
        writeBytes(path, "RIFF");
        return path;
    }
    void press(Qt::Key key)
    {
        QTest::keyClick(field("callField"), key);
    }

    RecordingWavePlayer* player = nullptr;
    PhoneKeyer* phoneKeyer = nullptr;
};

TEST_F(PhoneOnTheMainWindowTest, theStartUpReadsWave2Txt)
{
    EXPECT_EQ(phoneKeyer->settings().waveFiles[8], wave(9));
    EXPECT_EQ(phoneKeyer->settings().pttPort, "3");
    EXPECT_EQ(phoneKeyer->settings().loopSeconds, "10");
}

TEST_F(PhoneOnTheMainWindowTest, F1ToF9PlayTheirMessagesAndF10ToF12Nothing)
{
    for (int key = 1; key <= 12; ++key) {
        player->played.clear();
        press(static_cast<Qt::Key>(Qt::Key_F1 + key - 1));
        if (key <= PhoneMessageCount) {
            EXPECT_EQ(player->current(), wave(key)) << "F" << key;
        } else {
            EXPECT_TRUE(player->played.empty()) << "F" << key;
        }
        player->finish();
        phoneKeyer->stopRepeat();
    }
    EXPECT_EQ(field("callField")->text(), QString()) << "no function key types anything";
}

TEST_F(PhoneOnTheMainWindowTest, escStopsAPlayingMessageAndOnlyThenClearsTheEntry)
{
    typeCall("K1ZZ");
    press(Qt::Key_F2);
    press(Qt::Key_Escape);

    EXPECT_FALSE(phoneKeyer->isPlaying());
    EXPECT_FALSE(serialLine.isDown());
    EXPECT_EQ(field("callField")->text(), QStringLiteral("K1ZZ")) << "Esc went to the message";

    press(Qt::Key_Escape);
    EXPECT_EQ(field("callField")->text(), QString());
}

TEST_F(PhoneOnTheMainWindowTest, anyKeyEndsTheRepeatingF1AndStillTypes)
{
    press(Qt::Key_F1);
    player->finish();
    QTimer* repeat = phoneKeyer->findChild<QTimer*>(QStringLiteral("phoneRepeatTimer"));
    ASSERT_TRUE(repeat->isActive());

    typeCall("W");
    EXPECT_FALSE(repeat->isActive());
    EXPECT_FALSE(phoneKeyer->isRepeatArmed());
    EXPECT_EQ(field("callField")->text(), QStringLiteral("W"));
}

TEST_F(PhoneOnTheMainWindowTest, aRefusedPttPortBringsUpThePhoneWindow)
{
    serialSource.refusal = "/dev/ttyUSB2: No such file or directory";
    QString shown;
    dialogs.onModal = [&shown](QDialog& window) {
        shown = window.objectName();
        window.close();
    };
    press(Qt::Key_F1);

    EXPECT_EQ(shown, QStringLiteral("PhoneKeyerWindow"));
    EXPECT_EQ(dialogs.titles(), QStringList { QStringLiteral("Invalid port.") });
    EXPECT_EQ(player->current(), wave(1));
}

TEST_F(PhoneOnTheMainWindowTest, ctrlPOpensThePhoneWindowBesideTheMainWindow)
{
    QTest::keyClick(field("callField"), Qt::Key_P, Qt::ControlModifier);
    auto* window = form->findChild<QDialog*>(QStringLiteral("PhoneKeyerWindow"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(field("callField")->text(), QString());
}

} // namespace
} // namespace brindle::test
