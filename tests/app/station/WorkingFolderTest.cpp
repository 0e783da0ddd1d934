#include "station/WorkingFolder.h"

#include "os/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

namespace brindle {
namespace {

namespace fsys = std::filesystem;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

std::set<std::string> distributedNames()
{
    std::set<std::string> names;
    for (const auto& entry : fsys::directory_iterator(BRINDLE_DATA_DIR)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(WorkingFolderTest, seedingMakesTheFolderAndCopiesEveryDistributedFile)
{
    TempFolder temp;
    const std::string folder = temp.path() + "/home/Brindle DX";
    PosixFileSystem fs;

    const SeededFolder seeded = seedWorkingFolder(fs, folder, BRINDLE_DATA_DIR);

    ASSERT_TRUE(seeded.ready) << seeded.failure;
    const std::set<std::string> names = distributedNames();
    ASSERT_TRUE(names.contains("inprefDX.txt"));
    ASSERT_TRUE(names.contains("arrlpre2.txt"));
    EXPECT_EQ(std::set<std::string>(seeded.copied.begin(), seeded.copied.end()), names);
    for (const std::string& name : names) {
        EXPECT_EQ(readBytes(folder + "/" + name), readBytes(std::string(BRINDLE_DATA_DIR) + "/" + name)) << name;
    }
}

TEST(WorkingFolderTest, seedingNeverReplacesTheOperatorsFilesAndCopiesOnlyWhatIsMissing)
{
    TempFolder temp;
    const std::string folder = temp.path() + "/Brindle DX";
    fsys::create_directories(folder);
    writeBytes(folder + "/inprefDX.txt", "the operator's own defaults\r\n");
    writeBytes(folder + "/log.txt", "");
    // Even a link that leads nowhere is the operator's and stays as it is.
    fsys::create_symlink(temp.path() + "/elsewhere/arrlpre2.txt", folder + "/arrlpre2.txt");
    PosixFileSystem fs;

    const SeededFolder seeded = seedWorkingFolder(fs, folder, BRINDLE_DATA_DIR);

    ASSERT_TRUE(seeded.ready) << seeded.failure;
    EXPECT_EQ(readBytes(folder + "/inprefDX.txt"), "the operator's own defaults\r\n");
    EXPECT_EQ(fsys::file_size(folder + "/log.txt"), 0u);
    EXPECT_TRUE(fsys::is_symlink(folder + "/arrlpre2.txt"));
    EXPECT_FALSE(fsys::exists(temp.path() + "/elsewhere"));
    for (const char* kept : { "inprefDX.txt", "log.txt", "arrlpre2.txt" }) {
        EXPECT_EQ(std::count(seeded.copied.begin(), seeded.copied.end(), kept), 0) << kept;
    }
    EXPECT_EQ(readBytes(folder + "/BandPlan.txt"), readBytes(std::string(BRINDLE_DATA_DIR) + "/BandPlan.txt"));

    // Once everything is there, a second start copies nothing.
    EXPECT_TRUE(seedWorkingFolder(fs, folder, BRINDLE_DATA_DIR).copied.empty());
}

TEST(WorkingFolderTest, aFolderThatCannotBeMadeIsReportedAndWhatIsInTheWayIsKept)
{
    TempFolder temp;
    writeBytes(temp.file("Brindle DX"), "a file, not a folder");
    PosixFileSystem fs;

    const SeededFolder seeded = seedWorkingFolder(fs, temp.file("Brindle DX"), BRINDLE_DATA_DIR);

    EXPECT_FALSE(seeded.ready);
    EXPECT_FALSE(seeded.failure.empty());
    EXPECT_TRUE(seeded.copied.empty());
    EXPECT_EQ(readBytes(temp.file("Brindle DX")), "a file, not a folder");
}

TEST(WorkingFolderTest, withoutAFolderOnTheCommandLineTheCurrentFolderIsWorkedIn)
{
    EXPECT_EQ(chooseWorkingFolder(std::nullopt, "/srv/contest", "/home/op"), "/srv/contest");
}

TEST(WorkingFolderTest, theFolderOnTheCommandLineIsTakenFromHomeOrTheCurrentFolder)
{
    EXPECT_EQ(chooseWorkingFolder(std::string("~/Brindle DX"), "/srv/contest", "/home/op"), "/home/op/Brindle DX");
    EXPECT_EQ(chooseWorkingFolder(std::string("~"), "/srv/contest", "/home/op"), "/home/op");
    EXPECT_EQ(chooseWorkingFolder(std::string("/data/dx2027/"), "/srv/contest", "/home/op"), "/data/dx2027");
    EXPECT_EQ(chooseWorkingFolder(std::string("cw/../ssb"), "/srv/contest", "/home/op"), "/srv/contest/ssb");
    // Only a tilde on its own or before a slash means home, as in a shell.
    EXPECT_EQ(chooseWorkingFolder(std::string("~op2"), "/srv/contest", "/home/op"), "/srv/contest/~op2");
}

TEST(WorkingFolderTest, theDataFilesAreFoundBesideAnInstalledProgramWhateverItsPrefix)
{
    TempFolder temp;
    const std::string prefix = temp.path() + "/opt/brindle";
    fsys::create_directories(prefix + "/bin");
    fsys::create_directories(prefix + "/share/brindle-dx");
    writeBytes(prefix + "/share/brindle-dx/inprefDX.txt", "installed\r\n");
    const std::string sources = temp.path() + "/src/data";
    fsys::create_directories(sources);
    writeBytes(sources + "/inprefDX.txt", "sources\r\n");

    const std::string found = findDistributedData(prefix + "/bin", temp.path() + "/build", sources);
    EXPECT_EQ(readBytes(found + "/inprefDX.txt"), "installed\r\n");

    // A program in its build tree takes the sources' files; one installed elsewhere never does.
    fsys::create_directories(temp.path() + "/build/src/app");
    EXPECT_EQ(findDistributedData(temp.path() + "/build/src/app", temp.path() + "/build", sources), sources);
    fsys::create_directories(temp.path() + "/usr/bin");
    EXPECT_EQ(findDistributedData(temp.path() + "/usr/bin", temp.path() + "/build", sources), "");
    EXPECT_EQ(findDistributedData(temp.path() + "/build-other/bin", temp.path() + "/build", sources), "");
}

} // namespace
} // namespace brindle
