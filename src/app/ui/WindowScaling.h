#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace brindle {

// Windows are laid out on the design canvas of 9,600 × 7,200 twips. Here a window is built in design
// pixels, 15 twips each (a 640 × 480 canvas), and scaled to the screen when it loads.
inline constexpr int TwipsPerDesignPixel = 15;

// A control's place on the design canvas, given in twips, as design pixels.
QRect designRect(int leftTwips, int topTwips, int widthTwips, int heightTwips);

// The screen a window opens on, in pixels.
struct ScreenGeometry
{
    QSize screen;
    QRect workArea; // the screen less the taskbar and panels
};
// The geometry of the screen the window is on (the primary screen before it is shown).
ScreenGeometry screenGeometryOf(const QWidget& window);

// The scaling rules, each applied to a window built at its design size when it loads. Controls placed
// by a Qt layout keep the layout's placement and only have their fonts scaled.
void ScaleMainForm(QWidget& form, const ScreenGeometry& screen);
void ScaleDialog(QWidget& dialog, const ScreenGeometry& screen);
// The screen rule; fonts grow at most 1.5 times unless unlimitedFont (the colours window).
void scaleByScreenRule(QWidget& window, const ScreenGeometry& screen, bool unlimitedFont = false);
void scaleByWorkAreaRule(QWidget& window, const ScreenGeometry& screen);
// The window fills the work area.
void fillWorkArea(QWidget& window, const ScreenGeometry& screen);

} // namespace brindle
