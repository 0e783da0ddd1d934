#include "station/UserFolders.h"

#include "os/PosixFileSystem.h"
#include "support/Printers.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace brindle {
namespace {

using test::TempFolder;
using test::writeBytes;

namespace fs = std::filesystem;

const std::string makerName = "KORVA Software";
const std::string programName = "Brindle";
const std::string createTitle = "Unable to create directory.";

bool isFolder(const std::string& path)
{
    return fs::is_directory(path);
}

// A home folder with the desktop's documents folder inside it, none of them made yet but the home.
class UserFoldersTest : public testing::Test
{
protected:
    UserFoldersTest()
    {
        fs::create_directory(m_root.file("home"));
        fs::create_directories(m_root.file("home/.local/share"));
        m_places.profile = m_root.file("home");
        m_places.noProfileDocuments = m_root.file("My Documents");
        m_places.myDocuments = m_root.file("home/My Documents");
        m_places.documents = m_root.file("home/Documents");
        m_places.appData = m_root.file("home/.local/share");
    }

    // The desktop's documents folder where no folder can be made: its parent is a plain file.
    void makeMyDocumentsImpossible()
    {
        writeBytes(m_root.file("blocker"), "not a folder");
        m_places.myDocuments = m_root.file("blocker/Documents");
    }

    ResolvedUserFolder resolve(std::string_view program = "Brindle")
    {
        return resolveUserFolder(m_fs, m_places, makerName, program);
    }

