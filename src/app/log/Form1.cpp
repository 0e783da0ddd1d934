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
constexpr std::array<std::string_view, 11> AreaHeadingNames = { "lblSecOne", "lblSecTwo", "lblSecThre", "lblSecFour",
    "lblSecFive", "Label24", "lblSecSix", "lblSecEight", "lblSecNine", "lblSecZero", "lblSecCA" };

} // namespace

Form1::Form1(Form1Services services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(std::move(services))
    , m_log(m_services.fs, joinPath(m_services.folders.workingDir, WorkingLog::FileName))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(q(mainFormTitle()));
    buildMenus();
    buildForm();
}

Form1::~Form1() = default;

void Form1::buildClocks(QWidget* central)
{
    lblCurTime = form1::label(central, "lblCurTime", QStringLiteral("Reg Time"), 420, 2, 56, 16);
    lblCurTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label16 = form1::label(central, "Label16", QStringLiteral("am"), 480, 2, 24, 16);
    lblutctime = form1::label(central, "lblutctime", QStringLiteral("UTC TIME"), 520, 2, 56, 16);
    lblutctime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form1::label(central, "Label11", QStringLiteral("UTC"), 580, 2, 30, 16);
}

void Form1::buildMenus()
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
    mnuNew = item(file, "mnuNew", "&New", &Form1::mnuNew_Click);
    // Reloading by hand, printing and the export to a general logging program are not offered.
    mnuOpen = item(file, "mnuOpen", "Open", [this] { mnuopen2(); });
    mnuOpen->setVisible(false);
    mnuprintrec = notYet(file, "mnuprintrec", "Print");
    mnuprintrec->setVisible(false);
    file->addSeparator();
    mnuArchive = item(file, "mnuArchive", "Archive Current &Log", &Form1::mnuArchive_Click);
    file->addSeparator();
    mnuRestore = item(file, "mnuRestore", "&Restore from Archive or Backup", &Form1::mnuRestore_Click);
    file->addSeparator();
    mnuWriteSumm = item(file, "mnuWriteSumm", "&Write Cabrillo File", &Form1::mnuWriteSumm_Click);
    file->addSeparator();
    mnuExportGeneral = notYet(file, "mnuExportGeneral", "Export");
    mnuExportGeneral->setVisible(false);
    mnuADIF = item(file, "mnuADIF", "Export &ADIF", &Form1::mnuADIF_Click);
    file->addSeparator();
    mnuCopyListtoClipboard
        = item(file, "mnuCopyListtoClipboard", "&Copy Listed Items to Clipboard", &Form1::mnuCopyListtoClipboard_Click);
    file->addSeparator();
    mnuExit = item(file, "mnuExit", "E&xit", &Form1::mnuExit_Click);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    QMenu* transmit = options->addMenu(QStringLiteral("&Transmit"));
    mnuCWSetup = notYet(transmit, "mnuCWSetup", "&CW Setup");
    mnuPhoneSetup = notYet(transmit, "mnuPhoneSetup", "&Phone Setup");
    options->addSeparator();
    QMenu* appearance = options->addMenu(QStringLiteral("&Appearance"));
    mnuFormSize = item(appearance, "mnuFormSize", "&Form Size", &Form1::mnuFormSize_Click);
    mnuTaskbar = item(appearance, "mnuTaskbar", "&Taskbar", &Form1::mnuTaskbar_Click);
    mnuTaskbar->setCheckable(true);
    mnuColors = item(appearance, "mnuColors", "&Colors", &Form1::mnuColors_Click);
    options->addSeparator();
    mnuRigInterface = notYet(options, "mnuRigInterface", "&Rig Interface");
    options->addSeparator();
    QMenu* spotting = options->addMenu(QStringLiteral("&DX Spotting"));
    mnuDXSpotting = notYet(spotting, "mnuDXSpotting", "&Configure");
    mnuViewSpectrumMap = notYet(spotting, "mnuViewSpectrumMap", "&View Spectrum Map");
    options->addSeparator();
    mnuBlind = notYet(options, "mnuBlind", "&Voice Navigation");
    options->addSeparator();
    mnuListPrevious = item(options, "mnuListPrevious", "&List Previous Contacts", &Form1::mnuListPrevious_Click);
    mnuListPrevious->setCheckable(true);
    options->addSeparator();
    // Contacts entered after the contest carry the date and time they were made.
    mnuPostContest = item(options, "mnuPostContest", "&Post Contest Mode", &Form1::mnuPostContest_Click);
    mnuPostContest->setCheckable(true);

    mnuSetup = menuBar()->addAction(QStringLiteral("&Setup"), this, &Form1::mnuSetup_Click);
    mnuSetup->setObjectName(QStringLiteral("mnuSetup"));

    QMenu* band = menuBar()->addMenu(QStringLiteral("&Band"));
    for (std::size_t i = 0; i < BandCount; ++i) {
        const std::string code(BandCodes[i]);
        mnuBand[i] = band->addAction(q(BandMenuCaptions[i]), this, [this, code] { ChangeBand(code); });
        mnuBand[i]->setObjectName(QStringLiteral("mnu") + q(code));
        mnuBand[i]->setCheckable(true);
    }
    band->addSeparator();
    mnuPrivileges = item(band, "mnuPrivileges", "&Privileges", &Form1::mnuPrivileges_Click);

    mnuGraph = menuBar()->addAction(QStringLiteral("&Graph"), this, &Form1::mnuGraph_Click);
    mnuGraph->setObjectName(QStringLiteral("mnuGraph"));
    mnuHelp = menuBar()->addAction(QStringLiteral("&Help"), this, &Form1::mnuHelp_Click);
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
}

