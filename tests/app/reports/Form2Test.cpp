#include "reports/Form2.h"

#include "common/PosixFileSystem.h"
#include "log/LogFormat.h"
#include "station/SettingsStore.h"
#include "station/SharedPreferences.h"
#include "support/LogSamples.h"
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
using test::readBytes;

// The settings store as a map: each test starts from its own values, and ctest running tests side by
// side cannot see one another's keys.
class MapSettingsStore : public SettingsStore
{
public:
    std::string get(std::string_view key, std::string_view fallback) const override
    {
        const auto found = values.find(std::string(key));
        return found == values.end() ? std::string(fallback) : found->second;
    }
    void save(std::string_view key, std::string_view value) override
    {
        values[std::string(key)] = value;
    }

    std::map<std::string, std::string> values;
};

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

class Form2Test : public ::testing::Test
{
protected:
    Form2Test()
    {
        shared.load(sharedPath);
    }

    Form2& open(const ContestLog& contacts, const DefaultData& d = station(), std::string score = "1620")
    {
        m_form = std::make_unique<Form2>(contacts, d, std::move(score), fs, settings, shared, dialogs, temp.path());
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
    std::unique_ptr<Form2> m_form;
};

TEST_F(Form2Test, opensWithTheStoredAddressAndTheDefaultCategory)
{
    settings.values = storedAddress;
    Form2& form = open(log);
    EXPECT_EQ(form.windowTitle(), "Summary Sheet Information");
    EXPECT_EQ(form.Text1->text(), "DX");
    EXPECT_EQ(form.Text5->text(), "Hans Muster");
    EXPECT_EQ(form.Text6->text(), "Hauptstrasse 1");
    EXPECT_EQ(form.Text7->text(), "12345 Musterstadt");
    EXPECT_EQ(form.Text8->text(), "dl1abc@example.org");
    EXPECT_EQ(form.Text10->text(), "Rhein-Ruhr DX Association");
    EXPECT_EQ(form.Text2->text(), "");
    EXPECT_EQ(form.Text11->text(), "");
    EXPECT_EQ(form.Text3->text(), "");
    EXPECT_FALSE(form.Text3->isEnabled());
    EXPECT_FALSE(form.lblBand->isEnabled());
    EXPECT_TRUE(form.Option5->isChecked());
    EXPECT_TRUE(form.Option4->isChecked());
    EXPECT_TRUE(form.Option19->isChecked());
    for (QRadioButton* transmitters : { form.Option1, form.Option2, form.Option3 }) {
        EXPECT_FALSE(transmitters->isChecked()) << transmitters->objectName().toStdString();
    }
    EXPECT_EQ(categoryText(form.header().category), "SINGLE-OP ALL LOW");
}

TEST_F(Form2Test, absentKeysGiveEmptyFields)
{
    Form2& form = open(log);
    for (QLineEdit* field : { form.Text1, form.Text5, form.Text6, form.Text7, form.Text8, form.Text10 }) {
        EXPECT_EQ(field->text(), "") << field->objectName().toStdString();
    }
}

TEST_F(Form2Test, sectionAndOperatorsUpperCaseAsTypedOtherFieldsDoNot)
{
    Form2& form = open(log);
    struct Case
    {
        QLineEdit* field;
        const char* typed;
        const char* shown;
    };
    for (const Case& c : { Case { form.Text1, "dx", "DX" }, Case { form.Text2, "dl1abc, dl2xyz", "DL1ABC, DL2XYZ" },
             Case { form.Text5, "Hans", "Hans" }, Case { form.Text11, "tnx fer qsos", "tnx fer qsos" } }) {
        SCOPED_TRACE(c.typed);
        c.field->setFocus();
        QTest::keyClicks(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.field->text(), c.shown);
    }
}

TEST_F(Form2Test, singleBandProposesTheFirstContactsBandAndAllBandsEmptiesIt)
{
    ContestLog contacts = test::logOf({ test::sampleRecord(0), test::sampleRecord(7) });
    ASSERT_EQ(contacts.record(1).band, "160");
    Form2& form = open(contacts);
    choose(form.Option8);
    EXPECT_TRUE(form.Text3->isEnabled());
    EXPECT_TRUE(form.lblBand->isEnabled());
    EXPECT_EQ(form.Text3->text(), "160M");
    form.Text3->setText(QStringLiteral("80M"));
    EXPECT_EQ(categoryText(form.header().category), "SINGLE-OP 80M LOW");

    choose(form.Option4);
    EXPECT_FALSE(form.Text3->isEnabled());
    EXPECT_FALSE(form.lblBand->isEnabled());
    EXPECT_EQ(form.Text3->text(), "");
    EXPECT_EQ(categoryText(form.header().category), "SINGLE-OP ALL LOW");
}

TEST_F(Form2Test, singleBandWithAnEmptyLogLeavesTheBandToTheOperator)
{
    const ContestLog empty;
    Form2& form = open(empty);
    choose(form.Option8);
    EXPECT_TRUE(form.Text3->isEnabled());
    EXPECT_EQ(form.Text3->text(), "");
}

TEST_F(Form2Test, cancellingTheSaveDialogWritesAndSavesNothingSilently)
{
    settings.values = storedAddress;
    Form2& form = open(log);
    form.Text5->setText(QStringLiteral("Someone Else"));
    dialogs.files.push_back(std::nullopt);
    QTest::mouseClick(form.Command4, Qt::LeftButton);

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

TEST_F(Form2Test, writingTheFileMatchesTheGoldenLogAndThanksTheOperator)
{
    settings.values = storedAddress;
    Form2& form = open(log);
    form.Text2->setText(QStringLiteral("DL1ABC DL2XYZ"));
    form.Text11->setText(QStringLiteral("Great conditions on 15 m, poor on 160."));
    choose(form.Option7);
    choose(form.Option2);
    choose(form.Option18);
    const std::string path = temp.file("DL1ABC.log");
    dialogs.files.push_back(QString::fromStdString(path));
    QTest::mouseClick(form.Command4, Qt::LeftButton);

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
    EXPECT_TRUE(form.Command3->hasFocus());
    EXPECT_TRUE(form.isVisible());

    QTest::mouseClick(form.Command3, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Form2Test, aSuccessfulWriteKeepsThePersonalDataTrimmedForNextTime)
{
    test::writeBytes(sharedPath,
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
        "<OWN_CALL>DL1ABC</OWN_CALL>\r\n"
        "<OWN_EMAIL>old@example.org</OWN_EMAIL>\r\n");
    shared.load(sharedPath);
    Form2& form = open(log);
    form.Text1->setText(QStringLiteral(" DX "));
    form.Text5->setText(QStringLiteral(" Hans Muster "));
    form.Text6->setText(QStringLiteral("Hauptstrasse 1"));
    form.Text7->setText(QStringLiteral(""));
    form.Text8->setText(QStringLiteral("dl1abc@example.org "));
    form.Text10->setText(QStringLiteral("  RRDXA"));
    dialogs.files.push_back(QString::fromStdString(temp.file("dl1abc-2026.log")));
    QTest::mouseClick(form.Command4, Qt::LeftButton);

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

TEST_F(Form2Test, aFailedWriteBeepsShowsThePlatformsReasonAndSavesNothing)
{
    settings.values = storedAddress;
    Form2& form = open(log);
    form.Text5->setText(QStringLiteral("Someone Else"));
    const std::string path = temp.file("no-such-folder/DL1ABC.log");
    dialogs.files.push_back(QString::fromStdString(path));
    QTest::mouseClick(form.Command4, Qt::LeftButton);

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
    QTest::mouseClick(form.Command4, Qt::LeftButton);
    EXPECT_EQ(dialogs.titles().back(), "  Thanks!");
    EXPECT_EQ(settings.get("UserAddressName", ""), "Someone Else");
}

} // namespace
} // namespace brindle
