#include "LogFileCommands.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/LogMessages.h"
#include "log/SessionController.h"

namespace brindle {

LogFileCommands::LogFileCommands(
    ContestSession& session, MainWindowServices& services, SessionController& controller, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_services(services)
    , m_controller(controller)
{
}

void LogFileCommands::askToContinueExistingLog()
{
    const auto answer = m_services.dialogs.message(toQString(logmsg::StartupQuestionTitle),
        toQString(logmsg::StartupQuestionText), OperatorDialogs::Buttons::YesNo, OperatorDialogs::Icon::Question);
    // Yes needs no reload: the band-change step loaded the file moments ago and nothing has touched it.
    if (answer == OperatorDialogs::Answer::No) {
        newLog();
    }
}

void LogFileCommands::newLog()
{
    const auto answer
        = m_services.dialogs.inputBox(toQString(logmsg::NewLogTitle), toQString(logmsg::NewLogPrompt), QString());
    if (answer && equalsIgnoreCase(toBytes(*answer), logmsg::NewLogConfirmation)) {
        // The log about to be erased is kept whenever it holds anything, even if it is exactly the log
        // loaded at start-up: that is the case where nothing else would keep it. Without that copy
        // the erase would be the end of the contacts, so it does not happen.
        if (Status backedUp = m_session.log.backup(
                m_services.folders.backupDir, m_services.clock.localNow(), WorkingLog::BackupRule::WhenNotEmpty);
            !backedUp) {
            m_controller.reportWriteFailure(logmsg::BackupBeforeEraseErrorText, backedUp.error());
        } else if (Status erased = m_session.log.erase(); !erased) {
            m_controller.reportWriteFailure(logmsg::EraseErrorText, erased.error());
        } else {
            m_session.state.accumulatedOnSeconds = 0;
            m_session.state.totalOnSeconds = 0;
            m_controller.saveDefaultData();
        }
    }
    emit operatingTimeReset();
    // The reload recomputes the rates too.
    m_controller.reloadLog();
}

void LogFileCommands::archiveLog()
{
    m_services.dialogs.message(toQString(logmsg::ArchiveInfoTitle), toQString(logmsg::ArchiveInfoText));
    const auto chosen = m_services.dialogs.saveFileName(pathToQString(m_services.folders.backupDir),
        toQString(archiveFileName(m_session.defaults.ownCall, m_services.clock.localNow())),
        toQString(logmsg::LogFileFilter));
    if (!chosen) {
        return;
    }
    if (Status copied = copyFile(m_services.fs, m_session.log.path(), pathFromQString(*chosen)); !copied) {
        m_services.dialogs.message(toQString(logmsg::ArchiveErrorTitle), toQString(copied.error().description));
    }
}

void LogFileCommands::restoreLog()
{
    m_services.dialogs.message(toQString(logmsg::RestoreInfoTitle), toQString(logmsg::RestoreInfoText));
    if (m_session.log.log().count() > 0) {
        const auto sure = m_services.dialogs.message(toQString(logmsg::RestoreConfirmTitle),
            toQString(logmsg::RestoreConfirmText), OperatorDialogs::Buttons::YesNo);
        if (sure != OperatorDialogs::Answer::Yes) {
            return;
        }
    }
    const auto chosen = m_services.dialogs.openFileName(
        pathToQString(m_services.folders.backupDir), toQString(logmsg::LogFileFilter));
    if (!chosen) {
        return;
    }
    if (Status restored = m_session.log.restoreFrom(pathFromQString(*chosen)); !restored) {
        m_services.dialogs.message(toQString(logmsg::RestoreErrorTitle), toQString(restored.error().description));
        return;
    }
    m_controller.reloadLog();
}

void LogFileCommands::backUpLog()
{
    // A backup that cannot be taken must not stand between the operator and closing the program.
    (void)m_session.log.backup(
        m_services.folders.backupDir, m_services.clock.localNow(), WorkingLog::BackupRule::WhenChanged);
}

} // namespace brindle
