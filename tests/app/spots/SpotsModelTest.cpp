// The spots kept: what a spot line becomes in the store and the list, the list's 200 rows, and the
// worked marks as the log changes.

#include "spots/SpotsModel.h"

#include "station/CountryTable.h"
#include "support/ManualClock.h"

#include <QColor>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace brindle::test {
namespace {

class SpotsModelTest : public ::testing::Test
{
protected:
    SpotsModel::Context context()
    {
        SpotsModel::Context c;
        c.ownCall = [] { return std::string("DL1ABC"); };
        c.countries = [this]() -> const CountryTable& { return countries; };
        c.worked = [this](const std::string& call, const std::string& band) {
            return worked.count(call + "/" + band) > 0;
        };
        return c;
    }

    ManualClock clock;
    CountryTable countries { { { "K", "USA", "NA", 91.87f, 37.6f }, { "VE", "Canada", "NA", 78.75f, 44.35f } } };
    std::set<std::string> worked;
    SpotsModel spots { clock, context() };
};

TEST_F(SpotsModelTest, aClusterLineBecomesAStoredSpotAndAListRow)
{
    QSignalSpy added(&spots, &SpotsModel::spotAdded);
    spots.addSpotLine("DX de W3LPL:     14025.0  K1ABC        CQ TEST                        1200Z\r\n");
    ASSERT_EQ(added.size(), 1);
    const SpotRecord& spot = spots.store().slot(SpotStore::NewestSlot);
    EXPECT_EQ(spot.call, "K1ABC");
    EXPECT_FLOAT_EQ(spot.freqMHz, 14.025f);
    EXPECT_EQ(spot.receivedAt, clock.local);
    EXPECT_EQ(spot.mapLabel, "K1");
    ASSERT_EQ(spots.list().rowCount(), 1);
    const SpotListRow& row = spots.list().row(0);
    EXPECT_EQ(row.call, "K1ABC");
    EXPECT_EQ(row.frequency, "14.025");
    EXPECT_EQ(row.qth, "USA");
    EXPECT_EQ(row.comments, "de W3LPL:  CQ TEST");
    EXPECT_EQ(row.time, "1200");
    EXPECT_EQ(spots.list().headerData(SpotListModel::CommentsColumn, Qt::Horizontal, Qt::DisplayRole).toString(),
        QStringLiteral("Comments"));
}

TEST_F(SpotsModelTest, theListKeepsTheNewest200AndAWithdrawnSpotStaysListed)
{
    for (int i = 0; i < SpotListModel::MaxRows + 1; ++i) {
        spots.addSpot("K" + std::to_string(i) + "AB", "14025.0", "de W3LPL:");
    }
    EXPECT_EQ(spots.list().rowCount(), SpotListModel::MaxRows);
    EXPECT_EQ(spots.list().row(0).call, "K200AB");
    EXPECT_EQ(spots.list().row(SpotListModel::MaxRows - 1).call, "K1AB") << "the oldest row went";
    spots.withdraw(SpotStore::NewestSlot);
    EXPECT_EQ(spots.store().slot(SpotStore::NewestSlot).freqMHz, 0.0f);
    EXPECT_EQ(spots.list().rowCount(), SpotListModel::MaxRows);
}

TEST_F(SpotsModelTest, aSecondSpotOfACallWithdrawsTheFirstButBothAreListed)
{
    spots.addSpot("K1ABC", "14025.0", "de W3LPL:");
    spots.addSpot("k1abc", "21025.0", "de W3LPL:");
    EXPECT_EQ(spots.store().slot(48).freqMHz, 0.0f);
    EXPECT_FLOAT_EQ(spots.store().slot(49).freqMHz, 21.025f);
    EXPECT_EQ(spots.list().rowCount(), 2);
}

TEST_F(SpotsModelTest, theWorkedMarksFollowTheLogByCallAndBand)
{
    worked.insert("K1ABC/20");
    spots.addSpot("K1ABC", "14025.0", "de W3LPL:");
    spots.addSpot("K2ABC", "14030.0", "de W3LPL:");
    spots.addSpot("K3ABC", "7025.0", "de W3LPL:");
    EXPECT_TRUE(spots.isWorked(47));
    EXPECT_FALSE(spots.isWorked(48));

    QSignalSpy changed(&spots, &SpotsModel::spotsChanged);
    spots.contactLogged("k2abc", "40");
    EXPECT_FALSE(spots.isWorked(48)) << "worked on another band";
    spots.contactLogged("k2abc", "20");
    EXPECT_TRUE(spots.isWorked(48));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(spots.list().data(spots.list().index(1, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));

    // The log read again without K1ABC: its mark goes.
    worked = { "K3ABC/40" };
    spots.logChanged();
    EXPECT_FALSE(spots.isWorked(47));
    EXPECT_FALSE(spots.isWorked(48));
    EXPECT_TRUE(spots.isWorked(49));
    EXPECT_FALSE(spots.list().data(spots.list().index(2, 0), Qt::ForegroundRole).isValid());
}

TEST_F(SpotsModelTest, aBatchLeavesTheStoreTheListAndTheAlertsAsItsLinesOneByOneWould)
{
    const auto line = [](const std::string& call, const std::string& freqKHz) {
        char text[128];
        std::snprintf(text, sizeof text, "DX de W3LPL:    %8s  %-12s CQ TEST                        1200Z\r\n",
            freqKHz.c_str(), call.c_str());
        return std::string(text);
    };
    const auto many = [&](int count, int from) {
        std::vector<std::string> lines;
        for (int i = from; i < from + count; ++i) {
            lines.push_back(line("K" + std::to_string(i) + "AB", i % 2 == 0 ? "14025.0" : "7025.0"));
        }
        return lines;
    };
    struct Case
    {
        const char* what;
        std::vector<std::string> before; // one at a time, into both
        std::vector<std::string> batch;
    };
    const std::vector<Case> cases {
        { "a few on two bands, one worked", {},
            { line("K1ABC", "14025.0"), line("W2XYZ", "7012.5"), line("K2ABC", "14030.0") } },
        { "the own call, twice, in any case", {},
            { line("DL1ABC", "14025.0"), line("K1ABC", "14026.0"), line("dl1abc", "7001.0") } },
        { "a station spotted again in the batch and before it", { line("K2ABC", "21025.0") },
            { line("K2ABC", "14030.0"), line("N1XX", "14031.0"), line("k2abc", "7030.0") } },
        { "letters where the frequency belongs", {}, { line("DL1ABC", "abc"), line("N1XX", "14031.0") } },
        { "a batch that pushes older rows off the list", many(150, 0), many(100, 150) },
        { "more than the list keeps in one batch", many(30, 0), many(260, 30) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        worked = { "K1ABC/20" };
        SpotsModel batched { clock, context() };
        SpotsModel oneByOne { clock, context() };
        for (const std::string& earlier : c.before) {
            batched.addSpotLine(earlier);
            oneByOne.addSpotLine(earlier);
        }
        QSignalSpy alerts(&batched, &SpotsModel::ownCallSpotted);
        QSignalSpy alertsOneByOne(&oneByOne, &SpotsModel::ownCallSpotted);
        QSignalSpy added(&batched, &SpotsModel::spotAdded);
        QSignalSpy inserted(&batched.list(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&batched.list(), &QAbstractItemModel::rowsRemoved);

        batched.addSpotLines(c.batch);
        for (const std::string& each : c.batch) {
            oneByOne.addSpotLine(each);
        }

        EXPECT_EQ(batched.store().all(), oneByOne.store().all());
        for (int slot = 0; slot < SpotStore::SlotCount; ++slot) {
            EXPECT_EQ(batched.isWorked(slot), oneByOne.isWorked(slot)) << slot;
        }
        ASSERT_EQ(batched.list().rowCount(), oneByOne.list().rowCount());
        for (int row = 0; row < batched.list().rowCount(); ++row) {
            const SpotListRow& got = batched.list().row(row);
            const SpotListRow& expected = oneByOne.list().row(row);
            EXPECT_EQ(std::tie(got.call, got.frequency, got.qth, got.comments, got.prefix, got.time, got.from),
                std::tie(expected.call, expected.frequency, expected.qth, expected.comments, expected.prefix,
                    expected.time, expected.from))
                << row;
            for (int column = 0; column < SpotListModel::ColumnCount; ++column) {
                for (const int role : { int(Qt::DisplayRole), int(Qt::ForegroundRole), int(Qt::ToolTipRole) }) {
                    EXPECT_EQ(batched.list().data(batched.list().index(row, column), role),
                        oneByOne.list().data(oneByOne.list().index(row, column), role))
                        << row << " " << column << " " << role;
                }
            }
        }
        ASSERT_EQ(alerts.size(), alertsOneByOne.size());
        for (qsizetype i = 0; i < alerts.size(); ++i) {
            EXPECT_EQ(alerts[i][0], alertsOneByOne[i][0]);
        }
        // The list and the maps hear of the batch once.
        EXPECT_EQ(added.size(), 1);
        EXPECT_EQ(inserted.size(), 1);
        EXPECT_LE(removed.size(), 1);
    }
}

} // namespace
} // namespace brindle::test
