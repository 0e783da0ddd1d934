#include "Form6.h"

#include "common/OperatorDialogs.h"
#include "ui/Colours.h"
#include "ui/WindowScaling.h"

#include <QLabel>
#include <QPushButton>

namespace brindle {

namespace {

constexpr std::uint32_t Black = 0x000000;

} // namespace

Form6::Form6(std::uint32_t worked, std::uint32_t remaining, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
    , m_worked(worked)
    , m_remaining(remaining)
{
    setObjectName(QStringLiteral("Form6"));
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
    Label1 = sample("Label1", "Appearance of multiplier worked", designRect(240, 240, 5520, 480));
    Label2 = sample("Label2", "Appearance of multiplier remaining", designRect(240, 840, 5520, 480));

    const auto button = [this](const char* name, const char* caption, QRect place) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(place);
        b->setAutoDefault(false);
        return b;
    };
    Command3 = button("Command3", "Change \"Worked\" Color", designRect(240, 1560, 2640, 495));
    Command1 = button("Command1", "Change \"Remaining\" Color", designRect(3120, 1560, 2640, 495));
    Command6 = button("Command6", "Done", designRect(2400, 2400, 1200, 495));
    connect(Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form6::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &Form6::Command6_Click);

    scaleByScreenRule(*this, screenGeometryOf(*this), true);
    showColours();
}

std::uint32_t Form6::worked() const
{
    return m_worked;
}

std::uint32_t Form6::remaining() const
{
    return m_remaining;
}

std::uint32_t Form6::chosenColour()
{
    // The chooser starts from black whatever the colour was; a cancel gives black too.
    return m_dialogs.chooseColour(Black).value_or(Black);
}

void Form6::Command1_Click()
{
    m_remaining = chosenColour();
    showColours();
}

void Form6::Command3_Click()
{
    m_worked = chosenColour();
    showColours();
}

void Form6::Command6_Click()
{
    hide();
}

void Form6::showColours()
{
    setTextColour(Label1, fromBgr(m_worked));
    setTextColour(Label2, fromBgr(m_remaining));
}

} // namespace brindle
