#pragma once

#include "common/FileSystem.h"
#include "station/SharedPreferences.h"
#include "station/UserFolders.h"

#include <memory>
#include <string>
#include <string_view>

class QLockFile;

namespace brindle {

class OperatorDialogs;

// The lock file a running copy of the program keeps in its working folder.
inline constexpr std::string_view WorkingFolderLockName = ".brindle.lock";

inline constexpr std::string_view FolderInUseTitle = "Working Folder In Use";
inline constexpr std::string_view FolderInUseText
    = "Another copy of this program is already working in this folder.  Two copies writing one log.txt would lose "
      "contacts, so this copy ends now.  Carry on in the copy that is running, or start this one in another folder.";
inline constexpr std::string_view FolderNotUsableTitle = "Working Folder Not Usable";
inline constexpr std::string_view FolderNotUsableText
    = "This program cannot work in this folder: it could not make its lock file \".brindle.lock\" there (the folder "
      "may be read-only or full).";

// The folders every window finds its files in.
struct ProgramFolders
{
    std::string workingDir; // the default data, the working log, the settings files
    std::string programDataDir; // exports, the backup folder, the WinKey settings
    std::string sharedDir; // shared preferences, the start-up picture, a preferred country file
    std::string backupDir; // backups and archives of the log
};

// Takes the working folder for this run of the program and holds it while the result lives, so that
// a second copy started in the same folder cannot append to the same log. A lock left by a run that
// crashed is taken over. Nothing when the folder is held by a running copy or cannot be locked at all;
// the operator has then been told why, and the program must end without touching anything.
std::unique_ptr<QLockFile> claimWorkingFolder(OperatorDialogs& dialogs, const std::string& workingDir);

// Where the per-user folders may go on this desktop: the home from HOME, the documents folder the
// desktop names (XDG user dirs), and the XDG data folder standing in for the roaming application data.
UserFolderPlaces userFolderPlacesFromEnvironment();

// What happens before the main window loads, once the working folder is claimed: remove what rewrites
// of the log and the default data left there when a run was cut short, find or create the per-user
// folders (reporting failures to the operator and carrying on), load the shared preferences and make
// sure the backup folder exists.
ProgramFolders startProgram(FileSystem& fs, OperatorDialogs& dialogs, SharedPreferences& shared,
    const std::string& workingDir, const UserFolderPlaces& places);

} // namespace brindle
