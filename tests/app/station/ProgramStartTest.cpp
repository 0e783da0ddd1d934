#include "station/ProgramStart.h"

#include "os/PosixFileSystem.h"
#include "station/QtSettingsStore.h"
#include "support/FolderListing.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QLockFile>
#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include <sys/wait.h>
#include <unistd.h>

namespace brindle {
namespace {

namespace fsys = std::filesystem;
using test::readBytes;
using test::writeBytes;

// Points HOME and the XDG variables at a temporary home for one test and puts them back afterwards.
class ScopedEnvironment
{
public:
    void set(const char* name, const std::string& value)
    {
        remember(name);
        ::setenv(name, value.c_str(), 1);
    }
    void unset(const char* name)
    {
        remember(name);
        ::unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

private:
    void remember(const char* name)
    {
        const char* old = std::getenv(name);
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

class ProgramStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fsys::create_directories(home);
        env.set("HOME", home);
        env.set("XDG_CONFIG_HOME", home + "/.config");
        env.set("XDG_DATA_HOME", home + "/.local/share");
        env.unset("XDG_DOCUMENTS_DIR");
    }

    // The desktop's documents folder, as xdg-user-dirs records it.
    void setDocumentsFolder(const std::string& path)
    {
        fsys::create_directories(home + "/.config");
        writeBytes(home + "/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + path + "\"\n");
    }

    ProgramFolders start()
    {
        return startProgram(fs, dialogs, shared, temp.file("work"), userFolderPlacesFromEnvironment());
    }

    test::TempFolder temp;
    std::string home = temp.file("home");
    ScopedEnvironment env;
    PosixFileSystem fs;
    test::ScriptedDialogs dialogs;
    SharedPreferences shared { fs };
};

TEST_F(ProgramStartTest, foldersGoUnderTheDocumentsFolderAndAreCreated)
{
    const ProgramFolders folders = start();

    const std::string maker = home + "/Documents/KORVA Software";
    EXPECT_EQ(folders.workingDir, temp.file("work"));
    EXPECT_EQ(folders.programDataDir, maker + "/Brindle");
    EXPECT_EQ(folders.sharedDir, maker + "/Shared");
    EXPECT_EQ(folders.backupDir, maker + "/Brindle/BACKUP");
    for (const std::string& dir : { folders.programDataDir, folders.sharedDir, folders.backupDir }) {
        EXPECT_TRUE(fsys::is_directory(dir)) << dir;
    }
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(shared.path(), maker + "/Shared/SharedUserPreferences.xml");
    EXPECT_EQ(shared.text(), SharedPreferences::Header);
}

TEST_F(ProgramStartTest, desktopDocumentsFolderIsPreferred)
{
    setDocumentsFolder(home + "/Dokumente");
    const ProgramFolders folders = start();
    EXPECT_EQ(folders.programDataDir, home + "/Dokumente/KORVA Software/Brindle");
    EXPECT_TRUE(fsys::is_directory(home + "/Dokumente/KORVA Software/Shared"));
}

TEST_F(ProgramStartTest, withNoDocumentsFolderTheFoldersGoToHomeAndDataFolder)
{
    // A documents folder that cannot be made, even by root: its parent is a file.
    writeBytes(home + "/blocker", "");
    setDocumentsFolder(home + "/blocker/Documents");

    const ProgramFolders folders = start();

    EXPECT_TRUE(fsys::is_directory(home + "/KORVA Software/Brindle"));
    EXPECT_TRUE(fsys::is_directory(home + "/KORVA Software/Shared"));
    EXPECT_EQ(folders.programDataDir, home + "/.local/share/KORVA Software/Brindle");
    EXPECT_EQ(folders.sharedDir, home + "/.local/share/KORVA Software/Shared");
    EXPECT_TRUE(fsys::is_directory(folders.backupDir));
}

TEST_F(ProgramStartTest, folderThatCannotBeCreatedIsReportedAndStartUpGoesOn)
{
    writeBytes(home + "/.local", ""); // the data folder's parent is a file
    writeBytes(home + "/blocker", "");
    setDocumentsFolder(home + "/blocker/Documents");

    const ProgramFolders folders = start();

    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown[0].title, "Unable to create directory.");
    EXPECT_EQ(dialogs.shown[0].text.toStdString(), "File exists  " + home + "/.local");
    EXPECT_EQ(folders.programDataDir, home + "/.local/share/KORVA Software/Brindle");
}

TEST_F(ProgramStartTest, temporaryFilesOfInterruptedRewritesAreRemovedAndNothingElse)
{
    const std::string work = temp.file("work");
    fsys::create_directories(work);
    writeBytes(work + "/log.txt", "the log");
    writeBytes(work + "/inprefDX.txt", "the default data");
    // What a rewrite of log.txt leaves when the power goes in the middle of it.
    std::string interrupted = work + "/.log.txt.XXXXXX";
    const int leftOpen = ::mkstemp(interrupted.data());
    ASSERT_GE(leftOpen, 0);
    ::close(leftOpen);
    writeBytes(work + "/.inprefDX.txt.a1B2c3", "half the default data");

    const std::vector<std::string> kept = { ".Log.txt.abc123", ".arrlpre2.txt.abc123", ".brindle.lock",
        ".log.txt.ab-123", ".log.txt.abc12", ".log.txt.abc123.bak", ".log.txt.abc1234", ".log.txt.dir123",
        ".log.txt.lnk123", "inprefDX.txt", "log.txt", "log.txt.abc123", "notes.txt" };
    for (const std::string& name : kept) {
        if (name == ".log.txt.dir123") {
            fsys::create_directory(work + "/" + name);
        } else if (name == ".log.txt.lnk123") {
            fsys::create_symlink("notes.txt", work + "/" + name);
        } else if (!fsys::exists(work + "/" + name)) {
            writeBytes(work + "/" + name, "the operator's");
        }
    }

    start();
    EXPECT_EQ(test::folderEntries(work), kept);
    EXPECT_EQ(readBytes(work + "/log.txt"), "the log");
    EXPECT_EQ(readBytes(work + "/inprefDX.txt"), "the default data");
}

TEST_F(ProgramStartTest, existingSharedPreferencesAreHeldWithoutTheirLastLineEnd)
{
    const std::string content = std::string(SharedPreferences::Header) + "\r\n<OTHER_PROGRAM>x</OTHER_PROGRAM>\r\n";
    fsys::create_directories(home + "/Documents/KORVA Software/Shared");
    writeBytes(home + "/Documents/KORVA Software/Shared/SharedUserPreferences.xml", content);

    start();
    EXPECT_EQ(shared.text(), content.substr(0, content.size() - 2));
}

TEST_F(ProgramStartTest, settingsStoreKeepsValuesPerUserWithDefaults)
{
    QtSettingsStore store;
    EXPECT_EQ(store.get("UserCWSelection", "Timer"), "Timer");
    store.save("UserClubName", "Contest Club Finland");
    EXPECT_EQ(QtSettingsStore().get("UserClubName", ""), "Contest Club Finland");
    // QSettings fixes its folder at first use in a process, so ask it where the file went.
    QSettings qt(QStringLiteral("KORVA_Software"), QStringLiteral("KORVA_Software"));
    qt.sync();
    EXPECT_TRUE(qt.fileName().endsWith(QStringLiteral("/KORVA_Software/KORVA_Software.conf")));
    const std::string file = readBytes(qt.fileName().toStdString());
    EXPECT_NE(file.find("[Settings]"), std::string::npos);
    EXPECT_NE(file.find("UserClubName=Contest Club Finland"), std::string::npos);
}

// Two copies of the program started in one working folder, as the operator would start them: each
// claims the folder with a real lock file.
class WorkingFolderClaimTest : public ::testing::Test
{
protected:
    std::string lockPath() const
    {
        return temp.file(std::string(WorkingFolderLockName));
    }

