#include "MainWindow.h"

#include "common/OperatorDialogs.h"
#include "common/ProgramTitle.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "keying/KeyerControls.h"
#include "log/ContactListPanel.h"
#include "log/ContactLogger.h"
#include "log/DupeChecker.h"
#include "log/DupePanel.h"
#include "log/EntryPanel.h"
#include "log/FeatureWindows.h"
#include "log/LogFileCommands.h"
#include "log/MainKeyPreview.h"
#include "log/MainMenu.h"
#include "log/MultiplierGridPanel.h"
#include "log/ScorePanel.h"
#include "log/SessionController.h"
#include "log/Statistics.h"
#include "log/StatusPanel.h"
#include "reports/ReportCommands.h"
#include "rig/RigCommands.h"
#include "rig/RigControl.h"
#include "serial/SerialPortsDialog.h"
#include "spots/SpectrumMapDialog.h"
#include "spots/SpotFeed.h"
#include "spots/SpotPanel.h"
#include "spots/SpotsModel.h"
#include "station/StationSetupDialog.h"
#include "ui/AppearanceCommands.h"
#include "ui/KeyRouting.h"
#include "ui/MessageLine.h"
#include "ui/StorableText.h"
#include "ui/WindowScaling.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QShowEvent>
#include <QTimer>

