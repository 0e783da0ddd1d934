#pragma once

#include "common/FileSystem.h"
#include "common/OperatorMessage.h"

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

inline constexpr std::string_view MakerFolderName = "KORVA Software";
inline constexpr std::string_view ProgramFolderName = "Brindle";
inline constexpr std::string_view SharedFolderName = "Shared";
inline constexpr std::string_view BackupFolderName = "BACKUP";

// The candidate places for the per-user folders, in the order they are tried.
struct UserFolderPlaces
{
    std::string profile; // the user's home; empty when the environment names none
    std::string noProfileDocuments; // the documents folder used when there is no home
    std::string myDocuments; // the desktop's documents folder, created if missing
    std::string documents; // "Documents" in the home, tried next
    std::string appData; // the per-user application data folder, the last resort
};

struct ResolvedUserFolder
{
    std::string makerFolder;
    OperatorMessages messages; // failures to show the operator, in order; start-up goes on regardless
};

// Finds the maker folder ("KORVA Software") for the user and makes sure it and the program's folder
// inside it exist.
ResolvedUserFolder resolveUserFolder(
    FileSystem& fs, const UserFolderPlaces& places, std::string_view makerName, std::string_view programName);

// Creates a folder unless it exists. Returns the message describing a failure; whether to show it is
// the caller's choice.
std::optional<OperatorMessage> ensureFolder(FileSystem& fs, const std::string& path);

} // namespace brindle
