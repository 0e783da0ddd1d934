#include "WindowScaling.h"

#include "ui/DesignPanel.h"
#include "ui/Scaling.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRubberBand>
#include <QScreen>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeView>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace brindle {

namespace {

// Screen pixels are taken at the same 15 twips as design pixels, so a window on a 640 × 480 screen
// keeps its design size.
constexpr double TwipsPerPixel = TwipsPerDesignPixel;

Extent twips(QSize pixels)
{
    return { pixels.width() * TwipsPerPixel, pixels.height() * TwipsPerPixel };
}

Area twips(const QRect& pixels)
{
    return { pixels.x() * TwipsPerPixel, pixels.y() * TwipsPerPixel, pixels.width() * TwipsPerPixel,
        pixels.height() * TwipsPerPixel };
}

FrameMargins twips(const QMargins& pixels)
{
    return { pixels.left() * TwipsPerPixel, pixels.top() * TwipsPerPixel, pixels.right() * TwipsPerPixel,
        pixels.bottom() * TwipsPerPixel };
}

QRect pixels(const Area& twips, QPoint origin = {})
{
    return QRect(origin.x() + qRound(twips.left / TwipsPerPixel), origin.y() + qRound(twips.top / TwipsPerPixel),
        qRound(twips.width / TwipsPerPixel), qRound(twips.height / TwipsPerPixel));
}

Extent extent(QSize size)
{
    return { static_cast<double>(size.width()), static_cast<double>(size.height()) };
}

// The size a window was designed at: the size it was given, or what its layout asks for.
QSize designSizeOf(const QWidget& window)
{
    if (!window.testAttribute(Qt::WA_Resized) && window.sizeHint().isValid()) {
        return window.sizeHint();
    }
    return window.size();
}

ControlKind kindOf(const QWidget* w)
{
    if (qobject_cast<const QMenuBar*>(w) || qobject_cast<const QMenu*>(w) || qobject_cast<const QStatusBar*>(w)
        || qobject_cast<const QToolBar*>(w) || qobject_cast<const QSizeGrip*>(w)
        || qobject_cast<const QRubberBand*>(w)) {
        return ControlKind::Menu;
    }
    if (qobject_cast<const DesignPanel*>(w)) {
        return ControlKind::Panel;
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->pixmap().isNull() ? ControlKind::Label : ControlKind::Image;
    }
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w)
        || qobject_cast<const QAbstractSpinBox*>(w)) {
        return ControlKind::TextField;
    }
    if (qobject_cast<const QCheckBox*>(w)) {
        return ControlKind::CheckBox;
    }
    if (qobject_cast<const QRadioButton*>(w)) {
        return ControlKind::OptionButton;
    }
    if (qobject_cast<const QAbstractButton*>(w)) {
        return ControlKind::CommandButton;
    }
    if (qobject_cast<const QComboBox*>(w)) {
        return ControlKind::ComboBox;
    }
    if (qobject_cast<const QTableView*>(w) || qobject_cast<const QTreeView*>(w)) {
        return ControlKind::ListView;
    }
    if (qobject_cast<const QListView*>(w)) {
        return ControlKind::ListBox;
    }
    if (qobject_cast<const QGroupBox*>(w)) {
        return ControlKind::Frame;
    }
    if (w->metaObject() == &QFrame::staticMetaObject) {
        const auto shape = static_cast<const QFrame*>(w)->frameShape();
        return shape == QFrame::HLine || shape == QFrame::VLine ? ControlKind::Line : ControlKind::Frame;
    }
    return ControlKind::Other;
}

// Whether a layout, or one nested in it, places the widget.
bool layoutHolds(const QLayout* layout, const QWidget* widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget || (item->layout() && layoutHolds(item->layout(), widget))) {
            return true;
        }
    }
    return false;
}

struct Control
{
    QWidget* widget;
    ControlKind kind;
    QFont font; // as it was before the window was scaled
    QRect geometry; // likewise
    bool placedByLayout;
    // A list's column widths before the window was scaled: a larger font raises a header's smallest
    // section, which would otherwise widen narrow columns before they are scaled.
    std::vector<int> columnWidths {};
    // Where the panels holding the control stood on the canvas before the window was scaled.
    QPoint panelOffset {};
};

QHeaderView* columnsOf(QWidget* view);

std::vector<int> columnWidthsOf(QWidget* view)
{
    std::vector<int> widths;
    if (QHeaderView* header = columnsOf(view)) {
        for (int i = 0; i < header->count(); ++i) {
            widths.push_back(header->sectionSize(i));
        }
    }
    return widths;
}

