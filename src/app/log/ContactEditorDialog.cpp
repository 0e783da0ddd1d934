#include "ContactEditorDialog.h"

#include "common/DateText.h"
#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/ContactEdit.h"
#include "log/ContestLog.h"
#include "log/SectionTable.h"
#include "station/CountryField.h"
#include "station/CountryTable.h"
#include "ui/KeyRouting.h"
#include "ui/LabelledField.h"
#include "ui/StorableText.h"
#include "ui/WindowScaling.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace brindle {

namespace {

const QString InvalidMarker = QStringLiteral("   Invalid!");

bool isDigit(int keyAscii)
{
    return keyAscii >= '0' && keyAscii <= '9';
}

} // namespace

ContactEditorDialog::ContactEditorDialog(
    const ContestLog& log, int recordNumber, const CountryTable& countries, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_recordNumber(recordNumber)
    , m_log(log)
    , m_original(log.record(recordNumber))
    , m_countries(countries)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("ContactEditorDialog"));
    setWindowTitle(QStringLiteral("Edit Contact Entry"));
    buildForm();
    routeKeys();

    m_callField->setText(toQString(m_original.call));
    m_rstRcvdField->setText(toQString(m_original.rstRcvd));
    m_sectionField->setText(toQString(m_original.section));
    m_rstSentField->setText(toQString(m_original.rstSent));
    m_countryField->setText(toQString(m_original.country));
    m_dateField->setText(toQString(m_original.qsoDate));
    m_timeField->setText(toQString(m_original.qsoTime));
    m_bandField->setText(toQString(m_original.band));
    refuseUnstorableText(*this, m_dialogs);
    scaleDialog(*this, screenGeometryOf(*this));
}

void ContactEditorDialog::buildForm()
{
    auto* grid = new QGridLayout(this);
    m_headingCaption = new QLabel(QStringLiteral("Edit Contact:"), this);
    m_headingCaption->setObjectName(QStringLiteral("headingCaption"));
    grid->addWidget(m_headingCaption, 0, 0, 1, 3);

    // Created top to bottom, which is also the tab order.
    int row = 1;
    const auto field = [this, grid, &row](const char* name, const char* caption) {
        const LabelledField added = labelledField(this, name, QString::fromLatin1(caption));
        grid->addWidget(added.caption, row, 0);
        grid->addWidget(added.field, row, 1);
        ++row;
        return added.field;
    };
    // A marker stands to the right of the field last added.
    const auto marker = [this, grid, &row](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->hide();
        grid->addWidget(label, row - 1, 2);
        return label;
    };
    m_callField = field("callField", "Callsign");
    m_dupeMarker = marker("dupeMarker", QStringLiteral("Dupe!"));
    m_rstRcvdField = field("rstRcvdField", "Rst(R)");
    m_sectionField = field("sectionField", "St / PR");
    m_invalidSectionMarker = marker("invalidSectionMarker", InvalidMarker);
    m_rstSentField = field("rstSentField", "Rst(S)");
    m_countryField = field("countryField", "Country");
    m_dateField = field("dateField", "Date");
    m_timeField = field("timeField", "Time");
    m_bandField = field("bandField", "Band");
    m_invalidBandMarker = marker("invalidBandMarker", InvalidMarker);

    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("doneButton"));
    m_deleteDupeButton = new QPushButton(QStringLiteral("Delete Dupe"), this);
    m_deleteDupeButton->setObjectName(QStringLiteral("deleteDupeButton"));
    m_deleteDupeButton->hide();
    for (QPushButton* button : { m_doneButton, m_deleteDupeButton }) {
        // Enter belongs to the fields' own handlers, never to a default button.
        button->setAutoDefault(false);
    }
    connect(m_doneButton, &QPushButton::clicked, this, &ContactEditorDialog::acceptEdit);
    connect(m_deleteDupeButton, &QPushButton::clicked, this, &ContactEditorDialog::deleteEditedContact);
    grid->addWidget(m_doneButton, row, 1);
    grid->addWidget(m_deleteDupeButton, row, 2);

    for (QLineEdit* checked : { m_sectionField, m_dateField, m_timeField, m_bandField }) {
        checked->installEventFilter(this);
    }
}

