#pragma once

#include "rig/RigSettings.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace brindle {

class OperatorDialogs;
class RigInterface;

// " Rig Interface Setup": the rig, its port settings and poll strings, where the mode comes from, and a
// test that shows what the radio answers. The poll goes on while the window is hidden.
class RigInterfaceWindow : public QDialog
{
    Q_OBJECT

public:
    // Writes the rig's name into the default data, as "&Done" does.
    using RigNameSaver = std::function<void(const std::string& rigName)>;

    RigInterfaceWindow(
        RigInterface& rig, OperatorDialogs& dialogs, RigNameSaver saveRigName, QWidget* parent = nullptr);

    // A rig chosen in the list: its profile's settings fill the window.
    void chooseRig(const QString& name);
    // "Test": polling starts with what the window shows.
    void startPolling();
    // "End Test".
    void stopPolling();
    // "&Done": the poll restarts, the default data and "RigCntrl.txt" are written, the window goes.
    void saveRigSettings();
    void copyUnprocessed();
    // "Change Frequency".
    void openFrequencyTest();
    // "Browse" beside the Pegasus folder.
    void browsePegasusFolder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildRigColumn();
    QWidget* buildPortOptions();
    QWidget* buildPollColumn();
    QLayout* buildCommands();
    void connectControls();
    void showSettings(const RigSettings& settings);
    void showNetworkFields(std::string_view rigName);
    RigSettings settingsInWindow() const;
    void applyWindow();
    // An option clicked or a poll string entered: the running test ends, and the choice holds.
    void changeEndsTest();
    void showReading();
    void showPolling(bool polling);

    RigInterface& m_rig;
    OperatorDialogs& m_dialogs;
    RigNameSaver m_saveRigName;

    QListWidget* m_rigList = nullptr;
    QLabel* m_icomCaption = nullptr;
    QWidget* m_serialColumn = nullptr;
    std::array<QRadioButton*, HighestRigPort> m_portOptions {};
    std::array<QRadioButton*, 9> m_baudOptions {};
    QRadioButton* m_oddParityOption = nullptr;
    QRadioButton* m_noParityOption = nullptr;
    QRadioButton* m_evenParityOption = nullptr;
    QRadioButton* m_sevenBitsOption = nullptr;
    QRadioButton* m_eightBitsOption = nullptr;
    QRadioButton* m_oneStopBitOption = nullptr;
    QRadioButton* m_twoStopBitsOption = nullptr;
    QRadioButton* m_noPowerOption = nullptr;
    QRadioButton* m_rtsPowerOption = nullptr;
    QRadioButton* m_dtrPowerOption = nullptr;
    std::array<QRadioButton*, 4> m_pollOptions {};
    QLineEdit* m_frequencyPollField = nullptr;
    QLineEdit* m_modePollField = nullptr;
    QCheckBox* m_toHexCheck = nullptr;
    QCheckBox* m_fromHexCheck = nullptr;
    QCheckBox* m_useFrequencyCheck = nullptr;
    QRadioButton* m_modeByRigOption = nullptr;
    QRadioButton* m_modeByFrequencyOption = nullptr;
    QRadioButton* m_ignoreModeOption = nullptr;
    QLabel* m_rigFrequencyLabel = nullptr;
    QLabel* m_rigModeLabel = nullptr;
    QLabel* m_unprocessedLabel = nullptr;
    QLabel* m_pollingLabel = nullptr;
    QWidget* m_rigctldRow = nullptr;
    QLineEdit* m_rigctldHostField = nullptr;
    QLineEdit* m_rigctldPortField = nullptr;
    QWidget* m_pegasusRow = nullptr;
    QLineEdit* m_pegasusFolderField = nullptr;
    QPushButton* m_pegasusBrowseButton = nullptr;
    QPushButton* m_testButton = nullptr;
    QPushButton* m_endTestButton = nullptr;
    QPushButton* m_copyUnprocessedButton = nullptr;
    QPushButton* m_frequencyTestButton = nullptr;
    QPushButton* m_doneButton = nullptr;
    // While the window fills its controls, their signals change nothing.
    bool m_showing = false;
};

} // namespace brindle
