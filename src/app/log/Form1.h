#pragma once

#include "common/Clock.h"
#include "common/FileSystem.h"
#include "keying/KeyingState.h"
#include "log/OperatingState.h"
#include "log/QsoRecord.h"
#include "log/SectionTable.h"
#include "log/WorkingLog.h"
#include "station/CountryTable.h"
#include "station/DefaultData.h"
#include "station/ProgramStart.h"
#include "ui/KeyRouting.h"
#include "ui/WindowScaling.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace brindle {

class ClickableLabel;
class ContactListModel;
class KeyHold;
class OperatorDialogs;
class SettingsStore;
class SharedPreferences;

// What the main window reaches the outside through.
struct MainWindowServices
{
    FileSystem& fs;
    const Clock& clock;
    OperatorDialogs& dialogs;
    SettingsStore& settings;
    SharedPreferences& sharedPreferences;
    ProgramFolders folders;
    // Ends the program at once, with no closing steps and no backup.
    std::function<void(int exitCode)> endProgram;
};

// The main logging form: owns the log, the band tallies and the operating state for the whole run.
class MainWindow : public QMainWindow, public KeyPreview
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs the form's start-up sequence. False when start-up stopped: the default data could not be
    // read, or the log could not be loaded and the program has been ended.
    bool startUp();

    // Makes band the current band: label, default data, reload of the log, menu check marks.
    void changeBand(const std::string& band);
    // Rebuilds the log and everything derived from it from the log file. On a damaged file the
    // operator is told and the program ends; returns false then.
    bool reloadLog();
    // Rewrites the default-data file from the current settings; tells the operator if that fails.
    bool saveDefaultData();
    // Copies the log into the backup folder when contacts were added or removed since the first load.
    void backUpLog();
    // Starts a new log after the operator types YES.
    void newLog();

    // Station setup: shows the setup window, then applies the own station's data and saves it.
    void runStationSetup();
    // Bearing and distance from the own station to a target, into their labels.
    void showBearingAndDistance(double latitude, double longitude);

    // Score, multipliers and rates.
    void showScore();
    void showRates();
    void showOperatingTime();
    void toggleTimeOn();
    void togglePartialSearch();
    // Once a second: the operating time while the clock runs.
    void tickClocks();
    // The duplicate check for the call field's text; true when it is a duplicate on the current band.
    bool checkDuplicate();
    // Hands on keys held after a duplicate once their time has come (the hold's timer calls it).
    void releaseDupeHold();

    // Entry and logging.
    // Logs the contact in the entry fields once it passes every check.
    void logContact();
    void clearEntry();
    void togglePostContestMode();

    // The contact list and the contact editor.
    void refreshContactList();
    void toggleListAll();
    // Deletes the contact of the selected row after asking; nothing without a selected row.
    void deleteSelectedContact();
    // Opens the contact of the selected row in the editor, then writes and reloads the log.
    void editSelectedContact();
    void toggleListPrevious();

    // The form sees every key before the field that has the focus.
    void previewKeyDown(int& keyCode, int shift) override;
    void previewKeyPress(int& keyAscii) override;

    // Appearance.
    void askFormSize();
    void toggleTaskbar();
    void chooseGridColours();
    void showHelp();

    // Reports.
    void openSummarySheet();
    void exportAdif();
    void copyListToClipboard();
    void showRateGraph();
    void showBandPlan();

    void archiveLog();
    void restoreLog();
    void exitProgram();
    void cycleBand();

    const WorkingLog& workingLog() const
    {
        return m_log;
    }
    const OperatingState& operatingState() const
    {
        return m_state;
    }
    const DefaultData& defaultData() const
    {
        return m_defaults;
    }
    const ProgramFolders& folders() const
    {
        return m_services.folders;
    }
    const CountryTable& countryTable() const
    {
        return m_countries;
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildForm();
    void buildEntryFields(QWidget* central);
    void buildGrid(QWidget* central);
    // False when the country file could not be read: the operator has been told, and the rest of the
    // start-up sequence is skipped.
    bool loadCountryFile();
    void buildContactList(QWidget* central);
    void buildClocks(QWidget* central);
    void showCountryOfCall();
    void prepareForNextCall();
    void completeCall();
    void handleCallKey(int& keyAscii);
    void handleRstRcvdKey(int& keyAscii);
    void handleSectionKey(int& keyAscii);
    void handleRstSentKey(int& keyAscii);
    void handleCountryKey(int& keyAscii);
    void proposeTodaysDate();
    void handlePostContestKey(QLineEdit* field, int& keyAscii, const char* admitted);
    void handleFieldFocus(QObject* field);
    bool validateSection();
    bool checkRequiredFields();
    bool checkPostContestDateTime();
    void clearEntryFields();
    void countNewContact(const QsoRecord& record);
    void showClocks();
    void startOperatingClock();
    // Speaks the name of a field or event for an operator who cannot see the screen.
    void playPrompt(std::string_view prompt);
    // The record number of the contact list's selected row; nothing when no row is selected.
    std::optional<int> selectedRecord() const;
    void showEditButtons(bool shown);
    // The list's clicks and focus: true when the event has been handled.
    bool contactListEvent(QObject* watched, QEvent* event);
    // The list's columns in their share of the form's width, and one line of its font a row.
    void sizeContactList();
    // The call field's own key steps, for a key typed now or handed on after a hold.
    void applyCallKey(int& keyAscii);
    void replayHeldCallKey(int keyAscii);
    void searchPartialCall(int keyAscii);
    void updateNewSectionMarker();
    void showSectionTally(int position);
    void buildScorePanel(QWidget* central);
    void setDialogBackColour(std::uint32_t bgr);
    void showPossibleDupes(const QString& text);
    void showCountryDetails(const CountryInfo* record);
    // The contest mode on the form, and the report fields' length that goes with it.
    void showMode();
    bool loadDefaultData();
    // Proposes a new UTC offset when the stored one no longer matches the computer's clocks.
    void checkUtcOffset();
    // The form at a share of the screen below 100 %.
    void applyReducedSize(const ScreenGeometry& screen);
    // The form at full size fills the work area or the whole screen, as the taskbar setting says.
    void applyTaskbarOptionToWindow();
    bool inPhone() const;
    // Opens the window of a Ctrl shortcut; false for a key that is no shortcut.
    bool openWindowForCtrlKey(int keyCode);
    void sendCwMessage(int keyCode);
    void playPhoneMessage(int keyCode);
    void changeCwSpeed(bool faster);
    void askToContinueExistingLog();
    void stopOperatingClock();
    void showAllRemaining();
    void paintGrid();
    void checkBand();
    void reportWriteFailure(std::string_view what, const Error& error);
    std::string defaultDataPath() const;

    MainWindowServices m_services;
    WorkingLog m_log;
    OperatingState m_state;
    DefaultData m_defaults;
    CountryTable m_countries;
    KeyRouter* m_keys = nullptr;
    KeyHold* m_dupeHold = nullptr;
    bool m_dupeFound = false;
    bool m_ended = false;
    // Set while the logging step moves the focus between fields: the checks see the fields as typed,
    // not as leaving the call field would complete them.
    bool m_focusHandlersQuiet = false;
    // Set by a Ctrl key-down: the character of that key is dropped.
    bool m_swallowNextChar = false;
    KeyingState m_keying;
    // A character one field's key handler hands on to another's: 2 into the country, 3 into the
    // section, 4 into the received report; 0 between keys.
    struct HandOver
    {
        int target = 0;
        int keyAscii = 0;
    } m_handOver;

    // Menus.
    QAction* m_newLogAction = nullptr;
    QAction* m_reloadLogAction = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_archiveLogAction = nullptr;
    QAction* m_restoreLogAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_stationSetupAction = nullptr;
    QAction* m_writeCabrilloAction = nullptr;
    QAction* m_exportGeneralAction = nullptr;
    QAction* m_exportAdifAction = nullptr;
    QAction* m_copyListAction = nullptr;
    QAction* m_cwSetupAction = nullptr;
    QAction* m_phoneSetupAction = nullptr;
    QAction* m_formSizeAction = nullptr;
    QAction* m_taskbarAction = nullptr;
    QAction* m_coloursAction = nullptr;
    QAction* m_rigInterfaceAction = nullptr;
    QAction* m_spottingAction = nullptr;
    QAction* m_spectrumMapAction = nullptr;
    QAction* m_voiceNavigationAction = nullptr;
    QAction* m_listPreviousAction = nullptr;
    QAction* m_postContestAction = nullptr;
    QAction* m_privilegesAction = nullptr;
    QAction* m_graphAction = nullptr;
    QAction* m_helpAction = nullptr;
    std::array<QAction*, BandCount> m_bandActions {}; // mnu160 … mnu10

    // Entry fields.
    QLineEdit* m_callField = nullptr;
    QLineEdit* m_rstRcvdField = nullptr;
    QLineEdit* m_sectionField = nullptr;
    QLineEdit* m_rstSentField = nullptr;
    QLineEdit* m_countryField = nullptr;
    QLineEdit* m_postContestTimeField = nullptr;
    QLineEdit* m_postContestDateField = nullptr;
    QLabel* m_postContestTimeCaption = nullptr;
    QLabel* m_postContestDateCaption = nullptr;
    QPushButton* m_clearButton = nullptr;

    // The contact list.
    QTableView* m_contactList = nullptr;
    ContactListModel* m_contactListModel = nullptr;
    QPushButton* m_listAllButton = nullptr;
    QPushButton* m_editContactButton = nullptr;
    QPushButton* m_deleteContactButton = nullptr;

    // Clocks.
    QLabel* m_localTimeLabel = nullptr; // local time
    QLabel* m_amPmLabel = nullptr; // AM or PM
    QLabel* m_utcTimeLabel = nullptr; // UTC

    // Labels.
    ClickableLabel* m_bandLabel = nullptr; // current band
    QLabel* m_modeLabel = nullptr; // contest mode
    QLabel* m_ownCallLabel = nullptr; // own call
    QLabel* m_powerLabel = nullptr; // own power
    QLabel* m_continentLabel = nullptr; // continent of the call being entered
    QLabel* m_bearingLabel = nullptr; // bearing
    QLabel* m_distanceLabel = nullptr; // distance
    QLabel* m_messageLabel = nullptr; // the form's message line
    QLabel* m_totalContactsLabel = nullptr; // total contacts
    QLabel* m_qsoPointsLabel = nullptr; // QSO points
    QLabel* m_multipliersLabel = nullptr; // total multipliers
    QLabel* m_scoreLabel = nullptr; // score
    QLabel* m_rate20Label = nullptr; // rate over the last 20 minutes
    QLabel* m_rate60Label = nullptr; // rate over the last 60 minutes
    QLabel* m_operatingTimeLabel = nullptr; // operating time
    QLabel* m_newSectionMarker = nullptr; // "New": the section field's section is a new multiplier
    QLabel* m_possibleDupesLabel = nullptr; // possible duplicates, or a section's tally
    QPushButton* m_partialSearchButton = nullptr; // partial search on or off
    QPushButton* m_timeOnButton = nullptr; // operating clock
    QTimer* m_rateTimer = nullptr; // rates, every minute
    QTimer* m_clockTimer = nullptr; // clocks, every second
    // The multiplier grid: element 0 counts the sections worked on the current band, 1 to 63 are the
    // sections themselves.
    std::array<ClickableLabel*, SectionTable::Size + 1> m_gridLabels {};
};

} // namespace brindle
