#include "station/frmStationID.h"

#include "common/PosixFileSystem.h"
#include "station/CountryTable.h"
#include "station/QtSettingsStore.h"
#include "station/SharedPreferences.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace brindle {
namespace {

using test::readBytes;

DefaultData station()
{
    DefaultData d;
    d.ownCall = "DL1ABC";
    d.power = "100";
    d.utcOffsetHours = -1;
    d.mode = "CW";
    d.country = "Fed. Rep. of Germany";
    d.continent = "EU";
    d.longitude = -7.5f;
    d.latitude = 51.25f;
    return d;
}

class frmStationIDTest : public ::testing::Test
{
protected:
    frmStationIDTest()
    {
        shared.load(sharedPath);
    }

    frmStationID& open(const DefaultData& d = station())
    {
        m_form = std::make_unique<frmStationID>(d, countries, dialogs, settings, shared);
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        return *m_form;
    }

    test::TempFolder temp;
    std::string sharedPath = temp.file("SharedUserPreferences.xml");
    PosixFileSystem fs;
    CountryTable countries { {
        { "DL", "Fed. Rep. of Germany", "EU", -10.0f, 51.0f },
        { "GM", "Scotland", "EU", 4.0f, 56.5f },
        { "K", "USA", "NA", 91.87f, 37.6f },
        { "SM", "Sweden", "EU", -15.0f, 61.0f },
    } };
    test::ScriptedDialogs dialogs;
    QtSettingsStore settings;
    SharedPreferences shared { fs };

private:
    std::unique_ptr<frmStationID> m_form;
};

TEST_F(frmStationIDTest, opensWithTheStationsValuesInPlainNotation)
{
    frmStationID& form = open();
    EXPECT_EQ(form.windowTitle(), " Amateur Station I.D.");
    EXPECT_EQ(form.Text1->text(), "DL1ABC");
    EXPECT_EQ(form.Text5->text(), "100");
    EXPECT_EQ(form.Text4->text(), "-7.5");
    EXPECT_EQ(form.Text7->text(), "51.25");
    EXPECT_EQ(form.Text6->text(), "-1");
    EXPECT_EQ(form.Text2->text(), "Fed. Rep. of Germany");
    EXPECT_EQ(form.Text3->text(), "EU");
    EXPECT_TRUE(form.Option2->isChecked());
    EXPECT_FALSE(form.Option1->isChecked());
}

TEST_F(frmStationIDTest, phoneModeAndTheStoredCallFillAnEmptyForm)
{
    settings.save("UserCallSign", "OH2XYZ");
    DefaultData d = station();
    d.ownCall.clear();
    d.mode = "ph";
    frmStationID& form = open(d);
    EXPECT_EQ(form.Text1->text(), "OH2XYZ");
    EXPECT_TRUE(form.Option1->isChecked());
    settings.save("UserCallSign", "");
}

TEST_F(frmStationIDTest, keyFiltersUpperCaseLettersAndKeepNumbersNumeric)
{
    frmStationID& form = open();
    struct Case
    {
        QLineEdit* field;
        const char* typed;
        const char* shown;
    };
    for (const Case& c : { Case { form.Text1, "ok2abc/p", "OK2ABC/P" }, Case { form.Text5, "1kw", "1KW" },
             Case { form.Text3, "eu", "EU" }, Case { form.Text4, "-12.5e,x/", "-12.5/" },
             Case { form.Text6, "+2", "2" } }) {
        SCOPED_TRACE(c.typed);
        c.field->clear();
        c.field->setFocus();
        QTest::keyClicks(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.field->text(), c.shown);
    }
    form.Text4->setText(QStringLiteral("12"));
    form.Text4->setFocus();
    QTest::keyClick(form.Text4, Qt::Key_Backspace);
    EXPECT_EQ(form.Text4->text(), "1");
}

TEST_F(frmStationIDTest, countryCompletionFillsPositionAndContinent)
{
    frmStationID& form = open();
    form.Text2->clear();
    form.Text2->setFocus();
    QTest::keyClick(form.Text2, Qt::Key_S);
    // The last country in the file beginning with S, its first letter capitalised.
    EXPECT_EQ(form.Text2->text(), "Sweden");
    EXPECT_EQ(form.Text2->selectedText(), "weden");
    EXPECT_EQ(form.Text4->text(), "-15");
    EXPECT_EQ(form.Text7->text(), "61");
    EXPECT_EQ(form.Text3->text(), "EU");

    QTest::keyClick(form.Text2, Qt::Key_C);
    EXPECT_EQ(form.Text2->text(), "Scotland");
    EXPECT_EQ(form.Text2->selectedText(), "otland");
    EXPECT_EQ(form.Text4->text(), "4");
    EXPECT_EQ(form.Text7->text(), "56.5");
}

TEST_F(frmStationIDTest, leavingABadNumberAsksForAValueAndKeepsTheFocus)
{
    frmStationID& form = open();
    form.Text7->setFocus();
    form.Text7->setText(QStringLiteral("-"));
    QTest::keyClick(form.Text7, Qt::Key_Tab);
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Value Required!");
    EXPECT_EQ(dialogs.shown[0].text, "Value Required!");
    EXPECT_TRUE(form.Text7->hasFocus());

    form.Text7->setText(QStringLiteral("48.5"));
    QTest::keyClick(form.Text7, Qt::Key_Tab);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(form.Text7->hasFocus());
}

TEST_F(frmStationIDTest, enterIsDoneZeroingBadNumbersAndPublishingSevenValues)
{
    frmStationID& form = open();
    form.Text4->clear();
    form.Option1->setChecked(true);
    form.Text7->setFocus();
    QTest::keyClick(form.Text7, Qt::Key_Return);

    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Text4->text(), "0");
    EXPECT_EQ(readBytes(sharedPath),
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
        "<OWN_CALL>DL1ABC</OWN_CALL>\r\n"
        "<OWN_SPC>100</OWN_SPC>\r\n"
        "<OWN_UTC>-1</OWN_UTC>\r\n"
        "<OWN_COUNTRY>Fed. Rep. of Germany</OWN_COUNTRY>\r\n"
        "<OWN_LONGITUDE>0</OWN_LONGITUDE>\r\n"
        "<OWN_LATITUDE>51.25</OWN_LATITUDE>\r\n"
        "<OWN_CONTINENT>EU</OWN_CONTINENT>\r\n");

    DefaultData applied;
    form.applyTo(applied);
    EXPECT_EQ(applied.mode, "PH");
    EXPECT_EQ(applied.longitude, 0);
    EXPECT_EQ(applied.latitude, 51.25f);
    EXPECT_EQ(applied.utcOffsetHours, -1);
    EXPECT_EQ(applied.ownCall, "DL1ABC");
}

} // namespace
} // namespace brindle
