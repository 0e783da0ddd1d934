#include "Scaling.h"

#include "common/Text.h"

#include <algorithm>
#include <cmath>

namespace brindle {

namespace {

// A ratio to a size that may be zero (a window not yet sized): nothing changes then.
double ratio(double to, double from)
{
    return from == 0 ? 1.0 : to / from;
}

Extent sizedToScreen(Extent design, Extent screen)
{
    return { design.width * screen.width / DesignCanvasWidth, design.height * screen.height / DesignCanvasHeight };
}

Area centredIn(Extent window, Area area)
{
    return { area.left + (area.width - window.width) / 2, area.top + (area.height - window.height) / 2, window.width,
        window.height };
}

double roundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5) {
        return below + 1;
    }
    if (fraction < 0.5) {
        return below;
    }
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

} // namespace

LayoutFactors scaleMainWindow(Extent screen)
{
    LayoutFactors f;
    f.window = { 0, 0, screen.width, screen.height };
    f.horizontal = f.window.width / DesignCanvasWidth;
    f.vertical = f.window.height / DesignCanvasHeight;
    f.windowFont = f.window.width / DesignCanvasWidth;
    f.controlFont = std::min(screen.width / DesignCanvasWidth, screen.height / DesignCanvasHeight);
    f.columns = f.window.width / DesignCanvasWidth;
    return f;
}

Area liftedCentre(Extent window, Extent screen)
{
    Area area = centredIn(window, { 0, 0, screen.width, screen.height });
    area.top -= DialogLift;
    return area;
}

LayoutFactors scaleDialog(Extent design, Extent screen)
{
    LayoutFactors f;
    f.window = liftedCentre(sizedToScreen(design, screen), screen);
    f.horizontal = screen.width / DesignCanvasWidth;
    f.vertical = screen.height / DesignCanvasHeight;
    f.windowFont = screen.height / DesignCanvasHeight;
    f.controlFont = std::min(f.horizontal, f.vertical);
    f.columns = f.horizontal;
    return f;
}

LayoutFactors keepInsideWorkArea(LayoutFactors placed, FrameMargins frame, Area workArea)
{
    const double frameWidth = frame.left + frame.right;
    const double frameHeight = frame.top + frame.bottom;
    Area& window = placed.window;
    const double shrink = std::min(
        { 1.0, ratio(workArea.width - frameWidth, window.width), ratio(workArea.height - frameHeight, window.height) });
    const double centreX = window.left + (window.width + frameWidth) / 2;
    const double centreY = window.top + (window.height + frameHeight) / 2;
    window.width *= shrink;
    window.height *= shrink;
    // Placed by its frame's centre, then moved in from whichever edge it crosses, the top left last so
    // that the title bar stays on the screen whatever happens.
    const double outerWidth = window.width + frameWidth;
    const double outerHeight = window.height + frameHeight;
    window.left
        = std::max(workArea.left, std::min(centreX - outerWidth / 2, workArea.left + workArea.width - outerWidth));
    window.top
        = std::max(workArea.top, std::min(centreY - outerHeight / 2, workArea.top + workArea.height - outerHeight));
    for (double* factor :
        { &placed.horizontal, &placed.vertical, &placed.windowFont, &placed.controlFont, &placed.columns }) {
        *factor *= shrink;
    }
    return placed;
}

LayoutFactors scaleByScreen(Extent design, Extent screen, bool unlimitedFont)
{
    LayoutFactors f;
    f.window = centredIn(sizedToScreen(design, screen), { 0, 0, screen.width, screen.height });
    f.horizontal = screen.width / DesignCanvasWidth;
    f.vertical = screen.height / DesignCanvasHeight;
    f.windowFont = f.horizontal;
    f.controlFont = unlimitedFont ? f.horizontal : std::min(f.horizontal, ScreenRuleFontLimit);
    return f;
}

