// What each key does in each entry field, including the three hand-overs: a digit typed after a
// complete call begins the received report, a letter in the received report begins the section, and a
// letter in the sent report begins the country.

#include "EntryPanel.h"

#include "common/DateText.h"
#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "keying/KeyerControls.h"
#include "keying/VoiceNavigation.h"
#include "log/ContestSession.h"
#include "log/DupeChecker.h"
#include "log/MainWindowServices.h"
#include "log/Statistics.h"
#include "station/CountryField.h"
#include "ui/Announce.h"
#include "ui/KeyRouting.h"
#include "ui/MessageLine.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <cstring>

namespace brindle {

namespace {

// Voice navigation's levels: the call field and events are spoken from the first, every field from
// the second.
constexpr auto PromptForCall = static_cast<std::uint8_t>(VoiceNavLevel::CallOnly);
constexpr auto PromptForEveryField = static_cast<std::uint8_t>(VoiceNavLevel::AllFields);

// Where typing goes in a field: the start of the selection, or the cursor when nothing is selected.
int typingPosition(const QLineEdit* field)
{
    return field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
}

} // namespace

EntryPanel::QuietFocus::QuietFocus(EntryPanel& panel)
    : m_panel(panel)
    , m_wasQuiet(panel.m_quietFocus)
{
    m_panel.m_quietFocus = true;
}

EntryPanel::QuietFocus::~QuietFocus()
{
    m_panel.m_quietFocus = m_wasQuiet;
}

EntryPanel::EntryPanel(QWidget* canvas, ContestSession& session, MainWindowServices& services, KeyRouter& keys,
    DupeChecker& dupes, MessageLine& messages, VoicePrompts& prompts)
    : DesignPanel(canvas, QRect(0, 20, 640, 56))
    , m_session(session)
    , m_services(services)
    , m_dupes(dupes)
    , m_messages(messages)
    , m_prompts(prompts)
{
    buildFields();
    routeKeys(keys);
    // Entry starts with a call, so that is where the window opens.
    m_callField->setFocus();
}

void EntryPanel::buildFields()
{
    constexpr int CaptionTop = 20;
    constexpr int FieldTop = 34;
    const auto field
        = [&](const char* captionName, const char* name, const char* caption, int left, int width, int maxLength) {
              QLabel* shown = addLabel(captionName, QString::fromLatin1(caption), left, CaptionTop, width);
              auto* edit = place(new QLineEdit(this), left, FieldTop, width, 20);
              edit->setObjectName(QString::fromLatin1(name));
              // The caption names the field, for a screen reader too.
              shown->setBuddy(edit);
              edit->setMaxLength(maxLength);
              return edit;
          };
    m_callField = field("callCaption", "callField", "Call", 8, 100, 13);
    m_rstRcvdField = field("rstRcvdCaption", "rstRcvdField", "RS(T) Rc", 114, 50, 3);
    m_sectionField = field("sectionCaption", "sectionField", "St / Pr", 170, 50, 6);
    m_rstSentField = field("rstSentCaption", "rstSentField", "RS(T) Sn", 226, 50, 3);
    m_countryField = field("countryCaption", "countryField", "Country", 282, 160, 30);
    m_postContestTimeCaption = addLabel("postContestTimeCaption", QStringLiteral("Time"), 448, CaptionTop, 46);
    m_postContestTimeField = place(new QLineEdit(this), 448, FieldTop, 46, 20);
    m_postContestTimeField->setObjectName(QStringLiteral("postContestTimeField"));
    m_postContestTimeField->setMaxLength(5);
    m_postContestDateCaption = addLabel("postContestDateCaption", QStringLiteral("Date"), 500, CaptionTop, 72);
    m_postContestDateField = place(new QLineEdit(this), 500, FieldTop, 72, 20);
    m_postContestDateField->setObjectName(QStringLiteral("postContestDateField"));
    m_postContestDateField->setMaxLength(10);
    m_postContestTimeCaption->setBuddy(m_postContestTimeField);
    m_postContestDateCaption->setBuddy(m_postContestDateField);
    showPostContestFields(false);

    m_clearButton = place(new QPushButton(QStringLiteral("&Clear"), this), 580, 32, 52, 24);
    m_clearButton->setObjectName(QStringLiteral("clearButton"));
    m_clearButton->setToolTip(QStringLiteral("Click to clear entry fields or press ALT C"));
    connect(m_clearButton, &QPushButton::clicked, this, &EntryPanel::clearEntry);

    constexpr int InfoTop = 60;
    addLabel(nullptr, QStringLiteral("Continent"), 8, InfoTop, 54);
    m_continentLabel = addLabel("continentLabel", QString(), 62, InfoTop, 40);
    addLabel(nullptr, QStringLiteral("Bearing"), 114, InfoTop, 46);
    m_bearingLabel = addLabel("bearingLabel", QString(), 160, InfoTop, 40);
    addLabel(nullptr, QStringLiteral("Distance"), 210, InfoTop, 50);
    m_distanceLabel = addLabel("distanceLabel", QString(), 260, InfoTop, 60);

    m_newSectionMarker = addLabel("newSectionMarker", QStringLiteral("New"), 330, 60, 40, 14);
    m_newSectionMarker->setAccessibleName(QStringLiteral("New section"));
    QFont bold = m_newSectionMarker->font();
    bold.setBold(true);
    m_newSectionMarker->setFont(bold);
    m_newSectionMarker->hide();

    QWidget::setTabOrder(m_callField, m_rstRcvdField);
    QWidget::setTabOrder(m_rstRcvdField, m_sectionField);
    QWidget::setTabOrder(m_sectionField, m_rstSentField);
    QWidget::setTabOrder(m_rstSentField, m_countryField);
    QWidget::setTabOrder(m_countryField, m_postContestTimeField);
    QWidget::setTabOrder(m_postContestTimeField, m_postContestDateField);
}

void EntryPanel::routeKeys(KeyRouter& keys)
{
    keys.route(m_callField, [this](int& keyAscii) { handleCallKey(keyAscii); });
    keys.route(m_rstRcvdField, [this](int& keyAscii) { handleRstRcvdKey(keyAscii); });
    keys.route(m_sectionField, [this](int& keyAscii) { handleSectionKey(keyAscii); });
    keys.route(m_rstSentField, [this](int& keyAscii) { handleRstSentKey(keyAscii); });
    keys.route(m_countryField, [this](int& keyAscii) { handleCountryKey(keyAscii); });
    keys.route(m_postContestTimeField,
        [this](int& keyAscii) { handlePostContestKey(m_postContestTimeField, keyAscii, "0123456789:"); });
    keys.route(m_postContestDateField,
        [this](int& keyAscii) { handlePostContestKey(m_postContestDateField, keyAscii, "0123456789/"); });
    connect(m_callField, &QLineEdit::textChanged, this, &EntryPanel::showCountryOfCall);
    connect(m_sectionField, &QLineEdit::textChanged, this, &EntryPanel::updateNewSectionMarker);
    connect(m_rstSentField, &QLineEdit::textChanged, this,
        [this](const QString& text) { m_session.state.currentRstSent = toBytes(text); });
    for (QLineEdit* edit : { m_callField, m_rstRcvdField, m_sectionField, m_rstSentField, m_countryField,
             m_postContestTimeField, m_postContestDateField }) {
        edit->installEventFilter(this);
    }
}

bool EntryPanel::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if ((type == QEvent::FocusOut || type == QEvent::FocusIn) && !m_quietFocus && isOperatorFocusChange(event)) {
        if (type == QEvent::FocusOut && watched == m_callField) {
            const QScopedValueRollback leaving(m_leavingCall, true);
            completeCall();
        } else if (type == QEvent::FocusIn) {
            handleFieldFocus(watched);
        }
    }
    return DesignPanel::eventFilter(watched, event);
}