void Form1::buildForm()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    resize(form1::DesignWidth, form1::DesignHeight);

    form1::label(central, "lblBand", QStringLiteral("Band"), 8, 2, 30, 16);
    Label21 = form1::placed(new ClickableLabel(central), 38, 2, 40, 16);
    Label21->setObjectName(QStringLiteral("Label21"));
    Label21->setToolTip(QStringLiteral("Click to change the band"));
    connect(Label21, &ClickableLabel::clicked, this, &Form1::Label21_Click);
    form1::label(central, "lblMode", QStringLiteral("Mode"), 84, 2, 32, 16);
    Label30 = form1::label(central, "Label30", QString(), 116, 2, 30, 16);
    Label2 = form1::label(central, "Label2", QStringLiteral("CALL"), 160, 2, 90, 16);
    Label4 = form1::label(central, "Label4", QStringLiteral("Pwr"), 250, 2, 50, 16);
    for (QLabel* shown : { static_cast<QLabel*>(Label21), Label30, Label2 }) {
        QFont bold = shown->font();
        bold.setBold(true);
        shown->setFont(bold);
    }
    buildClocks(central);

    buildEntryFields(central);

    lblDialog = form1::label(central, "lblDialog", QString(), 8, 80, 624, 18);
    lblDialog->setIndent(4);

    buildScorePanel(central);
    buildContactList(central);

    form1::label(central, "Label23", QStringLiteral("States / Provinces worked on current band:"), 8, 318, 206);
    Label10[0] = form1::placed(new ClickableLabel(QStringLiteral("0"), central), 214, 318, 30, 14);
    Label10[0]->setObjectName(QStringLiteral("Label10_0"));
    buildGrid(central);

    // Function keys and Esc work wherever the focus is.
    m_keys->previewFocusable(central);
}

void Form1::buildGrid(QWidget* central)
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
        label->setObjectName(QStringLiteral("Label10_%1").arg(i));
        label->setToolTip(q(section.fullName));
        label->setAlignment(Qt::AlignCenter);
        Label10[static_cast<std::size_t>(i)] = label;
        connect(label, &ClickableLabel::clicked, this, [this, section] { txtSec->setText(q(section.abbreviation)); });
        connect(label, &ClickableLabel::entered, this, [this, i] { showSectionTally(i); });
    }
}

std::string Form1::defaultDataPath() const
{
    return joinPath(m_services.folders.workingDir, DefaultDataFileName);
}

bool Form1::startUp()
{
    Label3->hide();
    m_state.onPeriodStart = m_services.clock.localNow();
    const ScreenGeometry screen = screenGeometryOf(*this);
    ScaleMainForm(*this, screen);
    sizeContactList();
    lblDialog->setText(QStringLiteral("Select a band from the menu bar and click Log \"Time On\" below!"));
    showCountryRecord(nullptr);
    m_state.partialDupesOn = true;
    if (!LoadDefaultData()) {
        return false;
    }
    showRemainingColour();
    checkUtcOffset();
    if (m_defaults.formSizePercent < 100) {
        applyReducedSize(screen);
    }
    showMode();
    ChangeBand(m_state.currentBand);
    if (m_ended) {
        return false;
    }
    // The form's clocks run from here on, even when a later start-up step is skipped.
    showClocks();
    Timer1->start();
    Timer2->start();
    if (!LoadCountryTable()) {
        return true;
    }
    mnuSetup_Click();
    askToContinueExistingLog();
    if (m_ended) {
        return false;
    }
    ShowOperatingTime();
    // The phone and CW keyers read their settings here, and a selected rig is opened, once the program
    // has them.
    ApplyTaskbarOption();
    return true;
}

void Form1::checkUtcOffset()
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
        SavePref();
    }
}

