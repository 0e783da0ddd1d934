#include "MainMenu.h"

#include "common/QtText.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace brindle {

namespace {

constexpr std::array<std::string_view, BandCount> BandMenuCaptions = { "1&60", "&80", "&40", "&20", "1&5", "&10" };

QAction* addItem(QMenu* menu, const char* name, const char* caption, const std::function<void()>& command)
{
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, menu, [command] { command(); });
    return action;
}

// Windows that come with the keyers, the rig interface, spotting and voice navigation.
QAction* addLaterItem(QMenu* menu, const char* name, const char* caption)
{
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(false);
    return action;
}

QMenu* addMenu(QMenuBar& bar, const char* name, const char* caption)
{
    QMenu* menu = bar.addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QMenu* addMenu(QMenu* parent, const char* name, const char* caption)
{
    QMenu* menu = parent->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* addBarItem(QMenuBar& bar, const char* name, const char* caption, const std::function<void()>& command)
{
    QAction* action = bar.addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, &bar, [command] { command(); });
    return action;
}

} // namespace

MainMenu::MainMenu(QMenuBar& bar, Commands commands, QObject* parent)
    : QObject(parent)
    , m_commands(std::move(commands))
{
    buildFileMenu(bar);
    buildOptionsMenu(bar);
    addBarItem(bar, "stationSetupAction", "&Setup", m_commands.runStationSetup);
    buildBandMenu(bar);
    addBarItem(bar, "graphAction", "&Graph", m_commands.showRateGraph);
    addBarItem(bar, "helpAction", "&Help", m_commands.showHelp);
}

void MainMenu::buildFileMenu(QMenuBar& bar)
{
    QMenu* file = addMenu(bar, "fileMenu", "&File");
    addItem(file, "newLogAction", "&New", m_commands.newLog);
    // Reloading by hand, printing and the export to a general logging program are not offered.
    addItem(file, "reloadLogAction", "Open", m_commands.reloadLog)->setVisible(false);
    addLaterItem(file, "printAction", "Print")->setVisible(false);
    file->addSeparator();
    addItem(file, "archiveLogAction", "Archive Current &Log", m_commands.archiveLog);
    file->addSeparator();
    addItem(file, "restoreLogAction", "&Restore from Archive or Backup", m_commands.restoreLog);
    file->addSeparator();
    addItem(file, "writeCabrilloAction", "&Write Cabrillo File", m_commands.openSummarySheet);
    file->addSeparator();
    addLaterItem(file, "exportGeneralAction", "Export")->setVisible(false);
    addItem(file, "exportAdifAction", "Export &ADIF", m_commands.exportAdif);
    file->addSeparator();
    addItem(file, "copyListAction", "&Copy Listed Items to Clipboard", m_commands.copyListToClipboard);
    file->addSeparator();
    addItem(file, "exitAction", "E&xit", m_commands.exitProgram);
}

void MainMenu::buildOptionsMenu(QMenuBar& bar)
{
    QMenu* options = addMenu(bar, "optionsMenu", "&Options");
    QMenu* transmit = addMenu(options, "transmitMenu", "&Transmit");
    addItem(transmit, "cwSetupAction", "&CW Setup", m_commands.openCwSetup);
    addItem(transmit, "phoneSetupAction", "&Phone Setup", m_commands.openPhoneSetup);
    options->addSeparator();
    QMenu* appearance = addMenu(options, "appearanceMenu", "&Appearance");
    addItem(appearance, "formSizeAction", "&Form Size", m_commands.askFormSize);
    m_taskbarAction = addItem(appearance, "taskbarAction", "&Taskbar", m_commands.toggleTaskbar);
    m_taskbarAction->setCheckable(true);
    addItem(appearance, "coloursAction", "&Colors", m_commands.chooseGridColours);
    options->addSeparator();
    addItem(options, "rigInterfaceAction", "&Rig Interface", m_commands.openRigInterface);
    addItem(options, "serialPortsAction", "&Serial Ports...", m_commands.chooseSerialPorts);
    options->addSeparator();
    QMenu* spotting = addMenu(options, "spottingMenu", "&DX Spotting");
    addItem(spotting, "spottingAction", "&Configure", m_commands.openSpotting);
    addItem(spotting, "spectrumMapAction", "&View Spectrum Map", m_commands.openSpectrumMap);
    options->addSeparator();
    addItem(options, "voiceNavigationAction", "&Voice Navigation", m_commands.openVoiceNavigation);
    options->addSeparator();
    m_listPreviousAction = addItem(options, "listPreviousAction", "&List Previous Contacts",
        [this] { m_commands.setListPrevious(m_listPreviousAction->isChecked()); });
    m_listPreviousAction->setCheckable(true);
    options->addSeparator();
    // Contacts entered after the contest carry the date and time they were made.
    m_postContestAction = addItem(options, "postContestAction", "&Post Contest Mode",
        [this] { m_commands.setPostContestMode(m_postContestAction->isChecked()); });
    m_postContestAction->setCheckable(true);
}

void MainMenu::buildBandMenu(QMenuBar& bar)
{
    QMenu* band = addMenu(bar, "bandMenu", "&Band");
    for (std::size_t i = 0; i < BandCount; ++i) {
        const std::string code(BandCodes[i]);
        m_bandActions[i] = addItem(band, ("bandAction_" + code).c_str(), std::string(BandMenuCaptions[i]).c_str(),
            [this, code] { m_commands.changeBand(code); });
        m_bandActions[i]->setCheckable(true);
    }
    band->addSeparator();
    addItem(band, "privilegesAction", "&Privileges", m_commands.showBandPlan);
}

void MainMenu::checkBand(const std::string& band)
{
    const auto current = bandIndex(band);
    for (std::size_t i = 0; i < BandCount; ++i) {
        m_bandActions[i]->setChecked(current && *current == i);
    }
}

void MainMenu::setListPrevious(bool on)
{
    m_listPreviousAction->setChecked(on);
}

void MainMenu::setTaskbarChecked(bool on)
{
    m_taskbarAction->setChecked(on);
}

} // namespace brindle
