#include "reports/RateGraphDialog.h"

#include "common/DateText.h"
#include "log/ContestLog.h"
#include "ui/Colours.h"

#include "support/LogSamples.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

namespace brindle {
namespace {

const DateTime Start { 2026, 2, 21, 12, 0, 0 };

QsoRecord contactAt(long long seconds, std::string band)
{
    const DateTime t = addHours(Start, (static_cast<double>(seconds) + 0.5) / 3600.0);
    QsoRecord record = test::sampleRecord(static_cast<int>(seconds % 1000));
    record.qsoDate = formatDate(t);
    record.qsoTime = formatTime(t);
    record.band = std::move(band);
    return record;
}

// An evening on 20 m, then on 40 m: a contact every two minutes for two hours each.
ContestLog evening()
{
    ContestLog log;
    for (long long s = 0; s < 7200; s += 120) {
        log.append(contactAt(s, "20"));
    }
    for (long long s = 7200; s <= 14400; s += 120) {
        log.append(contactAt(s, "40"));
    }
    return log;
}

class RateGraphDialogTest : public ::testing::Test
{
protected:
    RateGraphDialog& open(const ContestLog& opened)
    {
        m_graph.reset();
        m_graph = std::make_unique<RateGraphDialog>(opened, dialogs);
        m_graph->show();
        return *m_graph;
    }

    // The colours (0x00BBGGRR) drawn inside the plot frame and the band strip.
    static std::set<std::uint32_t> plotColours(RateGraphDialog& graph)
    {
        const QImage image = graph.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const RateGraphFrame frame = graph.plotFrame();
        std::set<std::uint32_t> colours;
        for (int y = static_cast<int>(frame.yt); y <= static_cast<int>(frame.ys2); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = static_cast<int>(frame.x0); x <= static_cast<int>(frame.x1); ++x) {
                colours.insert(toBgr(QColor(line[x])));
            }
        }
        return colours;
    }

    static bool drawnIn(const std::set<std::uint32_t>& colours, std::uint32_t bgr)
    {
        return colours.count(bgr) > 0;
    }

    test::ScriptedDialogs dialogs;

private:
    std::unique_ptr<RateGraphDialog> m_graph;
};

TEST_F(RateGraphDialogTest, sixContactsBringTheMessageAndNoGraphSevenAGraph)
{
    RateGraphDialog& few = open(test::sampleLog(6));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "message");
    EXPECT_EQ(dialogs.shown[0].title, "Not Enough Contacts to Graph.");
    EXPECT_EQ(dialogs.shown[0].text,
        "The graph will not display with less than 7 contacts.  The graph becomes more meaningful as several hours of "
        "contest logging are accumulated.");
    EXPECT_FALSE(few.graph().plot);
    EXPECT_TRUE(few.m_rateLabels[16]->text().isEmpty());
    EXPECT_TRUE(few.m_timeLabels[0]->text().isEmpty());
    EXPECT_FALSE(drawnIn(plotColours(few), GraphCurveColour));

    dialogs.shown.clear();
    RateGraphDialog& seven = open(test::sampleLog(7));
    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_TRUE(seven.graph().plot);
    EXPECT_FALSE(seven.m_rateLabels[16]->text().isEmpty());
    EXPECT_TRUE(drawnIn(plotColours(seven), GraphCurveColour));
}

