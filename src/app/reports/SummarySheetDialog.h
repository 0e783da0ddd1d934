#pragma once

#include "reports/Cabrillo.h"
#include "station/DefaultData.h"

#include <QDialog>
#include <QString>

#include <string>

class QBoxLayout;
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
class SummarySheetDialog : public QDialog
{
    Q_OBJECT

public:
    // station gives the own call, power and mode; claimedScore is the main window's score as it shows it;
    // programDataDir is where the save dialog opens.
    SummarySheetDialog(const ContestLog& log, const DefaultData& station, std::string claimedScore, FileSystem& fs,
        SettingsStore& settings, SharedPreferences& shared, OperatorDialogs& dialogs, std::string programDataDir,
        QWidget* parent = nullptr);

    // The header as the fields and options stand.
    CabrilloHeader header() const;

    void writeCabrilloFile();
    void chooseAllBands();
    void chooseSingleBand();

    QLineEdit* m_arrlSectionField = nullptr; // the own section, not a worked station's
    QLineEdit* m_operatorsField = nullptr;
    QLineEdit* m_singleBandField = nullptr;
    QLineEdit* m_nameField = nullptr;
    QLineEdit* m_address1Field = nullptr;
    QLineEdit* m_address2Field = nullptr;
    QLineEdit* m_emailField = nullptr;
    QLineEdit* m_clubField = nullptr;
    QLineEdit* m_soapboxField = nullptr;
    QLabel* m_singleBandCaption = nullptr;
    QRadioButton* m_singleOpOption = nullptr;
    QRadioButton* m_singleAssistedOption = nullptr;
    QRadioButton* m_multiOpOption = nullptr;
    QRadioButton* m_oneTxOption = nullptr;
    QRadioButton* m_twoTxOption = nullptr;
    QRadioButton* m_multiTxOption = nullptr;
    QRadioButton* m_allBandsOption = nullptr;
    QRadioButton* m_singleBandOption = nullptr;
    QRadioButton* m_highPowerOption = nullptr;
    QRadioButton* m_lowPowerOption = nullptr;
    QRadioButton* m_qrpOption = nullptr;
    QPushButton* m_writeButton = nullptr;
    QPushButton* m_doneButton = nullptr;

private:
    void buildForm();
    QBoxLayout* buildTypedFields();
    QBoxLayout* buildCategoryFrames();
    QBoxLayout* buildButtons();
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
