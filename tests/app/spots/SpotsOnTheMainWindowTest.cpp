// Spots on the main window: the strip the spotting window's "&Done" brings, the band map's labels by age,
// the clicks that withdraw a spot, tune to it and put its call in, the list, the worked marks and the
// alert when the own call is spotted.

#include "spots/SpectrumMapDialog.h"
#include "spots/SpotFeed.h"
#include "spots/SpotLabel.h"
#include "spots/SpotPanel.h"
#include "spots/SpotsModel.h"

#include "app/log/StartedMainWindow.h"
#include "common/DateText.h"
#include "serial/QtSerialPort.h"
#include "support/RecordingRigControl.h"
#include "ui/Colours.h"
#include "ui/DesignPanel.h"

#include <QAction>
#include <QTableView>

namespace brindle::test {
namespace {

constexpr DateTime Now { 2026, 2, 21, 14, 30, 0 };

class SpotsOnTheMainWindowTest : public StartedMainWindow
{
protected:
    MainWindowKeyers keyers() override
    {
        MainWindowKeyers keyers;
        auto feedMade = std::make_unique<SpotFeed>(fs, folders.workingDir, dialogs,
            [] { return std::make_unique<QtSerialPort>([](int) { return std::string("/nonexistent"); }); });
        feed = feedMade.get();
        keyers.spots = std::move(feedMade);
        auto rigMade = std::make_unique<RecordingRigControl>(rigName);
        rig = rigMade.get();
        keyers.rig = std::move(rigMade);
        return keyers;
    }
    // The spotting window's "&Done" with this source and display.
    void chooseDisplay(const std::string& source, bool list)
    {
        feed->settings().source = source;
        feed->settings().listMode = list;
        form->updateSpotPanel();
    }
    // A spot received some minutes before Now.
    void spot(const std::string& call, const std::string& freqKHz, int minutesAgo,
        const std::string& record = "de W3LPL:     14025.0  Q9ZZZ        CQ TEST                        1200Z")
    {
        clock.local = addHours(Now, -minutesAgo / 60.0);
        form->spots().addSpot(call, freqKHz, record);
        // The map is drawn once the spots of a read are in.
        QCoreApplication::processEvents();
        clock.local = Now;
    }
    SpotPanel* panel()
    {
        return form->findChild<SpotPanel*>(QStringLiteral("spotPanel"));
    }
    SpotLabel* label(int slot)
    {
        return form->findChild<SpotLabel*>(QStringLiteral("bandMapSpot_%1").arg(slot));
    }
    QTableView* list()
    {
        return form->findChild<QTableView*>(QStringLiteral("spotList"));
    }

