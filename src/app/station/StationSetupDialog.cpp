#include "StationSetupDialog.h"

#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "station/CountryField.h"
#include "station/CountryTable.h"
#include "station/PublishPreferences.h"
#include "station/SettingsStore.h"
#include "station/SharedPreferences.h"
#include "ui/KeyRouting.h"
#include "ui/LabelledField.h"
#include "ui/StorableText.h"
#include "ui/WindowScaling.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace brindle {

namespace {

std::optional<double> numberIn(const QLineEdit* field)
{
    return parseDecimal(trimBlanks(toBytes(field->text())));
}

float singleIn(const QLineEdit* field)
{
    return static_cast<float>(numberIn(field).value_or(0));
}

} // namespace

StationSetupDialog::StationSetupDialog(const DefaultData& station, const CountryTable& countries,
    OperatorDialogs& dialogs, SettingsStore& settings, SharedPreferences& shared, QWidget* parent)
    : QDialog(parent)
    , m_countries(countries)
    , m_dialogs(dialogs)
    , m_shared(shared)
{
    setObjectName(QStringLiteral("StationSetupDialog"));
    setWindowTitle(QStringLiteral(" Amateur Station I.D."));
    buildForm();

    m_ownCallField->setText(toQString(station.ownCall));
    m_countryField->setText(toQString(station.country));
    m_continentField->setText(toQString(station.continent));
    m_powerField->setText(toQString(station.power));
    m_longitudeField->setText(toQString(formatSingle(station.longitude)));
    m_latitudeField->setText(toQString(formatSingle(station.latitude)));
    m_utcOffsetField->setText(toQString(formatSingle(station.utcOffsetHours)));
    (equalsIgnoreCase(station.mode, "PH") ? m_phoneOption : m_cwOption)->setChecked(true);
    if (m_ownCallField->text().isEmpty()) {
        m_ownCallField->setText(toQString(settings.get("UserCallSign", "")));
    }
    refuseUnstorableText(*this, m_dialogs);
    scaleDialog(*this, screenGeometryOf(*this));
}

void StationSetupDialog::buildForm()
{
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const auto field = [this, form](const char* name, const char* caption) {
        const LabelledField added = labelledField(this, name, QString::fromLatin1(caption));
        form->addRow(added.caption, added.field);
        return added.field;
    };
    m_ownCallField = field("ownCallField", "Please Enter your Call Sign:");
    m_powerField = field("powerField", "Power");
    m_latitudeField = field("latitudeField", "Your Latitude:");
    m_longitudeField = field("longitudeField", "Your Longitude:");
    m_continentField = field("continentField", "Your Continent:");
    m_countryField = field("countryField", "Your Country:");
    m_utcOffsetField = field("utcOffsetField", "Hours added for UTC:");
    layout->addLayout(form);

    m_modeFrame = new QGroupBox(QStringLiteral("Contest:"), this);
    m_modeFrame->setObjectName(QStringLiteral("modeFrame"));
    // One row of options needs one row of room: the height the window gains as it grows goes above Done.
    m_modeFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* modes = new QHBoxLayout(m_modeFrame);
    m_cwOption = new QRadioButton(QStringLiteral("CW"), m_modeFrame);
    m_cwOption->setObjectName(QStringLiteral("cwOption"));
    m_phoneOption = new QRadioButton(QStringLiteral("Phone"), m_modeFrame);
    m_phoneOption->setObjectName(QStringLiteral("phoneOption"));
    modes->addWidget(m_cwOption);
    modes->addWidget(m_phoneOption);
    layout->addWidget(m_modeFrame);
    layout->addStretch();

    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("doneButton"));
    m_doneButton->setAutoDefault(false);
    connect(m_doneButton, &QPushButton::clicked, this, &StationSetupDialog::publishStation);
    layout->addWidget(m_doneButton);

    m_keys = new KeyRouter(this);
    // Enter in any field is a click on Done.
    const auto route = [this](QLineEdit* field, KeyRouter::KeyPressHandler filter) {
        m_keys->routeWithEnter(
            field, [this] { publishStation(); }, std::move(filter));
    };
    const auto capitals = [](int& keyAscii) { keyAscii = upperCaseLetter(keyAscii); };
    const auto numeric = [](int& keyAscii) { keyAscii = numberCharsOnly(keyAscii); };
    route(m_ownCallField, capitals);
    route(m_powerField, capitals);
    route(m_continentField, capitals);
    route(m_countryField, [this](int& keyAscii) { handleCountryKey(keyAscii); });
    for (QLineEdit* number : { m_longitudeField, m_utcOffsetField, m_latitudeField }) {
        route(number, numeric);
        number->installEventFilter(this);
    }
}

void StationSetupDialog::handleCountryKey(int& keyAscii)
{
    // Only the first letter of a country name is capitalised.
    if (m_countryField->cursorPosition() == 0) {
        keyAscii = upperCaseLetter(keyAscii);
    }
    if (const CountryInfo* record = completeCountryField(*m_countryField, m_countries, keyAscii)) {
        m_longitudeField->setText(toQString(formatSingle(record->longitude)));
        m_latitudeField->setText(toQString(formatSingle(record->latitude)));
        m_continentField->setText(toQString(record->continent));
    }
}

bool StationSetupDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the field, not the window: a message box of our own takes the focus too.
    if (event->type() == QEvent::FocusOut && isOperatorFocusChange(event)) {
        requireNumber(static_cast<QLineEdit*>(watched));
    }
    return QDialog::eventFilter(watched, event);
}

void StationSetupDialog::requireNumber(QLineEdit* field)
{
    if (m_validating || numberIn(field) || !isVisible()) {
        return;
    }
    m_validating = true;
    m_dialogs.beep();
    m_dialogs.message(QStringLiteral("Value Required!"), QStringLiteral("Value Required!"));
    field->setFocus();
    m_validating = false;
}

void StationSetupDialog::publishStation()
{
    for (QLineEdit* number : { m_utcOffsetField, m_longitudeField, m_latitudeField }) {
        if (!numberIn(number)) {
            number->setText(QStringLiteral("0"));
        }
    }
    publishForOtherPrograms(m_shared, m_dialogs,
        {
            { "OWN_CALL", bytesIn(m_ownCallField) },
            { "OWN_SPC", bytesIn(m_powerField) },
            { "OWN_UTC", bytesIn(m_utcOffsetField) },
            { "OWN_COUNTRY", bytesIn(m_countryField) },
            { "OWN_LONGITUDE", bytesIn(m_longitudeField) },
            { "OWN_LATITUDE", bytesIn(m_latitudeField) },
            { "OWN_CONTINENT", bytesIn(m_continentField) },
        });
    accept();
}

void StationSetupDialog::applyTo(DefaultData& station) const
{
    station.ownCall = toBytes(m_ownCallField->text());
    station.power = toBytes(m_powerField->text());
    station.utcOffsetHours = singleIn(m_utcOffsetField);
    station.country = toBytes(m_countryField->text());
    station.continent = toBytes(m_continentField->text());
    station.longitude = singleIn(m_longitudeField);
    station.latitude = singleIn(m_latitudeField);
    station.mode = m_phoneOption->isChecked() ? "PH" : "CW";
}

} // namespace brindle
