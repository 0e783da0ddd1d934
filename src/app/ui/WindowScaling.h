#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

namespace brindle {

// Windows are laid out on the design canvas of 9,600 × 7,200 twips. Here a window is built in design
// pixels, 15 twips each (a 640 × 480 canvas), and scaled to the screen when it loads.
inline constexpr int TwipsPerDesignPixel = 15;
inline constexpr QSize DesignCanvas { 9600 / TwipsPerDesignPixel, 7200 / TwipsPerDesignPixel };

// A list whose widget property of this name is true keeps its column widths when the taskbar setting
// resizes the main window: its columns already follow the window's width by themselves.
inline constexpr char KeepColumnsOnTaskbarResize[] = "keepColumnsOnTaskbarResize";

// A control's place on the design canvas, given in twips, as design pixels.
QRect designRect(int leftTwips, int topTwips, int widthTwips, int heightTwips);

// The screen a window opens on, in pixels.
struct ScreenGeometry
{
    QSize screen;
    QRect workArea; // the screen less the taskbar and panels
    QPoint screenOrigin {}; // where the screen starts on a desktop of several screens
};
// The geometry of the screen the window is on (the primary screen before it is shown).
ScreenGeometry screenGeometryOf(const QWidget& window);

// The scaling rules, each applied to a window built at its design size when it loads: the window's
// size before scaling is its design size, or its size hint when it has never been given a size (a
// window laid out by Qt layouts). Controls placed by a Qt layout keep the layout's placement and only
// have their fonts scaled; absolutely placed controls are moved and sized as well.
//
// A window's frame is known once the window manager has framed it, after the window is first shown. The
// main window, and a window that fills the work area, cover their area with their frame: until the
// frame is known the client area covers it, and the window is fitted again when the frame is reported.
// The dialog, screen and work-area rules keep the window inside the work area with its frame: one the
// rule would make too large shrinks about its centre, its controls and fonts with it, until its layout
// fits. Before any frame is known they allow for the style's title bar and borders.
void scaleMainWindow(QWidget& form, const ScreenGeometry& screen);
void scaleDialog(QWidget& dialog, const ScreenGeometry& screen);
// The screen rule; fonts grow at most 1.5 times unless unlimitedFont (the colours window).
void scaleByScreenRule(QWidget& window, const ScreenGeometry& screen, bool unlimitedFont = false);
void scaleByWorkAreaRule(QWidget& window, const ScreenGeometry& screen);
// The window's frame fills the work area.
void fillWorkArea(QWidget& window, const ScreenGeometry& screen);

// Fits a window to a target rectangle (in pixels): with fill it takes the target's size, otherwise it
// keeps its share of design (in design pixels, normally DesignCanvas); it is centred in the target.
// Fonts grow by (m − 1) × fontFactor + 1 when the window grows, m being the smaller of the client
// area's two growth ratios; a non-empty fontName replaces the fonts' family. The WinKey window uses
// scaleWindowTo(w, QRect(s.screenOrigin, s.screen), DesignCanvas, false, 1.0, "Arial").
void scaleWindowTo(
    QWidget& window, const QRect& target, QSize design, bool fill, double fontFactor, const QString& fontName);

// Centred across the screen and 170 twips above its vertical centre, at its present size: where
// dialogs and the start-up logo stand.
void placeAboveCentre(QWidget& window, const ScreenGeometry& screen);

// The main window's appearance settings, applied to the layout scaleMainWindow produced.
// The form hidden and its frame reduced to percent of the screen, centred; fonts, controls and the columns of
// its list views shrink in proportion. The caller shows the form when its start-up completes.
void applyFormSize(QWidget& form, int percent, const ScreenGeometry& screen);
// The form hidden, its frame resized to the work area (setting 1) or the whole screen (any other value) at
// the top left, its controls and the columns of its list views rescaled with it, and shown again. Fonts
// stay, and so do the columns of lists marked KeepColumnsOnTaskbarResize. The caller sets the menu
// check mark and calls this only when the form-size setting is 100.
void applyTaskbarOption(QWidget& form, int taskbarSetting, const ScreenGeometry& screen);

// Every control on the canvas, the panels' controls with them, keeps its left and width and has its top
// and height multiplied by factor, so that what stands on the canvas closes up (factor below 1) to make
// room at the bottom, or opens out again. The skipped widget (the strip that takes the room) is left as
// it is. Returns the lowest bottom edge among the visible controls afterwards, in canvas coordinates.
int scaleHeightsOnCanvas(QWidget& canvas, double factor, const QWidget* skipped);

} // namespace brindle
