#include "FeatureWindows.h"

#include "reports/ReportCommands.h"

namespace brindle {

FeatureWindows::FeatureWindows(ReportCommands& reports, QObject* parent)
    : QObject(parent)
    , m_reports(reports)
{
}

bool FeatureWindows::openForCtrlKey(int keyCode)
{
    switch (keyCode) {
    case 'F':
        m_reports.showBandPlan();
        return true;
    case 'B':
    case 'C':
    case 'D':
    case 'G':
    case 'P':
    case 'R':
    case 'S':
    case 'W':
        return true;
    default:
        return false;
    }
}

void FeatureWindows::closeAll()
{
    for (const QPointer<QWidget>& window : m_openWindows) {
        if (window) {
            window->close();
        }
    }
}

} // namespace brindle
