#include "reports/AdifExport.h"
#include "reports/ClipboardExport.h"

#include "log/LogFormat.h"
#include "os/PosixFileSystem.h"
#include "station/DefaultData.h"
#include "station/ProgramStart.h"
#include "support/LogSamples.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"
#include "support/StationSamples.h"
#include "support/TempFolder.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

namespace brindle {
namespace {

using test::fixture;
using test::readBytes;
using test::ScriptedDialogs;
using test::TempFolder;
using test::writeBytes;

const QString PowerPrompt = QStringLiteral(
    "Please enter the power value that you would like to record.  This is an optional value that will be included "
    "in each QSO record and displayed in Pennant's power output column.");
const QString CommentPrompt = QStringLiteral(
    "Please enter a comment that you would like to appear on each QSO record.  This is an optional description "
    "that will be displayed in Pennant's Comments column.");

// The desktop's date and time are written as a US desktop writes them, whatever this machine's locale.
class ScopedLocale
{
public:
    explicit ScopedLocale(const QLocale& locale)
    {
        QLocale::setDefault(locale);
    }
    ~ScopedLocale()
    {
        QLocale::setDefault(m_saved);
    }

private:
    QLocale m_saved;
};

class AdifExportTest : public ::testing::Test
{
protected:
    AdifExportTest()
    {
        folders.sharedDir = root.path() + "/Shared";
        folders.programDataDir = root.path() + "/Brindle";
        folders.workingDir = root.path() + "/work";
        folders.backupDir = folders.programDataDir + "/BACKUP";
        for (const std::string& folder : { folders.sharedDir, folders.programDataDir, folders.workingDir }) {
            std::filesystem::create_directories(folder);
        }
        writeBytes(folders.workingDir + "/ADIFCnt.txt", fixture("reports/adif_countries.txt"));
        const ParsedLog parsed = parseLog(fixture("reports/adif_log.txt"));
        EXPECT_FALSE(parsed.failure);
        log = parsed.log;
        clock.local = { 2026, 2, 21, 14, 5, 9 };
    }

    void exportNow()
    {
        exportAdif(log, station, folders, fs, clock, dialogs);
    }

    std::string outputPath() const
    {
        return folders.programDataDir + "/Brindle.adi";
    }

