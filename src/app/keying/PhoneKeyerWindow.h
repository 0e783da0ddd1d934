#pragma once

#include "keying/PhoneSettings.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace brindle {

class KeyRouter;
class OperatorDialogs;
class PhoneKeyer;

// "Phone Wave Selections": the wave files of F1 to F9, the PTT port and line, and the pause before F1
// repeats. What is typed holds at once for the keyer; "Done" keeps it in "wave2.txt".
class PhoneKeyerWindow : public QDialog
{
    Q_OBJECT

public:
    PhoneKeyerWindow(PhoneKeyer& keyer, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    // "Browse" of a key (0 for F1): a wave file chosen in the file dialog goes into its field.
    void browseWaveFile(int index);
    // "Test": plays F1 as the main window's key does.
    void playTestMessage();
    // "Stop": the F1 started by "Test" repeats no more.
    void stopRepeat();
    // "Done": the window goes and the settings are written.
    void savePhoneSettings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLayout* buildWaveFiles();
    QLayout* buildPtt();
    void routeKeys();
    void showSettings();
    PhoneSettings settingsInFields() const;
    void applyFields();
    void leavePttPortField();
    void leaveRepeatSecondsField();
    void focusDone();

    PhoneKeyer& m_keyer;
    OperatorDialogs& m_dialogs;
    KeyRouter* m_keys = nullptr;
    std::array<QLineEdit*, PhoneMessageCount> m_waveFileFields {};
    std::array<QPushButton*, PhoneMessageCount> m_browseButtons {};
    QLineEdit* m_pttPortField = nullptr;
    QRadioButton* m_rtsPttOption = nullptr;
    QRadioButton* m_dtrPttOption = nullptr;
    QRadioButton* m_parallelPttOption = nullptr;
    QLineEdit* m_parallelAddressField = nullptr;
    QLineEdit* m_repeatSecondsField = nullptr;
    QPushButton* m_testButton = nullptr;
    QPushButton* m_stopRepeatButton = nullptr;
    QPushButton* m_doneButton = nullptr;
    // While the window fills its controls, their signals change nothing.
    bool m_showing = false;
};

} // namespace brindle
