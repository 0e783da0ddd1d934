#include "rig/BandPlanModes.h"

#include "os/PosixFileSystem.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace brindle {
namespace {

BandPlanModes modesOf(std::string_view content)
{
    return BandPlanModes(parseBandPlan(content).plan);
}

std::string modeAt(const BandPlanModes& modes, std::string_view mhz)
{
    return modes.bandPlanMode(hertzFromText(mhz).value());
}

TEST(BandPlanModesTest, theShippedPlanGivesEachSegmentItsMode)
{
    PosixFileSystem fs;
    const BandPlanModes modes = loadBandPlanModes(fs, BRINDLE_DATA_DIR);
    ASSERT_FALSE(modes.records().empty());
    struct Case
    {
        std::string_view mhz;
        std::string_view mode;
    };
    const Case cases[] = {
        { "1.85", "" }, // 160 m: CW and phone share the band
        { "3.55", "CW" },
        { "3.8", "LSB" },
        { "5.3585", "LSB" },
        { "5.34", "" }, // between the 60 m channels
        { "7.025", "CW" },
        { "7.2", "LSB" },
        { "10.12", "CW" },
        { "10.16", "" }, // 30 m has no phone segment
        { "14.025", "CW" },
        { "14.2", "USB" },
        { "14.15", "" }, // the edge between CW and phone
        { "14", "" }, // the band's lower edge
        { "14.35", "" },
        { "18.1", "CW" },
        { "18.13", "USB" },
        { "21.2345", "USB" },
        { "24.95", "USB" },
        { "28.5", "USB" },
        { "52", "" }, // no Extra segments above 10 m in the plan
        { "146", "" },
        { "0", "" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(modeAt(modes, c.mhz), c.mode) << c.mhz;
    }
}

TEST(BandPlanModesTest, onlyExtraRecordsCountAndTheFirstThatHoldsTheFrequencyWins)
{
    const BandPlanModes modes = modesOf("\"2012\"\r\n"
                                        "\"20\",\"O\",\"ALL\",14.000,14.350\r\n"
                                        "\"20\",\"G\",\"RTTY\",14.000,14.350\r\n"
                                        "\"20\",\"E\",\"CW\",14.000,14.150\r\n"
                                        "\"20\",\"E\",\"PH\",14.100,14.350\r\n"
                                        "\"40\",\"E\",\"PH\",7.125,7.300\r\n"
                                        "\"80\",\"E\",\"PH\",3.600,4.000\r\n"
                                        "\"60\",\"E\",\"PH\",5.3515,5.3665\r\n"
                                        "\"17\",\"E\",\"PH\",18.110,18.168\r\n"
                                        "\"6\",\"E\",\"RTTY\",50.300,50.600\r\n"
                                        "\"160\",\"E\",\"CW\",1.800,2.000\r\n"
                                        "\"e\",\"e\",\"PH\",52.000,54.000\r\n"
                                        "\"2\",\"E\",\"ph\",144.000,148.000\r\n");
    EXPECT_EQ(modes.records().size(), 9u);
    struct Case
    {
        std::string_view mhz;
        std::string_view mode;
    };
    const Case cases[] = {
        { "14.12", "CW" }, // in both Extra records: the first
        { "14.2", "USB" }, { "7.2", "LSB" }, { "3.7", "LSB" }, { "5.36", "LSB" }, { "18.12", "USB" },
        { "50.4", "RTTY" }, // as found
        { "1.9", "" }, // 160 m, whatever the record says
        { "53", "" }, // class "e" is no Extra record
        { "146", "ph" }, // only "PH" is phone
    };
    for (const Case& c : cases) {
        EXPECT_EQ(modeAt(modes, c.mhz), c.mode) << c.mhz;
    }
}

TEST(BandPlanModesTest, edgesAreComparedAsThePlanHoldsThemInSinglePrecision)
{
    // 14.07 is no float: the plan holds the nearest one, and a frequency typed as the edge is that edge.
    const BandPlanModes modes = modesOf("\"2012\"\r\n"
                                        "\"20\",\"E\",\"CW\",14.000,14.070\r\n"
                                        "\"20\",\"E\",\"RTTY\",14.070,14.150\r\n");
    EXPECT_EQ(modeAt(modes, "14.07"), "");
    EXPECT_EQ(modeAt(modes, "14.069999"), "CW");
    EXPECT_EQ(modeAt(modes, "14.070001"), "RTTY");
}

TEST(BandPlanModesTest, atMostTwoHundredExtraRecordsAreKept)
{
    std::string content = "\"2012\"\r\n";
    for (int i = 0; i < 250; ++i) {
        content += "\"20\",\"G\",\"PH\",14.0,14.35\r\n"; // other classes take no place
        content += "\"20\",\"E\",\"" + std::string(i < 200 ? "X" : "CW") + "\",1" + std::to_string(i) + ".1,1"
            + std::to_string(i) + ".9\r\n";
    }
    const BandPlanModes modes = modesOf(content);
    EXPECT_EQ(modes.records().size(), 200u);
    EXPECT_EQ(modeAt(modes, "1199.5"), "X");
    EXPECT_EQ(modeAt(modes, "1200.5"), "");
}

TEST(BandPlanModesTest, aMissingFileGivesNoModesAndADamagedOneThoseBeforeTheDamage)
{
    test::TempFolder folder;
    PosixFileSystem fs;
    EXPECT_TRUE(loadBandPlanModes(fs, folder.path()).records().empty());
    EXPECT_EQ(modeAt(loadBandPlanModes(fs, folder.path()), "14.025"), "");

    test::writeBytes(folder.file("BandPlan.txt"),
        "\"2012\"\r\n"
        "\"20\",\"E\",\"CW\",14.000,14.150\r\n"
        "\"20\",\"E\",\"PH\",14.150,fourteen\r\n"
        "\"40\",\"E\",\"CW\",7.000,7.125\r\n");
    const BandPlanModes damaged = loadBandPlanModes(fs, folder.path());
    EXPECT_EQ(damaged.records().size(), 1u);
    EXPECT_EQ(modeAt(damaged, "14.025"), "CW");
    EXPECT_EQ(modeAt(damaged, "14.2"), "");
    EXPECT_EQ(modeAt(damaged, "7.025"), "");
}

} // namespace
} // namespace brindle
