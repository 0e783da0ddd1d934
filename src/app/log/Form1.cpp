#include "Form1.h"

#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/ProgramTitle.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/Form1Layout.h"
#include "log/LogMessages.h"
#include "station/CountryField.h"
#include "station/StationSetupDialog.h"
#include "station/UtcOffset.h"
#include "ui/ClickableLabel.h"
#include "ui/Colours.h"
#include "ui/KeyRouting.h"
#include "ui/WindowScaling.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace brindle {

namespace {

QString q(std::string_view text)
{
    return toQString(text);
}

constexpr std::array<std::string_view, BandCount> BandMenuCaptions = { "1&60", "&80", "&40", "&20", "1&5", "&10" };
constexpr std::array<std::string_view, 11> AreaHeadingNames = { "areaHeading_1", "areaHeading_2", "areaHeading_3", "areaHeading_4",
    "areaHeading_5", "areaHeading_6", "areaHeading_7", "areaHeading_8", "areaHeading_9", "areaHeading_0", "areaHeading_Canada" };

} // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
    , m_log(m_services.fs, joinPath(m_services.folders.workingDir, WorkingLog::FileName))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(q(mainWindowTitle()));
    buildMenus();
    buildForm();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildClocks(QWidget* central)
{
    m_localTimeLabel = form1::label(central, "localTimeLabel", QStringLiteral("Reg Time"), 420, 2, 56, 16);
    m_localTimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_amPmLabel = form1::label(central, "amPmLabel", QStringLiteral("am"), 480, 2, 24, 16);
    m_utcTimeLabel = form1::label(central, "utcTimeLabel", QStringLiteral("UTC TIME"), 520, 2, 56, 16);
    m_utcTimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form1::label(central, "utcCaption", QStringLiteral("UTC"), 580, 2, 30, 16);
}

void MainWindow::buildMenus()
{
    const auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
        QAction* action = menu->addAction(QString::fromLatin1(caption), this, handler);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    // Windows that come with the keyers, the rig interface, spotting and voice navigation.
    const auto notYet = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(false);
        return action;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    m_newLogAction = item(file, "newLogAction", "&New", &MainWindow::newLog);
    // Reloading by hand, printing and the export to a general logging program are not offered.
    m_reloadLogAction = item(file, "reloadLogAction", "Open", [this] { reloadLog(); });
    m_reloadLogAction->setVisible(false);
    m_printAction = notYet(file, "printAction", "Print");
    m_printAction->setVisible(false);
    file->addSeparator();
    m_archiveLogAction = item(file, "archiveLogAction", "Archive Current &Log", &MainWindow::archiveLog);
    file->addSeparator();
    m_restoreLogAction = item(file, "restoreLogAction", "&Restore from Archive or Backup", &MainWindow::restoreLog);
    file->addSeparator();
    m_writeCabrilloAction = item(file, "writeCabrilloAction", "&Write Cabrillo File", &MainWindow::openSummarySheet);
    file->addSeparator();
    m_exportGeneralAction = notYet(file, "exportGeneralAction", "Export");
    m_exportGeneralAction->setVisible(false);
    m_exportAdifAction = item(file, "exportAdifAction", "Export &ADIF", &MainWindow::exportAdif);
    file->addSeparator();
    m_copyListAction
        = item(file, "copyListAction", "&Copy Listed Items to Clipboard", &MainWindow::copyListToClipboard);
    file->addSeparator();
    m_exitAction = item(file, "exitAction", "E&xit", &MainWindow::exitProgram);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("optionsMenu"));
    QMenu* transmit = options->addMenu(QStringLiteral("&Transmit"));
    m_cwSetupAction = notYet(transmit, "cwSetupAction", "&CW Setup");
    m_phoneSetupAction = notYet(transmit, "phoneSetupAction", "&Phone Setup");
    options->addSeparator();
    QMenu* appearance = options->addMenu(QStringLiteral("&Appearance"));
    m_formSizeAction = item(appearance, "formSizeAction", "&Form Size", &MainWindow::askFormSize);
    m_taskbarAction = item(appearance, "taskbarAction", "&Taskbar", &MainWindow::toggleTaskbar);
    m_taskbarAction->setCheckable(true);
    m_coloursAction = item(appearance, "coloursAction", "&Colors", &MainWindow::chooseGridColours);
    options->addSeparator();
    m_rigInterfaceAction = notYet(options, "rigInterfaceAction", "&Rig Interface");
    options->addSeparator();
    QMenu* spotting = options->addMenu(QStringLiteral("&DX Spotting"));
    m_spottingAction = notYet(spotting, "spottingAction", "&Configure");
    m_spectrumMapAction = notYet(spotting, "spectrumMapAction", "&View Spectrum Map");
    options->addSeparator();
    m_voiceNavigationAction = notYet(options, "voiceNavigationAction", "&Voice Navigation");
    options->addSeparator();
    m_listPreviousAction = item(options, "listPreviousAction", "&List Previous Contacts", &MainWindow::toggleListPrevious);
    m_listPreviousAction->setCheckable(true);
    options->addSeparator();
    // Contacts entered after the contest carry the date and time they were made.
    m_postContestAction = item(options, "postContestAction", "&Post Contest Mode", &MainWindow::togglePostContestMode);
    m_postContestAction->setCheckable(true);

    m_stationSetupAction = menuBar()->addAction(QStringLiteral("&Setup"), this, &MainWindow::runStationSetup);
    m_stationSetupAction->setObjectName(QStringLiteral("stationSetupAction"));

    QMenu* band = menuBar()->addMenu(QStringLiteral("&Band"));
    for (std::size_t i = 0; i < BandCount; ++i) {
        const std::string code(BandCodes[i]);
        m_bandActions[i] = band->addAction(q(BandMenuCaptions[i]), this, [this, code] { changeBand(code); });
        m_bandActions[i]->setObjectName(QStringLiteral("bandAction_") + q(code));
        m_bandActions[i]->setCheckable(true);
    }
    band->addSeparator();
    m_privilegesAction = item(band, "privilegesAction", "&Privileges", &MainWindow::showBandPlan);

    m_graphAction = menuBar()->addAction(QStringLiteral("&Graph"), this, &MainWindow::showRateGraph);
    m_graphAction->setObjectName(QStringLiteral("graphAction"));
    m_helpAction = menuBar()->addAction(QStringLiteral("&Help"), this, &MainWindow::showHelp);
    m_helpAction->setObjectName(QStringLiteral("helpAction"));
}

