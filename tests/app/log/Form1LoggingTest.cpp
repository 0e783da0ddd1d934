#include "StartedForm1.h"

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
class Form1LoggingTest : public test::StartedForm1
{
protected:
    void SetUp() override
    {
        test::StartedForm1::SetUp();
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
        field("txtCall")->setText(QString::fromLatin1(call));
        field("txtRSTR")->setText(QString::fromLatin1(rstRcvd));
        field("txtSec")->setText(QString::fromLatin1(section));
        field("txtRSTS")->setText(QString::fromLatin1(rstSent));
        field("txtCntry")->setText(QString::fromLatin1(country));
    }
    QAction* action(const char* name)
    {
        return form->findChild<QAction*>(QString::fromLatin1(name));
    }
};

TEST_F(Form1LoggingTest, aWholeExchangeIsTypedWithoutTabAndLogged)
{
    type("txtCall", "k1abc5");
    EXPECT_EQ(field("txtCall")->text(), "K1ABC");
    EXPECT_EQ(focused(), field("txtRSTR"));
    EXPECT_EQ(field("txtRSTR")->text(), "5");
    EXPECT_EQ(field("txtRSTS")->text(), "599") << "leaving the call filled in the report sent";
    EXPECT_EQ(field("txtCntry")->text(), "USA");

    type("txtRSTR", "79m");
    EXPECT_EQ(field("txtRSTR")->text(), "579");
    EXPECT_EQ(focused(), field("txtSec"));
    EXPECT_EQ(field("txtSec")->text(), "M");
    type("txtSec", "a ");
    EXPECT_EQ(field("txtSec")->text(), "MA");
    EXPECT_EQ(focused(), field("txtRSTS"));
    key("txtRSTS", Qt::Key_Return);

    EXPECT_EQ(appended(), "\"K1ABC\",\"579\",\"MA\",\"599\",\"USA\",\"2026/02/21\",\"14:05:30\",\"20\",\"\"\r\n");
    for (const char* name : { "txtCall", "txtRSTR", "txtSec", "txtRSTS", "txtCntry" }) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    EXPECT_EQ(focused(), field("txtCall"));
    EXPECT_EQ(text("lblTotCon"), "4");
    EXPECT_EQ(text("lblTotScore"), "36");
    EXPECT_EQ(text("lblDialog"), " ");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(Form1LoggingTest, aDigitStaysInTheCallUnlessTheCallIsComplete)
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
        form->cmdClear_Click();
        field("txtCall")->setText(QString::fromLatin1(c.call));
        type("txtCall", "5");
        EXPECT_EQ(field("txtCall")->text(), c.afterDigit);
        EXPECT_EQ(focused(), c.handedOn ? field("txtRSTR") : field("txtCall"));
        EXPECT_EQ(field("txtRSTR")->text(), c.handedOn ? "5" : "");
    }
}

TEST_F(Form1LoggingTest, aLetterInTheReportSentBeginsTheCountry)
{
    field("txtRSTS")->setFocus();
    type("txtRSTS", "57j");
    EXPECT_EQ(field("txtRSTS")->text(), "57");
    EXPECT_EQ(focused(), field("txtCntry"));
    EXPECT_EQ(field("txtCntry")->text(), "Japan");
    EXPECT_EQ(field("txtCntry")->selectedText(), "apan");
    EXPECT_EQ(text("Label22"), "AS");
}

TEST_F(Form1LoggingTest, spaceMovesOnAndDoubleQuotesNeverReachAField)
{
    type("txtCall", "K1\"ABC ");
    EXPECT_EQ(field("txtCall")->text(), "K1ABC");
    EXPECT_EQ(focused(), field("txtRSTR"));
    field("txtRSTR")->clear();
    type("txtRSTR", "5\"9 ");
    EXPECT_EQ(field("txtRSTR")->text(), "59");
    EXPECT_EQ(focused(), field("txtSec"));
    field("txtSec")->clear();
    type("txtSec", "o\"n ");
    EXPECT_EQ(field("txtSec")->text(), "ON");
    EXPECT_EQ(focused(), field("txtRSTS"));
    field("txtRSTS")->setText(QStringLiteral("5"));
    type("txtRSTS", " ");
    EXPECT_EQ(focused(), field("txtCntry"));
    field("txtCntry")->clear();
    type("txtCntry", " ");
    EXPECT_NE(focused(), field("txtCntry")) << "a blank at the start of the country moves on";
}

TEST_F(Form1LoggingTest, reportsHoldThreeCharactersInCw)
{
    field("txtRSTR")->setFocus();
    type("txtRSTR", "59999");
    EXPECT_EQ(field("txtRSTR")->text(), "599");
}

