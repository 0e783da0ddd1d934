// The main form's entry fields: what each key does in each field, the checks a contact must pass, and
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

void Form1::buildEntryFields(QWidget* central)
{
    constexpr int CaptionTop = 20;
    constexpr int FieldTop = 34;
    const auto field = [&](int index, const char* name, const char* caption, int left, int width, int maxLength) {
        form1::label(central, QStringLiteral("lblStation_%1").arg(index).toLatin1().constData(),
            QString::fromLatin1(caption), left, CaptionTop, width);
        auto* edit = form1::placed(new QLineEdit(central), left, FieldTop, width, 20);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(maxLength);
        return edit;
    };
    txtCall = field(0, "txtCall", "Call", 8, 100, 13);
    txtRSTR = field(1, "txtRSTR", "RS(T) Rc", 114, 50, 3);
    txtSec = field(2, "txtSec", "St / Pr", 170, 50, 6);
    txtRSTS = field(3, "txtRSTS", "RS(T) Sn", 226, 50, 3);
    txtCntry = field(4, "txtCntry", "Country", 282, 160, 30);
    lblPostConTime = form1::label(central, "lblPostConTime", QStringLiteral("Time"), 448, CaptionTop, 46);
    txtPostConTime = form1::placed(new QLineEdit(central), 448, FieldTop, 46, 20);
    txtPostConTime->setObjectName(QStringLiteral("txtPostConTime"));
    txtPostConTime->setMaxLength(5);
    lblPostConDate = form1::label(central, "lblPostConDate", QStringLiteral("Date"), 500, CaptionTop, 72);
    txtPostConDate = form1::placed(new QLineEdit(central), 500, FieldTop, 72, 20);
    txtPostConDate->setObjectName(QStringLiteral("txtPostConDate"));
    txtPostConDate->setMaxLength(10);
    for (QWidget* w :
        std::initializer_list<QWidget*> { lblPostConTime, txtPostConTime, lblPostConDate, txtPostConDate }) {
        w->hide();
    }

    cmdClear = form1::placed(new QPushButton(QStringLiteral("&Clear"), central), 580, 32, 52, 24);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdClear->setToolTip(QStringLiteral("Click to clear entry fields or press ALT C"));
    connect(cmdClear, &QPushButton::clicked, this, &Form1::cmdClear_Click);

    constexpr int InfoTop = 60;
    form1::label(central, nullptr, QStringLiteral("Continent"), 8, InfoTop, 54);
    Label22 = form1::label(central, "Label22", QString(), 62, InfoTop, 40);
    form1::label(central, nullptr, QStringLiteral("Bearing"), 114, InfoTop, 46);
    Label18 = form1::label(central, "Label18", QString(), 160, InfoTop, 40);
    form1::label(central, nullptr, QStringLiteral("Distance"), 210, InfoTop, 50);
    Label19 = form1::label(central, "Label19", QString(), 260, InfoTop, 60);

    QWidget::setTabOrder(txtCall, txtRSTR);
    QWidget::setTabOrder(txtRSTR, txtSec);
    QWidget::setTabOrder(txtSec, txtRSTS);
    QWidget::setTabOrder(txtRSTS, txtCntry);
    QWidget::setTabOrder(txtCntry, txtPostConTime);
    QWidget::setTabOrder(txtPostConTime, txtPostConDate);

    m_keys = new KeyRouter(this, this);
    m_keys->route(txtCall, [this](int& keyAscii) { txtCall_KeyPress(keyAscii); });
    m_keys->route(txtRSTR, [this](int& keyAscii) { txtRSTR_KeyPress(keyAscii); });
    m_keys->route(txtSec, [this](int& keyAscii) { txtSec_KeyPress(keyAscii); });
    m_keys->route(txtRSTS, [this](int& keyAscii) { txtRSTS_KeyPress(keyAscii); });
    m_keys->route(txtCntry, [this](int& keyAscii) { txtCntry_KeyPress(keyAscii); });
    m_keys->route(
        txtPostConTime, [this](int& keyAscii) { postContestKeyPress(txtPostConTime, keyAscii, "0123456789:"); });
    m_keys->route(
        txtPostConDate, [this](int& keyAscii) { postContestKeyPress(txtPostConDate, keyAscii, "0123456789/"); });
    connect(txtCall, &QLineEdit::textChanged, this, &Form1::txtCall_Change);
    connect(txtSec, &QLineEdit::textChanged, this, &Form1::UpdateNewIndicator);
    connect(txtRSTS, &QLineEdit::textChanged, this,
        [this](const QString& text) { m_state.currentRstSent = toBytes(text); });
    for (QLineEdit* edit : { txtCall, txtRSTR, txtSec, txtRSTS, txtCntry, txtPostConTime, txtPostConDate }) {
        edit->installEventFilter(this);
    }
    // Entry starts with a call, so that is where the form opens.
    txtCall->setFocus();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if ((type == QEvent::FocusOut || type == QEvent::FocusIn) && !m_focusHandlersQuiet
        && isFocusFromTheOperator(event)) {
        if (type == QEvent::FocusOut && watched == txtCall) {
            txtCall_LostFocus();
        } else if (type == QEvent::FocusIn) {
            fieldGotFocus(watched);
        }
    }
    if (watched == ListView1 || (ListView1 && watched == ListView1->viewport())) {
        return contactListEvent(watched, event) || QMainWindow::eventFilter(watched, event);
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::fieldGotFocus(QObject* field)
{
    const bool allFields = m_defaults.voiceNavLevel == 2;
    if (field == txtCall) {
        txtCall_GotFocus();
    } else if (field == txtRSTR && allFields) {
        BlindKeyPhone("RstRcvd");
    } else if (field == txtSec && allFields) {
        BlindKeyPhone("State");
    } else if (field == txtRSTS && allFields) {
        BlindKeyPhone("RstSnt");
    } else if (field == txtCntry && allFields) {
        BlindKeyPhone("Country");
    } else if (field == txtPostConDate) {
        txtPostConDate_GotFocus();
    } else if (field == txtPostConTime) {
        // Queued: the field's own focus handling would otherwise undo the selection.
        QMetaObject::invokeMethod(txtPostConTime, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
}

void Form1::BlindKeyPhone(std::string_view prompt)
{
    // The spoken prompts belong to voice navigation, which speaks them once it is set up; the entry
    // workflow only names the moment.
    (void)prompt;
}

void Form1::txtCall_GotFocus()
{
    showEditButtons(false);
    const bool empty = txtCall->text().isEmpty();
    if (empty) {
        txtRSTR->clear();
        txtRSTS->clear();
    }
    if (m_defaults.voiceNavLevel >= 1) {
        BlindKeyPhone("Call");
    }
    // A list of one station's earlier contacts gives way to the recent contacts for the next call.
    const int listed = m_contacts->rowCount();
    if (empty && listed < m_log.log().count() && listed < 18) {
        RefreshContactList();
    }
}

void Form1::txtCall_Change()
{
    const std::string call = toBytes(txtCall->text());
    m_state.currentCall = call;
    const CountryLookup found = lookupCountry(m_countries, call);
    switch (found.outcome) {
    case CountryLookup::Outcome::Unchanged:
        return;
    case CountryLookup::Outcome::NotFound:
        txtCntry->setText(q(NotFoundText));
        showCountryRecord(nullptr);
        break;
    case CountryLookup::Outcome::Found:
        txtCntry->setText(q(found.countryText));
        showCountryRecord(found.record);
        break;
    }
    // Selected with the cursor at the start, so that a key typed in the country field replaces it.
    txtCntry->setSelection(txtCntry->text().size(), -txtCntry->text().size());
}

void Form1::showCountryRecord(const CountryInfo* record)
{
    if (!record) {
        Label22->clear();
        Label18->clear();
        Label19->clear();
        return;
    }
    Label22->setText(q(record->continent));
    HDCalc(record->latitude, record->longitude);
}

void Form1::txtCall_LostFocus()
{
    const std::string call = toBytes(txtCall->text());
    if (call.empty()) {
        return;
    }
    if (txtSec->text().isEmpty()) {
        if (const auto province = provinceOfCallArea(call)) {
            txtSec->setText(q(*province));
            txtSec->selectAll();
        }
    }
    dupcheck();
    for (QLineEdit* report : { txtRSTR, txtRSTS }) {
        if (report->text().isEmpty()) {
            report->setText(q(defaultReport(m_defaults.mode)));
            report->selectAll();
        }
    }
}

void Form1::txtCall_KeyPress(int& keyAscii)
{
    // After a duplicate the key waits, and with it every key typed behind it.
    if (m_dupeFlag && m_dupeHold->hold(keyAscii)) {
        keyAscii = 0;
        return;
    }
    m_dupeFlag = false;
    callKeySteps(keyAscii);
}

void Form1::callKeySteps(int& keyAscii)
{
    const std::string before = toBytes(txtCall->text());
    if (before.size() < 2) {
        txtCntry->clear();
        showCountryRecord(nullptr);
    }
    if (keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    if (digitStartsReport(before, typingPosition(txtCall) == txtCall->text().size(), keyAscii)) {
        m_handOver = { 4, keyAscii };
        keyAscii = 0;
        txtRSTR->setFocus();
        // Leaving the call may have found a duplicate, which empties the entry: the digit goes nowhere.
        if (m_dupeFlag) {
            m_handOver = {};
            return;
        }
        int handed = m_handOver.keyAscii;
        txtRSTR_KeyPress(handed);
        return;
    }
    if (before.size() < 3 && m_state.timeOn) {
        lblDialog->setText(QStringLiteral(" "));
    }
    if (!m_state.timeOn) {
        lblDialog->setText(q(ClockStoppedText));
        m_services.dialogs.beep();
    }
    // Enter and Space end the key's handling: the message the logging step leaves must stay readable.
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        Mains();
        return;
    }
    if (keyAscii == KeySpace) {
        keyAscii = 0;
        txtRSTR->setFocus();
        return;
    }
    keyAscii = capital(keyAscii);
    PartialCallSearch(keyAscii);
}

void Form1::replayCallKey(int keyAscii)
{
    m_dupeFlag = false;
    callKeySteps(keyAscii);
    if (keyAscii == KeyBackspace) {
        txtCall->backspace();
    } else if (keyAscii >= 32) {
        txtCall->insert(QString(QChar(keyAscii)));
    }
}

void Form1::txtRSTR_KeyPress(int& keyAscii)
{
    // A letter cannot be part of a report: it is the first letter of the section.
    if (keyAscii > '9') {
        m_handOver = { 3, keyAscii };
        int handed = keyAscii;
        txtSec_KeyPress(handed);
        keyAscii = KeySpace;
    }
    if (m_handOver.target == 4) {
        keyAscii = m_handOver.keyAscii;
    }
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        Mains();
        return;
    }
    if (keyAscii == KeySpace) {
        sendTabKeystroke(txtRSTR);
    }
    keyAscii = number(keyAscii);
    if (m_handOver.target == 4) {
        txtRSTR->setText(QString(QChar(keyAscii)));
        m_handOver = {};
    }
}

void Form1::txtSec_KeyPress(int& keyAscii)
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
        Mains();
        return;
    }
    if (keyAscii == KeySpace) {
        keyAscii = 0;
        txtRSTS->setFocus();
        return;
    }
    keyAscii = capital(keyAscii);
    if (m_handOver.target == 3) {
        txtSec->setText(QString(QChar(keyAscii)));
        m_handOver = {};
    }
}

void Form1::txtRSTS_KeyPress(int& keyAscii)
{
    // A letter cannot be part of a report: it is the first letter of the country.
    if (keyAscii > '9') {
        keyAscii = capital(keyAscii);
        m_handOver = { 2, keyAscii };
        int handed = keyAscii;
        txtCntry_KeyPress(handed);
        keyAscii = KeySpace;
    }
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        Mains();
        return;
    }
    if (keyAscii == KeySpace) {
        txtCntry->setFocus();
    }
    keyAscii = number(keyAscii);
}

