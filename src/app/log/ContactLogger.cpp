#include "ContactLogger.h"

#include "common/DateText.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/ContestSession.h"
#include "log/EntryPanel.h"
#include "log/MainWindowServices.h"
#include "log/SectionTable.h"
#include "log/SessionController.h"
#include "ui/MessageLine.h"

namespace brindle {

ContactLogger::ContactLogger(ContestSession& session, MainWindowServices& services, EntryPanel& entry,
    SessionController& controller, MessageLine& messages, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_services(services)
    , m_entry(entry)
    , m_controller(controller)
    , m_messages(messages)
{
}

bool ContactLogger::validateSection()
{
    if (SectionTable::isValid(m_entry.fields().section)) {
        return true;
    }
    m_services.dialogs.beep();
    m_messages.show(toQString(InvalidSectionText));
    m_entry.focusField(EntryField::Section);
    return false;
}

bool ContactLogger::checkRequiredFields()
{
    const std::vector<MissingField> missing = missingFields(m_entry.fields());
    for (const MissingField& failure : missing) {
        m_services.dialogs.beep();
        m_messages.show(toQString(failure.message));
    }
    if (missing.empty()) {
        return true;
    }
    m_entry.focusField(missing.back().field);
    return false;
}

bool ContactLogger::checkPostContestDateTime()
{
    const std::optional<std::string> date = postContestDate(m_entry.postContestDateText());
    if (!date) {
        m_messages.show(toQString(InvalidDateText));
        m_services.dialogs.beep();
        return false;
    }
    m_entry.setPostContestDate(*date);
    const std::optional<std::string> time = postContestTime(m_entry.postContestTimeText());
    if (!time) {
        m_messages.show(toQString(InvalidTimeText));
        m_services.dialogs.beep();
        return false;
    }
    m_entry.setPostContestTime(*time);
    return true;
}

void ContactLogger::logContact()
{
    OperatingState& state = m_session.state;
    if (state.postContestMode && !checkPostContestDateTime()) {
        return;
    }
    if (!state.timeOn) {
        emit clockNeeded();
    }
    bool invalidSection = false;
    bool complete = false;
    bool duplicate = false;
    {
        // The checks move the focus to the field to correct; that is no leaving of the call field, whose
        // completions would change the very fields being checked.
        EntryPanel::QuietFocus quiet(m_entry);
        // An empty section is no invalid one: the required-field check stops that contact.
        invalidSection = !m_entry.fields().section.empty() && !validateSection();
        complete = checkRequiredFields();
        duplicate = m_entry.runDuplicateCheck();
    }

    bool kept = invalidSection || !complete;
    if (!duplicate && complete && !invalidSection) {
        const DateTime utc = addHours(m_services.clock.localNow(), m_session.defaults.utcOffsetHours);
        const EntryFields fields = m_entry.fields();
        const QsoRecord record = state.postContestMode
            ? entryRecord(fields, m_entry.postContestDateText(), m_entry.postContestTimeText(), state.currentBand,
                state.rigFrequencyText)
            : entryRecord(fields, formatDate(utc), formatTime(utc), state.currentBand, state.rigFrequencyText);
        // Not on the disk means not logged: the entry stays on the screen to be logged again.
        if (!m_controller.appendContact(record)) {
            kept = true;
        } else {
            m_messages.reset();
            emit contactLogged(record);
        }
    }
    if (!kept) {
        m_entry.clearEntryFields();
        m_entry.focusCall();
    }
    emit contactAttempted();
    state.rigFrequencyText.clear();
}

} // namespace brindle
