#include "StartedMainWindow.h"

#include "ui/Announce.h"

#include <QAccessible>

namespace brindle {
namespace {

// What a screen reader is told that matters now: the widget and what it shows.
QStringList announced;

void recordAnnouncement(QWidget* widget)
{
    auto* label = qobject_cast<QLabel*>(widget);
    announced << widget->objectName() + QStringLiteral(": ") + (label ? label->text() : QString());
}

class AccessibilityTest : public test::StartedMainWindow
{
protected:
    void SetUp() override
    {
        test::StartedMainWindow::SetUp();
        announced.clear();
        listenToAnnouncements(&recordAnnouncement);
    }
    void TearDown() override
    {
        listenToAnnouncements({});
        test::StartedMainWindow::TearDown();
    }
    QString nameOf(const char* objectName)
    {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget(objectName));
        return accessible ? accessible->text(QAccessible::Name) : QString();
    }
};

TEST_F(AccessibilityTest, everyControlIsNamedByWhatItIs)
{
    form->changeBand("20");
    const std::pair<const char*, const char*> names[] = {
        { "callField", "Call" },
        { "rstRcvdField", "RS(T) Rc" },
        { "sectionField", "St / Pr" },
        { "rstSentField", "RS(T) Sn" },
        { "countryField", "Country" },
        { "contactList", "Recent contacts" },
        { "partialSearchButton", "Partial call search on" },
        { "bandLabel", "Band 20" },
        { "sectionLabel_MA", "MA worked" },
        { "sectionLabel_CT", "CT needed" },
    };
    for (const auto& [objectName, name] : names) {
        EXPECT_EQ(nameOf(objectName), name) << objectName;
    }
    QTest::mouseClick(widget("partialSearchButton"), Qt::LeftButton);
    EXPECT_EQ(nameOf("partialSearchButton"), "Partial call search off");
    form->changeBand("40");
    EXPECT_EQ(nameOf("bandLabel"), "Band 40");
    EXPECT_EQ(nameOf("sectionLabel_MA"), "MA needed");
    EXPECT_EQ(nameOf("sectionLabel_ON"), "ON worked");
}

TEST_F(AccessibilityTest, whatTheMessageLineAndTheNewMarkerShowIsAnnounced)
{
    startClock();
    QTest::keyClicks(field("callField"), QStringLiteral("k1ab"));
    leaveCall();
    ASSERT_FALSE(announced.isEmpty());
    EXPECT_TRUE(announced.last().startsWith("messageLabel: Duplicate K1AB")) << announced.last().toStdString();

    clock.monotonic += 3000; // past the hold after the duplicate
    announced.clear();
    QTest::keyClick(field("callField"), Qt::Key_Return);
    ASSERT_FALSE(announced.isEmpty());
    EXPECT_EQ(announced.last(), "messageLabel: Need Call Sign!") << announced.join(" | ").toStdString();

    announced.clear();
    QTest::keyClicks(field("callField"), QStringLiteral("w1aw"));
    field("sectionField")->setText(QStringLiteral("XX"));
    QTest::keyClick(field("sectionField"), Qt::Key_Return);
    EXPECT_TRUE(announced.contains("messageLabel: Invald Section!"));

    field("sectionField")->clear();
    announced.clear();
    field("sectionField")->setText(QStringLiteral("CT"));
    EXPECT_EQ(announced, QStringList({ "newSectionMarker: New" }));
}

} // namespace
} // namespace brindle
