#include "ui/StartupLogoDialog.h"

#include "support/TempFolder.h"
#include "ui/ClickableLabel.h"
#include "ui/WindowScaling.h"

#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace brindle {
namespace {

using test::TempFolder;

// A maker folder with a "Shared" folder, and optionally a picture in it.
struct MakerFolder
{
    MakerFolder()
    {
        std::filesystem::create_directory(folder.file("Shared"));
    }
    std::string splash() const
    {
        return folder.file("Shared/splash.jpg");
    }
    TempFolder folder;
};

// Lets a timer run out at once, through the event loop, as it would after its interval.
void fire(QTimer* timer)
{
    timer->start(0);
    ASSERT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 1000));
}

TEST(StartupLogoDialogTest, withoutASplashPictureShowsTheSecondPictureAfterTheFirstTimerAndClosesOnTheOther)
{
    MakerFolder maker;
    StartupLogoDialog logo(maker.folder.path());
    logo.show();

    EXPECT_FALSE(logo.showsSplashPicture());
    EXPECT_FALSE(logo.m_firstPicture->pixmap().isNull());
    EXPECT_TRUE(logo.m_firstPicture->isVisible());
    EXPECT_FALSE(logo.m_secondPicture->isVisible());
    EXPECT_TRUE(logo.m_secondPictureTimer->isActive());
    EXPECT_EQ(logo.m_secondPictureTimer->interval(), 1100);
    EXPECT_TRUE(logo.m_closeTimer->isActive());
    EXPECT_EQ(logo.m_closeTimer->interval(), 1900);

    fire(logo.m_secondPictureTimer);
    EXPECT_TRUE(logo.m_secondPicture->isVisible());
    EXPECT_TRUE(logo.isVisible());

    fire(logo.m_closeTimer);
    EXPECT_FALSE(logo.isVisible());
    EXPECT_EQ(logo.result(), QDialog::Accepted);
}

TEST(StartupLogoDialogTest, theOperatorsSplashPictureKeepsTheLogoUpLongerWithoutTheSecondPicture)
{
    MakerFolder maker;
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(QString::fromStdString(maker.splash()), "JPG"));
    ASSERT_EQ(StartupLogoDialog::splashPicturePath(maker.folder.path()), maker.splash());

    StartupLogoDialog logo(maker.folder.path());
    logo.show();
    EXPECT_TRUE(logo.showsSplashPicture());
    EXPECT_FALSE(logo.m_firstPicture->pixmap().isNull());
    EXPECT_FALSE(logo.m_secondPictureTimer->isActive());
    EXPECT_TRUE(logo.m_closeTimer->isActive());
    EXPECT_EQ(logo.m_closeTimer->interval(), 2700);
    EXPECT_FALSE(logo.m_secondPicture->isVisible());
}

TEST(StartupLogoDialogTest, aSplashFileThatIsNoPictureLeavesTheBuiltInPictures)
{
    MakerFolder maker;
    test::writeBytes(maker.splash(), "not a picture");
    StartupLogoDialog logo(maker.folder.path());
    EXPECT_FALSE(logo.showsSplashPicture());
    EXPECT_TRUE(logo.m_secondPictureTimer->isActive());
    EXPECT_EQ(logo.m_closeTimer->interval(), 1900);
}

TEST(StartupLogoDialogTest, aClickOnThePictureClosesTheLogo)
{
    MakerFolder maker;
    StartupLogoDialog logo(maker.folder.path());
    logo.show();
    QTest::mouseClick(logo.m_firstPicture, Qt::LeftButton);
    EXPECT_FALSE(logo.isVisible());
    EXPECT_FALSE(logo.m_closeTimer->isActive());
}

TEST(StartupLogoDialogTest, standsCentredAcrossTheScreenAndALittleAboveTheMiddle)
{
    MakerFolder maker;
    StartupLogoDialog logo(maker.folder.path());
    logo.placeOnScreen({ QSize(1280, 960), QRect(0, 0, 1280, 960) });
    const QSize size = logo.size();
    // 170 twips are 11⅓ pixels.
    EXPECT_EQ(logo.pos(), QPoint((1280 - size.width()) / 2, qRound((960 - size.height()) / 2.0 - 170.0 / 15)));
}

} // namespace
} // namespace brindle
