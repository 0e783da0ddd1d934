// The main form's score, rate and duplicate displays: what the form shows about the log while the
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

void Form1::buildScorePanel(QWidget* central)
{
    form1::label(central, "lblScorStats", QStringLiteral("Score Statistics"), 8, 100, 200, 16);
    int top = 116;
    const auto value = [&](const char* captionName, const char* caption, const char* valueName, const char* initial) {
        form1::label(central, captionName, QString::fromLatin1(caption), 8, top, 146, 15);
        QLabel* shown = form1::label(central, valueName, QString::fromLatin1(initial), 154, top, 58, 15);
        top += 15;
        return shown;
    };
    lblTotCon = value("Label5", "Total Contacts ............", "lblTotCon", "0");
    lblTotSec = value("Label13", "Total QSO Points ........", "lblTotSec", "0");
    lblsectogo = value("Label6", "Total Multipliers ...........", "lblsectogo", "0");
    lblTotScore = value("Label7", "Total Score..................", "lblTotScore", "0");
    lblAQSO20 = value("Label8", "QSOs / Hr (last 20 min)", "lblAQSO20", "0");
    lblAQSO60 = value("Label9", "QSOs / Hr (last 60 min)", "lblAQSO60", "0");
    lblttrack = value("Label12", "Total Time On:", "lblttrack", "00:00:00");

    Label3 = form1::label(central, "Label3", QStringLiteral("New"), 330, 60, 40, 14);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    cmdLogOn = form1::placed(new QPushButton(LogOnCaption, central), 8, 224, 140, 22);
    cmdLogOn->setObjectName(QStringLiteral("cmdLogOn"));
    cmdLogOn->setToolTip(QStringLiteral("Records On/Off times and controls duration clock."));
    connect(cmdLogOn, &QPushButton::clicked, this, &Form1::cmdLogOn_Click);
    form1::label(central, "lblPossDup", QStringLiteral("               Possible Duplicates"), 8, 250, 160, 14);
    cmdDup = form1::placed(new QPushButton(QStringLiteral("On"), central), 170, 248, 42, 18);
    cmdDup->setObjectName(QStringLiteral("cmdDup"));
    cmdDup->setToolTip(QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    connect(cmdDup, &QPushButton::clicked, this, &Form1::cmdDup_Click);
    lblDupe = form1::label(central, "lblDupe", QString(), 8, 268, 204, 46);
    lblDupe->setWordWrap(true);
    lblDupe->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    setDialogBackColour(DialogBackColour);
    setDupeBox(QString());

    m_dupeHold = new KeyHold(
        m_services.clock, [this](int keyAscii) { replayCallKey(keyAscii); }, this);
    Timer1 = new QTimer(this);
    Timer1->setInterval(60'000);
    connect(Timer1, &QTimer::timeout, this, &Form1::TimeStats);
    Timer2 = new QTimer(this);
    Timer2->setInterval(1'000);
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
}

void Form1::setDialogBackColour(std::uint32_t bgr)
{
    setBackColour(lblDialog, fromBgr(bgr));
}

void Form1::setDupeBox(const QString& text)
{
    lblDupe->setText(text);
    setBackColour(lblDupe, text.isEmpty() ? palette().color(QPalette::Button) : fromBgr(DupeListBackColour));
}

void Form1::Labeldisplay()
{
    const ScoreSummary summary = scoreSummary(m_log.tallies(), m_state.currentBand);
    lblTotCon->setText(QString::number(summary.contacts));
    lblsectogo->setText(QString::number(summary.multipliers));
    lblTotSec->setText(QString::number(summary.points));
    lblTotScore->setText(QString::number(summary.score));
    if (summary.currentBandMultipliers) {
        Label10[0]->setText(QString::number(*summary.currentBandMultipliers));
    }
}

void Form1::TimeStats()
{
    const DateTime now = addHours(m_services.clock.localNow(), m_defaults.utcOffsetHours);
    // A record whose date cannot be read leaves the rates as they were.
    if (const auto rates = timeStats(m_log.log(), now)) {
        lblAQSO60->setText(QString::number(rates->last60));
        lblAQSO20->setText(QString::number(rates->last20));
    }
}

void Form1::ShowOperatingTime()
{
    m_state.totalOnSeconds = m_state.accumulatedOnSeconds;
    lblttrack->setText(toQString(formatOperatingTime(m_state.totalOnSeconds)));
}

void Form1::Timer2_Timer()
{
    showClocks();
    if (!m_state.timeOn) {
        return;
    }
    const long long running = secondsBetween(m_state.onPeriodStart, m_services.clock.localNow());
    m_state.totalOnSeconds = std::fabs(m_state.accumulatedOnSeconds + static_cast<float>(running));
    lblttrack->setText(toQString(formatOperatingTime(m_state.totalOnSeconds)));
}

void Form1::cmdLogOn_Click()
{
    if (!m_state.timeOn) {
        startOperatingClock();
    } else {
        m_state.timeOn = false;
        cmdLogOn->setText(LogOnCaption);
        m_state.accumulatedOnSeconds = m_state.totalOnSeconds;
        const DateTime utc = addHours(m_services.clock.localNow(), m_defaults.utcOffsetHours);
        const QString date = QLocale().toString(QDate(utc.year, utc.month, utc.day), QLocale::ShortFormat);
        lblDialog->setText(QStringLiteral("Logged Off at ") + date + QLatin1Char(' ')
            + QStringLiteral("%1:%2:%3")
                  .arg(utc.hour, 2, 10, QLatin1Char('0'))
                  .arg(utc.minute, 2, 10, QLatin1Char('0'))
                  .arg(utc.second, 2, 10, QLatin1Char('0')));
        SavePref();
    }
    txtCall->setFocus();
}

void Form1::startOperatingClock()
{
    m_state.onPeriodStart = m_services.clock.localNow();
    m_state.timeOn = true;
    cmdLogOn->setText(LogOffCaption);
    lblDialog->setText(QStringLiteral(" "));
}

void Form1::CountNewContact(const QsoRecord& record)
{
    // The log has counted the contact into its band's tally already; the grid shows a new section.
    if (!equalsIgnoreCase(record.band, m_state.currentBand)) {
        return;
    }
    if (const auto position = SectionTable::positionOf(record.section)) {
        setTextColour(Label10[static_cast<std::size_t>(*position)], fromBgr(m_defaults.workedColour));
    }
}

void Form1::UpdateNewIndicator()
{
    Label3->setVisible(sectionIsNew(m_log.tallies(), m_state.currentBand, toBytes(txtSec->text())));
}

void Form1::showSectionTally(int position)
{
    lblDupe->setText(displayLineBreaks(toQString(sectionTallyText(m_log.log(), position))));
}

void Form1::cmdDup_Click()
{
    setBackColour(lblDupe, palette().color(QPalette::Button));
    m_state.partialDupesOn = !m_state.partialDupesOn;
    cmdDup->setText(m_state.partialDupesOn ? QStringLiteral("On") : QStringLiteral("Off"));
    txtCall->setFocus();
}

bool Form1::dupcheck()
{
    m_dupeFlag = false;
    const DupeCheckResult found = brindle::dupcheck(m_log.log(), toBytes(txtCall->text()), m_state.currentBand);
    if (m_state.listPreviousContacts) {
        m_contacts->setRecords(found.previous);
    }
    if (found.section && txtSec->text().isEmpty()) {
        txtSec->setText(toQString(*found.section));
        txtSec->selectAll();
    }
    if (!found.duplicate) {
        return false;
    }
    lblDialog->setText(toQString(duplicateMessage(m_log.log().record(*found.duplicate), *found.duplicate)));
    setDialogBackColour(DuplicateBackColour);
    setDupeBox(QString());
    m_services.dialogs.beep();
    BlindKeyPhone("Dupe");
    m_dupeFlag = true;
    m_dupeHold->holdUntil(m_services.clock.monotonicMs() + DupeHoldMs);

    txtCall->setFocus();
    for (QLineEdit* field : { txtCall, txtRSTS, txtCntry, txtRSTR, txtSec }) {
        field->clear();
    }
    Label18->clear();
    Label19->clear();
    Label22->clear();
    return true;
}

void Form1::DupeHoldTick()
{
    m_dupeHold->releaseIfDue();
}

void Form1::PartialCallSearch(int keyAscii)
{
    const PartialSearchOutcome outcome = partialCallSearch(
        m_log.log(), m_state.currentBand, toBytes(txtCall->text()), keyAscii, m_state.partialDupesOn, m_state.timeOn);
    setDialogBackColour(DialogBackColour);
    setDupeBox(toQString(outcome.list));
    if (outcome.dialog) {
        lblDialog->setText(toQString(*outcome.dialog));
    }
    if (outcome.beep) {
        m_services.dialogs.beep();
    }
}

} // namespace brindle
