#include "log/ContactEditorDialog.h"

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

class ContactEditorDialogTest : public ::testing::Test
{
protected:
    ContactEditorDialogTest()
    {
        log.append(contact("W1AW", "15", "21.025"));
        log.append(contact("W1AW", "20", "14.025")); // the record edited
        log.append(contact("K1ABC", "20", "14.030"));
        log.append(contact("W1AW", "40", "7.025"));
        log.append(contact("W1AW", "40", "7.030"));
    }

    ContactEditorDialog& open(int recordNumber = 2)
    {
        m_form.reset();
        m_form = std::make_unique<ContactEditorDialog>(log, recordNumber, countries, dialogs);
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
    std::unique_ptr<ContactEditorDialog> m_form;
};

TEST_F(ContactEditorDialogTest, opensWithTheRecordInFieldsInTabOrderAndNoMarkers)
{
    ContactEditorDialog& form = open();
    EXPECT_EQ(form.windowTitle(), "Edit Contact Entry");
    EXPECT_EQ(form.m_headingCaption->text(), "Edit Contact:");
    EXPECT_EQ(form.recordNumber(), 2);
    for (QWidget* hidden :
        { static_cast<QWidget*>(form.m_dupeMarker), static_cast<QWidget*>(form.m_invalidSectionMarker),
            static_cast<QWidget*>(form.m_invalidBandMarker), static_cast<QWidget*>(form.m_deleteDupeButton) }) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    }
    EXPECT_EQ(form.m_dupeMarker->text(), "Dupe!");
    EXPECT_EQ(form.m_invalidSectionMarker->text(), "   Invalid!");
    EXPECT_EQ(form.m_invalidBandMarker->text(), "   Invalid!");

    // Tabbing through valid fields complains about nothing.
    const std::pair<QLineEdit*, const char*> fields[] = { { form.m_callField, "W1AW" }, { form.m_rstRcvdField, "599" },
        { form.m_sectionField, "MA" }, { form.m_rstSentField, "579" }, { form.m_countryField, "USA" },
        { form.m_dateField, "2026/02/14" }, { form.m_timeField, "18:30:00" }, { form.m_bandField, "20" } };
    form.m_callField->setFocus();
    for (const auto& [field, text] : fields) {
        EXPECT_EQ(field->text(), text) << field->objectName().toStdString();
        EXPECT_TRUE(field->hasFocus()) << field->objectName().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_TRUE(form.m_doneButton->hasFocus());
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form.editedRecord(), std::nullopt);
}

TEST_F(ContactEditorDialogTest, keysAreFilteredPerField)
{
    ContactEditorDialog& form = open();
    struct Case
    {
        QLineEdit* field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        { form.m_callField, "w1\"aw/p", "W1AW/P" },
        { form.m_rstRcvdField, "5n\"9", "5N9" },
        { form.m_sectionField, "m\"a", "MA" },
        { form.m_rstSentField, "5nn+", "5NN+" },
        { form.m_bandField, "2m\"", "2M" },
        { form.m_countryField, "\"fr", "Fr" }, // only the first letter is capitalised
        { form.m_dateField, "2026/a-0.2/14", "2026/02/14" },
        { form.m_dateField, "2026x\b", "202" },
        { form.m_timeField, "18/:30:0a0", "18:30:00" },
        { form.m_timeField, "18:3\b", "18:" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field->objectName().toStdString() + " " + c.typed);
        c.field->clear();
        c.field->setFocus();
        QTest::keyClicks(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.field->text(), c.shown);
    }
}

TEST_F(ContactEditorDialogTest, enterInAnyFieldIsDone)
{
    for (const char* name : { "callField", "rstRcvdField", "sectionField", "rstSentField", "countryField", "dateField",
             "timeField", "bandField" }) {
        SCOPED_TRACE(name);
        ContactEditorDialog& form = open();
        auto* field = form.findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(field, nullptr);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(form.editedRecord(), log.record(2));
    }
}

TEST_F(ContactEditorDialogTest, leavingAnImpossibleDateComplainsOnceAndKeepsTheFocus)
{
    ContactEditorDialog& form = open();
    // The time field, which the Tab reaches first, is bad too: only the field left complains.
    form.m_timeField->setText(QStringLiteral("25:00"));
    leave(form.m_dateField, QStringLiteral("2026/02/30"));
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Invalid Date Format!");
    EXPECT_EQ(dialogs.shown[0].text, "You have entered an invalid date format!");
    EXPECT_TRUE(form.m_dateField->hasFocus());

    form.m_timeField->setText(QStringLiteral("18:31"));
    QTest::keyClick(form.m_dateField, Qt::Key_Return);
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(dialogs.titles(), (QStringList { "Invalid Date Format!", "Invalid Date Format!" }));
    EXPECT_TRUE(form.m_dateField->hasFocus());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.editedRecord(), std::nullopt);
}

