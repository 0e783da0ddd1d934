#include "StartedForm1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace brindle {
namespace {

using test::fixture;
using test::readBytes;
using test::writeBytes;

// The started main form over the two-band fixture log.
class Form1ScoreTest : public test::StartedForm1
{
};

TEST_F(Form1ScoreTest, scoreAndRatesFollowTheLog)
{
    EXPECT_EQ(text("lblTotCon"), "3");
    EXPECT_EQ(text("lblTotSec"), "9");
    EXPECT_EQ(text("lblsectogo"), "3");
    EXPECT_EQ(text("lblTotScore"), "27");
    EXPECT_EQ(text("Label10_0"), "2");
    // The three contacts are minutes old (one even a little ahead of the clock).
    EXPECT_EQ(text("lblAQSO20"), "9");
    EXPECT_EQ(text("lblAQSO60"), "3");

    clock.local = { 2026, 2, 21, 15, 20, 0 };
    form->TimeStats();
    EXPECT_EQ(text("lblAQSO20"), "0");
    EXPECT_EQ(text("lblAQSO60"), "0");
}

TEST_F(Form1ScoreTest, partialSearchListsWorkedCallsAsTheyAreTyped)
{
    startClock();
    typeCall("K1");
    EXPECT_EQ(text("lblDupe"), "K1AB ");
    typeCall("A");
    EXPECT_EQ(text("lblDupe"), "K1AB ");
    EXPECT_EQ(text("lblDialog"), " ") << "the third character only lists; the second is a digit";
    typeCall("B");
    EXPECT_EQ(text("lblDialog"), "Possible Duplicate!");
    QTest::keyClick(field("txtCall"), Qt::Key_Backspace);
    EXPECT_EQ(text("lblDupe"), "");
    EXPECT_EQ(field("txtCall")->text(), "K1A");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(Form1ScoreTest, thirdCharacterWithoutDigitBeepsEvenWithPartialSearchOff)
{
    startClock();
    QTest::mouseClick(static_cast<QPushButton*>(widget("cmdDup")), Qt::LeftButton);
    EXPECT_EQ(static_cast<QPushButton*>(widget("cmdDup"))->text(), "Off");
    typeCall("KAB");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(text("lblDialog"), "The second or third character is not numeric!");
    EXPECT_EQ(text("lblDupe"), "");
}

TEST_F(Form1ScoreTest, leavingADuplicateCallReportsItAndClearsTheEntry)
{
    startClock();
    typeCall("k1ab");
    leaveCall();
    EXPECT_EQ(text("lblDialog"), "Duplicate K1AB MA 2026/02/21 14:05:30 ON 20  Rec# 1");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(field("txtCall")->hasFocus());
    for (const char* name : { "txtCall", "txtSec", "txtCntry" }) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    EXPECT_EQ(text("Label22"), "");
}

TEST_F(Form1ScoreTest, aCallWorkedOnAnotherBandIsNoDuplicateButGivesItsSection)
{
    startClock();
    form->ChangeBand("15");
    typeCall("K1AB");
    leaveCall();
    EXPECT_NE(text("lblDialog").left(9), "Duplicate");
    EXPECT_EQ(field("txtSec")->text(), "MA");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(Form1ScoreTest, keysAfterADuplicateWaitThreeSecondsAndKeepTheirOrder)
{
    startClock();
    typeCall("K1AB");
    leaveCall();
    ASSERT_TRUE(field("txtCall")->hasFocus());

    clock.monotonic += 1000;
    typeCall("w2");
    EXPECT_EQ(field("txtCall")->text(), "");
    form->DupeHoldTick();
    EXPECT_EQ(field("txtCall")->text(), "") << "two seconds of the hold are left";

    clock.monotonic += 1999;
    typeCall("x");
    form->DupeHoldTick();
    EXPECT_EQ(field("txtCall")->text(), "");

    clock.monotonic += 1;
    form->DupeHoldTick();
    EXPECT_EQ(field("txtCall")->text(), "W2X");
    typeCall("y");
    EXPECT_EQ(field("txtCall")->text(), "W2XY");
    EXPECT_EQ(text("lblDialog"), "Possible Duplicate!");
}

TEST_F(Form1ScoreTest, newIndicatorShowsSectionsNotYetWorkedOnTheBand)
{
    struct Case
    {
        const char* band;
        const char* section;
        bool shown;
    };
    for (const Case& c : { Case { "20", "M", false }, Case { "20", "MA", false }, Case { "20", "ma", false },
             Case { "20", "CT", true }, Case { "15", "MA", true } }) {
        SCOPED_TRACE(std::string(c.band) + " " + c.section);
        form->ChangeBand(c.band);
        field("txtSec")->setText(QString::fromLatin1(c.section));
        EXPECT_EQ(widget("Label3")->isVisible(), c.shown);
    }
}

TEST_F(Form1ScoreTest, sectionLabelsFillTheSectionAndShowTheirTally)
{
    QTest::mouseClick(widget("Label10_2"), Qt::LeftButton);
    EXPECT_EQ(field("txtSec")->text(), "MA");
    QTest::mouseMove(widget("Label10_2"));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(widget("Label10_2"), &enter);
    EXPECT_EQ(text("lblDupe"), " Massachusetts    Total =1\n  160 =0  80 =0  40 =0  20 =1  15 =0  10 =0");
}

TEST_F(Form1ScoreTest, operatingClockRunsAndIsSavedWhenStopped)
{
    auto* logOn = static_cast<QPushButton*>(widget("cmdLogOn"));
    EXPECT_EQ(logOn->text(), "&Log \"Time On\"");
    EXPECT_EQ(logOn->toolTip(), "Records On/Off times and controls duration clock.");
    EXPECT_EQ(text("lblttrack"), "00:00:00");

    QTest::mouseClick(logOn, Qt::LeftButton);
    EXPECT_EQ(logOn->text(), "&Log \"Time Off\"");
    EXPECT_TRUE(form->operatingState().timeOn);
    clock.local = { 2026, 2, 21, 15, 7, 35 }; // 3725 s later
    form->Timer2_Timer();
    EXPECT_EQ(text("lblttrack"), "01:02:05");

    QTest::mouseClick(logOn, Qt::LeftButton);
    EXPECT_EQ(logOn->text(), "&Log \"Time On\"");
    EXPECT_TRUE(text("lblDialog").startsWith("Logged Off at "));
    EXPECT_TRUE(text("lblDialog").endsWith(" 15:07:35"));
    EXPECT_EQ(parseDefaultData(readBytes(folders.workingDir + "/inprefDX.txt")).value().totalOnSeconds, 3725);
    EXPECT_TRUE(field("txtCall")->hasFocus());
}

} // namespace
} // namespace brindle
