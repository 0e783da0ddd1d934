// The phone keyer's window: its fields hold for the keyer as they are typed, are corrected as they are
// left, and "Done" keeps them in "wave2.txt".

#include "keying/PhoneKeyerWindow.h"

#include "app/keying/PhoneOnRecordingLines.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

class PhoneKeyerWindowTest : public ::testing::Test, public PhoneKeyerOnRecordingLines
{
protected:
    void SetUp() override
    {
        window = std::make_unique<PhoneKeyerWindow>(*keyer, dialogs);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QLineEdit* field(const char* name)
    {
        return window->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QPushButton* button(const char* name)
    {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // Types into a field and moves on, as the operator does with Tab.
    void typeAndLeave(const char* name, const char* typed)
    {
        QLineEdit* typedInto = field(name);
        typedInto->setFocus();
        typedInto->selectAll();
        QTest::keyClicks(typedInto, QString::fromLatin1(typed));
        button("doneButton")->setFocus();
    }

    std::unique_ptr<PhoneKeyerWindow> window;
};

TEST_F(PhoneKeyerWindowTest, whatIsTypedHoldsAtOnceAndDoneKeepsItInWave2Txt)
{
    EXPECT_EQ(field("waveFileField_F2")->text(), QString::fromStdString(wave(2)));
    EXPECT_EQ(field("waveFileField_F4")->text(), QString());
    EXPECT_TRUE(window->findChild<QRadioButton*>(QStringLiteral("rtsPttOption"))->isChecked());
    EXPECT_EQ(field("parallelAddressField")->text(), QStringLiteral("&H378"));

    field("waveFileField_F4")->setText(QStringLiteral("  ") + QString::fromStdString(wave(4)) + QStringLiteral(" "));
    QRadioButton* dtr = window->findChild<QRadioButton*>(QStringLiteral("dtrPttOption"));
    QTest::mouseClick(dtr, Qt::LeftButton, {}, QPoint(6, dtr->height() / 2));
    typeAndLeave("repeatSecondsField", "12.5");
    field("parallelAddressField")->setFocus();
    field("parallelAddressField")->selectAll();
    QTest::keyClicks(field("parallelAddressField"), QStringLiteral("&h278\""));
    EXPECT_EQ(field("parallelAddressField")->text(), QStringLiteral("&H278")) << "capitals, and no quote";
    EXPECT_EQ(keyer->settings().waveFiles[3], wave(4)) << "without the blanks around it";
    EXPECT_EQ(keyer->settings().pttLine, PttLine::Dtr);

    QTest::mouseClick(button("doneButton"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    PhoneSettings expected = messages();
    expected.waveFiles[3] = wave(4);
    expected.pttLine = PttLine::Dtr;
    expected.loopSeconds = "12.5";
    expected.parallelAddress = "&H278";
    EXPECT_EQ(readBytes(temp.file("wave2.txt")), formatPhoneSettings(expected));
}

TEST_F(PhoneKeyerWindowTest, leavingTheNumberFieldsCorrectsThem)
{
    const struct
    {
        const char* field;
        const char* typed;
        const char* kept;
        int beeps;
    } cases[] = {
        { "repeatSecondsField", "59.9", "59.9", 0 },
        { "repeatSecondsField", "60", "0", 0 },
        { "repeatSecondsField", "1.2.3", "0", 1 },
        { "repeatSecondsField", "x5", "5", 0 }, // only digits and the point can be typed
        { "pttPortField", "", "0", 0 },
        { "pttPortField", "0", "0", 0 },
    };
    for (const auto& c : cases) {
        dialogs.beeps = 0;
        typeAndLeave(c.field, c.typed);
        EXPECT_EQ(field(c.field)->text(), QString::fromLatin1(c.kept)) << c.field << " " << c.typed;
        EXPECT_EQ(dialogs.beeps, c.beeps) << c.field << " " << c.typed;
    }
    EXPECT_EQ(serialSource.opens.load(), 0) << "no port to open";
}

TEST_F(PhoneKeyerWindowTest, leavingThePortFieldOpensThePortOrSaysWhyNot)
{
    typeAndLeave("pttPortField", "3");
    EXPECT_EQ(serialSource.opens.load(), 1);
    EXPECT_EQ(serialChoice->portNumber.load(), 3);
    EXPECT_TRUE(dialogs.shown.empty());

    serialSource.refusal = "/dev/ttyUSB4: Permission denied";
    typeAndLeave("pttPortField", "5");
    ASSERT_EQ(dialogs.titles(), QStringList { QStringLiteral("Invalid port.") });
    EXPECT_FALSE(keyer->isPttKeyed());
}

TEST_F(PhoneKeyerWindowTest, browsePutsTheChosenWaveFileInItsFieldAndACancelOnlyBeeps)
{
    dialogs.files.push_back(QString::fromStdString(temp.file("cq.wav")));
    QTest::mouseClick(button("browseButton_F3"), Qt::LeftButton);
    EXPECT_EQ(field("waveFileField_F3")->text(), QString::fromStdString(temp.file("cq.wav")));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, QStringLiteral("open"));
    EXPECT_EQ(dialogs.shown[0].filter, QStringLiteral("(*.wav) | *.wav"));
    EXPECT_EQ(dialogs.shown[0].folder, QString::fromStdString(temp.path())) << "where its file is";
    EXPECT_TRUE(button("doneButton")->hasFocus());
    EXPECT_EQ(dialogs.beeps, 0);

    dialogs.files.push_back(std::nullopt);
    QTest::mouseClick(button("browseButton_F4"), Qt::LeftButton);
    EXPECT_EQ(field("waveFileField_F4")->text(), QString());
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(PhoneKeyerWindowTest, testPlaysF1AndStopEndsItsRepeat)
{
    QPushButton* stop = button("stopRepeatButton");
    QTest::mouseClick(button("testButton"), Qt::LeftButton);
    EXPECT_EQ(player->current(), wave(1));
    EXPECT_FALSE(stop->isVisible()) << "nothing repeats without a pause";
    player->finish();

    typeAndLeave("repeatSecondsField", "5");
    QTest::mouseClick(button("testButton"), Qt::LeftButton);
    EXPECT_TRUE(stop->isVisible());
    player->finish();
    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_FALSE(stop->isVisible());
    EXPECT_FALSE(keyer->isRepeatArmed());
    EXPECT_FALSE(keyer->findChild<QTimer*>(QStringLiteral("phoneRepeatTimer"))->isActive())
        << "the pause under way ends too: no F1 comes after Stop";

    // The repeat ended elsewhere (a key on the main window) takes the button away as well.
    QTest::mouseClick(button("testButton"), Qt::LeftButton);
    keyer->stopRepeat();
    EXPECT_FALSE(stop->isVisible());
}

} // namespace
} // namespace brindle::test
