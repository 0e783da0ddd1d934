#include "UserFolders.h"

namespace brindle {

namespace {

class FolderResolver
{
public:
    explicit FolderResolver(FileSystem& fs)
        : m_fs(fs)
    {
    }

    bool exists(const std::string& path)
    {
        Result<bool> found = m_fs.folderExists(path);
        if (!found) {
            m_messages.push_back({ "User Access Directory Error", found.error().description });
            return false;
        }
        return found.value();
    }

    void ensure(const std::string& path, bool report)
    {
        if (auto failure = ensureFolder(m_fs, path); failure && report) {
            m_messages.push_back(*failure);
        }
    }

    // A base folder and any of its parents that are missing. Only the first failure is reported: the
    // folders below it fail for the same reason.
    bool ensureTree(const std::string& path)
    {
        const std::size_t slash = path.rfind('/');
        if (slash != std::string::npos && slash > 0) {
            const std::string parent = path.substr(0, slash);
            Result<bool> found = m_fs.folderExists(parent);
            if (!(found && found.value()) && !ensureTree(parent)) {
                return false;
            }
        }
        if (auto failure = ensureFolder(m_fs, path)) {
            m_messages.push_back(*failure);
            return false;
        }
        return true;
    }

    // base/maker and base/maker/program, each created where missing.
    std::string makeUnder(const std::string& base, std::string_view maker, std::string_view program)
    {
        const std::string makerPath = joinPath(base, maker);
        ensure(makerPath, true);
        ensure(joinPath(makerPath, program), true);
        return makerPath;
    }

    OperatorMessages takeMessages()
    {
        return std::move(m_messages);
    }

private:
    FileSystem& m_fs;
    OperatorMessages m_messages;
};

} // namespace

std::optional<OperatorMessage> ensureFolder(FileSystem& fs, const std::string& path)
{
    if (path.empty()) {
        return OperatorMessage { "Unable to Create Directory", "Invalid Path" };
    }
    Result<bool> found = fs.folderExists(path);
    if (found && found.value()) {
        return std::nullopt;
    }
    if (Status created = fs.createFolder(path); !created) {
        return OperatorMessage { "Unable to create directory.", created.error().description + "  " + path };
    }
    return std::nullopt;
}

ResolvedUserFolder resolveUserFolder(
    FileSystem& fs, const UserFolderPlaces& places, std::string_view makerName, std::string_view programName)
{
    FolderResolver resolver(fs);
    std::string makerFolder;
    if (places.profile.empty()) {
        resolver.ensure(places.noProfileDocuments, true);
        makerFolder = resolver.makeUnder(places.noProfileDocuments, makerName, programName);
    } else {
        if (!resolver.exists(places.myDocuments)) {
            resolver.ensure(places.myDocuments, false);
        }
        if (resolver.exists(places.myDocuments)) {
            makerFolder = resolver.makeUnder(places.myDocuments, makerName, programName);
        } else if (resolver.exists(places.documents)) {
            makerFolder = resolver.makeUnder(places.documents, makerName, programName);
        } else {
            // Nowhere to keep documents: the folders go into the home and, where they are used, into the
            // application data folder.
            resolver.makeUnder(places.profile, makerName, programName);
            // Unlike a roaming profile's, the desktop's data folder need not exist yet. If it cannot be
            // made, the folders below it fail for the same reason: one message is enough.
            makerFolder = resolver.ensureTree(places.appData)
                ? resolver.makeUnder(places.appData, makerName, programName)
                : joinPath(places.appData, makerName);
        }
    }
    return { makerFolder, resolver.takeMessages() };
}

} // namespace brindle
