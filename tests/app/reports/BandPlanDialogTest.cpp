#include "reports/BandPlanDialog.h"

#include "os/PosixFileSystem.h"
#include "ui/Colours.h"
#include "ui/WindowScaling.h"

#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "support/WindowManager.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace brindle {
namespace {

// 40 m for Generals: two CW segments and one phone segment.
const char* const SmallPlan = "\"July 1, 2024\"\r\n"
                              "\"40\",\"O\",\"ALL\",7.000,7.300\r\n"
                              "\"40\",\"E\",\"CW\",7.000,7.125\r\n"
                              "\"40\",\"G\",\"CW\",7.000,7.010\r\n"
                              "\"40\",\"G\",\"CW\",7.025,7.125\r\n"
                              "\"40\",\"G\",\"PH\",7.175,7.300\r\n"
                              "\"20\",\"O\",\"ALL\",14.000,14.350\r\n"
                              "\"20\",\"E\",\"PH\",14.150,14.350\r\n";

class BandPlanDialogTest : public ::testing::Test
{
protected:
    BandPlanDialog& open()
    {
        m_chart.reset();
        m_chart = std::make_unique<BandPlanDialog>(fs, folder.path(), dialogs);
        m_chart->show();
        QApplication::processEvents();
        return *m_chart;
    }

    void useShippedPlan()
    {
        test::writeBytes(folder.file("BandPlan.txt"), test::readBytes(std::string(BRINDLE_DATA_DIR) + "/BandPlan.txt"));
    }

    static QList<QLabel*> chartLabels(const BandPlanDialog& chart, const QString& prefix)
    {
        QList<QLabel*> found;
        for (QLabel* label : chart.findChildren<QLabel*>()) {
            if (label->objectName().startsWith(prefix)) {
                found << label;
            }
        }
        return found;
    }

    static QStringList captions(const QList<QLabel*>& labels)
    {
        QStringList texts;
        for (const QLabel* label : labels) {
            texts << label->text();
        }
        texts.sort();
        return texts;
    }

    static QColor backColour(const QLabel* label)
    {
        return label->palette().color(QPalette::Window);
    }

