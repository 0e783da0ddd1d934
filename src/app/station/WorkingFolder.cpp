#include "WorkingFolder.h"

#include "station/DefaultData.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace brindle {

namespace {

namespace fsys = std::filesystem;

bool holdsDistributedData(const fsys::path& folder)
{
    std::error_code ignored;
    return fsys::is_regular_file(folder / DefaultDataFileName, ignored);
}

bool isInside(const fsys::path& inner, const fsys::path& outer)
{
    std::error_code ignored;
    const fsys::path in = fsys::weakly_canonical(inner, ignored);
    const fsys::path out = fsys::weakly_canonical(outer, ignored);
    if (out.empty()) {
        return false;
    }
    auto [mismatch, rest] = std::mismatch(out.begin(), out.end(), in.begin(), in.end());
    // A trailing slash leaves an empty last element on the outer path.
    return mismatch == out.end() || (mismatch->empty() && std::next(mismatch) == out.end());
}

} // namespace

std::string resolveFolderArgument(const std::string& argument, const std::string& currentDir, const std::string& home)
{
    fsys::path path;
    if (argument == "~") {
        path = home;
    } else if (argument.starts_with("~/")) {
        path = fsys::path(home) / argument.substr(2);
    } else {
        path = fsys::path(currentDir) / argument; // an absolute argument replaces the current folder
    }
    std::string resolved = path.lexically_normal().string();
    while (resolved.size() > 1 && resolved.ends_with('/')) {
        resolved.pop_back();
    }
    return resolved;
}

std::string chooseWorkingFolder(
    const std::optional<std::string>& asked, const std::string& currentDir, const std::string& home)
{
    return asked ? resolveFolderArgument(*asked, currentDir, home) : currentDir;
}

std::string findDistributedData(
    const std::string& executableDir, const std::string& buildDir, const std::string& sourceDataDir)
{
    const fsys::path installed = (fsys::path(executableDir) / InstalledDataFromExecutable).lexically_normal();
    if (holdsDistributedData(installed)) {
        return installed.string();
    }
    // Only an executable in the build tree may fall back on the sources: an installed copy that lost
    // its data must not quietly take them from wherever it happened to be built.
    if (!buildDir.empty() && isInside(executableDir, buildDir) && holdsDistributedData(sourceDataDir)) {
        return sourceDataDir;
    }
    return {};
}

std::string distributedDataFor(const std::string& executableDir)
{
    return findDistributedData(executableDir, BRINDLE_BUILD_TREE, BRINDLE_SOURCE_DATA);
}

SeededFolder seedWorkingFolder(FileSystem& fs, const std::string& folder, const std::string& dataDir)
{
    SeededFolder seeded;
    std::error_code error;
    fsys::create_directories(folder, error);
    if (error || !fsys::is_directory(folder, error)) {
        seeded.failure = error ? error.message() : std::string("a file of that name is in the way");
        return seeded;
    }
    seeded.ready = true;
    if (dataDir.empty()) {
        return seeded;
    }

    std::vector<std::string> names;
    for (const fsys::directory_entry& entry : fsys::directory_iterator(dataDir, error)) {
        std::error_code ignored;
        if (entry.is_regular_file(ignored)) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        Result<std::string> content = fs.readFile(joinPath(dataDir, name));
        if (!content) {
            continue;
        }
        // writeNewFile refuses a name that is taken, so an operator's copy is never replaced, and a
        // copy cut short leaves nothing that would stop the next start from trying again.
        Result<bool> written = fs.writeNewFile(joinPath(folder, name), content.value());
        if (written && written.value()) {
            seeded.copied.push_back(name);
        }
    }
    return seeded;
}

} // namespace brindle
