#include "MainKeyPreview.h"

#include "common/KeyFilters.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "keying/CwMessages.h"
#include "keying/KeyerControls.h"
#include "log/ContestSession.h"
#include "log/FeatureWindows.h"
#include "ui/MessageLine.h"

#include <QDir>

namespace brindle {

namespace {

constexpr int ShiftCtrl = 2;
constexpr int F10 = vk::F1 + 9;
constexpr int F12 = vk::F1 + 11;

bool isModifierKey(int keyCode)
{
    return keyCode == vk::Shift || keyCode == vk::Control || keyCode == vk::Menu;
}

bool isFunctionKey(int keyCode)
{
    return keyCode >= vk::F1 && keyCode <= F12;
}

} // namespace

MainKeyPreview::MainKeyPreview(ContestSession& session, const std::string& workingDir, CwKeyerControl& cwKeyer,
    PhoneKeyerControl& phoneKeyer, FeatureWindows& windows, MessageLine& messages, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_workingDir(workingDir)
    , m_cwKeyer(cwKeyer)
    , m_phoneKeyer(phoneKeyer)
    , m_windows(windows)
    , m_messages(messages)
{
}

bool MainKeyPreview::inPhone() const
{
    return equalsIgnoreCase(m_session.defaults.mode, ModePhone);
}

void MainKeyPreview::previewKeyDown(int& keyCode, int shift)
{
    KeyingState& keying = m_session.keying;
    // Ctrl alone, not with a letter, drops nothing: the next character typed is the operator's.
    if (shift == ShiftCtrl && !isModifierKey(keyCode)) {
        m_swallowNextChar = true;
        QDir::setCurrent(pathToQString(m_workingDir));
        if (m_windows.openForCtrlKey(keyCode)) {
            keyCode = 0;
            return;
        }
    }
    if (keying.cwRepeatArmed) {
        m_cwKeyer.stopRepeat();
        keying.cwRepeatArmed = false;
    }
    if (keying.phoneRepeatArmed) {
        m_phoneKeyer.stopRepeat();
    }

    if (!inPhone()) {
        if (keying.cwKeying == CwKeying::None) {
            return;
        }
        if (keyCode == vk::Down || keyCode == vk::Up) {
            if (keyCode == vk::Up) {
                m_cwKeyer.speedUp();
            } else {
                m_cwKeyer.slowDown();
            }
            m_messages.show(toQString(m_cwKeyer.speedText() + " WPM"));
            keyCode = 0;
            return;
        }
        if (keyCode == F12) {
            toggleKeyboardCw();
        } else if (isFunctionKey(keyCode)) {
            m_cwKeyer.sendMessage(keyerCodeOf(keyCode));
        }
        return;
    }
    if (keyCode == F10) {
        keyCode = 0;
    } else if (keyCode >= vk::F1 && keyCode < F10) {
        m_phoneKeyer.playMessage(keyCode);
    }
}

void MainKeyPreview::toggleKeyboardCw()
{
    KeyingState& keying = m_session.keying;
    keying.keyboardCwMode = !keying.keyboardCwMode;
    if (keying.keyboardCwMode) {
        m_messages.showKeyboardCw(QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode."));
    } else {
        m_messages.clear();
    }
}

void MainKeyPreview::previewNoCharacter()
{
    // A Ctrl key that types nothing leaves no character to drop: the next one typed is the operator's.
    m_swallowNextChar = false;
}

void MainKeyPreview::previewKeyPress(int& keyAscii)
{
    if (m_swallowNextChar) {
        m_swallowNextChar = false;
        keyAscii = 0;
        return;
    }
    if (keyAscii == KeyEscape && inPhone() && m_phoneKeyer.isPlaying()) {
        m_phoneKeyer.stopPlaying();
        keyAscii = 0;
        return;
    }
    if (keyAscii == KeyEscape) {
        // Esc stops what is being sent first; only with nothing on the air does it clear the entry.
        if (m_cwKeyer.isSending()) {
            m_cwKeyer.clearBuffer();
        } else {
            emit clearRequested();
        }
        keyAscii = 0;
        return;
    }
    if (!m_session.keying.keyboardCwMode || inPhone()) {
        return;
    }
    if (keyAscii == KeyBackspace) {
        if (m_cwKeyer.isSending() && m_cwKeyer.takeBackCharacter()) {
            keyAscii = 0;
        }
        return;
    }
    m_cwKeyer.typeCharacter(static_cast<char>(upperCaseLetter(keyAscii)));
    keyAscii = 0;
}

} // namespace brindle
