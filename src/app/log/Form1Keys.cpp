// The keys the main window sees before any field: shortcuts to the other windows, the keyers' function
// keys and speed arrows, Esc, and typing in keyboard CW mode.

#include "Form1.h"

#include "common/KeyFilters.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/Bands.h"
#include "ui/Colours.h"
#include "ui/KeyRouting.h"

#include <QDir>
#include <QLabel>

namespace brindle {

namespace {

constexpr int ShiftCtrl = 2;
constexpr int F10 = vk::F1 + 9;
constexpr int F12 = vk::F1 + 11;
// The keyers know F10 by a code of its own: the platform reserves F10 for the menu bar.
constexpr int KeyerF10 = 124;
constexpr std::uint32_t KeyboardCwBackColour = 0xC0FFFF;
constexpr std::uint32_t DialogBackColour = 0xC0C000;

bool isModifierKey(int keyCode)
{
    return keyCode == vk::Shift || keyCode == vk::Control || keyCode == vk::Menu;
}

bool isFunctionKey(int keyCode)
{
    return keyCode >= vk::F1 && keyCode <= F12;
}

} // namespace

bool MainWindow::inPhone() const
{
    return equalsIgnoreCase(m_defaults.mode, ModePhone);
}

void MainWindow::previewKeyDown(int& keyCode, int shift)
{
    // Ctrl alone, not with a letter, drops nothing: the next character typed is the operator's.
    if (shift == ShiftCtrl && !isModifierKey(keyCode)) {
        m_swallowNextChar = true;
        QDir::setCurrent(pathToQString(m_services.folders.workingDir));
        if (openWindowForCtrlKey(keyCode)) {
            keyCode = 0;
            return;
        }
    }
    if (m_keying.cwRepeatArmed) {
        m_keying.cwBuffer.clear();
        m_keying.cwRepeatArmed = false;
    }
    m_keying.phoneRepeatArmed = false;

    if (!inPhone()) {
        if (m_keying.cwKeyingOption == 0) {
            return;
        }
        if (keyCode == vk::Down || keyCode == vk::Up) {
            changeCwSpeed(keyCode == vk::Up);
            keyCode = 0;
            return;
        }
        if (keyCode == F12) {
            m_keying.keyboardCwMode = !m_keying.keyboardCwMode;
            if (m_keying.keyboardCwMode) {
                m_messageLabel->setText(QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode."));
                setDialogBackColour(KeyboardCwBackColour);
            } else {
                m_messageLabel->clear();
                setDialogBackColour(DialogBackColour);
            }
        } else if (isFunctionKey(keyCode)) {
            sendCwMessage(keyCode == F10 ? KeyerF10 : keyCode);
        }
        return;
    }
    if (keyCode == F10) {
        keyCode = 0;
    } else if (keyCode >= vk::F1 && keyCode < F10) {
        playPhoneMessage(keyCode);
    }
}

void MainWindow::previewKeyPress(int& keyAscii)
{
    if (m_swallowNextChar) {
        m_swallowNextChar = false;
        keyAscii = 0;
        return;
    }
    if (keyAscii == KeyEscape) {
        // Esc stops what is being sent first; only with nothing on the air does it clear the entry.
        if (m_keying.cwSending) {
            m_keying.cwBuffer.clear();
        } else {
            clearEntry();
        }
        keyAscii = 0;
        return;
    }
    if (!m_keying.keyboardCwMode || inPhone()) {
        return;
    }
    if (keyAscii == KeyBackspace) {
        if (m_keying.cwSending && !m_keying.cwBuffer.empty()) {
            m_keying.cwBuffer.pop_back();
            keyAscii = 0;
        }
        return;
    }
    m_keying.cwBuffer += static_cast<char>(upperCaseLetter(keyAscii));
    keyAscii = 0;
}

bool MainWindow::openWindowForCtrlKey(int keyCode)
{
    switch (keyCode) {
    case 'F':
        showBandPlan();
        return true;
    // The spectrum map (B), CW setup (C, S), DX spotting (D), rig tune (G), phone keyer (P), rig interface
    // (R) and CW strings (W) open here once they are part of the program.
    case 'B':
    case 'C':
    case 'D':
    case 'G':
    case 'P':
    case 'R':
    case 'S':
    case 'W':
        return true;
    default:
        return false;
    }
}

void MainWindow::sendCwMessage(int keyCode)
{
    // The CW keyer sends the message of this key; there is no keyer to send it yet.
    (void)keyCode;
}

void MainWindow::playPhoneMessage(int keyCode)
{
    // The phone keyer plays the message of this key; there is no phone keyer to play it yet.
    (void)keyCode;
}

void MainWindow::changeCwSpeed(bool faster)
{
    // The CW keyer's speed; there is no keyer whose speed to change yet.
    (void)faster;
}

} // namespace brindle