EntryFields EntryPanel::fields() const
{
    return { toBytes(m_callField->text()), toBytes(m_rstRcvdField->text()), toBytes(m_sectionField->text()),
        toBytes(m_rstSentField->text()), toBytes(m_countryField->text()) };
}

std::string EntryPanel::postContestDateText() const
{
    return toBytes(m_postContestDateField->text());
}

std::string EntryPanel::postContestTimeText() const
{
    return toBytes(m_postContestTimeField->text());
}

void EntryPanel::setPostContestDate(const std::string& date)
{
    m_postContestDateField->setText(toQString(date));
}

void EntryPanel::setPostContestTime(const std::string& time)
{
    m_postContestTimeField->setText(toQString(time));
}

void EntryPanel::showPostContestFields(bool shown)
{
    for (QWidget* w : std::initializer_list<QWidget*> {
             m_postContestTimeCaption, m_postContestTimeField, m_postContestDateCaption, m_postContestDateField }) {
        w->setVisible(shown);
    }
}

bool EntryPanel::hasCall() const
{
    return !m_callField->text().isEmpty();
}

void EntryPanel::focusCall()
{
    m_callField->setFocus();
}

void EntryPanel::putCall(const QString& call)
{
    m_callField->setFocus();
    m_callField->setText(call);
}

