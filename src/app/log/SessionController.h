#pragma once

#include "log/ContestSession.h"
#include "log/MainWindowServices.h"

#include <QObject>
#include <QString>

#include <string>
#include <string_view>

namespace brindle {

struct Error;
struct QsoRecord;

// The one writer of the shared state: default data, band, the log file. Every change is announced by
// a signal, which the main window connects to its parts in the order the steps must run.
class SessionController : public QObject
{
    Q_OBJECT

public:
    SessionController(ContestSession& session, MainWindowServices& services, QObject* parent = nullptr);

    // Reads the default data; false (and the operator told) when it cannot be read.
    bool loadDefaultData();
    // Rewrites the default-data file from the current settings; tells the operator if that fails.
    bool saveDefaultData();
    // Proposes a new UTC offset when the stored one no longer matches the computer's clocks.
    void checkUtcOffset();
    // False when the country file could not be read: the operator has been told.
    bool loadCountryFile();
    // Rebuilds the log and everything derived from it from the log file. On a damaged file the
    // operator is told and the program ends; returns false then.
    bool reloadLog();
    // Makes band the current band: default data, reload, then the displays.
    void changeBand(const std::string& band);
    // The next band up, from the band label.
    void cycleBand();
    void setListPrevious(bool on);
    void setPostContestMode(bool on);
    // The rig reported its frequency (MHz): the band follows when the frequency is on one of the
    // contest's bands, and the next contact is logged on that frequency.
    void followRigFrequency(float freqMHz);
    // The rig reported its mode ("CW", "PH", "AM", "FM" or empty). The operating mode stays as it is: it
    // is the operator's, set in the station setup, and a rig in SSB for a moment must not turn the
    // exchange and the reports of a CW log.
    void followRigMode(const QString& mode);

    // Appends a contact to the log file; false (and the operator told) when it is not on the disk.
    bool appendContact(const QsoRecord& record);
    // Replaces the log file with log; the operator is told when that fails. Reload afterwards.
    void rewriteLog(const ContestLog& log);
    void reportWriteFailure(std::string_view what, const Error& error);

signals:
    void settingsLoaded();
    void logReloaded();
    void bandChanged(const QString& band);
    void endRequested(int exitCode);

private:
    std::string defaultDataPath() const;

    ContestSession& m_session;
    MainWindowServices& m_services;
};

} // namespace brindle
