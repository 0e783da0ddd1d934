#pragma once

#include <QObject>

namespace brindle {

class EntryPanel;
class MessageLine;
class SessionController;
struct ContestSession;
struct MainWindowServices;
struct QsoRecord;

// The logging step: the entry's checks in order, then the contact onto the disk and into the displays.
class ContactLogger : public QObject
{
    Q_OBJECT

public:
    ContactLogger(ContestSession& session, MainWindowServices& services, EntryPanel& entry,
        SessionController& controller, MessageLine& messages, QObject* parent = nullptr);

    // Logs the contact in the entry fields once it passes every check.
    void logContact();

signals:
    // The operating clock must run before a contact is logged.
    void clockNeeded();
    void contactLogged(const QsoRecord& record);
    // Logged or not, the displays that follow every attempt.
    void contactAttempted();

private:
    // False (and the section field focused) when the section field holds no known section.
    bool validateSection();
    // False when a required field is empty or too short: a beep and a message for each, the focus to
    // the last.
    bool checkRequiredFields();
    bool checkPostContestDateTime();

    ContestSession& m_session;
    MainWindowServices& m_services;
    EntryPanel& m_entry;
    SessionController& m_controller;
    MessageLine& m_messages;
};

} // namespace brindle
