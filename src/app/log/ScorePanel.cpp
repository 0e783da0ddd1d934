#include "ScorePanel.h"

#include "common/DateText.h"
#include "common/QtText.h"
#include "log/ContestSession.h"
#include "log/OperatingClock.h"
#include "log/SessionController.h"
#include "log/Statistics.h"
#include "ui/MessageLine.h"

#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace brindle {

namespace {

const QString LogOnCaption = QStringLiteral("&Log \"Time On\"");
const QString LogOffCaption = QStringLiteral("&Log \"Time Off\"");

} // namespace

ScorePanel::ScorePanel(
    QWidget* canvas, ContestSession& session, const Clock& clock, SessionController& controller, MessageLine& messages)
    : DesignPanel(canvas, QRect(0, 100, 216, 148))
    , m_session(session)
    , m_clock(clock)
    , m_controller(controller)
    , m_messages(messages)
{
    addLabel("scoreCaption", QStringLiteral("Score Statistics"), 8, 100, 200, 16);
    int top = 116;
    const auto value = [&](const char* captionName, const char* caption, const char* valueName, const char* initial) {
        addLabel(captionName, QString::fromLatin1(caption), 8, top, 146, 15);
        QLabel* shown = addLabel(valueName, QString::fromLatin1(initial), 154, top, 58, 15);
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

    m_timeOnButton = place(new QPushButton(LogOnCaption, this), 8, 224, 140, 22);
    m_timeOnButton->setObjectName(QStringLiteral("timeOnButton"));
    m_timeOnButton->setToolTip(QStringLiteral("Records On/Off times and controls duration clock."));
    connect(m_timeOnButton, &QPushButton::clicked, this, &ScorePanel::toggleTimeOn);

    m_rateTimer = new QTimer(this);
    m_rateTimer->setInterval(60'000);
    connect(m_rateTimer, &QTimer::timeout, this, &ScorePanel::showRates);
}

void ScorePanel::startRateTimer()
{
    m_rateTimer->start();
}

void ScorePanel::showScore()
{
    const ScoreSummary summary = scoreSummary(m_session.log.tallies(), m_session.state.currentBand);
    m_totalContactsLabel->setText(QString::number(summary.contacts));
    m_multipliersLabel->setText(QString::number(summary.multipliers));
    m_qsoPointsLabel->setText(QString::number(summary.points));
    m_scoreLabel->setText(QString::number(summary.score));
    if (summary.currentBandMultipliers) {
        emit currentBandMultipliersCounted(*summary.currentBandMultipliers);
    }
}

void ScorePanel::showRates()
{
    const DateTime now = addHours(m_clock.localNow(), m_session.defaults.utcOffsetHours);
    // A record whose date cannot be read leaves the rates as they were.
    if (const auto rates = contactRates(m_session.log.log(), now)) {
        m_rate60Label->setText(QString::number(rates->last60));
        m_rate20Label->setText(QString::number(rates->last20));
    }
}

void ScorePanel::showOperatingTime()
{
    m_session.state.totalOnSeconds = m_session.state.accumulatedOnSeconds;
    m_operatingTimeLabel->setText(toQString(formatOperatingTime(m_session.state.totalOnSeconds)));
}

void ScorePanel::updateOperatingTime()
{
    if (tickOperatingClock(m_session.state, m_clock.localNow())) {
        m_operatingTimeLabel->setText(toQString(formatOperatingTime(m_session.state.totalOnSeconds)));
    }
}

void ScorePanel::toggleTimeOn()
{
    if (!m_session.state.timeOn) {
        startOperatingClock();
    } else {
        brindle::stopOperatingClock(m_session.state);
        m_timeOnButton->setText(LogOnCaption);
        const DateTime utc = addHours(m_clock.localNow(), m_session.defaults.utcOffsetHours);
        const QString date = QLocale().toString(QDate(utc.year, utc.month, utc.day), QLocale::ShortFormat);
        m_messages.show(toQString(loggedOffText(toBytes(date), utc)));
        m_controller.saveDefaultData();
    }
    emit callFocusWanted();
}

void ScorePanel::startOperatingClock()
{
    brindle::startOperatingClock(m_session.state, m_clock.localNow());
    m_timeOnButton->setText(LogOffCaption);
    m_messages.show(QStringLiteral(" "));
}

void ScorePanel::stopOperatingClock()
{
    if (brindle::stopOperatingClock(m_session.state)) {
        m_controller.saveDefaultData();
    }
}

} // namespace brindle