    TempFolder root;
    ProgramFolders folders;
    PosixFileSystem fs;
    test::ManualClock clock;
    ScriptedDialogs dialogs;
    ContestLog log;
    DefaultData station = test::sampleDefaults();
    ScopedLocale usDesktop { QLocale(QLocale::English, QLocale::UnitedStates) };
};

TEST_F(AdifExportTest, asksForPowerCommentAndFileThenWritesTheWholeLog)
{
    dialogs.inputs = { QStringLiteral("100  "), QStringLiteral("International DX Contest") };
    dialogs.files = { QString::fromStdString(outputPath()) };

    exportNow();

    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_EQ(dialogs.shown[0].kind, "input");
    EXPECT_EQ(dialogs.shown[0].title, "Please enter your transmitter output power.");
    EXPECT_EQ(dialogs.shown[0].text, PowerPrompt);
    EXPECT_EQ(dialogs.shown[0].proposed, "100");
    EXPECT_EQ(dialogs.shown[1].kind, "input");
    EXPECT_EQ(dialogs.shown[1].title, "Please enter a comment.");
    EXPECT_EQ(dialogs.shown[1].text, CommentPrompt);
    EXPECT_EQ(dialogs.shown[1].proposed, "International DX Contest");
    EXPECT_EQ(dialogs.shown[2].kind, "save");
    EXPECT_EQ(dialogs.shown[2].folder, QString::fromStdString(folders.programDataDir));
    EXPECT_EQ(dialogs.shown[2].proposed, "Brindle.adi");
    EXPECT_EQ(dialogs.shown[2].filter, "ADIF Files (*.adi) | *.adi");
    EXPECT_EQ(dialogs.shown[3].kind, "message");
    EXPECT_EQ(dialogs.shown[3].title, "File Written Successfully.");
    EXPECT_EQ(dialogs.shown[3].text,
        "The file was successfully written to the directory:\r\n\r\n" + QString::fromStdString(outputPath()) + ".");
    EXPECT_EQ(dialogs.beeps, 0);

    EXPECT_EQ(readBytes(outputPath()), fixture("reports/adif_expected.adi"));
}

TEST_F(AdifExportTest, cancelledQuestionsLeavePowerAndCommentOutAndPhoneIsSsb)
{
    station.mode = "PH";
    log = test::logOf({ { "W3DC", "59", "DC", "59", "USA", "2026/02/21", "00:03:05", "20", "14.2333" } });
    dialogs.inputs = { std::nullopt, QString() };
    dialogs.files = { QString::fromStdString(outputPath()) };

    exportNow();

    const std::string text = readBytes(outputPath());
    EXPECT_EQ(text.substr(text.find("<EOH>")),
        "<EOH>\r\n\r\n"
        "<Call:4>W3DC <Qso_Date:8:d>20260221 <Band:3>20M <Mode:3>SSB\r\n"
        "<Freq:7>14.2333 <Time_On:4>0003 <DXCC:3>291 <State:2>MD <RST_Sent:2>59 <RST_Rcvd:2>59 <eor>\r\n"
        "\r\n");
}

TEST_F(AdifExportTest, cancellingTheSaveDialogEndsSilently)
{
    writeBytes(outputPath(), "earlier export");
    dialogs.inputs = { QStringLiteral("100"), QStringLiteral("") };
    dialogs.files = { std::nullopt };

    exportNow();

    EXPECT_EQ(dialogs.shown.back().kind, "save");
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_EQ(readBytes(outputPath()), "earlier export");
}

TEST_F(AdifExportTest, failuresBeepAndShowTheirDescription)
{
    struct Case
    {
        const char* name;
        std::string table; // in the working folder; empty: none anywhere
        std::string file; // the chosen file; empty: no save dialog expected
        std::string description;
    };
    const std::string missingFolder = root.path() + "/gone/Brindle.adi";
    const Case cases[] = {
        { "no table", "", "",
            "ADIFCnt.txt was not found in " + folders.sharedDir + ", " + folders.programDataDir + " or "
                + folders.workingDir + "." },
        { "damaged table", "\"USA\",291\r\n\"Canada\",x\r\n", "",
            "ADIFCnt.txt, record 2: the DXCC number \"x\" is not a whole number from -32768 to 32767." },
        { "file cannot be written", "\"USA\",291\r\n", missingFolder, std::strerror(ENOENT) },
    };
    for (const Case& c : cases) {
        std::filesystem::remove(folders.workingDir + "/ADIFCnt.txt");
        if (!c.table.empty()) {
            writeBytes(folders.workingDir + "/ADIFCnt.txt", c.table);
        }
        dialogs = ScriptedDialogs();
        dialogs.inputs = { QStringLiteral("100"), QStringLiteral("") };
        if (!c.file.empty()) {
            dialogs.files = { QString::fromStdString(c.file) };
        }

        exportNow();

        EXPECT_EQ(dialogs.beeps, 1) << c.name;
        ASSERT_FALSE(dialogs.shown.empty()) << c.name;
        EXPECT_EQ(dialogs.shown.back().kind, "message") << c.name;
        EXPECT_EQ(dialogs.shown.back().title, "Unable to write file.") << c.name;
        EXPECT_EQ(dialogs.shown.back().text, QString::fromStdString(c.description)) << c.name;
        EXPECT_EQ(dialogs.shown.size(), c.file.empty() ? 3u : 4u) << c.name;
        EXPECT_FALSE(std::filesystem::exists(outputPath())) << c.name;
    }
}

TEST_F(AdifExportTest, eightBitAnswersAreWrittenAsTheirBytes)
{
    log = test::logOf({ { "K1AB", "599", "MA", "599", "USA", "2026/02/21", "00:03:05", "20", "" } });
    dialogs.inputs = { QStringLiteral("100"), QString::fromLatin1("\xC5land via K1AB") };
    dialogs.files = { QString::fromStdString(outputPath()) };

    exportNow();

    EXPECT_NE(readBytes(outputPath()).find("<Comment:14>\xC5land via K1AB\r\n<eor>\r\n"), std::string::npos);
}

TEST(GeneralDateTimeText, isTheLocalesShortDateAndItsTimeWithSeconds)
{
    const DateTime t { 2026, 2, 21, 14, 5, 9 };
    EXPECT_EQ(generalDateTimeText(t, QLocale(QLocale::English, QLocale::UnitedStates)), "2/21/26 2:05:09 PM");
    EXPECT_EQ(generalDateTimeText(t, QLocale(QLocale::German, QLocale::Germany)), "21.02.26 14:05:09");
    EXPECT_EQ(generalDateTimeText(t, QLocale(QLocale::English, QLocale::UnitedKingdom)), "21/02/2026 14:05:09");
}

TEST(CopyListedContacts, putsTheListedRowsOnTheClipboardBottomRowFirst)
{
    const ContestLog log = test::logOf({
        { "K1ABC", "599", "MA", "599", "USA", "2026/02/21", "00:00:12", "20", "14.0251" },
        { "OH0/W1AW", "599", "CT", "599", "\xC5land Islands", "2026/02/22", "9:05", "160", "" },
        { "VE3XYZ", "579", "ON", "599", "Canada", "2026/02/21", "00:01:40", "40", "" },
    });
    ScriptedDialogs dialogs;
    dialogs.clipboard = QStringLiteral("something copied before");

    copyListToClipboard(log, { 3, 2, 1 }, dialogs);

    EXPECT_EQ(dialogs.clipboard,
        QStringLiteral("Rec#\tCall\tRec\tSt/Pr\tSnt\tDate\tTime\tBnd\tCountry\r\n"
                       "1\tK1ABC\t599\tMA\t599\t02/21\t00:00\t20\tUSA\r\n"
                       "2\tOH0/W1AW\t599\tCT\t599\t02/22\t09:05\t160\t")
            + QChar(0x00C5)
            + QStringLiteral("land Islands\r\n"
                             "3\tVE3XYZ\t579\tON\t599\t02/21\t00:01\t40\tCanada\r\n"));
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace brindle