TEST_F(Form1LoggingTest, refusedContactsSayWhyAndKeepTheirFields)
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
        { "K1ABC", "XX", "599", "Invald Section!", "txtSec", 1 },
        { "K1", "MA", "599", "Need Call Sign!", "txtCall", 1 },
        { "K1ABC", "", "599", "Need Section!", "txtSec", 1 },
        { "K1ABC", "MA", "", "Need Report Sent!", "txtRSTS", 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        dialogs.beeps = 0;
        fill(c.call, "599", c.section, c.rstSent, "USA");
        field("txtSec")->setFocus();
        key("txtSec", Qt::Key_Return);
        EXPECT_EQ(text("lblDialog"), c.message);
        EXPECT_EQ(focused(), field(c.focus));
        EXPECT_EQ(dialogs.beeps, c.beeps);
        EXPECT_EQ(field("txtCall")->text(), c.call);
        EXPECT_EQ(field("txtSec")->text(), c.section);
        EXPECT_EQ(field("txtCntry")->text(), "USA");
        EXPECT_EQ(readBytes(logPath()), InitialLog);
    }
}

TEST_F(Form1LoggingTest, enterWithEveryFieldEmptyBeepsFiveTimes)
{
    key("txtCall", Qt::Key_Return);
    EXPECT_EQ(dialogs.beeps, 5);
    EXPECT_EQ(text("lblDialog"), "Need Call Sign!");
    EXPECT_EQ(focused(), field("txtCall"));
    EXPECT_EQ(readBytes(logPath()), InitialLog);
}

TEST_F(Form1LoggingTest, sectionsAreCheckedWithoutCaseAndStoredAsTyped)
{
    fill(" k1abc ", "599", "ma", "599", " United States  ");
    form->Mains();
    EXPECT_EQ(
        appended(), "\"k1abc\",\"599\",\"ma\",\"599\",\"United States\",\"2026/02/21\",\"14:05:30\",\"20\",\"\"\r\n");
}

TEST_F(Form1LoggingTest, aDuplicateIsNotLoggedAndKeepsNothing)
{
    fill("K1AB", "599", "MA", "599", "USA");
    key("txtCall", Qt::Key_Return);
    EXPECT_EQ(text("lblDialog"), "Duplicate K1AB MA 2026/02/21 14:05:30 ON 20  Rec# 1");
    EXPECT_EQ(readBytes(logPath()), InitialLog);
    for (const char* name : { "txtCall", "txtRSTR", "txtSec", "txtRSTS", "txtCntry" }) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    EXPECT_EQ(focused(), field("txtCall"));
}

TEST_F(Form1LoggingTest, aNewSectionIsCountedAndPaintedAtOnce)
{
    EXPECT_EQ(text("Label10_0"), "2");
    fill("W1AW", "599", "CT", "599", "USA");
    EXPECT_TRUE(widget("Label3")->isVisible());
    form->Mains();
    EXPECT_EQ(text("Label10_0"), "3");
    EXPECT_EQ(text("lblsectogo"), "4");
    EXPECT_EQ(textColour(form->findChild<QLabel*>(QStringLiteral("Label10_1"))), fromBgr(0x00C000));
    EXPECT_FALSE(widget("Label3")->isVisible());
}

TEST_F(Form1LoggingTest, aContactThatCannotBeWrittenStaysOnTheScreen)
{
    fill("K1ABC", "599", "MA", "599", "USA");
    {
        test::FileSizeLimit full(InitialLog.size());
        form->Mains();
    }
    EXPECT_EQ(readBytes(logPath()), InitialLog);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Log File Not Written");
    EXPECT_TRUE(dialogs.shown[0].text.startsWith("This contact was NOT logged"));
    EXPECT_EQ(field("txtCall")->text(), "K1ABC");
    EXPECT_EQ(form->workingLog().log().count(), 3);
    EXPECT_EQ(text("lblTotCon"), "3");

    form->Mains();
    EXPECT_EQ(form->workingLog().log().count(), 4);
    EXPECT_EQ(field("txtCall")->text(), "");
}

TEST_F(Form1LoggingTest, clearEmptiesTheEntry)
{
    fill("K1ABC", "599", "MA", "599", "USA");
    auto* clear = static_cast<QPushButton*>(widget("cmdClear"));
    EXPECT_EQ(clear->shortcut(), QKeySequence(QStringLiteral("Alt+C")));
    QTest::mouseClick(clear, Qt::LeftButton);
    for (const char* name : { "txtCall", "txtRSTR", "txtSec", "txtRSTS", "txtCntry" }) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    EXPECT_EQ(text("lblDialog"), " ");
    EXPECT_EQ(focused(), field("txtCall"));
    EXPECT_EQ(clear->toolTip(), "Click to clear entry fields or press ALT C");
}

