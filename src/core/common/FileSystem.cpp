#include "FileSystem.h"

namespace brindle {

Status copyFile(FileSystem& fs, const std::string& from, const std::string& to)
{
    Result<std::string> content = fs.readFile(from);
    if (!content) {
        return content.error();
    }
    return fs.replaceFile(to, content.value());
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

} // namespace brindle
