// The main window's score, rate and duplicate displays: what the form shows about the log while the
// operator enters contacts.

#include "Form1.h"

#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/ContactListModel.h"
#include "log/Form1Layout.h"
#include "log/Statistics.h"
#include "ui/ClickableLabel.h"
#include "ui/Colours.h"
#include "ui/KeyHold.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

#include <cmath>

namespace brindle {

namespace {

constexpr std::uint32_t DialogBackColour = 0xC0C000;
constexpr std::uint32_t DuplicateBackColour = 0x0000FF;
constexpr std::uint32_t DupeListBackColour = 0xC0C000;
// After a duplicate, keys typed into the call field wait this long from the moment it was found.
constexpr std::int64_t DupeHoldMs = 3000;

const QString LogOnCaption = QStringLiteral("&Log \"Time On\"");
const QString LogOffCaption = QStringLiteral("&Log \"Time Off\"");

} // namespace

void MainWindow::buildScorePanel(QWidget* central)
{
    form1::label(central, "scoreCaption", QStringLiteral("Score Statistics"), 8, 100, 200, 16);
    int top = 116;
    const auto value = [&](const char* captionName, const char* caption, const char* valueName, const char* initial) {
        form1::label(central, captionName, QString::fromLatin1(caption), 8, top, 146, 15);
        QLabel* shown = form1::label(central, valueName, QString::fromLatin1(initial), 154, top, 58, 15);
        top += 15;
        return shown;
    };
    m_totalContactsLabel = value("totalContactsCaption", "Total Contacts ............", "totalContactsLabel", "0");
    m_qsoPointsLabel = value("qsoPointsCaption", "Total QSO Points ........", "qsoPointsLabel", "0");
    m_multipliersLabel = value("multipliersCaption", "Total Multipliers ...........", "multipliersLabel", "0");
    m_scoreLabel = value("scoreTotalCaption", "Total Score..................", "scoreLabel", "0");
    m_rate20Label = value("rate20Caption", "QSOs / Hr (last 20 min)", "rate20Label", "0");
    m_rate60Label = value("rate60Caption", "QSOs / Hr (last 60 min)", "rate60Label", "0");
    m_operatingTimeLabel = value("operatingTimeCaption", "Total Time On:", "operatingTimeLabel", "00:00:00");

    m_newSectionMarker = form1::label(central, "newSectionMarker", QStringLiteral("New"), 330, 60, 40, 14);
    QFont bold = m_newSectionMarker->font();
    bold.setBold(true);
    m_newSectionMarker->setFont(bold);
    m_timeOnButton = form1::placed(new QPushButton(LogOnCaption, central), 8, 224, 140, 22);
    m_timeOnButton->setObjectName(QStringLiteral("timeOnButton"));
    m_timeOnButton->setToolTip(QStringLiteral("Records On/Off times and controls duration clock."));
    connect(m_timeOnButton, &QPushButton::clicked, this, &MainWindow::toggleTimeOn);
    form1::label(central, "possibleDupesCaption", QStringLiteral("               Possible Duplicates"), 8, 250, 160, 14);
    m_partialSearchButton = form1::placed(new QPushButton(QStringLiteral("On"), central), 170, 248, 42, 18);
    m_partialSearchButton->setObjectName(QStringLiteral("partialSearchButton"));
    m_partialSearchButton->setToolTip(QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    connect(m_partialSearchButton, &QPushButton::clicked, this, &MainWindow::togglePartialSearch);
    m_possibleDupesLabel = form1::label(central, "possibleDupesLabel", QString(), 8, 268, 204, 46);
    m_possibleDupesLabel->setWordWrap(true);
    m_possibleDupesLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    setDialogBackColour(DialogBackColour);
    showPossibleDupes(QString());

    m_dupeHold = new KeyHold(
        m_services.clock, [this](int keyAscii) { replayHeldCallKey(keyAscii); }, this);
    m_rateTimer = new QTimer(this);
    m_rateTimer->setInterval(60'000);
    connect(m_rateTimer, &QTimer::timeout, this, &MainWindow::showRates);
    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(1'000);
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::tickClocks);
}

void MainWindow::setDialogBackColour(std::uint32_t bgr)
{
    setBackColour(m_messageLabel, fromBgr(bgr));
}

void MainWindow::showPossibleDupes(const QString& text)
{
    m_possibleDupesLabel->setText(text);
    setBackColour(m_possibleDupesLabel, text.isEmpty() ? palette().color(QPalette::Button) : fromBgr(DupeListBackColour));
}

void MainWindow::showScore()
{
    const ScoreSummary summary = scoreSummary(m_log.tallies(), m_state.currentBand);
    m_totalContactsLabel->setText(QString::number(summary.contacts));
    m_multipliersLabel->setText(QString::number(summary.multipliers));
    m_qsoPointsLabel->setText(QString::number(summary.points));
    m_scoreLabel->setText(QString::number(summary.score));
    if (summary.currentBandMultipliers) {
        m_gridLabels[0]->setText(QString::number(*summary.currentBandMultipliers));
    }
}

void MainWindow::showRates()
{
    const DateTime now = addHours(m_services.clock.localNow(), m_defaults.utcOffsetHours);
    // A record whose date cannot be read leaves the rates as they were.
    if (const auto rates = contactRates(m_log.log(), now)) {
        m_rate60Label->setText(QString::number(rates->last60));
        m_rate20Label->setText(QString::number(rates->last20));
    }
}

void MainWindow::showOperatingTime()
{
    m_state.totalOnSeconds = m_state.accumulatedOnSeconds;
    m_operatingTimeLabel->setText(toQString(formatOperatingTime(m_state.totalOnSeconds)));
}

void MainWindow::tickClocks()
{
    showClocks();
    if (!m_state.timeOn) {
        return;
    }
    const long long running = secondsBetween(m_state.onPeriodStart, m_services.clock.localNow());
    m_state.totalOnSeconds = std::fabs(m_state.accumulatedOnSeconds + static_cast<float>(running));
    m_operatingTimeLabel->setText(toQString(formatOperatingTime(m_state.totalOnSeconds)));
}

void MainWindow::toggleTimeOn()
{
    if (!m_state.timeOn) {
        startOperatingClock();
    } else {
        m_state.timeOn = false;
        m_timeOnButton->setText(LogOnCaption);
        m_state.accumulatedOnSeconds = m_state.totalOnSeconds;
        const DateTime utc = addHours(m_services.clock.localNow(), m_defaults.utcOffsetHours);
        const QString date = QLocale().toString(QDate(utc.year, utc.month, utc.day), QLocale::ShortFormat);
        m_messageLabel->setText(QStringLiteral("Logged Off at ") + date + QLatin1Char(' ')
            + QStringLiteral("%1:%2:%3")
                  .arg(utc.hour, 2, 10, QLatin1Char('0'))
                  .arg(utc.minute, 2, 10, QLatin1Char('0'))
                  .arg(utc.second, 2, 10, QLatin1Char('0')));
        saveDefaultData();
    }
    m_callField->setFocus();
}

void MainWindow::startOperatingClock()
{
    m_state.onPeriodStart = m_services.clock.localNow();
    m_state.timeOn = true;
    m_timeOnButton->setText(LogOffCaption);
    m_messageLabel->setText(QStringLiteral(" "));
}

void MainWindow::countNewContact(const QsoRecord& record)
{
    // The log has counted the contact into its band's tally already; the grid shows a new section.
    if (!equalsIgnoreCase(record.band, m_state.currentBand)) {
        return;
    }
    if (const auto position = SectionTable::positionOf(record.section)) {
        setTextColour(m_gridLabels[static_cast<std::size_t>(*position)], fromBgr(m_defaults.workedColour));
    }
}

void MainWindow::updateNewSectionMarker()
{
    m_newSectionMarker->setVisible(sectionIsNew(m_log.tallies(), m_state.currentBand, toBytes(m_sectionField->text())));
}

void MainWindow::showSectionTally(int position)
{
    m_possibleDupesLabel->setText(displayLineBreaks(toQString(sectionTallyText(m_log.log(), position))));
}

void MainWindow::togglePartialSearch()
{
    setBackColour(m_possibleDupesLabel, palette().color(QPalette::Button));
    m_state.partialDupesOn = !m_state.partialDupesOn;
    m_partialSearchButton->setText(m_state.partialDupesOn ? QStringLiteral("On") : QStringLiteral("Off"));
    m_callField->setFocus();
}

bool MainWindow::checkDuplicate()
{
    m_dupeFound = false;
    const DupeCheckResult found = brindle::duplicateCheck(m_log.log(), toBytes(m_callField->text()), m_state.currentBand);
    if (m_state.listPreviousContacts) {
        m_contactListModel->setRecords(found.previous);
    }
    if (found.section && m_sectionField->text().isEmpty()) {
        m_sectionField->setText(toQString(*found.section));
        m_sectionField->selectAll();
    }
    if (!found.duplicate) {
        return false;
    }
    m_messageLabel->setText(toQString(duplicateMessage(m_log.log().record(*found.duplicate), *found.duplicate)));
    setDialogBackColour(DuplicateBackColour);
    showPossibleDupes(QString());
    m_services.dialogs.beep();
    playPrompt("Dupe");
    m_dupeFound = true;
    m_dupeHold->holdUntil(m_services.clock.monotonicMs() + DupeHoldMs);

    m_callField->setFocus();
    for (QLineEdit* field : { m_callField, m_rstSentField, m_countryField, m_rstRcvdField, m_sectionField }) {
        field->clear();
    }
    m_bearingLabel->clear();
    m_distanceLabel->clear();
    m_continentLabel->clear();
    return true;
}

void MainWindow::releaseDupeHold()
{
    m_dupeHold->releaseIfDue();
}

void MainWindow::searchPartialCall(int keyAscii)
{
    const PartialSearchOutcome outcome = partialCallSearch(
        m_log.log(), m_state.currentBand, toBytes(m_callField->text()), keyAscii, m_state.partialDupesOn, m_state.timeOn);
    setDialogBackColour(DialogBackColour);
    showPossibleDupes(toQString(outcome.list));
    if (outcome.dialog) {
        m_messageLabel->setText(toQString(*outcome.dialog));
    }
    if (outcome.beep) {
        m_services.dialogs.beep();
    }
}

} // namespace brindle
