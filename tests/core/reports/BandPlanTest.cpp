#include "reports/BandPlan.h"

#include "os/PosixFileSystem.h"

#include "support/Printers.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace brindle {

namespace {

std::vector<std::string> rowBands(const BandPlanChart& chart)
{
    std::vector<std::string> bands;
    for (const ChartRow& row : chart.rows) {
        bands.push_back(row.band);
    }
    return bands;
}

const ChartArea Area { 1000, 700, 100 };

// --- Reading ------------------------------------------------------------------------------------------

TEST(BandPlanTest, readsTheEffectiveDateThenRecordsOfFiveFields)
{
    const BandPlanReading reading = parseBandPlan("\"March 5, 2012\"\r\n"
                                                  "\"20\",\"O\",\"CW\",14.000,14.350\r\n"
                                                  "\"20\",\"E\",\"CW\",14.000,14.150\r\n"
                                                  "20,G,PH, 14.225 ,14.35\r\n");
    ASSERT_TRUE(reading.complete);
    EXPECT_EQ(reading.plan.effective, "March 5, 2012");
    const std::vector<BandPlanRecord> expected {
        { "20", "O", "CW", 14.0f, 14.35f },
        { "20", "E", "CW", 14.0f, 14.15f },
        { "20", "G", "PH", 14.225f, 14.35f },
    };
    EXPECT_EQ(reading.plan.records, expected);
}

TEST(BandPlanTest, lfLineEndsAndBlankLinesReadTheSame)
{
    const BandPlanReading reading = parseBandPlan("2012\n\n\"20\",\"O\",\"CW\",14,14.35\n\n\n");
    ASSERT_TRUE(reading.complete);
    EXPECT_EQ(reading.plan.effective, "2012");
    ASSERT_EQ(reading.plan.records.size(), 1u);
    EXPECT_EQ(reading.plan.records[0].end, 14.35f);
}

TEST(BandPlanTest, aDamagedFileIsIncompleteAndKeepsTheRecordsBeforeTheDamage)
{
    struct Case
    {
        const char* name;
        const char* content;
        std::size_t recordsKept;
    };
    const Case cases[] = {
        { "empty file", "", 0 },
        { "short last record", "\"2012\"\r\n\"20\",\"O\",\"CW\",14,14.35\r\n\"20\",\"E\",\"CW\",14\r\n", 1 },
        { "edge not a number", "\"2012\"\r\n\"20\",\"O\",\"CW\",14,14.35\r\n\"20\",\"E\",\"CW\",14,14.1x\r\n", 1 },
        { "edge empty", "\"2012\"\r\n\"20\",\"O\",\"CW\",,14.35\r\n", 0 },
        { "unterminated quote", "\"2012\"\r\n\"20\",\"O\",\"CW\",14,14.35\r\n\"20\",\"E\",\"CW,14,14.1\r\n", 1 },
        { "stray quote", "\"2012\"\r\n\"20\"x,\"O\",\"CW\",14,14.35\r\n", 0 },
    };
    for (const Case& c : cases) {
        const BandPlanReading reading = parseBandPlan(c.content);
        EXPECT_FALSE(reading.complete) << c.name;
        EXPECT_EQ(reading.plan.records.size(), c.recordsKept) << c.name;
    }
}

TEST(BandPlanTest, aMissingFileIsAnEmptyIncompleteReadingAndThereIsAMessageForIt)
{
    test::TempFolder folder;
    PosixFileSystem fs;
    const BandPlanReading missing = readBandPlan(fs, folder.path());
    EXPECT_FALSE(missing.complete);
    EXPECT_TRUE(missing.plan.records.empty());

    test::writeBytes(folder.file("BandPlan.txt"), "\"2012\"\r\n\"20\",\"O\",\"CW\",14,14.35\r\n");
    const BandPlanReading present = readBandPlan(fs, folder.path());
    EXPECT_TRUE(present.complete);
    EXPECT_EQ(present.plan.records.size(), 1u);

    EXPECT_EQ(
        bandDataNotAvailableMessage(), (OperatorMessage { "Band Data Not Available.", "Band data not available." }));
}

// --- Rows and segments --------------------------------------------------------------------------------

// Technicians have 80 and 15 but nothing on 20.
const std::vector<BandPlanRecord> ThreeBands {
    { "80", "O", "", 3.5f, 4.0f },
    { "80", "E", "CW", 3.5f, 3.6f },
    { "80", "T", "CW", 3.525f, 3.6f },
    { "20", "O", "", 14.0f, 14.35f },
    { "20", "E", "CW", 14.0f, 14.15f },
    { "20", "E", "PH", 14.15f, 14.35f },
    { "15", "O", "", 21.0f, 21.45f },
    { "15", "E", "CW", 21.0f, 21.2f },
    { "15", "T", "CW", 21.025f, 21.2f },
};

TEST(BandPlanTest, aClassWithNoSegmentOnABandHasNoRowForItAndTheRowsCloseUp)
{
    const BandPlanChart extra = layoutBandPlanChart(ThreeBands, "E", Area);
    const BandPlanChart technician = layoutBandPlanChart(ThreeBands, "T", Area);
    EXPECT_EQ(rowBands(extra), (std::vector<std::string> { "80", "20", "15" }));
    EXPECT_EQ(rowBands(technician), (std::vector<std::string> { "80", "15" }));
    EXPECT_TRUE(layoutBandPlanChart(ThreeBands, "N", Area).rows.empty());

    // Two rows share the space below the header line that three shared: 15 m moves up into 20 m's place
    // and beyond.
    const double spacing = (700 - 100) * 0.8 / 2;
    EXPECT_DOUBLE_EQ(technician.rows[1].bar.top - technician.rows[0].bar.top, spacing);
    EXPECT_LT(technician.rows[1].bar.top, extra.rows[2].bar.top);
    EXPECT_GT(technician.rows[0].bar.top, Area.headerLine);
}

TEST(BandPlanTest, rowsComeOnlyFromSegmentsGroupedAfterTheirBandsEdges)
{
    // The 20 m Extra record stands after 40 m's group: 20 m gets no Extra row from it.
    const std::vector<BandPlanRecord> records {
        { "20", "O", "", 14.0f, 14.35f },
        { "20", "G", "CW", 14.025f, 14.15f },
        { "40", "O", "", 7.0f, 7.3f },
        { "40", "E", "CW", 7.0f, 7.125f },
        { "20", "E", "CW", 14.0f, 14.15f },
    };
    EXPECT_EQ(chartRowRecords(records, "E"), (std::vector<std::size_t> { 2 }));
    EXPECT_EQ(chartRowRecords(records, "G"), (std::vector<std::size_t> { 0 }));
}

TEST(BandPlanTest, segmentsLieOverTheBarInProportionBlueForCwAndGreenForPhone)
{
    const std::vector<BandPlanRecord> records {
        { "40", "O", "", 7.0f, 7.3f },
        { "40", "G", "CW", 7.025f, 7.125f },
        { "40", "G", "CW", 7.0f, 7.01f },
        { "40", "G", "SSB", 7.175f, 7.3f },
    };
    const BandPlanChart chart = layoutBandPlanChart(records, "G", Area);
    ASSERT_EQ(chart.rows.size(), 1u);
    const ChartRow& row = chart.rows[0];
    EXPECT_EQ(row.barToolTip, "40  7.000 - 7.300");
    EXPECT_DOUBLE_EQ(row.bar.left, 100);
    EXPECT_DOUBLE_EQ(row.bar.width, 850);
    EXPECT_DOUBLE_EQ(row.bar.height, 28);
    EXPECT_DOUBLE_EQ(row.nameBox.left, 40);
    EXPECT_DOUBLE_EQ(row.nameBox.width, 50);

    ASSERT_EQ(row.segments.size(), 3u);
    const ChartSegment& cw = row.segments[0];
    EXPECT_TRUE(cw.cw);
    EXPECT_EQ(cw.caption, "7.025 - 7.125");
    EXPECT_EQ(cw.toolTip, "CW  7.025 - 7.125");
    EXPECT_NEAR(cw.box.left, 100 + 850 * 0.025 / 0.3, 1e-3);
    EXPECT_NEAR(cw.box.width, 850 * 0.1 / 0.3, 1e-3);
    EXPECT_DOUBLE_EQ(cw.box.top, row.bar.top);
    EXPECT_DOUBLE_EQ(cw.box.height, row.bar.height);
    EXPECT_TRUE(row.segments[1].cw);
    // Any mode but "CW" is phone.
    EXPECT_FALSE(row.segments[2].cw);
    EXPECT_EQ(row.segments[2].toolTip, "PH  7.175 - 7.300");
}

TEST(BandPlanTest, aBandWhoseEdgesMeetEndsTheChartThere)
{
    const std::vector<BandPlanRecord> records {
        { "80", "O", "", 3.5f, 4.0f },
        { "80", "E", "CW", 3.5f, 3.6f },
        { "20", "O", "", 14.0f, 14.0f },
        { "20", "E", "CW", 14.0f, 14.15f },
        { "15", "O", "", 21.0f, 21.45f },
        { "15", "E", "CW", 21.0f, 21.2f },
    };
    const BandPlanChart chart = layoutBandPlanChart(records, "E", Area);
    EXPECT_FALSE(chart.complete);
    EXPECT_EQ(rowBands(chart), (std::vector<std::string> { "80", "20" }));
    EXPECT_EQ(chart.rows[0].segments.size(), 1u);
    EXPECT_TRUE(chart.rows[1].segments.empty());
}

TEST(BandPlanTest, theChartHoldsTwoHundredRecordsAndTwentyRows)
{
    // 22 bands of two records each: the 21st and 22nd are beyond the rows.
    std::vector<BandPlanRecord> records;
    for (int band = 1; band <= 22; ++band) {
        records.push_back({ std::to_string(band), "O", "", 1.0f, 2.0f });
        records.push_back({ std::to_string(band), "E", "CW", 1.0f, 1.5f });
    }
    const std::vector<std::size_t> rows = chartRowRecords(records, "E");
    ASSERT_EQ(rows.size(), BandPlanMaxRows);
    EXPECT_EQ(records[rows.back()].band, "20");

    // A band whose class record comes after the 200th record has no row.
    std::vector<BandPlanRecord> long_;
    for (int i = 0; i < 199; ++i) {
        long_.push_back({ "1", i == 0 ? "O" : "G", "CW", 1.0f, 2.0f });
    }
    long_.push_back({ "2", "O", "", 3.0f, 4.0f }); // the 200th record
    long_.push_back({ "2", "E", "CW", 3.0f, 3.5f }); // the 201st: left out
    long_.push_back({ "1", "E", "CW", 1.0f, 1.5f });
    EXPECT_TRUE(chartRowRecords(long_, "E").empty());
}

TEST(BandPlanTest, edgesAreWrittenWithThreeDecimals)
{
    struct Case
    {
        float mhz;
        const char* text;
    };
    for (const Case& c :
        { Case { 14.0f, "14.000" }, Case { 1.8f, "1.800" }, Case { 5.3306f, "5.331" }, Case { 29.7f, "29.700" },
            Case { 0.1357f, ".136" }, Case { 1296.5f, "1,296.500" }, Case { 10000.0f, "10,000.000" } }) {
        EXPECT_EQ(formatPlanFrequency(c.mhz), c.text) << c.mhz;
    }
    EXPECT_EQ(formatPlanEdges(3.525f, 3.6f), "3.525 - 3.600");
}

// --- The shipped band plan ----------------------------------------------------------------------------

class ShippedBandPlanTest : public ::testing::Test
{
protected:
    ShippedBandPlanTest()
        : content(test::readBytes(std::string(BRINDLE_DATA_DIR) + "/BandPlan.txt"))
        , reading(parseBandPlan(content))
    {
    }

