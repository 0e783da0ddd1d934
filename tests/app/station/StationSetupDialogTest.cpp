#include "station/StationSetupDialog.h"

#include "os/PosixFileSystem.h"
#include "station/CountryTable.h"
#include "station/QtSettingsStore.h"
#include "station/SharedPreferences.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QGroupBox>
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

class StationSetupDialogTest : public ::testing::Test
{
protected:
    StationSetupDialogTest()
    {
        shared.load(sharedPath);
    }

    StationSetupDialog& open(const DefaultData& d = station())
    {
        m_form = std::make_unique<StationSetupDialog>(d, countries, dialogs, settings, shared);
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
    std::unique_ptr<StationSetupDialog> m_form;
};

TEST_F(StationSetupDialogTest, opensWithTheStationsValuesInPlainNotation)
{
    StationSetupDialog& form = open();
    EXPECT_EQ(form.windowTitle(), " Amateur Station I.D.");
    EXPECT_EQ(form.m_ownCallField->text(), "DL1ABC");
    EXPECT_EQ(form.m_powerField->text(), "100");
    EXPECT_EQ(form.m_longitudeField->text(), "-7.5");
    EXPECT_EQ(form.m_latitudeField->text(), "51.25");
    EXPECT_EQ(form.m_utcOffsetField->text(), "-1");
    EXPECT_EQ(form.m_countryField->text(), "Fed. Rep. of Germany");
    EXPECT_EQ(form.m_continentField->text(), "EU");
    EXPECT_TRUE(form.m_cwOption->isChecked());
    EXPECT_FALSE(form.m_phoneOption->isChecked());
}

TEST_F(StationSetupDialogTest, theContestFrameKeepsItsNaturalHeightWhenTheWindowGrows)
{
    StationSetupDialog& form = open();
    EXPECT_EQ(form.m_modeFrame->title(), "Contest:");
    // Grown with the screen, the window is taller than its layout needs.
    ASSERT_GT(form.height(), form.sizeHint().height());
    EXPECT_EQ(form.m_modeFrame->height(), form.m_modeFrame->sizeHint().height());
    EXPECT_LT(form.m_modeFrame->geometry().bottom(), form.m_doneButton->geometry().top());
}

TEST_F(StationSetupDialogTest, phoneModeAndTheStoredCallFillAnEmptyForm)
{
    settings.save("UserCallSign", "OH2XYZ");
    DefaultData d = station();
    d.ownCall.clear();
    d.mode = "ph";
    StationSetupDialog& form = open(d);
    EXPECT_EQ(form.m_ownCallField->text(), "OH2XYZ");
    EXPECT_TRUE(form.m_phoneOption->isChecked());
    settings.save("UserCallSign", "");
}

TEST_F(StationSetupDialogTest, keyFiltersUpperCaseLettersAndKeepNumbersNumeric)
{
    StationSetupDialog& form = open();
    struct Case
    {
        QLineEdit* field;
        const char* typed;
        const char* shown;
    };
    for (const Case& c : { Case { form.m_ownCallField, "ok2abc/p", "OK2ABC/P" },
             Case { form.m_powerField, "1kw", "1KW" }, Case { form.m_continentField, "eu", "EU" },
             Case { form.m_longitudeField, "-12.5e,x/", "-12.5/" }, Case { form.m_utcOffsetField, "+2", "2" } }) {
        SCOPED_TRACE(c.typed);
        c.field->clear();
        c.field->setFocus();
        QTest::keyClicks(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.field->text(), c.shown);
    }
    form.m_longitudeField->setText(QStringLiteral("12"));
    form.m_longitudeField->setFocus();
    QTest::keyClick(form.m_longitudeField, Qt::Key_Backspace);
    EXPECT_EQ(form.m_longitudeField->text(), "1");
}

TEST_F(StationSetupDialogTest, countryCompletionFillsPositionAndContinent)
{
    StationSetupDialog& form = open();
    form.m_countryField->clear();
    form.m_countryField->setFocus();
    QTest::keyClick(form.m_countryField, Qt::Key_S);
    // The last country in the file beginning with S, its first letter capitalised.
    EXPECT_EQ(form.m_countryField->text(), "Sweden");
    EXPECT_EQ(form.m_countryField->selectedText(), "weden");
    EXPECT_EQ(form.m_longitudeField->text(), "-15");
    EXPECT_EQ(form.m_latitudeField->text(), "61");
    EXPECT_EQ(form.m_continentField->text(), "EU");

    QTest::keyClick(form.m_countryField, Qt::Key_C);
    EXPECT_EQ(form.m_countryField->text(), "Scotland");
    EXPECT_EQ(form.m_countryField->selectedText(), "otland");
    EXPECT_EQ(form.m_longitudeField->text(), "4");
    EXPECT_EQ(form.m_latitudeField->text(), "56.5");
}

TEST_F(StationSetupDialogTest, leavingABadNumberAsksForAValueAndKeepsTheFocus)
{
    StationSetupDialog& form = open();
    form.m_latitudeField->setFocus();
    form.m_latitudeField->setText(QStringLiteral("-"));
    QTest::keyClick(form.m_latitudeField, Qt::Key_Tab);
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Value Required!");
    EXPECT_EQ(dialogs.shown[0].text, "Value Required!");
    EXPECT_TRUE(form.m_latitudeField->hasFocus());

    form.m_latitudeField->setText(QStringLiteral("48.5"));
    QTest::keyClick(form.m_latitudeField, Qt::Key_Tab);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(form.m_latitudeField->hasFocus());
}

TEST_F(StationSetupDialogTest, enterIsDoneZeroingBadNumbersAndPublishingSevenValues)
{
    StationSetupDialog& form = open();
    form.m_longitudeField->clear();
    form.m_phoneOption->setChecked(true);
    form.m_latitudeField->setFocus();
    QTest::keyClick(form.m_latitudeField, Qt::Key_Return);

    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.m_longitudeField->text(), "0");
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
