#include "ui/MultiplierColoursDialog.h"

#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "ui/Colours.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace brindle {
namespace {

constexpr std::uint32_t Red = 0x0000FF; // 0x00BBGGRR
constexpr std::uint32_t Blue = 0xFF0000;
constexpr std::uint32_t Green = 0x00FF00;

TEST(MultiplierColoursDialogTest, showsTheSamplesInTheCurrentColours)
{
    test::ScriptedDialogs dialogs;
    MultiplierColoursDialog window(Red, Blue, dialogs);

    EXPECT_EQ(window.windowTitle(), " Modify Multiplier Color Selections");
    EXPECT_EQ(window.m_workedSampleLabel->text(), "Appearance of multiplier worked");
    EXPECT_EQ(window.m_remainingSampleLabel->text(), "Appearance of multiplier remaining");
    EXPECT_EQ(window.m_remainingColourButton->text(), "Change \"Remaining\" Color");
    EXPECT_EQ(window.m_workedColourButton->text(), "Change \"Worked\" Color");
    EXPECT_EQ(window.m_doneButton->text(), "Done");
    EXPECT_EQ(textColour(window.m_workedSampleLabel), QColor(Qt::red));
    EXPECT_EQ(textColour(window.m_remainingSampleLabel), QColor(Qt::blue));
}

TEST(MultiplierColoursDialogTest, eachButtonChangesItsOwnColourFromAChooserStartingAtBlack)
{
    test::ScriptedDialogs dialogs;
    MultiplierColoursDialog window(Red, Blue, dialogs);
    window.show();

    dialogs.colours.push_back(Green);
    QTest::mouseClick(window.m_remainingColourButton, Qt::LeftButton);
    EXPECT_EQ(window.remaining(), Green);
    EXPECT_EQ(textColour(window.m_remainingSampleLabel), QColor(Qt::green));
    EXPECT_EQ(window.worked(), Red);
    EXPECT_EQ(textColour(window.m_workedSampleLabel), QColor(Qt::red));

    dialogs.colours.push_back(Blue);
    QTest::mouseClick(window.m_workedColourButton, Qt::LeftButton);
    EXPECT_EQ(window.worked(), Blue);
    EXPECT_EQ(textColour(window.m_workedSampleLabel), QColor(Qt::blue));

    ASSERT_EQ(dialogs.shown.size(), 2u);
    for (const auto& shown : dialogs.shown) {
        EXPECT_EQ(shown.kind, "colour");
        EXPECT_EQ(shown.text, "0"); // the starting colour
    }
}

TEST(MultiplierColoursDialogTest, cancellingTheChooserMakesTheColourBlack)
{
    test::ScriptedDialogs dialogs;
    MultiplierColoursDialog window(Red, Blue, dialogs);
    dialogs.colours = { std::nullopt, std::nullopt };
    window.chooseWorkedColour();
    window.chooseRemainingColour();
    EXPECT_EQ(window.worked(), 0u);
    EXPECT_EQ(window.remaining(), 0u);
    EXPECT_EQ(textColour(window.m_workedSampleLabel), QColor(Qt::black));
    EXPECT_EQ(textColour(window.m_remainingSampleLabel), QColor(Qt::black));
}

TEST(MultiplierColoursDialogTest, doneHidesTheWindow)
{
    test::ScriptedDialogs dialogs;
    MultiplierColoursDialog window(Red, Blue, dialogs);
    window.show();
    QTest::mouseClick(window.m_doneButton, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace brindle
