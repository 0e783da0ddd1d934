#include "PosixFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brindle {

namespace {

Error lastError()
{
    const int code = errno;
    return Error { std::strerror(code), code == ENOENT || code == ENOTDIR || code == EISDIR };
}

// Closes on every path out, keeping errno of the failure that matters.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0) {
            const int saved = errno;
            ::close(m_fd);
            errno = saved;
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const
    {
        return m_fd;
    }
    // Close, reporting its failure: on some file systems a write error shows only here.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A replace writes its new content to "<folder>/.<name>.XXXXXX", mkostemp filling in the X.
constexpr std::string_view TemporaryUniquePart = "XXXXXX";

std::string temporaryPrefix(const std::string& path)
{
    return "." + nameOf(path) + ".";
}

// Exactly the names mkostemp makes from the pattern: it fills in letters and digits only.
bool isTemporaryName(std::string_view entry, std::string_view prefix)
{
    if (!entry.starts_with(prefix) || entry.size() != prefix.size() + TemporaryUniquePart.size()) {
        return false;
    }
    entry.remove_prefix(prefix.size());
    return std::all_of(entry.begin(), entry.end(),
        [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// A rename is durable only once the folder that holds the name is synced.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The file a path names once every symbolic link at its end is followed. A rewrite must replace that
// file: renaming over the link would turn it into a plain file, and later appends, which follow the
// link, would go on reaching the old target while the log was read from the new file.
Result<std::string> linkTarget(std::string path)
{
    // The kernel gives up after this many links in one lookup; a loop of links ends here too.
    constexpr int MaxLinksFollowed = 40;
    for (int followed = 0; followed < MaxLinksFollowed; ++followed) {
        struct stat info
        {
        };
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            // A missing file is created where the last link points, as an append through it would.
            return path;
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length < 0) {
            return lastError();
        }
        if (static_cast<std::size_t>(length) == sizeof target) {
            errno = ENAMETOOLONG;
            return lastError();
        }
        const std::string_view next(target, static_cast<std::size_t>(length));
        path = next.starts_with('/') ? std::string(next) : joinPath(folderOf(path), next);
    }
    errno = ELOOP;
    return lastError();
}

// Puts content in place of the file at path, which is no link, through a synced temporary file beside
// it that is renamed over it.
Status replaceByRename(const std::string& path, std::string_view content)
{
    const std::string folder = folderOf(path);
    std::string temporary = joinPath(folder, temporaryPrefix(path)).append(TemporaryUniquePart);
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return lastError();
    }
    // mkostemp makes the file private; give the new file the old one's permissions, or the usual ones.
    struct stat existing
    {
    };
    mode_t mode = 0;
    if (::stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const bool written = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), content) && ::fsync(fd.get()) == 0;
    if (!written || !fd.close() || ::rename(temporary.c_str(), path.c_str()) != 0) {
        const Error failure = lastError();
        ::unlink(temporary.c_str());
        return failure;
    }
    syncFolder(folder);
    return {};
}

} // namespace

Result<std::string> PosixFileSystem::readFile(const std::string& path)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return lastError();
    }
    std::string content;
    struct stat info
    {
    };
    if (::fstat(fd.get(), &info) == 0 && info.st_size > 0) {
        content.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastError();
        }
        if (got == 0) {
            break;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
    return content;
}

Status PosixFileSystem::appendLine(const std::string& path, std::string_view line)
{
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        return lastError();
    }
    struct stat info
    {
    };
    if (::fstat(fd.get(), &info) != 0) {
        return lastError();
    }
    const off_t originalSize = info.st_size;
    std::string bytes;
    if (originalSize > 0) {
        char last = '\n';
        if (::pread(fd.get(), &last, 1, originalSize - 1) != 1) {
            return lastError();
        }
        if (last != '\n' && last != '\r') {
            bytes = "\r\n";
        }
    }
    bytes += line;
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
        const Error failure = lastError();
        // A half-written line would shift every field after it on the next load.
        if (::ftruncate(fd.get(), originalSize) == 0) {
            ::fsync(fd.get());
        }
        return failure;
    }
    // The line is on the disk once fsync returned; nothing a close reports afterwards can undo that.
    if (originalSize == 0) {
        syncFolder(folderOf(path));
    }
    return {};
}

Status PosixFileSystem::replaceFile(const std::string& path, std::string_view content)
{
    const Result<std::string> target = linkTarget(path);
    if (!target) {
        return target.error();
    }
    return replaceByRename(target.value(), content);
}

Status PosixFileSystem::removeInterruptedReplacements(const std::string& path)
{
    const Result<std::string> target = linkTarget(path);
    if (!target) {
        return target.error();
    }
    std::vector<std::string> replacedFiles { target.value() };
    if (target.value() != path) {
        // Beside the link too: its temporary files were written there before links were followed.
        replacedFiles.push_back(path);
    }
    Status outcome;
    for (const std::string& replaced : replacedFiles) {
        const std::string folder = folderOf(replaced);
        const std::string prefix = temporaryPrefix(replaced);
        DIR* listing = ::opendir(folder.c_str());
        if (!listing) {
            outcome = lastError();
            continue;
        }
        while (const dirent* entry = ::readdir(listing)) {
            const std::string found = joinPath(folder, entry->d_name);
            struct stat info
            {
            };
            if (isTemporaryName(entry->d_name, prefix) && ::lstat(found.c_str(), &info) == 0 && S_ISREG(info.st_mode)
                && ::unlink(found.c_str()) != 0) {
                outcome = lastError();
            }
        }
        ::closedir(listing);
    }
    return outcome;
}

Result<bool> PosixFileSystem::writeNewFile(const std::string& path, std::string_view content)
{
    // Claiming the name with O_EXCL is atomic, on network file systems too. The content then arrives by
    // the rename of a replace, so a crash leaves the whole file or an empty one, never a part.
    FileDescriptor claimed(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (claimed.get() < 0) {
        if (errno == EEXIST) {
            return false;
        }
        return lastError();
    }
    (void)claimed.close();
    if (Status written = replaceByRename(path, content); !written) {
        ::unlink(path.c_str());
        return written.error();
    }
    return true;
}

Result<bool> PosixFileSystem::folderExists(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return false;
        }
        return lastError();
    }
    return S_ISDIR(info.st_mode);
}

Status PosixFileSystem::createFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) != 0) {
        return lastError();
    }
    return {};
}

} // namespace brindle