TEST_F(ContactEditorDialogTest, anImpossibleTimeIsRefusedOnLeavingAndBeforeTheDateOnDone)
{
    ContactEditorDialog& form = open();
    leave(form.m_timeField, QStringLiteral("24:61"));
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Invalid Time Format!");
    EXPECT_EQ(dialogs.shown[0].text, "You have entered an invalid time format!");
    EXPECT_TRUE(form.m_timeField->hasFocus());

    form.m_dateField->setText(QStringLiteral("2026/13/01"));
    QTest::keyClick(form.m_timeField, Qt::Key_Return);
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(dialogs.titles(), (QStringList { "Invalid Time Format!", "Invalid Time Format!" }));
    EXPECT_TRUE(form.m_timeField->hasFocus());
    EXPECT_EQ(form.editedRecord(), std::nullopt);
}

TEST_F(ContactEditorDialogTest, doneSendingTheFocusToTheDateIsNoLeavingOfTheSection)
{
    ContactEditorDialog& form = open();
    form.m_dateField->setText(QStringLiteral("2026/02/30"));
    form.m_sectionField->setText(QStringLiteral("XX"));
    form.m_sectionField->setFocus();
    QTest::keyClick(form.m_sectionField, Qt::Key_Return);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(dialogs.titles(), QStringList { "Invalid Date Format!" });
    EXPECT_TRUE(form.m_dateField->hasFocus());
    EXPECT_FALSE(form.m_invalidSectionMarker->isVisible());
}

TEST_F(ContactEditorDialogTest, sectionAndBandMarkersFollowWhatTheFieldIsLeftWith)
{
    ContactEditorDialog& form = open();
    struct Case
    {
        QLineEdit* field;
        QLabel* marker;
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        { form.m_sectionField, form.m_invalidSectionMarker, "xx", false },
        { form.m_sectionField, form.m_invalidSectionMarker, "ma", false }, // the abbreviation must match in case
        { form.m_sectionField, form.m_invalidSectionMarker, "MA", true },
        { form.m_bandField, form.m_invalidBandMarker, "17", false },
        { form.m_bandField, form.m_invalidBandMarker, "160", true },
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

TEST_F(ContactEditorDialogTest, doneRefusesAChangeThatDuplicatesAnotherRecord)
{
    struct Case
    {
        const char* band;
        int beeps; // one for each record it would duplicate
    };
    for (const Case& c : { Case { "15", 1 }, Case { "40", 2 } }) {
        SCOPED_TRACE(c.band);
        dialogs.beeps = 0;
        ContactEditorDialog& form = open();
        form.m_bandField->setText(QString::fromLatin1(c.band));
        form.acceptEdit();
        EXPECT_TRUE(form.m_dupeMarker->isVisible());
        EXPECT_TRUE(form.m_deleteDupeButton->isVisible());
        EXPECT_EQ(dialogs.beeps, c.beeps);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.editedRecord(), std::nullopt);
    }
}

TEST_F(ContactEditorDialogTest, doneKeepsTheEditedRecordWithItsFrequency)
{
    ContactEditorDialog& form = open();
    form.m_callField->selectAll();
    form.m_callField->setFocus();
    QTest::keyClicks(form.m_callField, QStringLiteral("k1xyz"));
    form.m_countryField->setText(QStringLiteral("Germany  "));
    form.m_dateField->setText(QStringLiteral("2026/2/15"));
    form.m_timeField->setText(QStringLiteral("1:05"));
    form.m_bandField->setText(QStringLiteral("15"));
    QTest::mouseClick(form.m_doneButton, Qt::LeftButton);

    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_FALSE(form.m_dupeMarker->isVisible());
    EXPECT_EQ(form.editedRecord(),
        (QsoRecord { "K1XYZ", "599", "MA", "579", "Germany", "2026/2/15", "1:05", "15", "14.025" }));
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(ContactEditorDialogTest, deleteDupeHidesTheEditorRunsTheMainFormsDeletionAndCloses)
{
    ContactEditorDialog& form = open();
    bool visibleDuringDeletion = true;
    int deletions = 0;
    form.setDeleteDupe([&] {
        visibleDuringDeletion = form.isVisible();
        ++deletions;
    });
    form.m_bandField->setText(QStringLiteral("15"));
    form.acceptEdit();
    ASSERT_TRUE(form.m_deleteDupeButton->isVisible());

    QTest::mouseClick(form.m_deleteDupeButton, Qt::LeftButton);
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(visibleDuringDeletion);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.editedRecord(), std::nullopt);
}

TEST_F(ContactEditorDialogTest, countryCompletionMatchesTheCaseTyped)
{
    ContactEditorDialog& form = open();
    form.m_countryField->clear();
    form.m_countryField->setFocus();
    QTest::keyClicks(form.m_countryField, QStringLiteral("ger"));
    // The first key is capitalised, and "Ger" begins "Germany".
    EXPECT_EQ(form.m_countryField->text(), "Germany");
    EXPECT_EQ(form.m_countryField->selectedText(), "many");

    form.m_countryField->setText(QStringLiteral("g"));
    QTest::keyClicks(form.m_countryField, QStringLiteral("er"));
    EXPECT_EQ(form.m_countryField->text(), "ger");
    EXPECT_FALSE(form.m_countryField->hasSelectedText());
}

} // namespace
} // namespace brindle
