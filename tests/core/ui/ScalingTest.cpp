#include "ui/Scaling.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace brindle {
namespace {

void expectArea(const Area& actual, const Area& expected)
{
    EXPECT_DOUBLE_EQ(actual.left, expected.left);
    EXPECT_DOUBLE_EQ(actual.top, expected.top);
    EXPECT_DOUBLE_EQ(actual.width, expected.width);
    EXPECT_DOUBLE_EQ(actual.height, expected.height);
}

TEST(ScaleMainWindow, aScreenTwiceTheCanvasDoublesEverything)
{
    const LayoutFactors f = scaleMainWindow({ 19200, 14400 });
    expectArea(f.window, { 0, 0, 19200, 14400 });
    EXPECT_DOUBLE_EQ(f.horizontal, 2);
    EXPECT_DOUBLE_EQ(f.vertical, 2);
    EXPECT_DOUBLE_EQ(f.windowFont, 2);
    EXPECT_DOUBLE_EQ(f.controlFont, 2);
    EXPECT_DOUBLE_EQ(f.columns, 2);
}

TEST(ScaleMainWindow, aWideScreenStretchesAcrossAndControlFontsFollowTheSmallerFactor)
{
    const LayoutFactors f = scaleMainWindow({ 19200, 10800 });
    expectArea(f.window, { 0, 0, 19200, 10800 });
    EXPECT_DOUBLE_EQ(f.horizontal, 2);
    EXPECT_DOUBLE_EQ(f.vertical, 1.5);
    EXPECT_DOUBLE_EQ(f.controlFont, 1.5);
    // The window's own font and the list columns follow the window's width.
    EXPECT_DOUBLE_EQ(f.windowFont, 2);
    EXPECT_DOUBLE_EQ(f.columns, 2);
}

TEST(ScaleDialog, onTheDesignScreenTheDialogKeepsItsSizeAndStandsAboveTheCentre)
{
    const LayoutFactors f = scaleDialog({ 4800, 3000 }, { 9600, 7200 });
    expectArea(f.window, { 2400, (7200 - 3000) / 2.0 - 170, 4800, 3000 });
    EXPECT_DOUBLE_EQ(f.horizontal, 1);
    EXPECT_DOUBLE_EQ(f.vertical, 1);
    EXPECT_DOUBLE_EQ(f.controlFont, 1);
}

TEST(ScaleDialog, growsWithTheScreenEachWay)
{
    const LayoutFactors f = scaleDialog({ 4800, 3000 }, { 19200, 10800 });
    expectArea(f.window, { 4800, (10800 - 4500) / 2.0 - 170, 9600, 4500 });
    EXPECT_DOUBLE_EQ(f.horizontal, 2);
    EXPECT_DOUBLE_EQ(f.vertical, 1.5);
    EXPECT_DOUBLE_EQ(f.windowFont, 1.5); // the window's font follows the screen's height
    EXPECT_DOUBLE_EQ(f.controlFont, 1.5);
    EXPECT_DOUBLE_EQ(f.columns, 2);
}

TEST(KeepInsideWorkArea, aWindowTooLargeShrinksAboutItsCentreOneThatFitsIsOnlyMovedIn)
{
    // A title bar of 300 twips, borders of 15 and a bottom edge of 75.
    const FrameMargins frame { 15, 300, 15, 75 };
    const Area screen { 0, 0, 9600, 7200 };
    // A panel 600 twips high across the top.
    const Area belowPanel { 0, 600, 9600, 6600 };
    struct Case
    {
        const char* name;
        Area window;
        Area workArea;
        Area expectedWindow;
        double shrink;
    };
    const Case cases[] = {
        { "fits where it stands", { 2400, 1930, 4800, 3000 }, screen, { 2400, 1930, 4800, 3000 }, 1 },
        // 6,825 = 7,200 − 375 high; centred across and moved down to the top of the screen.
        { "taller than the screen", { 1000, -500, 8000, 8000 }, screen, { 5015 - (6825 + 30) / 2.0, 0, 6825, 6825 },
            6825.0 / 8000 },
        { "wider than the screen", { -1000, 1000, 12000, 3000 }, screen,
            { 0, 1000 + (3375 - (3000 * 9570.0 / 12000 + 375)) / 2, 9570, 3000 * 9570.0 / 12000 }, 9570.0 / 12000 },
        { "under the panel", { 2400, 100, 4800, 3000 }, belowPanel, { 2400, 600, 4800, 3000 }, 1 },
        { "past the bottom right", { 6000, 5000, 4800, 3000 }, screen, { 9600 - 4830, 7200 - 3375, 4800, 3000 }, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LayoutFactors placed;
        placed.window = c.window;
        placed.horizontal = 2;
        placed.vertical = 1.5;
        placed.windowFont = 1.5;
        placed.controlFont = 1.5;
        placed.columns = 2;
        const LayoutFactors f = keepInsideWorkArea(placed, frame, c.workArea);
        expectArea(f.window, c.expectedWindow);
        EXPECT_DOUBLE_EQ(f.horizontal, 2 * c.shrink);
        EXPECT_DOUBLE_EQ(f.vertical, 1.5 * c.shrink);
        EXPECT_DOUBLE_EQ(f.windowFont, 1.5 * c.shrink);
        EXPECT_DOUBLE_EQ(f.controlFont, 1.5 * c.shrink);
        EXPECT_DOUBLE_EQ(f.columns, 2 * c.shrink);
    }
}

TEST(ScreenRule, controlFontsStopAtOneAndAHalfExceptInTheColoursWindow)
{
    const LayoutFactors capped = scaleByScreen({ 4800, 3600 }, { 19200, 14400 }, false);
    expectArea(capped.window, { 4800, 3600, 9600, 7200 }); // centred, not lifted
    EXPECT_DOUBLE_EQ(capped.horizontal, 2);
    EXPECT_DOUBLE_EQ(capped.vertical, 2);
    EXPECT_DOUBLE_EQ(capped.controlFont, 1.5);
    EXPECT_DOUBLE_EQ(capped.columns, 1);

    EXPECT_DOUBLE_EQ(scaleByScreen({ 4800, 3600 }, { 19200, 14400 }, true).controlFont, 2);
    // A small screen shrinks the fonts with it.
    EXPECT_DOUBLE_EQ(scaleByScreen({ 4800, 3600 }, { 7200, 5400 }, false).controlFont, 0.75);
}

TEST(WorkAreaRule, growsToTheWorkAreaCentredInItWithControlsInProportionToTheWindow)
{
    // A taskbar 600 twips high at the top of the screen.
    const LayoutFactors f = scaleByWorkArea({ 4800, 3600 }, { 19200, 14400 }, { 0, 600, 19200, 13800 });
    expectArea(f.window, { 4800, 600 + 3450, 9600, 6900 });
    EXPECT_DOUBLE_EQ(f.horizontal, 2);
    EXPECT_DOUBLE_EQ(f.vertical, 6900.0 / 3600);
    EXPECT_DOUBLE_EQ(f.windowFont, 1); // new window width / 9,600
    EXPECT_DOUBLE_EQ(f.controlFont, 1.5);
}

TEST(ScaleFormTo, keepsTheWindowsShareOfTheCanvasAndDampsFontGrowthByTheFontFactor)
{
    struct Case
    {
        const char* name;
        Extent window, inner, target;
        bool fill;
        double fontFactor;
        Area expectedWindow;
        double rW, rH, fontScale;
    };
    const Case cases[] = {
        { "grows", { 4800, 3600 }, { 4800, 3600 }, { 19200, 14400 }, false, 1.0, { 4800, 3600, 9600, 7200 }, 2, 2, 2 },
        { "damped", { 4800, 3600 }, { 4800, 3600 }, { 19200, 14400 }, false, 0.5, { 4800, 3600, 9600, 7200 }, 2, 2,
            1.5 },
        { "smaller factor", { 4800, 3600 }, { 4800, 3600 }, { 19200, 10800 }, false, 1.0, { 4800, 2700, 9600, 5400 }, 2,
            1.5, 1.5 },
        // Shrinking: the new height is below the old client height, so the font scale is m itself.
        { "shrinks", { 4800, 3600 }, { 4800, 3600 }, { 4800, 3600 }, false, 0.5, { 1200, 900, 2400, 1800 }, 0.5, 0.5,
            0.5 },
        { "fills", { 4800, 3600 }, { 4800, 3600 }, { 9600, 7200 }, true, 1.0, { 0, 0, 9600, 7200 }, 2, 2, 2 },
        // Borders of 100 and a title bar of 400 twips stay as they are: only the client area grows.
        { "borders", { 4800, 3600 }, { 4600, 3100 }, { 19200, 14400 }, false, 1.0, { 4800, 3600, 9600, 7200 },
            9400.0 / 4600, 6700.0 / 3100, 9400.0 / 4600 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FormToLayout f = scaleFormTo(c.window, c.inner, c.target, { 9600, 7200 }, c.fill, c.fontFactor);
        expectArea(f.window, c.expectedWindow);
        EXPECT_DOUBLE_EQ(f.rW, c.rW);
        EXPECT_DOUBLE_EQ(f.rH, c.rH);
        EXPECT_DOUBLE_EQ(f.fontScale, c.fontScale);
    }
}

TEST(ApplyFormSize, aShareOfTheScreenCentredWithOneFactorForEverything)
{
    const FormSizeLayout f = formSizeLayout(90, { 19200, 14400 });
    expectArea(f.window, { 960, 720, 17280, 12960 });
    EXPECT_DOUBLE_EQ(f.factor, 0.9);
}

TEST(ApplyTaskbarOption, settingOneFillsTheWorkAreaAnyOtherTheScreenAtTheTopLeft)
{
    const Extent screen { 19200, 14400 };
    const Extent workArea { 19200, 13800 };
    const TaskbarLayout toWorkArea = taskbarLayout(1, screen, screen, workArea);
    expectArea(toWorkArea.window, { 0, 0, 19200, 13800 });
    EXPECT_DOUBLE_EQ(toWorkArea.horizontal, 1);
    EXPECT_DOUBLE_EQ(toWorkArea.vertical, 13800.0 / 14400);

    for (int setting : { 0, 2 }) {
        const TaskbarLayout toScreen = taskbarLayout(setting, workArea, screen, workArea);
        expectArea(toScreen.window, { 0, 0, 19200, 14400 });
        EXPECT_DOUBLE_EQ(toScreen.vertical, 14400.0 / 13800);
    }
}

TEST(ApplyTaskbarOption, theFrameCoversTheAreaAndTheClientAreaMakesRoomForIt)
{
    const FrameMargins frame { 15, 300, 15, 75 };
    const TaskbarLayout f = taskbarLayout(1, { 19200, 14400 }, { 19200, 14400 }, { 19200, 13800 }, frame);
    expectArea(f.window, { 0, 0, 19170, 13425 });
    EXPECT_DOUBLE_EQ(f.horizontal, 19170.0 / 19200);
    EXPECT_DOUBLE_EQ(f.vertical, 13425.0 / 14400);

    const TaskbarLayout share = frameFilling({ 17280, 12960 }, { 960, 720, 17280, 12960 }, frame);
    expectArea(share.window, { 960, 720, 17250, 12585 });
    EXPECT_DOUBLE_EQ(share.vertical, 12585.0 / 12960);
}

TEST(FormSizeAnswer, numbersAreBroughtIntoRangeAndRoundedHalvesToEven)
{
    const std::pair<std::string, std::optional<int>> cases[] = {
        { "90", 90 },
        { "120", 100 },
        { "10", 30 },
        { "-5", 30 },
        { "85.5", 86 },
        { "84.5", 84 },
        { "84.51", 85 },
        { "99.5", 100 },
        { "30.5", 30 },
        { " 75 ", 75 },
        { "", std::nullopt },
        { "abc", std::nullopt },
        { "90%", std::nullopt },
    };
    for (const auto& [answer, expected] : cases) {
        EXPECT_EQ(formSizeFromAnswer(answer), expected) << '"' << answer << '"';
    }
}

TEST(ControlScaling, eachRuleScalesItsOwnKindsOfControl)
{
    // The main window leaves its check boxes and frames alone; dialogs scale them.
    EXPECT_FALSE(controlScaling(LayoutRule::MainWindow, ControlKind::CheckBox).geometry);
    EXPECT_TRUE(controlScaling(LayoutRule::Dialog, ControlKind::CheckBox).font);
    EXPECT_TRUE(controlScaling(LayoutRule::MainWindow, ControlKind::ListView).font);
    // Combo boxes keep their height only in dialogs.
    EXPECT_TRUE(controlScaling(LayoutRule::Dialog, ControlKind::ComboBox).keepHeight);
    EXPECT_FALSE(controlScaling(LayoutRule::Screen, ControlKind::ComboBox).keepHeight);
    // Images and lines have no font; lines are placed under every rule.
    EXPECT_FALSE(controlScaling(LayoutRule::Dialog, ControlKind::Image).font);
    EXPECT_TRUE(controlScaling(LayoutRule::MainWindow, ControlKind::Line).geometry);
    EXPECT_FALSE(controlScaling(LayoutRule::MainWindow, ControlKind::Line).font);
    // Only the work-area rule reaches every control; the taskbar step moves them without fonts.
    EXPECT_TRUE(controlScaling(LayoutRule::WorkArea, ControlKind::Other).font);
    EXPECT_FALSE(controlScaling(LayoutRule::Screen, ControlKind::Other).geometry);
    EXPECT_TRUE(controlScaling(LayoutRule::Taskbar, ControlKind::Other).geometry);
    EXPECT_FALSE(controlScaling(LayoutRule::Taskbar, ControlKind::Label).font);
    EXPECT_FALSE(controlScaling(LayoutRule::WorkArea, ControlKind::Menu).geometry);
}

} // namespace
} // namespace brindle
