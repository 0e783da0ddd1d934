#pragma once

#include "reports/Cabrillo.h"
#include "station/DefaultData.h"

#include <QDialog>
#include <QString>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace brindle {

class ContestLog;
class FileSystem;
class KeyRouter;
class OperatorDialogs;
class SettingsStore;
class SharedPreferences;

// The summary sheet: the header of the Cabrillo file (section, category, name, address, club,
// soapbox), and the button that writes the file. The operator's personal data is kept for next time
// once a file has been written.
class Form2 : public QDialog
{
    Q_OBJECT

public:
    // station gives the own call, power and mode; claimedScore is the main form's score as it shows it;
    // programDataDir is where the save dialog opens.
    Form2(const ContestLog& log, const DefaultData& station, std::string claimedScore, FileSystem& fs,
        SettingsStore& settings, SharedPreferences& shared, OperatorDialogs& dialogs, std::string programDataDir,
        QWidget* parent = nullptr);

    // The header as the fields and options stand.
    CabrilloHeader header() const;

    void Command4_Click(); // "Write Cabrillo Log File"
    void Command3_Click(); // "Done"
    void Option4_Click(); // band "All"
    void Option8_Click(); // band "Single"

    QLineEdit* Text1 = nullptr; // section
    QLineEdit* Text2 = nullptr; // operators
    QLineEdit* Text3 = nullptr; // single-band category
    QLineEdit* Text5 = nullptr; // name
    QLineEdit* Text6 = nullptr; // address line 1
    QLineEdit* Text7 = nullptr; // address line 2
    QLineEdit* Text8 = nullptr; // e-mail
    QLineEdit* Text10 = nullptr; // club
    QLineEdit* Text11 = nullptr; // soapbox
    QLabel* lblBand = nullptr; // "Band", beside Text3
    QRadioButton* Option5 = nullptr; // operator: Single
    QRadioButton* Option6 = nullptr; // operator: Single Assisted
    QRadioButton* Option7 = nullptr; // operator: Multiple
    QRadioButton* Option1 = nullptr; // transmitters: One
    QRadioButton* Option2 = nullptr; // transmitters: Two
    QRadioButton* Option3 = nullptr; // transmitters: Multiple
    QRadioButton* Option4 = nullptr; // band: All
    QRadioButton* Option8 = nullptr; // band: Single
    QRadioButton* Option18 = nullptr; // power: High
    QRadioButton* Option19 = nullptr; // power: Low
    QRadioButton* Option20 = nullptr; // power: QRP
    QPushButton* Command4 = nullptr; // Write Cabrillo Log File
    QPushButton* Command3 = nullptr; // Done

private:
    void buildForm();
    void savePersonalData();

    const ContestLog& m_log;
    const DefaultData m_station;
    const std::string m_claimedScore;
    FileSystem& m_fs;
    SettingsStore& m_settings;
    SharedPreferences& m_shared;
    OperatorDialogs& m_dialogs;
    const std::string m_programDataDir;
    KeyRouter* m_keys = nullptr;
};

} // namespace brindle