void MainWindow::buildForm()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    resize(form1::DesignWidth, form1::DesignHeight);

    form1::label(central, "bandCaption", QStringLiteral("Band"), 8, 2, 30, 16);
    m_bandLabel = form1::placed(new ClickableLabel(central), 38, 2, 40, 16);
    m_bandLabel->setObjectName(QStringLiteral("bandLabel"));
    m_bandLabel->setToolTip(QStringLiteral("Click to change the band"));
    connect(m_bandLabel, &ClickableLabel::clicked, this, &MainWindow::cycleBand);
    form1::label(central, "modeCaption", QStringLiteral("Mode"), 84, 2, 32, 16);
    m_modeLabel = form1::label(central, "modeLabel", QString(), 116, 2, 30, 16);
    m_ownCallLabel = form1::label(central, "ownCallLabel", QStringLiteral("CALL"), 160, 2, 90, 16);
    m_powerLabel = form1::label(central, "powerLabel", QStringLiteral("Pwr"), 250, 2, 50, 16);
    for (QLabel* shown : { static_cast<QLabel*>(m_bandLabel), m_modeLabel, m_ownCallLabel }) {
        QFont bold = shown->font();
        bold.setBold(true);
        shown->setFont(bold);
    }
    buildClocks(central);

    buildEntryFields(central);

    m_messageLabel = form1::label(central, "messageLabel", QString(), 8, 80, 624, 18);
    m_messageLabel->setIndent(4);

    buildScorePanel(central);
    buildContactList(central);

    form1::label(central, "sectionsWorkedCaption", QStringLiteral("States / Provinces worked on current band:"), 8, 318, 206);
    m_gridLabels[0] = form1::placed(new ClickableLabel(QStringLiteral("0"), central), 214, 318, 30, 14);
    m_gridLabels[0]->setObjectName(QStringLiteral("sectionsWorkedLabel"));
    buildGrid(central);

    // Function keys and Esc work wherever the focus is.
    m_keys->previewFocusable(central);
}

