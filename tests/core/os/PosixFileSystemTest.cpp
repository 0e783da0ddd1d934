#include "os/PosixFileSystem.h"

#include "support/FileSizeLimit.h"
#include "support/FolderListing.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace brindle {
namespace {

using namespace std::string_literals;

using test::FileSizeLimit;
using test::folderEntries;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

const std::string line
    = "\"K1AB\",\"599\",\"MA\",\"599\",\"United States\",\"2026/02/21\",\"14:05:30\",\"20\",\"\"\r\n";

mode_t permissionsOf(const std::string& path)
{
    struct stat info
    {
    };
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

TEST(PosixFileSystem, readFileReturnsEveryByteOfALargeFile)
{
    TempFolder folder;
    std::string content;
    for (int i = 0; i < 200000; ++i) {
        content += static_cast<char>(i % 256);
    }
    writeBytes(folder.file("big.bin"), content);
    PosixFileSystem fs;
    Result<std::string> read = fs.readFile(folder.file("big.bin"));
    ASSERT_TRUE(read.ok()) << read.error().description;
    EXPECT_EQ(read.value(), content);
}

TEST(PosixFileSystem, readFileOfAMissingFileGivesThePlatformDescription)
{
    TempFolder folder;
    PosixFileSystem fs;
    Result<std::string> read = fs.readFile(folder.file("log.txt"));
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().description, std::strerror(ENOENT));
    EXPECT_TRUE(read.error().missing);
}

TEST(PosixFileSystem, readFileOfAnUnreadableFileIsNoMissingFile)
{
    TempFolder folder;
    PosixFileSystem fs;
    // A link to itself cannot be opened, by root either.
    std::filesystem::create_symlink("loop.txt", folder.file("loop.txt"));
    Result<std::string> read = fs.readFile(folder.file("loop.txt"));
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().description, std::strerror(ELOOP));
    EXPECT_FALSE(read.error().missing);
}

TEST(PosixFileSystem, readFileOfAFolderFails)
{
    TempFolder folder;
    PosixFileSystem fs;
    Result<std::string> read = fs.readFile(folder.path());
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().description, std::strerror(EISDIR));
    EXPECT_TRUE(read.error().missing);
}

TEST(PosixFileSystem, appendLineCreatesAMissingFile)
{
    TempFolder folder;
    PosixFileSystem fs;
    ASSERT_TRUE(fs.appendLine(folder.file("log.txt"), line).ok());
    EXPECT_EQ(readBytes(folder.file("log.txt")), line);
}

TEST(PosixFileSystem, appendLineStartsANewLineOnlyWhenTheFileLacksOne)
{
    struct Case
    {
        std::string before;
        std::string after;
    };
    const std::vector<Case> cases = {
        { "", line },
        { "x\r\n", "x\r\n" + line },
        { "x\n", "x\n" + line },
        { "x\r", "x\r" + line },
        { "\"K2XX\",\"\"", "\"K2XX\",\"\"\r\n" + line },
    };
    for (const Case& c : cases) {
        TempFolder folder;
        writeBytes(folder.file("log.txt"), c.before);
        PosixFileSystem fs;
        ASSERT_TRUE(fs.appendLine(folder.file("log.txt"), line).ok());
        EXPECT_EQ(readBytes(folder.file("log.txt")), c.after) << "before: " << c.before;
    }
}

TEST(PosixFileSystem, appendLineOnAFullDiskLeavesNoHalfLine)
{
    TempFolder folder;
    const std::string before
        = "\"K2XX\",\"599\",\"CT\",\"599\",\"United States\",\"2026/02/21\",\"14:00:00\",\"20\",\"\"";
    writeBytes(folder.file("log.txt"), before);
    PosixFileSystem fs;
    Status appended;
    {
        // Room for the missing line end and a few bytes of the line, not for all of it.
        FileSizeLimit limit(before.size() + 10);
        appended = fs.appendLine(folder.file("log.txt"), line);
    }
    ASSERT_FALSE(appended.ok());
    EXPECT_EQ(appended.error().description, std::strerror(EFBIG));
    EXPECT_EQ(readBytes(folder.file("log.txt")), before);
}

TEST(PosixFileSystem, replaceFileSwapsTheWholeContentAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    writeBytes(folder.file("log.txt"), "old content that is longer than the new one\r\n");
    PosixFileSystem fs;
    ASSERT_TRUE(fs.replaceFile(folder.file("log.txt"), line).ok());
    EXPECT_EQ(readBytes(folder.file("log.txt")), line);
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string> { "log.txt" });
}

