#include "reports/SummarySheetDialog.h"

#include "common/QtText.h"

#include "log/LogFormat.h"
#include "os/PosixFileSystem.h"
#include "station/SettingsStore.h"
#include "station/SharedPreferences.h"
#include "support/KeyTyping.h"
#include "support/LogSamples.h"
#include "support/MapSettingsStore.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace brindle {
namespace {

using test::fixture;
using test::MapSettingsStore;
using test::readBytes;

// A click on the option's own circle and caption, as the operator makes it.
void choose(QRadioButton* option)
{
    QStyleOptionButton style;
    style.initFrom(option);
    const QRect clickable = option->style()->subElementRect(QStyle::SE_RadioButtonClickRect, &style, option);
    QTest::mouseClick(option, Qt::LeftButton, {}, clickable.center());
}

DefaultData station()
{
    DefaultData d;
    d.ownCall = " DL1ABC ";
    d.power = "100";
    d.mode = "CW";
    d.band = "20";
    return d;
}

const std::map<std::string, std::string> storedAddress = {
    { "UserARRLSection", "DX" },
    { "UserAddressName", "Hans Muster" },
    { "UserAddressLine1", "Hauptstrasse 1" },
    { "UserAddressLine2", "12345 Musterstadt" },
    { "UserEMail", "dl1abc@example.org" },
    { "UserClubName", "Rhein-Ruhr DX Association" },
};

class SummarySheetDialogTest : public ::testing::Test
{
protected:
    SummarySheetDialogTest()
    {
        shared.load(sharedPath);
    }

    SummarySheetDialog& open(const ContestLog& contacts, const DefaultData& d = station(), std::string score = "1620")
    {
        m_form = std::make_unique<SummarySheetDialog>(
            contacts, d, std::move(score), fs, settings, shared, dialogs, temp.path());
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        return *m_form;
    }