    test::TempFolder temp;
    test::ScriptedDialogs dialogs;
};

TEST_F(WorkingFolderClaimTest, aSecondCopyFindsTheFolderInUseUntilTheFirstLetsGo)
{
    std::unique_ptr<QLockFile> first = claimWorkingFolder(dialogs, temp.path());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(fsys::exists(lockPath()));

    EXPECT_EQ(claimWorkingFolder(dialogs, temp.path()), nullptr);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Working Folder In Use");
    EXPECT_EQ(dialogs.shown[0].text.toStdString(),
        "Another copy of this program is already working in this folder.  Two copies writing one log.txt would "
        "lose contacts, so this copy ends now.  Carry on in the copy that is running, or start this one in "
        "another folder.\r\n\r\n"
            + temp.path());
    EXPECT_EQ(dialogs.shown[0].icon, OperatorDialogs::Icon::Critical);
    EXPECT_EQ(test::folderEntries(temp.path()), std::vector<std::string> { std::string(WorkingFolderLockName) });

    first.reset();
    EXPECT_FALSE(fsys::exists(lockPath()));
    EXPECT_NE(claimWorkingFolder(dialogs, temp.path()), nullptr);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(WorkingFolderClaimTest, aLockLeftByACrashedRunIsTakenOver)
{
    // What a run leaves behind when it crashes: its lock file, naming a process that no longer exists.
    std::string leftBehind;
    {
        test::TempFolder elsewhere;
        QLockFile running(QString::fromStdString(elsewhere.file("lock")));
        ASSERT_TRUE(running.tryLock(0));
        leftBehind = readBytes(elsewhere.file("lock"));
    }
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    leftBehind.replace(0, leftBehind.find('\n'), std::to_string(gone));
    writeBytes(lockPath(), leftBehind);

    EXPECT_NE(claimWorkingFolder(dialogs, temp.path()), nullptr);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WorkingFolderClaimTest, aFolderWhereNoLockCanBeMadeIsRefused)
{
    // Not even root can make a file inside a file.
    writeBytes(temp.file("work"), "a file where the working folder should be");
    EXPECT_EQ(claimWorkingFolder(dialogs, temp.file("work")), nullptr);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Working Folder Not Usable");
    EXPECT_EQ(dialogs.shown[0].text.toStdString(),
        "This program cannot work in this folder: it could not make its lock file \".brindle.lock\" there "
        "(the folder may be read-only or full).\r\n\r\n"
            + temp.file("work"));
    EXPECT_EQ(readBytes(temp.file("work")), "a file where the working folder should be");
}

} // namespace
} // namespace brindle