void MainWindow::buildGrid(QWidget* central)
{
    // Eleven blocks, one a call area and the last Canada, whose fourteen sections take two columns.
    constexpr int Left = 8;
    constexpr int Top = 336;
    constexpr int ColumnWidth = 52;
    constexpr int RowHeight = 13;
    const auto& areas = SectionTable::areas();
    for (std::size_t block = 0; block < areas.size(); ++block) {
        const int width = block + 1 == areas.size() ? 2 * ColumnWidth : ColumnWidth;
        auto* heading = form1::label(central, AreaHeadingNames[block].data(), q(areas[block]),
            Left + static_cast<int>(block) * ColumnWidth, Top, width, RowHeight);
        heading->setAlignment(Qt::AlignCenter);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }
    constexpr int RowsPerColumn = 8;
    std::array<int, 11> filled {};
    for (int i = 1; i <= SectionTable::Size; ++i) {
        const Section& section = SectionTable::at(i);
        const auto block
            = static_cast<std::size_t>(std::find(areas.begin(), areas.end(), section.area) - areas.begin());
        const int index = filled[block]++;
        const int column = static_cast<int>(block) + index / RowsPerColumn;
        const int row = index % RowsPerColumn;
        auto* label = form1::placed(new ClickableLabel(q(section.abbreviation), central), Left + column * ColumnWidth,
            Top + RowHeight + row * RowHeight, ColumnWidth, RowHeight);
        label->setObjectName(QStringLiteral("sectionLabel_") + q(section.abbreviation));
        label->setToolTip(q(section.fullName));
        label->setAlignment(Qt::AlignCenter);
        m_gridLabels[static_cast<std::size_t>(i)] = label;
        connect(label, &ClickableLabel::clicked, this, [this, section] { m_sectionField->setText(q(section.abbreviation)); });
        connect(label, &ClickableLabel::entered, this, [this, i] { showSectionTally(i); });
    }
}

std::string MainWindow::defaultDataPath() const
{
    return joinPath(m_services.folders.workingDir, DefaultDataFileName);
}

bool MainWindow::startUp()
{
    m_newSectionMarker->hide();
    m_state.onPeriodStart = m_services.clock.localNow();
    const ScreenGeometry screen = screenGeometryOf(*this);
    scaleMainWindow(*this, screen);
    sizeContactList();
    m_messageLabel->setText(QStringLiteral("Select a band from the menu bar and click Log \"Time On\" below!"));
    showCountryDetails(nullptr);
    m_state.partialDupesOn = true;
    if (!loadDefaultData()) {
        return false;
    }
    showAllRemaining();
    checkUtcOffset();
    if (m_defaults.formSizePercent < 100) {
        applyReducedSize(screen);
    }
    showMode();
    changeBand(m_state.currentBand);
    if (m_ended) {
        return false;
    }
    // The form's clocks run from here on, even when a later start-up step is skipped.
    showClocks();
    m_rateTimer->start();
    m_clockTimer->start();
    if (!loadCountryFile()) {
        return true;
    }
    runStationSetup();
    askToContinueExistingLog();
    if (m_ended) {
        return false;
    }
    showOperatingTime();
    // The phone and CW keyers read their settings here, and a selected rig is opened, once the program
    // has them.
    applyTaskbarOptionToWindow();
    return true;
}

void MainWindow::checkUtcOffset()
{
    const std::optional<UtcOffsetProposal> proposal
        = utcOffsetCheck(m_services.clock.utcNow(), m_services.clock.localNow(), m_defaults.utcOffsetHours);
    if (!proposal) {
        return;
    }
    const std::optional<QString> answer
        = m_services.dialogs.inputBox(q(UtcOffsetTitle), q(proposal->prompt), q(formatSingle(proposal->recommended)));
    if (!answer) {
        return;
    }
    if (const std::optional<float> offset = utcOffsetFromAnswer(toBytes(*answer))) {
        m_defaults.utcOffsetHours = *offset;
        saveDefaultData();
    }
}

bool MainWindow::loadCountryFile()
{
    CountryFileLoad loaded = loadCountryTable(
        m_services.fs, m_services.folders.sharedDir, m_services.folders.programDataDir, m_services.folders.workingDir);
    m_countries = std::move(loaded.table);
    if (loaded.failed) {
        m_services.dialogs.beep();
        m_services.dialogs.message(q(CountryFileErrorTitle), q(CountryFileErrorText));
        return false;
    }
    return true;
}

