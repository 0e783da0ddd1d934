#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QTimer;

namespace brindle {

class ClickableLabel;
struct ScreenGeometry;

// The start-up logo, shown modally before the main form loads. The operator's own picture,
// "splash.jpg" in the maker's shared folder, replaces the built-in ones and stays up longer.
class frmKORVALogo : public QDialog
{
    Q_OBJECT

public:
    // makerFolder is the maker folder ("KORVA Software") the program start resolved; the picture is
    // looked for at makerFolder/Shared/splash.jpg.
    explicit frmKORVALogo(const std::string& makerFolder, QWidget* parent = nullptr);

    static std::string splashPicturePath(const std::string& makerFolder);

    // Centred across the screen, 170 twips above its vertical centre.
    void placeOnScreen(const ScreenGeometry& screen);

    // Whether Image1 shows the operator's picture rather than the built-in one.
    bool showsSplashPicture() const;

    void Timer1_Timer(); // closes the window
    void Timer2_Timer(); // brings up the second built-in picture
    void Image1_Click();

    ClickableLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

private:
    bool loadSplashPicture(const std::string& path);

    bool m_splash = false;
};

} // namespace brindle
