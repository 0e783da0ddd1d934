#pragma once

#include "ui/KeyRouting.h"

#include <QObject>

#include <string>

namespace brindle {

class CwKeyerControl;
class FeatureWindows;
class MessageLine;
class PhoneKeyerControl;
struct ContestSession;

// The keys the main window sees before any field: shortcuts to the other windows, the keyers'
// function keys and speed arrows, Esc, and typing in keyboard CW mode.
class MainKeyPreview : public QObject, public KeyPreview
{
    Q_OBJECT

public:
    MainKeyPreview(ContestSession& session, const std::string& workingDir, CwKeyerControl& cwKeyer,
        PhoneKeyerControl& phoneKeyer, FeatureWindows& windows, MessageLine& messages, QObject* parent = nullptr);

    void previewKeyDown(int& keyCode, int shift) override;
    void previewKeyPress(int& keyAscii) override;
    void previewNoCharacter() override;

signals:
    // Esc with nothing on the air: the entry is to be cleared.
    void clearRequested();

private:
    bool inPhone() const;
    void toggleKeyboardCw();

    ContestSession& m_session;
    const std::string m_workingDir;
    CwKeyerControl& m_cwKeyer;
    PhoneKeyerControl& m_phoneKeyer;
    FeatureWindows& m_windows;
    MessageLine& m_messages;
    // Set by a Ctrl key-down: the character of that key is dropped.
    bool m_swallowNextChar = false;
};

} // namespace brindle