    std::string rigName = std::string(NoRig);
    SpotFeed* feed = nullptr;
    RecordingRigControl* rig = nullptr;
};

TEST_F(SpotsOnTheMainWindowTest, theStripClosesUpTheWindowAndNoneGivesTheRoomBack)
{
    QWidget* call = field("callField");
    const QRect before = call->geometry();
    const QRect messageBefore = widget("messageLabel")->geometry();
    chooseDisplay("Telnet", false);
    ASSERT_TRUE(panel()->isVisible());
    EXPECT_NEAR(call->geometry().top(), before.top() * 0.9, 1);
    EXPECT_NEAR(call->geometry().height(), before.height() * 0.9, 1);
    EXPECT_EQ(call->geometry().left(), before.left());
    EXPECT_NEAR(widget("messageLabel")->geometry().top(), messageBefore.top() * 0.9, 1);
    const QWidget* canvas = form->centralWidget();
    EXPECT_EQ(panel()->geometry().bottom(), canvas->height() - 1) << "the strip reaches the bottom";
    EXPECT_GT(panel()->height(), canvas->height() / 20);
    // Every control above stands clear of it; the panels that group them are only their canvas.
    for (const QWidget* control : canvas->findChildren<QWidget*>()) {
        if (control->isVisible() && !panel()->isAncestorOf(control) && control != panel()
            && !qobject_cast<const DesignPanel*>(control)) {
            EXPECT_LE(control->mapTo(canvas, QPoint(0, control->height() - 1)).y(), panel()->geometry().top())
                << control->objectName().toStdString() << " " << control->metaObject()->className();
        }
    }
    EXPECT_TRUE(panel()->bandMap()->isVisible());

    chooseDisplay("Telnet", true);
    EXPECT_TRUE(list()->isVisible());
    EXPECT_FALSE(panel()->bandMap()->isVisible());
    EXPECT_NEAR(call->geometry().top(), before.top() * 0.9, 1) << "switching views moves nothing";

    chooseDisplay("None", true);
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_NEAR(call->geometry().top(), before.top(), 1);
    EXPECT_NEAR(call->geometry().height(), before.height(), 1);
}

TEST_F(SpotsOnTheMainWindowTest, theBandMapShowsTheCurrentBandsSpotsByAgeAndNothingFromAnHourOld)
{
    chooseDisplay("Telnet", false);
    spot("N1OLD", "14050.0", 90);
    spot("N1GONE", "14040.0", 61);
    spot("N1GREY", "14030.0", 31);
    spot("N7ABC", "7025.0", 20);
    spot("N1WHITE", "14020.0", 11);
    spot("N1NEW", "14010.0", 9);
    panel()->drawBandMap(); // now, as the feed's timer draws it
    struct Case
    {
        int slot;
        bool shown;
        QColor colour;
    };
    const std::vector<Case> cases { { 49, true, QColor(255, 255, 128) }, { 48, true, Qt::white },
        { 47, false, {} }, { 46, true, QColor(192, 192, 192) }, { 45, false, {} }, { 44, false, {} } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(label(c.slot)->isVisible(), c.shown);
        if (c.shown) {
            EXPECT_EQ(textColour(label(c.slot)), c.colour);
        }
    }
    EXPECT_EQ(label(49)->text(), QStringLiteral("N1"));
    EXPECT_EQ(label(49)->toolTip(), QStringLiteral("N1NEW  14.010  14:21:00"));
    EXPECT_TRUE(label(49)->accessibleName().startsWith(QStringLiteral("N1NEW, 14.010 MHz, 9 minutes old")));

    // Each label stands centred on its frequency along the zoomed axis, above it.
    BandMapWidget* map = panel()->bandMap();
    EXPECT_EQ(map->tick(0)->text(), QStringLiteral("14.009"));
    EXPECT_EQ(map->tick(4)->text(), QStringLiteral("14.051"));
    const double fraction = (14.010 - 14.009) / (14.051 - 14.009);
    EXPECT_NEAR(label(49)->geometry().center().x(),
        map->axisLeft() + fraction * (map->axisRight() - map->axisLeft()), 1.5);
    EXPECT_LE(label(49)->geometry().bottom(), map->axisY());

    // The 40 m spot shows once the band is 40 m.
    form->changeBand("40");
    EXPECT_TRUE(label(47)->isVisible()) << "N7ABC, on 40 m";
    EXPECT_FALSE(label(49)->isVisible());
}

TEST_F(SpotsOnTheMainWindowTest, aLeftClickTakesTheSpotOffTheMapButNotOffTheList)
{
    chooseDisplay("Telnet", false);
    spot("N1ABC", "14010.0", 1);
    spot("N2ABC", "14020.0", 1);
    ASSERT_TRUE(label(49)->isVisible());
    QTest::mouseClick(label(49), Qt::LeftButton);
    EXPECT_FALSE(label(49)->isVisible());
    EXPECT_EQ(form->spots().store().slot(49).freqMHz, 0.0f);
    EXPECT_TRUE(label(48)->isVisible());
    EXPECT_EQ(form->spots().list().rowCount(), 2);
    EXPECT_TRUE(rig->frequencies.empty());
}

TEST_F(SpotsOnTheMainWindowTest, aRightClickTunesFillsTheCallAndMovesOnEvenWithNoRig)
{
    chooseDisplay("Telnet", false);
    spot("K1ABC", "14025.0", 1);
    QTest::mouseMove(label(49));
    QTest::mouseClick(label(49), Qt::RightButton);
    EXPECT_EQ(rig->frequencies, std::vector<Hertz> { 14'025'000 });
    EXPECT_EQ(field("callField")->text(), QStringLiteral("K1ABC"));
    EXPECT_NE(QApplication::focusWidget(), field("callField")) << "moved on, as Tab moves";
    EXPECT_EQ(field("countryField")->text(), QStringLiteral("USA")) << "the call field's leave steps ran";
}

TEST_F(SpotsOnTheMainWindowTest, aClickOnTheMapNeverDisturbsTheCallBeingTyped)
{
    chooseDisplay("Telnet", false);
    spot("N1ABC", "14010.0", 1);
    spot("N2ABC", "14020.0", 1);
    spot("N3ABC", "14030.0", 1);
    const struct Case
    {
        const char* what;
        Qt::MouseButton button;
        int slot;
        QString callAfterClick;
        bool callKeepsTheKeyboard;
        QString callAfterTyping; // "Z" typed next, where the keyboard still is on the call
    } cases[] = {
        { "a left click withdraws the spot and nothing else", Qt::LeftButton, 49, QStringLiteral("K1AB"), true,
            QStringLiteral("K1ABZ") },
        { "a middle click likewise", Qt::MiddleButton, 48, QStringLiteral("K1AB"), true, QStringLiteral("K1ABZ") },
        { "a right click puts the spot's call in without checking the one typed", Qt::RightButton, 47,
            QStringLiteral("N1ABC"), false, QStringLiteral("N1ABC") },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        field("callField")->clear();
        field("callField")->setFocus();
        // K1AB is in the log: its leave steps would say "Duplicate" and start the call afresh.
        typeCall("K1AB");
        const QString messageWhileTyping = text("messageLabel");
        SpotLabel* clicked = label(c.slot);
        ASSERT_TRUE(clicked->isVisible());
        QTest::mouseClick(clicked, c.button);
        EXPECT_EQ(field("callField")->text(), c.callAfterClick);
        EXPECT_FALSE(text("messageLabel").startsWith(QStringLiteral("Duplicate K1AB")))
            << text("messageLabel").toStdString();
        if (c.callKeepsTheKeyboard) {
            EXPECT_EQ(text("messageLabel"), messageWhileTyping);
        }
        EXPECT_FALSE(clicked->hasFocus());
        EXPECT_EQ(QApplication::focusWidget() == field("callField"), c.callKeepsTheKeyboard);
        if (c.callKeepsTheKeyboard) {
            typeCall("Z");
        }
        EXPECT_EQ(field("callField")->text(), c.callAfterTyping);
    }
}

TEST_F(SpotsOnTheMainWindowTest, hoveringOverALabelDescribesTheSpotInThePossibleDuplicatesBox)
{
    chooseDisplay("Telnet", false);
    spot("K1ABC", "14025.0", 2);
    label(49)->setFocus();
    EXPECT_EQ(text("possibleDupesLabel"), QStringLiteral("K1ABC  14.025  14:28:00"));
}

TEST_F(SpotsOnTheMainWindowTest, aListClickFillsTheCallAndTunesOnlyAConfiguredRig)
{
    chooseDisplay("Telnet", true);
    spot("K1ABC", "14025.0", 1);
    spot("K2ABC", "7012.3", 1);
    ASSERT_EQ(form->spots().list().rowCount(), 2);
    EXPECT_EQ(form->spots().list().row(0).call, "K2ABC") << "newest first";
    const QRect row = list()->visualRect(list()->model()->index(1, 0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(field("callField")->text(), QStringLiteral("K1ABC"));
    EXPECT_EQ(QApplication::focusWidget(), field("callField")) << "no Tab after a list click";
    EXPECT_TRUE(rig->frequencies.empty()) << "no rig is set up";
}

TEST_F(SpotsOnTheMainWindowTest, theOwnCallSpottedInAnyCaseAlertsTheOperator)
{
    chooseDisplay("Telnet", true);
    const int beeps = dialogs.beeps;
    spot("dl1abc", "14025.0", 0, "de W3LPL:     14025.0  dl1abc       loud here                      1200Z");
    EXPECT_EQ(dialogs.beeps, beeps + 1);
    EXPECT_EQ(text("messageLabel"), QStringLiteral("You've been spotted! "));
    EXPECT_EQ(widget("messageLabel")->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(text("possibleDupesLabel"),
        QStringLiteral("You've been spotted!  de W3LPL:     14025.0  dl1abc       loud here                      1200Z"));

    // Letters where the frequency belongs: the alert, and nothing stored.
    spot("DL1ABC", "abc", 0);
    EXPECT_EQ(dialogs.beeps, beeps + 2);
    EXPECT_EQ(form->spots().list().rowCount(), 1);
}

TEST_F(SpotsOnTheMainWindowTest, aSpotOfAStationWorkedOnItsBandIsDimmedAndTheMarkFollowsTheLog)
{
    chooseDisplay("Telnet", false);
    spot("K1AB", "14025.0", 1); // in the log on 20 m
    spot("VE3AA", "14030.0", 1); // in the log, but on 40 m
    spot("N5XYZ", "14035.0", 1);
    EXPECT_TRUE(form->spots().isWorked(47));
    EXPECT_FALSE(form->spots().isWorked(48));
    EXPECT_NE(textColour(label(47)), QColor(255, 255, 128));
    EXPECT_TRUE(label(47)->toolTip().endsWith(QStringLiteral("worked")));
    EXPECT_TRUE(label(47)->accessibleName().endsWith(QStringLiteral(", worked")));
    EXPECT_EQ(textColour(label(48)), QColor(255, 255, 128));

    startClock();
    typeCall("N5XYZ");
    leaveCall();
    field("sectionField")->setText(QStringLiteral("TX"));
    form->logContact();
    ASSERT_EQ(form->workingLog().log().records().back().call, "N5XYZ");
    EXPECT_TRUE(form->spots().isWorked(49)) << "logged now";
    EXPECT_NE(textColour(label(49)), QColor(255, 255, 128));
    const QModelIndex worked = form->spots().list().index(0, 0);
    EXPECT_EQ(form->spots().list().data(worked, Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
}

} // namespace
} // namespace brindle::test

namespace brindle::test {
namespace {

TEST_F(SpotsOnTheMainWindowTest, theSpectrumMapOpensFromItsKeyMenuAndTheStripAndTunesFromThere)
{
    chooseDisplay("Telnet", true);
    spot("K1ABC", "10120.0", 1);
    int opened = 0;
    dialogs.onModal = [&](QDialog& dialog) {
        ++opened;
        auto* map = qobject_cast<SpectrumMapDialog*>(&dialog);
        ASSERT_NE(map, nullptr);
        EXPECT_EQ(map->windowTitle(), QStringLiteral(" HF Spectrum Map"));
        EXPECT_TRUE(map->spotLabel(49)->isVisible()) << "30 m: on the map, never on the main window's";
        if (opened == 3) {
            QTest::mouseClick(map->spotLabel(49), Qt::RightButton);
        }
    };
    field("callField")->setFocus();
    QTest::keyClick(field("callField"), Qt::Key_B, Qt::ControlModifier);
    form->findChild<QAction*>(QStringLiteral("spectrumMapAction"))->trigger();
    const QRect row = list()->visualRect(list()->model()->index(0, 0));
    // A double-click's first press selects the row, as a mouse's does.
    QTest::mousePress(list()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(rig->frequencies, std::vector<Hertz> { 10'120'000 });
    EXPECT_EQ(field("callField")->text(), QStringLiteral("K1ABC"));
    EXPECT_EQ(QApplication::focusWidget(), field("callField"));
}

} // namespace
} // namespace brindle::test

namespace brindle::test {
namespace {

TEST_F(SpotsOnTheMainWindowTest, theKeyboardReachesASpotAndTheMapsAreaOpensTheSpottingWindow)
{
    chooseDisplay("Telnet", false);
    spot("K1ABC", "14025.0", 1);
    spot("K2ABC", "14030.0", 1);
    // A spot label takes the focus like a control, and Enter does what the right button does.
    label(48)->setFocus();
    EXPECT_EQ(text("possibleDupesLabel"), QStringLiteral("K1ABC  14.025  14:29:00"));
    QTest::keyClick(label(48), Qt::Key_Return);
    EXPECT_EQ(rig->frequencies, std::vector<Hertz> { 14'025'000 });
    EXPECT_EQ(field("callField")->text(), QStringLiteral("K1ABC"));
    label(49)->setFocus();
    QTest::keyClick(label(49), Qt::Key_Delete);
    EXPECT_FALSE(label(49)->isVisible()) << "Delete withdraws";

    // A click on the map's own area, between the spots, brings up the spotting window.
    QTest::mouseClick(panel()->bandMap(), Qt::LeftButton, {}, QPoint(2, 2));
    QWidget* spotting = form->findChild<QWidget*>(QStringLiteral("SpottingWindow"));
    ASSERT_NE(spotting, nullptr);
    EXPECT_TRUE(spotting->isVisible());
}

} // namespace
} // namespace brindle::test
