#include "DupeChecker.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "keying/KeyerControls.h"
#include "keying/VoiceNavigation.h"
#include "log/ContestSession.h"
#include "log/Statistics.h"
#include "ui/KeyHold.h"
#include "ui/MessageLine.h"

namespace brindle {

namespace {

// After a duplicate, keys typed into the call field wait this long from the moment it was found.
constexpr std::int64_t DupeHoldMs = 3000;

} // namespace

DupeChecker::DupeChecker(ContestSession& session, const Clock& clock, OperatorDialogs& dialogs, MessageLine& messages,
    VoicePrompts& prompts, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_clock(clock)
    , m_dialogs(dialogs)
    , m_messages(messages)
    , m_prompts(prompts)
{
    m_dupeHold = new KeyHold(m_clock, this);
}

DupeChecker::Outcome DupeChecker::checkDuplicate(const std::string& call)
{
    m_dupeFound = false;
    const DupeCheckResult found
        = duplicateCheck(m_session.log.log(), m_session.log.calls(), call, m_session.state.currentBand);
    if (m_session.state.listPreviousContacts) {
        emit previousContactsFound(found.previous);
    }
    Outcome outcome { false, found.section };
    if (!found.duplicate) {
        return outcome;
    }
    m_messages.showDuplicate(
        toQString(duplicateMessage(m_session.log.log().record(*found.duplicate), *found.duplicate)));
    emit possibleDupesListed(QString());
    m_dialogs.beep();
    m_prompts.playPrompt(prompts::Dupe);
    m_dupeFound = true;
    if (m_session.defaults.voiceNavLevel != 0 && m_prompts.isPlaying(prompts::Dupe)) {
        // An operator following by ear hears the whole prompt before any key acts; the hold's time
        // runs from its end.
        m_dupeHold->holdWhile([this] { return m_prompts.isPlaying(prompts::Dupe); }, DupeHoldMs);
    } else {
        m_dupeHold->holdUntil(m_clock.monotonicMs() + DupeHoldMs);
    }
    outcome.duplicate = true;
    return outcome;
}

bool DupeChecker::dupeFound() const
{
    return m_dupeFound;
}

void DupeChecker::keyTaken()
{
    m_dupeFound = false;
}

void DupeChecker::searchPartialCall(const std::string& fieldText, int keyAscii)
{
    const PartialSearchOutcome outcome = partialCallSearch(m_session.log.log(), m_session.log.calls(),
        m_session.state.currentBand, fieldText, keyAscii, m_session.state.partialDupesOn, m_session.state.timeOn);
    m_messages.restoreColour();
    emit possibleDupesListed(toQString(outcome.list));
    if (outcome.dialog) {
        m_messages.show(toQString(*outcome.dialog));
    }
    if (outcome.beep) {
        m_dialogs.beep();
    }
}

void DupeChecker::releaseDupeHold()
{
    m_dupeHold->releaseIfDue();
}

KeyHold& DupeChecker::keyHold()
{
    return *m_dupeHold;
}

bool DupeChecker::togglePartialSearch()
{
    m_session.state.partialDupesOn = !m_session.state.partialDupesOn;
    return m_session.state.partialDupesOn;
}

} // namespace brindle
