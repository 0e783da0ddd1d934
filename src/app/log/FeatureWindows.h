#pragma once

#include "keying/VoiceNavigationWindow.h"
#include "rig/RigInterfaceWindow.h"
#include "spots/SpottingWindow.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace brindle {

class Clock;
class CwKeyer;
class CwKeyerControl;
class CwKeyerWindow;
class CwMessagesWindow;
class KeyPreview;
class OperatorDialogs;
class PhoneKeyer;
class PhoneKeyerControl;
class PhoneKeyerWindow;
class VoicePromptPlayer;
class VoicePrompts;
class ReportCommands;
class RigControl;
class RigInterface;
class SpotFeed;

// The other windows the main window opens from its keys and menus. The windows that stay open beside
// the main window are made on first use and kept until the program ends.
class FeatureWindows : public QObject
{
    Q_OBJECT

public:
    enum class Opening
    {
        Modal, // the main window waits until it is done
        Beside, // the main window goes on working
    };

    FeatureWindows(ReportCommands& reports, CwKeyerControl& cwKeyer, PhoneKeyerControl& phoneKeyer,
        OperatorDialogs& dialogs, QWidget& mainWindow, QObject* parent = nullptr);

    // The main window's key preview, made after this: the CW strings window hands its keys to it.
    void useKeyPreview(KeyPreview& keys);
    // The voice prompts the voice navigation window announces with, and where it keeps the level.
    void useVoiceNavigation(VoicePrompts& prompts, const Clock& clock, VoiceNavigationWindow::LevelSaver saveLevel);

    // The rig interface the rig window sets up, and where "&Done" keeps the rig's name.
    void useRigInterface(RigControl& rig, RigInterfaceWindow::RigNameSaver saveRigName);

    // The spot feed the spotting window sets up, and what the window asks of the rest of the program.
    void useSpotFeed(SpotFeed& feed, SpottingWindow::Hooks hooks);

    // What Ctrl+B opens: the spectrum map, which the main window makes.
    void useSpectrumMap(std::function<void()> open);

    // Opens the window of a Ctrl shortcut; false for a key that is no shortcut. The shortcuts of the
    // spectrum map (B), CW setup (C, S), DX spotting (D), rig tune (G), phone keyer (P), rig interface
    // (R) and CW strings (W) are taken, so their letters never reach a field.
    bool openForCtrlKey(int keyCode);
    // The CW keyer window, at its normal size and in front. Only a keyer that keys has one.
    void openCwKeyer(Opening opening);
    // The phone keyer window, at its normal size and in front. Only a keyer that plays has one.
    void openPhoneKeyer(Opening opening);
    // The voice navigation window, beside the main window. Only prompts that play have one.
    void openVoiceNavigation();
    // The tune window, modal; discarded when it closes.
    void openRigTune();
    // The rig interface window, at its normal size and in front. Only a rig interface that polls has one.
    void openRigInterface(Opening opening);
    // The spotting window, beside the main window, the preferences saved first. Made (and the stored source
    // opened) the first time; only a program with a spot feed has one.
    void openSpotting();
    // The program ends: a station connected through the packet engine is left, the source closed.
    void closeSpotFeed();
    // The CW strings window, beside the main window: at its normal size and in front, or minimised.
    void openCwMessages(Qt::WindowState state = Qt::WindowNoState);
    // Closes every window kept open beside the main window, in shutdown order.
    void closeAll();

private:
    void finishCwSetup();

    ReportCommands& m_reports;
    // Nothing while no CW keyer is set up.
    CwKeyer* m_cwKeyer;
    PhoneKeyer* m_phoneKeyer;
    OperatorDialogs& m_dialogs;
    QWidget& m_mainWindow;
    KeyPreview* m_keyPreview = nullptr;
    QPointer<CwKeyerWindow> m_cwKeyerWindow;
    QPointer<CwMessagesWindow> m_cwMessagesWindow;
    QPointer<PhoneKeyerWindow> m_phoneKeyerWindow;
    VoicePromptPlayer* m_prompts = nullptr;
    const Clock* m_clock = nullptr;
    VoiceNavigationWindow::LevelSaver m_saveVoiceLevel;
    QPointer<VoiceNavigationWindow> m_voiceNavigationWindow;
    RigControl* m_rigControl = nullptr;
    RigInterface* m_rig = nullptr;
    RigInterfaceWindow::RigNameSaver m_saveRigName;
    QPointer<RigInterfaceWindow> m_rigInterfaceWindow;
    SpotFeed* m_spotFeed = nullptr;
    SpottingWindow::Hooks m_spottingHooks;
    QPointer<SpottingWindow> m_spottingWindow;
    std::function<void()> m_openSpectrumMap;
};

} // namespace brindle