void MainWindow::runStationSetup()
{
    StationSetupDialog setup(
        m_defaults, m_countries, m_services.dialogs, m_services.settings, m_services.sharedPreferences, this);
    m_services.dialogs.runModal(setup);
    // Closing the window any other way than with Done changes nothing.
    if (setup.result() != QDialog::Accepted) {
        return;
    }
    setup.applyTo(m_defaults);
    showMode();
    m_ownCallLabel->setText(q(m_defaults.ownCall));
    m_powerLabel->setText(q(m_defaults.power));
    saveDefaultData();
}

void MainWindow::showMode()
{
    // Reports are "599" in CW and "59" in phone.
    const int length = equalsIgnoreCase(m_defaults.mode, ModeCW) ? 3 : 2;
    m_rstRcvdField->setMaxLength(length);
    m_rstSentField->setMaxLength(length);
    m_modeLabel->setText(q(m_defaults.mode));
}

void MainWindow::showBearingAndDistance(double latitude, double longitude)
{
    const BearingDistance result = bearingAndDistance(m_defaults.latitude, m_defaults.longitude, latitude, longitude);
    m_bearingLabel->setText(q(result.bearing));
    m_distanceLabel->setText(q(result.distance));
}

bool MainWindow::loadDefaultData()
{
    Result<std::string> content = m_services.fs.readFile(defaultDataPath());
    Result<DefaultData> parsed = content ? parseDefaultData(content.value()) : Result<DefaultData>(content.error());
    if (!parsed) {
        m_services.dialogs.beep();
        m_services.dialogs.message(q(DefaultDataErrorTitle), q(DefaultDataErrorText));
        return false;
    }
    m_defaults = std::move(parsed).value();
    m_state.currentBand = m_defaults.band;
    m_state.accumulatedOnSeconds = m_defaults.totalOnSeconds;
    m_state.listPreviousContacts = m_defaults.listPreviousContacts == 1;
    m_listPreviousAction->setChecked(m_state.listPreviousContacts);
    return true;
}

bool MainWindow::saveDefaultData()
{
    DefaultData current = m_defaults;
    current.band = m_state.currentBand;
    current.totalOnSeconds = m_state.accumulatedOnSeconds;
    current.listPreviousContacts = m_state.listPreviousContacts ? 1 : 0;
    if (Status saved = m_services.fs.replaceFile(defaultDataPath(), formatDefaultData(current)); !saved) {
        m_services.dialogs.message(QStringLiteral("Default Data Not Saved"),
            QStringLiteral("Your settings could not be written to inprefDX.txt:  ") + q(saved.error().description),
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Warning);
        return false;
    }
    m_defaults = current;
    return true;
}

void MainWindow::changeBand(const std::string& band)
{
    m_state.currentBand = band;
    m_bandLabel->setText(q(band));
    saveDefaultData();
    if (!reloadLog()) {
        return;
    }
    checkBand();
    if (!m_callField->text().isEmpty()) {
        updateNewSectionMarker();
    }
}

void MainWindow::checkBand()
{
    const auto current = bandIndex(m_state.currentBand);
    for (std::size_t i = 0; i < BandCount; ++i) {
        m_bandActions[i]->setChecked(current && *current == i);
    }
}

void MainWindow::cycleBand()
{
    if (const auto next = nextBand(m_state.currentBand)) {
        changeBand(*next);
    }
}

bool MainWindow::reloadLog()
{
    showAllRemaining();
    if (const auto failure = m_log.load()) {
        m_services.dialogs.message(q(logmsg::FileErrorTitle), q(logmsg::FileErrorText));
        m_ended = true;
        m_services.endProgram(1);
        return false;
    }
    refreshContactList();
    showRates();
    showScore();
    paintGrid();
    return true;
}

void MainWindow::showAllRemaining()
{
    const QColor remaining = fromBgr(m_defaults.remainingColour);
    for (int i = 1; i <= SectionTable::Size; ++i) {
        setTextColour(m_gridLabels[static_cast<std::size_t>(i)], remaining);
    }
}

void MainWindow::paintGrid()
{
    const BandTally* tally = m_log.tallies().forBand(m_state.currentBand);
    if (!tally) {
        return;
    }
    const QColor worked = fromBgr(m_defaults.workedColour);
    for (const std::string& section : tally->sections) {
        if (const auto position = SectionTable::positionOf(section)) {
            setTextColour(m_gridLabels[static_cast<std::size_t>(*position)], worked);
        }
    }
}

