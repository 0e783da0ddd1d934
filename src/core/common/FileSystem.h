#pragma once

#include "Result.h"

#include <string>
#include <string_view>

namespace brindle {

// The files and folders the program keeps, as the core needs them. Paths are byte strings joined with
// "/". Every write either completes and is on the disk when it returns ok, or leaves what was there.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual Result<std::string> readFile(const std::string& path) = 0;

    // Appends one line (its bytes already end with CR LF) to a file, creating it if needed. If the file
    // does not end with a line end (a hand-edited file), one is written first so the line stands alone.
    // Returns ok only once the bytes are synced to the disk; on a failure the file is cut back to what
    // it was, so no half line is left behind.
    virtual Status appendLine(const std::string& path, std::string_view line) = 0;

    // Replaces a file's whole content atomically: after a crash the file holds the old or the new
    // content, never a mix. A symbolic link is followed: its target gets the content, the link stays.
    virtual Status replaceFile(const std::string& path, std::string_view content) = 0;

    // Removes what replaceFile leaves beside a file (and beside a link's target) when the program stops
    // in the middle of it: its temporary files, and nothing else. Only while nothing else can be
    // replacing the file. The log never needs them: a contact is appended to the file itself, so a cut
    // short rewrite holds nothing the file lacks but an edit that was never confirmed.
    virtual Status removeInterruptedReplacements(const std::string& path) = 0;

    // Writes a file under a name nothing has yet, whole or not at all, like replaceFile. Returns false,
    // writing nothing, when the name is taken (by a file, a folder or a link): what is there is never
    // replaced.
    virtual Result<bool> writeNewFile(const std::string& path, std::string_view content) = 0;

    // Whether a folder exists at path; an Error when the lookup itself fails (no permission, say).
    virtual Result<bool> folderExists(const std::string& path) = 0;

    // Creates one folder; its parent must exist.
    virtual Status createFolder(const std::string& path) = 0;
};

// Copies a file's content to another path through replaceFile, so the copy is whole or absent.
Status copyFile(FileSystem& fs, const std::string& from, const std::string& to);

// a + "/" + b.
std::string joinPath(std::string_view folder, std::string_view name);

} // namespace brindle
