#include "spots/SpectrumMapDialog.h"

#include "spots/SpotLabel.h"
#include "spots/SpotsModel.h"
#include "station/CountryTable.h"

#include "support/ManualClock.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace brindle {
namespace {

constexpr DateTime Now { 2026, 2, 21, 14, 5, 30 };

class SpectrumMap : public testing::Test
{
protected:
    // A spot received at the clock's present time; it takes slot 49.
    void spot(const std::string& call, const std::string& freqKHz)
    {
        spots.addSpot(call, freqKHz, "de Q1AAA:     " + freqKHz + "  " + call + "    CQ TEST    1200Z");
        // An open map is drawn once the spots of a read are in.
        QCoreApplication::processEvents();
    }
    void spotAt(const DateTime& received, const std::string& call, const std::string& freqKHz)
    {
        clock.local = received;
        spot(call, freqKHz);
        clock.local = Now;
    }
    static double centreOf(const QWidget* widget)
    {
        return widget->x() + widget->width() / 2.0;
    }

    test::ManualClock clock;
    CountryTable countries { { { "K", "USA", "NA", 91.87f, 37.6f } } };
    std::set<std::string> workedCalls;
    SpotsModel spots { clock,
        { [] { return std::string("DL1ABC"); }, [this]() -> const CountryTable& { return countries; },
            [this](const std::string& call, const std::string&) { return workedCalls.contains(call); } } };
    SpectrumMapDialog map { spots, clock, [] { return 0.0; } };
};

TEST_F(SpectrumMap, showsEachSpotStandingOnTheAxisOfItsBandsRowAndNoneOutsideTheRows)
{
    const struct
    {
        const char* call;
        const char* freqKHz;
        std::optional<int> row;
        double fraction = 0; // along the row's whole band: a single spot does not zoom it
    } cases[] = {
        { "Q1AA", "1850.0", 0, 0.25 },
        { "Q2BB", "10120.0", 3, 0.4 },
        { "Q3CC", "14000.0", std::nullopt }, // on the band's edge
        { "Q4DD", "5357.0", std::nullopt }, // between the rows
        { "Q5EE", "146000.0", 10, 0.5 },
    };
    for (const auto& c : cases) {
        spot(c.call, c.freqKHz);
    }
    map.show();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.freqKHz);
        const SpotLabel* label = map.spotLabel(SpotStore::NewestSlot - static_cast<int>(std::size(cases) - 1 - i));
        ASSERT_EQ(label->isVisible(), c.row.has_value());
        if (!c.row) {
            continue;
        }
        const QLine axis = map.rowAxis(*c.row);
        EXPECT_EQ(label->geometry().bottom() + 1, axis.y1());
        EXPECT_NEAR(centreOf(label), axis.x1() + c.fraction * (axis.x2() - axis.x1()), 1.0);
        EXPECT_TRUE(map.rowStrip(*c.row)->geometry().contains(label->geometry()));
    }
}

TEST_F(SpectrumMap, zoomsEachRowToItsSpotsAndCentresTheTicksUnderTheAxis)
{
    spot("Q1AA", "18070.0");
    spot("Q2BB", "18160.0");
    map.show();

    std::vector<std::string> ticks;
    for (int t = 0; t < SpectrumMapDialog::TicksPerRow; ++t) {
        ticks.push_back(map.tickLabel(5 * 5 + t)->text().toStdString());
    }
    EXPECT_EQ(ticks, (std::vector<std::string> { "18.069", "18.092", "18.115", "18.138", "18.161" }));
    // The row of 20 m, with no spot, shows the whole band.
    EXPECT_EQ(map.tickLabel(4 * 5)->text(), QStringLiteral("14.000"));
    EXPECT_EQ(map.tickLabel(4 * 5 + 4)->text(), QStringLiteral("14.350"));

    const QLine axis = map.rowAxis(5);
    for (int t = 0; t < SpectrumMapDialog::TicksPerRow; ++t) {
        const QLabel* tick = map.tickLabel(5 * 5 + t);
        EXPECT_NEAR(centreOf(tick), axis.x1() + t * 0.25 * (axis.x2() - axis.x1()), 1.0) << t;
        EXPECT_EQ(tick->y(), axis.y1() + qRound(map.height() * 0.004));
        EXPECT_LT(tick->geometry().bottom(), map.rowStrip(5)->geometry().bottom());
    }
    // The spots mark the two ends of the zoomed range, a kilohertz in.
    EXPECT_NEAR(centreOf(map.spotLabel(48)), axis.x1() + (axis.x2() - axis.x1()) / 92.0, 1.0);
    EXPECT_NEAR(centreOf(map.spotLabel(49)), axis.x2() - (axis.x2() - axis.x1()) / 92.0, 1.0);
}

