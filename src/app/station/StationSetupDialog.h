#pragma once

#include "station/DefaultData.h"

#include <QDialog>

class QGroupBox;
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
// Done publishes them to the shared preferences; the main window applies them afterwards.
class StationSetupDialog : public QDialog
{
    Q_OBJECT

public:
    StationSetupDialog(const DefaultData& station, const CountryTable& countries, OperatorDialogs& dialogs,
        SettingsStore& settings, SharedPreferences& shared, QWidget* parent = nullptr);

    // Copies the fields into the station part of the default data (call, power, UTC hours, mode, country,
    // continent, longitude, latitude).
    void applyTo(DefaultData& station) const;

    void publishStation();

    QLineEdit* m_ownCallField = nullptr;
    QLineEdit* m_countryField = nullptr;
    QLineEdit* m_continentField = nullptr;
    QLineEdit* m_longitudeField = nullptr;
    QLineEdit* m_powerField = nullptr;
    QLineEdit* m_utcOffsetField = nullptr; // hours added for UTC
    QLineEdit* m_latitudeField = nullptr;
    QGroupBox* m_modeFrame = nullptr; // "Contest:"
    QRadioButton* m_phoneOption = nullptr;
    QRadioButton* m_cwOption = nullptr;
    QPushButton* m_doneButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void handleCountryKey(int& keyAscii);
    void requireNumber(QLineEdit* field);

    const CountryTable& m_countries;
    OperatorDialogs& m_dialogs;
    SharedPreferences& m_shared;
    KeyRouter* m_keys = nullptr;
    bool m_validating = false;
};

} // namespace brindle
