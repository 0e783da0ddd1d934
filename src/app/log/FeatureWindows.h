#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace brindle {

class CwKeyer;
class CwKeyerControl;
class CwKeyerWindow;
class CwMessagesWindow;
class KeyPreview;
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

    // The main window's key preview, made after this: the CW strings window hands its keys to it.
    void useKeyPreview(KeyPreview& keys);

    // Opens the window of a Ctrl shortcut; false for a key that is no shortcut. The shortcuts of the
    // spectrum map (B), CW setup (C, S), DX spotting (D), rig tune (G), phone keyer (P), rig interface
    // (R) and CW strings (W) are taken, so their letters never reach a field.
    bool openForCtrlKey(int keyCode);
    // The CW keyer window, at its normal size and in front. Only a keyer that keys has one.
    void openCwKeyer(Opening opening);
    // The CW strings window, beside the main window: at its normal size and in front, or minimised.
    void openCwMessages(Qt::WindowState state = Qt::WindowNoState);
    // Closes every window kept open beside the main window, in shutdown order.
    void closeAll();

private:
    void finishCwSetup();

    ReportCommands& m_reports;
    // Nothing while no CW keyer is set up.
    CwKeyer* m_cwKeyer;
    OperatorDialogs& m_dialogs;
    QWidget& m_mainWindow;
    KeyPreview* m_keyPreview = nullptr;
    QPointer<CwKeyerWindow> m_cwKeyerWindow;
    QPointer<CwMessagesWindow> m_cwMessagesWindow;
};

} // namespace brindle
