#include "frmStationID.h"

#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "station/CountryField.h"
#include "station/CountryTable.h"
#include "station/SettingsStore.h"
#include "station/SharedPreferences.h"
#include "ui/KeyRouting.h"
#include "ui/WindowScaling.h"

#include <QFocusEvent>
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

frmStationID::frmStationID(const DefaultData& station, const CountryTable& countries, OperatorDialogs& dialogs,
    SettingsStore& settings, SharedPreferences& shared, QWidget* parent)
    : QDialog(parent)
    , m_countries(countries)
    , m_dialogs(dialogs)
    , m_shared(shared)
{
    setObjectName(QStringLiteral("frmStationID"));
    setWindowTitle(QStringLiteral(" Amateur Station I.D."));
    buildForm();

    Text1->setText(toQString(station.ownCall));
    Text2->setText(toQString(station.country));
    Text3->setText(toQString(station.continent));
    Text5->setText(toQString(station.power));
    Text4->setText(toQString(formatSingle(station.longitude)));
    Text7->setText(toQString(formatSingle(station.latitude)));
    Text6->setText(toQString(formatSingle(station.utcOffsetHours)));
    (equalsIgnoreCase(station.mode, "PH") ? Option1 : Option2)->setChecked(true);
    if (Text1->text().isEmpty()) {
        Text1->setText(toQString(settings.get("UserCallSign", "")));
    }
    ScaleDialog(*this, screenGeometryOf(*this));
}

void frmStationID::buildForm()
{
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const auto field = [this, form](const char* name, const char* label) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        form->addRow(QString::fromLatin1(label), edit);
        return edit;
    };
    Text1 = field("Text1", "Please Enter your Call Sign:");
    Text5 = field("Text5", "Power");
    Text7 = field("Text7", "Your Latitude:");
    Text4 = field("Text4", "Your Longitude:");
    Text3 = field("Text3", "Your Continent:");
    Text2 = field("Text2", "Your Country:");
    Text6 = field("Text6", "Hours added for UTC:");
    layout->addLayout(form);

    auto* contest = new QGroupBox(QStringLiteral("Contest:"), this);
    auto* modes = new QHBoxLayout(contest);
    Option2 = new QRadioButton(QStringLiteral("CW"), contest);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option1 = new QRadioButton(QStringLiteral("Phone"), contest);
    Option1->setObjectName(QStringLiteral("Option1"));
    modes->addWidget(Option2);
    modes->addWidget(Option1);
    layout->addWidget(contest);

    Command1 = new QPushButton(QStringLiteral("Done"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmStationID::Command1_Click);
    layout->addWidget(Command1);

    m_keys = new KeyRouter(this);
    // Enter in any field is a click on Done.
    const auto withEnter = [this](std::function<void(int&)> filter) {
        return [this, filter](int& keyAscii) {
            if (keyAscii == KeyReturn) {
                keyAscii = 0;
                Command1_Click();
                return;
            }
            if (filter) {
                filter(keyAscii);
            }
        };
    };
    const auto cap3 = [](int& keyAscii) { keyAscii = capital(keyAscii); };
    const auto numeric = [](int& keyAscii) { keyAscii = numberr(keyAscii); };
    m_keys->route(Text1, withEnter(cap3));
    m_keys->route(Text5, withEnter(cap3));
    m_keys->route(Text3, withEnter(cap3));
    m_keys->route(Text2, withEnter([this](int& keyAscii) { countryKeyPress(keyAscii); }));
    for (QLineEdit* number : { Text4, Text6, Text7 }) {
        m_keys->route(number, withEnter(numeric));
        number->installEventFilter(this);
    }
}

void frmStationID::countryKeyPress(int& keyAscii)
{
    // Only the first letter of a country name is capitalised.
    if (Text2->cursorPosition() == 0) {
        keyAscii = capital(keyAscii);
    }
    if (const CountryInfo* record = completeCountryField(*Text2, m_countries, keyAscii)) {
        Text4->setText(toQString(formatSingle(record->longitude)));
        Text7->setText(toQString(formatSingle(record->latitude)));
        Text3->setText(toQString(record->continent));
    }
}

bool frmStationID::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the field, not the window: a message box of our own takes the focus too.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            requireNumber(static_cast<QLineEdit*>(watched));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmStationID::requireNumber(QLineEdit* field)
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

void frmStationID::Command1_Click()
{
    for (QLineEdit* number : { Text6, Text4, Text7 }) {
        if (!numberIn(number)) {
            number->setText(QStringLiteral("0"));
        }
    }
    const std::pair<const char*, QLineEdit*> published[] = {
        { "OWN_CALL", Text1 },
        { "OWN_SPC", Text5 },
        { "OWN_UTC", Text6 },
        { "OWN_COUNTRY", Text2 },
        { "OWN_LONGITUDE", Text4 },
        { "OWN_LATITUDE", Text7 },
        { "OWN_CONTINENT", Text3 },
    };
    for (const auto& [name, field] : published) {
        const bool last = field == Text3;
        if (Status saved = m_shared.publish(name, toBytes(field->text()), last); !saved) {
            // Other programs miss the update; this program keeps working from its own files.
            m_dialogs.message(QStringLiteral("Shared Preferences Not Saved"),
                toQString(SharedPreferencesFileName) + QStringLiteral(" could not be written:  ")
                    + toQString(saved.error().description));
        }
    }
    accept();
}

void frmStationID::applyTo(DefaultData& station) const
{
    station.ownCall = toBytes(Text1->text());
    station.power = toBytes(Text5->text());
    station.utcOffsetHours = singleIn(Text6);
    station.country = toBytes(Text2->text());
    station.continent = toBytes(Text3->text());
    station.longitude = singleIn(Text4);
    station.latitude = singleIn(Text7);
    station.mode = Option1->isChecked() ? "PH" : "CW";
}

} // namespace brindle