TEST_F(Form1LoggingTest, clocksShowLocalAndUtcTime)
{
    clock.local = { 2026, 2, 21, 15, 7, 9 };
    form->Timer2_Timer();
    EXPECT_EQ(text("lblCurTime"), "3:07:09");
    EXPECT_EQ(text("Label16"), "PM");
    EXPECT_EQ(text("lblutctime"), "15:07:09");
}

TEST_F(Form1LoggingTest, postContestContactsCarryTheirOwnDateAndTime)
{
    EXPECT_FALSE(widget("txtPostConDate")->isVisible());
    action("mnuPostContest")->trigger();
    EXPECT_TRUE(widget("txtPostConDate")->isVisible());
    EXPECT_TRUE(widget("lblPostConTime")->isVisible());

    field("txtPostConDate")->setFocus();
    EXPECT_EQ(field("txtPostConDate")->text(), "2026/02/21") << "today's local date";
    field("txtPostConDate")->clear();
    type("txtPostConDate", "2026/2a/22");
    EXPECT_EQ(field("txtPostConDate")->text(), "2026/2/22");
    type("txtPostConDate", " ");
    EXPECT_NE(focused(), field("txtPostConDate"));
    field("txtPostConTime")->setFocus();
    type("txtPostConTime", "9x3/4");
    EXPECT_EQ(field("txtPostConTime")->text(), "934");

    fill("K1ABC", "599", "MA", "599", "USA");
    form->Mains();
    EXPECT_EQ(appended(), "\"K1ABC\",\"599\",\"MA\",\"599\",\"USA\",\"2026/02/22\",\"09:34\",\"20\",\"\"\r\n");
    EXPECT_EQ(field("txtPostConTime")->text(), "09:34") << "the next contact keeps the time";
    EXPECT_EQ(field("txtPostConDate")->text(), "2026/02/22");
}

TEST_F(Form1LoggingTest, impossiblePostContestTimesAndDatesAreRefused)
{
    action("mnuPostContest")->trigger();
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
        field("txtPostConDate")->setText(QString::fromLatin1(c.date));
        field("txtPostConTime")->setText(QString::fromLatin1(c.time));
        form->Mains();
        EXPECT_EQ(text("lblDialog"), c.message);
        EXPECT_EQ(dialogs.beeps, 1);
        EXPECT_EQ(field("txtCall")->text(), "K1ABC");
        EXPECT_EQ(readBytes(logPath()), InitialLog);
    }
}

// The form as it starts: the operating clock stopped.
class Form1ClockStoppedTest : public Form1LoggingTest
{
protected:
    void SetUp() override
    {
        test::StartedForm1::SetUp();
    }
};

TEST_F(Form1ClockStoppedTest, everyKeyInTheCallAsksForTheClockAndEnterStartsIt)
{
    type("txtCall", "K1");
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(text("lblDialog"), "Click Log \"Time On\"!");
    type("txtCall", "A");
    EXPECT_EQ(dialogs.beeps, 3);
    EXPECT_FALSE(form->operatingState().timeOn);

    key("txtCall", Qt::Key_Return);
    EXPECT_TRUE(form->operatingState().timeOn) << "even though the contact is refused";
    EXPECT_EQ(readBytes(logPath()), InitialLog);
}

// A phone station.
class Form1PhoneTest : public Form1LoggingTest
{
protected:
    DefaultData initialDefaults() const override
    {
        DefaultData d = Form1LoggingTest::initialDefaults();
        d.mode = "PH";
        return d;
    }
};

TEST_F(Form1PhoneTest, reportsHoldTwoCharactersInPhoneFromTheStart)
{
    for (const char* name : { "txtRSTR", "txtRSTS" }) {
        field(name)->setFocus();
        type(name, "599");
        EXPECT_EQ(field(name)->text(), "59") << name;
    }
}

// An operator three hours behind UTC.
class Form1WestOfUtcTest : public Form1LoggingTest
{
protected:
    void SetUp() override
    {
        clock.utc = { 2026, 2, 21, 17, 5, 30 };
        Form1LoggingTest::SetUp();
    }
    DefaultData initialDefaults() const override
    {
        DefaultData d = Form1LoggingTest::initialDefaults();
        d.utcOffsetHours = 3;
        return d;
    }
};

TEST_F(Form1WestOfUtcTest, theRecordCarriesTheUtcDateAndTime)
{
    clock.local = { 2026, 2, 21, 22, 30, 0 };
    fill("K1ABC", "599", "MA", "599", "USA");
    form->Mains();
    EXPECT_EQ(appended(), "\"K1ABC\",\"599\",\"MA\",\"599\",\"USA\",\"2026/02/22\",\"01:30:00\",\"20\",\"\"\r\n");
    form->Timer2_Timer();
    EXPECT_EQ(text("lblCurTime"), "10:30:00");
    EXPECT_EQ(text("lblutctime"), "01:30:00");
}

} // namespace
} // namespace brindle
