#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace brindle {

class ReportCommands;

// The other windows the main window opens from its keys and menus. The windows that stay open beside
// the main window are kept here in the order they close at shutdown.
class FeatureWindows : public QObject
{
    Q_OBJECT

public:
    FeatureWindows(ReportCommands& reports, QObject* parent = nullptr);

    // Opens the window of a Ctrl shortcut; false for a key that is no shortcut. The shortcuts of the
    // spectrum map (B), CW setup (C, S), DX spotting (D), rig tune (G), phone keyer (P), rig interface
    // (R) and CW strings (W) are taken, so their letters never reach a field.
    bool openForCtrlKey(int keyCode);
    // Closes every window kept open beside the main window, in shutdown order.
    void closeAll();

private:
    ReportCommands& m_reports;
    std::vector<QPointer<QWidget>> m_openWindows;
};

} // namespace brindle
