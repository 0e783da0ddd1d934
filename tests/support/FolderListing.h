#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace brindle::test {

// Names of everything in a folder, hidden files included, sorted: shows a stray temporary file.
inline std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace brindle::test
