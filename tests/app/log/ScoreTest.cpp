#include "StartedMainWindow.h"

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
class ScoreTest : public test::StartedMainWindow
{
};

TEST_F(ScoreTest, scoreAndRatesFollowTheLog)
{
    EXPECT_EQ(text("totalContactsLabel"), "3");
    EXPECT_EQ(text("qsoPointsLabel"), "9");
    EXPECT_EQ(text("multipliersLabel"), "3");
    EXPECT_EQ(text("scoreLabel"), "27");
    EXPECT_EQ(text("sectionsWorkedLabel"), "2");
    // The three contacts are minutes old (one even a little ahead of the clock).
    EXPECT_EQ(text("rate20Label"), "9");
    EXPECT_EQ(text("rate60Label"), "3");

    clock.local = { 2026, 2, 21, 15, 20, 0 };
    form->showRates();
    EXPECT_EQ(text("rate20Label"), "0");
    EXPECT_EQ(text("rate60Label"), "0");
}

TEST_F(ScoreTest, partialSearchListsWorkedCallsAsTheyAreTyped)
{
    startClock();
    typeCall("K1");
    EXPECT_EQ(text("possibleDupesLabel"), "K1AB ");
    typeCall("A");
    EXPECT_EQ(text("possibleDupesLabel"), "K1AB ");
    EXPECT_EQ(text("messageLabel"), " ") << "the third character only lists; the second is a digit";
    typeCall("B");
    EXPECT_EQ(text("messageLabel"), "Possible Duplicate!");
    QTest::keyClick(field("callField"), Qt::Key_Backspace);
    EXPECT_EQ(text("possibleDupesLabel"), "");
    EXPECT_EQ(field("callField")->text(), "K1A");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(ScoreTest, thirdCharacterWithoutDigitBeepsEvenWithPartialSearchOff)
{
    startClock();
    QTest::mouseClick(static_cast<QPushButton*>(widget("partialSearchButton")), Qt::LeftButton);
    EXPECT_EQ(static_cast<QPushButton*>(widget("partialSearchButton"))->text(), "Off");
    typeCall("KAB");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(text("messageLabel"), "The second or third character is not numeric!");
    EXPECT_EQ(text("possibleDupesLabel"), "");
}

TEST_F(ScoreTest, leavingADuplicateCallReportsItAndClearsTheEntry)
{
    startClock();
    typeCall("k1ab");
    leaveCall();
    EXPECT_EQ(text("messageLabel"), "Duplicate K1AB MA 2026/02/21 14:05:30 ON 20  Rec# 1");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(field("callField")->hasFocus());
    for (const char* name : { "callField", "sectionField", "countryField" }) {
        EXPECT_EQ(field(name)->text(), "") << name;
    }
    EXPECT_EQ(text("continentLabel"), "");
}

// Records the controls that receive the focus, in order.
class FocusRecorder : public QObject
{
public:
    QStringList received;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn && qobject_cast<QWidget*>(watched)) {
            received << watched->objectName();
        }
        return false;
    }
};

TEST_F(ScoreTest, afterADuplicateTheFocusReturnsToTheCallOnlyOnceTheMoveAwayHasFinished)
{
    startClock();
    typeCall("K1AB");
    FocusRecorder recorder;
    qApp->installEventFilter(&recorder);
    QTest::keyClick(field("callField"), Qt::Key_Space);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&recorder);
    // The last focus change is the one a screen reader announces.
    EXPECT_EQ(recorder.received, QStringList({ "rstRcvdField", "callField" }));
    EXPECT_TRUE(field("callField")->hasFocus());
}

