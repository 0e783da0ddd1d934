#include "spots/SpotCountry.h"

#include "station/CountryTable.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace brindle {
namespace {

CountryTable tableOf(std::initializer_list<std::pair<const char*, const char*>> records)
{
    std::vector<CountryInfo> infos;
    for (const auto& [prefix, country] : records) {
        CountryInfo info;
        info.prefix = prefix;
        info.country = country;
        infos.push_back(info);
    }
    return CountryTable(std::move(infos));
}

struct Case
{
    const char* call;
    const char* country;
};

void expectCountries(const CountryTable& table, std::initializer_list<Case> cases, const char* tableName)
{
    for (const Case& c : cases) {
        EXPECT_EQ(lookupSpotCountry(c.call, table), c.country) << tableName << ": " << c.call;
    }
}

TEST(SpotCountry, ScansUpwardFromTheInterpolatedStart)
{
    const CountryTable table = tableOf({ { "3A", "Monaco" }, { "DL", "Germany" }, { "G", "England" }, { "JA", "Japan" },
        { "K", "USA" }, { "KG4", "Guantanamo Bay" }, { "KH6", "Hawaii" }, { "VE", "Canada" }, { "VP9", "Bermuda" },
        { "W", "USA" } });
    expectCountries(table,
        {
            { "DL1ABC", "Germany" },
            { "JA1XYZ", "Japan" },
            { "K1ABC", "USA" },
            { "KH6XX", "Hawaii" }, // the longest prefix wins
            { "VE3ABC", "Canada" }, // started inside the V block and backed out of it
            { "W1AW", "USA" },
            { "KG4AB", "Guantanamo Bay" },
            { "KG4ABC", "USA" }, // KG4 and more than five characters
            { "3A2ABC", "Monaco" }, // a first character before 'A' starts as 'A' does
            { "/", "" },
            { "Q9ZZZ", "" },
            { "ZZ9ZZ", "" },
            { "", "" },
            { "dl1abc", "" }, // exact comparisons: a lower-case call starts beyond the table
            { "\xC5X1", "" },
            { "W1ABC/VP9", "Bermuda" }, // a short designator after the home call
            { "K1A/VP9", "Bermuda" }, // tail 3 is less than half of 7
            { "VP9/W1ABC", "Bermuda" }, // a long tail is no designator: looked up whole
            { "W1ABC/P", "USA" }, // a one-character tail neither
            { "W1ABC/KG4ABC", "USA" },
            { "W1ABC/KG4", "Guantanamo Bay" },
        },
        "alphabet");
}

TEST(SpotCountry, ScansDownwardWhenTheStartLiesBeyondTheBlock)
{
    // A table crowded at the end of the alphabet: the start for 'K' lands on 'V'.
    const CountryTable table = tableOf({ { "K", "USA" }, { "KG4", "Guantanamo Bay" }, { "KH6", "Hawaii" },
        { "VE", "Canada" }, { "VP9", "Bermuda" }, { "W", "USA" }, { "XE", "Mexico" }, { "YB", "Indonesia" },
        { "ZL", "New Zealand" }, { "ZS", "South Africa" } });
    expectCountries(table,
        {
            { "K1ABC", "USA" },
            { "KH6XX", "Hawaii" },
            { "KG4AB", "Guantanamo Bay" },
            { "KG4XYZ", "USA" },
            { "J1ABC", "" },
            { "ZS6ABC", "South Africa" },
        },
        "crowded");
    expectCountries(CountryTable(), { { "K1ABC", "" }, { "3A2ABC", "" } }, "empty");
}

TEST(SpotCountry, TheDistributedCountryFile)
{
    const CountryFileLoad load = parseCountryFile(test::readBytes(std::string(BRINDLE_DATA_DIR) + "/arrlpre2.txt"));
    ASSERT_FALSE(load.failed);
    expectCountries(load.table,
        {
            { "DL1ABC", "Fed. Rep. of Germany" },
            { "JA1XYZ", "Japan" },
            { "W1AW", "USA" },
            { "G4ABC", "England" },
            { "KH6ABC", "Hawaii" },
            { "VE3ABC", "Canada" },
            { "ZL2ABC", "New Zealand" },
            { "3A2ABC", "Monaco" },
            { "W1ABC/VP9", "Bermuda" },
            { "KG4AB", "Guantanamo Bay" },
            { "KG4ABC", "USA" },
            { "k1abc", "" },
        },
        "arrlpre2.txt");
}

} // namespace
} // namespace brindle
