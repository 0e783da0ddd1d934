#pragma once

#include "log/ContestSession.h"
#include "log/MainWindowServices.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QLabel;
class QTimer;

namespace brindle {

class AppearanceCommands;
class ContactListPanel;
class ContactLogger;
class CwKeyerControl;
class DupeChecker;
class DupePanel;
class EntryPanel;
class FeatureWindows;
class KeyRouter;
class LogFileCommands;
class MainKeyPreview;
class MainMenu;
class MessageLine;
class MultiplierGridPanel;
class PhoneKeyerControl;
class ReportCommands;
class RigControl;
class ScorePanel;
class SpotFeed;
class SpotPanel;
class SpotsModel;
class SessionController;
class StatusPanel;
class VoicePrompts;

// The keyers, the voice prompts, the rig interface and the spot feed the main window drives. Until one is set up its
// null implementation stands in: the keys then do only their own part.
struct MainWindowKeyers
{
    MainWindowKeyers();
    MainWindowKeyers(MainWindowKeyers&&) noexcept;
    ~MainWindowKeyers();

    std::unique_ptr<CwKeyerControl> cw;
    std::unique_ptr<PhoneKeyerControl> phone;
    std::unique_ptr<VoicePrompts> voice;
    std::unique_ptr<RigControl> rig;
    // DX spots from a TNC, the packet engine or a cluster node; none until one is set up.
    std::unique_ptr<SpotFeed> spots;
};

// The main logging window. It owns the session's state and composes the panels and controllers that
// do the work; of its own it has only the start-up and close sequences.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowServices services, MainWindowKeyers keyers = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the start-up sequence. False when start-up stopped: the default data could not be read, or
    // the log could not be loaded and the program has been ended.
    bool startUp();
    // Station setup: shows the setup window, then applies the own station's data and saves it.
    void runStationSetup();
    // The Serial Ports window, over the devices present now; it saves the map itself.
    void chooseSerialPorts();
    // The spotting window's "&Done": the strip of spots along the bottom comes, switches between the list
    // and the band map, or goes, as the window's choices say.
    void updateSpotPanel();
    // The spectrum map of every band's spots, modal; made afresh each time.
    void openSpectrumMap();
    // Exit ends at once: no closing steps and no backup.
    void exitProgram();
    // A termination signal (a logout, kill, Ctrl+C in the terminal): the closing steps run without asking
    // anything, the character on the air ends, and the program ends with 128 + the signal's number.
    void endBySignal(int signalNumber);
    // Once a second: the clocks, then the operating time while the clock runs.
    void tickClocks();

    // Entry points for the keyers and the rig, which log, change band and reload as the menus do.
    void logContact();
    void changeBand(const std::string& band);
    bool reloadLog();

    // The steps tests drive directly.
    void releaseDupeHold();
    void clearEntry();
    void toggleTimeOn();
    void showRates();
    void refreshContactList();
    void deleteSelectedContact();
    void editSelectedContact();
    void newLog();
    void archiveLog();
    void restoreLog();

    const WorkingLog& workingLog() const;
    const OperatingState& operatingState() const;
    const DefaultData& defaultData() const;
    const CountryTable& countryTable() const;

    SpotsModel& spots() const
    {
        return *m_spots;
    }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildParts();
    void buildSpotParts(QWidget* canvas);
    void connectParts();
    void connectSpotParts();
    MainMenu* buildMenu();
    void endProgram(int exitCode);
    // Key and PTT up, the feature windows with their ports and the rig closed, the log backed up and the
    // operating time saved.
    void runClosingSteps();

    MainWindowServices m_services;
    ContestSession m_session;
    MainWindowKeyers m_keyers;
    bool m_ended = false;

    QLabel* m_messageLabel = nullptr;
    std::unique_ptr<MessageLine> m_messages;
    SessionController* m_controller = nullptr;
    LogFileCommands* m_logFiles = nullptr;
    ReportCommands* m_reports = nullptr;
    AppearanceCommands* m_appearance = nullptr;
    FeatureWindows* m_features = nullptr;
    MainKeyPreview* m_keyPreview = nullptr;
    KeyRouter* m_keys = nullptr;
    MainMenu* m_menu = nullptr;
    StatusPanel* m_statusPanel = nullptr;
    DupePanel* m_dupePanel = nullptr;
    DupeChecker* m_dupeChecker = nullptr;
    EntryPanel* m_entryPanel = nullptr;
    ContactLogger* m_logger = nullptr;
    ScorePanel* m_scorePanel = nullptr;
    ContactListPanel* m_contactListPanel = nullptr;
    MultiplierGridPanel* m_gridPanel = nullptr;
    SpotsModel* m_spots = nullptr;
    SpotPanel* m_spotPanel = nullptr;
    QTimer* m_clockTimer = nullptr;
};

} // namespace brindle
