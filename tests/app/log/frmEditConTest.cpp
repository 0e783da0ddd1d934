#include "log/frmEditCon.h"

#include "log/ContestLog.h"
#include "station/CountryTable.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace brindle {
namespace {

QsoRecord contact(std::string call, std::string band, std::string frequency)
{
    return QsoRecord { std::move(call), "599", "MA", "579", "USA", "2026/02/14", "18:30:00", std::move(band),
        std::move(frequency) };
}

class frmEditConTest : public ::testing::Test
{
protected:
    frmEditConTest()
    {
        log.append(contact("W1AW", "15", "21.025"));
        log.append(contact("W1AW", "20", "14.025")); // the record edited
        log.append(contact("K1ABC", "20", "14.030"));
        log.append(contact("W1AW", "40", "7.025"));
        log.append(contact("W1AW", "40", "7.030"));
    }

    frmEditCon& open(int editIndex = 2)
    {
        m_form.reset();
        m_form = std::make_unique<frmEditCon>(log, editIndex, countries, dialogs);
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        return *m_form;
    }

    // Leaves a field with a typed Tab, after putting text into it.
    static void leave(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Tab);
    }

    ContestLog log;
    CountryTable countries { {
        { "DL", "Germany", "EU", -10.0f, 51.0f },
        { "K", "USA", "NA", 91.87f, 37.6f },
    } };
    test::ScriptedDialogs dialogs;

private:
    std::unique_ptr<frmEditCon> m_form;
};

TEST_F(frmEditConTest, opensWithTheRecordInFieldsInTabOrderAndNoMarkers)
{
    frmEditCon& form = open();
    EXPECT_EQ(form.windowTitle(), "Edit Contact Entry");
    EXPECT_EQ(form.lblEditTitle->text(), "Edit Contact:");
    EXPECT_EQ(form.EditIndex, 2);
    for (QWidget* hidden : { static_cast<QWidget*>(form.Label1), static_cast<QWidget*>(form.Label2),
             static_cast<QWidget*>(form.Label3), static_cast<QWidget*>(form.cmdDeleteDupe) }) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    }
    EXPECT_EQ(form.Label1->text(), "Dupe!");
    EXPECT_EQ(form.Label2->text(), "   Invalid!");
    EXPECT_EQ(form.Label3->text(), "   Invalid!");

    // Tabbing through valid fields complains about nothing.
    const std::pair<QLineEdit*, const char*> fields[] = { { form.txtEditCall, "W1AW" }, { form.txtEditCk, "599" },
        { form.txtEditSec, "MA" }, { form.txtEditNum, "579" }, { form.txtEditPre, "USA" },
        { form.txtEditDate, "2026/02/14" }, { form.txtEditTime, "18:30:00" }, { form.txtEditBnd, "20" } };
    form.txtEditCall->setFocus();
    for (const auto& [field, text] : fields) {
        EXPECT_EQ(field->text(), text) << field->objectName().toStdString();
        EXPECT_TRUE(field->hasFocus()) << field->objectName().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_TRUE(form.cmdDone->hasFocus());
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form.editedRecord(), std::nullopt);
}

TEST_F(frmEditConTest, keysAreFilteredPerField)
{
    frmEditCon& form = open();
    struct Case
    {
        QLineEdit* field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        { form.txtEditCall, "w1\"aw/p", "W1AW/P" },
        { form.txtEditCk, "5n\"9", "5N9" },
        { form.txtEditSec, "m\"a", "MA" },
        { form.txtEditNum, "5nn+", "5NN+" },
        { form.txtEditBnd, "2m\"", "2M" },
        { form.txtEditPre, "\"fr", "Fr" }, // only the first letter is capitalised
        { form.txtEditDate, "2026/a-0.2/14", "2026/02/14" },
        { form.txtEditDate, "2026x\b", "202" },
        { form.txtEditTime, "18/:30:0a0", "18:30:00" },
        { form.txtEditTime, "18:3\b", "18:" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field->objectName().toStdString() + " " + c.typed);
        c.field->clear();
        c.field->setFocus();
        QTest::keyClicks(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.field->text(), c.shown);
    }
}

TEST_F(frmEditConTest, enterInAnyFieldIsDone)
{
    for (const char* name : { "txtEditCall", "txtEditCk", "txtEditSec", "txtEditNum", "txtEditPre", "txtEditDate",
             "txtEditTime", "txtEditBnd" }) {
        SCOPED_TRACE(name);
        frmEditCon& form = open();
        auto* field = form.findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(field, nullptr);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(form.editedRecord(), log.record(2));
    }
}

TEST_F(frmEditConTest, leavingAnImpossibleDateComplainsOnceAndKeepsTheFocus)
{
    frmEditCon& form = open();
    // The time field, which the Tab reaches first, is bad too: only the field left complains.
    form.txtEditTime->setText(QStringLiteral("25:00"));
    leave(form.txtEditDate, QStringLiteral("2026/02/30"));
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Invalid Date Format!");
    EXPECT_EQ(dialogs.shown[0].text, "You have entered an invalid date format!");
    EXPECT_TRUE(form.txtEditDate->hasFocus());

    form.txtEditTime->setText(QStringLiteral("18:31"));
    QTest::keyClick(form.txtEditDate, Qt::Key_Return);
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(dialogs.titles(), (QStringList { "Invalid Date Format!", "Invalid Date Format!" }));
    EXPECT_TRUE(form.txtEditDate->hasFocus());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.editedRecord(), std::nullopt);
}