void Form1::txtCntry_KeyPress(int& keyAscii)
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
        txtCntry->clear();
    }
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        Mains();
        return;
    }
    if (keyAscii == KeySpace && !handed && typingPosition(txtCntry) == 0) {
        keyAscii = 0;
        sendTabKeystroke(txtCntry);
        return;
    }
    if (txtCntry->text().isEmpty() || typingPosition(txtCntry) == 0) {
        txtCntry->clear();
        keyAscii = capital(keyAscii);
    }
    if (const CountryInfo* record = completeCountryField(*txtCntry, m_countries, keyAscii)) {
        showCountryRecord(record);
    }
    if (handed && keyAscii != 0) {
        txtCntry->setText(QString(QChar(keyAscii)));
    }
}

void Form1::postContestKeyPress(QLineEdit* field, int& keyAscii, const char* admitted)
{
    if (keyAscii == KeySpace) {
        keyAscii = 0;
        sendTabKeystroke(field);
        return;
    }
    if (keyAscii == KeyReturn) {
        keyAscii = 0;
        Mains();
        return;
    }
    if (keyAscii != KeyBackspace && (keyAscii > 0xFF || !std::strchr(admitted, keyAscii))) {
        keyAscii = 0;
    }
}

void Form1::txtPostConDate_GotFocus()
{
    if (txtPostConDate->text().isEmpty()) {
        const DateTime today = m_services.clock.localNow();
        txtPostConDate->setText(q(formatDate(today)));
    }
    QMetaObject::invokeMethod(txtPostConDate, &QLineEdit::selectAll, Qt::QueuedConnection);
}

