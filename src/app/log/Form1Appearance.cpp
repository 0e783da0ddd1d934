// The main window's appearance commands, and the report windows it opens.

#include "Form1.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/ContactListModel.h"
#include "reports/AdifExport.h"
#include "reports/BandPlanDialog.h"
#include "reports/RateGraphDialog.h"
#include "reports/SummarySheetDialog.h"
#include "ui/HelpDialog.h"
#include "ui/MultiplierColoursDialog.h"
#include "ui/Scaling.h"

#include <QAction>
#include <QLabel>

namespace brindle {

void MainWindow::applyReducedSize(const ScreenGeometry& screen)
{
    applyFormSize(*this, m_defaults.formSizePercent, screen);
    sizeContactList();
}

void MainWindow::applyTaskbarOptionToWindow()
{
    m_taskbarAction->setChecked(m_defaults.taskbarOption != 0);
    if (m_defaults.formSizePercent != 100) {
        return;
    }
    applyTaskbarOption(*this, m_defaults.taskbarOption, screenGeometryOf(*this));
}

void MainWindow::askFormSize()
{
    const std::optional<QString> answer = m_services.dialogs.inputBox(QStringLiteral("Please enter screen percentage."),
        QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best "
                       "results.  Values below 75 do not display well."),
        QString::number(m_defaults.formSizePercent));
    const std::optional<int> percent = answer ? formSizeFromAnswer(toBytes(*answer)) : std::nullopt;
    if (!percent) {
        m_services.dialogs.message(
            QStringLiteral("Numeric Values Required"), QStringLiteral("Please enter only numeric values."));
        return;
    }
    m_defaults.formSizePercent = static_cast<std::uint8_t>(*percent);
    m_services.dialogs.message(QStringLiteral("For this setting to take effect please restart this program."),
        QStringLiteral("This program must be closed and restarted for this setting to take effect."));
    saveDefaultData();
}

void MainWindow::toggleTaskbar()
{
    if (m_defaults.formSizePercent != 100) {
        m_taskbarAction->setChecked(m_defaults.taskbarOption != 0);
        m_services.dialogs.message(QStringLiteral("Please set your form size to 100% to use this option."),
            QStringLiteral("The form size must be set to 100% to use the taskbar display option."));
        return;
    }
    m_defaults.taskbarOption = m_defaults.taskbarOption == 0 ? 1 : 0;
    saveDefaultData();
    applyTaskbarOptionToWindow();
}

void MainWindow::chooseGridColours()
{
    {
        MultiplierColoursDialog colours(m_defaults.workedColour, m_defaults.remainingColour, m_services.dialogs, this);
        m_services.dialogs.runModal(colours);
        m_defaults.workedColour = colours.worked();
        m_defaults.remainingColour = colours.remaining();
    }
    saveDefaultData();
    reloadLog();
}

void MainWindow::showHelp()
{
    HelpDialog help(m_services.folders.workingDir, m_services.fs, this);
    m_services.dialogs.runModal(help);
}

void MainWindow::openSummarySheet()
{
    SummarySheetDialog summary(m_log.log(), m_defaults, toBytes(m_scoreLabel->text()), m_services.fs,
        m_services.settings, m_services.sharedPreferences, m_services.dialogs, m_services.folders.programDataDir, this);
    m_services.dialogs.runModal(summary);
}

void MainWindow::exportAdif()
{
    brindle::exportAdif(m_log.log(), m_defaults, m_services.folders, m_services.fs, m_services.clock, m_services.dialogs);
}

void MainWindow::copyListToClipboard()
{
    copyListedContacts(m_log.log(), m_contactListModel->records(), m_services.dialogs);
}

void MainWindow::showRateGraph()
{
    RateGraphDialog graph(m_log.log(), m_services.dialogs, this);
    m_services.dialogs.runModal(graph);
}

void MainWindow::showBandPlan()
{
    BandPlanDialog chart(m_services.fs, m_services.folders.workingDir, m_services.dialogs, this);
    m_services.dialogs.runModal(chart);
}

} // namespace brindle
