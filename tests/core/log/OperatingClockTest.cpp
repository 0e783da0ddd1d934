#include "log/OperatingClock.h"

#include "log/ContestSession.h"
#include "os/PosixFileSystem.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

constexpr DateTime Start { 2026, 2, 21, 23, 59, 30 };

TEST(OperatingClock, aRunningPeriodAddsToTheFinishedOnesAcrossMidnight)
{
    OperatingState state;
    state.accumulatedOnSeconds = 100;
    startOperatingClock(state, Start);
    EXPECT_TRUE(state.timeOn);

    ASSERT_TRUE(tickOperatingClock(state, { 2026, 2, 22, 0, 1, 0 }));
    EXPECT_EQ(state.totalOnSeconds, 190);
    EXPECT_EQ(state.accumulatedOnSeconds, 100) << "only stopping keeps the period";

    ASSERT_TRUE(stopOperatingClock(state));
    EXPECT_FALSE(state.timeOn);
    EXPECT_EQ(state.accumulatedOnSeconds, 190);
}

TEST(OperatingClock, aStoppedClockNeitherTicksNorStopsAgain)
{
    OperatingState state;
    state.accumulatedOnSeconds = 50;
    state.totalOnSeconds = 50;
    EXPECT_FALSE(tickOperatingClock(state, Start));
    EXPECT_FALSE(stopOperatingClock(state));
    EXPECT_EQ(state.totalOnSeconds, 50);
    EXPECT_EQ(state.accumulatedOnSeconds, 50);
}

TEST(OperatingClock, loggedOffTextNamesTheDateAsGivenAndTheUtcTime)
{
    EXPECT_EQ(loggedOffText("2/22/26", { 2026, 2, 22, 7, 5, 9 }), "Logged Off at 2/22/26 07:05:09");
}

TEST(ContestSession, savedSettingsCarryTheRunningBandTimeAndListFlagAndReadBackTheSame)
{
    PosixFileSystem fs;
    ContestSession session(fs, "/nonexistent/log.txt");
    DefaultData loaded;
    loaded.ownCall = "G4ABC";
    loaded.band = "40";
    loaded.totalOnSeconds = 3600;
    loaded.listPreviousContacts = 1;
    session.adoptSettings(loaded);
    EXPECT_EQ(session.state.currentBand, "40");
    EXPECT_EQ(session.state.accumulatedOnSeconds, 3600);
    EXPECT_TRUE(session.state.listPreviousContacts);

    session.state.currentBand = "15";
    session.state.accumulatedOnSeconds = 4000;
    session.state.listPreviousContacts = false;
    const DefaultData saved = session.settingsToSave();
    EXPECT_EQ(saved.ownCall, "G4ABC");
    EXPECT_EQ(saved.band, "15");
    EXPECT_EQ(saved.totalOnSeconds, 4000);
    EXPECT_EQ(saved.listPreviousContacts, 0);
    EXPECT_EQ(session.defaults.band, "40") << "folding in changes nothing until it is saved";
}

} // namespace
} // namespace brindle