    TempFolder m_root;
    PosixFileSystem m_fs;
    UserFolderPlaces m_places;
};

TEST_F(UserFoldersTest, withoutAProfileTheFoldersGoUnderTheFixedDocumentsFolder)
{
    m_places.profile.clear();
    const ResolvedUserFolder resolved = resolve();
    EXPECT_EQ(resolved.makerFolder, m_root.file("My Documents/KORVA Software"));
    EXPECT_TRUE(isFolder(m_root.file("My Documents/KORVA Software/Brindle")));
    EXPECT_TRUE(resolved.messages.empty());
    EXPECT_FALSE(fs::exists(m_places.myDocuments));
}

TEST_F(UserFoldersTest, missingDocumentsFolderOfTheDesktopIsCreatedAndUsed)
{
    const ResolvedUserFolder resolved = resolve();
    EXPECT_EQ(resolved.makerFolder, m_root.file("home/My Documents/KORVA Software"));
    EXPECT_TRUE(isFolder(m_root.file("home/My Documents/KORVA Software/Brindle")));
    EXPECT_TRUE(resolved.messages.empty());
    EXPECT_FALSE(fs::exists(m_places.documents));
    EXPECT_FALSE(fs::exists(m_root.file("home/KORVA Software")));
}

TEST_F(UserFoldersTest, existingFoldersAreUsedAsTheyAre)
{
    fs::create_directories(m_root.file("home/My Documents/KORVA Software/Brindle"));
    writeBytes(m_root.file("home/My Documents/KORVA Software/Brindle/WK.txt"), "kept");
    const ResolvedUserFolder resolved = resolve();
    EXPECT_EQ(resolved.makerFolder, m_root.file("home/My Documents/KORVA Software"));
    EXPECT_TRUE(resolved.messages.empty());
    EXPECT_EQ(test::readBytes(m_root.file("home/My Documents/KORVA Software/Brindle/WK.txt")), "kept");
}

TEST_F(UserFoldersTest, bothCallsAtStartUpShareTheMakerFolder)
{
    const ResolvedUserFolder program = resolve("Brindle");
    const ResolvedUserFolder shared = resolve("Shared");
    EXPECT_EQ(program.makerFolder, shared.makerFolder);
    EXPECT_TRUE(isFolder(program.makerFolder + "/Brindle"));
    EXPECT_TRUE(isFolder(program.makerFolder + "/Shared"));
}

TEST_F(UserFoldersTest, documentsInTheHomeAreUsedWhenTheDesktopFolderCannotBeMade)
{
    makeMyDocumentsImpossible();
    fs::create_directory(m_places.documents);
    const ResolvedUserFolder resolved = resolve();
    EXPECT_EQ(resolved.makerFolder, m_root.file("home/Documents/KORVA Software"));
    EXPECT_TRUE(isFolder(m_root.file("home/Documents/KORVA Software/Brindle")));
    EXPECT_TRUE(resolved.messages.empty());
}

TEST_F(UserFoldersTest, withNoDocumentsFolderAtAllTheFoldersGoIntoHomeAndAppData)
{
    makeMyDocumentsImpossible();
    const ResolvedUserFolder resolved = resolve();
    EXPECT_EQ(resolved.makerFolder, m_root.file("home/.local/share/KORVA Software"));
    EXPECT_TRUE(isFolder(m_root.file("home/.local/share/KORVA Software/Brindle")));
    EXPECT_TRUE(isFolder(m_root.file("home/KORVA Software/Brindle")));
    EXPECT_FALSE(fs::exists(m_places.documents));
    // The desktop folder that could not be made is passed over without a word.
    EXPECT_TRUE(resolved.messages.empty());
}

TEST_F(UserFoldersTest, missingAppDataFolderIsCreatedWithItsParents)
{
    makeMyDocumentsImpossible();
    m_places.appData = m_root.file("home/.local2/share");
    const ResolvedUserFolder resolved = resolve();
    EXPECT_EQ(resolved.makerFolder, m_root.file("home/.local2/share/KORVA Software"));
    EXPECT_TRUE(isFolder(m_root.file("home/.local2/share/KORVA Software/Brindle")));
    EXPECT_TRUE(resolved.messages.empty());
}

TEST_F(UserFoldersTest, eachFolderThatCannotBeMadeIsReportedAndTheRestStillRuns)
{
    makeMyDocumentsImpossible();
    m_places.appData = m_root.file("blocker/share");
    const ResolvedUserFolder resolved = resolve();

    EXPECT_EQ(resolved.makerFolder, m_root.file("blocker/share/KORVA Software"));
    EXPECT_TRUE(isFolder(m_root.file("home/KORVA Software/Brindle")));
    EXPECT_EQ(resolved.messages,
        (OperatorMessages {
            { createTitle, std::string(std::strerror(EEXIST)) + "  " + m_root.file("blocker") },
        }));
}

TEST_F(UserFoldersTest, withoutAProfileEveryFailedFolderIsReported)
{
    m_places.profile.clear();
    writeBytes(m_root.file("blocker"), "not a folder");
    m_places.noProfileDocuments = m_root.file("blocker/My Documents");
    const ResolvedUserFolder resolved = resolve();

    EXPECT_EQ(resolved.makerFolder, m_root.file("blocker/My Documents/KORVA Software"));
    const std::string notFolder = std::strerror(ENOTDIR);
    EXPECT_EQ(resolved.messages,
        (OperatorMessages {
            { createTitle, notFolder + "  " + m_root.file("blocker/My Documents") },
            { createTitle, notFolder + "  " + m_root.file("blocker/My Documents/KORVA Software") },
            { createTitle, notFolder + "  " + m_root.file("blocker/My Documents/KORVA Software/Brindle") },
        }));
}

TEST_F(UserFoldersTest, aFailedFolderLookupIsReportedAndTheNextPlaceTried)
{
    fs::create_symlink("My Documents", m_places.myDocuments);
    fs::create_directory(m_places.documents);
    const ResolvedUserFolder resolved = resolve();

    EXPECT_EQ(resolved.makerFolder, m_root.file("home/Documents/KORVA Software"));
    EXPECT_TRUE(isFolder(m_root.file("home/Documents/KORVA Software/Brindle")));
    ASSERT_FALSE(resolved.messages.empty());
    for (const OperatorMessage& message : resolved.messages) {
        EXPECT_EQ(message.title, "User Access Directory Error");
        EXPECT_EQ(message.text, std::strerror(ELOOP));
    }
}

TEST(EnsureFolder, createsAMissingFolderAndLeavesAnExistingOne)
{
    TempFolder root;
    PosixFileSystem fs;
    EXPECT_EQ(ensureFolder(fs, root.file("BACKUP")), std::nullopt);
    EXPECT_TRUE(isFolder(root.file("BACKUP")));
    writeBytes(root.file("BACKUP/202602211405.log"), "kept");
    EXPECT_EQ(ensureFolder(fs, root.file("BACKUP")), std::nullopt);
    EXPECT_EQ(test::readBytes(root.file("BACKUP/202602211405.log")), "kept");
}

TEST(EnsureFolder, failuresDescribeThemselves)
{
    TempFolder root;
    writeBytes(root.file("log.txt"), "a file");
    PosixFileSystem fs;
    struct Case
    {
        std::string path;
        OperatorMessage message;
    };
    const std::vector<Case> cases = {
        { "", { "Unable to Create Directory", "Invalid Path" } },
        { root.file("a/b"), { createTitle, std::string(std::strerror(ENOENT)) + "  " + root.file("a/b") } },
        { root.file("log.txt"), { createTitle, std::string(std::strerror(EEXIST)) + "  " + root.file("log.txt") } },
        { root.file("log.txt/BACKUP"),
            { createTitle, std::string(std::strerror(ENOTDIR)) + "  " + root.file("log.txt/BACKUP") } },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ensureFolder(fs, c.path), std::optional<OperatorMessage>(c.message)) << c.path;
    }
}

} // namespace
} // namespace brindle
