#include "log/ContactEdit.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace brindle {
namespace {

QsoRecord contact(std::string call, std::string band)
{
    return QsoRecord { std::move(call), "599", "MA", "599", "USA", "2026/02/14", "18:30:00", std::move(band), "" };
}

ContestLog logOf(const std::vector<QsoRecord>& records)
{
    ContestLog log;
    for (const QsoRecord& record : records) {
        log.append(record);
    }
    return log;
}

TEST(EditDuplicates, findsTheOtherRecordsWithTheSameCallAndBandInLogOrder)
{
    const ContestLog log = logOf({
        contact("W1AW", "15"),
        contact("W1AW", "20"),
        contact("w1aw", "15"),
        contact("W1AW", "15"),
        contact("K1ABC", "15"),
        contact("W1AW", "20"),
    });
    struct Case
    {
        int editIndex;
        std::string call;
        std::string band;
        std::vector<int> numbers;
    };
    const Case cases[] = {
        { 2, "W1AW", "15", { 1, 4 } },
        { 2, "W1AW", "20", { 6 } },
        { 6, "W1AW", "20", { 2 } }, // the record being edited is never its own duplicate
        { 1, "W1AW", "15", { 4 } },
        { 2, "w1aw", "15", { 3 } }, // letter case counts
        { 2, "W1aw", "15", {} },
        { 2, "W1AW", "40", {} },
        { 2, "", "", {} },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(editDuplicates(log, c.editIndex, c.call, c.band), c.numbers)
            << c.editIndex << " " << c.call << " " << c.band;
    }
}

TEST(EditableBand, onlyTheSixBandCodesExactlyAsWritten)
{
    const std::pair<const char*, bool> cases[] = {
        { "10", true },
        { "15", true },
        { "20", true },
        { "40", true },
        { "80", true },
        { "160", true },
        { "17", false },
        { "", false },
        { " 20", false },
        { "20 ", false },
        { "16", false },
        { "1600", false },
        { "020", false },
    };
    for (const auto& [text, valid] : cases) {
        EXPECT_EQ(isEditableBand(text), valid) << "\"" << text << "\"";
    }
}

TEST(EditedRecord, takesTheFieldsAsTypedKeepsTheFrequencyAndTrimsTheCountrysEnd)
{
    QsoRecord original = contact("W1AW", "20");
    original.frequency = "14.025";
    const ContactFields typed { "K1XYZ", "57", "ma", "5nn", "  United States  ", "2026/2/3", "1:05", "17" };

    const QsoRecord edited = editedRecord(original, typed);
    EXPECT_EQ(
        edited, (QsoRecord { "K1XYZ", "57", "ma", "5nn", "  United States", "2026/2/3", "1:05", "17", "14.025" }));
}

} // namespace
} // namespace brindle
