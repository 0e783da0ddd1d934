#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace brindle {

class CwKeyer;
class CwKeyerControl;
class CwKeyerWindow;
class OperatorDialogs;
class ReportCommands;

// The other windows the main window opens from its keys and menus. The windows that stay open beside
// the main window are made on first use and kept until the program ends.
class FeatureWindows : public QObject
{
    Q_OBJECT

public:
    enum class Opening
    {
        Modal, // the main window waits until it is done
        Beside, // the main window goes on working
    };

    FeatureWindows(ReportCommands& reports, CwKeyerControl& cwKeyer, OperatorDialogs& dialogs, QWidget& mainWindow,
        QObject* parent = nullptr);

    // Opens the window of a Ctrl shortcut; false for a key that is no shortcut. The shortcuts of the
    // spectrum map (B), CW setup (C, S), DX spotting (D), rig tune (G), phone keyer (P), rig interface
    // (R) and CW strings (W) are taken, so their letters never reach a field.
    bool openForCtrlKey(int keyCode);
    // The CW keyer window, at its normal size and in front. Only a keyer that keys has one.
    void openCwKeyer(Opening opening);
    // Closes every window kept open beside the main window, in shutdown order.
    void closeAll();

private:
    void finishCwSetup();

    ReportCommands& m_reports;
    // Nothing while no CW keyer is set up.
    CwKeyer* m_cwKeyer;
    OperatorDialogs& m_dialogs;
    QWidget& m_mainWindow;
    QPointer<CwKeyerWindow> m_cwKeyerWindow;
};

} // namespace brindle
