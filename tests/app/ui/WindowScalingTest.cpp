#include "ui/WindowScaling.h"

#include "ui/DesignPanel.h"

#include "support/QtPrinters.h"
#include "support/WindowManager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace brindle {
namespace {

// Screens in pixels of 15 twips: 1280 × 960 is twice the design canvas each way, 1280 × 720 twice across
// and one and a half down.
ScreenGeometry screenOf(int width, int height, QRect workArea = {})
{
    return { QSize(width, height), workArea.isNull() ? QRect(0, 0, width, height) : workArea };
}

QTableView* table(QWidget* parent, const char* name, QRect geometry)
{
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    auto* model = new QStandardItemModel(2, 3, view);
    view->setModel(model);
    view->setGeometry(geometry);
    view->horizontalHeader()->setStretchLastSection(false);
    view->setColumnWidth(0, 40);
    view->setColumnWidth(1, 60);
    view->setColumnWidth(2, 100);
    return view;
}

// Where the window's frame stands, with the size of its client area: what the rules set.
QRect placed(const QWidget& window)
{
    return QRect(window.frameGeometry().topLeft(), window.size());
}

std::vector<int> columnWidths(QTableView* view)
{
    std::vector<int> widths;
    for (int i = 0; i < view->model()->columnCount(); ++i) {
        widths.push_back(view->columnWidth(i));
    }
    return widths;
}

// A window built on the design canvas: absolutely placed controls of several kinds, and a panel whose
// label a layout places. The window and most controls use the window's 8-point font; the button has a
// pixel-sized font of its own.
struct DesignWindow
{
    explicit DesignWindow(QWidget& w)
        : window(w)
    {
        window.setFont(QFont(QStringLiteral("Sans"), 8));
        window.resize(320, 240);
        label = new QLabel(QStringLiteral("Call"), &window);
        label->setGeometry(15, 30, 100, 20);
        button = new QPushButton(QStringLiteral("Done"), &window);
        button->setGeometry(150, 100, 80, 30);
        QFont pixelFont = button->font();
        pixelFont.setPixelSize(12);
        button->setFont(pixelFont);
        check = new QCheckBox(QStringLiteral("Spot"), &window);
        check->setGeometry(20, 150, 100, 20);
        combo = new QComboBox(&window);
        combo->addItem(QStringLiteral("CW"));
        combo->setGeometry(20, 200, 120, 24);
        line = new QFrame(&window);
        line->setFrameShape(QFrame::HLine);
        line->setGeometry(0, 180, 320, 4);
        panel = new QWidget(&window);
        panel->setGeometry(160, 150, 150, 80);
        auto* layout = new QVBoxLayout(panel);
        inner = new QLabel(QStringLiteral("Inside"), panel);
        layout->addWidget(inner);
        list = table(&window, "contactList", QRect(10, 60, 300, 30));
        list->setProperty(KeepColumnsOnTaskbarResize, true);
    }

