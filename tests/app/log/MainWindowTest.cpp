#include "log/MainWindow.h"

#include "log/LogMessages.h"
#include "os/PosixFileSystem.h"
#include "station/QtSettingsStore.h"
#include "station/SharedPreferences.h"
#include "station/StationSetupDialog.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"
#include "support/StationSamples.h"
#include "support/TempFolder.h"
#include "ui/Colours.h"
#include "ui/WindowScaling.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

namespace brindle {
namespace {

using test::fixture;
using test::readBytes;
using test::writeBytes;
using Answer = OperatorDialogs::Answer;

constexpr std::uint32_t Worked = 0x00C000;
constexpr std::uint32_t Remaining = 0x0000FF;

DefaultData stationDefaults()
{
    DefaultData d = test::sampleDefaults();
    d.country = "Fed. Rep. of Germany";
    d.continent = "EU";
    d.longitude = -7.5f;
    d.latitude = 51.25f;
    d.formSizePercent = 100;
    d.taskbarOption = 1;
    return d;
}

// A working folder with default data and a log, and a main window over it with scripted dialogs.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(folders.workingDir);
        std::filesystem::create_directories(folders.backupDir);
        writeBytes(folders.workingDir + "/inprefDX.txt", formatDefaultData(stationDefaults()));
        writeBytes(logPath(), fixture("log/two_bands_three_contacts.txt"));
        std::filesystem::create_directories(folders.sharedDir);
        shared.load(folders.sharedDir + "/SharedUserPreferences.xml");
        // Station setup appears at every start; by default the operator just confirms it.
        dialogs.onModal = [this](QDialog& dialog) {
            ++setupsShown;
            static_cast<StationSetupDialog&>(dialog).publishStation();
        };
    }

    std::string logPath() const
    {
        return folders.workingDir + "/log.txt";
    }

    MainWindow& form()
    {
        if (!m_form) {
            m_form = std::make_unique<MainWindow>(MainWindowServices {
                fs, clock, dialogs, settings, shared, folders, [this](int code) { endedWith = code; } });
        }
        return *m_form;
    }

    // Starts the form answering Yes to "continue the existing contest?".
    void startContinuing()
    {
        dialogs.answers.push_back(Answer::Yes);
        ASSERT_TRUE(form().startUp());
        dialogs.shown.clear();
    }

    template <class T> T* child(const char* name)
    {
        return form().findChild<T*>(QString::fromLatin1(name));
    }
    QString text(const char* label)
    {
        return child<QLabel>(label)->text();
    }
    QColor colourOf(const char* label)
    {
        return textColour(child<QLabel>(label));
    }
    std::vector<std::string> backups() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folders.backupDir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    test::TempFolder temp;
    ProgramFolders folders { temp.file("work"), temp.file("data"), temp.file("shared"), temp.file("data/BACKUP") };
    PosixFileSystem fs;
    test::ManualClock clock;
    test::ScriptedDialogs dialogs;
    QtSettingsStore settings;
    SharedPreferences shared { fs };
    int endedWith = -1;
    int setupsShown = 0;

private:
    std::unique_ptr<MainWindow> m_form;
};

TEST_F(MainWindowTest, startUpLoadsTheLogOnTheSavedBandAndAsksToContinue)
{
    dialogs.answers.push_back(Answer::Yes);
    ASSERT_TRUE(form().startUp());

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Open existing log?");
    EXPECT_EQ(dialogs.shown[0].text,
        "Do you want to continue an existing contest? (Yes opens your existing log, No "
        "erases any existing log and starts a new log.)");
    EXPECT_EQ(dialogs.shown[0].buttons, OperatorDialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs.shown[0].icon, OperatorDialogs::Icon::Question);

    EXPECT_EQ(form().workingLog().log().count(), 3);
    EXPECT_EQ(text("totalContactsLabel"), "3");
    EXPECT_EQ(text("bandLabel"), "20");
    EXPECT_EQ(text("modeLabel"), "CW");
    EXPECT_EQ(text("messageLabel"), "Select a band from the menu bar and click Log \"Time On\" below!");
    EXPECT_TRUE(child<QAction>("bandAction_20")->isChecked());
    EXPECT_FALSE(child<QAction>("bandAction_40")->isChecked());
    EXPECT_EQ(endedWith, -1);
}

