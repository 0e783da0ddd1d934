#pragma once

#include "common/FileSystem.h"

namespace brindle {

// FileSystem on POSIX calls, so that every write can be synced and every rewrite made atomic.
class PosixFileSystem : public FileSystem
{
public:
    Result<std::string> readFile(const std::string& path) override;
    Status appendLine(const std::string& path, std::string_view line) override;
    Status replaceFile(const std::string& path, std::string_view content) override;
    Status removeInterruptedReplacements(const std::string& path) override;
    Result<bool> writeNewFile(const std::string& path, std::string_view content) override;
    Result<bool> folderExists(const std::string& path) override;
    Status createFolder(const std::string& path) override;
};

} // namespace brindle
