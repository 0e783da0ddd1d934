#include "MultiplierColoursDialog.h"

#include "common/OperatorDialogs.h"
#include "ui/Colours.h"
#include "ui/WindowScaling.h"

#include <QLabel>
#include <QPushButton>

namespace brindle {

namespace {

constexpr std::uint32_t Black = 0x000000;

} // namespace

MultiplierColoursDialog::MultiplierColoursDialog(
    std::uint32_t worked, std::uint32_t remaining, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_worked(worked)
    , m_remaining(remaining)
{
    setObjectName(QStringLiteral("MultiplierColoursDialog"));
    setWindowTitle(QStringLiteral(" Modify Multiplier Color Selections"));
    resize(designRect(0, 0, 6000, 3300).size());

    // The samples are drawn as the grid draws its section labels: bold, centred.
    const auto sample = [this](const char* name, const char* text, QRect place) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignCenter);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setGeometry(place);
        return label;
    };
    m_workedSampleLabel
        = sample("workedSampleLabel", "Appearance of multiplier worked", designRect(240, 240, 5520, 480));
    m_remainingSampleLabel
        = sample("remainingSampleLabel", "Appearance of multiplier remaining", designRect(240, 840, 5520, 480));

    const auto button = [this](const char* name, const char* caption, QRect place) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(place);
        b->setAutoDefault(false);
        return b;
    };
    m_workedColourButton = button("workedColourButton", "Change \"Worked\" Color", designRect(240, 1560, 2640, 495));
    m_remainingColourButton
        = button("remainingColourButton", "Change \"Remaining\" Color", designRect(3120, 1560, 2640, 495));
    m_doneButton = button("doneButton", "Done", designRect(2400, 2400, 1200, 495));
    connect(m_remainingColourButton, &QPushButton::clicked, this, &MultiplierColoursDialog::chooseRemainingColour);
    connect(m_workedColourButton, &QPushButton::clicked, this, &MultiplierColoursDialog::chooseWorkedColour);
    connect(m_doneButton, &QPushButton::clicked, this, &QDialog::accept);

    scaleByScreenRule(*this, screenGeometryOf(*this), true);
    showColours();
}

std::uint32_t MultiplierColoursDialog::worked() const
{
    return m_worked;
}

std::uint32_t MultiplierColoursDialog::remaining() const
{
    return m_remaining;
}

std::uint32_t MultiplierColoursDialog::chosenColour()
{
    // The chooser starts from black whatever the colour was; a cancel gives black too.
    return m_dialogs.chooseColour(Black).value_or(Black);
}

void MultiplierColoursDialog::chooseRemainingColour()
{
    m_remaining = chosenColour();
    showColours();
}

void MultiplierColoursDialog::chooseWorkedColour()
{
    m_worked = chosenColour();
    showColours();
}

void MultiplierColoursDialog::showColours()
{
    setTextColour(m_workedSampleLabel, fromBgr(m_worked));
    setTextColour(m_remainingSampleLabel, fromBgr(m_remaining));
}

} // namespace brindle