TEST_F(MainWindowTest, theLoadedStationIsShownEvenWhenTheSetupIsClosedWithoutDone)
{
    dialogs.onModal = [](QDialog& dialog) { dialog.reject(); };
    startContinuing();
    EXPECT_EQ(text("ownCallLabel"), QString::fromStdString(stationDefaults().ownCall));
    EXPECT_EQ(text("powerLabel"), QString::fromStdString(stationDefaults().power));
    EXPECT_EQ(text("modeLabel"), "CW");
}

TEST_F(MainWindowTest, gridShowsSectionsWorkedOnTheCurrentBandOnly)
{
    startContinuing();
    EXPECT_EQ(text("sectionLabel_MA"), "MA");
    EXPECT_EQ(child<QLabel>("sectionLabel_MA")->toolTip(), "Massachusetts");
    EXPECT_EQ(text("sectionLabel_PEI"), "PEI");
    EXPECT_EQ(text("sectionsWorkedLabel"), "2"); // MA and NY on 20 m
    EXPECT_EQ(colourOf("sectionLabel_MA"), fromBgr(Worked));
    EXPECT_EQ(colourOf("sectionLabel_ON"), fromBgr(Remaining)); // ON, worked on 40 m only

    form().changeBand("40");
    EXPECT_EQ(text("sectionsWorkedLabel"), "1");
    EXPECT_EQ(colourOf("sectionLabel_MA"), fromBgr(Remaining));
    EXPECT_EQ(colourOf("sectionLabel_ON"), fromBgr(Worked));
}

TEST_F(MainWindowTest, bandChangeSavesAllDefaultDataAndMovesTheCheckMark)
{
    startContinuing();
    form().changeBand("15");

    DefaultData expected = stationDefaults();
    expected.band = "15";
    EXPECT_EQ(readBytes(folders.workingDir + "/inprefDX.txt"), formatDefaultData(expected));
    EXPECT_EQ(text("bandLabel"), "15");
    EXPECT_TRUE(child<QAction>("bandAction_15")->isChecked());
    EXPECT_FALSE(child<QAction>("bandAction_20")->isChecked());
}

TEST_F(MainWindowTest, bandLabelClickCyclesThroughTheBands)
{
    startContinuing();
    form().changeBand("10");
    QTest::mouseClick(child<QLabel>("bandLabel"), Qt::LeftButton);
    EXPECT_EQ(form().operatingState().currentBand, "160");
    QTest::mouseClick(child<QLabel>("bandLabel"), Qt::LeftButton);
    EXPECT_EQ(form().operatingState().currentBand, "80");
}

TEST_F(MainWindowTest, bandMenuItemChangesTheBand)
{
    startContinuing();
    child<QAction>("bandAction_40")->trigger();
    EXPECT_EQ(form().operatingState().currentBand, "40");
    EXPECT_TRUE(child<QAction>("bandAction_40")->isChecked());
}