    // The mode the rig interface chooses: the first Extra record whose edges hold the frequency strictly.
    std::optional<std::string> extraMode(float mhz) const
    {
        for (const BandPlanRecord& record : reading.plan.records) {
            if (record.licenceClass == "E" && record.start < mhz && mhz < record.end) {
                return record.mode;
            }
        }
        return std::nullopt;
    }

    const std::string content;
    const BandPlanReading reading;
};

TEST_F(ShippedBandPlanTest, isCompleteWithCrLfLineEndsAndEveryBandGroupedBehindItsEdges)
{
    ASSERT_TRUE(reading.complete);
    EXPECT_FALSE(reading.plan.effective.empty());
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '\n') {
            ASSERT_TRUE(i > 0 && content[i - 1] == '\r') << "bare line feed at byte " << i;
        }
    }
    ASSERT_LE(reading.plan.records.size(), BandPlanMaxRecords);

    std::set<std::string> finished;
    const BandPlanRecord* edges = nullptr;
    for (const BandPlanRecord& record : reading.plan.records) {
        if (record.licenceClass == "O") {
            if (edges) {
                finished.insert(edges->band);
            }
            EXPECT_FALSE(finished.count(record.band)) << "band " << record.band << " appears twice";
            edges = &record;
            EXPECT_LT(record.start, record.end) << record.band;
            continue;
        }
        ASSERT_NE(edges, nullptr) << "a segment before any band's edges";
        EXPECT_EQ(record.band, edges->band) << "a segment outside its band's group";
        EXPECT_GE(record.start, edges->start) << record.band << " " << record.licenceClass;
        EXPECT_LE(record.end, edges->end) << record.band << " " << record.licenceClass;
        EXPECT_LT(record.start, record.end) << record.band << " " << record.licenceClass;
        EXPECT_TRUE(record.mode == "CW" || record.mode == "PH") << record.mode;
        EXPECT_NE(std::string_view("NTPGAE").find(record.licenceClass), std::string_view::npos) << record.licenceClass;
    }
}