// The controls of a window in creation order, down through frames and panels but not into the parts a
// composite control is made of (a table's header, a spin box's text field) nor into other windows.
void collect(QWidget& parent, const QWidget* skipped, std::vector<Control>& out, QPoint panelOffset = {})
{
    for (QObject* child : parent.children()) {
        if (!child->isWidgetType()) {
            continue;
        }
        auto* widget = static_cast<QWidget*>(child);
        if (widget->isWindow() || widget->objectName().startsWith(QLatin1String("qt_"))) {
            continue;
        }
        if (widget == skipped) {
            collect(*widget, nullptr, out);
            continue;
        }
        const ControlKind kind = kindOf(widget);
        out.push_back({ widget, kind, widget->font(), widget->geometry(),
            parent.layout() && layoutHolds(parent.layout(), widget), columnWidthsOf(widget), panelOffset });
        if (kind == ControlKind::Panel) {
            collect(*widget, nullptr, out, panelOffset + widget->pos());
        } else if ((kind == ControlKind::Frame || kind == ControlKind::Other)
            && !qobject_cast<QAbstractScrollArea*>(widget)) {
            collect(*widget, nullptr, out);
        }
    }
}

std::vector<Control> controlsOf(QWidget& window)
{
    // A main window's central widget is only the canvas its controls stand on.
    const auto* main = qobject_cast<QMainWindow*>(&window);
    std::vector<Control> controls;
    collect(window, main ? main->centralWidget() : nullptr, controls);
    return controls;
}

// The size set explicitly even when the factor is 1, so the control no longer follows the window's
// font when that changes.
QFont scaledFont(QFont font, double factor, const QString& family = {})
{
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * factor);
    } else if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * factor)));
    }
    if (!family.isEmpty()) {
        font.setFamily(family);
    }
    return font;
}

QRect scaledRect(const QRect& r, double horizontal, double vertical)
{
    return QRect(qRound(r.x() * horizontal), qRound(r.y() * vertical), qRound(r.width() * horizontal),
        qRound(r.height() * vertical));
}

QHeaderView* columnsOf(QWidget* view)
{
    if (auto* table = qobject_cast<QTableView*>(view)) {
        return table->horizontalHeader();
    }
    if (auto* tree = qobject_cast<QTreeView*>(view)) {
        return tree->header();
    }
    return nullptr;
}

void scaleColumns(QWidget* view, const std::vector<int>& widths, double factor)
{
    QHeaderView* header = columnsOf(view);
    if (!header || factor == 1) {
        return;
    }
    for (int i = 0; i < header->count() && static_cast<std::size_t>(i) < widths.size(); ++i) {
        header->resizeSection(i, qRound(widths[static_cast<std::size_t>(i)] * factor));
    }
}

struct Plan
{
    Plan(LayoutRule r, const QRect& w)
        : rule(r)
        , window(w)
    {
    }

    LayoutRule rule;
    QRect window; // client size, at the window frame's new position
    double horizontal = 1;
    double vertical = 1;
    std::optional<double> windowFont; // nothing: every font stays as it is
    double controlFont = 1;
    double columns = 1;
    QString fontFamily;
    bool keepMarkedColumns = false;
};

Plan planFrom(LayoutRule rule, const LayoutFactors& f, QPoint origin = {})
{
    Plan plan { rule, pixels(f.window, origin) };
    plan.horizontal = f.horizontal;
    plan.vertical = f.vertical;
    plan.windowFont = f.windowFont;
    plan.controlFont = f.controlFont;
    plan.columns = f.columns;
    return plan;
}

// Where a control's panels stand now, the panels having been scaled before their controls.
QPoint scaledPanelOffset(const QWidget* control)
{
    QPoint offset;
    for (const QWidget* panel = control->parentWidget(); qobject_cast<const DesignPanel*>(panel);
         panel = panel->parentWidget()) {
        offset += panel->pos();
    }
    return offset;
}

// A window as it was before a rule changed it. Fonts are read before any changes: a control that inherits
// the window's font would otherwise be scaled twice.
struct WindowState
{
    explicit WindowState(QWidget& window)
        : controls(controlsOf(window))
        , font(window.font())
    {
    }

    std::vector<Control> controls;
    QFont font;
};

