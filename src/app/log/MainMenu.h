#pragma once

#include "log/Bands.h"

#include <QObject>

#include <array>
#include <functional>
#include <string>

class QAction;
class QMenuBar;

namespace brindle {

// The main window's menu bar. Each item runs a command the main window hands over; the menu itself
// only keeps its check marks in step.
class MainMenu : public QObject
{
    Q_OBJECT

public:
    struct Commands
    {
        std::function<void()> newLog;
        std::function<void()> reloadLog;
        std::function<void()> archiveLog;
        std::function<void()> restoreLog;
        std::function<void()> openSummarySheet;
        std::function<void()> exportAdif;
        std::function<void()> copyListToClipboard;
        std::function<void()> exitProgram;
        std::function<void()> askFormSize;
        std::function<void()> toggleTaskbar;
        std::function<void()> chooseGridColours;
        std::function<void(bool)> setListPrevious;
        std::function<void(bool)> setPostContestMode;
        std::function<void()> runStationSetup;
        std::function<void()> chooseSerialPorts;
        std::function<void()> openCwSetup;
        std::function<void()> openPhoneSetup;
        std::function<void()> openRigInterface;
        std::function<void()> openVoiceNavigation;
        std::function<void()> openSpotting;
        std::function<void()> openSpectrumMap;
        std::function<void(const std::string& band)> changeBand;
        std::function<void()> showBandPlan;
        std::function<void()> showRateGraph;
        std::function<void()> showHelp;
    };

    MainMenu(QMenuBar& bar, Commands commands, QObject* parent = nullptr);

    // The check mark on the current band's item, and on no other.
    void checkBand(const std::string& band);
    void setListPrevious(bool on);
    void setTaskbarChecked(bool on);

private:
    void buildFileMenu(QMenuBar& bar);
    void buildOptionsMenu(QMenuBar& bar);
    void buildBandMenu(QMenuBar& bar);

    Commands m_commands;
    QAction* m_listPreviousAction = nullptr;
    QAction* m_postContestAction = nullptr;
    QAction* m_taskbarAction = nullptr;
    std::array<QAction*, BandCount> m_bandActions {};
};

} // namespace brindle
