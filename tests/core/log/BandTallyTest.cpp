#include "log/BandTally.h"

#include "support/LogSamples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brindle {
namespace {

using test::logOf;

QsoRecord contact(std::string call, std::string section, std::string band)
{
    QsoRecord record;
    record.call = std::move(call);
    record.rstRcvd = "599";
    record.section = std::move(section);
    record.rstSent = "599";
    record.country = "United States";
    record.qsoDate = "2026/02/21";
    record.qsoTime = "14:05:30";
    record.band = std::move(band);
    return record;
}

// Distinct section texts, as a damaged or hand-made file might hold them.
ContestLog distinctSectionsOn(std::string band, int count)
{
    ContestLog log;
    for (int i = 0; i < count; ++i) {
        log.append(contact("K1AB", "S" + std::to_string(i), band));
    }
    return log;
}

TEST(BandTallies, rebuildCountsContactsAndDistinctSectionsPerBand)
{
    BandTallies tallies;
    ASSERT_TRUE(tallies.rebuild(logOf({
        contact("K1AB", "MA", "20"),
        contact("W2XY", "NY", "20"),
        contact("K1AB", "MA", "40"),
        contact("VE3AA", "ON", "20"),
        contact("K1ZZ", "MA", "20"),
        contact("N0XX", "CO", "160"),
    })));
    EXPECT_EQ(tallies.forBand("20")->qsoCount, 4);
    EXPECT_EQ(tallies.forBand("20")->sections, (std::vector<std::string> { "MA", "NY", "ON" }));
    EXPECT_EQ(tallies.forBand("20")->multCount(), 3);
    EXPECT_EQ(tallies.forBand("40")->qsoCount, 1);
    EXPECT_EQ(tallies.forBand("40")->sections, (std::vector<std::string> { "MA" }));
    EXPECT_EQ(tallies.forBand("160")->qsoCount, 1);
    for (std::string_view band : { "80", "15", "10" }) {
        EXPECT_EQ(tallies.forBand(band)->qsoCount, 0) << band;
        EXPECT_EQ(tallies.forBand(band)->multCount(), 0) << band;
    }
    EXPECT_EQ(&tallies[3], tallies.forBand("20"));
}

TEST(BandTallies, sectionsDifferingOnlyInCaseCountOnceInTheSpellingFirstLogged)
{
    BandTallies tallies;
    ASSERT_TRUE(tallies.rebuild(logOf({
        contact("VE8AA", "nwt", "15"),
        contact("VE8BB", "NWT", "15"),
        contact("K1AB", "Ma", "15"),
        contact("K1CD", "mA", "15"),
    })));
    EXPECT_EQ(tallies.forBand("15")->qsoCount, 4);
    EXPECT_EQ(tallies.forBand("15")->sections, (std::vector<std::string> { "nwt", "Ma" }));
    EXPECT_TRUE(tallies.forBand("15")->hasSection("NWT"));
    EXPECT_TRUE(tallies.forBand("15")->hasSection("ma"));
    EXPECT_FALSE(tallies.forBand("15")->hasSection("NY"));
}

TEST(BandTallies, aRecordOnNoContestBandCountsNowhere)
{
    BandTallies tallies;
    ASSERT_TRUE(
        tallies.rebuild(logOf({ contact("K1AB", "MA", "6"), contact("K1CD", "CT", "2"), contact("K1EF", "RI", "") })));
    for (std::size_t i = 0; i < BandCount; ++i) {
        EXPECT_EQ(tallies[i].qsoCount, 0) << BandCodes[i];
        EXPECT_EQ(tallies[i].multCount(), 0) << BandCodes[i];
    }
    EXPECT_EQ(tallies.forBand("6"), nullptr);

    tallies.count(contact("K1AB", "MA", "6"));
    for (std::size_t i = 0; i < BandCount; ++i) {
        EXPECT_EQ(tallies[i].qsoCount, 0) << BandCodes[i];
    }
}

TEST(BandTallies, rebuildStartsAfresh)
{
    BandTallies tallies;
    ASSERT_TRUE(tallies.rebuild(logOf({ contact("K1AB", "MA", "20"), contact("W2XY", "NY", "20") })));
    ASSERT_TRUE(tallies.rebuild(logOf({ contact("N0XX", "CO", "20") })));
    EXPECT_EQ(tallies.forBand("20")->qsoCount, 1);
    EXPECT_EQ(tallies.forBand("20")->sections, (std::vector<std::string> { "CO" }));
}

TEST(BandTallies, countAddsOneContactAsRebuildWould)
{
    const ContestLog log = test::sampleLog(500);
    BandTallies counted;
    for (const QsoRecord& record : log.records()) {
        counted.count(record);
    }
    BandTallies rebuilt;
    ASSERT_TRUE(rebuilt.rebuild(log));
    for (std::size_t i = 0; i < BandCount; ++i) {
        EXPECT_EQ(counted[i].qsoCount, rebuilt[i].qsoCount) << BandCodes[i];
        EXPECT_EQ(counted[i].sections, rebuilt[i].sections) << BandCodes[i];
    }
}

TEST(BandTallies, twoThousandDistinctSectionsOnOneBandStillFit)
{
    BandTallies tallies;
    ASSERT_TRUE(tallies.rebuild(distinctSectionsOn("80", BandTallies::MaxSections)));
    EXPECT_EQ(tallies.forBand("80")->multCount(), 2000);
}

TEST(BandTallies, moreThanTwoThousandDistinctSectionsOnOneBandFailAndChangeNothing)
{
    BandTallies tallies;
    ASSERT_TRUE(tallies.rebuild(logOf({ contact("K1AB", "MA", "20"), contact("N0XX", "CO", "80") })));

    ContestLog tooMany = distinctSectionsOn("80", BandTallies::MaxSections + 1);
    tooMany.append(contact("W2XY", "NY", "20"));
    EXPECT_FALSE(tallies.rebuild(tooMany));

    EXPECT_EQ(tallies.forBand("20")->qsoCount, 1);
    EXPECT_EQ(tallies.forBand("20")->sections, (std::vector<std::string> { "MA" }));
    EXPECT_EQ(tallies.forBand("80")->qsoCount, 1);
    EXPECT_EQ(tallies.forBand("80")->sections, (std::vector<std::string> { "CO" }));
}

TEST(BandTallies, theLimitIsPerBand)
{
    ContestLog log = distinctSectionsOn("80", BandTallies::MaxSections);
    const ContestLog on40 = distinctSectionsOn("40", BandTallies::MaxSections);
    for (const QsoRecord& record : on40.records()) {
        log.append(record);
    }
    BandTallies tallies;
    EXPECT_TRUE(tallies.rebuild(log));
}

} // namespace
} // namespace brindle
