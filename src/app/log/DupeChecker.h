#pragma once

#include <QObject>

#include <optional>
#include <string>
#include <vector>

namespace brindle {

class Clock;
class KeyHold;
class MessageLine;
class OperatorDialogs;
class VoicePrompts;
struct ContestSession;

// The duplicate check of a finished call and the partial search of a call being typed. After a
// duplicate, every key typed waits a moment, so the operator sees the message before typing over it.
class DupeChecker : public QObject
{
    Q_OBJECT

public:
    DupeChecker(ContestSession& session, const Clock& clock, OperatorDialogs& dialogs, MessageLine& messages,
        VoicePrompts& prompts, QObject* parent = nullptr);

    struct Outcome
    {
        bool duplicate = false;
        // The section the station gave in an earlier contact, for an empty section field.
        std::optional<std::string> section;
    };
    // The duplicate check of call on the current band. On a duplicate the operator is told and the
    // call field's keys are held; the entry must be emptied.
    Outcome checkDuplicate(const std::string& call);
    // The last check found a duplicate, and no key has been typed into the call field since.
    bool dupeFound() const;
    // A key reached the call field: whatever the last check found is answered.
    void keyTaken();
    // The possible duplicates of the call field's text with key about to be typed.
    void searchPartialCall(const std::string& fieldText, int keyAscii);
    // Hands on held keys once their time has come (the hold's timer calls it too).
    void releaseDupeHold();
    // Where keys wait after a duplicate.
    KeyHold& keyHold();
    // Turns the partial search on or off; true when it is on now.
    bool togglePartialSearch();

signals:
    // The earlier contacts of the checked station, for the contact list.
    void previousContactsFound(const std::vector<int>& records);
    // What the possible-duplicates box is to list; empty empties it.
    void possibleDupesListed(const QString& list);

private:
    ContestSession& m_session;
    const Clock& m_clock;
    OperatorDialogs& m_dialogs;
    MessageLine& m_messages;
    VoicePrompts& m_prompts;
    KeyHold* m_dupeHold = nullptr;
    bool m_dupeFound = false;
};

} // namespace brindle