bool Form1::LoadCountryTable()
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

void Form1::mnuSetup_Click()
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
    Label2->setText(q(m_defaults.ownCall));
    Label4->setText(q(m_defaults.power));
    SavePref();
}

void Form1::showMode()
{
    // Reports are "599" in CW and "59" in phone.
    const int length = equalsIgnoreCase(m_defaults.mode, ModeCW) ? 3 : 2;
    txtRSTR->setMaxLength(length);
    txtRSTS->setMaxLength(length);
    Label30->setText(q(m_defaults.mode));
}

void Form1::HDCalc(double cntlat, double cntlong)
{
    const BearingDistance result = bearingAndDistance(m_defaults.latitude, m_defaults.longitude, cntlat, cntlong);
    Label18->setText(q(result.bearing));
    Label19->setText(q(result.distance));
}

bool Form1::LoadDefaultData()
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
    mnuListPrevious->setChecked(m_state.listPreviousContacts);
    return true;
}

bool Form1::SavePref()
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

void Form1::ChangeBand(const std::string& band)
{
    m_state.currentBand = band;
    Label21->setText(q(band));
    SavePref();
    if (!mnuopen2()) {
        return;
    }
    checkCurrentBandMenu();
    if (!txtCall->text().isEmpty()) {
        UpdateNewIndicator();
    }
}

void Form1::checkCurrentBandMenu()
{
    const auto current = bandIndex(m_state.currentBand);
    for (std::size_t i = 0; i < BandCount; ++i) {
        mnuBand[i]->setChecked(current && *current == i);
    }
}

void Form1::Label21_Click()
{
    if (const auto next = nextBand(m_state.currentBand)) {
        ChangeBand(*next);
    }
}

bool Form1::mnuopen2()
{
    showRemainingColour();
    if (const auto failure = m_log.load()) {
        m_services.dialogs.message(q(logmsg::FileErrorTitle), q(logmsg::FileErrorText));
        m_ended = true;
        m_services.endProgram(1);
        return false;
    }
    RefreshContactList();
    TimeStats();
    Labeldisplay();
    PaintGrid();
    return true;
}

void Form1::showRemainingColour()
{
    const QColor remaining = fromBgr(m_defaults.remainingColour);
    for (int i = 1; i <= SectionTable::Size; ++i) {
        setTextColour(Label10[static_cast<std::size_t>(i)], remaining);
    }
}

void Form1::PaintGrid()
{
    const BandTally* tally = m_log.tallies().forBand(m_state.currentBand);
    if (!tally) {
        return;
    }
    const QColor worked = fromBgr(m_defaults.workedColour);
    for (const std::string& section : tally->sections) {
        if (const auto position = SectionTable::positionOf(section)) {
            setTextColour(Label10[static_cast<std::size_t>(*position)], worked);
        }
    }
}

void Form1::askToContinueExistingLog()
{
    const auto answer = m_services.dialogs.message(q(logmsg::StartupQuestionTitle), q(logmsg::StartupQuestionText),
        OperatorDialogs::Buttons::YesNo, OperatorDialogs::Icon::Question);
    // Yes needs no reload: the band-change step loaded the file moments ago and nothing has touched it.
    if (answer == OperatorDialogs::Answer::No) {
        NewLog();
    }
    showEditButtons(false);
}

void Form1::reportWriteFailure(std::string_view what, const Error& error)
{
    m_services.dialogs.message(q(logmsg::WriteErrorTitle), q(what) + QStringLiteral("\r\n\r\n") + q(error.description),
        OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Critical);
}

void Form1::NewLog()
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
            SavePref();
        }
    }
    ShowOperatingTime();
    // The reload recomputes the rates too.
    mnuopen2();
}

void Form1::Backup()
{
    // A backup that cannot be taken must not stand between the operator and closing the program.
    (void)m_log.backup(m_services.folders.backupDir, m_services.clock.localNow(), WorkingLog::BackupRule::WhenChanged);
}

void Form1::mnuNew_Click()
{
    NewLog();
}

void Form1::mnuArchive_Click()
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

void Form1::mnuRestore_Click()
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
    mnuopen2();
}

void Form1::stopOperatingClock()
{
    if (m_state.timeOn) {
        m_state.accumulatedOnSeconds = m_state.totalOnSeconds;
        SavePref();
        m_state.timeOn = false;
    }
}

void Form1::mnuExit_Click()
{
    // Exit ends at once: no closing steps and no backup.
    stopOperatingClock();
    m_ended = true;
    m_services.endProgram(0);
}

void Form1::closeEvent(QCloseEvent* event)
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
    Backup();
    stopOperatingClock();
    m_ended = true;
    event->accept();
}

} // namespace brindle
