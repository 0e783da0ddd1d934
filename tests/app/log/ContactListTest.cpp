#include "StartedMainWindow.h"

#include "log/ContactEditorDialog.h"
#include "log/LogFormat.h"
#include "support/LogSamples.h"
#include "ui/Colours.h"

#include <QAction>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include <sys/stat.h>

namespace brindle {
namespace {

using test::readBytes;
using test::writeBytes;
using Answer = OperatorDialogs::Answer;

QsoRecord contact(const char* call, const char* section, const char* band)
{
    return { call, "599", section, "599", "United States", "2026/02/21", "14:05:30", band, "" };
}

class ContactListTest : public test::StartedMainWindow
{
protected:
    // Replaces the log file and loads it, as a restore would.
    void useLog(const ContestLog& log)
    {
        writeBytes(logPath(), formatLog(log));
        ASSERT_TRUE(form->reloadLog());
    }
    QTableView* list()
    {
        return form->findChild<QTableView*>(QStringLiteral("contactList"));
    }
    QString cell(int row, int column)
    {
        return list()->model()->index(row, column).data().toString();
    }
    std::vector<QString> column(int c)
    {
        std::vector<QString> texts;
        for (int row = 0; row < list()->model()->rowCount(); ++row) {
            texts.push_back(cell(row, c));
        }
        return texts;
    }
    QPushButton* button(const char* name)
    {
        return form->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void clickRow(int row, Qt::MouseButton which = Qt::LeftButton)
    {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), which, {}, rect.center());
    }
    ino_t inodeOfLog() const
    {
        struct stat st
        {
        };
        ::stat(logPath().c_str(), &st);
        return st.st_ino;
    }
    // What the operator does in the contact editor.
    void inEditor(std::function<void(ContactEditorDialog&)> act)
    {
        dialogs.onModal = [act](QDialog& dialog) { act(static_cast<ContactEditorDialog&>(dialog)); };
    }
};

TEST_F(ContactListTest, theListShowsTheLastTwentyNewestFirstOrAll)
{
    useLog(test::sampleLog(25));
    ASSERT_EQ(list()->model()->rowCount(), 20);
    EXPECT_EQ(cell(0, 0), "25");
    EXPECT_EQ(cell(19, 0), "6");
    const QsoRecord& newest = form->workingLog().log().record(25);
    EXPECT_EQ(cell(0, 1), QString::fromStdString(newest.call));
    EXPECT_EQ(cell(0, 7), QString::fromStdString(newest.band));
    QStringList headings;
    for (int c = 0; c < 9; ++c) {
        headings << list()->model()->headerData(c, Qt::Horizontal).toString();
    }
    EXPECT_EQ(headings, QStringList({ "Rec#", "Call", "Rec", "St/Pr", "Snt", "Date", "Time", "Bnd", "Country" }));

    EXPECT_EQ(button("listAllButton")->text(), "Last 20");
    QTest::mouseClick(button("listAllButton"), Qt::LeftButton);
    EXPECT_EQ(button("listAllButton")->text(), "All");
    ASSERT_EQ(list()->model()->rowCount(), 25);
    EXPECT_EQ(cell(24, 0), "1");
    EXPECT_TRUE(field("callField")->hasFocus());

    QTest::mouseClick(button("listAllButton"), Qt::LeftButton);
    EXPECT_EQ(list()->model()->rowCount(), 20);
}

TEST_F(ContactListTest, aHeadingClickSortsOnceByText)
{
    useLog(test::sampleLog(12));
    QHeaderView* header = list()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
    const std::vector<QString> numbers = column(0);
    EXPECT_EQ(numbers, (std::vector<QString> { "1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9" }));
}

TEST_F(ContactListTest, editAndDeleteAppearWhenTheListIsClickedAndGoWithTheCall)
{
    EXPECT_FALSE(button("editContactButton")->isVisible());
    EXPECT_FALSE(button("deleteContactButton")->isVisible());
    clickRow(0);
    EXPECT_TRUE(button("editContactButton")->isVisible());
    EXPECT_TRUE(button("deleteContactButton")->isVisible());
    field("callField")->setFocus();
    EXPECT_FALSE(button("editContactButton")->isVisible());
}

TEST_F(ContactListTest, aRowIsEditedAndDeletedFromTheKeyboardAndTabLeavesTheList)
{
    QStringList opened;
    dialogs.onModal = [&opened](QDialog& window) { opened << window.objectName(); };
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Down);
    ASSERT_FALSE(list()->selectionModel()->selectedRows().isEmpty());
    EXPECT_TRUE(widget("editContactButton")->isVisible()) << "a selected row can be edited";

    QTest::keyClick(list(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), widget("editContactButton"));
    QTest::keyClick(widget("editContactButton"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), widget("deleteContactButton"));

    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(opened, QStringList({ "ContactEditorDialog" }));
}

TEST_F(ContactListTest, withoutASelectedRowEditAndDeleteDoNothing)
{
    const std::string before = readBytes(logPath());
    form->deleteSelectedContact();
    form->editSelectedContact(); // an editor would fail the test: no modal window is scripted
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(readBytes(logPath()), before);
}

