#pragma once

#include "spots/SpotSettings.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTimer;

namespace brindle {

class OperatorDialogs;
class SpotFeed;

// " DX Spotting Setup": where spots come from (a packet TNC, the AGW Packet Engine or a Telnet cluster
// node), the monitor of what arrives, a box to type to the node, and how the main window shows the spots.
// Made the first time it is opened and kept until the program ends; reception goes on while it is hidden.
class SpottingWindow : public QDialog
{
    Q_OBJECT

public:
    // What the window asks the rest of the program.
    struct Hooks
    {
        std::function<std::string()> ownCall;
        // The call of the last contact logged; empty when the log is.
        std::function<std::string()> lastLoggedCall;
        // The main window's preferences saved, as "&Done" does first.
        std::function<void()> savePreferences;
    };

    SpottingWindow(SpotFeed& feed, OperatorDialogs& dialogs, Hooks hooks, QWidget* parent = nullptr);

    // A source chosen in the list, by its text.
    void chooseSource(const QString& text);
    // "Open Port".
    void openConnection();
    // "Close Port".
    void closeConnection();
    // "&Spot Last".
    void prepareSpotOfLastCall();
    // "&Done".
    void saveAndHide();
    // Enter in the send box.
    void sendTypedLine();
    // Esc or Ctrl+C; true when the key was used up.
    bool sendTncCommandChar();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    QWidget* buildSourceColumn();
    // How the main window shows the spots, and DX only: the same whatever the source.
    QLayout* buildDisplayRow();
    QGroupBox* buildTncGroup();
    QGroupBox* buildTelnetGroup();
    QGroupBox* buildAgwGroup();
    void connectControls();
    // Every control a source may use is disabled; the chosen source's group is enabled after.
    void disableSourceControls();
    void enableGroupOf(std::optional<SpotSource> source);
    void loadSpotSettings();
    // The values that are no serial setting: the hex flag and DX only have no say here.
    void showWindowValues(const SpotSettings& settings);
    void showSerialSettings(const SpotSettings& settings);
    void collectSerialOptions();
    void showSourcePage(std::optional<SpotSource> source);
    void showSourceHelp(std::optional<SpotSource> source);
    void showMonitor();
    void scheduleMonitor();
    // Controls that are no serial setting, into the feed's values.
    void keepWindowValues();
    // A serial option clicked.
    void serialOptionChanged();

    SpotFeed& m_feed;
    OperatorDialogs& m_dialogs;
    Hooks m_hooks;

    QListWidget* m_sourceList = nullptr;
    // The settings of one source at a time, in the order of SpotSource; the first page is empty.
    QStackedWidget* m_sourcePages = nullptr;
    std::array<QRadioButton*, 6> m_baudOptions {};
    QRadioButton* m_oddParityOption = nullptr;
    QRadioButton* m_noParityOption = nullptr;
    QRadioButton* m_evenParityOption = nullptr;
    QRadioButton* m_sevenBitsOption = nullptr;
    QRadioButton* m_eightBitsOption = nullptr;
    QRadioButton* m_oneStopBitOption = nullptr;
    QRadioButton* m_twoStopBitsOption = nullptr;
    std::array<QRadioButton*, HighestSpotPort> m_portOptions {};
    QRadioButton* m_noPowerOption = nullptr;
    QRadioButton* m_rtsPowerOption = nullptr;
    QRadioButton* m_dtrPowerOption = nullptr;
    QRadioButton* m_noHandshakeOption = nullptr;
    QRadioButton* m_xonXoffOption = nullptr;
    QRadioButton* m_rtsHandshakeOption = nullptr;
    QRadioButton* m_rtsXonXoffOption = nullptr;
    std::vector<QGroupBox*> m_serialFrames;
    QCheckBox* m_dxOnlyCheck = nullptr;
    QGroupBox* m_displayFrame = nullptr;
    QRadioButton* m_bandMapOption = nullptr;
    QRadioButton* m_spotListOption = nullptr;
    QLabel* m_commandCharCaption = nullptr;
    QLineEdit* m_commandCharField = nullptr;
    QLabel* m_tncCaption = nullptr;
    QLabel* m_telnetHostCaption = nullptr;
    QLineEdit* m_telnetHostField = nullptr;
    QLabel* m_telnetPortCaption = nullptr;
    QLineEdit* m_telnetPortField = nullptr;
    QLabel* m_telnetLoginCaption = nullptr;
    QLineEdit* m_telnetLoginField = nullptr;
    QCheckBox* m_autoReconnectCheck = nullptr;
    QCheckBox* m_keepAliveCheck = nullptr;
    QCheckBox* m_autoLoginCheck = nullptr;
    QLabel* m_agwAddressCaption = nullptr;
    QLineEdit* m_agwAddressField = nullptr;
    QLabel* m_listeningLabel = nullptr;
    QPlainTextEdit* m_monitorText = nullptr;
    // What the monitor shows, as it was put there.
    QString m_monitorShown;
    QLabel* m_sendPromptLabel = nullptr;
    QLineEdit* m_sendField = nullptr;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPushButton* m_spotLastButton = nullptr;
    QPushButton* m_doneButton = nullptr;
    // The monitor's next redraw, spaced from the last by the feed's clock.
    QTimer* m_monitorTimer = nullptr;
    std::optional<std::int64_t> m_lastMonitorMs;
    // Help is read from its top; everything else from the newest line.
    bool m_monitorFromTop = false;
    bool m_loadingSettings = false;
};

} // namespace brindle
