#include "ui/frmKORVALogo.h"

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

TEST(frmKORVALogo, withoutASplashPictureShowsTheSecondPictureAfterTheFirstTimerAndClosesOnTheOther)
{
    MakerFolder maker;
    frmKORVALogo logo(maker.folder.path());
    logo.show();

    EXPECT_FALSE(logo.showsSplashPicture());
    EXPECT_FALSE(logo.Image1->pixmap().isNull());
    EXPECT_TRUE(logo.Image1->isVisible());
    EXPECT_FALSE(logo.Image2->isVisible());
    EXPECT_TRUE(logo.Timer2->isActive());
    EXPECT_EQ(logo.Timer2->interval(), 1100);
    EXPECT_TRUE(logo.Timer1->isActive());
    EXPECT_EQ(logo.Timer1->interval(), 1900);

    fire(logo.Timer2);
    EXPECT_TRUE(logo.Image2->isVisible());
    EXPECT_TRUE(logo.isVisible());

    fire(logo.Timer1);
    EXPECT_FALSE(logo.isVisible());
    EXPECT_EQ(logo.result(), QDialog::Accepted);
}

TEST(frmKORVALogo, theOperatorsSplashPictureKeepsTheLogoUpLongerWithoutTheSecondPicture)
{
    MakerFolder maker;
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(QString::fromStdString(maker.splash()), "JPG"));
    ASSERT_EQ(frmKORVALogo::splashPicturePath(maker.folder.path()), maker.splash());

    frmKORVALogo logo(maker.folder.path());
    logo.show();
    EXPECT_TRUE(logo.showsSplashPicture());
    EXPECT_FALSE(logo.Image1->pixmap().isNull());
    EXPECT_FALSE(logo.Timer2->isActive());
    EXPECT_TRUE(logo.Timer1->isActive());
    EXPECT_EQ(logo.Timer1->interval(), 2700);
    EXPECT_FALSE(logo.Image2->isVisible());
}

TEST(frmKORVALogo, aSplashFileThatIsNoPictureLeavesTheBuiltInPictures)
{
    MakerFolder maker;
    test::writeBytes(maker.splash(), "not a picture");
    frmKORVALogo logo(maker.folder.path());
    EXPECT_FALSE(logo.showsSplashPicture());
    EXPECT_TRUE(logo.Timer2->isActive());
    EXPECT_EQ(logo.Timer1->interval(), 1900);
}

TEST(frmKORVALogo, aClickOnThePictureClosesTheLogo)
{
    MakerFolder maker;
    frmKORVALogo logo(maker.folder.path());
    logo.show();
    QTest::mouseClick(logo.Image1, Qt::LeftButton);
    EXPECT_FALSE(logo.isVisible());
    EXPECT_FALSE(logo.Timer1->isActive());
}

TEST(frmKORVALogo, standsCentredAcrossTheScreenAndALittleAboveTheMiddle)
{
    MakerFolder maker;
    frmKORVALogo logo(maker.folder.path());
    logo.placeOnScreen({ QSize(1280, 960), QRect(0, 0, 1280, 960) });
    const QSize size = logo.size();
    // 170 twips are 11⅓ pixels.
    EXPECT_EQ(logo.pos(), QPoint((1280 - size.width()) / 2, qRound((960 - size.height()) / 2.0 - 170.0 / 15)));
}

} // namespace
} // namespace brindle
