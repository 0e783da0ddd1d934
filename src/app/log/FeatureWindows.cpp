#include "FeatureWindows.h"

#include "common/OperatorDialogs.h"
#include "keying/CwKeyer.h"
#include "keying/CwKeyerWindow.h"
#include "keying/CwMessagesWindow.h"
#include "keying/PhoneKeyer.h"
#include "keying/PhoneKeyerWindow.h"
#include "keying/VoicePromptPlayer.h"
#include "reports/ReportCommands.h"
#include "rig/RigInterface.h"
#include "rig/RigTuneDialog.h"
#include "spots/SpotFeed.h"

#include <QWidget>

namespace brindle {

namespace {

void showInFront(QWidget& window)
{
    window.showNormal();
    window.raise();
    window.activateWindow();
}

} // namespace

FeatureWindows::FeatureWindows(ReportCommands& reports, CwKeyerControl& cwKeyer, PhoneKeyerControl& phoneKeyer,
    OperatorDialogs& dialogs, QWidget& mainWindow, QObject* parent)
    : QObject(parent)
    , m_reports(reports)
    , m_cwKeyer(qobject_cast<CwKeyer*>(&cwKeyer))
    , m_phoneKeyer(qobject_cast<PhoneKeyer*>(&phoneKeyer))
    , m_dialogs(dialogs)
    , m_mainWindow(mainWindow)
{
    if (m_cwKeyer) {
        // A CW port that cannot be opened: the window comes up for another choice, unless it is up.
        connect(m_cwKeyer, &CwKeyer::cwPortRefused, this, [this] {
            if (!m_cwKeyerWindow || !m_cwKeyerWindow->isVisible()) {
                openCwKeyer(Opening::Modal);
            }
        });
    }
    if (m_phoneKeyer) {
        // A PTT port that cannot be opened: the window comes up for another choice, unless it is up.
        connect(m_phoneKeyer, &PhoneKeyer::pttPortRefused, this, [this] {
            if (!m_phoneKeyerWindow || !m_phoneKeyerWindow->isVisible()) {
                openPhoneKeyer(Opening::Modal);
            }
        });
    }
}

void FeatureWindows::useKeyPreview(KeyPreview& keys)
{
    m_keyPreview = &keys;
}

void FeatureWindows::useVoiceNavigation(
    VoicePrompts& prompts, const Clock& clock, VoiceNavigationWindow::LevelSaver saveLevel)
{
    m_prompts = dynamic_cast<VoicePromptPlayer*>(&prompts);
    m_clock = &clock;
    m_saveVoiceLevel = std::move(saveLevel);
}

void FeatureWindows::useRigInterface(RigControl& rig, RigInterfaceWindow::RigNameSaver saveRigName)
{
    m_rigControl = &rig;
    m_rig = qobject_cast<RigInterface*>(&rig);
    m_saveRigName = std::move(saveRigName);
    if (m_rig) {
        // A port that cannot be opened: the window comes up for another choice, unless it is up.
        connect(m_rig, &RigInterface::rigPortRefused, this, [this] {
            if (!m_rigInterfaceWindow || !m_rigInterfaceWindow->isVisible()) {
                openRigInterface(Opening::Modal);
            }
        });
    }
}

void FeatureWindows::useSpotFeed(SpotFeed& feed, SpottingWindow::Hooks hooks)
{
    m_spotFeed = &feed;
    m_spottingHooks = std::move(hooks);
    // A TNC port or packet engine that cannot be reached: the window shows why, unless it is up.
    connect(m_spotFeed, &SpotFeed::sourceRefused, this, [this] {
        if (m_spottingWindow && !m_spottingWindow->isVisible()) {
            showInFront(*m_spottingWindow);
        }
    });
}

void FeatureWindows::useSpectrumMap(std::function<void()> open)
{
    m_openSpectrumMap = std::move(open);
}

void FeatureWindows::openSpotting()
{
    if (!m_spotFeed) {
        return;
    }
    m_spottingHooks.savePreferences();
    if (!m_spottingWindow) {
        m_spottingWindow = new SpottingWindow(*m_spotFeed, m_dialogs, m_spottingHooks, &m_mainWindow);
    }
    showInFront(*m_spottingWindow);
}

void FeatureWindows::closeSpotFeed()
{
    if (m_spotFeed) {
        m_spotFeed->shutDown();
    }
}

void FeatureWindows::openRigTune()
{
    if (!m_rigControl) {
        return;
    }
    RigTuneDialog tune(*m_rigControl, &m_mainWindow);
    m_dialogs.runModal(tune);
}

void FeatureWindows::openRigInterface(Opening opening)
{
    if (!m_rig) {
        return;
    }
    if (!m_rigInterfaceWindow) {
        m_rigInterfaceWindow = new RigInterfaceWindow(*m_rig, m_dialogs, m_saveRigName, &m_mainWindow);
    }
    if (opening == Opening::Modal && !m_rigInterfaceWindow->isVisible()) {
        m_dialogs.runModal(*m_rigInterfaceWindow);
        return;
    }
    showInFront(*m_rigInterfaceWindow);
}

void FeatureWindows::openVoiceNavigation()
{
    if (!m_prompts) {
        return;
    }
    if (!m_voiceNavigationWindow) {
        m_voiceNavigationWindow = new VoiceNavigationWindow(*m_prompts, *m_clock, m_saveVoiceLevel, &m_mainWindow);
    }
    showInFront(*m_voiceNavigationWindow);
}

bool FeatureWindows::openForCtrlKey(int keyCode)
{
    switch (keyCode) {
    case 'F':
        m_reports.showBandPlan();
        return true;
    case 'C':
    case 'S':
        openCwKeyer(Opening::Beside);
        return true;
    case 'W':
        openCwMessages();
        return true;
    case 'P':
        openPhoneKeyer(Opening::Beside);
        return true;
    case 'R':
        openRigInterface(Opening::Beside);
        return true;
    case 'G':
        openRigTune();
        return true;
    case 'D':
        openSpotting();
        return true;
    case 'B':
        if (m_openSpectrumMap) {
            m_openSpectrumMap();
        }
        return true;
    default:
        return false;
    }
}

void FeatureWindows::openCwKeyer(Opening opening)
{
    if (!m_cwKeyer) {
        return;
    }
    if (!m_cwKeyerWindow) {
        m_cwKeyerWindow = new CwKeyerWindow(*m_cwKeyer, m_dialogs, &m_mainWindow);
        connect(m_cwKeyerWindow, &CwKeyerWindow::settingsSaved, this, &FeatureWindows::finishCwSetup);
    }
    // Already open beside the main window, it only comes to the front.
    if (opening == Opening::Modal && !m_cwKeyerWindow->isVisible()) {
        m_dialogs.runModal(*m_cwKeyerWindow);
        return;
    }
    showInFront(*m_cwKeyerWindow);
}

void FeatureWindows::openPhoneKeyer(Opening opening)
{
    if (!m_phoneKeyer) {
        return;
    }
    if (!m_phoneKeyerWindow) {
        m_phoneKeyerWindow = new PhoneKeyerWindow(*m_phoneKeyer, m_dialogs, &m_mainWindow);
    }
    if (opening == Opening::Modal && !m_phoneKeyerWindow->isVisible()) {
        m_dialogs.runModal(*m_phoneKeyerWindow);
        return;
    }
    showInFront(*m_phoneKeyerWindow);
}

void FeatureWindows::openCwMessages(Qt::WindowState state)
{
    if (!m_cwKeyer || !m_keyPreview) {
        return;
    }
    if (!m_cwMessagesWindow) {
        m_cwMessagesWindow = new CwMessagesWindow(*m_cwKeyer, *m_keyPreview, &m_mainWindow);
    }
    if (state == Qt::WindowMinimized) {
        m_cwMessagesWindow->showMinimized();
        return;
    }
    showInFront(*m_cwMessagesWindow);
}

void FeatureWindows::finishCwSetup()
{
    // The messages stay in sight, out of the way, while there is a keying line to send them on.
    if (m_cwKeyer->settings().keying != CwKeying::None) {
        openCwMessages(Qt::WindowMinimized);
    }
    m_mainWindow.activateWindow();
}

void FeatureWindows::closeAll()
{
    // Phone keyer, CW setup, voice navigation, rig interface, DX spotting, spectrum map, CW strings and
    // WinKey, as those come.
    for (QWidget* window :
        { static_cast<QWidget*>(m_phoneKeyerWindow.data()), static_cast<QWidget*>(m_cwKeyerWindow.data()),
            static_cast<QWidget*>(m_voiceNavigationWindow.data()), static_cast<QWidget*>(m_rigInterfaceWindow.data()),
            static_cast<QWidget*>(m_spottingWindow.data()), static_cast<QWidget*>(m_cwMessagesWindow.data()) }) {
        if (window) {
            window->close();
        }
    }
}

} // namespace brindle
