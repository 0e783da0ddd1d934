#pragma once

#include "log/ContestSession.h"
#include "log/MainWindowServices.h"

#include <QObject>

namespace brindle {

class SessionController;

// The File menu's commands on the log file as a whole: a new log, archive, restore, and the backup
// taken at close.
class LogFileCommands : public QObject
{
    Q_OBJECT

public:
    LogFileCommands(ContestSession& session, MainWindowServices& services, SessionController& controller,
        QObject* parent = nullptr);

    // The start-up question: carry on with the log on the disk, or start a new one.
    void askToContinueExistingLog();
    // Starts a new log after the operator types YES.
    void newLog();
    void archiveLog();
    void restoreLog();
    // Copies the log into the backup folder when contacts were added or removed since the first load.
    void backUpLog();

signals:
    // A new log starts the operating time from nothing.
    void operatingTimeReset();

private:
    ContestSession& m_session;
    MainWindowServices& m_services;
    SessionController& m_controller;
};

} // namespace brindle
