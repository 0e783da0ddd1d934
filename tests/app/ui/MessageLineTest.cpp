#include "ui/MessageLine.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace brindle {
namespace {

// The line is one line wide: a notice longer than the window (a device's path, a remedy) is cut on the
// screen, and its whole text is there for the pointer.
TEST(MessageLineTest, aNoticeCanBeReadWholeWhateverTheWindowsWidth)
{
    QLabel label;
    MessageLine line(&label);
    const QString notice = QStringLiteral("No real-time priority for CW: its timing may waver while the computer is "
                                          "busy.  To allow it: the line \"@audio - rtprio 20\" in ...");
    line.show(notice);
    EXPECT_EQ(label.toolTip(), notice);
    line.showDuplicate(QStringLiteral("Duplicate on 20 m "));
    EXPECT_EQ(label.toolTip(), QStringLiteral("Duplicate on 20 m"));
    line.reset();
    EXPECT_EQ(label.toolTip(), QString()) << "a blank line has nothing to tell";
    line.show(notice);
    line.clear();
    EXPECT_EQ(label.toolTip(), QString());
}

} // namespace
} // namespace brindle
