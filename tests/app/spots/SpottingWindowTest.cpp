// The DX spotting window: what "PackSpot.txt" and choosing a source show, what closes the connection,
// what "&Done" keeps, the TNC's command-mode key and typed lines as they reach the far end of the cable,
// and the AGW Packet Engine source against the real Dire Wolf.

#include "spots/SpottingWindow.h"

#include "common/QtText.h"
#include "os/PosixFileSystem.h"
#include "serial/QtSerialPort.h"
#include "spots/SpotFeed.h"
#include "spots/SpotHelp.h"
#include "spots/SpotSettings.h"
#include "support/DireWolfProcess.h"
#include "support/FreePort.h"
#include "support/PtyPair.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace brindle::test {
namespace {

// A spot feed whose every port number is one device the test chooses, with its files in a folder of
// its own, and its window.
class SpottingWindowTest : public ::testing::Test
{
protected:
    // The TNC's cable: the window's port on one end of a pseudo-terminal pair, the test on the other.
    void plugInTnc()
    {
        pty = std::make_unique<PtyPair>(cable.path());
        ASSERT_EQ(pty->failure(), "");
        device = pty->near();
    }
    void writeSettings(const SpotSettings& settings)
    {
        std::ofstream(temp.file(SpotSettingsFileName), std::ios::binary) << formatSpotSettings(settings);
    }
    void openWindow()
    {
        window = std::make_unique<SpottingWindow>(feed, dialogs, hooks());
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    SpottingWindow::Hooks hooks()
    {
        SpottingWindow::Hooks hooks;
        hooks.ownCall = [this] { return ownCall; };
        hooks.lastLoggedCall = [this] { return lastCall; };
        hooks.savePreferences = [this] { ++preferencesSaved; };
        return hooks;
    }

    template <class T = QWidget> T* control(const char* name, SpottingWindow* in = nullptr)
    {
        T* found = (in ? in : window.get())->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool checked(const char* name, SpottingWindow* in = nullptr)
    {
        return control<QAbstractButton>(name, in)->isChecked();
    }
    QString fieldText(const char* name, SpottingWindow* in = nullptr)
    {
        return control<QLineEdit>(name, in)->text();
    }
    bool listening()
    {
        return control("listeningLabel")->isVisible();
    }
    QString monitor()
    {
        return control<QPlainTextEdit>("monitorText")->toPlainText();
    }
    bool monitorShows(const QString& text)
    {
        return QTest::qWaitFor([&] { return monitor().contains(text); }, 5000);
    }
    // Clicks a source in the list, as the operator does.
    void chooseInList(const char* text)
    {
        auto* list = control<QListWidget>("sourceList");
        const QList<QListWidgetItem*> items = list->findItems(QString::fromLatin1(text), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.front()).center());
        ASSERT_EQ(list->currentItem(), items.front()) << text;
    }
    // An option on its mark, which with a short caption is all of it that takes a click.
    void click(const char* name)
    {
        auto* button = control<QAbstractButton>(name);
        ASSERT_TRUE(button->isEnabled()) << name;
        const bool option = qobject_cast<QRadioButton*>(button) != nullptr;
        QTest::mouseClick(button, Qt::LeftButton, {},
            option ? QPoint(button->height() / 2, button->height() / 2) : button->rect().center());
    }
    // A key where the focus is, as the operator presses it.
    void press(const char* name, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* target = control(name);
        target->setFocus();
        QTest::keyClick(target, key, modifiers);
    }
    void typeAndEnter(const QString& text)
    {
        auto* field = control<QLineEdit>("sendField");
        field->setFocus();
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // What reaches the TNC's end of the cable, once at least as many bytes as wanted have come.
    std::string farEndReceives(std::size_t count)
    {
        std::string received;
        (void)QTest::qWaitFor(
            [&] {
                received += pty->takeFar();
                return received.size() >= count;
            },
            5000);
        return received;
    }
    std::vector<std::string> fileLines() const
    {
        std::ifstream in(temp.file(SpotSettingsFileName), std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < content.size();) {
            const std::size_t end = content.find("\r\n", start);
            if (end == std::string::npos) {
                lines.push_back(content.substr(start));
                break;
            }
            lines.push_back(content.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }
    std::vector<QString> titlesShown() const
    {
        std::vector<QString> titles;
        for (const ScriptedDialogs::Shown& shown : dialogs.shown) {
            titles.push_back(shown.title);
        }
        return titles;
    }

    TempFolder cable;
    std::unique_ptr<PtyPair> pty;
    TempFolder temp;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    std::string device = temp.file("no-such-device");
    SpotFeed feed { fs, temp.path(), dialogs,
        [this] { return std::make_unique<QtSerialPort>([this](int) { return device; }); } };
    std::string ownCall = "N0CALL";
    std::string lastCall = "DL1ABC";
    int preferencesSaved = 0;
    std::unique_ptr<SpottingWindow> window;
};

// Every control that belongs to one source or another.
const std::vector<const char*> SourceControls { "portFrame", "baudFrame", "parityFrame", "sendField", "telnetHostField",
    "telnetPortField", "telnetLoginField", "agwAddressField", "commandCharField", "dxOnlyCheck", "displayFrame",
    "openButton", "closeButton" };

TEST_F(SpottingWindowTest, withoutASettingsFileTheDesignValuesShowAndNoSourceControlIsEnabled)
{
    openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" DX Spotting Setup"));
    auto* list = control<QListWidget>("sourceList");
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("AGW Packet Engine"));
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(feed.source(), std::nullopt) << "taking the focus is no choice";
    for (const char* on : { "baudOption_19200", "noParityOption", "eightBitsOption", "oneStopBitOption", "portOption_1",
             "noPowerOption", "noHandshakeOption", "bandMapOption" }) {
        EXPECT_TRUE(checked(on)) << on;
    }
    EXPECT_FALSE(checked("dxOnlyCheck"));
    for (const char* off : SourceControls) {
        EXPECT_FALSE(control(off)->isEnabled()) << off;
    }
    EXPECT_FALSE(listening());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SpottingWindowTest, theFileIsShownItsSourceOpenedAtOnceAndDxOnlyLeftCleared)
{
    SpotSettings file;
    file.speed = "4800";
    file.parity = "E";
    file.dataBits = "7";
    file.stopBits = "2";
    file.port = 3;
    file.power = "D";
    file.source = "TNC";
    file.handshaking = 2;
    file.dxOnly = true;
    file.listMode = true;
    file.commandChar = "1B";
    file.telnetPort = "7300";
    file.telnetHost = "dxc.example.org";
    writeSettings(file);

    openWindow();

    for (const char* on : { "baudOption_4800", "evenParityOption", "sevenBitsOption", "twoStopBitsOption",
             "portOption_3", "dtrPowerOption", "xonXoffOption", "spotListOption" }) {
        EXPECT_TRUE(checked(on)) << on;
    }
    EXPECT_FALSE(checked("dxOnlyCheck"));
    EXPECT_FALSE(feed.settings().dxOnly);
    EXPECT_EQ(control<QListWidget>("sourceList")->currentItem()->text(), QStringLiteral("TNC"));
    EXPECT_EQ(fieldText("commandCharField"), QStringLiteral("1B"));
    EXPECT_EQ(fieldText("telnetHostField"), QStringLiteral("dxc.example.org"));
    EXPECT_EQ(fieldText("telnetPortField"), QStringLiteral("7300"));
    for (const char* on : { "portFrame", "baudFrame", "commandCharField", "sendField", "dxOnlyCheck", "openButton" }) {
        EXPECT_TRUE(control(on)->isEnabled()) << on;
    }
    for (const char* off : { "telnetHostField", "agwAddressField" }) {
        EXPECT_FALSE(control(off)->isEnabled()) << off;
    }
    // The TNC is not there: opened at once, it says so.
    EXPECT_EQ(titlesShown(), std::vector<QString> { QStringLiteral("Invalid Comm Settings.") });
    EXPECT_FALSE(listening());
    EXPECT_TRUE(monitorShows(QStringLiteral("** Unable to open TNC Serial Port **")));
}

TEST_F(SpottingWindowTest, aTncInTheFileListensAtOnceAndAnyLineOptionClickedClosesIt)
{
    plugInTnc();
    SpotSettings file;
    file.source = "TNC";
    file.speed = "9600";
    writeSettings(file);
    openWindow();
    ASSERT_TRUE(dialogs.shown.empty()) << dialogs.shown[0].text.toStdString();
    EXPECT_TRUE(listening());
    EXPECT_TRUE(feed.isPolling());

    for (const char* option : { "baudOption_1200", "evenParityOption", "sevenBitsOption", "twoStopBitsOption",
             "portOption_2", "rtsXonXoffOption", "rtsPowerOption" }) {
        click("openButton");
        ASSERT_TRUE(listening()) << option;
        click(option);
        EXPECT_FALSE(listening()) << option;
        EXPECT_FALSE(feed.isPolling()) << option;
        EXPECT_TRUE(monitorShows(QStringLiteral("** Port Closed **"))) << option;
    }
}

struct SourceCase
{
    const char* source;
    SpotSource kind;
    const char* prompt;
    std::vector<const char*> enabled;
    std::vector<const char*> disabled;
};

void PrintTo(const SourceCase& c, std::ostream* out)
{
    *out << c.source;
}

class SourceChoiceTest : public SpottingWindowTest, public ::testing::WithParamInterface<SourceCase>
{
};

TEST_P(SourceChoiceTest, choosingASourceClosesTheConnectionAndShowsItsHelpAndGroup)
{
    const SourceCase& c = GetParam();
    plugInTnc();
    SpotSettings file;
    file.source = "TNC";
    file.speed = "1200";
    file.commandChar = "1B";
    writeSettings(file);
    openWindow();
    ASSERT_TRUE(listening());
    control<QCheckBox>("dxOnlyCheck")->setChecked(true);

    chooseInList(c.source);

    EXPECT_FALSE(listening());
    EXPECT_FALSE(checked("dxOnlyCheck"));
    EXPECT_EQ(feed.source(), c.kind);
    EXPECT_EQ(control<QLabel>("sendPromptLabel")->text(), QString::fromLatin1(c.prompt));
    const QString help = toQString(*spotHelpText(c.kind)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_TRUE(monitorShows(help.trimmed())) << monitor().toStdString();
    for (const char* on : c.enabled) {
        EXPECT_TRUE(control(on)->isEnabled()) << on;
    }
    for (const char* off : c.disabled) {
        EXPECT_FALSE(control(off)->isEnabled()) << off;
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, SourceChoiceTest,
    ::testing::Values(SourceCase { "Telnet", SpotSource::Telnet, "Type text to send and press enter:",
                          { "telnetHostField", "telnetPortField", "telnetLoginField", "autoLoginCheck",
                              "autoReconnectCheck", "keepAliveCheck", "sendField", "dxOnlyCheck", "displayFrame",
                              "openButton" },
                          { "portFrame", "baudFrame", "commandCharField", "agwAddressField" } },
        SourceCase { "AGW Packet Engine", SpotSource::Agw, "Send text (use : to send cmds such as :C KORVA or :D)",
            { "agwAddressField", "sendField", "dxOnlyCheck", "displayFrame", "openButton", "closeButton" },
            { "portFrame", "baudFrame", "commandCharField", "telnetHostField", "autoLoginCheck", "keepAliveCheck" } }),
    [](const auto& info) { return std::string(info.param.source).substr(0, 3); });

TEST_F(SpottingWindowTest, choosingTheTncShowsItsDefaultsAndHelp)
{
    SpotSettings file;
    file.source = "None";
    file.speed = "1200";
    file.parity = "E";
    file.dataBits = "7";
    file.stopBits = "2";
    file.handshaking = 2;
    file.commandChar = "1B";
    writeSettings(file);
    openWindow();
    EXPECT_EQ(control<QListWidget>("sourceList")->currentItem()->text(), QStringLiteral("None"));
    for (const char* off : SourceControls) {
        EXPECT_FALSE(control(off)->isEnabled()) << off;
    }

    chooseInList("TNC");

    for (const char* on :
        { "baudOption_9600", "noParityOption", "eightBitsOption", "oneStopBitOption", "rtsHandshakeOption" }) {
        EXPECT_TRUE(checked(on)) << on;
    }
    EXPECT_EQ(fieldText("commandCharField"), QStringLiteral("03"));
    EXPECT_EQ(
        control<QLabel>("sendPromptLabel")->text(), QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));
    EXPECT_TRUE(monitorShows(QStringLiteral("To use a Packet TNC")));
    EXPECT_TRUE(monitor().startsWith(QStringLiteral("To use a Packet TNC"))) << monitor().toStdString();
    for (const char* on : { "portFrame", "baudFrame", "parityFrame", "commandCharField", "sendField", "openButton" }) {
        EXPECT_TRUE(control(on)->isEnabled()) << on;
    }
    EXPECT_FALSE(control("telnetHostField")->isEnabled());
    EXPECT_FALSE(listening()) << "choosing is not opening";

    chooseInList("None");
    for (const char* off : SourceControls) {
        EXPECT_FALSE(control(off)->isEnabled()) << off;
    }
}

TEST_F(SpottingWindowTest, doneKeepsTheLineSettingsOfTheLastTncOpeningAndTheWindowAsItIs)
{
    plugInTnc();
    openWindow();
    chooseInList("TNC");
    click("portOption_4");
    click("evenParityOption");
    click("xonXoffOption");
    click("doneButton");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(preferencesSaved, 1);
    EXPECT_TRUE(feed.isOpen()) << "Done opens what is not open";
    std::vector<std::string> lines = fileLines();
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 9),
        (std::vector<std::string> { "\"9600\"", "\"E\"", "\"8\"", "\"1\"", "4", "\"N\"", "\"TNC\"", "0", "2" }));

