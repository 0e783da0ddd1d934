#include "SessionController.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/Bands.h"
#include "log/LogMessages.h"
#include "station/UtcOffset.h"

#include <optional>
#include <utility>

namespace brindle {

SessionController::SessionController(ContestSession& session, MainWindowServices& services, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_services(services)
{
}

std::string SessionController::defaultDataPath() const
{
    return joinPath(m_services.folders.workingDir, DefaultDataFileName);
}

bool SessionController::loadDefaultData()
{
    Result<std::string> content = m_services.fs.readFile(defaultDataPath());
    Result<DefaultData> parsed = content ? parseDefaultData(content.value()) : Result<DefaultData>(content.error());
    if (!parsed) {
        m_services.dialogs.beep();
        m_services.dialogs.message(toQString(DefaultDataErrorTitle), toQString(DefaultDataErrorText));
        return false;
    }
    m_session.adoptSettings(std::move(parsed).value());
    emit settingsLoaded();
    return true;
}

bool SessionController::saveDefaultData()
{
    const DefaultData current = m_session.settingsToSave();
    if (Status saved = m_services.fs.replaceFile(defaultDataPath(), formatDefaultData(current)); !saved) {
        m_services.dialogs.message(QStringLiteral("Default Data Not Saved"),
            QStringLiteral("Your settings could not be written to inprefDX.txt:  ")
                + toQString(saved.error().description),
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Warning);
        return false;
    }
    m_session.defaults = current;
    return true;
}

void SessionController::checkUtcOffset()
{
    const std::optional<UtcOffsetProposal> proposal
        = utcOffsetCheck(m_services.clock.utcNow(), m_services.clock.localNow(), m_session.defaults.utcOffsetHours);
    if (!proposal) {
        return;
    }
    const std::optional<QString> answer = m_services.dialogs.inputBox(
        toQString(UtcOffsetTitle), toQString(proposal->prompt), toQString(formatSingle(proposal->recommended)));
    if (!answer) {
        return;
    }
    if (const std::optional<float> offset = utcOffsetFromAnswer(toBytes(*answer))) {
        m_session.defaults.utcOffsetHours = *offset;
        saveDefaultData();
    }
}

bool SessionController::loadCountryFile()
{
    CountryFileLoad loaded = loadCountryTable(
        m_services.fs, m_services.folders.sharedDir, m_services.folders.programDataDir, m_services.folders.workingDir);
    m_session.countries = std::move(loaded.table);
    if (loaded.failed) {
        m_services.dialogs.beep();
        m_services.dialogs.message(toQString(CountryFileErrorTitle), toQString(CountryFileErrorText));
        return false;
    }
    return true;
}

bool SessionController::reloadLog()
{
    if (const auto failure = m_session.log.load()) {
        m_services.dialogs.message(toQString(logmsg::FileErrorTitle), toQString(logmsg::FileErrorText));
        emit endRequested(1);
        return false;
    }
    emit logReloaded();
    return true;
}

void SessionController::changeBand(const std::string& band)
{
    m_session.state.currentBand = band;
    saveDefaultData();
    if (!reloadLog()) {
        return;
    }
    emit bandChanged(toQString(band));
}

void SessionController::cycleBand()
{
    if (const auto next = nextBand(m_session.state.currentBand)) {
        changeBand(*next);
    }
}

void SessionController::setListPrevious(bool on)
{
    m_session.state.listPreviousContacts = on;
    saveDefaultData();
}

void SessionController::followRigFrequency(float freqMHz)
{
    if (const std::optional<std::string_view> band = bandForFrequency(freqMHz);
        band && !equalsIgnoreCase(*band, m_session.state.currentBand)) {
        changeBand(std::string(*band));
    }
    m_session.state.rigFrequencyText = rigFrequencyText(freqMHz);
}

void SessionController::followRigMode(const QString& mode)
{
    (void)mode;
}

void SessionController::setPostContestMode(bool on)
{
    m_session.state.postContestMode = on;
}

bool SessionController::appendContact(const QsoRecord& record)
{
    const bool full = m_session.log.log().isFull();
    Status appended = m_session.log.append(record);
    if (appended) {
        return true;
    }
    if (full) {
        m_services.dialogs.message(toQString(logmsg::LogFullTitle), toQString(logmsg::LogFullText),
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Critical);
    } else {
        reportWriteFailure(logmsg::AppendErrorText, appended.error());
    }
    return false;
}

void SessionController::rewriteLog(const ContestLog& log)
{
    if (Status written = m_session.log.rewrite(log); !written) {
        reportWriteFailure(logmsg::RewriteErrorText, written.error());
    }
}

void SessionController::reportWriteFailure(std::string_view what, const Error& error)
{
    m_services.dialogs.message(toQString(logmsg::WriteErrorTitle),
        toQString(what) + QStringLiteral("\r\n\r\n") + toQString(error.description), OperatorDialogs::Buttons::Ok,
        OperatorDialogs::Icon::Critical);
}

} // namespace brindle