TEST_F(MainWindowTest, onAScreenTwiceTheCanvasEveryPartsControlsLandAtTwiceTheirDesignPlace)
{
    scaleMainWindow(form(), { QSize(1280, 960), QRect(0, 0, 1280, 960) });
    const QWidget* canvas = form().centralWidget();
    const struct
    {
        const char* name;
        QRect design;
    } cases[] = {
        { "callField", QRect(8, 34, 100, 20) },
        { "sectionLabel_MA", QRect(8, 362, 52, 13) },
        { "contactList", QRect(220, 122, 412, 192) },
        { "partialSearchButton", QRect(170, 248, 42, 18) },
        { "timeOnButton", QRect(8, 224, 140, 22) },
        { "bandLabel", QRect(38, 2, 40, 16) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QWidget* control = child<QWidget>(c.name);
        ASSERT_NE(control, nullptr);
        const QRect onCanvas(control->mapTo(canvas, QPoint(0, 0)), control->size());
        EXPECT_EQ(onCanvas, QRect(c.design.x() * 2, c.design.y() * 2, c.design.width() * 2, c.design.height() * 2));
    }
}

TEST_F(MainWindowTest, damagedLogShowsFileErrorEndsTheProgramAndLeavesTheFile)
{
    for (const char* damaged : { "log/quote_inside_field.txt", "log/eight_fields_last_record.txt" }) {
        SCOPED_TRACE(damaged);
        writeBytes(logPath(), fixture(damaged));
        dialogs.shown.clear();
        endedWith = -1;
        MainWindow fresh(MainWindowServices {
            fs, clock, dialogs, settings, shared, folders, [this](int code) { endedWith = code; } });

        EXPECT_FALSE(fresh.startUp());
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].title, "File Error");
        EXPECT_EQ(dialogs.shown[0].text.toStdString(), logmsg::FileErrorText);
        EXPECT_EQ(endedWith, 1);
        EXPECT_EQ(readBytes(logPath()), fixture(damaged));
    }
}

TEST_F(MainWindowTest, missingLogFileIsALoadFailure)
{
    std::filesystem::remove(logPath());
    EXPECT_FALSE(form().startUp());
    EXPECT_EQ(dialogs.titles(), QStringList { "File Error" });
    EXPECT_EQ(endedWith, 1);
}

TEST_F(MainWindowTest, unreadableDefaultDataStopsStartUpWithoutTouchingAnything)
{
    const std::string lines16
        = "\"\"\r\n\"100\"\r\n0\r\n\"CW\"\r\n\"20\"\r\n0\r\n\"\"\r\n\"\"\r\n0\r\n0\r\n100\r\n0\r\n"
          "\"None\"\r\n1\r\n0\r\n49152\r\n";
    const std::string textAsNumber = lines16 + "\"red\"\r\n";
    for (const std::string* content : { static_cast<const std::string*>(nullptr), &lines16, &textAsNumber }) {
        SCOPED_TRACE(content ? *content : std::string("missing"));
        const std::string path = folders.workingDir + "/inprefDX.txt";
        std::filesystem::remove(path);
        if (content) {
            writeBytes(path, *content);
        }
        dialogs.shown.clear();
        dialogs.beeps = 0;
        MainWindow fresh(MainWindowServices {
            fs, clock, dialogs, settings, shared, folders, [this](int code) { endedWith = code; } });

        EXPECT_FALSE(fresh.startUp());
        EXPECT_EQ(dialogs.beeps, 1);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].title, "Error opening default data.");
        EXPECT_EQ(dialogs.shown[0].text,
            "Error loading default data .  Check to make sure inpref.txt is in your working directory.");
        EXPECT_EQ(fresh.workingLog().log().count(), 0);
        EXPECT_EQ(std::filesystem::exists(path), content != nullptr);
        if (content) {
            EXPECT_EQ(readBytes(path), *content);
        }
    }
}

TEST_F(MainWindowTest, newLogAtStartUpErasesOnlyAfterTypedYesInAnyCase)
{
    struct Case
    {
        std::optional<QString> typed;
        bool erased;
    };
    for (const Case& c : { Case { QStringLiteral("yes"), true }, Case { QStringLiteral("YeS"), true },
             Case { QStringLiteral("Y"), false }, Case { std::nullopt, false } }) {
        SCOPED_TRACE(c.typed.value_or(QStringLiteral("<cancel>")).toStdString());
        writeBytes(logPath(), fixture("log/two_bands_three_contacts.txt"));
        std::filesystem::remove_all(folders.backupDir);
        dialogs.shown.clear();
        dialogs.answers.push_back(Answer::No);
        dialogs.inputs.push_back(c.typed);
        MainWindow fresh(MainWindowServices {
            fs, clock, dialogs, settings, shared, folders, [this](int code) { endedWith = code; } });

        ASSERT_TRUE(fresh.startUp());
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_EQ(dialogs.shown[1].kind, "input");
        EXPECT_EQ(dialogs.shown[1].title, "WARNING - Your existing log file will be ERASED!");
        EXPECT_EQ(dialogs.shown[1].text,
            "Are you sure that you want to start a new log file?  This function will "
            "ERASE the existing log file!\r\n\r\nTo verify that you want to start a new "
            "log file, please type: YES");
        EXPECT_EQ(dialogs.shown[1].proposed, "");
        EXPECT_EQ(fresh.workingLog().log().count(), c.erased ? 0 : 3);
        EXPECT_EQ(readBytes(logPath()), c.erased ? "" : fixture("log/two_bands_three_contacts.txt"));
        // The erased log is kept in the backup folder, though it is the log loaded at start-up.
        EXPECT_EQ(std::filesystem::exists(folders.backupDir + "/202602211405.log"), c.erased);
    }
}