    test::TempFolder folder;
    PosixFileSystem fs;
    test::ScriptedDialogs dialogs;

private:
    std::unique_ptr<BandPlanDialog> m_chart;
};

TEST_F(BandPlanDialogTest, opensOnTheExtraChartFillingTheWorkArea)
{
    useShippedPlan();
    BandPlanDialog& chart = open();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(chart.windowTitle(), "Frequency Privileges");
    EXPECT_EQ(chart.size(), screenGeometryOf(chart).workArea.size());
    EXPECT_EQ(chart.m_headingLabel->text(), "Extra Frequency Privileges");
    EXPECT_EQ(
        chart.m_effectiveDateLabel->text(), "Frequencies Effective: " + QString::fromStdString(chart.plan().effective));
    EXPECT_EQ(chart.m_cwLegendCaption->text(), "CW");
    EXPECT_EQ(backColour(chart.m_cwLegendCaption), fromBgr(0x00FF0000));
    EXPECT_EQ(chart.m_phoneLegendCaption->text(), "Phone");
    EXPECT_EQ(backColour(chart.m_phoneLegendCaption), fromBgr(0x0000FF00));
    QStringList buttons;
    for (const QPushButton* button : chart.m_classButtons) {
        buttons << button->text();
    }
    EXPECT_EQ(buttons, QStringList({ "Novice", "Technician", "Tech +", "General", "Advanced", "Extra" }));
    EXPECT_EQ(chart.m_doneButton->text(), "Done");

    const QList<QLabel*> names = chartLabels(chart, "bandName_");
    EXPECT_EQ(captions(names), QStringList({ "10", "12", "15", "160", "17", "20", "30", "40", "60", "80" }));
    for (const QLabel* name : names) {
        EXPECT_EQ(backColour(name), fromBgr(0x0000FFFF));
        EXPECT_TRUE(name->font().bold());
        EXPECT_TRUE(name->isVisible());
    }
    // Rows run down the chart in file order, below the header line.
    const QLabel* first = chart.findChild<QLabel*>("bandName_1");
    const QLabel* last = chart.findChild<QLabel*>("bandName_10");
    ASSERT_TRUE(first && last);
    EXPECT_EQ(first->text(), "160");
    EXPECT_EQ(last->text(), "10");
    EXPECT_GT(first->geometry().top(), chart.m_headerLine->geometry().bottom());
    EXPECT_LT(last->geometry().bottom(), chart.m_cwLegendCaption->geometry().top());

    QStringList barTips;
    for (const QLabel* bar : chartLabels(chart, "bandBar_")) {
        barTips << bar->toolTip();
        EXPECT_EQ(backColour(bar), QColor(Qt::black));
    }
    EXPECT_TRUE(barTips.contains("20  14.000 - 14.350"));
    EXPECT_TRUE(barTips.contains("160  1.800 - 2.000"));
}

TEST_F(BandPlanDialogTest, overAFramedMainWindowItsFrameFillsTheWorkArea)
{
    useShippedPlan();
    test::FramedMainWindow main;
    BandPlanDialog chart(fs, folder.path(), dialogs, &main.window);
    chart.show();
    EXPECT_EQ(chart.frameGeometry(), screenGeometryOf(chart).workArea);
}

TEST_F(BandPlanDialogTest, everyCaptionGrowsWithTheScreenAsTheSegmentsDo)
{
    useShippedPlan();
    const double desktop = QApplication::font().pointSizeF();
    // A screen 800 pixels wide is 1.25 design canvases; fonts grow no more than half again.
    for (const auto& [screenSize, scale] : { std::pair(QSize(800, 800), 1.25), std::pair(QSize(1920, 1080), 1.5) }) {
        SCOPED_TRACE(screenSize.width());
        test::FramedMainWindow main(test::screenSized(screenSize));
        BandPlanDialog chart(fs, folder.path(), dialogs, &main.window);
        std::vector<std::pair<const QWidget*, double>> captions = {
            { chart.m_headingLabel, desktop * 1.6 },
            { chart.m_doneButton, desktop },
            { chart.m_cwLegendCaption, desktop },
            { chart.m_phoneLegendCaption, desktop },
            { chart.m_effectiveDateLabel, desktop },
            { chart.findChild<QLabel*>("bandName_1"), desktop },
            { chart.findChild<QLabel*>("segment_1"), 7 },
        };
        for (const QPushButton* button : chart.m_classButtons) {
            captions.emplace_back(button, desktop);
        }
        for (const auto& [caption, designPoints] : captions) {
            ASSERT_NE(caption, nullptr);
            EXPECT_NEAR(caption->font().pointSizeF(), designPoints * scale, 0.01)
                << caption->objectName().toStdString();
        }
    }
}

TEST_F(BandPlanDialogTest, segmentsAreBlueForCwGreenForPhoneAndLieOverTheirBar)
{
    test::writeBytes(folder.file("BandPlan.txt"), SmallPlan);
    BandPlanDialog& chart = open();
    QTest::mouseClick(chart.m_classButtons[3], Qt::LeftButton);
    EXPECT_EQ(chart.m_headingLabel->text(), "General Frequency Privileges");

    const QList<QLabel*> segments = chartLabels(chart, "segment_");
    ASSERT_EQ(segments.size(), 3);
    EXPECT_EQ(captions(segments), QStringList({ "7.000 - 7.010", "7.025 - 7.125", "7.175 - 7.300" }));
    const QLabel* bar = chart.findChild<QLabel*>("bandBar_1");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->text(), "40");
    int blue = 0;
    for (const QLabel* segment : segments) {
        const bool cw = segment->toolTip().startsWith("CW  ");
        blue += cw ? 1 : 0;
        EXPECT_EQ(segment->toolTip(), (cw ? "CW  " : "PH  ") + segment->text());
        EXPECT_EQ(backColour(segment), fromBgr(cw ? 0x00FF0000 : 0x0000FF00)) << segment->text().toStdString();
        EXPECT_EQ(textColour(segment), cw ? QColor(Qt::white) : QColor(Qt::black));
        EXPECT_EQ(segment->alignment(), Qt::AlignCenter);
        EXPECT_EQ(segment->geometry().top(), bar->geometry().top());
        EXPECT_GE(segment->geometry().left(), bar->geometry().left());
        EXPECT_LE(segment->geometry().right(), bar->geometry().right() + 1);
        EXPECT_EQ(QApplication::widgetAt(segment->mapToGlobal(segment->rect().center())), segment)
            << "the segment is under its bar";
    }
    EXPECT_EQ(blue, 2);
}

