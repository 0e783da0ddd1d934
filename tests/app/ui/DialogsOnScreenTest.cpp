#include "keying/CodePracticeDialog.h"
#include "keying/CwKeyer.h"
#include "keying/CwKeyerWindow.h"
#include "keying/CwMessagesWindow.h"
#include "keying/PhoneKeyer.h"
#include "keying/PhoneKeyerWindow.h"
#include "keying/VoiceNavigationWindow.h"
#include "keying/VoicePromptPlayer.h"
#include "keying/WinKeySetupDialog.h"
#include "log/ContactEditorDialog.h"
#include "log/ContestLog.h"
#include "os/PosixFileSystem.h"
#include "reports/BandPlanDialog.h"
#include "reports/RateGraphDialog.h"
#include "reports/SummarySheetDialog.h"
#include "rig/RigInterface.h"
#include "rig/FrequencyTestDialog.h"
#include "rig/RigInterfaceWindow.h"
#include "spots/SpectrumMapDialog.h"
#include "spots/SpotFeed.h"
#include "spots/SpotsModel.h"
#include "spots/SpottingWindow.h"
#include "rig/RigTuneDialog.h"
#include "rig/RigProfile.h"
#include "serial/SerialPortsDialog.h"
#include "station/CountryTable.h"
#include "station/QtSettingsStore.h"
#include "station/SharedPreferences.h"
#include "station/StationSetupDialog.h"
#include "ui/HelpDialog.h"
#include "ui/KeyRouting.h"
#include "ui/MultiplierColoursDialog.h"
#include "ui/StartupLogoDialog.h"

#include "support/LogSamples.h"
#include "support/QtPrinters.h"
#include "support/ManualClock.h"
#include "support/MapSettingsStore.h"
#include "support/RecordingKeyingLine.h"
#include "support/RecordingSerialPort.h"
#include "support/RecordingWavePlayer.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "support/WindowManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace brindle {
namespace {

// What the dialogs are opened with.
struct Services
{
    test::TempFolder temp;
    PosixFileSystem fs;
    test::ScriptedDialogs dialogs;
    QtSettingsStore settings;
    SharedPreferences shared { fs };
    ContestLog log = test::sampleLog(30);
    CountryTable countries { { { "K", "USA", "NA", 91.87f, 37.6f } } };
    DefaultData station;
    std::string dataDir = BRINDLE_DATA_DIR;
    test::RecordingKeyingLine line;
    test::RecordingLineSource lineSource { line };
    std::unique_ptr<CwKeyer> cw;

    std::unique_ptr<PhoneKeyer> phoneKeyer;
    test::ManualClock clock;
    std::unique_ptr<VoicePromptPlayer> prompts;
    test::MapSettingsStore rigSettings;
    std::unique_ptr<RigInterface> rigInterface;
    std::unique_ptr<SpotFeed> spotFeed;
    std::unique_ptr<SpotsModel> spotsModel;