TEST_F(ContactListTest, deletingRenumbersTheLaterContactsAndTheScoreFollows)
{
    const ContestLog five = test::sampleLog(5);
    useLog(five);
    clickRow(2); // newest first: record 3

    dialogs.answers.push_back(Answer::No);
    QTest::mouseClick(button("deleteContactButton"), Qt::LeftButton);
    EXPECT_EQ(readBytes(logPath()), formatLog(five));

    clickRow(2);
    dialogs.answers.push_back(Answer::Yes);
    QTest::mouseClick(button("deleteContactButton"), Qt::LeftButton);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].title, "Are you sure?");
    EXPECT_EQ(dialogs.shown[1].text, "Are you sure?");
    EXPECT_EQ(dialogs.shown[1].buttons, OperatorDialogs::Buttons::YesNo);

    ContestLog four = five;
    four.remove(3);
    EXPECT_EQ(readBytes(logPath()), formatLog(four));
    EXPECT_EQ(column(0), (std::vector<QString> { "4", "3", "2", "1" }));
    EXPECT_EQ(cell(1, 1), QString::fromStdString(five.record(4).call));
    EXPECT_EQ(text("totalContactsLabel"), "4");
    EXPECT_EQ(text("qsoPointsLabel"), "12");
    EXPECT_FALSE(button("deleteContactButton")->isVisible());
    EXPECT_TRUE(field("callField")->hasFocus());
}

TEST_F(ContactListTest, anEditReachesTheFileAndTheGrid)
{
    std::string expected = readBytes(logPath());
    expected.replace(expected.find("\"MA\""), 4, "\"CT\"");
    clickRow(2); // record 1, K1AB MA on 20 m
    inEditor([](ContactEditorDialog& editor) {
        EXPECT_EQ(editor.recordNumber(), 1);
        editor.m_sectionField->setText(QStringLiteral("CT"));
        editor.acceptEdit();
    });
    form->editSelectedContact();
    EXPECT_EQ(readBytes(logPath()), expected);
    EXPECT_EQ(textColour(form->findChild<QLabel*>(QStringLiteral("sectionLabel_CT"))), fromBgr(0x00C000)) << "CT";
    EXPECT_EQ(textColour(form->findChild<QLabel*>(QStringLiteral("sectionLabel_MA"))), fromBgr(0x0000FF)) << "MA";
    EXPECT_FALSE(button("editContactButton")->isVisible());
}

TEST_F(ContactListTest, closingTheEditorWithoutDoneStillRewritesTheUnchangedLog)
{
    const std::string before = readBytes(logPath());
    const ino_t inode = inodeOfLog();
    bool opened = false;
    inEditor([&opened](ContactEditorDialog& editor) {
        opened = true;
        editor.m_callField->setText(QStringLiteral("N0NE"));
        editor.reject();
    });
    clickRow(0, Qt::RightButton);
    EXPECT_TRUE(opened) << "a right-button release opens the editor";
    EXPECT_EQ(readBytes(logPath()), before);
    EXPECT_NE(inodeOfLog(), inode) << "the log was written anew";
}

TEST_F(ContactListTest, anEditIntoADuplicateOffersToDeleteTheEditedContact)
{
    useLog(test::logOf({ contact("K1AB", "MA", "20"), contact("W2XY", "NY", "20"), contact("K1AB", "MA", "15") }));
    clickRow(2); // record 1, on 20 m
    inEditor([this](ContactEditorDialog& editor) {
        editor.m_bandField->setText(QStringLiteral("15"));
        editor.acceptEdit();
        EXPECT_TRUE(editor.m_dupeMarker->isVisible());
        EXPECT_TRUE(editor.m_deleteDupeButton->isVisible());
        dialogs.answers.push_back(Answer::Yes);
        editor.deleteEditedContact();
    });
    form->editSelectedContact();
    EXPECT_EQ(
        readBytes(logPath()), formatLog(test::logOf({ contact("W2XY", "NY", "20"), contact("K1AB", "MA", "15") })));
    EXPECT_EQ(text("totalContactsLabel"), "2");
}

TEST_F(ContactListTest, listPreviousContactsShowsTheStationsEarlierContacts)
{
    useLog(test::logOf({ contact("K1AB", "MA", "40"), contact("W2XY", "NY", "20"), contact("K1AB", "MA", "15") }));
    form->findChild<QAction*>(QStringLiteral("listPreviousAction"))->trigger();
    EXPECT_EQ(parseDefaultData(readBytes(folders.workingDir + "/inprefDX.txt")).value().listPreviousContacts, 1);

    field("callField")->setFocus();
    QTest::keyClicks(field("callField"), QStringLiteral("K1AB"));
    leaveCall();
    EXPECT_EQ(column(0), (std::vector<QString> { "1", "3" }));
    EXPECT_EQ(column(7), (std::vector<QString> { "40", "15" }));

    form->clearEntry();
    EXPECT_EQ(column(0), (std::vector<QString> { "3", "2", "1" })) << "the empty call brings back the recent contacts";

    form->findChild<QAction*>(QStringLiteral("listPreviousAction"))->trigger();
    EXPECT_EQ(parseDefaultData(readBytes(folders.workingDir + "/inprefDX.txt")).value().listPreviousContacts, 0);
    QTest::keyClicks(field("callField"), QStringLiteral("K1AB"));
    leaveCall();
    EXPECT_EQ(column(0), (std::vector<QString> { "3", "2", "1" }));
}

} // namespace
} // namespace brindle
