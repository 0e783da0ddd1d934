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

// What the main form reaches the outside through.
struct Form1Services
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
class Form1 : public QMainWindow, public KeyPreviewForm
{
    Q_OBJECT

public:
    explicit Form1(Form1Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // Runs the form's start-up sequence. False when start-up stopped: the default data could not be
    // read, or the log could not be loaded and the program has been ended.
    bool startUp();

    // Makes band the current band: label, default data, reload of the log, menu check marks.
    void ChangeBand(const std::string& band);
    // Rebuilds the log and everything derived from it from the log file. On a damaged file the
    // operator is told and the program ends; returns false then.
    bool mnuopen2();
    // Rewrites the default-data file from the current settings; tells the operator if that fails.
    bool SavePref();
    // Copies the log into the backup folder when contacts were added or removed since the first load.
    void Backup();
    // Starts a new log after the operator types YES.
    void NewLog();

    // Station setup: shows the setup window, then applies the own station's data and saves it.
    void mnuSetup_Click();
    // Bearing and distance from the own station to a target, into their labels.
    void HDCalc(double cntlat, double cntlong);

    // Score, multipliers and rates.
    void Labeldisplay();
    void TimeStats();
    void ShowOperatingTime();
    void cmdLogOn_Click();
    void cmdDup_Click();
    // Once a second: the operating time while the clock runs.
    void Timer2_Timer();
    // The duplicate check for the call field's text; true when it is a duplicate on the current band.
    bool dupcheck();
    // Hands on keys held after a duplicate once their time has come (the hold's timer calls it).
    void DupeHoldTick();

    // Entry and logging.
    // Logs the contact in the entry fields once it passes every check.
    void Mains();
    void cmdClear_Click();
    void mnuPostContest_Click();

    // The contact list and the contact editor.
    void RefreshContactList();
    void cmdList_Click();
    // Deletes the contact of the selected row after asking; nothing without a selected row.
    void cmdDelete_Click();
    // Opens the contact of the selected row in the editor, then writes and reloads the log.
    void cmdEdit_Click();
    void mnuListPrevious_Click();

    // The form sees every key before the field that has the focus.
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyPress(int& keyAscii) override;

    // Appearance.
    void mnuFormSize_Click();
    void mnuTaskbar_Click();
    void mnuColors_Click();
    void mnuHelp_Click();

    // Reports.
    void mnuWriteSumm_Click();
    void mnuADIF_Click();
    void mnuCopyListtoClipboard_Click();
    void mnuGraph_Click();
    void mnuPrivileges_Click();

    void mnuNew_Click();
    void mnuArchive_Click();
    void mnuRestore_Click();
    void mnuExit_Click();
    void Label21_Click();

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
    bool LoadCountryTable();
    void buildContactList(QWidget* central);
    void buildClocks(QWidget* central);
    void txtCall_Change();
    void txtCall_GotFocus();
    void txtCall_LostFocus();
    void txtCall_KeyPress(int& keyAscii);
    void txtRSTR_KeyPress(int& keyAscii);
    void txtSec_KeyPress(int& keyAscii);
    void txtRSTS_KeyPress(int& keyAscii);
    void txtCntry_KeyPress(int& keyAscii);
    void txtPostConDate_GotFocus();
    void postContestKeyPress(QLineEdit* field, int& keyAscii, const char* admitted);
    void fieldGotFocus(QObject* field);
    bool ValidateSection();
    bool frmcmp();
    bool postContestChecks();
    void clearEntryFields();
    void CountNewContact(const QsoRecord& record);
    void showClocks();
    void startOperatingClock();
    // Speaks the name of a field or event for an operator who cannot see the screen.
    void BlindKeyPhone(std::string_view prompt);
    // The record number of the contact list's selected row; nothing when no row is selected.
    std::optional<int> selectedRecord() const;
    void showEditButtons(bool shown);
    // The list's clicks and focus: true when the event has been handled.
    bool contactListEvent(QObject* watched, QEvent* event);
    // The list's columns in their share of the form's width, and one line of its font a row.
    void sizeContactList();
    // The call field's own key steps, for a key typed now or handed on after a hold.
    void callKeySteps(int& keyAscii);
    void replayCallKey(int keyAscii);
    void PartialCallSearch(int keyAscii);
    void UpdateNewIndicator();
    void showSectionTally(int position);
    void buildScorePanel(QWidget* central);
    void setDialogBackColour(std::uint32_t bgr);
    void setDupeBox(const QString& text);
    void showCountryRecord(const CountryInfo* record);
    // The contest mode on the form, and the report fields' length that goes with it.
    void showMode();
    bool LoadDefaultData();
    // Proposes a new UTC offset when the stored one no longer matches the computer's clocks.
    void checkUtcOffset();
    // The form at a share of the screen below 100 %.
    void applyReducedSize(const ScreenGeometry& screen);
    // The form at full size fills the work area or the whole screen, as the taskbar setting says.
    void ApplyTaskbarOption();
    bool inPhone() const;
    // Opens the window of a Ctrl shortcut; false for a key that is no shortcut.
    bool openWindowForCtrlKey(int keyCode);
    void FKeyCW(int keyCode);
    void FKeyPhone(int keyCode);
    void changeCwSpeed(bool faster);
    void askToContinueExistingLog();
    void stopOperatingClock();
    void showRemainingColour();
    void PaintGrid();
    void checkCurrentBandMenu();
    void reportWriteFailure(std::string_view what, const Error& error);
    std::string defaultDataPath() const;

    Form1Services m_services;
    WorkingLog m_log;
    OperatingState m_state;
    DefaultData m_defaults;
    CountryTable m_countries;
    KeyRouter* m_keys = nullptr;
    KeyHold* m_dupeHold = nullptr;
    bool m_dupeFlag = false;
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
    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuprintrec = nullptr;
    QAction* mnuArchive = nullptr;
    QAction* mnuRestore = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuSetup = nullptr;
    QAction* mnuWriteSumm = nullptr;
    QAction* mnuExportGeneral = nullptr;
    QAction* mnuADIF = nullptr;
    QAction* mnuCopyListtoClipboard = nullptr;
    QAction* mnuCWSetup = nullptr;
    QAction* mnuPhoneSetup = nullptr;
    QAction* mnuFormSize = nullptr;
    QAction* mnuTaskbar = nullptr;
    QAction* mnuColors = nullptr;
    QAction* mnuRigInterface = nullptr;
    QAction* mnuDXSpotting = nullptr;
    QAction* mnuViewSpectrumMap = nullptr;
    QAction* mnuBlind = nullptr;
    QAction* mnuListPrevious = nullptr;
    QAction* mnuPostContest = nullptr;
    QAction* mnuPrivileges = nullptr;
    QAction* mnuGraph = nullptr;
    QAction* mnuHelp = nullptr;
    std::array<QAction*, BandCount> mnuBand {}; // mnu160 … mnu10

    // Entry fields.
    QLineEdit* txtCall = nullptr;
    QLineEdit* txtRSTR = nullptr;
    QLineEdit* txtSec = nullptr;
    QLineEdit* txtRSTS = nullptr;
    QLineEdit* txtCntry = nullptr;
    QLineEdit* txtPostConTime = nullptr;
    QLineEdit* txtPostConDate = nullptr;
    QLabel* lblPostConTime = nullptr;
    QLabel* lblPostConDate = nullptr;
    QPushButton* cmdClear = nullptr;

    // The contact list.
    QTableView* ListView1 = nullptr;
    ContactListModel* m_contacts = nullptr;
    QPushButton* cmdList = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDelete = nullptr;

    // Clocks.
    QLabel* lblCurTime = nullptr; // local time
    QLabel* Label16 = nullptr; // AM or PM
    QLabel* lblutctime = nullptr; // UTC

    // Labels.
    ClickableLabel* Label21 = nullptr; // current band
    QLabel* Label30 = nullptr; // contest mode
    QLabel* Label2 = nullptr; // own call
    QLabel* Label4 = nullptr; // own power
    QLabel* Label22 = nullptr; // continent of the call being entered
    QLabel* Label18 = nullptr; // bearing
    QLabel* Label19 = nullptr; // distance
    QLabel* lblDialog = nullptr; // the form's message line
    QLabel* lblTotCon = nullptr; // total contacts
    QLabel* lblTotSec = nullptr; // QSO points
    QLabel* lblsectogo = nullptr; // total multipliers
    QLabel* lblTotScore = nullptr; // score
    QLabel* lblAQSO20 = nullptr; // rate over the last 20 minutes
    QLabel* lblAQSO60 = nullptr; // rate over the last 60 minutes
    QLabel* lblttrack = nullptr; // operating time
    QLabel* Label3 = nullptr; // "New": the section field's section is a new multiplier
    QLabel* lblDupe = nullptr; // possible duplicates, or a section's tally
    QPushButton* cmdDup = nullptr; // partial search on or off
    QPushButton* cmdLogOn = nullptr; // operating clock
    QTimer* Timer1 = nullptr; // rates, every minute
    QTimer* Timer2 = nullptr; // clocks, every second
    // The multiplier grid: element 0 counts the sections worked on the current band, 1 to 63 are the
    // sections themselves.
    std::array<ClickableLabel*, SectionTable::Size + 1> Label10 {};
};

} // namespace brindle
