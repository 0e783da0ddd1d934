#include "StatusPanel.h"

#include "common/QtText.h"
#include "log/Entry.h"
#include "station/DefaultData.h"
#include "ui/ClickableLabel.h"

namespace brindle {

StatusPanel::StatusPanel(QWidget* canvas)
    : DesignPanel(canvas, QRect(0, 0, 640, 20))
{
    addLabel("bandCaption", QStringLiteral("Band"), 8, 2, 30, 16);
    m_bandLabel = place(new ClickableLabel(this), 38, 2, 40, 16);
    m_bandLabel->setObjectName(QStringLiteral("bandLabel"));
    m_bandLabel->setToolTip(QStringLiteral("Click to change the band"));
    connect(m_bandLabel, &ClickableLabel::clicked, this, &StatusPanel::bandLabelClicked);
    addLabel("modeCaption", QStringLiteral("Mode"), 84, 2, 32, 16);
    m_modeLabel = addLabel("modeLabel", QString(), 116, 2, 30, 16);
    m_ownCallLabel = addLabel("ownCallLabel", QStringLiteral("CALL"), 160, 2, 90, 16);
    m_powerLabel = addLabel("powerLabel", QStringLiteral("Pwr"), 250, 2, 50, 16);
    for (QLabel* shown : { static_cast<QLabel*>(m_bandLabel), m_modeLabel, m_ownCallLabel }) {
        QFont bold = shown->font();
        bold.setBold(true);
        shown->setFont(bold);
    }

    m_localTimeLabel = addLabel("localTimeLabel", QStringLiteral("Reg Time"), 420, 2, 56, 16);
    m_localTimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_amPmLabel = addLabel("amPmLabel", QStringLiteral("am"), 480, 2, 24, 16);
    m_utcTimeLabel = addLabel("utcTimeLabel", QStringLiteral("UTC TIME"), 520, 2, 56, 16);
    m_utcTimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addLabel("utcCaption", QStringLiteral("UTC"), 580, 2, 30, 16);
}

void StatusPanel::showBand(const QString& band)
{
    m_bandLabel->setText(band);
    m_bandLabel->setAccessibleName(QStringLiteral("Band ") + band);
}

void StatusPanel::showStation(const DefaultData& defaults)
{
    m_ownCallLabel->setText(toQString(defaults.ownCall));
    m_powerLabel->setText(toQString(defaults.power));
    m_modeLabel->setText(toQString(defaults.mode));
}

void StatusPanel::showClocks(const ClockTexts& texts)
{
    m_localTimeLabel->setText(toQString(texts.local));
    m_amPmLabel->setText(toQString(texts.marker));
    m_utcTimeLabel->setText(toQString(texts.utc));
}

} // namespace brindle