TEST_F(frmEditConTest, anImpossibleTimeIsRefusedOnLeavingAndBeforeTheDateOnDone)
{
    frmEditCon& form = open();
    leave(form.txtEditTime, QStringLiteral("24:61"));
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Invalid Time Format!");
    EXPECT_EQ(dialogs.shown[0].text, "You have entered an invalid time format!");
    EXPECT_TRUE(form.txtEditTime->hasFocus());

    form.txtEditDate->setText(QStringLiteral("2026/13/01"));
    QTest::keyClick(form.txtEditTime, Qt::Key_Return);
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(dialogs.titles(), (QStringList { "Invalid Time Format!", "Invalid Time Format!" }));
    EXPECT_TRUE(form.txtEditTime->hasFocus());
    EXPECT_EQ(form.editedRecord(), std::nullopt);
}

TEST_F(frmEditConTest, doneSendingTheFocusToTheDateIsNoLeavingOfTheSection)
{
    frmEditCon& form = open();
    form.txtEditDate->setText(QStringLiteral("2026/02/30"));
    form.txtEditSec->setText(QStringLiteral("XX"));
    form.txtEditSec->setFocus();
    QTest::keyClick(form.txtEditSec, Qt::Key_Return);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(dialogs.titles(), QStringList { "Invalid Date Format!" });
    EXPECT_TRUE(form.txtEditDate->hasFocus());
    EXPECT_FALSE(form.Label2->isVisible());
}

TEST_F(frmEditConTest, sectionAndBandMarkersFollowWhatTheFieldIsLeftWith)
{
    frmEditCon& form = open();
    struct Case
    {
        QLineEdit* field;
        QLabel* marker;
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        { form.txtEditSec, form.Label2, "xx", false },
        { form.txtEditSec, form.Label2, "ma", false }, // the abbreviation must match in case
        { form.txtEditSec, form.Label2, "MA", true },
        { form.txtEditBnd, form.Label3, "17", false },
        { form.txtEditBnd, form.Label3, "160", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const int beepsBefore = dialogs.beeps;
        leave(c.field, QString::fromLatin1(c.text));
        EXPECT_EQ(c.marker->isVisible(), !c.valid);
        EXPECT_EQ(c.field->hasFocus(), !c.valid);
        EXPECT_EQ(dialogs.beeps - beepsBefore, c.valid ? 0 : 1);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(frmEditConTest, doneRefusesAChangeThatDuplicatesAnotherRecord)
{
    struct Case
    {
        const char* band;
        int beeps; // one for each record it would duplicate
    };
    for (const Case& c : { Case { "15", 1 }, Case { "40", 2 } }) {
        SCOPED_TRACE(c.band);
        dialogs.beeps = 0;
        frmEditCon& form = open();
        form.txtEditBnd->setText(QString::fromLatin1(c.band));
        form.cmdDone_Click();
        EXPECT_TRUE(form.Label1->isVisible());
        EXPECT_TRUE(form.cmdDeleteDupe->isVisible());
        EXPECT_EQ(dialogs.beeps, c.beeps);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.editedRecord(), std::nullopt);
    }
}

TEST_F(frmEditConTest, doneKeepsTheEditedRecordWithItsFrequency)
{
    frmEditCon& form = open();
    form.txtEditCall->selectAll();
    form.txtEditCall->setFocus();
    QTest::keyClicks(form.txtEditCall, QStringLiteral("k1xyz"));
    form.txtEditPre->setText(QStringLiteral("Germany  "));
    form.txtEditDate->setText(QStringLiteral("2026/2/15"));
    form.txtEditTime->setText(QStringLiteral("1:05"));
    form.txtEditBnd->setText(QStringLiteral("15"));
    QTest::mouseClick(form.cmdDone, Qt::LeftButton);

    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.Label1->isVisible());
    EXPECT_EQ(form.editedRecord(),
        (QsoRecord { "K1XYZ", "599", "MA", "579", "Germany", "2026/2/15", "1:05", "15", "14.025" }));
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(frmEditConTest, deleteDupeHidesTheEditorRunsTheMainFormsDeletionAndCloses)
{
    frmEditCon& form = open();
    bool visibleDuringDeletion = true;
    int deletions = 0;
    form.setDeleteDupe([&] {
        visibleDuringDeletion = form.isVisible();
        ++deletions;
    });
    form.txtEditBnd->setText(QStringLiteral("15"));
    form.cmdDone_Click();
    ASSERT_TRUE(form.cmdDeleteDupe->isVisible());

    QTest::mouseClick(form.cmdDeleteDupe, Qt::LeftButton);
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(visibleDuringDeletion);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.editedRecord(), std::nullopt);
}

TEST_F(frmEditConTest, countryCompletionMatchesTheCaseTyped)
{
    frmEditCon& form = open();
    form.txtEditPre->clear();
    form.txtEditPre->setFocus();
    QTest::keyClicks(form.txtEditPre, QStringLiteral("ger"));
    // The first key is capitalised, and "Ger" begins "Germany".
    EXPECT_EQ(form.txtEditPre->text(), "Germany");
    EXPECT_EQ(form.txtEditPre->selectedText(), "many");

    form.txtEditPre->setText(QStringLiteral("g"));
    QTest::keyClicks(form.txtEditPre, QStringLiteral("er"));
    EXPECT_EQ(form.txtEditPre->text(), "ger");
    EXPECT_FALSE(form.txtEditPre->hasSelectedText());
}

} // namespace
} // namespace brindle
