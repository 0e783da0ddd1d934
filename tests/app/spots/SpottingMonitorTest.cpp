// The spotting window's monitor while a node floods it: it shows exactly the feed's text, its line ends
// as the window draws them, and a change touches only the lines that came and the lines that went, so that
// neither the layout nor a screen reader is given the whole ten thousand characters again.

#include "spots/SpottingWindow.h"

#include "os/PosixFileSystem.h"
#include "serial/QtSerialPort.h"
#include "spots/MonitorText.h"
#include "spots/SpotFeed.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace brindle::test {
namespace {

// The feed's text with the line ends the monitor draws: CR LF and a CR alone each end one line.
QString shownAs(const std::string& text)
{
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

std::string spotLines(int from, int count)
{
    std::string text;
    for (int i = from; i < from + count; ++i) {
        text += "DX de KM3T-#:     7012.3  N" + std::to_string(100000 + i) + "      CW 23 dB 22 WPM CQ      1234Z\r\n";
    }
    return text;
}

class SpottingMonitorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        feed.useClock(clock);
        window = std::make_unique<SpottingWindow>(feed, dialogs,
            SpottingWindow::Hooks { [] { return std::string("N0CALL"); }, [] { return std::string(); }, [] {} });
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        monitor = window->findChild<QPlainTextEdit*>(QStringLiteral("monitorText"));
        ASSERT_NE(monitor, nullptr);
    }

    // A while since the monitor was last drawn: the next change is drawn at once, not held back for the
    // spacing a flood gets.
    void aWhileLater()
    {
        clock.monotonic += 1000;
    }
    // Once the monitor shows what the feed holds now.
    bool showsTheFeed()
    {
        return QTest::qWaitFor([&] { return monitor->toPlainText() == shownAs(feed.monitorText()); }, 5000);
    }

    TempFolder temp;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    ManualClock clock;
    SpotFeed feed { fs, temp.path(), dialogs,
        [this] { return std::make_unique<QtSerialPort>([this](int) { return temp.file("no-tnc"); }); } };
    std::unique_ptr<SpottingWindow> window;
    QPlainTextEdit* monitor = nullptr;
};

TEST_F(SpottingMonitorTest, aFloodChangesOnlyTheLinesThatCameAndWent)
{
    aWhileLater();
    feed.replaceMonitor(spotLines(0, 100));
    ASSERT_TRUE(showsTheFeed());

    struct Case
    {
        const char* what;
        std::string appended;
        bool cutsTheStart; // the monitor goes beyond its limit and loses its oldest text
    };
    const std::vector<Case> cases {
        { "a line", spotLines(100, 1), false },
        { "a prompt without a line end, then its end", "login: ", false },
        { "a CR alone ends a line", "\r\nN0CALL\rDX de W1AW: 14025.0 Q9ZZZ\r", false },
        { "the LF of a CR LF cut apart by the reads", "\nWelcome\r\n", false },
        { "lines beyond the limit", spotLines(200, 60), true },
        { "a line cut off by the trim where it began", spotLines(300, 80), true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const qsizetype before = monitor->document()->characterCount();
        QSignalSpy changes(monitor->document(), &QTextDocument::contentsChange);
        aWhileLater();
        feed.appendMonitor(c.appended);
        ASSERT_TRUE(showsTheFeed()) << monitor->toPlainText().toStdString();
        EXPECT_LE(feed.monitorText().size(), MonitorLimit);
        ASSERT_FALSE(changes.isEmpty());
        int added = 0;
        int removedAtStart = 0;
        for (const QList<QVariant>& change : changes) {
            const int from = change[0].toInt();
            const int removed = change[1].toInt();
            added += change[2].toInt();
            if (removed > 0) {
                EXPECT_EQ(from, 0) << "only the oldest text goes";
                removedAtStart += removed;
            }
        }
        EXPECT_LE(added, static_cast<int>(c.appended.size())) << "only what came is laid out";
        EXPECT_EQ(removedAtStart > 0, c.cutsTheStart);
        EXPECT_LT(removedAtStart + 1, static_cast<int>(before)) << "what stays is not taken out and put back";
    }

    // Text that follows on from nothing shown (help put up in place of the monitor) is shown whole.
    aWhileLater();
    feed.replaceMonitor("Help for the TNC source\r\n");
    EXPECT_TRUE(showsTheFeed());
}

} // namespace
} // namespace brindle::test
