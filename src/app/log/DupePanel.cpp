#include "DupePanel.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "log/Statistics.h"
#include "ui/Colours.h"
#include "ui/MessageLine.h"

#include <QLabel>
#include <QPushButton>

namespace brindle {

DupePanel::DupePanel(QWidget* canvas)
    : DesignPanel(canvas, QRect(0, 248, 216, 68))
{
    addLabel("possibleDupesCaption", QStringLiteral("               Possible Duplicates"), 8, 250, 160, 14);
    m_partialSearchButton = place(new QPushButton(QStringLiteral("On"), this), 170, 248, 42, 18);
    m_partialSearchButton->setObjectName(QStringLiteral("partialSearchButton"));
    m_partialSearchButton->setToolTip(QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    connect(m_partialSearchButton, &QPushButton::clicked, this, &DupePanel::partialSearchToggled);
    nameSearchButton(true);
    m_possibleDupesLabel = addLabel("possibleDupesLabel", QString(), 8, 268, 204, 46);
    m_possibleDupesLabel->setWordWrap(true);
    m_possibleDupesLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    clear();
}

void DupePanel::showList(const QString& text)
{
    m_possibleDupesLabel->setText(text);
    setBackColour(
        m_possibleDupesLabel, text.isEmpty() ? palette().color(QPalette::Button) : fromBgr(DupeListBackColour));
}

void DupePanel::showText(const QString& text)
{
    m_possibleDupesLabel->setText(text);
}

void DupePanel::showSpotted(const QString& text)
{
    m_possibleDupesLabel->setText(text);
    setBackColour(m_possibleDupesLabel, fromBgr(SpottedBackColour));
}

void DupePanel::clear()
{
    showList(QString());
}

void DupePanel::showSectionTally(const ContestLog& log, int position)
{
    showText(displayLineBreaks(toQString(sectionTallyText(log, position))));
}

void DupePanel::showPartialSearch(bool on)
{
    setBackColour(m_possibleDupesLabel, palette().color(QPalette::Button));
    m_partialSearchButton->setText(on ? QStringLiteral("On") : QStringLiteral("Off"));
    nameSearchButton(on);
}

void DupePanel::nameSearchButton(bool on)
{
    // Its caption alone, "On" or "Off", says nothing to a listener.
    m_partialSearchButton->setAccessibleName(
        on ? QStringLiteral("Partial call search on") : QStringLiteral("Partial call search off"));
}

} // namespace brindle
