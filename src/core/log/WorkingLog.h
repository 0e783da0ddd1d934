#pragma once

#include "BandTally.h"
#include "CallIndex.h"
#include "ContestLog.h"
#include "LogFormat.h"
#include "common/Clock.h"
#include "common/FileSystem.h"

#include <optional>
#include <string>

namespace brindle {

// The working log file "log.txt" and its copy in memory. The file is the master: every operation here
// either changes the file first and then memory, or changes neither, so the two never disagree.
class WorkingLog
{
public:
    static constexpr std::string_view FileName = "log.txt";

    WorkingLog(FileSystem& fs, std::string path);

    const std::string& path() const
    {
        return m_path;
    }
    const ContestLog& log() const
    {
        return m_log;
    }
    const BandTallies& tallies() const
    {
        return m_tallies;
    }
    // The log's calls, kept in step with it by every operation here; it covers every band, so a band
    // change leaves it as it is.
    const CallIndex& calls() const
    {
        return m_calls;
    }

    // Rebuilds the log and the band tallies from the file. On a failure nothing in memory changes.
    std::optional<LogLoadFailure> load();

    // Appends a contact to the file, synced, then to memory. Refused when the log is full.
    Status append(const QsoRecord& record);

    // Writes a changed log (an edit or a delete) as the whole new file, atomically, and adopts it.
    Status rewrite(const ContestLog& updated);

    // Empties the file and the log (a new contest).
    Status erase();

    // Count at the first load of this run; the backup rule compares with it.
    int countAtFirstLoad() const
    {
        return m_countAtFirstLoad;
    }
    // Contacts were added or removed since the first load, and there are some to keep.
    bool backupDue() const;

    enum class BackupRule
    {
        WhenChanged, // closing the program: only when backupDue()
        WhenNotEmpty, // before the log is erased: whenever there is anything to lose
    };

    // Copies the file into the backup folder as "yyyymmddhhnn.log" when the rule asks for it, creating
    // the folder if needed. A name already taken is never replaced: the copy takes the next free one,
    // "yyyymmddhhnn-2.log", "-3", ... The caller decides whether a failure is worth mentioning.
    Status backup(const std::string& backupFolder, const DateTime& localNow, BackupRule rule);

    // Replaces the working log file with another file's content; load() then reads it. The file is
    // checked first: one that would not load leaves the working log untouched.
    Status restoreFrom(const std::string& sourcePath);

private:
    Status adopt(ContestLog log);

    FileSystem& m_fs;
    std::string m_path;
    ContestLog m_log;
    BandTallies m_tallies;
    CallIndex m_calls;
    int m_countAtFirstLoad = 0;
};

// "yyyymmddhhnn.log" for the first backup taken in this local minute, "yyyymmddhhnn-2.log" for the
// second, and so on.
std::string backupFileName(const DateTime& localNow, int nthInMinute = 1);

// The archive name proposed to the operator: the own call's folder name and the local date,
// "DL1ABC2026-02-21.log".
std::string archiveFileName(std::string_view ownCall, const DateTime& localNow);

} // namespace brindle
