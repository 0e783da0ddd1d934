#include "rig/RigTuning.h"

#include "common/KeyFilters.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {
namespace {

TEST(RigTuningTest, bandButtonsPutTheirFrequencyInTheFieldAsTheOperatorWouldTypeIt)
{
    struct Case
    {
        std::string_view caption;
        std::string_view text;
    };
    const Case cases[] = {
        { "160", "1.9" },
        { "80", "3.75" },
        { "60", "5.368" },
        { "40", "7.15" },
        { "30", "10.13" },
        { "20", "14.175" },
        { "17", "18.118" },
        { "15", "21.225" },
        { "12", "24.94" },
        { "10", "28.5" },
        { "6", "52" },
        { "2", "146" },
        { "1.25", "223.5" },
        { "70", "435" },
        { "33", "915" },
        { "23", "1270" },
    };
    ASSERT_EQ(std::size(cases), BandButtons.size());
    for (std::size_t i = 0; i < BandButtons.size(); ++i) {
        EXPECT_EQ(BandButtons[i].caption, cases[i].caption) << i;
        EXPECT_EQ(exactFrequencyText(BandButtons[i].hertz), cases[i].text) << i;
        EXPECT_EQ(hertzFromText(cases[i].text), BandButtons[i].hertz) << i;
    }
}

TEST(RigTuningTest, stepButtonsComeInPairsUpThenDown)
{
    for (std::size_t i = 0; i < StepButtons.size(); i += 2) {
        EXPECT_EQ(StepButtons[i].caption, StepButtons[i + 1].caption) << i;
        EXPECT_TRUE(StepButtons[i].up) << i;
        EXPECT_FALSE(StepButtons[i + 1].up) << i;
        EXPECT_GT(StepButtons[i].change, 0) << i;
        EXPECT_EQ(StepButtons[i + 1].change, -StepButtons[i].change) << i;
    }
    EXPECT_EQ(ScanSteps[DefaultScanStep].caption, "10 Hz");
    EXPECT_EQ(ScanSteps[DefaultScanStep].hertz, 10);
}

TEST(RigTuningTest, aStepMovesTheFieldToTheHertz)
{
    struct Case
    {
        std::string_view text;
        Hertz change;
        std::optional<std::string_view> stepped;
    };
    const Case cases[] = {
        { "14.175", 10, "14.17501" },
        { "14.175", -10, "14.17499" },
        { "14.175", 1'000'000, "15.175" },
        { "14.175", 5'000, "14.18" },
        { "14.175", -100, "14.1749" },
        { "14.", 1'000, "14.001" },
        { " 7 ", -1'000'000, "6" },
        { "1", -1'000'000, "0" },
        { "0", 10, "0.00001" },
        // Below zero the radio has nothing to tune to: the field stays and the rig is not tuned.
        { "0", -1'000'000, std::nullopt },
        { "0.5", -1'000'000, std::nullopt },
        { "0", -10, std::nullopt },
        { "10000000", 10, std::nullopt },
        { "", 10, std::nullopt },
        { "14/175", 10, std::nullopt },
        { "1.2.3", 10, std::nullopt },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(steppedText(c.text, c.change), c.stepped) << '"' << c.text << "\" " << c.change;
    }
}

TEST(RigTuningTest, aScanStepsUpToTheEndOfTheRangeThenStartsAgain)
{
    std::vector<std::string> shown;
    std::string field = "14.000";
    for (int tick = 0; tick < 103; ++tick) {
        const std::optional<std::string> next = scanNext(field, 10, "14.000", "14.001");
        ASSERT_TRUE(next) << tick;
        field = *next;
        shown.push_back(field);
    }
    EXPECT_EQ(shown[0], "14.00001");
    EXPECT_EQ(shown[1], "14.00002");
    EXPECT_EQ(shown[49], "14.0005");
    EXPECT_EQ(shown[98], "14.00099");
    EXPECT_EQ(shown[99], "14.001") << "the end of the range is scanned";
    EXPECT_EQ(shown[100], "14.") << "a whole number keeps its point";
    EXPECT_EQ(shown[101], "14.00001");
}

TEST(RigTuningTest, aScanTickShowsFiveDecimalsAndNeedsThreeFrequencies)
{
    struct Case
    {
        std::string_view freq;
        Hertz step;
        std::string_view from;
        std::string_view to;
        std::optional<std::string_view> next;
    };
    const Case cases[] = {
        { "1.8", 2'500, "1.8", "54", "1.8025" },
        { "53.999", 2'500, "1.8", "54", "1.8" },
        { "53.9975", 2'500, "1.8", "54", "54." },
        { "14.0000", 30, "14", "14.35", "14.00003" },
        { "14.000004", 500, "14", "14.35", "14.0005" }, // shown to 10 Hz
        { "14.000005", 500, "14", "14.35", "14.0005" },
        { "14.000015", 500, "14", "14.35", "14.00052" },
        { "0.5", 100, "0", "54", "0.5001" },
        { "", 10, "1.8", "54", std::nullopt },
        { "14/", 10, "1.8", "54", std::nullopt },
        { "14", 10, "", "54", std::nullopt },
        { "14", 10, "1.8", "5.4.", std::nullopt },
        { "0.00001", -20, "0", "54", std::nullopt },
        { "0.00002", -20, "0", "54", "0." },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scanNext(c.freq, c.step, c.from, c.to), c.next) << c.freq << " + " << c.step;
    }
}

TEST(RigTuningTest, frequencyFieldsTakeDigitsPointSlashAndBackspaceOnly)
{
    for (int key = 0; key < 256; ++key) {
        const bool taken = key == KeyBackspace || (key >= 46 && key <= 57);
        EXPECT_EQ(frequencyFieldKey(key), taken ? key : 0) << key;
    }
}

} // namespace
} // namespace brindle