    test::TempFolder temp;
    std::string sharedPath = temp.file("SharedUserPreferences.xml");
    PosixFileSystem fs;
    test::ScriptedDialogs dialogs;
    MapSettingsStore settings;
    SharedPreferences shared { fs };
    ContestLog log = parseLog(fixture("reports/cabrillo_log.txt")).log;

private:
    std::unique_ptr<SummarySheetDialog> m_form;
};

TEST_F(SummarySheetDialogTest, opensWithTheStoredAddressAndTheDefaultCategory)
{
    settings.values = storedAddress;
    SummarySheetDialog& form = open(log);
    EXPECT_EQ(form.windowTitle(), "Summary Sheet Information");
    EXPECT_EQ(form.m_arrlSectionField->text(), "DX");
    EXPECT_EQ(form.m_nameField->text(), "Hans Muster");
    EXPECT_EQ(form.m_address1Field->text(), "Hauptstrasse 1");
    EXPECT_EQ(form.m_address2Field->text(), "12345 Musterstadt");
    EXPECT_EQ(form.m_emailField->text(), "dl1abc@example.org");
    EXPECT_EQ(form.m_clubField->text(), "Rhein-Ruhr DX Association");
    EXPECT_EQ(form.m_operatorsField->text(), "");
    EXPECT_EQ(form.m_soapboxField->text(), "");
    EXPECT_EQ(form.m_singleBandField->text(), "");
    EXPECT_FALSE(form.m_singleBandField->isEnabled());
    EXPECT_FALSE(form.m_singleBandCaption->isEnabled());
    EXPECT_TRUE(form.m_singleOpOption->isChecked());
    EXPECT_TRUE(form.m_allBandsOption->isChecked());
    EXPECT_TRUE(form.m_lowPowerOption->isChecked());
    for (QRadioButton* transmitters : { form.m_oneTxOption, form.m_twoTxOption, form.m_multiTxOption }) {
        EXPECT_FALSE(transmitters->isChecked()) << transmitters->objectName().toStdString();
    }
    EXPECT_EQ(categoryText(form.header().category), "SINGLE-OP ALL LOW");
}

TEST_F(SummarySheetDialogTest, aCharacterTheFilesCannotHoldIsRefusedWithABeepAsItIsTyped)
{
    SummarySheetDialog& form = open(log);
    for (QLineEdit* field : { form.m_nameField, form.m_arrlSectionField, form.m_soapboxField }) {
        SCOPED_TRACE(field->objectName().toStdString());
        dialogs.beeps = 0;
        test::typeAnyText(field, QString::fromUtf8("\u0141ukasz M\u00fcller"));
        EXPECT_EQ(bytesIn(field), field == form.m_arrlSectionField ? "UKASZ M\xFCLLER" : "ukasz M\xFCller")
            << "the L with a stroke has no place in the files; the u with umlaut has";
        EXPECT_EQ(dialogs.beeps, 1);
    }
}

TEST_F(SummarySheetDialogTest, absentKeysGiveEmptyFields)
{
    SummarySheetDialog& form = open(log);
    for (QLineEdit* field : { form.m_arrlSectionField, form.m_nameField, form.m_address1Field, form.m_address2Field,
             form.m_emailField, form.m_clubField }) {
        EXPECT_EQ(field->text(), "") << field->objectName().toStdString();
    }
}

TEST_F(SummarySheetDialogTest, sectionAndOperatorsUpperCaseAsTypedOtherFieldsDoNot)
{
    SummarySheetDialog& form = open(log);
    struct Case
    {
        QLineEdit* field;
        const char* typed;
        const char* shown;
    };
    for (const Case& c :
        { Case { form.m_arrlSectionField, "dx", "DX" },
            Case { form.m_operatorsField, "dl1abc, dl2xyz", "DL1ABC, DL2XYZ" },
            Case { form.m_nameField, "Hans", "Hans" }, Case { form.m_soapboxField, "tnx fer qsos", "tnx fer qsos" } }) {
        SCOPED_TRACE(c.typed);
        c.field->setFocus();
        QTest::keyClicks(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.field->text(), c.shown);
    }
}

TEST_F(SummarySheetDialogTest, singleBandProposesTheFirstContactsBandAndAllBandsEmptiesIt)
{
    ContestLog contacts = test::logOf({ test::sampleRecord(0), test::sampleRecord(7) });
    ASSERT_EQ(contacts.record(1).band, "160");
    SummarySheetDialog& form = open(contacts);
    choose(form.m_singleBandOption);
    EXPECT_TRUE(form.m_singleBandField->isEnabled());
    EXPECT_TRUE(form.m_singleBandCaption->isEnabled());
    EXPECT_EQ(form.m_singleBandField->text(), "160M");
    form.m_singleBandField->setText(QStringLiteral("80M"));
    EXPECT_EQ(categoryText(form.header().category), "SINGLE-OP 80M LOW");

    choose(form.m_allBandsOption);
    EXPECT_FALSE(form.m_singleBandField->isEnabled());
    EXPECT_FALSE(form.m_singleBandCaption->isEnabled());
    EXPECT_EQ(form.m_singleBandField->text(), "");
    EXPECT_EQ(categoryText(form.header().category), "SINGLE-OP ALL LOW");
}

TEST_F(SummarySheetDialogTest, singleBandWithAnEmptyLogLeavesTheBandToTheOperator)
{
    const ContestLog empty;
    SummarySheetDialog& form = open(empty);
    choose(form.m_singleBandOption);
    EXPECT_TRUE(form.m_singleBandField->isEnabled());
    EXPECT_EQ(form.m_singleBandField->text(), "");
}

TEST_F(SummarySheetDialogTest, cancellingTheSaveDialogWritesAndSavesNothingSilently)
{
    settings.values = storedAddress;
    SummarySheetDialog& form = open(log);
    form.m_nameField->setText(QStringLiteral("Someone Else"));
    dialogs.files.push_back(std::nullopt);
    QTest::mouseClick(form.m_writeButton, Qt::LeftButton);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "save");
    EXPECT_EQ(dialogs.shown[0].folder, QString::fromStdString(temp.path()));
    EXPECT_EQ(dialogs.shown[0].proposed, "DL1ABC.log");
    EXPECT_EQ(dialogs.shown[0].filter, "LOG Files (*.log) | *.log");
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_EQ(settings.values, storedAddress);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 0);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(SummarySheetDialogTest, writingTheFileMatchesTheGoldenLogAndThanksTheOperator)
{
    settings.values = storedAddress;
    SummarySheetDialog& form = open(log);
    form.m_operatorsField->setText(QStringLiteral("DL1ABC DL2XYZ"));
    form.m_soapboxField->setText(QStringLiteral("Great conditions on 15 m, poor on 160."));
    choose(form.m_multiOpOption);
    choose(form.m_twoTxOption);
    choose(form.m_highPowerOption);
    const std::string path = temp.file("DL1ABC.log");
    dialogs.files.push_back(QString::fromStdString(path));
    QTest::mouseClick(form.m_writeButton, Qt::LeftButton);

    EXPECT_EQ(readBytes(path), fixture("reports/cabrillo_expected.log"));
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[1].title, "File Written Successfully.");
    EXPECT_EQ(dialogs.shown[1].text,
        "The file was successfully written to the directory:\r\n\r\n" + QString::fromStdString(path)
            + ".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If you wish to print this "
              "file, you can open it with Notepad or Wordpad to print.");
    EXPECT_EQ(dialogs.shown[2].title, "  Thanks!");
    EXPECT_TRUE(dialogs.shown[2].text.startsWith(
        "Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a friend!\r\n\r\n"));
    EXPECT_EQ(dialogs.shown[2].text.count(QStringLiteral("\r\n")), 3);
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(form.m_doneButton->hasFocus());
    EXPECT_TRUE(form.isVisible());

    QTest::mouseClick(form.m_doneButton, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(SummarySheetDialogTest, aSuccessfulWriteKeepsThePersonalDataTrimmedForNextTime)
{
    test::writeBytes(sharedPath,
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
        "<OWN_CALL>DL1ABC</OWN_CALL>\r\n"
        "<OWN_EMAIL>old@example.org</OWN_EMAIL>\r\n");
    shared.load(sharedPath);
    SummarySheetDialog& form = open(log);
    form.m_arrlSectionField->setText(QStringLiteral(" DX "));
    form.m_nameField->setText(QStringLiteral(" Hans Muster "));
    form.m_address1Field->setText(QStringLiteral("Hauptstrasse 1"));
    form.m_address2Field->setText(QStringLiteral(""));
    form.m_emailField->setText(QStringLiteral("dl1abc@example.org "));
    form.m_clubField->setText(QStringLiteral("  RRDXA"));
    dialogs.files.push_back(QString::fromStdString(temp.file("dl1abc-2026.log")));
    QTest::mouseClick(form.m_writeButton, Qt::LeftButton);

    // The file has the fields as typed.
    const std::string written = readBytes(temp.file("dl1abc-2026.log"));
    EXPECT_NE(written.find("\r\nNAME:  Hans Muster \r\n"), std::string::npos);
    EXPECT_NE(written.find("\r\nARRL-SECTION: DX\r\n"), std::string::npos);

    const std::map<std::string, std::string> kept = {
        { "UserARRLSection", "DX" },
        { "UserAddressName", "Hans Muster" },
        { "UserAddressLine1", "Hauptstrasse 1" },
        { "UserAddressLine2", "" },
        { "UserEMail", "dl1abc@example.org" },
        { "UserClubName", "RRDXA" },
    };
    EXPECT_EQ(settings.values, kept);
    EXPECT_EQ(readBytes(sharedPath),
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
        "<OWN_CALL>DL1ABC</OWN_CALL>\r\n"
        "<OWN_EMAIL>dl1abc@example.org</OWN_EMAIL>\r\n"
        "<OWN_ADDRESS_NAME>Hans Muster</OWN_ADDRESS_NAME>\r\n"
        "<OWN_ADDRESS_LINE1>Hauptstrasse 1</OWN_ADDRESS_LINE1>\r\n"
        "<OWN_ADDRESS_LINE2></OWN_ADDRESS_LINE2>\r\n"
        "<OWN_ARRL_SECTION>DX</OWN_ARRL_SECTION>\r\n"
        "<OWN_CLUB_NAME>RRDXA</OWN_CLUB_NAME>\r\n");
}

TEST_F(SummarySheetDialogTest, aFailedWriteBeepsShowsThePlatformsReasonAndSavesNothing)
{
    settings.values = storedAddress;
    SummarySheetDialog& form = open(log);
    form.m_nameField->setText(QStringLiteral("Someone Else"));
    const std::string path = temp.file("no-such-folder/DL1ABC.log");
    dialogs.files.push_back(QString::fromStdString(path));
    QTest::mouseClick(form.m_writeButton, Qt::LeftButton);

    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].title, "Unable to write file.");
    EXPECT_EQ(dialogs.shown[1].text, "No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(settings.values, storedAddress);
    EXPECT_FALSE(std::filesystem::exists(sharedPath));
    EXPECT_TRUE(form.isVisible());

    // The form stays open for another try.
    dialogs.files.push_back(QString::fromStdString(temp.file("DL1ABC.log")));
    QTest::mouseClick(form.m_writeButton, Qt::LeftButton);
    EXPECT_EQ(dialogs.titles().back(), "  Thanks!");
    EXPECT_EQ(settings.get("UserAddressName", ""), "Someone Else");
}

} // namespace
} // namespace brindle