TEST_F(MainWindowTest, newLogZeroesTheOperatingTimeAndSavesIt)
{
    DefaultData d = stationDefaults();
    d.totalOnSeconds = 3725;
    writeBytes(folders.workingDir + "/inprefDX.txt", formatDefaultData(d));
    startContinuing();
    EXPECT_EQ(form().operatingState().accumulatedOnSeconds, 3725);

    dialogs.inputs.push_back(QStringLiteral("YES"));
    form().newLog();
    EXPECT_EQ(form().operatingState().accumulatedOnSeconds, 0);
    EXPECT_EQ(form().operatingState().totalOnSeconds, 0);
    d.totalOnSeconds = 0;
    EXPECT_EQ(readBytes(folders.workingDir + "/inprefDX.txt"), formatDefaultData(d));
}

TEST_F(MainWindowTest, newLogIsRefusedWhenTheLogCannotBeBackedUpFirst)
{
    DefaultData d = stationDefaults();
    d.totalOnSeconds = 3725;
    writeBytes(folders.workingDir + "/inprefDX.txt", formatDefaultData(d));
    startContinuing();
    std::filesystem::remove_all(folders.backupDir);
    writeBytes(folders.backupDir, "a file where the backup folder should be");

    dialogs.inputs.push_back(QStringLiteral("YES"));
    form().newLog();
    EXPECT_EQ(readBytes(logPath()), fixture("log/two_bands_three_contacts.txt"));
    EXPECT_EQ(form().workingLog().log().count(), 3);
    EXPECT_EQ(form().operatingState().accumulatedOnSeconds, 3725);
    EXPECT_EQ(readBytes(folders.workingDir + "/inprefDX.txt"), formatDefaultData(d));
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].title, "Log File Not Written");
    EXPECT_EQ(dialogs.shown[1].text.toStdString(),
        "A new log was NOT started: log.txt could not be copied into the backup folder first, and erasing it "
        "without that copy could lose its contacts.  log.txt was left as it was.\r\n\r\n"
            + std::string(std::strerror(EEXIST)) + "  " + folders.backupDir);
    EXPECT_EQ(dialogs.shown[1].icon, OperatorDialogs::Icon::Critical);
}

TEST_F(MainWindowTest, closingBacksUpOnlyWhenTheCountChangedSinceTheFirstLoad)
{
    startContinuing();
    form().close();
    EXPECT_TRUE(backups().empty());
}

TEST_F(MainWindowTest, closingAfterMoreContactsMakesATimestampedBackup)
{
    startContinuing();
    const std::string extra = "\"JA1XYZ\",\"599\",\"TX\",\"599\",\"Japan\",\"2026/02/21\",\"14:09:00\",\"20\",\"\"\r\n";
    writeBytes(logPath(), fixture("log/two_bands_three_contacts.txt") + extra);
    form().changeBand("20"); // reloads the file
    ASSERT_EQ(form().workingLog().log().count(), 4);

    clock.local = { 2026, 2, 22, 9, 7, 0 };
    form().close();
    EXPECT_EQ(backups(), std::vector<std::string> { "202602220907.log" });
    EXPECT_EQ(readBytes(folders.backupDir + "/202602220907.log"), readBytes(logPath()));
}

