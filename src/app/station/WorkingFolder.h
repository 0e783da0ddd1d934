#pragma once

#include "common/FileSystem.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The folder, under the operator's home, that the desktop's menu entry opens the logger on.
inline constexpr std::string_view DesktopFolderName = "Brindle DX";
// Where an installed program keeps the distributed data files, from the folder its executable is in.
// Relative, so that any install prefix works.
inline constexpr std::string_view InstalledDataFromExecutable = "../share/brindle-dx";

inline constexpr std::string_view FolderNotMadeTitle = "Working Folder Not Usable";
inline constexpr std::string_view FolderNotMadeText
    = "This program cannot work in the folder it was asked to use: the folder could not be made or opened.";

// A folder named on the command line as an absolute path. "~" and "~/..." are taken under home: a
// desktop launcher passes the menu entry's argument on as it stands, with no shell to expand it. Any
// other relative name is taken from the current folder.
std::string resolveFolderArgument(const std::string& argument, const std::string& currentDir, const std::string& home);

// The working folder of this run: the one asked for on the command line, or else the current folder,
// as it always was for a logger started from a terminal.
std::string chooseWorkingFolder(
    const std::optional<std::string>& asked, const std::string& currentDir, const std::string& home);

// The folder holding the distributed data files: the installed one beside the executable, or, for an
// executable that still sits in its build tree, the source tree's. Empty when neither holds them.
std::string findDistributedData(
    const std::string& executableDir, const std::string& buildDir, const std::string& sourceDataDir);

// findDistributedData for this program, from the folder its executable is in.
std::string distributedDataFor(const std::string& executableDir);

struct SeededFolder
{
    bool ready = false; // the folder exists (it may have been made now)
    std::string failure; // why it could not be made, when it is not ready
    std::vector<std::string> copied; // names of the data files copied in now
};

// Makes the working folder where it is missing and copies in each distributed file it does not hold
// yet. The operator's own copies are never replaced, whatever their content. A file that cannot be
// copied is left out: the start-up says which files are missing, as it does for any folder. With no
// data folder, only the folder is made.
SeededFolder seedWorkingFolder(FileSystem& fs, const std::string& folder, const std::string& dataDir);

} // namespace brindle
