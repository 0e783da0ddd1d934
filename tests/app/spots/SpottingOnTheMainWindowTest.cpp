// The spotting window on the main window: Ctrl+D and the menu open it, the preferences saved first, and
// the one window made is the one shown every time after.

#include "spots/SpotFeed.h"
#include "spots/SpottingWindow.h"

#include "app/log/StartedMainWindow.h"
#include "serial/QtSerialPort.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>

namespace brindle::test {
namespace {

class SpottingOnTheMainWindowTest : public StartedMainWindow
{
protected:
    MainWindowKeyers keyers() override
    {
        MainWindowKeyers keyers;
        auto made = std::make_unique<SpotFeed>(fs, folders.workingDir, dialogs,
            [] { return std::make_unique<QtSerialPort>([](int) { return std::string("/nonexistent"); }); });
        feed = made.get();
        keyers.spots = std::move(made);
        return keyers;
    }
    std::string preferencesFile() const
    {
        return folders.workingDir + "/inprefDX.txt";
    }
    std::vector<SpottingWindow*> spottingWindows()
    {
        const QList<SpottingWindow*> found = form->findChildren<SpottingWindow*>();
        return { found.begin(), found.end() };
    }

    SpotFeed* feed = nullptr;
};

TEST_F(SpottingOnTheMainWindowTest, ctrlDAndTheMenuOpenTheOneWindowAfterSavingThePreferences)
{
    EXPECT_TRUE(spottingWindows().empty()) << "made when first wanted";
    std::filesystem::remove(preferencesFile());
    field("callField")->setFocus();
    QTest::keyClick(field("callField"), Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(spottingWindows().size(), 1u);
    SpottingWindow* window = spottingWindows().front();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(std::filesystem::exists(preferencesFile()));
    EXPECT_EQ(field("callField")->text(), QString()) << "the shortcut's letter must not reach the field";

    // What the operator left in it is there the next time.
    window->findChild<QListWidget*>(QStringLiteral("sourceList"))->setCurrentRow(2);
    window->hide();
    std::filesystem::remove(preferencesFile());
    QAction* item = form->findChild<QAction*>(QStringLiteral("spottingAction"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_EQ(spottingWindows(), std::vector<SpottingWindow*> { window });
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(std::filesystem::exists(preferencesFile()));
    EXPECT_EQ(
        window->findChild<QListWidget*>(QStringLiteral("sourceList"))->currentItem()->text(), QStringLiteral("Telnet"));
    EXPECT_EQ(feed->source(), SpotSource::Telnet);
}

} // namespace
} // namespace brindle::test
