#pragma once

#include "common/FileSystem.h"

#include <map>
#include <string>
#include <string_view>

namespace brindle::fuzz {

// A broken promise of the code under test: libFuzzer keeps the input that led here.
inline void require(bool holds)
{
    if (!holds) {
        __builtin_trap();
    }
}

// Files held in memory, for targets whose subject is the text rather than the disk: a million runs
// would otherwise spend their time in fsync.
class MemoryFileSystem : public FileSystem
{
public:
    std::map<std::string, std::string> files;

    Result<std::string> readFile(const std::string& path) override
    {
        const auto found = files.find(path);
        if (found == files.end()) {
            return Error { "No such file or directory", true };
        }
        return found->second;
    }
    Status appendLine(const std::string& path, std::string_view line) override
    {
        files[path] += std::string(line);
        return {};
    }
    Status replaceFile(const std::string& path, std::string_view content) override
    {
        files[path] = std::string(content);
        return {};
    }
    Status removeInterruptedReplacements(const std::string&) override
    {
        return {};
    }
    Result<bool> writeNewFile(const std::string& path, std::string_view content) override
    {
        return files.emplace(path, std::string(content)).second;
    }
    Result<bool> folderExists(const std::string&) override
    {
        return true;
    }
    Status createFolder(const std::string&) override
    {
        return {};
    }
};

} // namespace brindle::fuzz