TEST_F(MainWindowTest, exitEndsAtOnceWithoutABackup)
{
    startContinuing();
    writeBytes(logPath(), "");
    form().changeBand("20");
    ASSERT_TRUE(form().workingLog().backupDue() == false); // empty log: nothing to back up anyway
    writeBytes(logPath(), fixture("log/two_bands_three_contacts.txt") + fixture("log/two_bands_three_contacts.txt"));
    form().changeBand("20");
    ASSERT_TRUE(form().workingLog().backupDue());

    child<QAction>("exitAction")->trigger();
    EXPECT_EQ(endedWith, 0);
    form().close(); // the window going away afterwards must not back up either
    EXPECT_TRUE(backups().empty());
}

TEST_F(MainWindowTest, archiveCopiesTheLogUnderTheProposedName)
{
    startContinuing();
    const QString target = QString::fromStdString(folders.backupDir + "/DL1ABC2026-02-21.log");
    dialogs.files.push_back(target);
    form().archiveLog();

    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].title, "Archive Information");
    EXPECT_EQ(dialogs.shown[0].text,
        "This function is used to create a permanent copy of your currently open log "
        "file.  To open your log file at a later date, click File > Restore from "
        "Archive or Backup.");
    EXPECT_EQ(dialogs.shown[1].kind, "save");
    EXPECT_EQ(dialogs.shown[1].folder.toStdString(), folders.backupDir);
    EXPECT_EQ(dialogs.shown[1].proposed, "DL1ABC2026-02-21.log");
    EXPECT_EQ(dialogs.shown[1].filter, "Log Files (*.log) | *.log");
    EXPECT_EQ(readBytes(target.toStdString()), fixture("log/two_bands_three_contacts.txt"));
}

TEST_F(MainWindowTest, archiveCancelledOrFailedLeavesNoCopy)
{
    startContinuing();
    dialogs.files.push_back(std::nullopt);
    form().archiveLog();
    EXPECT_EQ(dialogs.titles(), (QStringList { "Archive Information", "" }));

    dialogs.shown.clear();
    dialogs.files.push_back(QString::fromStdString(temp.file("no-such-folder/copy.log")));
    form().archiveLog();
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[2].title, "Error Archiving Log");
    EXPECT_EQ(dialogs.shown[2].text, "No such file or directory");
}

TEST_F(MainWindowTest, restoreAsksFirstWhenTheLogHasContacts)
{
    startContinuing();
    const std::string archive = folders.backupDir + "/old.log";
    const std::string oneContact
        = "\"OH2BH\",\"599\",\"CA\",\"599\",\"Finland\",\"2025/02/15\",\"12:00:00\",\"15\",\"\"\r\n";
    writeBytes(archive, oneContact);

    dialogs.answers.push_back(Answer::No);
    form().restoreLog();
    EXPECT_EQ(dialogs.titles(), (QStringList { "Opening Archived Data Information", "Are your sure?" }));
    EXPECT_EQ(dialogs.shown[1].text,
        "Are you sure that you want to open an archived log?  This action will clear "
        "and replace existing QSO data.");
    EXPECT_EQ(readBytes(logPath()), fixture("log/two_bands_three_contacts.txt"));

    dialogs.shown.clear();
    dialogs.answers.push_back(Answer::Yes);
    dialogs.files.push_back(QString::fromStdString(archive));
    form().restoreLog();
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[2].kind, "open");
    EXPECT_EQ(dialogs.shown[2].folder.toStdString(), folders.backupDir);
    EXPECT_EQ(readBytes(logPath()), oneContact);
    EXPECT_EQ(form().workingLog().log().count(), 1);
    EXPECT_EQ(text("totalContactsLabel"), "1");
}

TEST_F(MainWindowTest, restoreIntoAnEmptyLogAsksNoQuestion)
{
    writeBytes(logPath(), "");
    startContinuing();
    dialogs.files.push_back(std::nullopt);
    form().restoreLog();
    EXPECT_EQ(dialogs.titles(), (QStringList { "Opening Archived Data Information", "" }));
}

