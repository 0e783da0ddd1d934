#include "FrequencyTestDialog.h"

#include "common/QtText.h"
#include "common/Text.h"
#include "rig/PollCycle.h"
#include "rig/RigCommands.h"
#include "rig/RigInterface.h"
#include "ui/CommandButton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace brindle {

namespace {

QLabel* explanation(QWidget* parent, const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

FrequencyTestDialog::FrequencyTestDialog(RigInterface& rig, QWidget* parent)
    : QDialog(parent)
    , m_rig(rig)
{
    setObjectName(QStringLiteral("FrequencyTestDialog"));
    setWindowTitle(QStringLiteral("Test Change Frequency Function"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation(this,
        "Please use the text box below to enter a complete command to send to your radio.  The default example "
        "is the command used for Kenwood radios."));
    layout->addWidget(explanation(this,
        "If your radio requires a hexidecimal format, please enter in the format of XX XX XX (using spaces "
        "between each two digits) and click the Convert to Hex check box below."));

    auto* command = new QGridLayout;
    m_commandField = new QLineEdit(QStringLiteral("FA00028475000;"), this);
    m_commandField->setObjectName(QStringLiteral("commandField"));
    m_commandField->setAccessibleName(QStringLiteral("Command"));
    auto* sendCommand = commandButton(this, "sendCommandButton", "Send");
    sendCommand->setAccessibleName(QStringLiteral("Send command"));
    m_hexCheck = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    m_hexCheck->setObjectName(QStringLiteral("hexCheck"));
    command->addWidget(m_commandField, 0, 0);
    command->addWidget(sendCommand, 0, 1);
    command->addWidget(m_hexCheck, 1, 0);
    layout->addLayout(command);

    layout->addWidget(explanation(this,
        "Most Elecrafts, Icoms, Kenwoods and Yaesus are now supported. For any supported radio, you should be "
        "able to enter a frequency in Mhz, click send and your radio should switch to the specified frequency."));
    auto* frequency = new QGridLayout;
    m_frequencyField = new QLineEdit(QStringLiteral("28.475"), this);
    m_frequencyField->setObjectName(QStringLiteral("frequencyField"));
    m_frequencyField->setAccessibleName(QStringLiteral("Frequency in MHz"));
    auto* sendFrequencyButton = commandButton(this, "sendFrequencyButton", "Send");
    sendFrequencyButton->setAccessibleName(QStringLiteral("Send frequency"));
    frequency->addWidget(m_frequencyField, 0, 0);
    frequency->addWidget(sendFrequencyButton, 0, 1);
    layout->addLayout(frequency);
    layout->addStretch();

    // Wide enough for its title whole and the explanations in few lines.
    resize(std::max(sizeHint().width(), fontMetrics().averageCharWidth() * 64), sizeHint().height());

    connect(sendCommand, &QPushButton::clicked, this, &FrequencyTestDialog::sendRawCommand);
    connect(sendFrequencyButton, &QPushButton::clicked, this, &FrequencyTestDialog::sendFrequency);
}

void FrequencyTestDialog::sendRawCommand()
{
    const std::string command(trimBlanks(toBytes(m_commandField->text())));
    const std::optional<std::string> bytes = m_hexCheck->isChecked() ? bytesFromHexPairs(command) : command;
    // A port that is not open takes nothing, and the window says nothing: it is opened only while polling.
    if (bytes) {
        (void)m_rig.sendRaw(*bytes);
    }
}

void FrequencyTestDialog::sendFrequency()
{
    if (const std::optional<Hertz> hertz = hertzFromText(toBytes(m_frequencyField->text()))) {
        m_rig.changeFrequency(*hertz);
    }
}

} // namespace brindle
