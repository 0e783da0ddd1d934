#include "WorkingLog.h"

#include "LogMessages.h"
#include "common/Text.h"
#include "station/CallFolderName.h"
#include "station/UserFolders.h"

namespace brindle {

WorkingLog::WorkingLog(FileSystem& fs, std::string path)
    : m_fs(fs)
    , m_path(std::move(path))
{
}

std::optional<LogLoadFailure> WorkingLog::load()
{
    Result<std::string> content = m_fs.readFile(m_path);
    if (!content) {
        return LogLoadFailure::Unreadable;
    }
    ParsedLog parsed = parseLog(content.value());
    if (parsed.failure) {
        return parsed.failure;
    }
    BandTallies tallies;
    if (!tallies.rebuild(parsed.log)) {
        return LogLoadFailure::TooManySections;
    }
    m_log = std::move(parsed.log);
    m_tallies = std::move(tallies);
    m_calls.rebuild(m_log);
    if (m_countAtFirstLoad == 0) {
        m_countAtFirstLoad = m_log.count();
    }
    return std::nullopt;
}

Status WorkingLog::append(const QsoRecord& record)
{
    if (m_log.isFull()) {
        return Error { std::string(logmsg::LogFullText) };
    }
    const QsoRecord storable = storableRecord(record);
    if (Status written = m_fs.appendLine(m_path, formatRecord(storable)); !written) {
        return written;
    }
    m_log.append(storable);
    m_tallies.count(storable);
    m_calls.addNewest(m_log);
    return {};
}

Status WorkingLog::adopt(ContestLog log)
{
    BandTallies tallies;
    if (!tallies.rebuild(log)) {
        return Error { "a band holds more distinct sections than the log can count" };
    }
    if (Status written = m_fs.replaceFile(m_path, formatLog(log)); !written) {
        return written;
    }
    m_log = std::move(log);
    m_tallies = std::move(tallies);
    m_calls.rebuild(m_log);
    return {};
}

Status WorkingLog::rewrite(const ContestLog& updated)
{
    ContestLog storable;
    for (const QsoRecord& record : updated.records()) {
        storable.append(storableRecord(record));
    }
    return adopt(std::move(storable));
}

Status WorkingLog::erase()
{
    return adopt(ContestLog {});
}

bool WorkingLog::backupDue() const
{
    return m_log.count() != m_countAtFirstLoad && m_log.count() > 0;
}

Status WorkingLog::backup(const std::string& backupFolder, const DateTime& localNow, BackupRule rule)
{
    const bool wanted = rule == BackupRule::WhenChanged ? backupDue() : m_log.count() > 0;
    if (!wanted) {
        return {};
    }
    if (auto failure = ensureFolder(m_fs, backupFolder)) {
        return Error { failure->text };
    }
    // Each failure names the file it concerns, as the folder's own failure does.
    Result<std::string> content = m_fs.readFile(m_path);
    if (!content) {
        return Error { content.error().description + "  " + m_path };
    }
    // A backup is never replaced: a second one within the minute (a new log started twice, say) would
    // otherwise take the only copy of the log erased first.
    for (int nthInMinute = 1;; ++nthInMinute) {
        const std::string path = joinPath(backupFolder, backupFileName(localNow, nthInMinute));
        Result<bool> written = m_fs.writeNewFile(path, content.value());
        if (!written) {
            return Error { written.error().description + "  " + path };
        }
        if (written.value()) {
            return {};
        }
    }
}

Status WorkingLog::restoreFrom(const std::string& sourcePath)
{
    Result<std::string> content = m_fs.readFile(sourcePath);
    if (!content) {
        return content.error();
    }
    ParsedLog parsed = parseLog(content.value());
    BandTallies tallies;
    if (parsed.failure || !tallies.rebuild(parsed.log)) {
        return Error { std::string(logmsg::RestoreDamagedText) };
    }
    // The copy is byte for byte: blank lines or unusual spacing in an archive stay as they were.
    return m_fs.replaceFile(m_path, content.value());
}

std::string backupFileName(const DateTime& t, int nthInMinute)
{
    const std::string minute
        = fourDigits(t.year) + twoDigits(t.month) + twoDigits(t.day) + twoDigits(t.hour) + twoDigits(t.minute);
    return nthInMinute > 1 ? minute + "-" + std::to_string(nthInMinute) + ".log" : minute + ".log";
}

std::string archiveFileName(std::string_view ownCall, const DateTime& t)
{
    return callFolderName(ownCall) + fourDigits(t.year) + "-" + twoDigits(t.month) + "-" + twoDigits(t.day) + ".log";
}

} // namespace brindle