TEST_F(MainWindowTest, restoreOfADamagedFileKeepsTheWorkingLog)
{
    startContinuing();
    const std::string archive = folders.backupDir + "/damaged.log";
    writeBytes(archive, fixture("log/quote_inside_field.txt"));
    dialogs.answers.push_back(Answer::Yes);
    dialogs.files.push_back(QString::fromStdString(archive));
    form().restoreLog();

    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_EQ(dialogs.shown[3].title, "Error Restoring Log");
    EXPECT_EQ(readBytes(logPath()), fixture("log/two_bands_three_contacts.txt"));
    EXPECT_EQ(form().workingLog().log().count(), 3);
    EXPECT_EQ(endedWith, -1);
}

} // namespace
} // namespace brindle

namespace brindle {
namespace {

// The main window with a country file in the working folder, started and ready for entry.
class EntryTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        writeBytes(folders.workingDir + "/arrlpre2.txt", fixture("station/main_form_countries.txt"));
        startContinuing();
        form().show();
        QApplication::setActiveWindow(&form());
        call()->setFocus();
    }
    QLineEdit* call()
    {
        return child<QLineEdit>("callField");
    }
    QLineEdit* field(const char* name)
    {
        return child<QLineEdit>(name);
    }
    void type(const char* name, const char* keys)
    {
        field(name)->setFocus();
        QTest::keyClicks(field(name), QString::fromLatin1(keys));
    }
};

TEST_F(EntryTest, startUpShowsStationSetupOnce)
{
    EXPECT_EQ(setupsShown, 1);
    EXPECT_EQ(text("ownCallLabel"), "DL1ABC");
    EXPECT_EQ(text("powerLabel"), "100");
}

TEST_F(EntryTest, setupInPhoneShortensTheReportsAndSavesTheMode)
{
    dialogs.onModal = [](QDialog& dialog) {
        auto& setup = static_cast<StationSetupDialog&>(dialog);
        setup.m_phoneOption->setChecked(true);
        setup.m_powerField->setText(QStringLiteral("1KW"));
        setup.publishStation();
    };
    form().runStationSetup();
    EXPECT_EQ(text("modeLabel"), "PH");
    EXPECT_EQ(text("powerLabel"), "1KW");
    EXPECT_EQ(field("rstRcvdField")->maxLength(), 2);
    EXPECT_EQ(field("rstSentField")->maxLength(), 2);
    const DefaultData saved = parseDefaultData(readBytes(folders.workingDir + "/inprefDX.txt")).value();
    EXPECT_EQ(saved.mode, "PH");
    EXPECT_EQ(saved.power, "1KW");
}

TEST_F(EntryTest, setupClosedWithoutDoneChangesNothing)
{
    dialogs.onModal = [](QDialog& dialog) {
        auto& setup = static_cast<StationSetupDialog&>(dialog);
        setup.m_phoneOption->setChecked(true);
        setup.reject();
    };
    form().runStationSetup();
    EXPECT_EQ(text("modeLabel"), "CW");
    EXPECT_EQ(field("rstRcvdField")->maxLength(), 3);
}

TEST_F(EntryTest, typedCallIsUpperCasedAndLookedUpOnEveryKey)
{
    QTest::keyClicks(call(), QStringLiteral("k\"h"));
    EXPECT_EQ(call()->text(), "KH");
    EXPECT_EQ(form().operatingState().currentCall, "KH");
    EXPECT_EQ(field("countryField")->text(), "USA");
    EXPECT_EQ(text("continentLabel"), "NA");
    QTest::keyClicks(call(), QStringLiteral("6xx"));
    EXPECT_EQ(field("countryField")->text(), "Hawaii");
    EXPECT_EQ(field("countryField")->selectedText(), "Hawaii");
    EXPECT_EQ(text("continentLabel"), "OC");
    const BearingDistance expected = bearingAndDistance(51.25, -7.5, 21.12f, 157.48f);
    EXPECT_EQ(text("bearingLabel").toStdString(), expected.bearing);
    EXPECT_EQ(text("distanceLabel").toStdString(), expected.distance);
    EXPECT_FALSE(expected.bearing.empty());

    call()->clear();
    QTest::keyClicks(call(), QStringLiteral("9a1a"));
    EXPECT_EQ(field("countryField")->text(), "Not Found");
    EXPECT_EQ(text("continentLabel"), "");
    EXPECT_EQ(text("bearingLabel"), "");
    EXPECT_EQ(text("distanceLabel"), "");
}