// Applies a plan to the window as before records it, whatever was applied to it since.
void apply(QWidget& window, const WindowState& before, const Plan& plan)
{
    window.move(plan.window.topLeft());
    window.resize(plan.window.size());
    if (plan.windowFont) {
        window.setFont(scaledFont(before.font, *plan.windowFont, plan.fontFamily));
    }
    for (const Control& c : before.controls) {
        const ControlScaling scaling = controlScaling(plan.rule, c.kind);
        if (scaling.font) {
            c.widget->setFont(scaledFont(c.font, plan.controlFont, plan.fontFamily));
        } else if (plan.windowFont) {
            // A control the rule leaves alone keeps the font it had.
            c.widget->setFont(scaledFont(c.font, 1));
        }
        if (scaling.geometry && !c.placedByLayout) {
            // A control inside a panel is scaled where it stands on the canvas, so that rounding puts it
            // exactly where it would be as a direct child; its panels have been placed already.
            QRect after = scaledRect(c.geometry.translated(c.panelOffset), plan.horizontal, plan.vertical)
                              .translated(-scaledPanelOffset(c.widget));
            if (scaling.keepHeight) {
                // The height a combo box's font needs, as on the platform it was designed for.
                after.setHeight(std::max(c.geometry.height(), c.widget->sizeHint().height()));
            }
            c.widget->setGeometry(after);
        }
        if (c.kind == ControlKind::ListView
            && !(plan.keepMarkedColumns && c.widget->property(KeepColumnsOnTaskbarResize).toBool())) {
            scaleColumns(c.widget, c.columnWidths, plan.columns);
        }
    }
}

void apply(QWidget& window, const Plan& plan)
{
    apply(window, WindowState(window), plan);
}

// A scaled window given a new client size at a new place of its frame: its controls and the columns of
// its lists move and grow in proportion, all but those marked KeepColumnsOnTaskbarResize; fonts stay.
void resizeScaled(QWidget& window, const TaskbarLayout& f, QPoint origin = {})
{
    Plan plan { LayoutRule::Taskbar, pixels(f.window, origin) };
    plan.horizontal = plan.columns = f.horizontal;
    plan.vertical = f.vertical;
    plan.keepMarkedColumns = true;
    apply(window, plan);
}

QMargins frameMarginsOf(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return { client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
        frame.bottom() - client.bottom() };
}

// Learns the frame the window manager puts around a window, and fits the window again when it differs
// from the frame the window was fitted for. Qt knows the frame only once the window manager has framed
// the window, which it tells with a move or resize of its own; until then Qt reports no frame (X11) or
// one of its own making (offscreen).
class FrameWatcher : public QObject
{
public:
    using Refit = std::function<void(QMargins)>;

    static FrameWatcher& of(QWidget& window)
    {
        if (FrameWatcher* watcher = find(window)) {
            return *watcher;
        }
        return *new FrameWatcher(window);
    }

    static FrameWatcher* find(const QWidget& window)
    {
        for (QObject* child : window.children()) {
            if (auto* watcher = dynamic_cast<FrameWatcher*>(child)) {
                return watcher;
            }
        }
        return nullptr;
    }

    std::optional<QMargins> reported() const
    {
        return m_reported;
    }