TEST(PosixFileSystem, replaceFileFailingMidwayKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    writeBytes(folder.file("log.txt"), line);
    const std::string bigger(5000, 'x');
    PosixFileSystem fs;
    Status replaced;
    {
        FileSizeLimit limit(1000);
        replaced = fs.replaceFile(folder.file("log.txt"), bigger);
    }
    ASSERT_FALSE(replaced.ok());
    EXPECT_EQ(replaced.error().description, std::strerror(EFBIG));
    EXPECT_EQ(readBytes(folder.file("log.txt")), line);
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string> { "log.txt" });
}

TEST(PosixFileSystem, replaceFileKeepsTheOldFilesPermissions)
{
    TempFolder folder;
    writeBytes(folder.file("log.txt"), line);
    ASSERT_EQ(::chmod(folder.file("log.txt").c_str(), 0640), 0);
    PosixFileSystem fs;
    ASSERT_TRUE(fs.replaceFile(folder.file("log.txt"), "new").ok());
    EXPECT_EQ(permissionsOf(folder.file("log.txt")), 0640u);
}

TEST(PosixFileSystem, replaceFileGivesANewFileTheUsualPermissions)
{
    TempFolder folder;
    const mode_t mask = ::umask(022);
    PosixFileSystem fs;
    const Status replaced = fs.replaceFile(folder.file("inprefDX.txt"), "new");
    ::umask(mask);
    ASSERT_TRUE(replaced.ok());
    EXPECT_EQ(permissionsOf(folder.file("inprefDX.txt")), 0644u);
}

// An operator may keep the log elsewhere (a stick, a synced folder) and link it into the working folder.
TEST(PosixFileSystem, replaceFileThroughALinkRewritesItsTargetAndKeepsTheLink)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> links; // each link points at the next; the last at the target
        bool absolute;
        bool targetExists;
    };
    const std::vector<Case> cases = {
        { "relative link", { "work/log.txt" }, false, true },
        { "absolute link", { "work/log.txt" }, true, true },
        { "link to a link", { "work/log.txt", "work/middle.txt" }, false, true },
        { "link to a file not made yet", { "work/log.txt" }, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        std::filesystem::create_directory(folder.file("work"));
        std::filesystem::create_directory(folder.file("stick"));
        const std::string target = folder.file("stick/contest.log");
        if (c.targetExists) {
            writeBytes(target, "old content\r\n");
        }
        for (std::size_t i = 0; i < c.links.size(); ++i) {
            const std::string next = i + 1 < c.links.size() ? folder.file(c.links[i + 1]) : target;
            const std::filesystem::path from = folder.file(c.links[i]);
            std::filesystem::create_symlink(
                c.absolute ? std::filesystem::path(next) : std::filesystem::relative(next, from.parent_path()), from);
        }
        const std::string link = folder.file(c.links.front());

        PosixFileSystem fs;
        ASSERT_TRUE(fs.replaceFile(link, line).ok());
        ASSERT_TRUE(fs.appendLine(link, line).ok());

        EXPECT_EQ(readBytes(target), line + line);
        for (const std::string& each : c.links) {
            EXPECT_TRUE(std::filesystem::is_symlink(folder.file(each))) << each;
        }
        EXPECT_EQ(folderEntries(folder.file("stick")), std::vector<std::string> { "contest.log" });
        EXPECT_EQ(folderEntries(folder.file("work")).size(), c.links.size());
    }
}

TEST(PosixFileSystem, interruptedReplacementsOfALinkedFileAreRemovedBesideTargetAndLink)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.file("work"));
    std::filesystem::create_directory(folder.file("stick"));
    writeBytes(folder.file("stick/contest.log"), line);
    std::filesystem::create_symlink("../stick/contest.log", folder.file("work/log.txt"));
    for (const char* leftOver : { "stick/.contest.log.Xy12Ab", "work/.log.txt.9zZq0P" }) {
        writeBytes(folder.file(leftOver), "half a log");
    }
    writeBytes(folder.file("stick/.other.log.Xy12Ab"), "someone else's");

    PosixFileSystem fs;
    ASSERT_TRUE(fs.removeInterruptedReplacements(folder.file("work/log.txt")).ok());
    EXPECT_EQ(folderEntries(folder.file("stick")), (std::vector<std::string> { ".other.log.Xy12Ab", "contest.log" }));
    EXPECT_EQ(folderEntries(folder.file("work")), std::vector<std::string> { "log.txt" });
    EXPECT_EQ(readBytes(folder.file("work/log.txt")), line);
}

TEST(PosixFileSystem, replaceFileInAMissingFolderFails)
{
    TempFolder folder;
    PosixFileSystem fs;
    const Status replaced = fs.replaceFile(folder.file("gone/log.txt"), "x");
    ASSERT_FALSE(replaced.ok());
    EXPECT_EQ(replaced.error().description, std::strerror(ENOENT));
}