TEST_F(EntryTest, callFieldHoldsThirteenCharacters)
{
    QTest::keyClicks(call(), QStringLiteral("DL1ABCDEFGHIJKLMN"));
    EXPECT_EQ(call()->text(), "DL1ABCDEFGHIJ");
}

TEST_F(EntryTest, leavingTheCallFillsTheCanadianProvinceAndDefaultReports)
{
    QTest::keyClicks(call(), QStringLiteral("ve8xyz"));
    field("sectionField")->setFocus();
    EXPECT_EQ(field("sectionField")->text(), "NWT");
    EXPECT_EQ(field("sectionField")->selectedText(), "NWT");
    EXPECT_EQ(field("rstRcvdField")->text(), "599");
    EXPECT_EQ(field("rstSentField")->text(), "599");
}

TEST_F(EntryTest, tabLeavesTheCallForTheReceivedReport)
{
    QTest::keyClicks(call(), QStringLiteral("K1ABC"));
    QTest::keyClick(call(), Qt::Key_Tab);
    EXPECT_TRUE(field("rstRcvdField")->hasFocus());
    EXPECT_EQ(field("rstRcvdField")->text(), "599");
}

TEST_F(EntryTest, leavingTheCallKeepsWhatTheOperatorEntered)
{
    field("sectionField")->setText(QStringLiteral("ON"));
    field("rstSentField")->setText(QStringLiteral("579"));
    call()->setFocus();
    QTest::keyClicks(call(), QStringLiteral("VE8XYZ"));
    field("rstRcvdField")->setFocus();
    EXPECT_EQ(field("sectionField")->text(), "ON");
    EXPECT_EQ(field("rstRcvdField")->text(), "599");
    EXPECT_EQ(field("rstSentField")->text(), "579");
}

TEST_F(EntryTest, leavingAnEmptyCallFillsNothing)
{
    field("sectionField")->setFocus();
    EXPECT_EQ(field("rstRcvdField")->text(), "");
}

TEST_F(EntryTest, countryFieldCompletesFromTheTable)
{
    type("countryField", "ca");
    EXPECT_EQ(field("countryField")->text(), "Canada") << "a key at the start of the field is a capital";
    EXPECT_EQ(field("countryField")->selectedText(), "nada");
    EXPECT_EQ(text("continentLabel"), "NA");
    EXPECT_FALSE(text("bearingLabel").isEmpty());
}

TEST_F(MainWindowTest, damagedCountryFileIsReportedAndTheRestOfStartUpSkipped)
{
    writeBytes(folders.workingDir + "/arrlpre2.txt",
        "\"DL\",\"Fed. Rep. of "
        "Germany\",\"EU\",-10.00,51.00,14,28,-1\r\n\"JA\",\"Japan\",\"AS\",east,36.40,25,45,-9\r\n");
    EXPECT_TRUE(form().startUp());
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Error opening country list file.");
    EXPECT_EQ(dialogs.shown[0].text,
        "Error reading country file (arrlpre2.txt).  Using notepad, open this file and "
        "check to make sure that there are quotes around each field and that they are "
        "separated by commas.");
    EXPECT_EQ(setupsShown, 0);
    EXPECT_EQ(form().countryTable().count(), 1);
    EXPECT_EQ(form().workingLog().log().count(), 3);
}

TEST_F(MainWindowTest, countryFileInTheSharedFolderIsPreferred)
{
    writeBytes(folders.workingDir + "/arrlpre2.txt", fixture("station/main_form_countries.txt"));
    writeBytes(folders.sharedDir + "/arrlpre2.txt", "\"JA\",\"Japan\",\"AS\",-138.38,36.40,25,45,-9\r\n");
    startContinuing();
    EXPECT_EQ(form().countryTable().count(), 1);
}

} // namespace
} // namespace brindle
