#pragma once

#include "common/FileSystem.h"
#include "station/SharedPreferences.h"
#include "station/UserFolders.h"

#include <string>

namespace brindle {

class OperatorDialogs;

// The folders every window finds its files in.
struct ProgramFolders
{
    std::string workingDir; // the default data, the working log, the settings files
    std::string programDataDir; // exports, the backup folder, the WinKey settings
    std::string sharedDir; // shared preferences, the start-up picture, a preferred country file
    std::string backupDir; // backups and archives of the log
};

// Where the per-user folders may go on this desktop: the home from HOME, the documents folder the
// desktop names (XDG user dirs), and the XDG data folder standing in for the roaming application data.
UserFolderPlaces userFolderPlacesFromEnvironment();

// What happens before the main window loads: find or create the per-user folders (reporting failures
// to the operator and carrying on), load the shared preferences and make sure the backup folder exists.
ProgramFolders startProgram(FileSystem& fs, OperatorDialogs& dialogs, SharedPreferences& shared,
    const std::string& workingDir, const UserFolderPlaces& places);

} // namespace brindle