void Form1::mnuPostContest_Click()
{
    m_state.postContestMode = mnuPostContest->isChecked();
    for (QWidget* w :
        std::initializer_list<QWidget*> { lblPostConTime, txtPostConTime, lblPostConDate, txtPostConDate }) {
        w->setVisible(m_state.postContestMode);
    }
}

bool Form1::ValidateSection()
{
    if (SectionTable::isValid(toBytes(txtSec->text()))) {
        return true;
    }
    m_services.dialogs.beep();
    lblDialog->setText(q(InvalidSectionText));
    txtSec->setFocus();
    return false;
}

bool Form1::frmcmp()
{
    const EntryFields fields { toBytes(txtCall->text()), toBytes(txtRSTR->text()), toBytes(txtSec->text()),
        toBytes(txtRSTS->text()), toBytes(txtCntry->text()) };
    const std::vector<MissingField> missing = missingFields(fields);
    for (const MissingField& failure : missing) {
        m_services.dialogs.beep();
        lblDialog->setText(q(failure.message));
    }
    if (missing.empty()) {
        return true;
    }
    QLineEdit* const focus[] = { txtCall, txtRSTR, txtSec, txtRSTS, txtCntry };
    focus[static_cast<int>(missing.back().field)]->setFocus();
    return false;
}