TEST_F(ScoreTest, aCallWorkedOnAnotherBandIsNoDuplicateButGivesItsSection)
{
    startClock();
    form->changeBand("15");
    typeCall("K1AB");
    leaveCall();
    EXPECT_NE(text("messageLabel").left(9), "Duplicate");
    EXPECT_EQ(field("sectionField")->text(), "MA");
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(ScoreTest, keysAfterADuplicateWaitThreeSecondsAndKeepTheirOrder)
{
    startClock();
    typeCall("K1AB");
    leaveCall();
    ASSERT_TRUE(field("callField")->hasFocus());

    clock.monotonic += 1000;
    typeCall("w2");
    EXPECT_EQ(field("callField")->text(), "");
    form->releaseDupeHold();
    EXPECT_EQ(field("callField")->text(), "") << "two seconds of the hold are left";

    clock.monotonic += 1999;
    typeCall("x");
    form->releaseDupeHold();
    EXPECT_EQ(field("callField")->text(), "");

    clock.monotonic += 1;
    form->releaseDupeHold();
    EXPECT_EQ(field("callField")->text(), "W2X");
    typeCall("y");
    EXPECT_EQ(field("callField")->text(), "W2XY");
    EXPECT_EQ(text("messageLabel"), "Possible Duplicate!");
}

// Keys as the operator types them: each to whatever has the focus at that moment. "\t" is Tab,
// "\x1b" Esc.
void typeLive(const char* keys)
{
    for (const char* c = keys; *c; ++c) {
        QWidget* at = QApplication::focusWidget();
        ASSERT_NE(at, nullptr);
        if (*c == '\t') {
            QTest::keyClick(at, Qt::Key_Tab);
        } else if (*c == '\x1b') {
            QTest::keyClick(at, Qt::Key_Escape);
        } else {
            QTest::keyClick(at, *c);
        }
    }
}

TEST_F(ScoreTest, keysTypedDuringTheHoldActAfterItExactlyAsIfTypedThen)
{
    const struct
    {
        const char* keys;
        const char* call;
        const char* rstRcvd;
        const char* section;
        const char* rstSent;
    } cases[] = {
        { "w1aw579ma", "W1AW", "579", "MA", "599" },
        { "w1a\x1bk2b", "K2B", "", "", "" },
        // Tab leaves the call: its steps fill the province and the reports.
        { "ve2abc\t", "VE2ABC", "599", "QC", "599" },
    };
    startClock();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        // Typed with no hold on, as the reference.
        form->clearEntry();
        typeLive(c.keys);
        EXPECT_EQ(field("callField")->text(), c.call);
        EXPECT_EQ(field("rstRcvdField")->text(), c.rstRcvd);
        EXPECT_EQ(field("sectionField")->text(), c.section);
        EXPECT_EQ(field("rstSentField")->text(), c.rstSent);

        form->clearEntry();
        typeCall("K1AB");
        leaveCall();
        ASSERT_EQ(text("messageLabel").left(9), "Duplicate");
        typeLive(c.keys);
        EXPECT_EQ(field("callField")->text(), "") << "every key waits, Tab and Esc too";
        clock.monotonic += 3000;
        form->releaseDupeHold();
        EXPECT_EQ(field("callField")->text(), c.call);
        EXPECT_EQ(field("rstRcvdField")->text(), c.rstRcvd);
        EXPECT_EQ(field("sectionField")->text(), c.section);
        EXPECT_EQ(field("rstSentField")->text(), c.rstSent);
    }
}

TEST_F(ScoreTest, aButtonsAltShortcutDuringTheHoldWaitsItsTurnToo)
{
    startClock();
    typeCall("K1AB");
    leaveCall();
    typeLive("w1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    typeLive("k2");
    EXPECT_EQ(field("callField")->text(), "");
    clock.monotonic += 3000;
    form->releaseDupeHold();
    EXPECT_EQ(field("callField")->text(), "K2") << "Alt+C cleared W1, in its turn";
}

TEST_F(ScoreTest, newIndicatorShowsSectionsNotYetWorkedOnTheBand)
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
        form->changeBand(c.band);
        field("sectionField")->setText(QString::fromLatin1(c.section));
        EXPECT_EQ(widget("newSectionMarker")->isVisible(), c.shown);
    }
}

TEST_F(ScoreTest, sectionLabelsFillTheSectionAndShowTheirTally)
{
    QTest::mouseClick(widget("sectionLabel_MA"), Qt::LeftButton);
    EXPECT_EQ(field("sectionField")->text(), "MA");
    QTest::mouseMove(widget("sectionLabel_MA"));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(widget("sectionLabel_MA"), &enter);
    EXPECT_EQ(text("possibleDupesLabel"), " Massachusetts    Total =1\n  160 =0  80 =0  40 =0  20 =1  15 =0  10 =0");
}

TEST_F(ScoreTest, operatingClockRunsAndIsSavedWhenStopped)
{
    auto* logOn = static_cast<QPushButton*>(widget("timeOnButton"));
    EXPECT_EQ(logOn->text(), "&Log \"Time On\"");
    EXPECT_EQ(logOn->toolTip(), "Records On/Off times and controls duration clock.");
    EXPECT_EQ(text("operatingTimeLabel"), "00:00:00");

    QTest::mouseClick(logOn, Qt::LeftButton);
    EXPECT_EQ(logOn->text(), "&Log \"Time Off\"");
    EXPECT_TRUE(form->operatingState().timeOn);
    clock.local = { 2026, 2, 21, 15, 7, 35 }; // 3725 s later
    form->tickClocks();
    EXPECT_EQ(text("operatingTimeLabel"), "01:02:05");

    QTest::mouseClick(logOn, Qt::LeftButton);
    EXPECT_EQ(logOn->text(), "&Log \"Time On\"");
    EXPECT_TRUE(text("messageLabel").startsWith("Logged Off at "));
    EXPECT_TRUE(text("messageLabel").endsWith(" 15:07:35"));
    EXPECT_EQ(parseDefaultData(readBytes(folders.workingDir + "/inprefDX.txt")).value().totalOnSeconds, 3725);
    EXPECT_TRUE(field("callField")->hasFocus());
}

} // namespace
} // namespace brindle