    // Options clicked but never opened with are not the TNC's settings.
    window->show();
    click("baudOption_1200");
    click("twoStopBitsOption");
    click("rtsXonXoffOption");
    chooseInList("Telnet");
    control<QLineEdit>("telnetHostField")->setText(QStringLiteral("dxc.example.org"));
    control<QLineEdit>("telnetPortField")->setText(QStringLiteral("not a port"));
    click("dxOnlyCheck");
    click("spotListOption");
    click("doneButton");
    lines = fileLines();
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 14),
        (std::vector<std::string> { "\"9600\"", "\"E\"", "\"8\"", "\"1\"", "4", "\"N\"", "\"Telnet\"", "0", "2", "1",
            "#TRUE#", "\"03\"", "\"not a port\"", "\"dxc.example.org\"" }));
    EXPECT_EQ(preferencesSaved, 2);

    // Another window over the same folder shows what was kept.
    ScriptedDialogs otherDialogs;
    SpotFeed otherFeed(fs, temp.path(), otherDialogs,
        [this] { return std::make_unique<QtSerialPort>([this](int) { return device; }); });
    SpottingWindow other(otherFeed, otherDialogs, hooks());
    EXPECT_EQ(
        other.findChild<QListWidget*>(QStringLiteral("sourceList"))->currentItem()->text(), QStringLiteral("Telnet"));
    for (const char* on : { "baudOption_9600", "evenParityOption", "eightBitsOption", "oneStopBitOption",
             "portOption_4", "noPowerOption", "xonXoffOption", "spotListOption" }) {
        EXPECT_TRUE(checked(on, &other)) << on;
    }
    EXPECT_FALSE(checked("dxOnlyCheck", &other));
    EXPECT_EQ(fieldText("telnetHostField", &other), QStringLiteral("dxc.example.org"));
    EXPECT_EQ(fieldText("telnetPortField", &other), QStringLiteral("not a port"));
    EXPECT_EQ(fieldText("commandCharField", &other), QStringLiteral("03"));
}

