#include "log/WorkingLog.h"

#include "log/LogMessages.h"
#include "os/PosixFileSystem.h"
#include "support/FileSizeLimit.h"
#include "support/FolderListing.h"
#include "support/LogSamples.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brindle {
namespace {

using test::FileSizeLimit;
using test::fixture;
using test::folderEntries;
using test::readBytes;
using test::sampleLog;
using test::sampleRecord;
using test::TempFolder;
using test::writeBytes;

const DateTime localNow { 2026, 2, 21, 14, 5, 30 };
constexpr auto WhenChanged = WorkingLog::BackupRule::WhenChanged;
constexpr auto WhenNotEmpty = WorkingLog::BackupRule::WhenNotEmpty;

// The working log in a fresh folder, on the real file system.
class WorkingLogTest : public testing::Test
{
protected:
    std::string logPath() const
    {
        return m_folder.file("log.txt");
    }
    std::string fileContent() const
    {
        return readBytes(logPath());
    }
    void writeLogFile(std::string_view content)
    {
        writeBytes(logPath(), content);
    }
    // The file holds these records and the log has loaded them.
    void loadWith(const ContestLog& log)
    {
        writeLogFile(formatLog(log));
        ASSERT_EQ(m_log.load(), std::nullopt);
    }
    void expectTalliesMatch(const ContestLog& log)
    {
        BandTallies expected;
        ASSERT_TRUE(expected.rebuild(log));
        for (std::size_t i = 0; i < BandCount; ++i) {
            EXPECT_EQ(m_log.tallies()[i].qsoCount, expected[i].qsoCount) << BandCodes[i];
            EXPECT_EQ(m_log.tallies()[i].sections, expected[i].sections) << BandCodes[i];
        }
    }

