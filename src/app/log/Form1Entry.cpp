// The main window's entry fields: what each key does in each field, the checks a contact must pass, and
// the logging step itself.

#include "Form1.h"

#include "common/DateText.h"
#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/ContactListModel.h"
#include "log/Entry.h"
#include "log/Form1Layout.h"
#include "log/LogMessages.h"
#include "station/CountryField.h"
#include "ui/Colours.h"
#include "ui/KeyHold.h"
#include "ui/KeyRouting.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <cstring>

namespace brindle {

namespace {

constexpr std::uint32_t DialogBackColour = 0xC0C000;

QString q(std::string_view text)
{
    return toQString(text);
}

constexpr std::array<const char*, 5> EntryCaptionNames
    = { "callCaption", "rstRcvdCaption", "sectionCaption", "rstSentCaption", "countryCaption" };

// Where typing goes in a field: the start of the selection, or the cursor when nothing is selected.
int typingPosition(const QLineEdit* field)
{
    return field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
}

bool isFocusFromTheOperator(QEvent* event)
{
    // Switching to another window and back, or a message box popping up, neither leaves nor enters a
    // field.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

void MainWindow::buildEntryFields(QWidget* central)
{
    constexpr int CaptionTop = 20;
    constexpr int FieldTop = 34;
    const auto field = [&](int index, const char* name, const char* caption, int left, int width, int maxLength) {
        form1::label(central, EntryCaptionNames[static_cast<std::size_t>(index)],
            QString::fromLatin1(caption), left, CaptionTop, width);
        auto* edit = form1::placed(new QLineEdit(central), left, FieldTop, width, 20);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(maxLength);
        return edit;
    };
    m_callField = field(0, "callField", "Call", 8, 100, 13);
    m_rstRcvdField = field(1, "rstRcvdField", "RS(T) Rc", 114, 50, 3);
    m_sectionField = field(2, "sectionField", "St / Pr", 170, 50, 6);
    m_rstSentField = field(3, "rstSentField", "RS(T) Sn", 226, 50, 3);
    m_countryField = field(4, "countryField", "Country", 282, 160, 30);
    m_postContestTimeCaption = form1::label(central, "postContestTimeCaption", QStringLiteral("Time"), 448, CaptionTop, 46);
    m_postContestTimeField = form1::placed(new QLineEdit(central), 448, FieldTop, 46, 20);
    m_postContestTimeField->setObjectName(QStringLiteral("postContestTimeField"));
    m_postContestTimeField->setMaxLength(5);
    m_postContestDateCaption = form1::label(central, "postContestDateCaption", QStringLiteral("Date"), 500, CaptionTop, 72);
    m_postContestDateField = form1::placed(new QLineEdit(central), 500, FieldTop, 72, 20);
    m_postContestDateField->setObjectName(QStringLiteral("postContestDateField"));
    m_postContestDateField->setMaxLength(10);
    for (QWidget* w :
        std::initializer_list<QWidget*> { m_postContestTimeCaption, m_postContestTimeField, m_postContestDateCaption, m_postContestDateField }) {
        w->hide();
    }

    m_clearButton = form1::placed(new QPushButton(QStringLiteral("&Clear"), central), 580, 32, 52, 24);
    m_clearButton->setObjectName(QStringLiteral("clearButton"));
    m_clearButton->setToolTip(QStringLiteral("Click to clear entry fields or press ALT C"));
    connect(m_clearButton, &QPushButton::clicked, this, &MainWindow::clearEntry);

    constexpr int InfoTop = 60;
    form1::label(central, nullptr, QStringLiteral("Continent"), 8, InfoTop, 54);
    m_continentLabel = form1::label(central, "continentLabel", QString(), 62, InfoTop, 40);
    form1::label(central, nullptr, QStringLiteral("Bearing"), 114, InfoTop, 46);
    m_bearingLabel = form1::label(central, "bearingLabel", QString(), 160, InfoTop, 40);
    form1::label(central, nullptr, QStringLiteral("Distance"), 210, InfoTop, 50);
    m_distanceLabel = form1::label(central, "distanceLabel", QString(), 260, InfoTop, 60);

    QWidget::setTabOrder(m_callField, m_rstRcvdField);
    QWidget::setTabOrder(m_rstRcvdField, m_sectionField);
    QWidget::setTabOrder(m_sectionField, m_rstSentField);
    QWidget::setTabOrder(m_rstSentField, m_countryField);
    QWidget::setTabOrder(m_countryField, m_postContestTimeField);
    QWidget::setTabOrder(m_postContestTimeField, m_postContestDateField);

    m_keys = new KeyRouter(this, this);
    m_keys->route(m_callField, [this](int& keyAscii) { handleCallKey(keyAscii); });
    m_keys->route(m_rstRcvdField, [this](int& keyAscii) { handleRstRcvdKey(keyAscii); });
    m_keys->route(m_sectionField, [this](int& keyAscii) { handleSectionKey(keyAscii); });
    m_keys->route(m_rstSentField, [this](int& keyAscii) { handleRstSentKey(keyAscii); });
    m_keys->route(m_countryField, [this](int& keyAscii) { handleCountryKey(keyAscii); });
    m_keys->route(
        m_postContestTimeField, [this](int& keyAscii) { handlePostContestKey(m_postContestTimeField, keyAscii, "0123456789:"); });
    m_keys->route(
        m_postContestDateField, [this](int& keyAscii) { handlePostContestKey(m_postContestDateField, keyAscii, "0123456789/"); });
    connect(m_callField, &QLineEdit::textChanged, this, &MainWindow::showCountryOfCall);
    connect(m_sectionField, &QLineEdit::textChanged, this, &MainWindow::updateNewSectionMarker);
    connect(m_rstSentField, &QLineEdit::textChanged, this,
        [this](const QString& text) { m_state.currentRstSent = toBytes(text); });
    for (QLineEdit* edit : { m_callField, m_rstRcvdField, m_sectionField, m_rstSentField, m_countryField, m_postContestTimeField, m_postContestDateField }) {
        edit->installEventFilter(this);
    }
    // Entry starts with a call, so that is where the form opens.
    m_callField->setFocus();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if ((type == QEvent::FocusOut || type == QEvent::FocusIn) && !m_focusHandlersQuiet
        && isFocusFromTheOperator(event)) {
        if (type == QEvent::FocusOut && watched == m_callField) {
            completeCall();
        } else if (type == QEvent::FocusIn) {
            handleFieldFocus(watched);
        }
    }
    if (watched == m_contactList || (m_contactList && watched == m_contactList->viewport())) {
        return contactListEvent(watched, event) || QMainWindow::eventFilter(watched, event);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::handleFieldFocus(QObject* field)
{
    const bool allFields = m_defaults.voiceNavLevel == 2;
    if (field == m_callField) {
        prepareForNextCall();
    } else if (field == m_rstRcvdField && allFields) {
        playPrompt("RstRcvd");
    } else if (field == m_sectionField && allFields) {
        playPrompt("State");
    } else if (field == m_rstSentField && allFields) {
        playPrompt("RstSnt");
    } else if (field == m_countryField && allFields) {
        playPrompt("Country");
    } else if (field == m_postContestDateField) {
        proposeTodaysDate();
    } else if (field == m_postContestTimeField) {
        // Queued: the field's own focus handling would otherwise undo the selection.
        QMetaObject::invokeMethod(m_postContestTimeField, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
}

void MainWindow::playPrompt(std::string_view prompt)
{
    // The spoken prompts belong to voice navigation, which speaks them once it is set up; the entry
    // workflow only names the moment.
    (void)prompt;
}

void MainWindow::prepareForNextCall()
{
    showEditButtons(false);
    const bool empty = m_callField->text().isEmpty();
    if (empty) {
        m_rstRcvdField->clear();
        m_rstSentField->clear();
    }
    if (m_defaults.voiceNavLevel >= 1) {
        playPrompt("Call");
    }
    // A list of one station's earlier contacts gives way to the recent contacts for the next call.
    const int listed = m_contactListModel->rowCount();
    if (empty && listed < m_log.log().count() && listed < 18) {
        refreshContactList();
    }
}

void MainWindow::showCountryOfCall()
{
    const std::string call = toBytes(m_callField->text());
    m_state.currentCall = call;
    const CountryLookup found = lookupCountry(m_countries, call);
    switch (found.outcome) {
    case CountryLookup::Outcome::Unchanged:
        return;
    case CountryLookup::Outcome::NotFound:
        m_countryField->setText(q(NotFoundText));
        showCountryDetails(nullptr);
        break;
    case CountryLookup::Outcome::Found:
        m_countryField->setText(q(found.countryText));
        showCountryDetails(found.record);
        break;
    }
    // Selected with the cursor at the start, so that a key typed in the country field replaces it.
    m_countryField->setSelection(m_countryField->text().size(), -m_countryField->text().size());
}

void MainWindow::showCountryDetails(const CountryInfo* record)
{
    if (!record) {
        m_continentLabel->clear();
        m_bearingLabel->clear();
        m_distanceLabel->clear();
        return;
    }
    m_continentLabel->setText(q(record->continent));
    showBearingAndDistance(record->latitude, record->longitude);
}

void MainWindow::completeCall()
{
    const std::string call = toBytes(m_callField->text());
    if (call.empty()) {
        return;
    }
    if (m_sectionField->text().isEmpty()) {
        if (const auto province = provinceOfCallArea(call)) {
            m_sectionField->setText(q(*province));
            m_sectionField->selectAll();
        }
    }
    checkDuplicate();
    for (QLineEdit* report : { m_rstRcvdField, m_rstSentField }) {
        if (report->text().isEmpty()) {
            report->setText(q(defaultReport(m_defaults.mode)));
            report->selectAll();
        }
    }
}

void MainWindow::handleCallKey(int& keyAscii)
{
    // After a duplicate the key waits, and with it every key typed behind it.
    if (m_dupeFound && m_dupeHold->hold(keyAscii)) {
        keyAscii = 0;
        return;
    }
    m_dupeFound = false;
    applyCallKey(keyAscii);
}

void MainWindow::applyCallKey(int& keyAscii)
{
    const std::string before = toBytes(m_callField->text());
    if (before.size() < 2) {
        m_countryField->clear();
        showCountryDetails(nullptr);
    }
    if (keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    if (digitStartsReport(before, typingPosition(m_callField) == m_callField->text().size(), keyAscii)) {
        m_handOver = { 4, keyAscii };
        keyAscii = 0;
        m_rstRcvdField->setFocus();
        // Leaving the call may have found a duplicate, which empties the entry: the digit goes nowhere.
        if (m_dupeFound) {
            m_handOver = {};
            return;
        }
        int handed = m_handOver.keyAscii;
        handleRstRcvdKey(handed);
        return;
    }
    if (before.size() < 3 && m_state.timeOn) {
        m_messageLabel->setText(QStringLiteral(" "));
    }
    if (!m_state.timeOn) {
        m_messageLabel->setText(q(ClockStoppedText));
        m_services.dialogs.beep();
    }
    // Enter and Space end the key's handling: the message the logging step leaves must stay readable.
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        logContact();
        return;
    }
    if (keyAscii == KeySpace) {
        keyAscii = 0;
        m_rstRcvdField->setFocus();
        return;
    }
    keyAscii = upperCaseLetter(keyAscii);
    searchPartialCall(keyAscii);
}

void MainWindow::replayHeldCallKey(int keyAscii)
{
    m_dupeFound = false;
    applyCallKey(keyAscii);
    if (keyAscii == KeyBackspace) {
        m_callField->backspace();
    } else if (keyAscii >= 32) {
        m_callField->insert(QString(QChar(keyAscii)));
    }
}

void MainWindow::handleRstRcvdKey(int& keyAscii)
{
    // A letter cannot be part of a report: it is the first letter of the section.
    if (keyAscii > '9') {
        m_handOver = { 3, keyAscii };
        int handed = keyAscii;
        handleSectionKey(handed);
        keyAscii = KeySpace;
    }
    if (m_handOver.target == 4) {
        keyAscii = m_handOver.keyAscii;
    }
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        logContact();
        return;
    }
    if (keyAscii == KeySpace) {
        sendTabKeystroke(m_rstRcvdField);
    }
    keyAscii = digitsOnly(keyAscii);
    if (m_handOver.target == 4) {
        m_rstRcvdField->setText(QString(QChar(keyAscii)));
        m_handOver = {};
    }
}

void MainWindow::handleSectionKey(int& keyAscii)
{
    if (keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    if (m_handOver.target == 3) {
        keyAscii = m_handOver.keyAscii;
    }
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        logContact();
        return;
    }
    if (keyAscii == KeySpace) {
        keyAscii = 0;
        m_rstSentField->setFocus();
        return;
    }
    keyAscii = upperCaseLetter(keyAscii);
    if (m_handOver.target == 3) {
        m_sectionField->setText(QString(QChar(keyAscii)));
        m_handOver = {};
    }
}

void MainWindow::handleRstSentKey(int& keyAscii)
{
    // A letter cannot be part of a report: it is the first letter of the country.
    if (keyAscii > '9') {
        keyAscii = upperCaseLetter(keyAscii);
        m_handOver = { 2, keyAscii };
        int handed = keyAscii;
        handleCountryKey(handed);
        keyAscii = KeySpace;
    }
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        logContact();
        return;
    }
    if (keyAscii == KeySpace) {
        m_countryField->setFocus();
    }
    keyAscii = digitsOnly(keyAscii);
}

void MainWindow::handleCountryKey(int& keyAscii)
{
    if (keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    // A handed-on letter begins a new country name, completed as if typed here at the start.
    const bool handed = m_handOver.target == 2;
    if (handed) {
        keyAscii = m_handOver.keyAscii;
        m_handOver = {};
        m_countryField->clear();
    }
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        logContact();
        return;
    }
    if (keyAscii == KeySpace && !handed && typingPosition(m_countryField) == 0) {
        keyAscii = 0;
        sendTabKeystroke(m_countryField);
        return;
    }
    if (m_countryField->text().isEmpty() || typingPosition(m_countryField) == 0) {
        m_countryField->clear();
        keyAscii = upperCaseLetter(keyAscii);
    }
    if (const CountryInfo* record = completeCountryField(*m_countryField, m_countries, keyAscii)) {
        showCountryDetails(record);
    }
    if (handed && keyAscii != 0) {
        m_countryField->setText(QString(QChar(keyAscii)));
    }
}

void MainWindow::handlePostContestKey(QLineEdit* field, int& keyAscii, const char* admitted)
{
    if (keyAscii == KeySpace) {
        keyAscii = 0;
        sendTabKeystroke(field);
        return;
    }
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        logContact();
        return;
    }
    if (keyAscii != KeyBackspace && (keyAscii > 0xFF || !std::strchr(admitted, keyAscii))) {
        keyAscii = 0;
    }
}

void MainWindow::proposeTodaysDate()
{
    if (m_postContestDateField->text().isEmpty()) {
        const DateTime today = m_services.clock.localNow();
        m_postContestDateField->setText(q(formatDate(today)));
    }
    QMetaObject::invokeMethod(m_postContestDateField, &QLineEdit::selectAll, Qt::QueuedConnection);
}

void MainWindow::togglePostContestMode()
{
    m_state.postContestMode = m_postContestAction->isChecked();
    for (QWidget* w :
        std::initializer_list<QWidget*> { m_postContestTimeCaption, m_postContestTimeField, m_postContestDateCaption, m_postContestDateField }) {
        w->setVisible(m_state.postContestMode);
    }
}

bool MainWindow::validateSection()
{
    if (SectionTable::isValid(toBytes(m_sectionField->text()))) {
        return true;
    }
    m_services.dialogs.beep();
    m_messageLabel->setText(q(InvalidSectionText));
    m_sectionField->setFocus();
    return false;
}

bool MainWindow::checkRequiredFields()
{
    const EntryFields fields { toBytes(m_callField->text()), toBytes(m_rstRcvdField->text()), toBytes(m_sectionField->text()),
        toBytes(m_rstSentField->text()), toBytes(m_countryField->text()) };
    const std::vector<MissingField> missing = missingFields(fields);
    for (const MissingField& failure : missing) {
        m_services.dialogs.beep();
        m_messageLabel->setText(q(failure.message));
    }
    if (missing.empty()) {
        return true;
    }
    QLineEdit* const focus[] = { m_callField, m_rstRcvdField, m_sectionField, m_rstSentField, m_countryField };
    focus[static_cast<int>(missing.back().field)]->setFocus();
    return false;
}

bool MainWindow::checkPostContestDateTime()
{
    const std::optional<std::string> date = postContestDate(toBytes(m_postContestDateField->text()));
    if (!date) {
        m_messageLabel->setText(q(InvalidDateText));
        m_services.dialogs.beep();
        return false;
    }
    m_postContestDateField->setText(q(*date));
    const std::optional<std::string> time = postContestTime(toBytes(m_postContestTimeField->text()));
    if (!time) {
        m_messageLabel->setText(q(InvalidTimeText));
        m_services.dialogs.beep();
        return false;
    }
    m_postContestTimeField->setText(q(*time));
    return true;
}

void MainWindow::logContact()
{
    if (m_state.postContestMode && !checkPostContestDateTime()) {
        return;
    }
    if (!m_state.timeOn) {
        startOperatingClock();
    }
    // The checks move the focus to the field to correct; that is no leaving of the call field, whose
    // completions would change the very fields being checked.
    m_focusHandlersQuiet = true;
    // An empty section is no invalid one: the required-field check stops that contact.
    const bool invalidSection = !m_sectionField->text().isEmpty() && !validateSection();
    const bool complete = checkRequiredFields();
    checkDuplicate();
    m_focusHandlersQuiet = false;

    bool kept = invalidSection || !complete;
    if (!m_dupeFound && complete && !invalidSection) {
        const DateTime utc = addHours(m_services.clock.localNow(), m_defaults.utcOffsetHours);
        const EntryFields fields { toBytes(m_callField->text()), toBytes(m_rstRcvdField->text()), toBytes(m_sectionField->text()),
            toBytes(m_rstSentField->text()), toBytes(m_countryField->text()) };
        const QsoRecord record = m_state.postContestMode
            ? entryRecord(fields, toBytes(m_postContestDateField->text()), toBytes(m_postContestTimeField->text()), m_state.currentBand,
                m_state.rigFrequencyText)
            : entryRecord(fields, formatDate(utc), formatTime(utc), m_state.currentBand, m_state.rigFrequencyText);
        const bool full = m_log.log().isFull();
        if (Status appended = m_log.append(record); !appended) {
            // Not on the disk means not logged: the entry stays on the screen to be logged again.
            if (full) {
                m_services.dialogs.message(q(logmsg::LogFullTitle), q(logmsg::LogFullText),
                    OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Critical);
            } else {
                reportWriteFailure(logmsg::AppendErrorText, appended.error());
            }
            kept = true;
        } else {
            refreshContactList();
            m_messageLabel->setText(QStringLiteral(" "));
            setDialogBackColour(DialogBackColour);
            countNewContact(record);
        }
    }
    if (!kept) {
        clearEntryFields();
        m_callField->setFocus();
    }
    showPossibleDupes(QString());
    showScore();
    showRates();
    m_state.rigFrequencyText.clear();
}

void MainWindow::clearEntryFields()
{
    for (QLineEdit* field : { m_callField, m_rstSentField, m_countryField, m_rstRcvdField, m_sectionField }) {
        field->clear();
    }
    m_continentLabel->clear();
    m_bearingLabel->clear();
    m_distanceLabel->clear();
}

void MainWindow::clearEntry()
{
    clearEntryFields();
    showPossibleDupes(QString());
    m_messageLabel->setText(QStringLiteral(" "));
    setDialogBackColour(DialogBackColour);
    m_callField->setFocus();
}

void MainWindow::showClocks()
{
    const ClockTexts texts = clockTexts(m_services.clock.localNow(), m_defaults.utcOffsetHours);
    m_localTimeLabel->setText(q(texts.local));
    m_amPmLabel->setText(q(texts.marker));
    m_utcTimeLabel->setText(q(texts.utc));
}

} // namespace brindle