void EntryPanel::enterCallAndMoveOn(const QString& call)
{
    putCall(call);
    leaveCallFor(m_rstRcvdField);
}

void EntryPanel::focusField(EntryField field)
{
    QLineEdit* const fields[] = { m_callField, m_rstRcvdField, m_sectionField, m_rstSentField, m_countryField };
    fields[static_cast<int>(field)]->setFocus();
}

void EntryPanel::setSection(const QString& abbreviation)
{
    m_sectionField->setText(abbreviation);
}

void EntryPanel::setReportLength(std::string_view mode)
{
    const int length = equalsIgnoreCase(mode, ModeCW) ? 3 : 2;
    m_rstRcvdField->setMaxLength(length);
    m_rstSentField->setMaxLength(length);
}

void EntryPanel::handleFieldFocus(QObject* field)
{
    const bool allFields = m_session.defaults.voiceNavLevel == PromptForEveryField;
    if (field == m_callField) {
        prepareForNextCall();
    } else if (field == m_rstRcvdField && allFields) {
        playFieldPrompt(prompts::ReceivedReport);
    } else if (field == m_sectionField && allFields) {
        playFieldPrompt(prompts::Section);
    } else if (field == m_rstSentField && allFields) {
        playFieldPrompt(prompts::SentReport);
    } else if (field == m_countryField && allFields) {
        playFieldPrompt(prompts::Country);
    } else if (field == m_postContestDateField) {
        proposeTodaysDate();
    } else if (field == m_postContestTimeField) {
        // Queued: the field's own focus handling would otherwise undo the selection.
        QMetaObject::invokeMethod(m_postContestTimeField, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
}

void EntryPanel::playFieldPrompt(std::string_view prompt)
{
    // The focus on its way back to the call after a duplicate would talk over "Dupe", which the operator
    // must hear whole: the field is named after it.
    if (m_dupes.dupeFound() && m_prompts.isPlaying()) {
        m_prompts.playPromptAfter(prompt);
        return;
    }
    m_prompts.playPrompt(prompt);
}

void EntryPanel::prepareForNextCall()
{
    const bool empty = m_callField->text().isEmpty();
    if (empty) {
        m_rstRcvdField->clear();
        m_rstSentField->clear();
    }
    if (m_session.defaults.voiceNavLevel >= PromptForCall) {
        playFieldPrompt(prompts::Call);
    }
    emit callFieldEntered(empty);
}

void EntryPanel::showCountryOfCall()
{
    const std::string call = toBytes(m_callField->text());
    m_session.state.currentCall = call;
    const CountryLookup found = lookupCountry(m_session.countries, call);
    switch (found.outcome) {
    case CountryLookup::Outcome::Unchanged:
        return;
    case CountryLookup::Outcome::NotFound:
        m_countryField->setText(toQString(NotFoundText));
        showCountryDetails(nullptr);
        break;
    case CountryLookup::Outcome::Found:
        m_countryField->setText(toQString(found.countryText));
        showCountryDetails(found.record);
        break;
    }
    // Selected with the cursor at the start, so that a key typed in the country field replaces it.
    m_countryField->setSelection(m_countryField->text().size(), -m_countryField->text().size());
}

void EntryPanel::showCountryDetails(const CountryInfo* record)
{
    if (!record) {
        m_continentLabel->clear();
        m_bearingLabel->clear();
        m_distanceLabel->clear();
        return;
    }
    m_continentLabel->setText(toQString(record->continent));
    showBearingAndDistance(record->latitude, record->longitude);
}

void EntryPanel::showBearingAndDistance(double latitude, double longitude)
{
    const BearingDistance result
        = bearingAndDistance(m_session.defaults.latitude, m_session.defaults.longitude, latitude, longitude);
    m_bearingLabel->setText(toQString(result.bearing));
    m_distanceLabel->setText(toQString(result.distance));
}

void EntryPanel::updateNewSectionMarker()
{
    const bool isNew
        = sectionIsNew(m_session.log.tallies(), m_session.state.currentBand, toBytes(m_sectionField->text()));
    const bool appears = isNew && m_newSectionMarker->isHidden();
    m_newSectionMarker->setVisible(isNew);
    if (appears) {
        announce(m_newSectionMarker);
    }
}

void EntryPanel::followBand()
{
    if (!m_callField->text().isEmpty()) {
        updateNewSectionMarker();
    }
}

void EntryPanel::completeCall()
{
    const std::string call = toBytes(m_callField->text());
    if (call.empty()) {
        return;
    }
    if (m_sectionField->text().isEmpty()) {
        if (const auto province = provinceOfCallArea(call)) {
            m_sectionField->setText(toQString(*province));
            m_sectionField->selectAll();
        }
    }
    runDuplicateCheck();
    for (QLineEdit* report : { m_rstRcvdField, m_rstSentField }) {
        if (report->text().isEmpty()) {
            report->setText(toQString(defaultReport(m_session.defaults.mode)));
            report->selectAll();
        }
    }
}

void EntryPanel::leaveCallFor(QWidget* next)
{
    // A window that is not the active one gets no focus events, so nothing would tell the call field it
    // is being left: its steps run here instead.
    if (!window()->isActiveWindow() && window()->focusWidget() == m_callField) {
        const QScopedValueRollback leaving(m_leavingCall, true);
        completeCall();
    }
    next->setFocus();
}

bool EntryPanel::runDuplicateCheck()
{
    const DupeChecker::Outcome outcome = m_dupes.checkDuplicate(toBytes(m_callField->text()));
    if (outcome.section && m_sectionField->text().isEmpty()) {
        m_sectionField->setText(toQString(*outcome.section));
        m_sectionField->selectAll();
    }
    if (!outcome.duplicate) {
        return false;
    }
    clearEntryFields();
    if (m_leavingCall) {
        // Not while the focus is still on its way out of the call field: the move under way would
        // finish after this one, and a screen reader would name the field the operator is not in.
        QMetaObject::invokeMethod(m_callField, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);
    } else {
        m_callField->setFocus();
    }
    return true;
}

bool EntryPanel::logOnEnter(int& keyAscii)
{
    if (keyAscii != KeyReturn) {
        return false;
    }
    keyAscii = 0;
    emit enterPressed();
    return true;
}

void EntryPanel::handleCallKey(int& keyAscii)
{
    m_dupes.keyTaken();
    const std::string before = toBytes(m_callField->text());
    if (before.size() < 2) {
        m_countryField->clear();
        showCountryDetails(nullptr);
    }
    // Every key typed with the clock stopped is told so, even one that goes no further.
    if (before.size() < 3 && m_session.state.timeOn) {
        m_messages.show(QStringLiteral(" "));
    }
    if (!m_session.state.timeOn) {
        m_messages.show(toQString(ClockStoppedText));
        m_services.dialogs.beep();
    }
    if (keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    if (digitStartsReport(before, typingPosition(m_callField) == m_callField->text().size(), keyAscii)) {
        m_handOver = { HandOverTarget::RstRcvd, keyAscii };
        keyAscii = 0;
        leaveCallFor(m_rstRcvdField);
        // Leaving the call may have found a duplicate, which empties the entry: the digit goes nowhere.
        if (m_dupes.dupeFound()) {
            m_handOver = {};
            return;
        }
        int handed = m_handOver.keyAscii;
        handleRstRcvdKey(handed);
        return;
    }
    // Enter and Space end the key's handling: the message the logging step leaves must stay readable.
    if (logOnEnter(keyAscii)) {
        return;
    }
    if (keyAscii == KeySpace) {
        keyAscii = 0;
        leaveCallFor(m_rstRcvdField);
        return;
    }
    keyAscii = upperCaseLetter(keyAscii);
    m_dupes.searchPartialCall(toBytes(m_callField->text()), keyAscii);
}

void EntryPanel::handleRstRcvdKey(int& keyAscii)
{
    // A letter cannot be part of a report: it is the first letter of the section.
    if (keyAscii > '9') {
        m_handOver = { HandOverTarget::Section, keyAscii };
        int handed = keyAscii;
        handleSectionKey(handed);
        keyAscii = KeySpace;
    }
    if (m_handOver.target == HandOverTarget::RstRcvd) {
        keyAscii = m_handOver.keyAscii;
    }
    if (logOnEnter(keyAscii)) {
        return;
    }
    if (keyAscii == KeySpace) {
        sendTabKeystroke(m_rstRcvdField);
    }
    keyAscii = digitsOnly(keyAscii);
    if (m_handOver.target == HandOverTarget::RstRcvd) {
        m_rstRcvdField->setText(QString(QChar(keyAscii)));
        m_handOver = {};
    }
}

void EntryPanel::handleSectionKey(int& keyAscii)
{
    if (keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    if (m_handOver.target == HandOverTarget::Section) {
        keyAscii = m_handOver.keyAscii;
    }
    if (logOnEnter(keyAscii)) {
        return;
    }
    if (keyAscii == KeySpace) {
        keyAscii = 0;
        m_rstSentField->setFocus();
        return;
    }
    keyAscii = upperCaseLetter(keyAscii);
    if (m_handOver.target == HandOverTarget::Section) {
        m_sectionField->setText(QString(QChar(keyAscii)));
        m_handOver = {};
    }
}

void EntryPanel::handleRstSentKey(int& keyAscii)
{
    // A letter cannot be part of a report: it is the first letter of the country.
    if (keyAscii > '9') {
        keyAscii = upperCaseLetter(keyAscii);
        m_handOver = { HandOverTarget::Country, keyAscii };
        int handed = keyAscii;
        handleCountryKey(handed);
        keyAscii = KeySpace;
    }
    if (logOnEnter(keyAscii)) {
        return;
    }
    if (keyAscii == KeySpace) {
        m_countryField->setFocus();
    }
    keyAscii = digitsOnly(keyAscii);
}

void EntryPanel::handleCountryKey(int& keyAscii)
{
    if (keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    // A handed-on letter begins a new country name, completed as if typed here at the start.
    const bool handed = m_handOver.target == HandOverTarget::Country;
    if (handed) {
        keyAscii = m_handOver.keyAscii;
        m_handOver = {};
        m_countryField->clear();
    }
    if (logOnEnter(keyAscii)) {
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
    if (const CountryInfo* record = completeCountryField(*m_countryField, m_session.countries, keyAscii)) {
        showCountryDetails(record);
    }
    if (handed && keyAscii != 0) {
        m_countryField->setText(QString(QChar(keyAscii)));
    }
}

void EntryPanel::handlePostContestKey(QLineEdit* field, int& keyAscii, const char* admitted)
{
    if (keyAscii == KeySpace) {
        keyAscii = 0;
        sendTabKeystroke(field);
        return;
    }
    if (logOnEnter(keyAscii)) {
        return;
    }
    if (keyAscii != KeyBackspace && (keyAscii > 0xFF || !std::strchr(admitted, keyAscii))) {
        keyAscii = 0;
    }
}

void EntryPanel::proposeTodaysDate()
{
    if (m_postContestDateField->text().isEmpty()) {
        const DateTime today = m_services.clock.localNow();
        m_postContestDateField->setText(toQString(formatDate(today)));
    }
    QMetaObject::invokeMethod(m_postContestDateField, &QLineEdit::selectAll, Qt::QueuedConnection);
}

void EntryPanel::clearEntryFields()
{
    for (QLineEdit* field : { m_callField, m_rstSentField, m_countryField, m_rstRcvdField, m_sectionField }) {
        field->clear();
    }
    m_continentLabel->clear();
    m_bearingLabel->clear();
    m_distanceLabel->clear();
}

void EntryPanel::clearEntry()
{
    clearEntryFields();
    emit entryCleared();
    m_messages.reset();
    m_callField->setFocus();
}

} // namespace brindle