void MainWindow::askToContinueExistingLog()
{
    const auto answer = m_services.dialogs.message(q(logmsg::StartupQuestionTitle), q(logmsg::StartupQuestionText),
        OperatorDialogs::Buttons::YesNo, OperatorDialogs::Icon::Question);
    // Yes needs no reload: the band-change step loaded the file moments ago and nothing has touched it.
    if (answer == OperatorDialogs::Answer::No) {
        newLog();
    }
    showEditButtons(false);
}

void MainWindow::reportWriteFailure(std::string_view what, const Error& error)
{
    m_services.dialogs.message(q(logmsg::WriteErrorTitle), q(what) + QStringLiteral("\r\n\r\n") + q(error.description),
        OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Critical);
}

void MainWindow::newLog()
{
    const auto answer = m_services.dialogs.inputBox(q(logmsg::NewLogTitle), q(logmsg::NewLogPrompt), QString());
    if (answer && equalsIgnoreCase(toBytes(*answer), logmsg::NewLogConfirmation)) {
        // The log about to be erased is kept whenever it holds anything, even if it is exactly the log
        // loaded at start-up: that is the case where nothing else would keep it.
        (void)m_log.backup(
            m_services.folders.backupDir, m_services.clock.localNow(), WorkingLog::BackupRule::WhenNotEmpty);
        if (Status erased = m_log.erase(); !erased) {
            reportWriteFailure(logmsg::EraseErrorText, erased.error());
        } else {
            m_state.accumulatedOnSeconds = 0;
            m_state.totalOnSeconds = 0;
            saveDefaultData();
        }
    }
    showOperatingTime();
    // The reload recomputes the rates too.
    reloadLog();
}

void MainWindow::backUpLog()
{
    // A backup that cannot be taken must not stand between the operator and closing the program.
    (void)m_log.backup(m_services.folders.backupDir, m_services.clock.localNow(), WorkingLog::BackupRule::WhenChanged);
}

void MainWindow::archiveLog()
{
    m_services.dialogs.message(q(logmsg::ArchiveInfoTitle), q(logmsg::ArchiveInfoText));
    const auto chosen = m_services.dialogs.saveFileName(pathToQString(m_services.folders.backupDir),
        q(archiveFileName(m_defaults.ownCall, m_services.clock.localNow())), q(logmsg::LogFileFilter));
    if (!chosen) {
        return;
    }
    if (Status copied = copyFile(m_services.fs, m_log.path(), pathFromQString(*chosen)); !copied) {
        m_services.dialogs.message(q(logmsg::ArchiveErrorTitle), q(copied.error().description));
    }
}

void MainWindow::restoreLog()
{
    m_services.dialogs.message(q(logmsg::RestoreInfoTitle), q(logmsg::RestoreInfoText));
    if (m_log.log().count() > 0) {
        const auto sure = m_services.dialogs.message(
            q(logmsg::RestoreConfirmTitle), q(logmsg::RestoreConfirmText), OperatorDialogs::Buttons::YesNo);
        if (sure != OperatorDialogs::Answer::Yes) {
            return;
        }
    }
    const auto chosen
        = m_services.dialogs.openFileName(pathToQString(m_services.folders.backupDir), q(logmsg::LogFileFilter));
    if (!chosen) {
        return;
    }
    if (Status restored = m_log.restoreFrom(pathFromQString(*chosen)); !restored) {
        m_services.dialogs.message(q(logmsg::RestoreErrorTitle), q(restored.error().description));
        return;
    }
    reloadLog();
}

void MainWindow::stopOperatingClock()
{
    if (m_state.timeOn) {
        m_state.accumulatedOnSeconds = m_state.totalOnSeconds;
        saveDefaultData();
        m_state.timeOn = false;
    }
}

void MainWindow::exitProgram()
{
    // Exit ends at once: no closing steps and no backup.
    stopOperatingClock();
    m_ended = true;
    m_services.endProgram(0);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    // A first close while CW is on the air only stops the sending.
    m_keying.cwBuffer.clear();
    if (m_keying.cwSending) {
        event->ignore();
        return;
    }
    // The other windows close here with their own closing steps, once the program has them.
    backUpLog();
    stopOperatingClock();
    m_ended = true;
    event->accept();
}

} // namespace brindle
