#include "keying/CwMessagesWindow.h"

#include "app/keying/CwOnTheMainWindow.h"
#include "keying/CwKeyerWindow.h"

#include <QApplication>
#include <QPushButton>

#include <algorithm>

namespace brindle {
namespace {

using test::rtsAt;
using test::waitUntilIdle;

// The CW strings window of a started main window, keying RTS at 100 WPM on a recording line.
class CwMessagesWindowTest : public test::CwOnTheMainWindowTest
{
protected:
    void SetUp() override
    {
        CwOnTheMainWindowTest::SetUp();
        CwSettings settings = rtsAt(100);
        settings.messages[0] = "CQ TEST";
        settings.messages[1] = "E"; // one element
        settings.messages[9] = "M"; // F10: two
        settings.messages[10] = "S"; // F11: three
        cwKeyer->applySettings(settings);
    }

    CwMessagesWindow* strings()
    {
        return form->findChild<CwMessagesWindow*>(QStringLiteral("CwMessagesWindow"));
    }
    // Ctrl+W on the main window, then the window comes to the front as the window manager brings it.
    CwMessagesWindow& openStrings()
    {
        QTest::keyClick(field("callField"), Qt::Key_W, Qt::ControlModifier);
        EXPECT_NE(strings(), nullptr);
        QApplication::setActiveWindow(strings());
        return *strings();
    }
    QLabel* label(const char* name)
    {
        auto* found = strings()->findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QPushButton* done()
    {
        return strings()->findChild<QPushButton*>(QStringLiteral("doneButton"));
    }
    int keyDowns() const
    {
        const auto edges = line.edges();
        return static_cast<int>(std::count_if(edges.begin(), edges.end(), [](const auto& edge) { return edge.down; }));
    }
};

TEST_F(CwMessagesWindowTest, ShowsEveryKeysMessageAndTheLatestEachTimeItComesToTheFront)
{
    CwMessagesWindow& window = openStrings();
    EXPECT_EQ(window.windowTitle(), "CW Strings");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(label("keyCaption_F1")->text(), "F1");
    EXPECT_EQ(label("messageLabel_F1")->text(), "CQ TEST");
    EXPECT_EQ(label("keyCaption_F10")->text(), "F10");
    EXPECT_EQ(label("messageLabel_F10")->text(), "M");
    EXPECT_EQ(label("messageLabel_F11")->text(), "S");
    EXPECT_EQ(label("messageLabel_F12")->text(), "Keyboard");

    CwSettings changed = cwKeyer->settings();
    changed.messages[0] = "CQ DX <AR>";
    cwKeyer->applySettings(changed);
    QApplication::setActiveWindow(form.get());
    QApplication::setActiveWindow(strings());
    EXPECT_EQ(label("messageLabel_F1")->text(), "CQ DX <AR>");
}

TEST_F(CwMessagesWindowTest, ClickingALineSendsItsMessageAndTheKeyboardLineNothing)
{
    const struct
    {
        const char* label;
        int keyDowns;
    } cases[] = {
        { "keyCaption_F2", 1 }, { "messageLabel_F2", 1 }, { "keyCaption_F10", 2 }, { "messageLabel_F11", 3 },
        { "keyCaption_F12", 0 }, { "messageLabel_F12", 0 }, { "keyCaption_F3", 0 }, // an empty message
    };
    openStrings();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const int before = keyDowns();
        QTest::mouseClick(label(c.label), Qt::LeftButton);
        ASSERT_TRUE(waitUntilIdle(*cwKeyer));
        EXPECT_EQ(keyDowns() - before, c.keyDowns);
    }
}

TEST_F(CwMessagesWindowTest, WithNoKeyingAClickSendsNothing)
{
    CwSettings none = cwKeyer->settings();
    none.keying = CwKeying::None;
    cwKeyer->applySettings(none);
    openStrings();
    QTest::mouseClick(label("messageLabel_F2"), Qt::LeftButton);
    EXPECT_FALSE(cwKeyer->isSending());
    EXPECT_EQ(keyDowns(), 0);
}

TEST_F(CwMessagesWindowTest, KeysPressedThereWorkAsOnTheMainWindow)
{
    openStrings();
    ASSERT_EQ(QApplication::focusWidget(), done()) << "the one control that takes the focus";
    QTest::keyClick(done(), Qt::Key_F2);
    ASSERT_TRUE(waitUntilIdle(*cwKeyer));
    EXPECT_EQ(keyDowns(), 1);

    QTest::keyClick(done(), Qt::Key_Up);
    EXPECT_EQ(cwKeyer->speedText(), "101");
    EXPECT_EQ(text("messageLabel"), "101 WPM") << "said on the main window";

    QTest::keyClick(done(), Qt::Key_C, Qt::ControlModifier);
    auto* keyerWindow = form->findChild<CwKeyerWindow*>(QStringLiteral("CwKeyerWindow"));
    ASSERT_NE(keyerWindow, nullptr);
    EXPECT_TRUE(keyerWindow->isVisible());
}

TEST_F(CwMessagesWindowTest, DoneMinimisesItAndCtrlWBringsItBackAtItsNormalSize)
{
    openStrings();
    QTest::mouseClick(done(), Qt::LeftButton);
    EXPECT_TRUE(strings()->isMinimized());
    QApplication::setActiveWindow(form.get());
    openStrings();
    EXPECT_FALSE(strings()->isMinimized());
    EXPECT_TRUE(strings()->isVisible());
}

TEST_F(CwMessagesWindowTest, DoneInTheKeyerWindowLeavesTheStringsMinimisedWhenThereIsAKeyingLine)
{
    const auto doneInKeyerWindow = [this] {
        QTest::keyClick(field("callField"), Qt::Key_C, Qt::ControlModifier);
        auto* keyerWindow = form->findChild<CwKeyerWindow*>(QStringLiteral("CwKeyerWindow"));
        QTest::mouseClick(keyerWindow->findChild<QPushButton*>(QStringLiteral("doneButton")), Qt::LeftButton);
    };
    CwSettings none = cwKeyer->settings();
    none.keying = CwKeying::None;
    cwKeyer->applySettings(none);
    doneInKeyerWindow();
    EXPECT_EQ(strings(), nullptr);

    none.keying = CwKeying::Dtr;
    cwKeyer->applySettings(none);
    doneInKeyerWindow();
    ASSERT_NE(strings(), nullptr);
    EXPECT_TRUE(strings()->isVisible());
    EXPECT_TRUE(strings()->isMinimized());
}

} // namespace
} // namespace brindle
