#pragma once

#include <QObject>

class QWidget;

namespace brindle {

class SessionController;
struct ContestSession;
struct MainWindowServices;
struct ScreenGeometry;

// The Appearance menu's commands on the main window: form size, taskbar, grid colours, and help.
class AppearanceCommands : public QObject
{
    Q_OBJECT

public:
    AppearanceCommands(QWidget& window, ContestSession& session, MainWindowServices& services,
        SessionController& controller, QObject* parent = nullptr);

    void askFormSize();
    void toggleTaskbar();
    void chooseGridColours();
    void showHelp();
    // The window at its share of the screen when that is below 100 %.
    void applyFormSize(const ScreenGeometry& screen);
    // The window at full size fills the work area or the whole screen, as the taskbar setting says.
    void applyTaskbarOption();

signals:
    void taskbarChecked(bool checked);
    // The window changed size: whatever follows its width follows now.
    void windowResized();

private:
    QWidget& m_window;
    ContestSession& m_session;
    MainWindowServices& m_services;
    SessionController& m_controller;
};

} // namespace brindle
