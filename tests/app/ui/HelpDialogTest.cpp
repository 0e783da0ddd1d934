#include "ui/HelpDialog.h"

#include "os/PosixFileSystem.h"
#include "support/QtPrinters.h"
#include "support/TempFolder.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace brindle {
namespace {

using test::TempFolder;
using test::writeBytes;

TEST(HelpDialogTest, showsTheWholeHelpFileAsWrittenAndCloseHidesThePage)
{
    TempFolder working;
    // CR LF line ends, a Latin-1 letter and no line end after the last line.
    writeBytes(working.file("readDX.txt"), "Brindle DX help\r\n\r\nD\xE9part: press Enter.\r\nLast line");
    PosixFileSystem fs;
    HelpDialog page(working.path(), fs);
    page.show();

    EXPECT_EQ(page.windowTitle(), "Help Page");
    EXPECT_EQ(page.m_helpText->toPlainText(), QString::fromUtf8("Brindle DX help\n\nDépart: press Enter.\nLast line"));
    EXPECT_TRUE(page.m_helpText->isReadOnly());
    EXPECT_EQ(page.m_closeButton->text(), "Close");

    QTest::mouseClick(page.m_closeButton, Qt::LeftButton);
    EXPECT_FALSE(page.isVisible());
}

TEST(HelpDialogTest, withoutAReadableHelpFileThePageOpensEmpty)
{
    const auto noFile = [](const TempFolder&) {};
    const auto folderInItsPlace
        = [](const TempFolder& working) { std::filesystem::create_directory(working.file("readDX.txt")); };
    for (const auto& prepare : { +noFile, +folderInItsPlace }) {
        TempFolder working;
        prepare(working);
        PosixFileSystem fs;
        HelpDialog page(working.path(), fs);
        EXPECT_TRUE(page.m_helpText->toPlainText().isEmpty());
    }
}

TEST(HelpDialogTest, theDistributedHelpTextIsPlainAsciiWithCrLfLineEnds)
{
    const std::string help = test::readBytes(std::string(BRINDLE_DATA_DIR) + "/readDX.txt");
    ASSERT_FALSE(help.empty());
    int lines = 0;
    for (std::size_t i = 0; i < help.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(help[i]);
        ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F)) << "byte " << i;
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && help[i - 1] == '\r') << "a bare LF at byte " << i;
            ++lines;
        }
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < help.size() && help[i + 1] == '\n') << "a bare CR at byte " << i;
        }
    }
    EXPECT_EQ(help.substr(help.size() - 2), "\r\n");
}

} // namespace
} // namespace brindle
