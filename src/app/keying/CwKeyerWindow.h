#pragma once

#include "keying/CwSettings.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace brindle {

class CwKeyer;
class KeyRouter;
class OperatorDialogs;

// "CW String Selections": the CW keyer's messages and settings, which live in the keyer; the window
// shows them whenever it opens or comes to the front, and every change goes to the keyer at once, so
// the function keys send what the fields show. Done saves them.
class CwKeyerWindow : public QDialog
{
    Q_OBJECT

public:
    CwKeyerWindow(CwKeyer& keyer, OperatorDialogs& dialogs, QWidget* parent = nullptr);

signals:
    // Done wrote the settings file; the window has gone.
    void settingsSaved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QLayout* buildMessages();
    QLayout* buildLegend();
    QLayout* buildSettings();
    QGroupBox* buildTiming();
    QLayout* buildCommands();
    void routeKeys();
    void connectChanges();

    // The keyer's settings in the fields.
    void showSettings();
    void showSpeed();
    void showLoopCount();
    CwSettings settingsInFields() const;
    CwKeying chosenKeying() const;
    // Every change of a field or an option goes to the keyer as soon as it is made.
    void applyFields();

    void leaveNumberField(QLineEdit* field);
    void chooseTiming(CwTiming timing);
    void enableLoopControls(bool on);
    void takeTypedLoopCount();
    void speedUp();
    void slowDown();
    void widenWordSpace();
    void narrowWordSpace();
    void shortenLoop();
    void lengthenLoop();
    void sendTestMessage();
    void watchTestMessage();
    void openCodePractice();
    void configureWinKey();
    void saveCwSettings();

    CwKeyer& m_keyer;
    OperatorDialogs& m_dialogs;
    KeyRouter* m_keys = nullptr;
    // Set while the fields are filled from the keyer: nothing is then a change of the operator's.
    bool m_showing = false;

    std::array<QLineEdit*, CwSettings::MessageCount> m_messageFields {};
    QLineEdit* m_cwPortField = nullptr;
    QLineEdit* m_speedField = nullptr;
    QLineEdit* m_wordSpaceField = nullptr;
    QLineEdit* m_parallelAddressField = nullptr;
    QLineEdit* m_repeatSecondsField = nullptr;
    QCheckBox* m_showTextOnMainCheck = nullptr;
    QGroupBox* m_keyingFrame = nullptr;
    QRadioButton* m_rtsOption = nullptr;
    QRadioButton* m_dtrOption = nullptr;
    QRadioButton* m_parallelOption = nullptr;
    QRadioButton* m_noKeyingOption = nullptr;
    QRadioButton* m_winKeyOption = nullptr;
    QRadioButton* m_timerTimingOption = nullptr;
    QRadioButton* m_loopTimingOption = nullptr;
    QRadioButton* m_sleepTimingOption = nullptr;
    QLabel* m_loopCountCaption = nullptr;
    QLineEdit* m_loopCountField = nullptr;
    QPushButton* m_loopFasterButton = nullptr;
    QPushButton* m_loopSlowerButton = nullptr;
    QPushButton* m_fasterButton = nullptr;
    QPushButton* m_slowerButton = nullptr;
    QPushButton* m_moreSpaceButton = nullptr;
    QPushButton* m_lessSpaceButton = nullptr;
    QPushButton* m_testButton = nullptr;
    QLabel* m_sendingLabel = nullptr;
    QPushButton* m_codePracticeButton = nullptr;
    QPushButton* m_configureWinKeyButton = nullptr;
    QPushButton* m_doneButton = nullptr;
    // Hides "Sending!" once the test message is on the air no longer.
    QTimer* m_testWatch = nullptr;
};

} // namespace brindle
