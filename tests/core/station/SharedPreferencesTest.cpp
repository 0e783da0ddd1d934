#include "station/SharedPreferences.h"

#include "os/PosixFileSystem.h"
#include "support/FolderListing.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace brindle {
namespace {

using test::fixture;
using test::folderEntries;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

const std::string header = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

class SharedPreferencesTest : public testing::Test
{
protected:
    std::string prefsPath() const
    {
        return m_folder.file("SharedUserPreferences.xml");
    }

    TempFolder m_folder;
    PosixFileSystem m_fs;
    SharedPreferences m_prefs { m_fs };
};

TEST_F(SharedPreferencesTest, freshFileAfterStationSetupIsTheHeaderAndSevenElementLines)
{
    m_prefs.load(prefsPath());
    EXPECT_EQ(m_prefs.text(), header);
    EXPECT_FALSE(std::filesystem::exists(prefsPath()));

    ASSERT_TRUE(m_prefs.publish("OWN_CALL", "DL1ABC", false).ok());
    ASSERT_TRUE(m_prefs.publish("OWN_SPC", "100", false).ok());
    ASSERT_TRUE(m_prefs.publish("OWN_UTC", "-1", false).ok());
    ASSERT_TRUE(m_prefs.publish("OWN_COUNTRY", "Fed. Rep. of Germany", false).ok());
    ASSERT_TRUE(m_prefs.publish("OWN_LONGITUDE", "-13.4", false).ok());
    ASSERT_TRUE(m_prefs.publish("OWN_LATITUDE", "52.5", false).ok());
    EXPECT_FALSE(std::filesystem::exists(prefsPath()));
    ASSERT_TRUE(m_prefs.publish("OWN_CONTINENT", "EU", true).ok());

    EXPECT_EQ(readBytes(prefsPath()),
        header
            + "\r\n<OWN_CALL>DL1ABC</OWN_CALL>"
              "\r\n<OWN_SPC>100</OWN_SPC>"
              "\r\n<OWN_UTC>-1</OWN_UTC>"
              "\r\n<OWN_COUNTRY>Fed. Rep. of Germany</OWN_COUNTRY>"
              "\r\n<OWN_LONGITUDE>-13.4</OWN_LONGITUDE>"
              "\r\n<OWN_LATITUDE>52.5</OWN_LATITUDE>"
              "\r\n<OWN_CONTINENT>EU</OWN_CONTINENT>\r\n");
    EXPECT_EQ(folderEntries(m_folder.path()), std::vector<std::string> { "SharedUserPreferences.xml" });
}

TEST_F(SharedPreferencesTest, valuesAreWrittenInTheUtf8TheHeaderDeclares)
{
    m_prefs.load(prefsPath());
    ASSERT_TRUE(m_prefs.publish("OWN_ADDRESS_NAME", "J\xFCrgen M\xFCller", true));
    ASSERT_TRUE(m_prefs.publish("OWN_CALL", "DL1ABC", true));
    EXPECT_EQ(readBytes(prefsPath()),
        header
            + "\r\n<OWN_ADDRESS_NAME>J\xC3\xBCrgen "
              "M\xC3\xBCller</OWN_ADDRESS_NAME>\r\n<OWN_CALL>DL1ABC</OWN_CALL>\r\n");
}

TEST_F(SharedPreferencesTest, namesAreUpperCasedBeforeUse)
{
    m_prefs.load(prefsPath());
    ASSERT_TRUE(m_prefs.publish("OWN_ADDRESS_Line1", "Hauptstr. 1", false).ok());
    ASSERT_TRUE(m_prefs.publish("own_address_line1", "Hauptstr. 2", false).ok());
    EXPECT_EQ(m_prefs.text(), header + "\r\n<OWN_ADDRESS_LINE1>Hauptstr. 2</OWN_ADDRESS_LINE1>");
}

TEST_F(SharedPreferencesTest, publishingAnExistingElementReplacesOnlyTheTextBetweenItsTags)
{
    const std::string before = fixture("station/shared_prefs_from_other_programs.xml");
    writeBytes(prefsPath(), before);
    m_prefs.load(prefsPath());
    ASSERT_TRUE(m_prefs.publish("OWN_SPC", "1500", true).ok());

    std::string expected = before;
    expected.replace(expected.find("<OWN_SPC>100<"), 13, "<OWN_SPC>1500<");
    EXPECT_EQ(readBytes(prefsPath()), expected);
}

TEST_F(SharedPreferencesTest, elementsOfOtherProgramsAreKeptAndNewOnesGoAtTheEnd)
{
    const std::string before = fixture("station/shared_prefs_from_other_programs.xml");
    writeBytes(prefsPath(), before);
    m_prefs.load(prefsPath());
    ASSERT_TRUE(m_prefs.publish("OWN_CALL", "DL1ABC/P", false).ok());
    ASSERT_TRUE(m_prefs.publish("OWN_CLUB_NAME", "Rhein-Ruhr DX", true).ok());

    std::string expected = before;
    expected.replace(expected.find("DL1ABC<"), 6, "DL1ABC/P");
    expected += "<OWN_CLUB_NAME>Rhein-Ruhr DX</OWN_CLUB_NAME>\r\n";
    EXPECT_EQ(readBytes(prefsPath()), expected);
}

TEST_F(SharedPreferencesTest, tagsAreFoundOnlyInUpperCase)
{
    writeBytes(prefsPath(), header + "\r\n<own_call>W1AW</own_call>\r\n");
    m_prefs.load(prefsPath());
    ASSERT_TRUE(m_prefs.publish("OWN_CALL", "DL1ABC", false).ok());
    EXPECT_EQ(m_prefs.text(), header + "\r\n<own_call>W1AW</own_call>\r\n<OWN_CALL>DL1ABC</OWN_CALL>");
}

TEST_F(SharedPreferencesTest, publishingToAnElementWithoutClosingTagKeepsTheElementsAfterIt)
{
    writeBytes(prefsPath(), fixture("station/shared_prefs_unclosed_tag.xml"));
    m_prefs.load(prefsPath());
    ASSERT_TRUE(m_prefs.publish("OWN_CALL", "DL2XYZ", false).ok());
    EXPECT_EQ(m_prefs.text(),
        header
            + "\r\n<OWN_CALL>DL2XYZ</OWN_CALL>"
              "\r\n<OWN_SPC>100</OWN_SPC>"
              "\r\n<OWN_UTC>-1</OWN_UTC>");
    ASSERT_TRUE(m_prefs.publish("OWN_UTC", "-2", false).ok());
    EXPECT_TRUE(m_prefs.text().ends_with("\r\n<OWN_SPC>100</OWN_SPC>\r\n<OWN_UTC>-2</OWN_UTC>"));
}

TEST_F(SharedPreferencesTest, loadDropsOnlyTheFinalLineEnd)
{
    struct Case
    {
        std::string file;
        std::string held;
    };
    const std::vector<Case> cases = {
        { header + "\r\n<A>x</A>\r\n", header + "\r\n<A>x</A>" },
        { header + "\r\n<A>x</A>", header + "\r\n<A>x</A>" },
        { header + "\n<A>x</A>\n", header + "\n<A>x</A>" },
        { header + "\r\n<A>x</A>\r\n\r\n", header + "\r\n<A>x</A>\r\n" },
    };
    for (const Case& c : cases) {
        writeBytes(prefsPath(), c.file);
        m_prefs.load(prefsPath());
        EXPECT_EQ(m_prefs.text(), c.held);
    }
}

TEST_F(SharedPreferencesTest, loadingAndSavingUnchangedKeepsTheFileByteForByte)
{
    const std::string before = fixture("station/shared_prefs_from_other_programs.xml");
    writeBytes(prefsPath(), before);
    m_prefs.load(prefsPath());
    ASSERT_TRUE(m_prefs.save(prefsPath()).ok());
    EXPECT_EQ(readBytes(prefsPath()), before);
}

TEST_F(SharedPreferencesTest, saveRemembersThePathForLaterPublishing)
{
    m_prefs.load(prefsPath());
    const std::string other = m_folder.file("other.xml");
    ASSERT_TRUE(m_prefs.save(other).ok());
    EXPECT_EQ(m_prefs.path(), other);
    ASSERT_TRUE(m_prefs.publish("OWN_CALL", "DL1ABC", true).ok());
    EXPECT_EQ(readBytes(other), header + "\r\n<OWN_CALL>DL1ABC</OWN_CALL>\r\n");
    EXPECT_FALSE(std::filesystem::exists(prefsPath()));
}

TEST_F(SharedPreferencesTest, saveIntoAMissingFolderFails)
{
    m_prefs.load(m_folder.file("Shared/SharedUserPreferences.xml"));
    EXPECT_FALSE(m_prefs.publish("OWN_CALL", "DL1ABC", true).ok());
    EXPECT_EQ(m_prefs.text(), header + "\r\n<OWN_CALL>DL1ABC</OWN_CALL>");
}

} // namespace
} // namespace brindle