    void expect(QMargins assumed, Refit refit)
    {
        m_assumed = assumed;
        m_refit = std::move(refit);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool placedByWindowManager
            = (event->type() == QEvent::Move || event->type() == QEvent::Resize) && event->spontaneous();
        if (watched == &m_window && placedByWindowManager && m_window.isVisible()) {
            const QMargins frame = frameMarginsOf(m_window);
            if (!frame.isNull()) {
                m_reported = frame;
                if (frame != m_assumed && m_refit) {
                    m_assumed = frame;
                    m_refit(frame);
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    explicit FrameWatcher(QWidget& window)
        : QObject(&window)
        , m_window(window)
    {
        window.installEventFilter(this);
    }

    QWidget& m_window;
    std::optional<QMargins> m_reported;
    QMargins m_assumed;
    Refit m_refit;
};

// The frame of the window as the window manager reported it, or else of any window on show: they all
// wear the same.
std::optional<QMargins> reportedFrameOf(const QWidget& window)
{
    if (window.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        return QMargins();
    }
    if (const FrameWatcher* own = FrameWatcher::find(window); own && own->reported()) {
        return own->reported();
    }
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (const FrameWatcher* watcher = FrameWatcher::find(*other);
            watcher && other->isVisible() && watcher->reported()) {
            return watcher->reported();
        }
    }
    return std::nullopt;
}

// Fits a window to its frame now, and again whenever the window manager reports another frame.
void fitToFrame(QWidget& window, QMargins frame, FrameWatcher::Refit fit)
{
    fit(frame);
    FrameWatcher::of(window).expect(frame, std::move(fit));
}

// The main window's frame, not its client area, covers the area the layout gives it. Until the window
// manager reports the frame the client area covers it, which the report then corrects.
void coverWithFrame(QWidget& form, QPoint origin, std::function<TaskbarLayout(Extent client, FrameMargins)> layout)
{
    fitToFrame(form, reportedFrameOf(form).value_or(QMargins()), [&form, origin, layout](QMargins frame) {
        resizeScaled(form, layout(twips(form.size()), twips(frame)), origin);
    });
}

// A window that stands inside the work area allows for the reported frame or else for the style's title
// bar and borders: a guess on the large side costs it a few pixels at most.
QMargins expectedFrameOf(const QWidget& window)
{
    if (const std::optional<QMargins> reported = reportedFrameOf(window)) {
        return *reported;
    }
    const QStyle* style = window.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    return { border, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) + border, border, border };
}

// The smallest size the window's layouts allow at its present fonts.
QSize minimumSizeOf(QWidget& window)
{
    // Controls not yet shown leave their layouts' sizes as they were when their fonts change.
    for (QLayout* layout : window.findChildren<QLayout*>()) {
        layout->invalidate();
    }
    return window.minimumSizeHint().expandedTo(window.minimumSize());
}

// Enough for a layout whose margins and spacing are a large part of it.
constexpr int MaxFittingPasses = 4;

// The dialog, screen and work-area rules end here: the window kept inside the work area with its frame.
// origin is the desktop point the rule's coordinates start from.
void applyInsideWorkArea(
    QWidget& window, LayoutRule rule, const LayoutFactors& placed, const ScreenGeometry& screen, QPoint origin)
{
    const QMargins expected = expectedFrameOf(window);
    const FrameMargins frame = twips(expected);
    const Area workArea = twips(screen.workArea.translated(-origin));
    const WindowState before(window);
    LayoutFactors fitted = keepInsideWorkArea(placed, frame, workArea);
    for (int pass = 1;; ++pass) {
        apply(window, before, planFrom(rule, fitted, origin));
        // A layout's margins and spacing keep their size while its fonts shrink, so it may need more room
        // than the rule gave it: the window is fitted again at the size it needs, about the same centre.
        const QSize needed = window.size().expandedTo(minimumSizeOf(window));
        if (needed == window.size() || pass == MaxFittingPasses) {
            break;
        }
        const Extent grown = twips(needed);
        fitted.window.left -= (grown.width - fitted.window.width) / 2;
        fitted.window.top -= (grown.height - fitted.window.height) / 2;
        fitted.window.width = grown.width;
        fitted.window.height = grown.height;
        fitted = keepInsideWorkArea(fitted, frame, workArea);
    }
    FrameWatcher::of(window).expect(expected, [&window, workArea = screen.workArea](QMargins frame) {
        LayoutFactors shown;
        shown.window = twips(QRect(window.pos(), window.size()));
        const LayoutFactors f = keepInsideWorkArea(shown, twips(frame), twips(workArea));
        resizeScaled(window, { f.window, f.horizontal, f.vertical });
    });
}

} // namespace

QRect designRect(int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    return pixels({ static_cast<double>(leftTwips), static_cast<double>(topTwips), static_cast<double>(widthTwips),
        static_cast<double>(heightTwips) });
}

ScreenGeometry screenGeometryOf(const QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return { screen->geometry().size(), screen->availableGeometry(), screen->geometry().topLeft() };
}

void scaleMainWindow(QWidget& form, const ScreenGeometry& screen)
{
    apply(form, planFrom(LayoutRule::MainWindow, scaleMainWindow(twips(screen.screen)), screen.screenOrigin));
    const Area covered { 0, 0, twips(screen.screen).width, twips(screen.screen).height };
    coverWithFrame(form, screen.screenOrigin,
        [covered](Extent client, FrameMargins frame) { return frameFilling(client, covered, frame); });
}

void scaleDialog(QWidget& dialog, const ScreenGeometry& screen)
{
    applyInsideWorkArea(dialog, LayoutRule::Dialog, scaleDialog(twips(designSizeOf(dialog)), twips(screen.screen)),
        screen, screen.screenOrigin);
}

void scaleByScreenRule(QWidget& window, const ScreenGeometry& screen, bool unlimitedFont)
{
    applyInsideWorkArea(window, LayoutRule::Screen,
        scaleByScreen(twips(designSizeOf(window)), twips(screen.screen), unlimitedFont), screen, screen.screenOrigin);
}

void scaleByWorkAreaRule(QWidget& window, const ScreenGeometry& screen)
{
    // The work area is already in desktop coordinates.
    applyInsideWorkArea(window, LayoutRule::WorkArea,
        scaleByWorkArea(twips(designSizeOf(window)), twips(screen.screen), twips(screen.workArea)), screen, {});
}

void fillWorkArea(QWidget& window, const ScreenGeometry& screen)
{
    fitToFrame(window, reportedFrameOf(window).value_or(QMargins()), [&window, area = screen.workArea](QMargins frame) {
        window.move(area.topLeft());
        window.resize(area.size().shrunkBy(frame));
    });
}

void scaleWindowTo(
    QWidget& window, const QRect& target, QSize design, bool fill, double fontFactor, const QString& fontName)
{
    const FormToLayout f = scaleFormTo(extent(window.frameGeometry().size()), extent(window.size()),
        extent(target.size()), extent(design), fill, fontFactor);
    // The core sizes the outer window; the client area is what Qt resizes.
    const QSize border = window.frameGeometry().size() - window.size();
    Plan plan { LayoutRule::FormTo,
        QRect(target.x() + qRound(f.window.left), target.y() + qRound(f.window.top),
            qRound(f.window.width) - border.width(), qRound(f.window.height) - border.height()) };
    plan.horizontal = f.rW;
    plan.vertical = f.rH;
    plan.windowFont = f.fontScale;
    plan.controlFont = f.fontScale;
    plan.columns = f.rW;
    plan.fontFamily = fontName;
    apply(window, plan);
}

void placeAboveCentre(QWidget& window, const ScreenGeometry& screen)
{
    const QRect place = pixels(liftedCentre(twips(window.size()), twips(screen.screen)), screen.screenOrigin);
    window.move(place.topLeft());
}

void applyFormSize(QWidget& form, int percent, const ScreenGeometry& screen)
{
    form.hide();
    const FormSizeLayout f = formSizeLayout(percent, twips(screen.screen));
    Plan plan { LayoutRule::FormSize, pixels(f.window, screen.screenOrigin) };
    plan.horizontal = plan.vertical = plan.controlFont = plan.columns = f.factor;
    plan.windowFont = f.factor;
    apply(form, plan);
    coverWithFrame(form, screen.screenOrigin,
        [share = f.window](Extent client, FrameMargins frame) { return frameFilling(client, share, frame); });
}

void applyTaskbarOption(QWidget& form, int taskbarSetting, const ScreenGeometry& screen)
{
    form.hide();
    // The top left corner of the area the form fills: with a panel across the top of the screen the work
    // area starts below it.
    const QPoint corner = taskbarSetting == 1 ? screen.workArea.topLeft() : screen.screenOrigin;
    const Extent wholeScreen = twips(screen.screen);
    const Extent workArea = twips(screen.workArea.size());
    coverWithFrame(form, corner, [=](Extent client, FrameMargins frame) {
        return taskbarLayout(taskbarSetting, client, wholeScreen, workArea, frame);
    });
    form.show();
}

namespace {

void scaleHeightsIn(QWidget& parent, const QWidget& canvas, double factor, const QWidget* skipped, int& lowest)
{
    for (QObject* child : parent.children()) {
        if (!child->isWidgetType()) {
            continue;
        }
        auto* widget = static_cast<QWidget*>(child);
        if (widget == skipped || widget->isWindow() || widget->objectName().startsWith(QLatin1String("qt_"))) {
            continue;
        }
        const QRect g = widget->geometry();
        const int top = static_cast<int>(std::lround(g.top() * factor));
        const int bottom = static_cast<int>(std::lround((g.top() + g.height()) * factor));
        widget->setGeometry(g.left(), top, g.width(), bottom - top);
        if (qobject_cast<DesignPanel*>(widget)) {
            scaleHeightsIn(*widget, canvas, factor, skipped, lowest);
        } else if (widget->isVisibleTo(&canvas)) {
            lowest = std::max(lowest, widget->mapTo(&canvas, QPoint(0, widget->height())).y());
        }
    }
}

} // namespace

int scaleHeightsOnCanvas(QWidget& canvas, double factor, const QWidget* skipped)
{
    int lowest = 0;
    scaleHeightsIn(canvas, canvas, factor, skipped, lowest);
    return lowest;
}

} // namespace brindle
