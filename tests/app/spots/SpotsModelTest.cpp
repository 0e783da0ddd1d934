// The spots kept: what a spot line becomes in the store and the list, the list's 200 rows, and the
// worked marks as the log changes.

#include "spots/SpotsModel.h"

#include "station/CountryTable.h"
#include "support/ManualClock.h"

#include <QColor>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <set>

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

} // namespace
} // namespace brindle::test