TEST_F(RateGraphDialogTest, opensOnBlackWithTheCurveTheBandStripAndTheLabelsOfTheLog)
{
    const ContestLog log = evening();
    RateGraphDialog& graph = open(log);
    EXPECT_EQ(graph.windowTitle(), " Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)");
    EXPECT_EQ(graph.m_backgroundButton->text(), "Black Background");
    EXPECT_EQ(graph.m_bandLegendCaption->text(), "Band ");
    EXPECT_EQ(graph.m_bandLegendLabels[0]->text(), "160");
    EXPECT_EQ(graph.m_bandLegendLabels[6]->text(), "6");
    EXPECT_EQ(textColour(graph.m_bandLegendLabels[1]), fromBgr(0x00FF0000));
    EXPECT_EQ(textColour(graph.m_timeLabels[0]), QColor(Qt::white));

    EXPECT_EQ(graph.m_timeLabels[0]->text(), "12:00");
    EXPECT_EQ(graph.m_dateLabels[0]->text(), "02/21");
    EXPECT_EQ(graph.m_timeLabels[14]->text(), "16:00");
    EXPECT_EQ(graph.m_rateLabels[0]->text(), QString::fromStdString(graph.graph().plot->values[0]));
    EXPECT_EQ(graph.m_rateLabels[16]->text(), "30.0"); // five contacts in every ten minutes

    const std::set<std::uint32_t> colours = plotColours(graph);
    EXPECT_TRUE(drawnIn(colours, GraphCurveColour));
    EXPECT_TRUE(drawnIn(colours, 0x0000FF00)); // 20 m
    EXPECT_TRUE(drawnIn(colours, 0x000000FF)); // 40 m
    EXPECT_EQ(toBgr(graph.grab().toImage().pixelColor(2, graph.height() - 2)), GraphBlack);
}

TEST_F(RateGraphDialogTest, theButtonTogglesTheBackgroundAndTwoClicksBringBlackBack)
{
    const ContestLog log = evening();
    RateGraphDialog& graph = open(log);

    QTest::mouseClick(graph.m_backgroundButton, Qt::LeftButton);
    EXPECT_EQ(graph.m_backgroundButton->text(), "White Background");
    EXPECT_EQ(graph.backgroundColour(), GraphWhite);
    EXPECT_EQ(toBgr(graph.grab().toImage().pixelColor(2, graph.height() - 2)), GraphWhite);
    for (QLabel* label :
        { graph.m_timeLabels[3], graph.m_dateLabels[3], graph.m_rateLabels[5], graph.m_bandLegendCaption }) {
        EXPECT_EQ(textColour(label), QColor(Qt::black)) << label->objectName().toStdString();
    }
    EXPECT_EQ(textColour(graph.m_bandLegendLabels[3]), fromBgr(0x0000FF00)); // the legend keeps its colours
    EXPECT_TRUE(drawnIn(plotColours(graph), GraphCurveColour)); // drawn again
    EXPECT_FALSE(QApplication::overrideCursor()); // the hourglass is gone

    QTest::mouseClick(graph.m_backgroundButton, Qt::LeftButton);
    EXPECT_EQ(graph.m_backgroundButton->text(), "Black Background");
    EXPECT_EQ(graph.backgroundColour(), GraphBlack);
    EXPECT_EQ(textColour(graph.m_rateLabels[5]), QColor(Qt::white));
    EXPECT_EQ(toBgr(graph.grab().toImage().pixelColor(2, graph.height() - 2)), GraphBlack);
    EXPECT_TRUE(drawnIn(plotColours(graph), GraphCurveColour));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RateGraphDialogTest, aLogAllAtOneMomentShowsTheTimeLabelsAndDrawsNothingWithoutAWord)
{
    ContestLog log;
    for (int i = 0; i < 8; ++i) {
        log.append(contactAt(600, "20"));
    }
    RateGraphDialog& graph = open(log);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(graph.m_timeLabels[7]->text(), "12:10");
    EXPECT_TRUE(graph.m_rateLabels[0]->text().isEmpty());
    EXPECT_FALSE(drawnIn(plotColours(graph), GraphCurveColour));
}

TEST_F(RateGraphDialogTest, labelsStayAlongThePlotWhenTheWindowGrows)
{
    const ContestLog log = evening();
    RateGraphDialog& graph = open(log);
    graph.resize(graph.width() * 2, graph.height() * 3 / 2);
    QApplication::processEvents();
    const RateGraphFrame frame = graph.plotFrame();
    EXPECT_NEAR(graph.m_timeLabels[0]->geometry().center().x(), frame.x0, 2);
    EXPECT_NEAR(graph.m_timeLabels[14]->geometry().center().x(), frame.x1, 2);
    EXPECT_NEAR(graph.m_rateLabels[0]->geometry().center().y(), frame.yb, 2);
    EXPECT_NEAR(graph.m_rateLabels[16]->geometry().center().y(), frame.yt, 2);
    EXPECT_GT(graph.m_timeLabels[0]->geometry().top(), frame.ys2);
}

} // namespace
} // namespace brindle
