#pragma once

#include <optional>
#include <string_view>

namespace brindle {

// The arithmetic of window layout. Every window is designed on a canvas of 9,600 × 7,200 twips and
// scaled when it loads, so that the same layout covers a small or a large screen in the same
// proportions. All lengths here are twips; the factors are plain ratios, whatever unit the caller
// draws in.
inline constexpr double DesignCanvasWidth = 9600;
inline constexpr double DesignCanvasHeight = 7200;
// Dialogs and the start-up logo stand this far above the screen's vertical centre.
inline constexpr double DialogLift = 170;
// Fonts of the screen-rule and work-area windows grow no more than this.
inline constexpr double ScreenRuleFontLimit = 1.5;

struct Extent
{
    double width = 0;
    double height = 0;
};

struct Area
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// Where a window goes and how much its contents grow.
struct LayoutFactors
{
    Area window; // the window's new place on the screen
    double horizontal = 1; // control left and width
    double vertical = 1; // control top and height
    double windowFont = 1; // the window's own font size
    double controlFont = 1; // the controls' font sizes
    double columns = 1; // list-view column widths
};

// The main window covers the screen.
LayoutFactors scaleMainWindow(Extent screen);
// A dialog grows with the screen, centred across it and a little above the middle.
LayoutFactors scaleDialog(Extent design, Extent screen);
// The smaller tool windows: sized as a dialog, centred, with fonts kept readable but not huge. The
// colours window lets its fonts grow as far as the screen does.
LayoutFactors scaleByScreen(Extent design, Extent screen, bool unlimitedFont);
// Windows that share the desktop with the main window grow to the work area (the screen less the
// taskbar) and are centred in it.
LayoutFactors scaleByWorkArea(Extent design, Extent screen, Area workArea);

// Centred across the screen and DialogLift above its vertical centre.
Area liftedCentre(Extent window, Extent screen);

// What the window manager draws around a window's client area: its title bar and borders.
struct FrameMargins
{
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// A window placed by the dialog, screen or work-area rule, kept inside the work area together with its
// frame: window.left and top are where the frame starts, width and height the client area's. One too
// large for the work area shrinks about its centre, its controls, fonts and columns in proportion, so
// that none of it, its buttons least of all, lies off the screen; then it is moved in as far as its
// frame needs. A window that fits keeps what the rule gave it.
LayoutFactors keepInsideWorkArea(LayoutFactors placed, FrameMargins frame, Area workArea);

// Fits a window built for one canvas to a target size. window is the window's outer size, inner its
// client area; with fill the window takes the target size, otherwise it keeps its share of the design
// canvas. Fonts grow less than the window when fontFactor is below 1.
struct FormToLayout
{
    Area window;
    double rW = 1; // control left, width and list-view columns
    double rH = 1; // control top and height
    double fontScale = 1; // the window's and the controls' font sizes
};
FormToLayout scaleFormTo(Extent window, Extent inner, Extent target, Extent design, bool fill, double fontFactor);

// The main window reduced to a share of the screen, centred; factor applies to fonts, controls and
// columns alike.
struct FormSizeLayout
{
    Area window;
    double factor = 1;
};
FormSizeLayout formSizeLayout(int percent, Extent screen);

// The main window at full size, at the top left corner: setting 1 keeps clear of the taskbar (the work
// area), any other value covers the screen. It is the frame that covers it: the client area is smaller
// by the frame's margins. Fonts stay as they are.
struct TaskbarLayout
{
    Area window;
    double horizontal = 1; // new width / old width
    double vertical = 1; // new height / old height
};
TaskbarLayout taskbarLayout(
    int taskbarSetting, Extent oldWindow, Extent screen, Extent workArea, FrameMargins frame = {});
// A window whose frame is to cover the area exactly, resized from its client size oldWindow; its
// controls and columns move and grow in proportion, its fonts stay.
TaskbarLayout frameFilling(Extent oldWindow, Area area, FrameMargins frame);

// The operator's answer to the form-size question: nothing when it is not a number; otherwise brought
// into 30 to 100 and rounded, halves to the even neighbour.
std::optional<int> formSizeFromAnswer(std::string_view answer);

// What a rule changes in each kind of control.
enum class LayoutRule
{
    MainWindow,
    Dialog,
    Screen,
    WorkArea,
    FormTo,
    FormSize,
    Taskbar,
};

enum class ControlKind
{
    Label,
    TextField,
    CommandButton,
    ListBox,
    ComboBox,
    CheckBox,
    OptionButton,
    Frame,
    Image,
    ListView,
    Line,
    Menu, // menus, status and tool bars: never scaled
    Panel, // a group of absolutely placed controls: placed like a control, its controls scaled inside it
    Other, // picture boxes, plain containers and anything else
};

struct ControlScaling
{
    bool geometry = false; // left, top, width and height
    bool font = false;
    bool keepHeight = false; // the height stays what the control's font needs
};

ControlScaling controlScaling(LayoutRule rule, ControlKind kind);

} // namespace brindle