TEST(PosixFileSystem, writeNewFileWritesOnlyUnderAFreeName)
{
    TempFolder folder;
    writeBytes(folder.file("taken.log"), "earlier backup");
    std::filesystem::create_directory(folder.file("folder.log"));
    std::filesystem::create_symlink("nowhere.log", folder.file("link.log"));
    PosixFileSystem fs;

    const Result<bool> fresh = fs.writeNewFile(folder.file("free.log"), line);
    ASSERT_TRUE(fresh.ok()) << fresh.error().description;
    EXPECT_TRUE(fresh.value());
    EXPECT_EQ(readBytes(folder.file("free.log")), line);

    for (const char* taken : { "taken.log", "folder.log", "link.log", "free.log" }) {
        const Result<bool> written = fs.writeNewFile(folder.file(taken), "new content");
        ASSERT_TRUE(written.ok()) << taken << ": " << written.error().description;
        EXPECT_FALSE(written.value()) << taken;
    }
    EXPECT_EQ(readBytes(folder.file("taken.log")), "earlier backup");
    EXPECT_EQ(readBytes(folder.file("free.log")), line);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.log")));
    EXPECT_EQ(
        folderEntries(folder.path()), (std::vector<std::string> { "folder.log", "free.log", "link.log", "taken.log" }));
}

TEST(PosixFileSystem, writeNewFileThatFailsLeavesNothingUnderTheName)
{
    TempFolder folder;
    PosixFileSystem fs;
    const Result<bool> missingFolder = fs.writeNewFile(folder.file("gone/new.log"), line);
    ASSERT_FALSE(missingFolder.ok());
    EXPECT_EQ(missingFolder.error().description, std::strerror(ENOENT));

    Result<bool> fullDisk = false;
    {
        FileSizeLimit limit(1000);
        fullDisk = fs.writeNewFile(folder.file("new.log"), std::string(5000, 'x'));
    }
    ASSERT_FALSE(fullDisk.ok());
    EXPECT_EQ(fullDisk.error().description, std::strerror(EFBIG));
    EXPECT_TRUE(folderEntries(folder.path()).empty());
}

TEST(PosixFileSystem, folderExistsOnlyForFolders)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.file("BACKUP"));
    writeBytes(folder.file("log.txt"), line);
    PosixFileSystem fs;
    struct Case
    {
        std::string path;
        bool exists;
    };
    const std::vector<Case> cases = {
        { folder.path(), true },
        { folder.file("BACKUP"), true },
        { folder.file("missing"), false },
        { folder.file("log.txt"), false },
        { folder.file("log.txt/BACKUP"), false },
    };
    for (const Case& c : cases) {
        Result<bool> found = fs.folderExists(c.path);
        ASSERT_TRUE(found.ok()) << c.path << ": " << found.error().description;
        EXPECT_EQ(found.value(), c.exists) << c.path;
    }
}

TEST(PosixFileSystem, folderExistsReportsAFailedLookup)
{
    TempFolder folder;
    std::filesystem::create_symlink("loop", folder.file("loop"));
    PosixFileSystem fs;
    Result<bool> found = fs.folderExists(folder.file("loop"));
    ASSERT_FALSE(found.ok());
    EXPECT_EQ(found.error().description, std::strerror(ELOOP));
}

TEST(PosixFileSystem, createFolderMakesOneLevel)
{
    TempFolder folder;
    PosixFileSystem fs;
    ASSERT_TRUE(fs.createFolder(folder.file("BACKUP")).ok());
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("BACKUP")));

    const Status again = fs.createFolder(folder.file("BACKUP"));
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.error().description, std::strerror(EEXIST));

    const Status deep = fs.createFolder(folder.file("a/b"));
    ASSERT_FALSE(deep.ok());
    EXPECT_EQ(deep.error().description, std::strerror(ENOENT));
}

TEST(PosixFileSystem, copyFileCopiesEveryByte)
{
    TempFolder folder;
    const std::string content = line + "\r\n\r\n  \"\xC5land\"\0tail"s;
    writeBytes(folder.file("log.txt"), content);
    PosixFileSystem fs;
    ASSERT_TRUE(copyFile(fs, folder.file("log.txt"), folder.file("copy.log")).ok());
    EXPECT_EQ(readBytes(folder.file("copy.log")), content);
}

TEST(PosixFileSystem, copyFileOfAMissingFileCreatesNothing)
{
    TempFolder folder;
    PosixFileSystem fs;
    const Status copied = copyFile(fs, folder.file("log.txt"), folder.file("copy.log"));
    ASSERT_FALSE(copied.ok());
    EXPECT_EQ(copied.error().description, std::strerror(ENOENT));
    EXPECT_TRUE(folderEntries(folder.path()).empty());
}

} // namespace
} // namespace brindle
