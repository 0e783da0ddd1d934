#pragma once

#include "station/DefaultData.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QPushButton;

namespace brindle {

class CountryTable;
class KeyRouter;
class OperatorDialogs;
class SettingsStore;
class SharedPreferences;

// The own station's data: call, power, position, continent, country, UTC offset and contest mode.
// Done publishes them to the shared preferences; the main form applies them afterwards.
class frmStationID : public QDialog
{
    Q_OBJECT

public:
    frmStationID(const DefaultData& station, const CountryTable& countries, OperatorDialogs& dialogs,
        SettingsStore& settings, SharedPreferences& shared, QWidget* parent = nullptr);

    // Copies the fields into the station part of the default data (call, power, UTC hours, mode, country,
    // continent, longitude, latitude).
    void applyTo(DefaultData& station) const;

    void Command1_Click();

    QLineEdit* Text1 = nullptr; // call
    QLineEdit* Text2 = nullptr; // country
    QLineEdit* Text3 = nullptr; // continent
    QLineEdit* Text4 = nullptr; // longitude
    QLineEdit* Text5 = nullptr; // power
    QLineEdit* Text6 = nullptr; // hours added for UTC
    QLineEdit* Text7 = nullptr; // latitude
    QRadioButton* Option1 = nullptr; // Phone
    QRadioButton* Option2 = nullptr; // CW
    QPushButton* Command1 = nullptr; // Done

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void countryKeyPress(int& keyAscii);
    void requireNumber(QLineEdit* field);

    const CountryTable& m_countries;
    OperatorDialogs& m_dialogs;
    SharedPreferences& m_shared;
    KeyRouter* m_keys = nullptr;
    bool m_validating = false;
};

} // namespace brindle