TEST_F(SpectrumMap, aSpotAnHourOldHidesItselfAndEveryOlderSpotOnEveryRow)
{
    spotAt({ 2026, 2, 21, 12, 0, 0 }, "Q1AA", "3525.0");
    spotAt({ 2026, 2, 21, 13, 5, 30 }, "Q2BB", "7025.0"); // exactly an hour
    spotAt({ 2026, 2, 21, 13, 35, 0 }, "Q3CC", "21025.0");
    spot("Q4DD", "28025.0");
    map.show();

    EXPECT_FALSE(map.spotLabel(46)->isVisible());
    EXPECT_FALSE(map.spotLabel(47)->isVisible());
    ASSERT_TRUE(map.spotLabel(48)->isVisible());
    ASSERT_TRUE(map.spotLabel(49)->isVisible());
    EXPECT_EQ(map.spotLabel(48)->palette().color(QPalette::WindowText), QColor(192, 192, 192));
    EXPECT_EQ(map.spotLabel(49)->palette().color(QPalette::WindowText), QColor(255, 255, 128));
    EXPECT_EQ(map.spotLabel(49)->text(), QStringLiteral("Q4"));
    EXPECT_EQ(map.spotLabel(49)->toolTip(), QStringLiteral("Q4DD  28.025  14:05:30"));
}

TEST_F(SpectrumMap, theRightButtonTunesToTheSpotAndClosesAnyOtherWithdrawsIt)
{
    const struct
    {
        Qt::MouseButton button;
        bool tunes;
    } cases[] = { { Qt::RightButton, true }, { Qt::LeftButton, false }, { Qt::MiddleButton, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        spot("Q1AA", "14025.0");
        spot("Q2BB", "21300.0");
        QSignalSpy chosen(&map, &SpectrumMapDialog::spotChosen);
        map.show();
        ASSERT_TRUE(map.spotLabel(48)->isVisible());

        QTest::mouseClick(map.spotLabel(48), c.button);

        if (c.tunes) {
            ASSERT_EQ(chosen.count(), 1);
            EXPECT_EQ(chosen.at(0).at(0).toString(), QStringLiteral("Q1AA"));
            EXPECT_FLOAT_EQ(chosen.at(0).at(1).toFloat(), 14.025f);
            EXPECT_FALSE(map.isVisible());
            EXPECT_FLOAT_EQ(spots.store().slot(48).freqMHz, 14.025f);
        } else {
            EXPECT_EQ(chosen.count(), 0);
            EXPECT_TRUE(map.isVisible());
            EXPECT_EQ(spots.store().slot(48).freqMHz, 0.0f);
            EXPECT_FALSE(map.spotLabel(48)->isVisible());
            EXPECT_TRUE(map.spotLabel(49)->isVisible());
        }
        map.hide();
    }
}

TEST_F(SpectrumMap, redrawsAsSpotsArriveWhileOpenDimsWorkedStationsAndGivesTheCursorBack)
{
    workedCalls = { "K1ABC" };
    map.show();
    EXPECT_FALSE(map.spotLabel(49)->isVisible());

    spot("K1ABC", "14025.0");
    ASSERT_TRUE(map.spotLabel(49)->isVisible());
    EXPECT_EQ(map.spotLabel(49)->palette().color(QPalette::WindowText), SpotLabel::colourFor(0x0080FFFF, true));
    EXPECT_TRUE(map.spotLabel(49)->toolTip().endsWith(QStringLiteral("worked")));

    spot("W2XYZ", "14030.0");
    EXPECT_TRUE(map.spotLabel(48)->isVisible());
    EXPECT_EQ(map.spotLabel(49)->palette().color(QPalette::WindowText), QColor(255, 255, 128));
    // Two spots on 20 m now zoom its row.
    EXPECT_EQ(map.tickLabel(4 * 5)->text(), QStringLiteral("14.024"));

    map.drawSpots();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace brindle