TEST_F(BandPlanDialogTest, anotherClassRemovesEveryLabelOfThePreviousChart)
{
    useShippedPlan();
    BandPlanDialog& chart = open();
    QTest::mouseClick(chart.m_classButtons[1], Qt::LeftButton);
    EXPECT_EQ(chart.m_headingLabel->text(), "Technician Frequency Privileges");
    EXPECT_EQ(chart.currentClass(), "T");
    EXPECT_EQ(captions(chartLabels(chart, "bandName_")), QStringList({ "10", "15", "40", "80" }));
    EXPECT_EQ(captions(chartLabels(chart, "segment_")),
        QStringList({ "21.025 - 21.200", "28.000 - 28.300", "28.300 - 28.500", "3.525 - 3.600", "7.025 - 7.125" }));
    EXPECT_EQ(chartLabels(chart, "bandBar_").size(), 4);

    QTest::mouseClick(chart.m_classButtons[2], Qt::LeftButton);
    EXPECT_EQ(chart.m_headingLabel->text(), "Technician Plus Frequency Privileges");
    QTest::mouseClick(chart.m_classButtons[0], Qt::LeftButton);
    EXPECT_EQ(chart.m_headingLabel->text(), "Novice Frequency Privileges");
    EXPECT_EQ(chartLabels(chart, "bandName_").size(), 4);
    QTest::mouseClick(chart.m_classButtons[5], Qt::LeftButton);
    EXPECT_EQ(chartLabels(chart, "bandName_").size(), 10);
}

TEST_F(BandPlanDialogTest, aMissingOrDamagedFileIsReportedAndTheChartStaysEmpty)
{
    struct Case
    {
        const char* name;
        const char* content; // nothing: no file
    };
    for (const Case& c :
        { Case { "missing", nullptr }, Case { "short record", "\"2024\"\r\n\"40\",\"O\",\"ALL\",7.0\r\n" } }) {
        std::remove(folder.file("BandPlan.txt").c_str());
        if (c.content) {
            test::writeBytes(folder.file("BandPlan.txt"), c.content);
        }
        dialogs.shown.clear();
        BandPlanDialog& chart = open();
        ASSERT_EQ(dialogs.shown.size(), 1u) << c.name;
        EXPECT_EQ(dialogs.shown[0].title, "Band Data Not Available.");
        EXPECT_EQ(dialogs.shown[0].text, "Band data not available.");
        EXPECT_TRUE(chartLabels(chart, "bandName_").isEmpty()) << c.name;
        EXPECT_TRUE(chartLabels(chart, "segment_").isEmpty()) << c.name;
        QTest::mouseClick(chart.m_classButtons[3], Qt::LeftButton);
        EXPECT_TRUE(chartLabels(chart, "bandBar_").isEmpty()) << c.name;
    }
}

TEST_F(BandPlanDialogTest, doneHidesTheChart)
{
    test::writeBytes(folder.file("BandPlan.txt"), SmallPlan);
    BandPlanDialog& chart = open();
    QTest::mouseClick(chart.m_doneButton, Qt::LeftButton);
    EXPECT_FALSE(chart.isVisible());
}

} // namespace
} // namespace brindle