TEST_F(ShippedBandPlanTest, showsTheHfBandsOfEachClass)
{
    const std::vector<std::string> allHf { "160", "80", "60", "40", "30", "20", "17", "15", "12", "10" };
    const std::vector<std::string> entryHf { "80", "40", "15", "10" };
    const std::map<std::string, std::vector<std::string>> expected {
        { "E", allHf },
        { "A", allHf },
        { "G", allHf },
        { "P", entryHf },
        { "T", entryHf },
        { "N", entryHf },
    };
    for (const auto& [licence, bands] : expected) {
        const BandPlanChart chart = layoutBandPlanChart(reading.plan.records, licence, Area);
        EXPECT_TRUE(chart.complete) << licence;
        EXPECT_EQ(rowBands(chart), bands) << licence;
    }
}

TEST_F(ShippedBandPlanTest, theExtraSegmentsGiveTheRigAModeForEveryContestFrequency)
{
    struct Case
    {
        float mhz;
        std::optional<std::string> mode;
    };
    const Case cases[] = {
        { 1.830f, "PH" }, // the whole of 160 m is open to every mode
        { 3.525f, "CW" },
        { 3.750f, "PH" },
        { 5.357f, "PH" },
        { 5.340f, std::nullopt }, // between two 60 m channels
        { 7.030f, "CW" },
        { 7.200f, "PH" },
        { 10.120f, "CW" },
        { 14.025f, "CW" },
        { 14.150f, std::nullopt }, // a segment edge belongs to neither side
        { 14.250f, "PH" },
        { 18.100f, "CW" },
        { 21.025f, "CW" },
        { 21.300f, "PH" },
        { 24.950f, "PH" },
        { 28.025f, "CW" },
        { 28.500f, "PH" },
        { 50.100f, std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(extraMode(c.mhz), c.mode) << c.mhz;
    }
}

TEST_F(ShippedBandPlanTest, theSegmentsOfAClassOnABandDoNotOverlap)
{
    std::map<std::pair<std::string, std::string>, std::vector<const BandPlanRecord*>> segments;
    for (const BandPlanRecord& record : reading.plan.records) {
        if (record.licenceClass != "O") {
            segments[{ record.band, record.licenceClass }].push_back(&record);
        }
    }
    for (const auto& [key, list] : segments) {
        for (std::size_t i = 1; i < list.size(); ++i) {
            EXPECT_LE(list[i - 1]->end, list[i]->start) << key.first << " " << key.second;
        }
    }
}

} // namespace

} // namespace brindle