bool Form1::postContestChecks()
{
    const std::optional<std::string> date = postContestDate(toBytes(txtPostConDate->text()));
    if (!date) {
        lblDialog->setText(q(InvalidDateText));
        m_services.dialogs.beep();
        return false;
    }
    txtPostConDate->setText(q(*date));
    const std::optional<std::string> time = postContestTime(toBytes(txtPostConTime->text()));
    if (!time) {
        lblDialog->setText(q(InvalidTimeText));
        m_services.dialogs.beep();
        return false;
    }
    txtPostConTime->setText(q(*time));
    return true;
}

void Form1::Mains()
{
    if (m_state.postContestMode && !postContestChecks()) {
        return;
    }
    if (!m_state.timeOn) {
        startOperatingClock();
    }
    // The checks move the focus to the field to correct; that is no leaving of the call field, whose
    // completions would change the very fields being checked.
    m_focusHandlersQuiet = true;
    // An empty section is no invalid one: the required-field check stops that contact.
    const bool invalidSection = !txtSec->text().isEmpty() && !ValidateSection();
    const bool complete = frmcmp();
    dupcheck();
    m_focusHandlersQuiet = false;

    bool kept = invalidSection || !complete;
    if (!m_dupeFlag && complete && !invalidSection) {
        const DateTime utc = addHours(m_services.clock.localNow(), m_defaults.utcOffsetHours);
        const EntryFields fields { toBytes(txtCall->text()), toBytes(txtRSTR->text()), toBytes(txtSec->text()),
            toBytes(txtRSTS->text()), toBytes(txtCntry->text()) };
        const QsoRecord record = m_state.postContestMode
            ? entryRecord(fields, toBytes(txtPostConDate->text()), toBytes(txtPostConTime->text()), m_state.currentBand,
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
            RefreshContactList();
            lblDialog->setText(QStringLiteral(" "));
            setDialogBackColour(DialogBackColour);
            CountNewContact(record);
        }
    }
    if (!kept) {
        clearEntryFields();
        txtCall->setFocus();
    }
    setDupeBox(QString());
    Labeldisplay();
    TimeStats();
    m_state.rigFrequencyText.clear();
}

void Form1::clearEntryFields()
{
    for (QLineEdit* field : { txtCall, txtRSTS, txtCntry, txtRSTR, txtSec }) {
        field->clear();
    }
    Label22->clear();
    Label18->clear();
    Label19->clear();
}

void Form1::cmdClear_Click()
{
    clearEntryFields();
    setDupeBox(QString());
    lblDialog->setText(QStringLiteral(" "));
    setDialogBackColour(DialogBackColour);
    txtCall->setFocus();
}

void Form1::showClocks()
{
    const ClockTexts texts = clockTexts(m_services.clock.localNow(), m_defaults.utcOffsetHours);
    lblCurTime->setText(q(texts.local));
    Label16->setText(q(texts.marker));
    lblutctime->setText(q(texts.utc));
}

} // namespace brindle