    CwKeyer& keyer()
    {
        if (!cw) {
            cw = std::make_unique<CwKeyer>(fs, temp.path(), settings, dialogs, test::lendingTo(lineSource));
        }
        return *cw;
    }
    PhoneKeyer& phone()
    {
        if (!phoneKeyer) {
            phoneKeyer = std::make_unique<PhoneKeyer>(fs, temp.path(), dialogs,
                std::make_unique<test::RecordingWavePlayer>(), test::lendingTo(lineSource));
        }
        return *phoneKeyer;
    }
    RigInterface& rig()
    {
        if (!rigInterface) {
            rigInterface = std::make_unique<RigInterface>(fs, temp.path(), dialogs, rigSettings,
                [] { return std::make_unique<test::RecordingSerialPort>(); });
        }
        return *rigInterface;
    }
    SpotFeed& spots()
    {
        if (!spotFeed) {
            spotFeed = std::make_unique<SpotFeed>(
                fs, temp.path(), dialogs, [] { return std::make_unique<test::RecordingSerialPort>(); });
        }
        return *spotFeed;
    }
    // A spot on every row of the spectrum map.
    SpotsModel& spotStore()
    {
        if (!spotsModel) {
            spotsModel = std::make_unique<SpotsModel>(clock,
                SpotsModel::Context { [] { return std::string("DL1ABC"); },
                    [this]() -> const CountryTable& { return countries; }, {} });
            for (const char* freqKHz :
                { "1830.0", "3525.0", "7025.0", "10120.0", "14025.0", "18090.0", "21025.0", "24900.0", "28025.0",
                    "50125.0", "144300.0" }) {
                spotsModel->addSpot(std::string("Q") + freqKHz, freqKHz, "de Q1AAA:");
            }
        }
        return *spotsModel;
    }
    VoicePromptPlayer& voice()
    {
        if (!prompts) {
            prompts = std::make_unique<VoicePromptPlayer>(temp.path(), settings,
                std::make_unique<test::RecordingWavePlayer>(), std::make_unique<test::RecordingPromptSpeaker>());
        }
        return *prompts;
    }
};

// The main window's keys, for the CW strings window, which hands its keys on.
class NoKeys : public KeyPreview
{
public:
    void previewKeyDown(int&, int) override
    {
    }
    void previewKeyPress(int&) override
    {
    }
};

// Opens a dialog, or a window that stays beside the main window, over the main window.
using DialogMaker = std::function<std::unique_ptr<QWidget>(Services&, QWidget*)>;

TEST(DialogsOnScreen, everyDialogLiesInsideTheWorkAreaWithItsButtonsAndCaptionsWhole)
{
    const struct
    {
        const char* name;
        DialogMaker open;
        // Laid out by Qt's layouts, which give every caption the room its text needs; the others are
        // placed on the design canvas.
        bool laidOut = false;
    } dialogs[] = {
        { "summary sheet",
            [](Services& s, QWidget* parent) {
                return std::make_unique<SummarySheetDialog>(
                    s.log, s.station, "1620", s.fs, s.settings, s.shared, s.dialogs, s.temp.path(), parent);
            },
            true },
        { "station setup",
            [](Services& s, QWidget* parent) {
                return std::make_unique<StationSetupDialog>(
                    s.station, s.countries, s.dialogs, s.settings, s.shared, parent);
            },
            true },
        { "contact editor",
            [](Services& s, QWidget* parent) {
                return std::make_unique<ContactEditorDialog>(s.log, 2, s.countries, s.dialogs, parent);
            },
            true },
        { "rate graph",
            [](Services& s, QWidget* parent) { return std::make_unique<RateGraphDialog>(s.log, s.dialogs, parent); } },
        { "band plan",
            [](Services& s, QWidget* parent) {
                return std::make_unique<BandPlanDialog>(s.fs, s.dataDir, s.dialogs, parent);
            } },
        { "help", [](Services& s, QWidget* parent) { return std::make_unique<HelpDialog>(s.dataDir, s.fs, parent); } },
        { "multiplier colours",
            [](Services& s, QWidget* parent) {
                return std::make_unique<MultiplierColoursDialog>(0x0000FF, 0xFF0000, s.dialogs, parent);
            } },
        { "serial ports",
            [](Services& s, QWidget* parent) {
                return std::make_unique<SerialPortsDialog>(s.settings,
                    std::vector<SerialDeviceChoice> {
                        { "/dev/serial/by-id/usb-Silicon_Labs_CP2102N_USB_to_UART_Bridge_Controller_"
                          "8a1c2e5f3b9dea11b6f3a1c2d4e5f607-if00-port0",
                            "ttyUSB0, CP2102N USB to UART Bridge Controller, Silicon Labs" } },
                    std::vector<std::string> { "/dev/parport0" }, parent);
            },
            true },
        { "start-up logo",
            [](Services& s, QWidget* parent) { return std::make_unique<StartupLogoDialog>(s.temp.path(), parent); } },
        { "CW keyer",
            [](Services& s, QWidget* parent) { return std::make_unique<CwKeyerWindow>(s.keyer(), s.dialogs, parent); },
            true },
        { "CW strings",
            [](Services& s, QWidget* parent) {
                static NoKeys keys;
                return std::make_unique<CwMessagesWindow>(s.keyer(), keys, parent);
            },
            true },
        { "code practice",
            [](Services& s, QWidget* parent) {
                return std::make_unique<CodePracticeDialog>(s.keyer(), s.dialogs, parent);
            },
            true },
        { "phone keyer",
            [](Services& s, QWidget* parent) { return std::make_unique<PhoneKeyerWindow>(s.phone(), s.dialogs, parent); },
            true },
        { "voice navigation",
            [](Services& s, QWidget* parent) {
                return std::make_unique<VoiceNavigationWindow>(s.voice(), s.clock, [](VoiceNavLevel) {}, parent);
            },
            true },
        { "rig interface",
            [](Services& s, QWidget* parent) {
                // The Icom note is the tallest the rig column grows.
                RigSettings icom;
                applyProfile("Icom", icom);
                s.rig().applySettings(icom);
                return std::make_unique<RigInterfaceWindow>(s.rig(), s.dialogs, [](const std::string&) {}, parent);
            },
            true },
        { "rig tune",
            [](Services& s, QWidget* parent) { return std::make_unique<RigTuneDialog>(s.rig(), parent); }, true },
        { "frequency test",
            [](Services& s, QWidget* parent) { return std::make_unique<FrequencyTestDialog>(s.rig(), parent); },
            true },
        { "DX spotting",
            [](Services& s, QWidget* parent) {
                SpottingWindow::Hooks hooks { [] { return std::string("DL1ABC"); }, [] { return std::string(); },
                    [] {} };
                return std::make_unique<SpottingWindow>(s.spots(), s.dialogs, hooks, parent);
            },
            true },
        { "spectrum map",
            [](Services& s, QWidget* parent) {
                return std::make_unique<SpectrumMapDialog>(s.spotStore(), s.clock, [] { return 0.0; }, parent);
            } },
        { "WinKey setup",
            [](Services& s, QWidget* parent) {
                return std::make_unique<WinKeySetupDialog>(s.keyer(), parent);
            },
            true },
    };
    const QFont desktopFont = QApplication::font();
    // The desktop's own font, and one an operator who finds it too small might choose.
    for (const double pointSize : { desktopFont.pointSizeF(), 14.0 }) {
        QFont font = desktopFont;
        font.setPointSizeF(pointSize);
        QApplication::setFont(font);
        for (const QSize screenSize : { QSize(1024, 768), QSize(1366, 768), QSize(1920, 1080) }) {
            QScreen* screen = test::screenSized(screenSize);
            ASSERT_NE(screen, nullptr);
            test::FramedMainWindow main(screen);
            for (const auto& d : dialogs) {
                SCOPED_TRACE(testing::Message() << d.name << " on " << screenSize.width() << " x "
                                                << screenSize.height() << " at " << pointSize << " points");
                Services services;
                const std::unique_ptr<QWidget> dialog = d.open(services, &main.window);
                dialog->show();
                EXPECT_TRUE(screen->availableGeometry().contains(dialog->frameGeometry()))
                    << testing::PrintToString(dialog->frameGeometry());
                // Every caption shows whole: a label or button given less than its text needs is cut off.
                for (const QWidget* control : dialog->findChildren<QWidget*>()) {
                    const auto* label = qobject_cast<const QLabel*>(control);
                    const bool captioned
                        = (label && !label->wordWrap()) || qobject_cast<const QAbstractButton*>(control);
                    if (d.laidOut && captioned && control->isVisible()) {
                        EXPECT_LE(control->sizeHint().width(), control->width()) << control->objectName().toStdString();
                        // A pixel or two of a style's padding is no cut.
                        EXPECT_LE(control->sizeHint().height(), control->height() + 2)
                            << control->objectName().toStdString();
                    }
                }
                for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
                    if (button->isVisible()) {
                        EXPECT_TRUE(
                            dialog->rect().contains(QRect(button->mapTo(dialog.get(), QPoint()), button->size())))
                            << button->objectName().toStdString();
                    }
                }
            }
        }
    }
    QApplication::setFont(desktopFont);
}

} // namespace
} // namespace brindle
