#include "spots/SpotStore.h"
#include "spots/MapLabel.h"

#include <gtest/gtest.h>

#include <string>

namespace brindle {
namespace {

DateTime minute(int m)
{
    return DateTime { 2026, 11, 28, 12, m, 0 };
}

// Spots of distinct calls, so that none withdraws another.
void addFillers(SpotStore& store, int count)
{
    for (int i = 0; i < count; ++i) {
        store.add("F" + std::to_string(i) + "ILL", 7.0f + 0.001f * static_cast<float>(i), minute(0));
    }
}

TEST(SpotStore, StartsEmptyWithNoTimes)
{
    const SpotStore store;
    for (const SpotRecord& record : store.all()) {
        EXPECT_EQ(record, SpotRecord {});
        EXPECT_FALSE(record.receivedAt);
    }
}

TEST(SpotStore, EachSpotShiftsTheOthersDownAndTheNewestIsInSlot49)
{
    SpotStore store;
    store.add("Q9ZZZ", 14.025f, minute(1));
    store.add("VP9/W1ABC", 7.01f, minute(2));
    store.add("w1abc/4", 3.5f, minute(3));
    EXPECT_EQ(store.slot(49), (SpotRecord { "w1abc/4", 3.5f, minute(3), "w4" }));
    EXPECT_EQ(store.slot(48), (SpotRecord { "VP9/W1ABC", 7.01f, minute(2), "VP9" }));
    EXPECT_EQ(store.slot(47), (SpotRecord { "Q9ZZZ", 14.025f, minute(1), "Q9" }));
    EXPECT_EQ(store.slot(46), SpotRecord {});

    // The 51st spot pushes the first out.
    addFillers(store, 47);
    EXPECT_EQ(store.slot(0).call, "Q9ZZZ");
    store.add("K1ABC", 21.0f, minute(4));
    EXPECT_EQ(store.slot(0).call, "VP9/W1ABC");
    EXPECT_EQ(store.slot(49).call, "K1ABC");
    for (const SpotRecord& record : store.all()) {
        EXPECT_EQ(record.mapLabel, mapLabelOf(record.call)) << record.call;
        EXPECT_TRUE(record.receivedAt);
    }
}

TEST(SpotStore, ANewerSpotOfTheSameCallWithdrawsTheOlderOneUnlessItIsInSlot0)
{
    const struct Case
    {
        const char* name;
        int between; // spots of other calls between the two
        int olderSlot; // where the older spot is afterwards
        float olderFreq;
    } cases[] = {
        { "next to it", 0, 48, 0.0f },
        { "in slot 1", 47, 1, 0.0f },
        { "in slot 0: not examined", 48, 0, 14.025f },
    };
    for (const Case& c : cases) {
        SpotStore store;
        store.add("Q9ZZZ", 14.025f, minute(1));
        addFillers(store, c.between);
        store.add("q9zzz", 14.027f, minute(2));
        EXPECT_EQ(store.slot(c.olderSlot).call, "Q9ZZZ") << c.name;
        EXPECT_EQ(store.slot(c.olderSlot).freqMHz, c.olderFreq) << c.name;
        EXPECT_EQ(store.slot(49), (SpotRecord { "q9zzz", 14.027f, minute(2), "q9" })) << c.name;
        for (int i = 1; i < SpotStore::NewestSlot; ++i) {
            if (i != c.olderSlot && !store.slot(i).call.empty()) {
                EXPECT_NE(store.slot(i).freqMHz, 0.0f) << c.name << " slot " << i;
            }
        }
    }
}

TEST(SpotStore, WithdrawingASlotKeepsTheSpotButZeroesItsFrequency)
{
    SpotStore store;
    store.add("Q9ZZZ", 14.025f, minute(1));
    store.withdraw(49);
    EXPECT_EQ(store.slot(49), (SpotRecord { "Q9ZZZ", 0.0f, minute(1), "Q9" }));
    store.withdraw(-1);
    store.withdraw(SpotStore::SlotCount);
    EXPECT_THROW(static_cast<void>(store.slot(SpotStore::SlotCount)), std::out_of_range);
}

TEST(MapLabel, ThePrefixTheMapsShow)
{
    const struct Case
    {
        const char* call;
        const char* label;
    } cases[] = {
        { "", "" },
        { "W1", "" },
        { "QRZ", "QRZ" }, // no digit: the whole call
        { "W1AW", "W1" },
        { "DL0ABC", "DL0" },
        { "9A1A", "9A1" },
        { "VP9/W1ABC", "VP9" }, // designator before the slash
        { "K1A/VP9", "K1A" }, // slash at 4 of 7: before half 4.5
        { "W1AB/1234", "W1AB" }, // slash at 5 of 9: before half 5.5
        { "W1AB/123", "W123" }, // slash at 5 of 8: half is 5, so after it
        { "W1ABC/P", "P" },
        { "W1ABC/4", "W4" }, // a number after the slash gets the leading letters
        { "KH6ABC/10", "KH10" },
        { "2E0ABC/3", "3" }, // no letters before the first digit
        { "K1ABC/VE7", "VE7" },
        { "W1ABC/QRP", "QR" }, // at most as many characters as the last digit's position
        { "VP2V/K1ABC/Q", "Q" }, // the last slash counts
        { "W1ABC/", "" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mapLabelOf(c.call), c.label) << c.call;
    }
}

} // namespace
} // namespace brindle
