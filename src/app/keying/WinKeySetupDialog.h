#pragma once

#include "keying/WinKeyProtocol.h"
#include "keying/WinKeySettings.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace brindle {

class CwKeyer;
class KeyRouter;

// " WinKey Setup": the WinKey keyer's port and settings, opening and closing it, and test text sent
// through it. The keyer and its settings belong to the CW keyer; the window shows and changes them, and
// "Done" keeps them in "WK.txt".
class WinKeySetupDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WinKeySetupDialog(CwKeyer& keyer, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void showSettings();
    void showKeyerState();
    // A field's check as it is left: a corrected text, and a valid value sent to an open keyer.
    void checkField(QLineEdit* field);
    // A pin configuration or mode option: its value is kept, and an open keyer gets the settings again.
    void chooseRegister(int WinKeySettings::*setting, int value);
    void openKeyer();
    void showOpening(WinKeyOpenOutcome outcome);
    void closeKeyer();
    void showClosed();
    void stopSending();
    void sendTest();
    void sendBufferTest();
    void sendTypedKey(int& keyAscii);
    void saveWinKeySettings();
    void focusDone();

    CwKeyer& m_keyer;
    KeyRouter* m_keys = nullptr;
    QLineEdit* m_portField = nullptr;
    QLineEdit* m_speedField = nullptr;
    QLineEdit* m_weightField = nullptr;
    QLineEdit* m_leadInField = nullptr;
    QLineEdit* m_tailField = nullptr;
    QLineEdit* m_ratioField = nullptr;
    QRadioButton* m_pttPinOption = nullptr;
    QRadioButton* m_tonePinOption = nullptr;
    QRadioButton* m_pin3KeyOption = nullptr;
    QRadioButton* m_pin5KeyOption = nullptr;
    QRadioButton* m_iambicBOption = nullptr;
    QRadioButton* m_iambicAOption = nullptr;
    QRadioButton* m_ultimaticOption = nullptr;
    QRadioButton* m_bugOption = nullptr;
    QLabel* m_openStatusLabel = nullptr;
    QLabel* m_versionLabel = nullptr;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QPushButton* m_testButton = nullptr;
    QPushButton* m_bufferTestButton = nullptr;
    QLineEdit* m_typeAheadField = nullptr;
    QPushButton* m_doneButton = nullptr;
    // While the window fills its controls, their signals change nothing.
    bool m_showing = false;
};

} // namespace brindle