void ContactEditorDialog::routeKeys()
{
    m_keys = new KeyRouter(this);
    // Enter in any field is a click on Done.
    const auto route = [this](QLineEdit* field, KeyRouter::KeyPressHandler filter) {
        m_keys->routeWithEnter(
            field, [this] { acceptEdit(); }, std::move(filter));
    };
    // A double quote would end the field early in the log file.
    const auto plain = [](int& keyAscii) { keyAscii = keyAscii == '"' ? 0 : upperCaseLetter(keyAscii); };
    for (QLineEdit* text : { m_callField, m_rstRcvdField, m_sectionField, m_rstSentField, m_bandField }) {
        route(text, plain);
    }
    route(m_countryField, [this](int& keyAscii) { handleCountryKey(keyAscii); });
    route(m_dateField, [](int& keyAscii) {
        if (keyAscii != KeyBackspace && keyAscii != '/' && !isDigit(keyAscii)) {
            keyAscii = 0;
        }
    });
    route(m_timeField, [](int& keyAscii) {
        if (keyAscii != KeyBackspace && keyAscii != ':' && !isDigit(keyAscii)) {
            keyAscii = 0;
        }
    });
}

void ContactEditorDialog::handleCountryKey(int& keyAscii)
{
    if (keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    if (m_countryField->cursorPosition() == 0) {
        keyAscii = upperCaseLetter(keyAscii);
    }
    // Only letters typed in the table's own case complete a name: a country typed some other way is an
    // edit the operator means, and stays as typed.
    completeCountryField(*m_countryField, m_countries, keyAscii, CompletionCase::Match);
}

bool ContactEditorDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the field, not the window: a message box of our own takes the focus too.
    if (event->type() == QEvent::FocusOut && isOperatorFocusChange(event)) {
        checkLeftField(static_cast<QLineEdit*>(watched));
    }
    return QDialog::eventFilter(watched, event);
}

void ContactEditorDialog::checkLeftField(QLineEdit* field)
{
    // Putting the focus back on a refused field makes the field that had just received it leave in turn;
    // one complaint at a time is enough.
    if (m_checking || !isVisible()) {
        return;
    }
    const QScopedValueRollback checking(m_checking, true);
    if (field == m_dateField) {
        requireDate();
    } else if (field == m_timeField) {
        requireTime();
    } else if (field == m_sectionField) {
        m_invalidSectionMarker->hide();
        if (!SectionTable::isAbbreviation(bytesIn(m_sectionField))) {
            m_dialogs.beep();
            m_invalidSectionMarker->show();
            refuse(m_sectionField);
        }
    } else if (field == m_bandField) {
        if (isEditableBand(bytesIn(m_bandField))) {
            m_invalidBandMarker->hide();
        } else {
            m_dialogs.beep();
            m_invalidBandMarker->show();
            refuse(m_bandField);
        }
    }
}

bool ContactEditorDialog::requireDate()
{
    if (readDate(bytesIn(m_dateField))) {
        return true;
    }
    m_dialogs.beep();
    m_dialogs.message(
        QStringLiteral("Invalid Date Format!"), QStringLiteral("You have entered an invalid date format!"));
    refuse(m_dateField);
    return false;
}

bool ContactEditorDialog::requireTime()
{
    if (readTimeOfDay(bytesIn(m_timeField))) {
        return true;
    }
    m_dialogs.beep();
    m_dialogs.message(
        QStringLiteral("Invalid Time Format!"), QStringLiteral("You have entered an invalid time format!"));
    refuse(m_timeField);
    return false;
}

void ContactEditorDialog::refuse(QLineEdit* field)
{
    field->setFocus(Qt::OtherFocusReason);
}

void ContactEditorDialog::acceptEdit()
{
    // The focus moves Done makes are its own; they leave no field in the operator's sense.
    const QScopedValueRollback checking(m_checking, true);
    if (!requireTime() || !requireDate()) {
        return;
    }
    const std::vector<int> duplicates
        = editDuplicates(m_log, m_recordNumber, bytesIn(m_callField), bytesIn(m_bandField));
    if (!duplicates.empty()) {
        m_dupeMarker->show();
        m_deleteDupeButton->show();
        // A beep for every record the change would duplicate tells the operator how many there are.
        for (std::size_t i = 0; i < duplicates.size(); ++i) {
            m_dialogs.beep();
        }
        return;
    }
    m_dupeMarker->hide();
    m_edited = brindle::editedRecord(m_original,
        ContactFields { bytesIn(m_callField), bytesIn(m_rstRcvdField), bytesIn(m_sectionField), bytesIn(m_rstSentField),
            bytesIn(m_countryField), bytesIn(m_dateField), bytesIn(m_timeField), bytesIn(m_bandField) });
    accept();
}

void ContactEditorDialog::deleteEditedContact()
{
    // Out of the way of the main window's question and of its list while the record goes.
    hide();
    if (m_deleteDupe) {
        m_deleteDupe();
    }
    reject();
}

int ContactEditorDialog::recordNumber() const
{
    return m_recordNumber;
}

std::optional<QsoRecord> ContactEditorDialog::editedRecord() const
{
    return m_edited;
}

void ContactEditorDialog::setDeleteDupe(std::function<void()> deleteDupe)
{
    m_deleteDupe = std::move(deleteDupe);
}

} // namespace brindle
