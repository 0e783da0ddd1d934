#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QTimer;

namespace brindle {

class ClickableLabel;
struct ScreenGeometry;

// The start-up logo, shown modally before the main window loads. The operator's own picture,
// "splash.jpg" in the maker's shared folder, replaces the built-in ones and stays up longer.
class StartupLogoDialog : public QDialog
{
    Q_OBJECT

public:
    // makerFolder is the maker folder ("KORVA Software") the program start resolved; the picture is
    // looked for at makerFolder/Shared/splash.jpg.
    explicit StartupLogoDialog(const std::string& makerFolder, QWidget* parent = nullptr);

    static std::string splashPicturePath(const std::string& makerFolder);

    // Centred across the screen, 170 twips above its vertical centre.
    void placeOnScreen(const ScreenGeometry& screen);

    // Whether the first picture is the operator's own rather than the built-in one.
    bool showsSplashPicture() const;

    // The end of its time and a click on the picture both close the window.
    void closeLogo();
    void showSecondPicture();

    ClickableLabel* m_firstPicture = nullptr;
    QLabel* m_secondPicture = nullptr;
    QTimer* m_closeTimer = nullptr;
    QTimer* m_secondPictureTimer = nullptr;

private:
    bool loadSplashPicture(const std::string& path);

    bool m_splash = false;
};

} // namespace brindle
