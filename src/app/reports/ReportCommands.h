#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

namespace brindle {

struct ContestSession;
struct MainWindowServices;

// The report windows and exports the main window offers: the Cabrillo summary sheet, ADIF, the
// clipboard copy of the listed contacts, the rate graph and the band plan.
class ReportCommands : public QObject
{
    Q_OBJECT

public:
    using ListedRecords = std::function<std::vector<int>()>;

    ReportCommands(const ContestSession& session, MainWindowServices& services, QWidget& window,
        ListedRecords listedRecords, QObject* parent = nullptr);

    void openSummarySheet();
    void exportAdif();
    void copyListToClipboard();
    void showRateGraph();
    void showBandPlan();

private:
    const ContestSession& m_session;
    MainWindowServices& m_services;
    QWidget& m_window;
    ListedRecords m_listedRecords;
};

} // namespace brindle