LayoutFactors scaleByWorkArea(Extent design, Extent screen, Area workArea)
{
    LayoutFactors f;
    const Extent size { design.width * workArea.width / DesignCanvasWidth,
        design.height * workArea.height / DesignCanvasHeight };
    f.window = centredIn(size, workArea);
    f.horizontal = ratio(size.width, design.width);
    f.vertical = ratio(size.height, design.height);
    f.windowFont = size.width / DesignCanvasWidth;
    f.controlFont = std::min(screen.width / DesignCanvasWidth, ScreenRuleFontLimit);
    return f;
}

FormToLayout scaleFormTo(Extent window, Extent inner, Extent target, Extent design, bool fill, double fontFactor)
{
    FormToLayout f;
    const Extent size = fill ? target
                             : Extent { ratio(window.width, design.width) * target.width,
                                   ratio(window.height, design.height) * target.height };
    f.window = centredIn(size, { 0, 0, target.width, target.height });
    // The border and title bar keep their size; only the client area grows.
    const Extent newInner { size.width - (window.width - inner.width), size.height - (window.height - inner.height) };
    f.rW = ratio(newInner.width, inner.width);
    f.rH = ratio(newInner.height, inner.height);
    const double m = f.rW <= f.rH ? f.rW : f.rH;
    f.fontScale = size.height > inner.height ? (m - 1) * fontFactor + 1 : m;
    return f;
}

FormSizeLayout formSizeLayout(int percent, Extent screen)
{
    FormSizeLayout f;
    f.factor = percent / 100.0;
    f.window = centredIn({ screen.width * f.factor, screen.height * f.factor }, { 0, 0, screen.width, screen.height });
    return f;
}

TaskbarLayout taskbarLayout(int taskbarSetting, Extent oldWindow, Extent screen, Extent workArea, FrameMargins frame)
{
    const Extent size = taskbarSetting == 1 ? workArea : screen;
    return frameFilling(oldWindow, { 0, 0, size.width, size.height }, frame);
}

TaskbarLayout frameFilling(Extent oldWindow, Area area, FrameMargins frame)
{
    TaskbarLayout f;
    f.window = { area.left, area.top, area.width - frame.left - frame.right, area.height - frame.top - frame.bottom };
    f.horizontal = ratio(f.window.width, oldWindow.width);
    f.vertical = ratio(f.window.height, oldWindow.height);
    return f;
}

std::optional<int> formSizeFromAnswer(std::string_view answer)
{
    const std::optional<double> number = parseDecimal(trimBlanks(answer));
    if (!number) {
        return std::nullopt;
    }
    return static_cast<int>(roundHalfEven(std::clamp(*number, 30.0, 100.0)));
}

ControlScaling controlScaling(LayoutRule rule, ControlKind kind)
{
    constexpr ControlScaling none {};
    constexpr ControlScaling both { true, true, false };
    constexpr ControlScaling placeOnly { true, false, false };

    if (kind == ControlKind::Menu) {
        return none;
    }
    // Drawn lines follow every rule, and carry no font. So do panels: their controls carry the fonts,
    // and a panel that stayed put while its controls moved would clip them.
    if (kind == ControlKind::Line || kind == ControlKind::Panel) {
        return placeOnly;
    }
    switch (rule) {
    case LayoutRule::MainWindow:
    case LayoutRule::FormSize:
        switch (kind) {
        case ControlKind::Label:
        case ControlKind::TextField:
        case ControlKind::CommandButton:
        case ControlKind::ListBox:
        case ControlKind::ListView:
            return both;
        default:
            return none;
        }
    case LayoutRule::Dialog:
    case LayoutRule::Screen:
    case LayoutRule::FormTo:
        switch (kind) {
        case ControlKind::Image:
            return placeOnly;
        case ControlKind::Other:
            return none;
        case ControlKind::ComboBox:
            return { true, true, rule == LayoutRule::Dialog };
        default:
            return both;
        }
    case LayoutRule::WorkArea:
        return kind == ControlKind::Image ? placeOnly : both;
    case LayoutRule::Taskbar:
        return placeOnly;
    }
    return none;
}

} // namespace brindle
