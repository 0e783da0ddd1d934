#include "ProgramStart.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/WorkingLog.h"
#include "station/DefaultData.h"

#include <QLockFile>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace brindle {

namespace {

std::string environment(const char* name)
{
    return qgetenv(name).toStdString();
}

// The account's home from the password database, for a session started with no HOME at all.
std::string accountHome()
{
    const passwd* entry = ::getpwuid(::getuid());
    return (entry && entry->pw_dir) ? std::string(entry->pw_dir) : std::string("/tmp");
}

void show(OperatorDialogs& dialogs, const OperatorMessages& messages)
{
    for (const OperatorMessage& m : messages) {
        dialogs.message(toQString(m.title), toQString(m.text));
    }
}

} // namespace

std::unique_ptr<QLockFile> claimWorkingFolder(OperatorDialogs& dialogs, const std::string& workingDir)
{
    auto lock = std::make_unique<QLockFile>(pathToQString(joinPath(workingDir, WorkingFolderLockName)));
    // The program holds the folder for a whole contest: a lock is stale only once its program is gone,
    // never because it is old.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        return lock;
    }
    const bool inUse = lock->error() == QLockFile::LockFailedError;
    dialogs.message(toQString(inUse ? FolderInUseTitle : FolderNotUsableTitle),
        toQString(inUse ? FolderInUseText : FolderNotUsableText) + QStringLiteral("\r\n\r\n")
            + pathToQString(workingDir),
        OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Critical);
    return nullptr;
}

UserFolderPlaces userFolderPlacesFromEnvironment()
{
    UserFolderPlaces places;
    places.profile = environment("HOME");
    places.noProfileDocuments = joinPath(accountHome(), "Documents");
    places.myDocuments = pathFromQString(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    places.documents = joinPath(places.profile, "Documents");
    places.appData = environment("XDG_DATA_HOME");
    if (places.appData.empty()) {
        places.appData = joinPath(places.profile, ".local/share");
    }
    return places;
}

ProgramFolders startProgram(FileSystem& fs, OperatorDialogs& dialogs, SharedPreferences& shared,
    const std::string& workingDir, const UserFolderPlaces& places)
{
    ProgramFolders folders;
    folders.workingDir = workingDir;
    // A file that cannot be tidied away is no reason not to start; the next start tries again.
    for (std::string_view rewritten : { WorkingLog::FileName, DefaultDataFileName }) {
        (void)fs.removeInterruptedReplacements(joinPath(workingDir, rewritten));
    }

    const ResolvedUserFolder forProgram = resolveUserFolder(fs, places, MakerFolderName, ProgramFolderName);
    show(dialogs, forProgram.messages);
    const ResolvedUserFolder forShared = resolveUserFolder(fs, places, MakerFolderName, SharedFolderName);
    show(dialogs, forShared.messages);

    folders.programDataDir = joinPath(forProgram.makerFolder, ProgramFolderName);
    folders.sharedDir = joinPath(forShared.makerFolder, SharedFolderName);
    folders.backupDir = joinPath(folders.programDataDir, BackupFolderName);

    shared.load(joinPath(folders.sharedDir, SharedPreferencesFileName));
    // A backup folder that cannot be made is noticed, silently, when a backup is next taken.
    (void)ensureFolder(fs, folders.backupDir);
    return folders;
}

} // namespace brindle
