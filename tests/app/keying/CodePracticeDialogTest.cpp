#include "keying/CodePracticeDialog.h"

#include "app/keying/CwOnTheMainWindow.h"
#include "keying/CwKeyer.h"
#include "keying/CwMessages.h"
#include "log/ContestSession.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <set>

namespace brindle {
namespace {

using test::lendingTo;
using test::rtsAt;
using test::waitUntilIdle;

// The dialog over a real keyer keying RTS at 40 WPM on a recording line: an E is on the air for 120 ms,
// long enough for the window to act while it is.
class CodePracticeDialogTest : public ::testing::Test, protected test::KeyerOnRecordingLine
{
protected:
    void SetUp() override
    {
        keyer.applySettings(rtsAt(40));
    }

    CodePracticeDialog& open()
    {
        dialog = std::make_unique<CodePracticeDialog>(keyer, dialogs);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return *dialog;
    }
    QPlainTextEdit* text(const char* name)
    {
        return dialog->findChild<QPlainTextEdit*>(QString::fromLatin1(name));
    }
    QString sent()
    {
        return text("textSentField")->toPlainText();
    }
    QLineEdit* field(const char* name)
    {
        return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void click(const char* name)
    {
        QTest::mouseClick(dialog->findChild<QAbstractButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    // Sends text and waits until its first character is on the air.
    void startSending(const char* toSend)
    {
        text("textToSendField")->setPlainText(QString::fromLatin1(toSend));
        click("sendButton");
        ASSERT_TRUE(QTest::qWaitFor([this] { return !sent().isEmpty(); }, 5000));
    }
    // Everything in the text to send has gone, and the last of it is off the air.
    bool waitUntilAllSent()
    {
        return QTest::qWaitFor(
            [this] { return sent() == text("textToSendField")->toPlainText() && !keyer.isSending(); }, 20000);
    }
    int keyDowns() const
    {
        const auto edges = line.edges();
        return static_cast<int>(std::count_if(edges.begin(), edges.end(), [](const auto& edge) { return edge.down; }));
    }

    std::unique_ptr<CodePracticeDialog> dialog;
};

TEST_F(CodePracticeDialogTest, GeneratesGroupsOfTheAskedShapeAndResetsCountsThatAreNoNumbers)
{
    const struct
    {
        const char* groups;
        const char* length;
        bool lettersOnly;
        const char* groupsShown;
        const char* lengthShown;
        int groupCount;
        int groupLength;
    } cases[] = {
        { "3", "4", true, "3", "4", 3, 4 },
        { "2", "7", false, "2", "7", 2, 7 },
        { "many", "5", false, "10", "5", 10, 5 },
        { "4", "", true, "4", "5", 4, 5 },
    };
    open();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.groups << " " << c.length);
        field("groupCountField")->setText(QString::fromLatin1(c.groups));
        field("groupLengthField")->setText(QString::fromLatin1(c.length));
        click(c.lettersOnly ? "lettersOnlyOption" : "allCharactersOption");
        click("generateButton");
        EXPECT_EQ(field("groupCountField")->text(), c.groupsShown);
        EXPECT_EQ(field("groupLengthField")->text(), c.lengthShown);
        const QString generated = text("textToSendField")->toPlainText();
        ASSERT_TRUE(generated.endsWith(' ')) << "each group is followed by a blank";
        const QStringList groups = generated.chopped(1).split(' ');
        EXPECT_EQ(groups.size(), c.groupCount);
        const std::string_view allowed
            = c.lettersOnly ? PracticeCharacters.substr(0, PracticeLetters) : PracticeCharacters;
        for (const QString& group : groups) {
            EXPECT_EQ(group.size(), c.groupLength) << group.toStdString();
            for (const QChar character : group) {
                EXPECT_NE(allowed.find(character.toLatin1()), std::string_view::npos) << group.toStdString();
            }
        }
    }
}

TEST_F(CodePracticeDialogTest, LettersOnlyGivesLettersAndAllEveryPracticeCharacter)
{
    open();
    field("groupCountField")->setText(QStringLiteral("100"));
    field("groupLengthField")->setText(QStringLiteral("20"));
    const auto charactersGenerated = [this](const char* option) {
        click(option);
        click("generateButton");
        std::set<char> seen;
        for (const QChar character : text("textToSendField")->toPlainText()) {
            if (character != ' ') {
                seen.insert(character.toLatin1());
            }
        }
        return std::string(seen.begin(), seen.end());
    };
    // 2,000 characters: that one of the 41 never comes up is beyond any chance worth the name.
    EXPECT_EQ(charactersGenerated("lettersOnlyOption"), std::string(PracticeCharacters.substr(0, PracticeLetters)));
    const std::string all = charactersGenerated("allCharactersOption");
    EXPECT_EQ(all.size(), PracticeCharacters.size());
}

TEST_F(CodePracticeDialogTest, SendsTheTextCharacterByCharacterEchoingWhatWentOnTheAir)
{
    open();
    startSending("EE T");
    EXPECT_EQ(QApplication::focusWidget(), text("textToSendField"));
    ASSERT_TRUE(waitUntilAllSent());
    EXPECT_EQ(sent(), "EE T");
    EXPECT_EQ(keyDowns(), 3);
}

TEST_F(CodePracticeDialogTest, StopEndsAfterTheCharacterOnTheAirAndTheRestNeverAppears)
{
    open();
    startSending("EEEEEEEEEE");
    click("stopButton");
    ASSERT_TRUE(waitUntilIdle(keyer));
    // Whatever was echoed went on the air, and nothing more comes after the stop.
    QTest::qWait(50);
    EXPECT_LT(sent().size(), 10);
    EXPECT_EQ(sent(), QString(keyDowns(), 'E'));
    EXPECT_FALSE(line.isDown());
}

TEST_F(CodePracticeDialogTest, TextTypedAheadWhileSendingIsSentToo)
{
    open();
    startSending("EEE");
    QTest::keyClicks(text("textToSendField"), QStringLiteral("t"));
    ASSERT_TRUE(waitUntilAllSent());
    EXPECT_TRUE(sent().contains('T')) << sent().toStdString();
    EXPECT_EQ(sent().size(), 4);
    EXPECT_EQ(keyDowns(), 4);
}

TEST_F(CodePracticeDialogTest, TheKeyboardFieldSendsEachKeyAndBackspaceTakesBackTheLastNotYetSent)
{
    open();
    QTest::keyClicks(field("keyboardField"), QStringLiteral("ttte"));
    EXPECT_EQ(field("keyboardField")->text(), "") << "every key goes on its way";
    EXPECT_EQ(sent(), "TTTE");
    QTest::keyClick(field("keyboardField"), Qt::Key_Backspace);
    EXPECT_EQ(sent(), "TTT");
    ASSERT_TRUE(waitUntilIdle(keyer));
    EXPECT_EQ(keyDowns(), 3) << "three dashes, no dot";
}

TEST_F(CodePracticeDialogTest, CloseIsRefusedWhileACharacterIsOnTheAir)
{
    open();
    startSending("EEEE");
    EXPECT_FALSE(dialog->close());
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(waitUntilIdle(keyer));
    EXPECT_TRUE(dialog->close());
    EXPECT_LT(sent().size(), 4) << "closing stopped the sending";
}

TEST_F(CodePracticeDialogTest, PastesTheClipboardAndTypesCapitalsFasterAndSlowerShowTheSpeed)
{
    open();
    QGuiApplication::clipboard()->setText(QStringLiteral("cq test de g4abc"));
    click("pasteButton");
    EXPECT_EQ(text("textToSendField")->toPlainText(), "cq test de g4abc");
    text("textToSendField")->clear();
    QTest::keyClicks(text("textToSendField"), QStringLiteral("vvv 5nn"));
    EXPECT_EQ(text("textToSendField")->toPlainText(), "VVV 5NN");

    auto* speed = dialog->findChild<QLabel*>(QStringLiteral("speedLabel"));
    EXPECT_EQ(speed->text(), "40");
    click("fasterButton");
    EXPECT_EQ(speed->text(), "41");
    click("slowerButton");
    click("slowerButton");
    EXPECT_EQ(speed->text(), "39");
    EXPECT_EQ(keyer.speedText(), "39");
}

} // namespace
} // namespace brindle