TEST_F(SpottingWindowTest, theCommandKeyReachesTheTncWhereverItIsPressedAndNeverHidesTheWindow)
{
    plugInTnc();
    openWindow();
    chooseInList("TNC");
    EXPECT_FALSE(listening());

    struct Case
    {
        const char* where;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* commandChar;
        std::string sent;
    };
    const std::vector<Case> cases {
        { "sendField", Qt::Key_Escape, Qt::NoModifier, "03", "\x03" },
        { "monitorText", Qt::Key_C, Qt::ControlModifier, "03", "\x03" },
        { "portOption_1", Qt::Key_C, Qt::ControlModifier, "1B", "\x1B" },
        { "sourceList", Qt::Key_Escape, Qt::NoModifier, "1b", "\x1B" },
    };
    for (const Case& c : cases) {
        control<QLineEdit>("commandCharField")->setText(QString::fromLatin1(c.commandChar));
        control<QCheckBox>("dxOnlyCheck")->setChecked(true);
        press(c.where, c.key, c.modifiers);
        // The first press opens the closed port, and the character still goes.
        EXPECT_TRUE(listening()) << c.where;
        EXPECT_EQ(farEndReceives(1), c.sent) << c.where;
        EXPECT_FALSE(checked("dxOnlyCheck")) << c.where;
        EXPECT_TRUE(window->isVisible()) << c.where;
    }
    EXPECT_EQ(fieldText("sendField"), QString()) << "the key is used up";
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SpottingWindowTest, theCommandKeyWithTheTncMissingSaysSoOnce)
{
    openWindow();
    chooseInList("TNC");
    press("portOption_1", Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(titlesShown(), std::vector<QString> { QStringLiteral("Invalid Comm Settings.") });
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SpottingWindowTest, aTypedLineGoesToTheTncWithACarriageReturn)
{
    plugInTnc();
    openWindow();
    chooseInList("TNC");
    ASSERT_FALSE(listening());
    typeAndEnter(QStringLiteral("CONNECT K1TTT"));
    EXPECT_TRUE(listening()) << "Enter opens what is not open";
    EXPECT_EQ(farEndReceives(14), "CONNECT K1TTT\r");
    EXPECT_EQ(fieldText("sendField"), QString());

    // What the TNC sends back is monitored.
    ASSERT_TRUE(pty->writeFar("*** CONNECTED to K1TTT\r\n"));
    EXPECT_TRUE(monitorShows(QStringLiteral("*** CONNECTED to K1TTT")));
}

TEST_F(SpottingWindowTest, spotLastPreparesASpotOfTheLastCallWithTheFrequencyToOverwrite)
{
    openWindow();
    chooseInList("Telnet");
    click("spotLastButton");
    auto* field = control<QLineEdit>("sendField");
    EXPECT_EQ(field->text(), QStringLiteral("DX Frequency in kHz DL1ABC"));
    EXPECT_EQ(field->selectionStart(), 3);
    EXPECT_EQ(field->selectedText(), QStringLiteral("Frequency in kHz"));
    EXPECT_TRUE(field->hasFocus());
}

// The AGW Packet Engine source, the window opening it on its address.
class SpottingOnAgwTest : public SpottingWindowTest
{
protected:
    void chooseEngineAt(int port)
    {
        openWindow();
        chooseInList("AGW Packet Engine");
        control<QLineEdit>("agwAddressField")->setText(QStringLiteral("127.0.0.1:%1").arg(port));
    }
};

TEST_F(SpottingOnAgwTest, theEngineRegistersAndAHeardSpotIsHandedOn)
{
    DireWolfProcess direwolf;
    ASSERT_EQ(direwolf.failure(), "");
    chooseEngineAt(direwolf.agwPort());
    std::vector<std::string> spots;
    QObject::connect(&feed, &SpotFeed::spotLine, &feed, [&](const std::string& line) { spots.push_back(line); });
    click("openButton");
    ASSERT_TRUE(monitorShows(QStringLiteral("** Successfully connected to AGW Packet Engine **")))
        << monitor().toStdString() << direwolf.output().toStdString();
    EXPECT_TRUE(listening());
    EXPECT_TRUE(dialogs.shown.empty());

    ASSERT_EQ(direwolf.hear("W1AW>APRS:DX de W1AW: 14025.0 Q9ZZZ CQ 1200Z"), "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !spots.empty(); }, 10000)) << direwolf.output().toStdString();
    EXPECT_EQ(spots[0], "DX de W1AW: 14025.0 Q9ZZZ CQ 1200Z\r\n");
    EXPECT_TRUE(monitorShows(QStringLiteral("DX de W1AW: 14025.0 Q9ZZZ")));

    // Esc in the box is the colon the engine's commands begin with; a connect needs a call.
    press("sendField", Qt::Key_Escape);
    EXPECT_EQ(fieldText("sendField"), QStringLiteral(":"));
    EXPECT_TRUE(window->isVisible());
    typeAndEnter(QStringLiteral(":C"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Call sign Required"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("You must enter a call sign to connect to such as :C KORVA"));
    EXPECT_EQ(feed.connectedStation(), "");
    EXPECT_TRUE(listening());

    click("closeButton");
    EXPECT_FALSE(listening());
    EXPECT_TRUE(monitorShows(QStringLiteral("** Port Closed **")));
}

TEST_F(SpottingOnAgwTest, withoutAnOwnCallNothingIsAttempted)
{
    ownCall.clear();
    chooseEngineAt(freeLoopbackPort());
    click("openButton");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Call Sign Required!"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("Please enter your call sign on the setup form to transmit!"));
    EXPECT_FALSE(feed.isPolling());
    EXPECT_TRUE(listening());
}

TEST_F(SpottingOnAgwTest, anEngineThatIsNotThereIsReportedAndTheConnectionClosed)
{
    chooseEngineAt(freeLoopbackPort());
    click("openButton");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs.shown.empty(); }, 10000));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Unable to connect to the AGW Packet Engine."));
    EXPECT_FALSE(listening());
    EXPECT_FALSE(feed.isPolling());
    const QString expected
        = toQString(agwUnreachableMonitorText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_TRUE(monitorShows(expected.trimmed())) << monitor().toStdString();
    EXPECT_TRUE(monitor().contains(QStringLiteral("Unable to connect to the AGW Packet Engine.  To use")));
}

} // namespace
} // namespace brindle::test