    TempFolder m_folder;
    PosixFileSystem m_fs;
    WorkingLog m_log { m_fs, m_folder.file("log.txt") };
};

TEST_F(WorkingLogTest, loadRebuildsTheLogAndTalliesFromTheFile)
{
    writeLogFile(fixture("log/three_contacts.txt"));
    ASSERT_EQ(m_log.load(), std::nullopt);
    ASSERT_EQ(m_log.log().count(), 3);
    EXPECT_EQ(m_log.log().record(2).call, "VE3XYZ");
    EXPECT_EQ(m_log.tallies().forBand("20")->qsoCount, 2);
    EXPECT_EQ(m_log.tallies().forBand("20")->sections, (std::vector<std::string> { "MA", "ON" }));
    EXPECT_EQ(m_log.tallies().forBand("80")->sections, (std::vector<std::string> { "CO" }));
}

TEST_F(WorkingLogTest, sixMetreRecordIsKeptAndWrittenBackButCountsNowhere)
{
    const std::string content = fixture("log/six_metre_record.txt");
    writeLogFile(content);
    ASSERT_EQ(m_log.load(), std::nullopt);
    EXPECT_EQ(m_log.log().count(), 3);
    EXPECT_EQ(m_log.log().record(2).band, "6");
    EXPECT_EQ(m_log.tallies().forBand("20")->qsoCount, 2);
    int counted = 0;
    for (std::size_t i = 0; i < BandCount; ++i) {
        counted += m_log.tallies()[i].qsoCount;
    }
    EXPECT_EQ(counted, 2);

    ASSERT_TRUE(m_log.rewrite(m_log.log()).ok());
    EXPECT_EQ(fileContent(), content);
}

TEST_F(WorkingLogTest, failedLoadLeavesFileAndMemoryAsTheyWere)
{
    loadWith(sampleLog(20));
    const ContestLog before = m_log.log();

    struct Case
    {
        std::string content;
        LogLoadFailure failure;
    };
    std::string tooManySections;
    for (int i = 0; i <= BandTallies::MaxSections; ++i) {
        QsoRecord record = sampleRecord(i);
        record.band = "40";
        record.section = "X" + std::to_string(i);
        tooManySections += formatRecord(record);
    }
    const std::vector<Case> cases = {
        { fixture("log/quote_inside_field.txt"), LogLoadFailure::StrayQuote },
        { fixture("log/unterminated_quote.txt"), LogLoadFailure::StrayQuote },
        { fixture("log/eight_fields_last_record.txt"), LogLoadFailure::ShortRecord },
        { formatLog(sampleLog(ContestLog::Capacity)) + formatRecord(sampleRecord(0)), LogLoadFailure::TooManyRecords },
        { tooManySections, LogLoadFailure::TooManySections },
    };
    for (const Case& c : cases) {
        writeLogFile(c.content);
        EXPECT_EQ(m_log.load(), std::optional<LogLoadFailure>(c.failure));
        EXPECT_EQ(fileContent(), c.content);
        EXPECT_EQ(m_log.log(), before);
        expectTalliesMatch(before);
        EXPECT_EQ(m_log.countAtFirstLoad(), 20);
    }
}

TEST_F(WorkingLogTest, missingFileIsUnreadable)
{
    EXPECT_EQ(m_log.load(), std::optional<LogLoadFailure>(LogLoadFailure::Unreadable));
    EXPECT_EQ(m_log.log().count(), 0);
    EXPECT_FALSE(std::filesystem::exists(logPath()));
}

TEST_F(WorkingLogTest, appendWritesExactlyOneCrLfLine)
{
    loadWith(sampleLog(3));
    const std::string before = fileContent();
    QsoRecord contact = sampleRecord(3);
    contact.frequency = "";

    ASSERT_TRUE(m_log.append(contact).ok());
    EXPECT_EQ(fileContent(), before + formatRecord(contact));
    EXPECT_TRUE(fileContent().ends_with(",\"\"\r\n"));
    EXPECT_EQ(m_log.log().count(), 4);
    EXPECT_EQ(m_log.log().record(4), contact);
}

TEST_F(WorkingLogTest, appendCountsTheContactInItsBandTally)
{
    loadWith(sampleLog(50));
    QsoRecord contact = sampleRecord(50);
    contact.band = "10";
    contact.section = "nwt";
    ASSERT_TRUE(m_log.append(contact).ok());

    ContestLog expected = sampleLog(50);
    expected.append(contact);
    expectTalliesMatch(expected);
}

TEST_F(WorkingLogTest, appendAfterALastLineWithoutLineEndStartsANewLine)
{
    const std::string content = fixture("log/no_final_line_end.txt");
    writeLogFile(content);
    ASSERT_EQ(m_log.load(), std::nullopt);
    ASSERT_TRUE(m_log.append(sampleRecord(9)).ok());
    EXPECT_EQ(fileContent(), content + "\r\n" + formatRecord(sampleRecord(9)));

    ASSERT_EQ(m_log.load(), std::nullopt);
    EXPECT_EQ(m_log.log().count(), 3);
    EXPECT_EQ(m_log.log().record(3), sampleRecord(9));
}

TEST_F(WorkingLogTest, appendToAMissingFileCreatesIt)
{
    ASSERT_TRUE(m_log.append(sampleRecord(0)).ok());
    EXPECT_EQ(fileContent(), formatRecord(sampleRecord(0)));
}

TEST_F(WorkingLogTest, appendedRecordInMemoryIsWhatTheFileHolds)
{
    loadWith(sampleLog(2));
    QsoRecord typed = sampleRecord(2);
    typed.call = "K1\"AB";
    typed.country = "United States\r\n";
    ASSERT_TRUE(m_log.append(typed).ok());

    const ContestLog inMemory = m_log.log();
    ASSERT_EQ(m_log.load(), std::nullopt);
    EXPECT_EQ(m_log.log(), inMemory);
    EXPECT_EQ(inMemory.record(3).call, "K1AB");
    EXPECT_EQ(inMemory.record(3).country, "United States");
}

TEST_F(WorkingLogTest, appendToAFullLogIsRefusedAndChangesNothing)
{
    loadWith(sampleLog(ContestLog::Capacity));
    const std::string before = fileContent();

    const Status appended = m_log.append(sampleRecord(0));
    ASSERT_FALSE(appended.ok());
    EXPECT_EQ(appended.error().description, logmsg::LogFullText);
    EXPECT_EQ(fileContent(), before);
    EXPECT_EQ(m_log.log().count(), 12000);
}

TEST_F(WorkingLogTest, appendOnAFullDiskReportsAnErrorAndChangesNothing)
{
    loadWith(sampleLog(10));
    const std::string before = fileContent();
    const ContestLog logBefore = m_log.log();

    Status appended;
    {
        FileSizeLimit limit(before.size() + 20);
        appended = m_log.append(sampleRecord(10));
    }
    ASSERT_FALSE(appended.ok());
    EXPECT_EQ(appended.error().description, std::strerror(EFBIG));
    EXPECT_EQ(fileContent(), before);
    EXPECT_EQ(m_log.log(), logBefore);
    expectTalliesMatch(logBefore);
}

TEST_F(WorkingLogTest, rewriteAfterDeletingRecordFiveWritesTheNewLog)
{
    loadWith(sampleLog(10));
    ContestLog updated = m_log.log();
    updated.remove(5);

    ASSERT_TRUE(m_log.rewrite(updated).ok());
    EXPECT_EQ(fileContent(), formatLog(updated));
    EXPECT_EQ(m_log.log(), updated);
    EXPECT_EQ(m_log.log().record(5), sampleRecord(5));
    expectTalliesMatch(updated);
    EXPECT_EQ(folderEntries(m_folder.path()), std::vector<std::string> { "log.txt" });
}

TEST_F(WorkingLogTest, rewriteStoresWhatTheFileCanHold)
{
    loadWith(sampleLog(3));
    ContestLog updated = m_log.log();
    QsoRecord edited = updated.record(2);
    edited.country = "\"Canada\"";
    updated.replace(2, edited);

    ASSERT_TRUE(m_log.rewrite(updated).ok());
    EXPECT_EQ(m_log.log().record(2).country, "Canada");
    const ContestLog inMemory = m_log.log();
    ASSERT_EQ(m_log.load(), std::nullopt);
    EXPECT_EQ(m_log.log(), inMemory);
}

TEST_F(WorkingLogTest, rewriteFailingMidwayKeepsTheOldFileAndMemory)
{
    loadWith(sampleLog(10));
    const std::string before = fileContent();
    const ContestLog logBefore = m_log.log();
    const ContestLog bigger = sampleLog(200);

    Status rewritten;
    {
        FileSizeLimit limit(formatLog(bigger).size() / 2);
        rewritten = m_log.rewrite(bigger);
    }
    ASSERT_FALSE(rewritten.ok());
    EXPECT_EQ(rewritten.error().description, std::strerror(EFBIG));
    EXPECT_EQ(fileContent(), before);
    EXPECT_EQ(m_log.log(), logBefore);
    expectTalliesMatch(logBefore);
    EXPECT_EQ(folderEntries(m_folder.path()), std::vector<std::string> { "log.txt" });
}

TEST_F(WorkingLogTest, rewriteOfALogTooManySectionsFailsWithoutWriting)
{
    loadWith(sampleLog(10));
    const std::string before = fileContent();
    ContestLog updated = m_log.log();
    for (int i = 0; i <= BandTallies::MaxSections; ++i) {
        QsoRecord record = sampleRecord(i);
        record.band = "15";
        record.section = "X" + std::to_string(i);
        updated.append(record);
    }
    EXPECT_FALSE(m_log.rewrite(updated).ok());
    EXPECT_EQ(fileContent(), before);
    EXPECT_EQ(m_log.log().count(), 10);
}

TEST_F(WorkingLogTest, eraseEmptiesFileAndLog)
{
    loadWith(sampleLog(10));
    ASSERT_TRUE(m_log.erase().ok());
    EXPECT_TRUE(std::filesystem::exists(logPath()));
    EXPECT_EQ(fileContent(), "");
    EXPECT_EQ(m_log.log().count(), 0);
    for (std::size_t i = 0; i < BandCount; ++i) {
        EXPECT_EQ(m_log.tallies()[i].qsoCount, 0);
        EXPECT_EQ(m_log.tallies()[i].multCount(), 0);
    }
}

TEST_F(WorkingLogTest, eraseThatCannotWriteKeepsTheLog)
{
    loadWith(sampleLog(10));
    // The folder disappears under the program (a removed stick, say): nothing can be written there.
    const std::string moved = m_folder.path() + "-moved";
    std::filesystem::rename(m_folder.path(), moved);
    const Status erased = m_log.erase();
    std::filesystem::rename(moved, m_folder.path());

    ASSERT_FALSE(erased.ok());
    EXPECT_EQ(erased.error().description, std::strerror(ENOENT));
    EXPECT_EQ(m_log.log(), sampleLog(10));
    EXPECT_EQ(fileContent(), formatLog(sampleLog(10)));
}

// The backup rule through a run of the program: load at start-up, then each step in turn.
//   a: log one contact   d: delete the last contact   r: reload (a band change)   e: new log
struct BackupRuleCase
{
    const char* name;
    int countAtStartup;
    std::string steps;
    int expectedCountAtFirstLoad;
    bool expectedBackupDue;
};

class BackupRule : public WorkingLogTest, public testing::WithParamInterface<BackupRuleCase>
{
};

TEST_P(BackupRule, comparesCountWithTheCountAtFirstLoad)
{
    const BackupRuleCase& c = GetParam();
    loadWith(sampleLog(c.countAtStartup));
    int next = c.countAtStartup;
    for (char step : c.steps) {
        switch (step) {
        case 'a':
            ASSERT_TRUE(m_log.append(sampleRecord(next++)).ok());
            break;
        case 'd': {
            ContestLog updated = m_log.log();
            updated.remove(updated.count());
            ASSERT_TRUE(m_log.rewrite(updated).ok());
            ASSERT_EQ(m_log.load(), std::nullopt);
            break;
        }
        case 'r':
            ASSERT_EQ(m_log.load(), std::nullopt);
            break;
        case 'e':
            ASSERT_TRUE(m_log.erase().ok());
            ASSERT_EQ(m_log.load(), std::nullopt);
            break;
        }
    }
    EXPECT_EQ(m_log.countAtFirstLoad(), c.expectedCountAtFirstLoad);
    EXPECT_EQ(m_log.backupDue(), c.expectedBackupDue);
}

INSTANTIATE_TEST_SUITE_P(WorkingLog, BackupRule,
    testing::Values(BackupRuleCase { "fortyLoadedNoneLogged", 40, "", 40, false },
        BackupRuleCase { "fortyLoadedOneLogged", 40, "a", 40, true },
        BackupRuleCase { "fortyLoadedOneLoggedThenReload", 40, "ar", 40, true },
        BackupRuleCase { "fortyLoadedOneLoggedOneDeleted", 40, "ad", 40, false },
        BackupRuleCase { "fortyLoadedOneDeleted", 40, "d", 40, true },
        BackupRuleCase { "emptyAtStartFiveLoggedThenBandChange", 0, "aaaaar", 5, false },
        BackupRuleCase { "emptyAtStartFiveLoggedNoReload", 0, "aaaaa", 0, true },
        BackupRuleCase { "emptyAtStartNothingLogged", 0, "", 0, false },
        BackupRuleCase { "newLogLeavesNothingToBackUp", 40, "e", 40, false },
        BackupRuleCase { "newLogNeverResetsTheFirstCount", 40, "ea", 40, true },
        BackupRuleCase { "newLogThenFortyAgain", 40, "e" + std::string(40, 'a'), 40, false }),
    [](const testing::TestParamInfo<BackupRuleCase>& info) { return std::string(info.param.name); });

TEST_F(WorkingLogTest, backupCopiesTheLogIntoTheBackupFolderNamedByTheMinute)
{
    loadWith(sampleLog(40));
    ASSERT_TRUE(m_log.append(sampleRecord(40)).ok());
    const std::string backupFolder = m_folder.file("BACKUP");
    ASSERT_FALSE(std::filesystem::exists(backupFolder));

    ASSERT_TRUE(m_log.backup(backupFolder, localNow, WhenChanged).ok());
    EXPECT_EQ(folderEntries(backupFolder), std::vector<std::string> { "202602211405.log" });
    EXPECT_EQ(readBytes(backupFolder + "/202602211405.log"), fileContent());
}

TEST_F(WorkingLogTest, backupWithinTheSameMinuteKeepsEveryEarlierOne)
{
    loadWith(sampleLog(40));
    const std::string backupFolder = m_folder.file("BACKUP");
    std::vector<std::string> taken;
    for (int second : { 30, 45, 59 }) {
        ASSERT_TRUE(m_log.append(sampleRecord(m_log.log().count())).ok());
        ASSERT_TRUE(m_log.backup(backupFolder, DateTime { 2026, 2, 21, 14, 5, second }, WhenChanged).ok());
        taken.push_back(fileContent());
    }
    EXPECT_EQ(folderEntries(backupFolder),
        (std::vector<std::string> { "202602211405-2.log", "202602211405-3.log", "202602211405.log" }));
    EXPECT_EQ(readBytes(backupFolder + "/202602211405.log"), taken[0]);
    EXPECT_EQ(readBytes(backupFolder + "/202602211405-2.log"), taken[1]);
    EXPECT_EQ(readBytes(backupFolder + "/202602211405-3.log"), taken[2]);

    ASSERT_TRUE(m_log.backup(backupFolder, DateTime { 2026, 2, 21, 14, 6, 0 }, WhenChanged).ok());
    EXPECT_EQ(readBytes(backupFolder + "/202602211406.log"), taken[2]);
}

TEST_F(WorkingLogTest, backupTakesTheMinutesNameWhenOnlyALaterOneIsTaken)
{
    loadWith(sampleLog(40));
    ASSERT_TRUE(m_log.append(sampleRecord(40)).ok());
    const std::string backupFolder = m_folder.file("BACKUP");
    std::filesystem::create_directory(backupFolder);
    writeBytes(backupFolder + "/202602211405-2.log", "kept");
    ASSERT_TRUE(m_log.backup(backupFolder, localNow, WhenChanged).ok());
    EXPECT_EQ(readBytes(backupFolder + "/202602211405.log"), fileContent());
    EXPECT_EQ(readBytes(backupFolder + "/202602211405-2.log"), "kept");
}

TEST_F(WorkingLogTest, backupThatIsNotDueWritesNothing)
{
    loadWith(sampleLog(40));
    ASSERT_TRUE(m_log.backup(m_folder.file("BACKUP"), localNow, WhenChanged).ok());
    EXPECT_FALSE(std::filesystem::exists(m_folder.file("BACKUP")));
}

TEST_F(WorkingLogTest, backupBeforeANewLogIsTakenWheneverTheLogHoldsContacts)
{
    loadWith(sampleLog(40));
    ASSERT_FALSE(m_log.backupDue());
    const std::string backupFolder = m_folder.file("BACKUP");
    ASSERT_TRUE(m_log.backup(backupFolder, localNow, WhenNotEmpty).ok());
    EXPECT_EQ(readBytes(backupFolder + "/202602211405.log"), fileContent());
}

TEST_F(WorkingLogTest, backupOfAnEmptyLogIsNeverTaken)
{
    loadWith(sampleLog(0));
    for (const auto rule : { WhenChanged, WhenNotEmpty }) {
        ASSERT_TRUE(m_log.backup(m_folder.file("BACKUP"), localNow, rule).ok());
        EXPECT_FALSE(std::filesystem::exists(m_folder.file("BACKUP")));
    }
}

TEST_F(WorkingLogTest, backupIntoAnExistingFolderKeepsItsFiles)
{
    loadWith(sampleLog(40));
    ASSERT_TRUE(m_log.append(sampleRecord(40)).ok());
    const std::string backupFolder = m_folder.file("BACKUP");
    std::filesystem::create_directory(backupFolder);
    writeBytes(backupFolder + "/DL1ABC2026-02-20.log", "archived");
    ASSERT_TRUE(m_log.backup(backupFolder, localNow, WhenChanged).ok());
    EXPECT_EQ(folderEntries(backupFolder), (std::vector<std::string> { "202602211405.log", "DL1ABC2026-02-20.log" }));
    EXPECT_EQ(readBytes(backupFolder + "/DL1ABC2026-02-20.log"), "archived");
}

TEST_F(WorkingLogTest, backupThatCannotMakeItsFolderFailsAndLeavesTheLog)
{
    loadWith(sampleLog(40));
    ASSERT_TRUE(m_log.append(sampleRecord(40)).ok());
    const std::string before = fileContent();
    writeBytes(m_folder.file("Brindle"), "a file where the program folder should be");
    EXPECT_FALSE(m_log.backup(m_folder.file("Brindle/BACKUP"), localNow, WhenChanged).ok());
    EXPECT_EQ(fileContent(), before);
    EXPECT_EQ(m_log.log().count(), 41);
}

// A failed backup stops a new log; the operator is told which file or folder it concerns.
TEST_F(WorkingLogTest, backupFailureNamesTheFileOrFolderItConcerns)
{
    const std::string backupFolder = m_folder.file("BACKUP");
    struct Case
    {
        const char* name;
        std::function<void()> breakIt;
        std::string expected;
    };
    const std::vector<Case> cases = {
        { "a file where the folder should be", [&] { writeBytes(backupFolder, "in the way"); },
            std::string(std::strerror(EEXIST)) + "  " + backupFolder },
        { "log.txt gone", [&] { std::filesystem::remove(logPath()); },
            std::string(std::strerror(ENOENT)) + "  " + logPath() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loadWith(sampleLog(40));
        std::filesystem::remove_all(backupFolder);
        c.breakIt();
        const Status backedUp = m_log.backup(backupFolder, localNow, WhenNotEmpty);
        ASSERT_FALSE(backedUp.ok());
        EXPECT_EQ(backedUp.error().description, c.expected);
    }

    loadWith(sampleLog(40));
    std::filesystem::remove_all(backupFolder);
    Status fullDisk;
    {
        FileSizeLimit limit(fileContent().size() / 2);
        fullDisk = m_log.backup(backupFolder, localNow, WhenNotEmpty);
    }
    ASSERT_FALSE(fullDisk.ok());
    EXPECT_EQ(
        fullDisk.error().description, std::string(std::strerror(EFBIG)) + "  " + backupFolder + "/202602211405.log");
    EXPECT_TRUE(folderEntries(backupFolder).empty());
}

TEST_F(WorkingLogTest, restoreCopiesTheChosenFileByteForByte)
{
    loadWith(sampleLog(40));
    const std::string archive = fixture("log/blank_lines_between_records.txt");
    writeBytes(m_folder.file("archive.log"), archive);

    ASSERT_TRUE(m_log.restoreFrom(m_folder.file("archive.log")).ok());
    EXPECT_EQ(fileContent(), archive);
    EXPECT_EQ(readBytes(m_folder.file("archive.log")), archive);
    ASSERT_EQ(m_log.load(), std::nullopt);
    EXPECT_EQ(m_log.log().count(), 3);
    EXPECT_EQ(m_log.countAtFirstLoad(), 40);
    EXPECT_EQ(folderEntries(m_folder.path()), (std::vector<std::string> { "archive.log", "log.txt" }));
}

TEST_F(WorkingLogTest, restoreRefusesADamagedFileAndKeepsTheWorkingLog)
{
    loadWith(sampleLog(40));
    const std::string before = fileContent();
    for (const char* name : { "log/quote_inside_field.txt", "log/eight_fields_last_record.txt" }) {
        writeBytes(m_folder.file("damaged.log"), fixture(name));
        const Status restored = m_log.restoreFrom(m_folder.file("damaged.log"));
        ASSERT_FALSE(restored.ok()) << name;
        EXPECT_EQ(restored.error().description, logmsg::RestoreDamagedText) << name;
        EXPECT_EQ(fileContent(), before) << name;
        EXPECT_EQ(m_log.log().count(), 40) << name;
    }
}

TEST_F(WorkingLogTest, restoreFromAMissingFileReportsThePlatformDescription)
{
    loadWith(sampleLog(40));
    const std::string before = fileContent();
    const Status restored = m_log.restoreFrom(m_folder.file("gone.log"));
    ASSERT_FALSE(restored.ok());
    EXPECT_EQ(restored.error().description, std::strerror(ENOENT));
    EXPECT_EQ(fileContent(), before);
}

TEST(WorkingLogFileNames, backupFileNameIsYearMonthDayHourMinute)
{
    struct Case
    {
        DateTime localNow;
        std::string name;
    };
    const std::vector<Case> cases = {
        { { 2026, 2, 21, 14, 5, 30 }, "202602211405.log" },
        { { 2026, 12, 31, 23, 59, 59 }, "202612312359.log" },
        { { 2027, 1, 1, 0, 0, 0 }, "202701010000.log" },
        { { 999, 3, 4, 5, 6, 7 }, "099903040506.log" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(backupFileName(c.localNow), c.name);
    }
}

TEST(WorkingLogFileNames, laterBackupsOfAMinuteAreNumberedBeforeTheExtension)
{
    struct Case
    {
        int nthInMinute;
        std::string name;
    };
    const std::vector<Case> cases = {
        { 1, "202602211405.log" },
        { 2, "202602211405-2.log" },
        { 3, "202602211405-3.log" },
        { 12, "202602211405-12.log" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(backupFileName(localNow, c.nthInMinute), c.name);
    }
}

TEST(WorkingLogFileNames, archiveFileNameIsCallStemThenLocalDate)
{
    struct Case
    {
        std::string ownCall;
        std::string name;
    };
    const std::vector<Case> cases = {
        { "DL1ABC", "DL1ABC2026-02-21.log" },
        { "DL1ABC/P", "DL1ABC2026-02-21.log" },
        { "", "YourCall2026-02-21.log" },
        { "dl1abc", "YourCall2026-02-21.log" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(archiveFileName(c.ownCall, localNow), c.name) << c.ownCall;
    }
    EXPECT_EQ(archiveFileName("9A1A", DateTime { 2026, 11, 3, 0, 0, 0 }), "9A1A2026-11-03.log");
}

} // namespace
} // namespace brindle
