#include "Form1.h"

#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/LogMessages.h"
#include "station/CountryField.h"
#include "station/frmStationID.h"
#include "ui/ClickableLabel.h"
#include "ui/Colours.h"
#include "ui/KeyRouting.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
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
    setWindowTitle(QStringLiteral("Brindle DX"));
    buildMenus();
    buildForm();
}

Form1::~Form1() = default;

void Form1::buildClocks(QWidget* central, QBoxLayout* layout)
{
    const auto clock = [&](const char* name, const char* caption) {
        auto* label = new QLabel(QString::fromLatin1(caption), central);
        label->setObjectName(QString::fromLatin1(name));
        layout->addWidget(label);
        return label;
    };
    lblCurTime = clock("lblCurTime", "Reg Time");
    Label16 = clock("Label16", "am");
    layout->addSpacing(16);
    lblutctime = clock("lblutctime", "UTC TIME");
    clock("Label11", "UTC");
}

void Form1::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    mnuNew = file->addAction(QStringLiteral("&New"), this, &Form1::mnuNew_Click);
    // Reloading by hand and printing are not offered to the operator.
    mnuOpen = file->addAction(QStringLiteral("Open"), this, [this] { mnuopen2(); });
    mnuOpen->setVisible(false);
    mnuprintrec = file->addAction(QStringLiteral("Print"));
    mnuprintrec->setVisible(false);
    file->addSeparator();
    mnuArchive = file->addAction(QStringLiteral("Archive Current &Log"), this, &Form1::mnuArchive_Click);
    file->addSeparator();
    mnuRestore = file->addAction(QStringLiteral("&Restore from Archive or Backup"), this, &Form1::mnuRestore_Click);
    file->addSeparator();
    mnuExit = file->addAction(QStringLiteral("E&xit"), this, &Form1::mnuExit_Click);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    mnuListPrevious
        = options->addAction(QStringLiteral("&List Previous Contacts"), this, &Form1::mnuListPrevious_Click);
    mnuListPrevious->setObjectName(QStringLiteral("mnuListPrevious"));
    mnuListPrevious->setCheckable(true);
    options->addSeparator();
    // Contacts entered after the contest carry the date and time they were made.
    mnuPostContest = options->addAction(QStringLiteral("&Post Contest Mode"), this, &Form1::mnuPostContest_Click);
    mnuPostContest->setObjectName(QStringLiteral("mnuPostContest"));
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
    mnuNew->setObjectName(QStringLiteral("mnuNew"));
    mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
    mnuprintrec->setObjectName(QStringLiteral("mnuprintrec"));
    mnuArchive->setObjectName(QStringLiteral("mnuArchive"));
    mnuRestore->setObjectName(QStringLiteral("mnuRestore"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
}

void Form1::buildForm()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Band"), central));
    Label21 = new ClickableLabel(central);
    Label21->setObjectName(QStringLiteral("Label21"));
    Label21->setMinimumWidth(40);
    connect(Label21, &ClickableLabel::clicked, this, &Form1::Label21_Click);
    top->addWidget(Label21);
    top->addSpacing(24);
    top->addWidget(new QLabel(QStringLiteral("Mode"), central));
    Label30 = new QLabel(central);
    Label30->setObjectName(QStringLiteral("Label30"));
    top->addWidget(Label30);
    top->addSpacing(24);
    Label2 = new QLabel(QStringLiteral("CALL"), central);
    Label2->setObjectName(QStringLiteral("Label2"));
    top->addWidget(Label2);
    Label4 = new QLabel(QStringLiteral("Pwr"), central);
    Label4->setObjectName(QStringLiteral("Label4"));
    top->addWidget(Label4);
    top->addStretch();
    buildClocks(central, top);
    layout->addLayout(top);

    buildEntryFields(central, layout);

    lblDialog = new QLabel(central);
    lblDialog->setObjectName(QStringLiteral("lblDialog"));
    layout->addWidget(lblDialog);

    buildScorePanel(central, layout);
    buildContactList(central, layout);

    auto* worked = new QHBoxLayout;
    auto* label23 = new QLabel(QStringLiteral("States / Provinces worked on current band:"), central);
    label23->setObjectName(QStringLiteral("Label23"));
    worked->addWidget(label23);
    Label10[0] = new ClickableLabel(QStringLiteral("0"), central);
    Label10[0]->setObjectName(QStringLiteral("Label10_0"));
    worked->addWidget(Label10[0]);
    worked->addStretch();
    layout->addLayout(worked);

    auto* grid = new QGridLayout;
    const auto& areas = SectionTable::areas();
    std::array<int, 11> rows {};
    for (std::size_t column = 0; column < areas.size(); ++column) {
        auto* heading = new QLabel(q(areas[column]), central);
        heading->setObjectName(q(AreaHeadingNames[column]));
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, static_cast<int>(column));
    }
    for (int i = 1; i <= SectionTable::Size; ++i) {
        const Section& section = SectionTable::at(i);
        const auto column
            = static_cast<std::size_t>(std::find(areas.begin(), areas.end(), section.area) - areas.begin());
        auto* label = new ClickableLabel(q(section.abbreviation), central);
        label->setObjectName(QStringLiteral("Label10_%1").arg(i));
        label->setToolTip(q(section.fullName));
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, ++rows[column], static_cast<int>(column));
        Label10[static_cast<std::size_t>(i)] = label;
        connect(label, &ClickableLabel::clicked, this, [this, section] { txtSec->setText(q(section.abbreviation)); });
        connect(label, &ClickableLabel::entered, this, [this, i] { showSectionTally(i); });
    }
    layout->addLayout(grid);
    layout->addStretch();
    setCentralWidget(central);
}

std::string Form1::defaultDataPath() const
{
    return joinPath(m_services.folders.workingDir, DefaultDataFileName);
}

bool Form1::startUp()
{
    Label3->hide();
    m_state.onPeriodStart = m_services.clock.localNow();
    lblDialog->setText(QStringLiteral("Select a band from the menu bar and click Log \"Time On\" below!"));
    m_state.partialDupesOn = true;
    if (!LoadDefaultData()) {
        return false;
    }
    showRemainingColour();
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
    return true;
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
    frmStationID setup(
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
    Backup();
    stopOperatingClock();
    m_ended = true;
    event->accept();
}

} // namespace brindle
