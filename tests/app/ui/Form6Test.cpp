#include "ui/Form6.h"

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

TEST(Form6, showsTheSamplesInTheCurrentColours)
{
    test::ScriptedDialogs dialogs;
    Form6 window(Red, Blue, dialogs);

    EXPECT_EQ(window.windowTitle(), " Modify Multiplier Color Selections");
    EXPECT_EQ(window.Label1->text(), "Appearance of multiplier worked");
    EXPECT_EQ(window.Label2->text(), "Appearance of multiplier remaining");
    EXPECT_EQ(window.Command1->text(), "Change \"Remaining\" Color");
    EXPECT_EQ(window.Command3->text(), "Change \"Worked\" Color");
    EXPECT_EQ(window.Command6->text(), "Done");
    EXPECT_EQ(textColour(window.Label1), QColor(Qt::red));
    EXPECT_EQ(textColour(window.Label2), QColor(Qt::blue));
}

TEST(Form6, eachButtonChangesItsOwnColourFromAChooserStartingAtBlack)
{
    test::ScriptedDialogs dialogs;
    Form6 window(Red, Blue, dialogs);
    window.show();

    dialogs.colours.push_back(Green);
    QTest::mouseClick(window.Command1, Qt::LeftButton);
    EXPECT_EQ(window.remaining(), Green);
    EXPECT_EQ(textColour(window.Label2), QColor(Qt::green));
    EXPECT_EQ(window.worked(), Red);
    EXPECT_EQ(textColour(window.Label1), QColor(Qt::red));

    dialogs.colours.push_back(Blue);
    QTest::mouseClick(window.Command3, Qt::LeftButton);
    EXPECT_EQ(window.worked(), Blue);
    EXPECT_EQ(textColour(window.Label1), QColor(Qt::blue));

    ASSERT_EQ(dialogs.shown.size(), 2u);
    for (const auto& shown : dialogs.shown) {
        EXPECT_EQ(shown.kind, "colour");
        EXPECT_EQ(shown.text, "0"); // the starting colour
    }
}

TEST(Form6, cancellingTheChooserMakesTheColourBlack)
{
    test::ScriptedDialogs dialogs;
    Form6 window(Red, Blue, dialogs);
    dialogs.colours = { std::nullopt, std::nullopt };
    window.Command3_Click();
    window.Command1_Click();
    EXPECT_EQ(window.worked(), 0u);
    EXPECT_EQ(window.remaining(), 0u);
    EXPECT_EQ(textColour(window.Label1), QColor(Qt::black));
    EXPECT_EQ(textColour(window.Label2), QColor(Qt::black));
}

TEST(Form6, doneHidesTheWindow)
{
    test::ScriptedDialogs dialogs;
    Form6 window(Red, Blue, dialogs);
    window.show();
    QTest::mouseClick(window.Command6, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace brindle