    QWidget& window;
    QLabel* label;
    QPushButton* button;
    QCheckBox* check;
    QComboBox* combo;
    QFrame* line;
    QWidget* panel;
    QLabel* inner;
    QTableView* list;
};

TEST(WindowScaling, narrowColumnsScaleFromTheirOwnWidthWhenTheFontGrowsPastThem)
{
    // Three times the canvas: the larger font raises the header's smallest section above 40 pixels.
    QWidget window;
    DesignWindow d(window);
    scaleMainWindow(window, screenOf(1920, 1440));
    EXPECT_EQ(columnWidths(d.list), (std::vector<int> { 120, 180, 300 }));
}

TEST(WindowScaling, mainFormOnAScreenTwiceTheCanvasDoublesControlsFontsAndColumns)
{
    QWidget window;
    DesignWindow d(window);
    const QRect innerPlace = d.inner->geometry();
    scaleMainWindow(window, screenOf(1280, 960));

    EXPECT_EQ(placed(window), QRect(0, 0, 1280, 960));
    EXPECT_EQ(d.label->geometry(), QRect(30, 60, 200, 40));
    EXPECT_EQ(d.button->geometry(), QRect(300, 200, 160, 60));
    EXPECT_EQ(d.line->geometry(), QRect(0, 360, 640, 8));
    EXPECT_EQ(d.list->geometry(), QRect(20, 120, 600, 60));
    EXPECT_EQ(window.font().pointSizeF(), 16);
    EXPECT_EQ(d.label->font().pointSizeF(), 16);
    EXPECT_EQ(d.button->font().pixelSize(), 24);
    EXPECT_EQ(columnWidths(d.list), (std::vector<int> { 80, 120, 200 }));
    // A label placed by a layout keeps the layout's place but takes the scaled font.
    EXPECT_EQ(d.inner->geometry(), innerPlace);
    EXPECT_EQ(d.inner->font().pointSizeF(), 16);
    // The main window leaves check boxes, combo boxes and panels as they were, fonts included.
    EXPECT_EQ(d.check->geometry(), QRect(20, 150, 100, 20));
    EXPECT_EQ(d.check->font().pointSizeF(), 8);
    EXPECT_EQ(d.combo->geometry(), QRect(20, 200, 120, 24));
    EXPECT_EQ(d.panel->geometry(), QRect(160, 150, 150, 80));
}

TEST(WindowScaling, mainFormOnAWideScreenStretchesAcrossAndScalesControlFontsByTheSmallerFactor)
{
    QWidget window;
    DesignWindow d(window);
    scaleMainWindow(window, screenOf(1280, 720));

    EXPECT_EQ(placed(window), QRect(0, 0, 1280, 720));
    EXPECT_EQ(d.label->geometry(), QRect(30, 45, 200, 30));
    EXPECT_EQ(d.label->font().pointSizeF(), 12); // 8 × 1.5, not the window's 8 × 2 scaled again
    EXPECT_EQ(window.font().pointSizeF(), 16);
    EXPECT_EQ(columnWidths(d.list), (std::vector<int> { 80, 120, 200 }));
}

TEST(WindowScaling, aMainWindowsMenuBarAndCentralWidgetAreLeftToQt)
{
    QMainWindow window;
    auto* central = new QWidget(&window);
    window.setCentralWidget(central);
    auto* menu = window.menuBar();
    menu->addMenu(QStringLiteral("&File"));
    window.setFont(QFont(QStringLiteral("Sans"), 8));
    auto* label = new QLabel(QStringLiteral("Call"), central);
    label->setGeometry(10, 20, 50, 20);
    window.resize(640, 480);

    scaleMainWindow(window, screenOf(1280, 960));
    EXPECT_EQ(label->geometry(), QRect(20, 40, 100, 40));
    EXPECT_EQ(label->font().pointSizeF(), 16);
    EXPECT_EQ(menu->font().pointSizeF(), 8);
}

TEST(WindowScaling, dialogOnTheDesignScreenKeepsItsSizeAndStandsAboveTheCentre)
{
    QWidget window;
    DesignWindow d(window);
    scaleDialog(window, screenOf(640, 480));

    // 170 twips are 11⅓ pixels: the top is 120 − 11⅓.
    EXPECT_EQ(placed(window), QRect(160, 109, 320, 240));
    EXPECT_EQ(d.label->geometry(), QRect(15, 30, 100, 20));
    EXPECT_EQ(d.label->font().pointSizeF(), 8);
}

TEST(WindowScaling, dialogGrowsWithTheScreenAndScalesItsCheckBoxesButNotItsComboBoxHeights)
{
    QWidget window;
    DesignWindow d(window);
    scaleDialog(window, screenOf(1280, 720));

    // 640 × 360 on the 1280 × 720 screen, centred across and 11 pixels above the middle.
    EXPECT_EQ(placed(window), QRect(320, 169, 640, 360));
    EXPECT_EQ(d.check->geometry(), QRect(40, 225, 200, 30));
    EXPECT_EQ(d.check->font().pointSizeF(), 12);
    EXPECT_EQ(window.font().pointSizeF(), 12); // × screen height / 7,200
    EXPECT_EQ(d.combo->x(), 40);
    EXPECT_EQ(d.combo->width(), 240);
    EXPECT_LT(d.combo->height(), 36);
    EXPECT_GE(d.combo->height(), d.combo->sizeHint().height());
    EXPECT_EQ(columnWidths(d.list), (std::vector<int> { 80, 120, 200 }));
}

TEST(WindowScaling, aDialogTheRuleWouldMakeAsLargeAsTheScreenShrinksInsideItFrameAndAll)
{
    // A window built on the whole canvas grows to the whole screen under the dialog rule.
    QWidget window;
    DesignWindow d(window);
    window.resize(DesignCanvas);
    scaleDialog(window, screenOf(1280, 960, QRect(0, 40, 1280, 920)));
    window.show();

    EXPECT_TRUE(QRect(0, 40, 1280, 920).contains(window.frameGeometry()))
        << testing::PrintToString(window.frameGeometry());
    // Everything shrinks by the same factor, fonts included.
    const double shrink = window.height() / 960.0;
    EXPECT_LT(shrink, 1);
    EXPECT_NEAR(window.width(), 1280 * shrink, 1);
    EXPECT_NEAR(d.label->width(), 200 * shrink, 1);
    EXPECT_NEAR(d.label->font().pointSizeF(), 16 * shrink, 0.01);
}

TEST(WindowScaling, aDialogLaidOutByQtTakesItsSizeHintAsItsDesignSize)
{
    QDialog dialog;
    dialog.setFont(QFont(QStringLiteral("Sans"), 8));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(QStringLiteral("Callsign"), &dialog);
    auto* field = new QLineEdit(&dialog);
    layout->addWidget(label);
    layout->addWidget(field);
    const QSize design = dialog.sizeHint();

    scaleDialog(dialog, screenOf(1280, 720));
    EXPECT_EQ(dialog.size(), QSize(design.width() * 2, qRound(design.height() * 1.5)));
    EXPECT_EQ(label->font().pointSizeF(), 12);
    EXPECT_EQ(field->font().pointSizeF(), 12);
}

TEST(WindowScaling, screenRuleCapsControlFontsAtOneAndAHalfUnlessUnlimited)
{
    for (const bool unlimited : { false, true }) {
        SCOPED_TRACE(unlimited);
        QWidget window;
        DesignWindow d(window);
        scaleByScreenRule(window, screenOf(1280, 960), unlimited);

        EXPECT_EQ(placed(window), QRect(320, 240, 640, 480)); // centred, not lifted
        EXPECT_EQ(d.check->geometry(), QRect(40, 300, 200, 40));
        EXPECT_EQ(d.label->font().pointSizeF(), unlimited ? 16 : 12);
        EXPECT_EQ(d.check->font().pointSizeF(), unlimited ? 16 : 12);
        // Panels are no control of the screen rule; list columns are not scaled by it.
        EXPECT_EQ(d.panel->geometry(), QRect(160, 150, 150, 80));
        EXPECT_EQ(columnWidths(d.list), (std::vector<int> { 40, 60, 100 }));
    }
}

TEST(WindowScaling, workAreaRuleGrowsToTheWorkAreaAndScalesEveryControlWithTheWindow)
{
    QWidget window;
    DesignWindow d(window);
    // A panel 40 pixels high across the top of the screen.
    scaleByWorkAreaRule(window, screenOf(1280, 960, QRect(0, 40, 1280, 920)));

    EXPECT_EQ(placed(window), QRect(320, 270, 640, 460));
    const double vertical = 460.0 / 240;
    EXPECT_EQ(d.panel->geometry(), QRect(320, qRound(150 * vertical), 300, qRound(80 * vertical)));
    EXPECT_EQ(d.label->font().pointSizeF(), 12);
    EXPECT_EQ(d.panel->font().pointSizeF(), 12);
    EXPECT_EQ(window.font().pointSizeF(), 8); // × new window width / 9,600
}

TEST(WindowScaling, scaleFormToKeepsTheWindowsShareOfTheCanvasAndDampsFonts)
{
    for (const double fontFactor : { 1.0, 0.5 }) {
        SCOPED_TRACE(fontFactor);
        QWidget window;
        DesignWindow d(window);
        scaleWindowTo(window, QRect(0, 0, 1280, 960), DesignCanvas, false, fontFactor, QStringLiteral("Arial"));

        EXPECT_EQ(placed(window), QRect(320, 240, 640, 480));
        EXPECT_EQ(d.check->geometry(), QRect(40, 300, 200, 40));
        const double expected = fontFactor == 1.0 ? 16 : 12;
        EXPECT_EQ(window.font().pointSizeF(), expected);
        EXPECT_EQ(d.label->font().pointSizeF(), expected);
        EXPECT_EQ(d.label->font().family(), "Arial");
        EXPECT_EQ(columnWidths(d.list), (std::vector<int> { 80, 120, 200 }));
    }
}

TEST(WindowScaling, formSizeShrinksTheScaledMainFormAndItsFontsAndColumns)
{
    QWidget window;
    DesignWindow d(window);
    window.show();
    scaleMainWindow(window, screenOf(1280, 960));
    applyFormSize(window, 90, screenOf(1280, 960));

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(placed(window), QRect(64, 48, 1152, 864));
    EXPECT_EQ(d.label->geometry(), QRect(27, 54, 180, 36));
    EXPECT_EQ(d.label->font().pointSizeF(), 16 * 0.9);
    EXPECT_EQ(window.font().pointSizeF(), 16 * 0.9);
    EXPECT_EQ(columnWidths(d.list), (std::vector<int> { 72, 108, 180 }));
    EXPECT_EQ(d.check->font().pointSizeF(), 8);
}

TEST(WindowScaling, taskbarOptionFitsTheWorkAreaOrTheScreenKeepingFontsAndTheContactListsColumns)
{
    QWidget window;
    DesignWindow d(window);
    QTableView* spots = table(&window, "spotList", QRect(10, 100, 200, 40));
    // A panel 100 pixels wide down the left of the screen.
    const ScreenGeometry screen = screenOf(1280, 960, QRect(100, 0, 1180, 960));
    scaleMainWindow(window, screen);

    applyTaskbarOption(window, 1, screen);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(placed(window), QRect(100, 0, 1180, 960));
    const double across = 1180.0 / 1280;
    EXPECT_EQ(d.label->geometry(), QRect(qRound(30 * across), 60, qRound(200 * across), 40));
    EXPECT_EQ(d.label->font().pointSizeF(), 16);
    EXPECT_EQ(columnWidths(d.list), (std::vector<int> { 80, 120, 200 }));
    EXPECT_EQ(columnWidths(spots), (std::vector<int> { qRound(80 * across), qRound(120 * across), 184 }));

    applyTaskbarOption(window, 0, screen);
    EXPECT_EQ(placed(window), QRect(0, 0, 1280, 960));
    EXPECT_EQ(columnWidths(d.list), (std::vector<int> { 80, 120, 200 }));
}

TEST(WindowScaling, theMainWindowsFrameCoversItsAreaOnceTheWindowManagerReportsIt)
{
    QWidget window;
    DesignWindow d(window);
    // A panel 100 pixels wide down the left of the screen.
    const ScreenGeometry screen = screenOf(1280, 960, QRect(100, 0, 1180, 960));
    scaleMainWindow(window, screen);
    window.show();
    test::reportFrame(window);

    EXPECT_EQ(window.frameGeometry(), QRect(0, 0, 1280, 960));
    // The controls make room for the frame; their fonts stay.
    const QSize client = window.size();
    EXPECT_LT(client.width(), 1280);
    EXPECT_LT(client.height(), 960);
    EXPECT_EQ(d.label->geometry(),
        QRect(qRound(30.0 * client.width() / 1280), qRound(60.0 * client.height() / 960),
            qRound(200.0 * client.width() / 1280), qRound(40.0 * client.height() / 960)));
    EXPECT_EQ(d.label->font().pointSizeF(), 16);

    // The frame being known, the taskbar option fits it at once.
    applyTaskbarOption(window, 1, screen);
    EXPECT_EQ(window.frameGeometry(), QRect(100, 0, 1180, 960));
    applyTaskbarOption(window, 0, screen);
    EXPECT_EQ(window.frameGeometry(), QRect(0, 0, 1280, 960));
}

// A main window built on the design canvas with the same label twice: once as a direct child of the
// canvas, once inside a panel that starts part-way down and across it.
struct PanelWindow
{
    PanelWindow()
    {
        window.setCentralWidget(new QWidget(&window));
        window.setFont(QFont(QStringLiteral("Sans"), 8));
        window.resize(DesignCanvas);
        direct = new QLabel(QStringLiteral("Direct"), window.centralWidget());
        direct->setGeometry(LabelRect);
        panel = new DesignPanel(window.centralWidget(), QRect(30, 100, 320, 200));
        inside = panel->addLabel(
            "inside", QStringLiteral("Inside"), LabelRect.x(), LabelRect.y(), LabelRect.width(), LabelRect.height());
    }

