#include "ReportCommands.h"

#include "common/OperatorDialogs.h"
#include "log/ContestSession.h"
#include "log/MainWindowServices.h"
#include "log/Statistics.h"
#include "reports/AdifExport.h"
#include "reports/BandPlanDialog.h"
#include "reports/ClipboardExport.h"
#include "reports/RateGraphDialog.h"
#include "reports/SummarySheetDialog.h"

#include <string>

namespace brindle {

ReportCommands::ReportCommands(const ContestSession& session, MainWindowServices& services, QWidget& window,
    ListedRecords listedRecords, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_services(services)
    , m_window(window)
    , m_listedRecords(std::move(listedRecords))
{
}

void ReportCommands::openSummarySheet()
{
    const std::string score = std::to_string(scoreSummary(m_session.log.tallies(), m_session.state.currentBand).score);
    SummarySheetDialog summary(m_session.log.log(), m_session.defaults, score, m_services.fs, m_services.settings,
        m_services.sharedPreferences, m_services.dialogs, m_services.folders.programDataDir, &m_window);
    m_services.dialogs.runModal(summary);
}

void ReportCommands::exportAdif()
{
    brindle::exportAdif(m_session.log.log(), m_session.defaults, m_services.folders, m_services.fs, m_services.clock,
        m_services.dialogs);
}

void ReportCommands::copyListToClipboard()
{
    brindle::copyListToClipboard(m_session.log.log(), m_listedRecords(), m_services.dialogs);
}

void ReportCommands::showRateGraph()
{
    RateGraphDialog graph(m_session.log.log(), m_services.dialogs, &m_window);
    m_services.dialogs.runModal(graph);
}

void ReportCommands::showBandPlan()
{
    BandPlanDialog chart(m_services.fs, m_services.folders.workingDir, m_services.dialogs, &m_window);
    m_services.dialogs.runModal(chart);
}

} // namespace brindle
