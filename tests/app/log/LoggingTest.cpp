#include "StartedMainWindow.h"

#include "log/LogMessages.h"
#include "support/FileSizeLimit.h"
#include "ui/Colours.h"

#include <QAction>
#include <QPushButton>

namespace brindle {
namespace {

using test::readBytes;

const std::string InitialLog = test::fixture("log/two_bands_three_contacts.txt");

// The started form with the operating clock running, as during the contest.
class LoggingTest : public test::StartedMainWindow
{
protected:
    void SetUp() override
    {
        test::StartedMainWindow::SetUp();
        startClock();
    }
    void type(const char* name, const char* keys)
    {
        QTest::keyClicks(field(name), QString::fromLatin1(keys));
    }
    void key(const char* name, Qt::Key k)
    {
        QTest::keyClick(field(name), k);
    }
    QWidget* focused()
    {
        return QApplication::focusWidget();
    }
    // What the logging step appended to the fixture log.
    std::string appended()
    {
        return readBytes(logPath()).substr(InitialLog.size());
    }
    void fill(const char* call, const char* rstRcvd, const char* section, const char* rstSent, const char* country)
    {
        field("callField")->setText(QString::fromLatin1(call));
        field("rstRcvdField")->setText(QString::fromLatin1(rstRcvd));
        field("sectionField")->setText(QString::fromLatin1(section));
        field("rstSentField")->setText(QString::fromLatin1(rstSent));
        field("countryField")->setText(QString::fromLatin1(country));
    }
    QAction* action(const char* name)
    {
        return form->findChild<QAction*>(QString::fromLatin1(name));
    }
};

TEST_F(LoggingTest, aWholeExchangeIsTypedWithoutTabAndLogged)
{
    type("callField", "k1abc5");
    EXPECT_EQ(field("callField")->text(), "K1ABC");
    EXPECT_EQ(focused(), field("rstRcvdField"));
    EXPECT_EQ(field("rstRcvdField")->text(), "5");
    EXPECT_EQ(field("rstSentField")->text(), "599") << "leaving the call filled in the report sent";
    EXPECT_EQ(field("countryField")->text(), "USA");

    type("rstRcvdField", "79m");
    EXPECT_EQ(field("rstRcvdField")->text(), "579");
    EXPECT_EQ(focused(), field("sectionField"));
    EXPECT_EQ(field("sectionField")->text(), "M");
    type("sectionField", "a ");
    EXPECT_EQ(field("sectionField")->text(), "MA");
    EXPECT_EQ(focused(), field("rstSentField"));
    key("rstSentField", Qt::Key_Return);

    EXPECT_EQ(appended(), "\"K1ABC\",\"579\",\"MA\",\"599\",\"USA\",\"2026/02/21\",\"14:05:30\",\"20\",\"\"\r\n");
    for (const char* name : { "callField", "rstRcvdField", "sectionField", "rstSentField", "countryField" }) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    EXPECT_EQ(focused(), field("callField"));
    EXPECT_EQ(text("totalContactsLabel"), "4");
    EXPECT_EQ(text("scoreLabel"), "36");
    EXPECT_EQ(text("messageLabel"), " ");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(LoggingTest, aDigitStaysInTheCallUnlessTheCallIsComplete)
{
    const struct
    {
        const char* call;
        const char* afterDigit;
        bool handedOn;
    } cases[] = {
        { "K1ABC", "K1ABC", true },
        { "K1", "K15", false },
        { "4X4AB2", "4X4AB25", false },
        { "W1AW/3", "W1AW/35", false },
        { "W1AW/P", "W1AW/P5", false },
        { "KAB", "KAB5", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        form->clearEntry();
        field("callField")->setText(QString::fromLatin1(c.call));
        type("callField", "5");
        EXPECT_EQ(field("callField")->text(), c.afterDigit);
        EXPECT_EQ(focused(), c.handedOn ? field("rstRcvdField") : field("callField"));
        EXPECT_EQ(field("rstRcvdField")->text(), c.handedOn ? "5" : "");
    }
}

TEST_F(LoggingTest, aLetterInTheReportSentBeginsTheCountry)
{
    field("rstSentField")->setFocus();
    type("rstSentField", "57j");
    EXPECT_EQ(field("rstSentField")->text(), "57");
    EXPECT_EQ(focused(), field("countryField"));
    EXPECT_EQ(field("countryField")->text(), "Japan");
    EXPECT_EQ(field("countryField")->selectedText(), "apan");
    EXPECT_EQ(text("continentLabel"), "AS");
}

TEST_F(LoggingTest, spaceMovesOnAndDoubleQuotesNeverReachAField)
{
    type("callField", "K1\"ABC ");
    EXPECT_EQ(field("callField")->text(), "K1ABC");
    EXPECT_EQ(focused(), field("rstRcvdField"));
    field("rstRcvdField")->clear();
    type("rstRcvdField", "5\"9 ");
    EXPECT_EQ(field("rstRcvdField")->text(), "59");
    EXPECT_EQ(focused(), field("sectionField"));
    field("sectionField")->clear();
    type("sectionField", "o\"n ");
    EXPECT_EQ(field("sectionField")->text(), "ON");
    EXPECT_EQ(focused(), field("rstSentField"));
    field("rstSentField")->setText(QStringLiteral("5"));
    type("rstSentField", " ");
    EXPECT_EQ(focused(), field("countryField"));
    field("countryField")->clear();
    type("countryField", " ");
    EXPECT_NE(focused(), field("countryField")) << "a blank at the start of the country moves on";
}

TEST_F(LoggingTest, reportsHoldThreeCharactersInCw)
{
    field("rstRcvdField")->setFocus();
    type("rstRcvdField", "59999");
    EXPECT_EQ(field("rstRcvdField")->text(), "599");
}

TEST_F(LoggingTest, refusedContactsSayWhyAndKeepTheirFields)
{
    const struct
    {
        const char* call;
        const char* section;
        const char* rstSent;
        const char* message;
        const char* focus;
        int beeps;
    } cases[] = {
        { "K1ABC", "XX", "599", "Invald Section!", "sectionField", 1 },
        { "K1", "MA", "599", "Need Call Sign!", "callField", 1 },
        { "K1ABC", "", "599", "Need Section!", "sectionField", 1 },
        { "K1ABC", "MA", "", "Need Report Sent!", "rstSentField", 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        dialogs.beeps = 0;
        fill(c.call, "599", c.section, c.rstSent, "USA");
        field("sectionField")->setFocus();
        key("sectionField", Qt::Key_Return);
        EXPECT_EQ(text("messageLabel"), c.message);
        EXPECT_EQ(focused(), field(c.focus));
        EXPECT_EQ(dialogs.beeps, c.beeps);
        EXPECT_EQ(field("callField")->text(), c.call);
        EXPECT_EQ(field("sectionField")->text(), c.section);
        EXPECT_EQ(field("countryField")->text(), "USA");
        EXPECT_EQ(readBytes(logPath()), InitialLog);
    }
}

TEST_F(LoggingTest, enterWithEveryFieldEmptyBeepsFiveTimes)
{
    key("callField", Qt::Key_Return);
    EXPECT_EQ(dialogs.beeps, 5);
    EXPECT_EQ(text("messageLabel"), "Need Call Sign!");
    EXPECT_EQ(focused(), field("callField"));
    EXPECT_EQ(readBytes(logPath()), InitialLog);
}

TEST_F(LoggingTest, sectionsAreCheckedWithoutCaseAndStoredAsTyped)
{
    fill(" k1abc ", "599", "ma", "599", " United States  ");
    form->logContact();
    EXPECT_EQ(
        appended(), "\"k1abc\",\"599\",\"ma\",\"599\",\"United States\",\"2026/02/21\",\"14:05:30\",\"20\",\"\"\r\n");
}

TEST_F(LoggingTest, aDuplicateIsNotLoggedAndKeepsNothing)
{
    fill("K1AB", "599", "MA", "599", "USA");
    key("callField", Qt::Key_Return);
    EXPECT_EQ(text("messageLabel"), "Duplicate K1AB MA 2026/02/21 14:05:30 ON 20  Rec# 1");
    EXPECT_EQ(readBytes(logPath()), InitialLog);
    for (const char* name : { "callField", "rstRcvdField", "sectionField", "rstSentField", "countryField" }) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    EXPECT_EQ(focused(), field("callField"));
}

TEST_F(LoggingTest, aNewSectionIsCountedAndPaintedAtOnce)
{
    EXPECT_EQ(text("sectionsWorkedLabel"), "2");
    fill("W1AW", "599", "CT", "599", "USA");
    EXPECT_TRUE(widget("newSectionMarker")->isVisible());
    form->logContact();
    EXPECT_EQ(text("sectionsWorkedLabel"), "3");
    EXPECT_EQ(text("multipliersLabel"), "4");
    EXPECT_EQ(textColour(form->findChild<QLabel*>(QStringLiteral("sectionLabel_CT"))), fromBgr(0x00C000));
    EXPECT_FALSE(widget("newSectionMarker")->isVisible());
}

TEST_F(LoggingTest, aContactThatCannotBeWrittenStaysOnTheScreen)
{
    fill("K1ABC", "599", "MA", "599", "USA");
    {
        test::FileSizeLimit full(InitialLog.size());
        form->logContact();
    }
    EXPECT_EQ(readBytes(logPath()), InitialLog);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Log File Not Written");
    EXPECT_TRUE(dialogs.shown[0].text.startsWith("This contact was NOT logged"));
    EXPECT_EQ(field("callField")->text(), "K1ABC");
    EXPECT_EQ(form->workingLog().log().count(), 3);
    EXPECT_EQ(text("totalContactsLabel"), "3");

    form->logContact();
    EXPECT_EQ(form->workingLog().log().count(), 4);
    EXPECT_EQ(field("callField")->text(), "");
}

TEST_F(LoggingTest, clearEmptiesTheEntry)
{
    fill("K1ABC", "599", "MA", "599", "USA");
    auto* clear = static_cast<QPushButton*>(widget("clearButton"));
    EXPECT_EQ(clear->shortcut(), QKeySequence(QStringLiteral("Alt+C")));
    QTest::mouseClick(clear, Qt::LeftButton);
    for (const char* name : { "callField", "rstRcvdField", "sectionField", "rstSentField", "countryField" }) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    EXPECT_EQ(text("messageLabel"), " ");
    EXPECT_EQ(focused(), field("callField"));
    EXPECT_EQ(clear->toolTip(), "Click to clear entry fields or press ALT C");
}

TEST_F(LoggingTest, clocksShowLocalAndUtcTime)
{
    clock.local = { 2026, 2, 21, 15, 7, 9 };
    form->tickClocks();
    EXPECT_EQ(text("localTimeLabel"), "3:07:09");
    EXPECT_EQ(text("amPmLabel"), "PM");
    EXPECT_EQ(text("utcTimeLabel"), "15:07:09");
}

TEST_F(LoggingTest, newLogTwiceInOneMinuteKeepsBothErasedLogs)
{
    std::filesystem::create_directories(folders.backupDir);
    dialogs.inputs.push_back(QStringLiteral("YES"));
    action("newLogAction")->trigger();
    fill("K1ABC", "599", "MA", "599", "USA");
    form->logContact();
    const std::string oneContact = readBytes(logPath());
    ASSERT_EQ(oneContact, "\"K1ABC\",\"599\",\"MA\",\"599\",\"USA\",\"2026/02/21\",\"14:05:30\",\"20\",\"\"\r\n");

    dialogs.inputs.push_back(QStringLiteral("YES"));
    action("newLogAction")->trigger();
    EXPECT_EQ(readBytes(logPath()), "");
    EXPECT_EQ(readBytes(folders.backupDir + "/202602211405.log"), InitialLog);
    EXPECT_EQ(readBytes(folders.backupDir + "/202602211405-2.log"), oneContact);
}

TEST_F(LoggingTest, postContestContactsCarryTheirOwnDateAndTime)
{
    EXPECT_FALSE(widget("postContestDateField")->isVisible());
    action("postContestAction")->trigger();
    EXPECT_TRUE(widget("postContestDateField")->isVisible());
    EXPECT_TRUE(widget("postContestTimeCaption")->isVisible());

    field("postContestDateField")->setFocus();
    EXPECT_EQ(field("postContestDateField")->text(), "2026/02/21") << "today's local date";
    field("postContestDateField")->clear();
    type("postContestDateField", "2026/2a/22");
    EXPECT_EQ(field("postContestDateField")->text(), "2026/2/22");
    type("postContestDateField", " ");
    EXPECT_NE(focused(), field("postContestDateField"));
    field("postContestTimeField")->setFocus();
    type("postContestTimeField", "9x3/4");
    EXPECT_EQ(field("postContestTimeField")->text(), "934");

    fill("K1ABC", "599", "MA", "599", "USA");
    form->logContact();
    EXPECT_EQ(appended(), "\"K1ABC\",\"599\",\"MA\",\"599\",\"USA\",\"2026/02/22\",\"09:34\",\"20\",\"\"\r\n");
    EXPECT_EQ(field("postContestTimeField")->text(), "09:34") << "the next contact keeps the time";
    EXPECT_EQ(field("postContestDateField")->text(), "2026/02/22");
}

TEST_F(LoggingTest, impossiblePostContestTimesAndDatesAreRefused)
{
    action("postContestAction")->trigger();
    const struct
    {
        const char* date;
        const char* time;
        const char* message;
    } cases[] = {
        { "2026/02/21", "25:00", "Invalid time format!" },
        { "2026/02/30", "12:00", "Invalid date format!" },
        { "", "12:00", "Invalid date format!" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        dialogs.beeps = 0;
        fill("K1ABC", "599", "MA", "599", "USA");
        field("postContestDateField")->setText(QString::fromLatin1(c.date));
        field("postContestTimeField")->setText(QString::fromLatin1(c.time));
        form->logContact();
        EXPECT_EQ(text("messageLabel"), c.message);
        EXPECT_EQ(dialogs.beeps, 1);
        EXPECT_EQ(field("callField")->text(), "K1ABC");
        EXPECT_EQ(readBytes(logPath()), InitialLog);
    }
}

// The form as it starts: the operating clock stopped.
class ClockStoppedTest : public LoggingTest
{
protected:
    void SetUp() override
    {
        test::StartedMainWindow::SetUp();
    }
};

TEST_F(ClockStoppedTest, everyKeyInTheCallAsksForTheClockAndEnterStartsIt)
{
    type("callField", "K1");
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(text("messageLabel"), "Click Log \"Time On\"!");
    type("callField", "A");
    EXPECT_EQ(dialogs.beeps, 3);
    EXPECT_FALSE(form->operatingState().timeOn);

    key("callField", Qt::Key_Return);
    EXPECT_TRUE(form->operatingState().timeOn) << "even though the contact is refused";
    EXPECT_EQ(readBytes(logPath()), InitialLog);
}

TEST_F(ClockStoppedTest, aDoubleQuoteAndAHandedOnDigitAskForTheClockLikeEveryOtherKey)
{
    type("callField", "K1ABC");
    ASSERT_EQ(dialogs.beeps, 5);
    type("callField", "\"");
    EXPECT_EQ(dialogs.beeps, 6) << "the double quote is dropped, but the operator is told";
    type("callField", "5");
    EXPECT_EQ(dialogs.beeps, 7) << "the digit that begins the report";
    EXPECT_EQ(field("rstRcvdField")->text(), "5");
    EXPECT_EQ(text("messageLabel"), "Click Log \"Time On\"!");
}

// Shown on a display with no window manager: nothing but the window itself makes it active.
class NoWindowManagerTest : public LoggingTest
{
protected:
    void showWindow() override
    {
        form->show();
        QCoreApplication::processEvents();
    }
};

TEST_F(NoWindowManagerTest, theWindowMakesItselfActiveSoLeavingTheCallRunsItsSteps)
{
    EXPECT_TRUE(form->isActiveWindow());
    type("callField", "ve2abc ");
    EXPECT_EQ(field("sectionField")->text(), "QC");
    EXPECT_EQ(field("rstSentField")->text(), "599");
}

// A window that never becomes the active one gets no focus events at all.
class NeverActiveTest : public LoggingTest
{
protected:
    void showWindow() override
    {
        form->setAttribute(Qt::WA_ShowWithoutActivating);
        form->show();
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(nullptr);
    }
};

TEST_F(NeverActiveTest, spaceAndTheReportsDigitStillRunTheCallsSteps)
{
    ASSERT_FALSE(form->isActiveWindow());
    type("callField", "ve2abc ");
    EXPECT_EQ(field("sectionField")->text(), "QC");
    EXPECT_EQ(field("rstSentField")->text(), "599");
    EXPECT_EQ(form->focusWidget(), field("rstRcvdField"));

    form->clearEntry();
    type("callField", "k1abc5");
    EXPECT_EQ(field("rstSentField")->text(), "599") << "the digit that begins the report leaves the call too";
    EXPECT_EQ(field("rstRcvdField")->text(), "5");
}

// A phone station.
class PhoneModeEntryTest : public LoggingTest
{
protected:
    DefaultData initialDefaults() const override
    {
        DefaultData d = LoggingTest::initialDefaults();
        d.mode = "PH";
        return d;
    }
};

TEST_F(PhoneModeEntryTest, reportsHoldTwoCharactersInPhoneFromTheStart)
{
    for (const char* name : { "rstRcvdField", "rstSentField" }) {
        field(name)->setFocus();
        type(name, "599");
        EXPECT_EQ(field(name)->text(), "59") << name;
    }
}

// An operator three hours behind UTC.
class WestOfUtcTest : public LoggingTest
{
protected:
    void SetUp() override
    {
        clock.utc = { 2026, 2, 21, 17, 5, 30 };
        LoggingTest::SetUp();
    }
    DefaultData initialDefaults() const override
    {
        DefaultData d = LoggingTest::initialDefaults();
        d.utcOffsetHours = 3;
        return d;
    }
};

TEST_F(WestOfUtcTest, theRecordCarriesTheUtcDateAndTime)
{
    clock.local = { 2026, 2, 21, 22, 30, 0 };
    fill("K1ABC", "599", "MA", "599", "USA");
    form->logContact();
    EXPECT_EQ(appended(), "\"K1ABC\",\"599\",\"MA\",\"599\",\"USA\",\"2026/02/22\",\"01:30:00\",\"20\",\"\"\r\n");
    form->tickClocks();
    EXPECT_EQ(text("localTimeLabel"), "10:30:00");
    EXPECT_EQ(text("utcTimeLabel"), "01:30:00");
}

} // namespace
} // namespace brindle