    // Where the panel's label stands on the canvas.
    QRect insideOnCanvas() const
    {
        return QRect(inside->mapTo(window.centralWidget(), QPoint(0, 0)), inside->size());
    }

    static constexpr QRect LabelRect { 45, 157, 101, 23 };
    QMainWindow window;
    QLabel* direct;
    DesignPanel* panel;
    QLabel* inside;
};

TEST(WindowScaling, aControlInsideAPanelLandsWhereItWouldAsADirectChildUnderEveryRule)
{
    const ScreenGeometry twice = screenOf(1280, 960, QRect(0, 40, 1280, 920));
    const struct
    {
        const char* rule;
        std::function<void(QMainWindow&)> scale;
    } cases[] = {
        { "main window", [&](QMainWindow& w) { scaleMainWindow(w, twice); } },
        { "form size 80",
            [&](QMainWindow& w) {
                scaleMainWindow(w, twice);
                applyFormSize(w, 80, twice);
            } },
        { "taskbar",
            [&](QMainWindow& w) {
                scaleMainWindow(w, twice);
                applyTaskbarOption(w, 1, twice);
            } },
        { "dialog", [&](QMainWindow& w) { scaleDialog(w, screenOf(1280, 720)); } },
        { "screen", [&](QMainWindow& w) { scaleByScreenRule(w, twice); } },
        { "work area", [&](QMainWindow& w) { scaleByWorkAreaRule(w, twice); } },
        { "form to",
            [&](QMainWindow& w) { scaleWindowTo(w, QRect(0, 0, 1280, 960), DesignCanvas, true, 1.0, QString()); } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        PanelWindow p;
        c.scale(p.window);
        EXPECT_NE(p.direct->geometry(), PanelWindow::LabelRect) << "the rule should have moved the label";
        EXPECT_EQ(p.insideOnCanvas(), p.direct->geometry());
        EXPECT_EQ(p.inside->font(), p.direct->font());
    }
}

TEST(WindowScaling, designRectConvertsTwipsToDesignPixels)
{
    EXPECT_EQ(designRect(120, 240, 9600, 7200), QRect(8, 16, 640, 480));
    EXPECT_EQ(DesignCanvas, QSize(640, 480));
}

} // namespace
} // namespace brindle