namespace brindle {

MainWindowKeyers::MainWindowKeyers()
    : cw(std::make_unique<NoCwKeyer>())
    , phone(std::make_unique<NoPhoneKeyer>())
    , voice(std::make_unique<SilentVoicePrompts>())
    , rig(std::make_unique<NoRigControl>())
{
}

MainWindowKeyers::MainWindowKeyers(MainWindowKeyers&&) noexcept = default;
MainWindowKeyers::~MainWindowKeyers() = default;

MainWindow::MainWindow(MainWindowServices services, MainWindowKeyers keyers, QWidget* parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
    , m_session(m_services.fs, joinPath(m_services.folders.workingDir, WorkingLog::FileName))
    , m_keyers(std::move(keyers))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(toQString(mainWindowTitle()));
    buildParts();
    connectParts();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildParts()
{
    auto* canvas = new QWidget(this);
    setCentralWidget(canvas);
    resize(DesignCanvas);

    m_controller = new SessionController(m_session, m_services, this);
    m_logFiles = new LogFileCommands(m_session, m_services, *m_controller, this);
    m_appearance = new AppearanceCommands(*this, m_session, m_services, *m_controller, this);
    m_reports = new ReportCommands(
        m_session, m_services, *this, [this] { return m_contactListPanel->listedRecords(); }, this);
    m_features = new FeatureWindows(*m_reports, *m_keyers.cw, *m_keyers.phone, m_services.dialogs, *this, this);

    m_messageLabel = new QLabel(canvas);
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    m_messageLabel->setGeometry(8, 80, 624, 18);
    m_messageLabel->setIndent(4);
    m_messages = std::make_unique<MessageLine>(m_messageLabel);
    m_dupeChecker
        = new DupeChecker(m_session, m_services.clock, m_services.dialogs, *m_messages, *m_keyers.voice, this);
    m_keyers.cw->attach(m_session);
    m_keyers.phone->attach(m_session);
    m_keyers.voice->attach(m_session);
    m_features->useVoiceNavigation(*m_keyers.voice, m_services.clock, [this](VoiceNavLevel level) {
        m_session.defaults.voiceNavLevel = static_cast<std::uint8_t>(level);
        m_controller->saveDefaultData();
    });
    m_keyPreview = new MainKeyPreview(
        m_session, m_services.folders.workingDir, *m_keyers.cw, *m_keyers.phone, *m_features, *m_messages, this);
    m_features->useKeyPreview(*m_keyPreview);
    m_features->useSpectrumMap([this] { openSpectrumMap(); });
    m_features->useRigInterface(*m_keyers.rig, [this](const std::string& rigName) {
        m_session.defaults.rigName = rigName;
        m_controller->saveDefaultData();
    });
    if (m_keyers.spots) {
        SpottingWindow::Hooks hooks;
        hooks.ownCall = [this] { return m_session.defaults.ownCall; };
        hooks.lastLoggedCall = [this] {
            const std::vector<QsoRecord>& records = m_session.log.log().records();
            return records.empty() ? std::string() : records.back().call;
        };
        hooks.savePreferences = [this] { m_controller->saveDefaultData(); };
        m_features->useSpotFeed(*m_keyers.spots, std::move(hooks));
    }
    m_keys = new KeyRouter(this, m_keyPreview);
    m_keys->holdKeysWith(m_dupeChecker->keyHold());

    // Created in the order the Tab key visits them.
    m_statusPanel = new StatusPanel(canvas);
    m_entryPanel = new EntryPanel(canvas, m_session, m_services, *m_keys, *m_dupeChecker, *m_messages, *m_keyers.voice);
    m_logger = new ContactLogger(m_session, m_services, *m_entryPanel, *m_controller, *m_messages, this);
    m_scorePanel = new ScorePanel(canvas, m_session, m_services.clock, *m_controller, *m_messages);
    m_dupePanel = new DupePanel(canvas);
    m_contactListPanel = new ContactListPanel(canvas, m_session, m_services.dialogs, *m_controller);
    m_gridPanel = new MultiplierGridPanel(canvas);
    buildSpotParts(canvas);
    m_menu = buildMenu();

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(1'000);
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::tickClocks);

    // Function keys and Esc work wherever the focus is.
    m_keys->previewFocusable(canvas);
    refuseUnstorableText(*canvas, m_services.dialogs);
}

void MainWindow::buildSpotParts(QWidget* canvas)
{
    SpotsModel::Context spots;
    spots.ownCall = [this] { return m_session.defaults.ownCall; };
    spots.countries = [this]() -> const CountryTable& { return m_session.countries; };
    spots.worked = [this](const std::string& call, const std::string& band) {
        return workedOnBand(m_session.log.log(), m_session.log.calls(), call, band);
    };
    m_spots = new SpotsModel(m_services.clock, std::move(spots), this);
    SpotPanel::Context strip;
    strip.band = [this] { return m_session.state.currentBand; };
    strip.utcHours = [this] { return static_cast<double>(m_session.defaults.utcOffsetHours); };
    // Last of the window's parts: Tab reaches the spots after the entry and the lists.
    m_spotPanel = new SpotPanel(canvas, *m_spots, m_services.clock, std::move(strip));
}

MainMenu* MainWindow::buildMenu()
{
    MainMenu::Commands commands;
    commands.newLog = [this] { newLog(); };
    commands.reloadLog = [this] { reloadLog(); };
    commands.archiveLog = [this] { archiveLog(); };
    commands.restoreLog = [this] { restoreLog(); };
    commands.openSummarySheet = [this] { m_reports->openSummarySheet(); };
    commands.exportAdif = [this] { m_reports->exportAdif(); };
    commands.copyListToClipboard = [this] { m_reports->copyListToClipboard(); };
    commands.exitProgram = [this] { exitProgram(); };
    commands.askFormSize = [this] { m_appearance->askFormSize(); };
    commands.toggleTaskbar = [this] { m_appearance->toggleTaskbar(); };
    commands.chooseGridColours = [this] { m_appearance->chooseGridColours(); };
    commands.setListPrevious = [this](bool on) { m_controller->setListPrevious(on); };
    commands.setPostContestMode = [this](bool on) {
        m_controller->setPostContestMode(on);
        m_entryPanel->showPostContestFields(on);
    };
    commands.runStationSetup = [this] { runStationSetup(); };
    commands.chooseSerialPorts = [this] { chooseSerialPorts(); };
    commands.openCwSetup = [this] { m_features->openCwKeyer(FeatureWindows::Opening::Modal); };
    commands.openPhoneSetup = [this] { m_features->openPhoneKeyer(FeatureWindows::Opening::Modal); };
    commands.openVoiceNavigation = [this] { m_features->openVoiceNavigation(); };
    commands.openRigInterface = [this] { m_features->openRigInterface(FeatureWindows::Opening::Beside); };
    commands.openSpotting = [this] { m_features->openSpotting(); };
    commands.openSpectrumMap = [this] { openSpectrumMap(); };
    commands.changeBand = [this](const std::string& band) { changeBand(band); };
    commands.showBandPlan = [this] { m_reports->showBandPlan(); };
    commands.showRateGraph = [this] { m_reports->showRateGraph(); };
    commands.showHelp = [this] { m_appearance->showHelp(); };
    return new MainMenu(*menuBar(), std::move(commands), this);
}

// Same thread, direct connections: each signal's slots run in the order they are connected here, which
// is the order of the steps they stand for.
void MainWindow::connectParts()
{
    const SessionController* controller = m_controller;
    connect(controller, &SessionController::settingsLoaded, this, [this] {
        m_menu->setListPrevious(m_session.state.listPreviousContacts);
        m_gridPanel->showAllRemaining(m_session.defaults.remainingColour);
    });
    connect(controller, &SessionController::logReloaded, this, [this] {
        m_contactListPanel->refreshContactList();
        m_scorePanel->showRates();
        m_scorePanel->showScore();
        m_gridPanel->showAllRemaining(m_session.defaults.remainingColour);
        m_gridPanel->paintGrid(m_session.log.tallies(), m_session.state.currentBand, m_session.defaults.workedColour);
    });
    connect(controller, &SessionController::bandChanged, m_statusPanel, &StatusPanel::showBand);
    connect(
        controller, &SessionController::bandChanged, this, [this] { m_menu->checkBand(m_session.state.currentBand); });
    connect(controller, &SessionController::bandChanged, m_entryPanel, &EntryPanel::followBand);
    connect(controller, &SessionController::endRequested, this, &MainWindow::endProgram);

    connect(m_logger, &ContactLogger::clockNeeded, m_scorePanel, &ScorePanel::startOperatingClock);
    connect(m_logger, &ContactLogger::contactLogged, m_contactListPanel, &ContactListPanel::refreshContactList);
    connect(m_logger, &ContactLogger::contactLogged, this, [this](const QsoRecord& record) {
        m_gridPanel->countNewContact(record, m_session.state.currentBand, m_session.defaults.workedColour);
    });
    connect(m_logger, &ContactLogger::contactAttempted, m_dupePanel, &DupePanel::clear);
    connect(m_logger, &ContactLogger::contactAttempted, m_scorePanel, &ScorePanel::showScore);
    connect(m_logger, &ContactLogger::contactAttempted, m_scorePanel, &ScorePanel::showRates);

    connect(m_entryPanel, &EntryPanel::enterPressed, m_logger, &ContactLogger::logContact);
    connect(m_entryPanel, &EntryPanel::entryCleared, m_dupePanel, &DupePanel::clear);
    connect(m_entryPanel, &EntryPanel::callFieldEntered, m_contactListPanel, &ContactListPanel::returnToRecentContacts);
    connect(m_keyPreview, &MainKeyPreview::clearRequested, m_entryPanel, &EntryPanel::clearEntry);

    connect(m_dupeChecker, &DupeChecker::possibleDupesListed, m_dupePanel, &DupePanel::showList);
    connect(m_dupeChecker, &DupeChecker::previousContactsFound, m_contactListPanel, &ContactListPanel::showRecords);
    connect(m_dupePanel, &DupePanel::partialSearchToggled, this, [this] {
        m_dupePanel->showPartialSearch(m_dupeChecker->togglePartialSearch());
        m_entryPanel->focusCall();
    });

    connect(m_statusPanel, &StatusPanel::bandLabelClicked, m_controller, &SessionController::cycleBand);
    connect(m_scorePanel, &ScorePanel::currentBandMultipliersCounted, m_gridPanel,
        &MultiplierGridPanel::showSectionsWorked);
    connect(m_scorePanel, &ScorePanel::callFocusWanted, m_entryPanel, &EntryPanel::focusCall);
    connect(m_contactListPanel, &ContactListPanel::callFocusWanted, m_entryPanel, &EntryPanel::focusCall);
    connect(m_gridPanel, &MultiplierGridPanel::sectionClicked, m_entryPanel, &EntryPanel::setSection);
    connect(m_gridPanel, &MultiplierGridPanel::sectionHovered, this,
        [this](int position) { m_dupePanel->showSectionTally(m_session.log.log(), position); });

    // The CW engine reaches the log character after the text before it is on the air.
    const CwKeyerControl* cw = m_keyers.cw.get();
    connect(cw, &CwKeyerControl::logCharacterReached, this, [this] {
        if (m_entryPanel->hasCall()) {
            logContact();
        }
    });
    connect(cw, &CwKeyerControl::unsentTextChanged, this, [this](const QString& text) { m_messages->show(text); });
    connect(cw, &CwKeyerControl::noticeForOperator, this, [this](const QString& text) {
        m_messages->show(text);
        m_services.dialogs.beep();
    });
    // No beep: on phone the computer's sound may be what goes on the air.
    connect(m_keyers.phone.get(), &PhoneKeyerControl::noticeForOperator, this,
        [this](const QString& text) { m_messages->show(text); });

    // The radio's dial sets the band and the logged frequency; its mode is the operator's to set.
    connect(m_keyers.rig.get(), &RigControl::frequencyReported, m_controller, &SessionController::followRigFrequency);
    connect(m_keyers.rig.get(), &RigControl::modeReported, m_controller, &SessionController::followRigMode);
    connect(m_keyers.rig.get(), &RigControl::noticeForOperator, this,
        [this](const QString& text) { m_messages->show(text); });

    connectSpotParts();

    connect(m_logFiles, &LogFileCommands::operatingTimeReset, m_scorePanel, &ScorePanel::showOperatingTime);
    connect(m_appearance, &AppearanceCommands::taskbarChecked, m_menu, &MainMenu::setTaskbarChecked);
    connect(
        m_appearance, &AppearanceCommands::windowResized, this, [this] { m_contactListPanel->sizeColumns(width()); });
}

void MainWindow::connectSpotParts()
{
    if (SpotFeed* feed = m_keyers.spots.get()) {
        // A cluster's burst reaches the list and the maps a batch at a time, spaced by the program's clock.
        feed->useClock(m_services.clock);
        connect(feed, &SpotFeed::spotLines, m_spots, &SpotsModel::addSpotLines);
        connect(feed, &SpotFeed::bandMapRefreshDue, m_spotPanel, &SpotPanel::drawBandMap);
        connect(feed, &SpotFeed::displayChanged, this, &MainWindow::updateSpotPanel);
    }
    connect(m_spots, &SpotsModel::ownCallSpotted, this, [this](const QString& record) {
        m_services.dialogs.beep();
        m_messages->showSpotted(QStringLiteral("You've been spotted! "));
        m_dupePanel->showSpotted(QStringLiteral("You've been spotted!  ") + record);
    });
    connect(m_spots, &SpotsModel::spotAdded, m_spotPanel, &SpotPanel::drawBandMapSoon);
    connect(m_spots, &SpotsModel::spotsChanged, m_spotPanel, &SpotPanel::drawBandMap);
    connect(m_controller, &SessionController::bandChanged, m_spotPanel, &SpotPanel::drawBandMap);
    connect(m_controller, &SessionController::logReloaded, m_spots, &SpotsModel::logChanged);
    connect(m_logger, &ContactLogger::contactLogged, m_spots,
        [this](const QsoRecord& record) { m_spots->contactLogged(record.call, record.band); });

    connect(m_spotPanel, &SpotPanel::spotDescribed, m_dupePanel, &DupePanel::showText);
    connect(m_spotPanel, &SpotPanel::spottingWanted, m_features, &FeatureWindows::openSpotting);
    connect(m_spotPanel, &SpotPanel::spectrumMapWanted, this, &MainWindow::openSpectrumMap);
    connect(m_spotPanel, &SpotPanel::listSpotClicked, this, [this](const QString& call, std::optional<float> freqMHz) {
        m_entryPanel->focusCall();
        if (!freqMHz) {
            return;
        }
        // The list tunes only a rig that is set up; the maps always ask.
        if (!equalsIgnoreCase(m_keyers.rig->rigName(), "None") && !m_keyers.rig->rigName().empty()) {
            m_keyers.rig->changeFrequency(hertzFromMHz(*freqMHz));
        }
        m_entryPanel->putCall(call);
    });
    connect(m_spotPanel, &SpotPanel::mapSpotChosen, this, [this](const QString& call, float freqMHz) {
        m_keyers.rig->changeFrequency(hertzFromMHz(freqMHz));
        m_entryPanel->enterCallAndMoveOn(call);
    });
}

void MainWindow::updateSpotPanel()
{
    if (!m_keyers.spots) {
        return;
    }
    const SpotSettings& chosen = m_keyers.spots->settings();
    const bool none = spotSourceOf(chosen.source) == SpotSource::None;
    QWidget* canvas = centralWidget();
    // Whether the strip is up, whatever the window's own state (minimised, not yet shown).
    const bool shown = !m_spotPanel->isHidden();
    if (shown && !none) {
        m_spotPanel->showList(chosen.listMode);
        return;
    }
    if (!shown && !none) {
        // What stands on the window closes up to a tenth less to leave the bottom to the spots.
        const int top = scaleHeightsOnCanvas(*canvas, 0.9, m_spotPanel);
        const int width = canvas->width();
        m_spotPanel->setGeometry(
            static_cast<int>(width * 0.01), top, static_cast<int>(width * 0.97), std::max(0, canvas->height() - top));
        m_spotPanel->show();
        m_spotPanel->showList(chosen.listMode);
        return;
    }
    if (shown && none) {
        m_spotPanel->hide();
        // Not quite 1 / 0.9, as the window has always opened out again.
        (void)scaleHeightsOnCanvas(*canvas, 1.1111111, m_spotPanel);
    }
}

void MainWindow::openSpectrumMap()
{
    SpectrumMapDialog map(
        *m_spots, m_services.clock, [this] { return static_cast<double>(m_session.defaults.utcOffsetHours); }, this);
    connect(&map, &SpectrumMapDialog::spotChosen, this, [this](const QString& call, float freqMHz) {
        m_keyers.rig->changeFrequency(hertzFromMHz(freqMHz));
        m_entryPanel->putCall(call);
    });
    m_services.dialogs.runModal(map);
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && m_spotPanel) {
        m_spotPanel->refreshBandMap();
    }
    return QMainWindow::event(event);
}

bool MainWindow::startUp()
{
    m_session.state.onPeriodStart = m_services.clock.localNow();
    const ScreenGeometry screen = screenGeometryOf(*this);
    scaleMainWindow(*this, screen);
    m_contactListPanel->sizeColumns(width());
    m_messages->show(QStringLiteral("Select a band from the menu bar and click Log \"Time On\" below!"));
    m_session.state.partialDupesOn = true;
    if (!m_controller->loadDefaultData()) {
        return false;
    }
    m_controller->checkUtcOffset();
    if (m_session.defaults.formSizePercent < 100) {
        m_appearance->applyFormSize(screen);
    }
    m_entryPanel->setReportLength(m_session.defaults.mode);
    // The loaded station stands on the window even when the operator closes the setup without Done.
    m_statusPanel->showStation(m_session.defaults);
    changeBand(m_session.state.currentBand);
    if (m_ended) {
        return false;
    }
    // The clocks run from here on, even when a later start-up step is skipped.
    tickClocks();
    m_scorePanel->startRateTimer();
    m_clockTimer->start();
    if (!m_controller->loadCountryFile()) {
        return true;
    }
    runStationSetup();
    m_logFiles->askToContinueExistingLog();
    m_contactListPanel->showEditButtons(false);
    if (m_ended) {
        return false;
    }
    m_scorePanel->showOperatingTime();
    m_keyers.phone->loadSettings();
    m_keyers.cw->loadSettings();
    m_appearance->applyTaskbarOption();
    m_keyers.rig->startUp(m_session.defaults.rigName);
    return true;
}

void MainWindow::runStationSetup()
{
    StationSetupDialog setup(m_session.defaults, m_session.countries, m_services.dialogs, m_services.settings,
        m_services.sharedPreferences, this);
    m_services.dialogs.runModal(setup);
    // Closing the window any other way than with Done changes nothing.
    if (setup.result() != QDialog::Accepted) {
        return;
    }
    setup.applyTo(m_session.defaults);
    m_entryPanel->setReportLength(m_session.defaults.mode);
    m_statusPanel->showStation(m_session.defaults);
    m_controller->saveDefaultData();
}

void MainWindow::chooseSerialPorts()
{
    SerialPortsDialog ports(m_services.settings, presentSerialDevices(), presentParallelDevices(), this);
    m_services.dialogs.runModal(ports);
}

void MainWindow::tickClocks()
{
    m_statusPanel->showClocks(clockTexts(m_services.clock.localNow(), m_session.defaults.utcOffsetHours));
    m_scorePanel->updateOperatingTime();
}

void MainWindow::exitProgram()
{
    m_scorePanel->stopOperatingClock();
    endProgram(0);
}

void MainWindow::endProgram(int exitCode)
{
    m_ended = true;
    m_services.endProgram(exitCode);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Without a window manager nothing else makes the window active, and an inactive window gets no
    // focus events for its fields.
    if (!event->spontaneous() && !testAttribute(Qt::WA_ShowWithoutActivating)) {
        activateWindow();
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    // A first close while CW is on the air only stops the sending.
    m_keyers.cw->clearBuffer();
    if (m_keyers.cw->isSending()) {
        event->ignore();
        return;
    }
    runClosingSteps();
    event->accept();
}

void MainWindow::endBySignal(int signalNumber)
{
    if (m_ended) {
        return;
    }
    // Nobody is there to press a key: the sending stops with the character on the air, which the keyer
    // cuts short as it goes.
    m_keyers.cw->clearBuffer();
    runClosingSteps();
    endProgram(128 + signalNumber);
}

void MainWindow::runClosingSteps()
{
    m_keyers.cw->stopRepeat();
    // The phone keyer's message ends with its window, PTT with it.
    m_keyers.phone->stopRepeat();
    m_keyers.phone->stopPlaying();
    m_features->closeAll();
    m_features->closeSpotFeed();
    m_keyers.rig->closeRig();
    m_logFiles->backUpLog();
    m_scorePanel->stopOperatingClock();
    m_ended = true;
}

void MainWindow::logContact()
{
    m_logger->logContact();
}

void MainWindow::changeBand(const std::string& band)
{
    m_controller->changeBand(band);
}

bool MainWindow::reloadLog()
{
    return m_controller->reloadLog();
}

void MainWindow::releaseDupeHold()
{
    m_dupeChecker->releaseDupeHold();
}

void MainWindow::clearEntry()
{
    m_entryPanel->clearEntry();
}

void MainWindow::toggleTimeOn()
{
    m_scorePanel->toggleTimeOn();
}

void MainWindow::showRates()
{
    m_scorePanel->showRates();
}

void MainWindow::refreshContactList()
{
    m_contactListPanel->refreshContactList();
}

void MainWindow::deleteSelectedContact()
{
    m_contactListPanel->deleteSelectedContact();
}

void MainWindow::editSelectedContact()
{
    m_contactListPanel->editSelectedContact();
}

void MainWindow::newLog()
{
    m_logFiles->newLog();
}

void MainWindow::archiveLog()
{
    m_logFiles->archiveLog();
}

void MainWindow::restoreLog()
{
    m_logFiles->restoreLog();
}

const WorkingLog& MainWindow::workingLog() const
{
    return m_session.log;
}

const OperatingState& MainWindow::operatingState() const
{
    return m_session.state;
}

const DefaultData& MainWindow::defaultData() const
{
    return m_session.defaults;
}

const CountryTable& MainWindow::countryTable() const
{
    return m_session.countries;
}

} // namespace brindle
