#include "RigInterfaceWindow.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "rig/FrequencyTestDialog.h"
#include "rig/RigInterface.h"
#include "rig/RigProfile.h"
#include "rig/RigReplies.h"
#include "ui/CommandButton.h"
#include "ui/FormControls.h"
#include "ui/LabelledField.h"
#include "ui/StorableText.h"
#include "ui/WindowScaling.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>
#include <utility>

namespace brindle {

namespace {

constexpr std::array<OptionValue, 9> BaudValues { {
    { "1200", "baudOption_1200", "1.2" },
    { "2400", "baudOption_2400", "2.4" },
    { "4800", "baudOption_4800", "4.8" },
    { "9600", "baudOption_9600", "9.6" },
    { "14400", "baudOption_14400", "14.4" },
    { "19200", "baudOption_19200", "19.2" },
    { "28800", "baudOption_28800", "28.8" },
    { "38400", "baudOption_38400", "38.4" },
    { "56000", "baudOption_56000", "56" },
} };

constexpr std::array<OptionValue, 4> PollValues { {
    { "F", "poll100msOption", "100 ms" },
    { "M", "poll500msOption", "500 ms" },
    { "S", "poll2sOption", "2 Sec" },
    { "R", "poll10sOption", "10 Sec" },
} };

const QString NoResponse = QStringLiteral("No Response");
const QString NotPollingTitle = QStringLiteral("You must be polling your rig to test this function.");
const QString NotPollingText = QStringLiteral("You must be polling your rig to test this function.  Please select "
                                              "your rig type and click the Test command button.");

// The rig's frequency as the window shows it: five decimals, no zero before the point.
QString frequencyLabelText(float freqMHz)
{
    QString text = QString::number(static_cast<double>(freqMHz), 'f', 5);
    if (text.startsWith(QStringLiteral("0."))) {
        text.remove(0, 1);
    }
    return text;
}

// Binary replies as hex pairs, each followed by a space.
QString spacedHex(std::string_view bytes)
{
    const std::string hex = hexText(bytes);
    QString spaced;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        spaced += toQString(std::string_view(hex).substr(i, 2)) + QLatin1Char(' ');
    }
    return spaced;
}

std::pair<QString, QString> splitAddress(const std::string& address)
{
    const std::size_t colon = address.rfind(':');
    if (colon == std::string::npos) {
        return { toQString(address), {} };
    }
    return { toQString(address.substr(0, colon)), toQString(address.substr(colon + 1)) };
}

bool isNetworkRig(std::string_view name)
{
    return rigFamily(name) == RigFamily::Rigctld;
}

} // namespace

RigInterfaceWindow::RigInterfaceWindow(
    RigInterface& rig, OperatorDialogs& dialogs, RigNameSaver saveRigName, QWidget* parent)
    : QDialog(parent)
    , m_rig(rig)
    , m_dialogs(dialogs)
    , m_saveRigName(std::move(saveRigName))
{
    setObjectName(QStringLiteral("RigInterfaceWindow"));
    setWindowTitle(QStringLiteral(" Rig Interface Setup"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildRigColumn());
    m_serialColumn = buildPortOptions();
    columns->addWidget(m_serialColumn);
    columns->addWidget(buildPollColumn(), 1);
    layout->addLayout(columns, 1);
    layout->addLayout(buildCommands());

    m_rig.loadSettings();
    showSettings(m_rig.settings());
    showPolling(m_rig.isPolling());
    connectControls();
    refuseUnstorableText(*this, m_dialogs, StoredAs::Quoted);
    resize(designRect(0, 0, 9600, 7000).size());
    scaleByWorkAreaRule(*this, screenGeometryOf(*this));
}

QWidget* RigInterfaceWindow::buildRigColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("Select Rig:"), column);
    m_rigList = new QListWidget(column);
    m_rigList->setObjectName(QStringLiteral("rigList"));
    caption->setBuddy(m_rigList);
    for (const std::string_view name : rigNames()) {
        m_rigList->addItem(toQString(name));
    }
    // The longest name whole, and no wider: the other columns need the room on a small screen.
    m_rigList->setMinimumWidth(
        m_rigList->fontMetrics().horizontalAdvance(QStringLiteral("Yaesu FTdx9000")) + m_rigList->frameWidth() * 2 + 6);
    layout->addWidget(caption);
    layout->addWidget(m_rigList, 1);
    return column;
}

QWidget* RigInterfaceWindow::buildPortOptions()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* ports = new QGroupBox(QStringLiteral("Comm Port:"), column);
    ports->setObjectName(QStringLiteral("portFrame"));
    auto* portGrid = new QGridLayout(ports);
    for (std::size_t i = 0; i < m_portOptions.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        m_portOptions[i] = optionButton(ports, ("portOption_" + number).c_str(), number.c_str());
        portGrid->addWidget(m_portOptions[i], static_cast<int>(i / 5), static_cast<int>(i % 5));
    }
    layout->addWidget(ports);

    for (std::size_t i = 0; i < BaudValues.size(); ++i) {
        m_baudOptions[i] = optionButton(this, BaudValues[i].name, BaudValues[i].caption);
    }
    layout->addWidget(optionFrame(this, "baudFrame", "Baud Rate (k):",
        { m_baudOptions[0], m_baudOptions[1], m_baudOptions[2], m_baudOptions[3], m_baudOptions[4], m_baudOptions[5],
            m_baudOptions[6], m_baudOptions[7], m_baudOptions[8] },
        3));

    auto* framing = new QHBoxLayout;
    m_oddParityOption = optionButton(this, "oddParityOption", "Odd");
    m_noParityOption = optionButton(this, "noParityOption", "None");
    m_evenParityOption = optionButton(this, "evenParityOption", "Even");
    framing->addWidget(
        optionFrame(this, "parityFrame", "Parity", { m_oddParityOption, m_noParityOption, m_evenParityOption }));
    m_sevenBitsOption = optionButton(this, "sevenBitsOption", "7");
    m_eightBitsOption = optionButton(this, "eightBitsOption", "8");
    framing->addWidget(optionFrame(this, "dataBitsFrame", "Data", { m_sevenBitsOption, m_eightBitsOption }));
    m_oneStopBitOption = optionButton(this, "oneStopBitOption", "1");
    m_twoStopBitsOption = optionButton(this, "twoStopBitsOption", "2");
    framing->addWidget(optionFrame(this, "stopBitsFrame", "Stop", { m_oneStopBitOption, m_twoStopBitsOption }));
    layout->addLayout(framing);

    // One above the other, each in rows: their captions are wider than their options.
    auto* lines = new QVBoxLayout;
    m_noPowerOption = optionButton(this, "noPowerOption", "None");
    m_rtsPowerOption = optionButton(this, "rtsPowerOption", "RTS");
    m_dtrPowerOption = optionButton(this, "dtrPowerOption", "DTR");
    lines->addWidget(optionFrame(
        this, "powerFrame", "Connection Power:", { m_noPowerOption, m_rtsPowerOption, m_dtrPowerOption }, 3));
    for (std::size_t i = 0; i < PollValues.size(); ++i) {
        m_pollOptions[i] = optionButton(this, PollValues[i].name, PollValues[i].caption);
    }
    lines->addWidget(optionFrame(this, "pollRateFrame",
        "Radio Polling Rate:", { m_pollOptions[0], m_pollOptions[1], m_pollOptions[2], m_pollOptions[3] }, 2));
    layout->addLayout(lines);
    layout->addStretch();
    return column;
}

QWidget* RigInterfaceWindow::buildPollColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    const LabelledField frequency
        = labelledField(column, "frequencyPollField", QStringLiteral("String to read frequency:"));
    m_frequencyPollField = frequency.field;
    const LabelledField mode = labelledField(column, "modePollField", QStringLiteral("String to read mode:"));
    m_modePollField = mode.field;
    for (const LabelledField& field : { frequency, mode }) {
        layout->addWidget(field.caption);
        layout->addWidget(field.field);
    }
    // Beside the strings it is about, and out of the way of the rig list.
    m_icomCaption = new QLabel(toQString(IcomNote), column);
    m_icomCaption->setObjectName(QStringLiteral("icomCaption"));
    m_icomCaption->setWordWrap(true);
    QSizePolicy keepRoom = m_icomCaption->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_icomCaption->setSizePolicy(keepRoom);
    layout->addWidget(m_icomCaption);

    auto* checks = new QGridLayout;
    m_toHexCheck = new QCheckBox(QStringLiteral("Convert to Hex"), column);
    m_toHexCheck->setObjectName(QStringLiteral("toHexCheck"));
    m_fromHexCheck = new QCheckBox(QStringLiteral("Convert from Hex"), column);
    m_fromHexCheck->setObjectName(QStringLiteral("fromHexCheck"));
    m_useFrequencyCheck = new QCheckBox(QStringLiteral("Use Frequency"), column);
    m_useFrequencyCheck->setObjectName(QStringLiteral("useFrequencyCheck"));
    checks->addWidget(m_toHexCheck, 0, 0);
    checks->addWidget(m_fromHexCheck, 0, 1);
    checks->addWidget(m_useFrequencyCheck, 1, 0);
    layout->addLayout(checks);

    m_modeByRigOption = optionButton(column, "modeByRigOption", "Rig");
    m_modeByFrequencyOption = optionButton(column, "modeByFrequencyOption", "Frequency");
    m_ignoreModeOption = optionButton(column, "ignoreModeOption", "Don't Use");
    layout->addWidget(optionFrame(
        column, "modeByFrame", "Mode by:", { m_modeByRigOption, m_modeByFrequencyOption, m_ignoreModeOption }, 3));

    auto* readings = new QGridLayout;
    const auto addReading = [&](int row, const char* caption, const char* name) {
        auto* label = new QLabel(column);
        label->setObjectName(QString::fromLatin1(name));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // Readings come and go at the poll rate: no text of theirs may move the options under the mouse.
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("No Response")));
        readings->addWidget(new QLabel(QString::fromLatin1(caption), column), row, 0);
        readings->addWidget(label, row, 1);
        return label;
    };
    m_rigFrequencyLabel = addReading(0, "Frequency:", "rigFrequencyLabel");
    m_rigModeLabel = addReading(1, "Mode:", "rigModeLabel");
    readings->addWidget(new QLabel(QStringLiteral("Should be PH or CW"), column), 2, 1);
    readings->setColumnStretch(1, 1);
    layout->addLayout(readings);

    layout->addWidget(new QLabel(QStringLiteral("Unprocessed data returned:"), column));
    m_unprocessedLabel = new QLabel(column);
    m_unprocessedLabel->setObjectName(QStringLiteral("unprocessedLabel"));
    m_unprocessedLabel->setFrameShape(QFrame::Panel);
    m_unprocessedLabel->setFrameShadow(QFrame::Sunken);
    m_unprocessedLabel->setWordWrap(true);
    m_unprocessedLabel->setTextFormat(Qt::PlainText);
    m_unprocessedLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_unprocessedLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_unprocessedLabel->setFixedHeight(m_unprocessedLabel->fontMetrics().lineSpacing() * 3 + 6);
    m_unprocessedLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_unprocessedLabel);

    // "Hamlib rigctld" is reached over the network: its host and port stand for the serial settings.
    m_rigctldRow = new QWidget(column);
    auto* rigctld = new QHBoxLayout(m_rigctldRow);
    rigctld->setContentsMargins(0, 0, 0, 0);
    const LabelledField host = labelledField(m_rigctldRow, "rigctldHostField", QStringLiteral("rigctld host:"));
    const LabelledField port = labelledField(m_rigctldRow, "rigctldPortField", QStringLiteral("Port:"));
    m_rigctldHostField = host.field;
    m_rigctldPortField = port.field;
    m_rigctldPortField->setMaxLength(5);
    m_rigctldPortField->setMaximumWidth(m_rigctldPortField->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    rigctld->addWidget(host.caption);
    rigctld->addWidget(host.field, 1);
    rigctld->addWidget(port.caption);
    rigctld->addWidget(port.field);
    layout->addWidget(m_rigctldRow);

    // The Pegasus control program's files are read and written in its own folder.
    m_pegasusRow = new QWidget(column);
    auto* pegasus = new QHBoxLayout(m_pegasusRow);
    pegasus->setContentsMargins(0, 0, 0, 0);
    const LabelledField folder = labelledField(m_pegasusRow, "pegasusFolderField", QStringLiteral("Pegasus folder:"));
    m_pegasusFolderField = folder.field;
    m_pegasusBrowseButton = commandButton(m_pegasusRow, "pegasusBrowseButton", "Browse");
    pegasus->addWidget(folder.caption);
    pegasus->addWidget(folder.field, 1);
    pegasus->addWidget(m_pegasusBrowseButton);
    layout->addWidget(m_pegasusRow);

    m_pollingLabel = new QLabel(QStringLiteral("Polling Rig"), column);
    m_pollingLabel->setObjectName(QStringLiteral("pollingLabel"));
    keepRoom = m_pollingLabel->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_pollingLabel->setSizePolicy(keepRoom);
    layout->addWidget(m_pollingLabel);
    layout->addStretch();
    return column;
}

QLayout* RigInterfaceWindow::buildCommands()
{
    auto* commands = new QHBoxLayout;
    m_testButton = commandButton(this, "testButton", "Test");
    m_endTestButton = commandButton(this, "endTestButton", "End Test");
    m_copyUnprocessedButton = commandButton(this, "copyUnprocessedButton", "Copy unprocessed data to clipboard");
    m_frequencyTestButton = commandButton(this, "frequencyTestButton", "Change Frequency");

    m_doneButton = commandButton(this, "doneButton", "&Done");
    for (QPushButton* button : { m_testButton, m_endTestButton, m_copyUnprocessedButton, m_frequencyTestButton }) {
        commands->addWidget(button);
    }
    commands->addStretch();
    commands->addWidget(m_doneButton);
    return commands;
}

void RigInterfaceWindow::connectControls()
{
    connect(m_rigList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { chooseRig(item->text()); });
    connect(m_rigList, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        // The arrow keys choose as a click does; a click on the chosen rig chooses it again.
        if (!m_showing && toBytes(name) != m_rig.settings().rigName) {
            chooseRig(name);
        }
    });
    std::vector<QRadioButton*> endingOptions(m_portOptions.begin(), m_portOptions.end());
    endingOptions.insert(endingOptions.end(), m_baudOptions.begin(), m_baudOptions.end());
    endingOptions.insert(endingOptions.end(), m_pollOptions.begin(), m_pollOptions.end());
    for (QRadioButton* option :
        { m_oddParityOption, m_noParityOption, m_evenParityOption, m_sevenBitsOption, m_eightBitsOption,
            m_oneStopBitOption, m_twoStopBitsOption, m_noPowerOption, m_rtsPowerOption, m_dtrPowerOption }) {
        endingOptions.push_back(option);
    }
    for (QRadioButton* option : endingOptions) {
        connect(option, &QRadioButton::clicked, this, &RigInterfaceWindow::changeEndsTest);
    }
    for (QLineEdit* field : { m_frequencyPollField, m_modePollField }) {
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, &RigInterfaceWindow::applyWindow);
    }
    for (QLineEdit* field : { m_rigctldHostField, m_rigctldPortField, m_pegasusFolderField }) {
        connect(field, &QLineEdit::textEdited, this, &RigInterfaceWindow::applyWindow);
    }
    for (QRadioButton* option : { m_modeByRigOption, m_modeByFrequencyOption, m_ignoreModeOption }) {
        connect(option, &QRadioButton::clicked, this, [this] {
            m_rigModeLabel->setText(NoResponse);
            m_rig.clearRigMode();
            applyWindow();
        });
    }
    connect(m_toHexCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_fromHexCheck->setChecked(on);
        applyWindow();
    });
    connect(m_useFrequencyCheck, &QCheckBox::toggled, this, &RigInterfaceWindow::applyWindow);
    connect(m_pegasusBrowseButton, &QPushButton::clicked, this, &RigInterfaceWindow::browsePegasusFolder);
    connect(m_testButton, &QPushButton::clicked, this, &RigInterfaceWindow::startPolling);
    connect(m_endTestButton, &QPushButton::clicked, this, &RigInterfaceWindow::stopPolling);
    connect(m_copyUnprocessedButton, &QPushButton::clicked, this, &RigInterfaceWindow::copyUnprocessed);
    connect(m_frequencyTestButton, &QPushButton::clicked, this, &RigInterfaceWindow::openFrequencyTest);
    connect(m_doneButton, &QPushButton::clicked, this, &RigInterfaceWindow::saveRigSettings);
    connect(&m_rig, &RigInterface::polled, this, &RigInterfaceWindow::showReading);
    connect(&m_rig, &RigInterface::pollingChanged, this, &RigInterfaceWindow::showPolling);
    connect(&m_rig, &RigInterface::linkStatusChanged, this, [this](const QString& status) {
        if (isNetworkRig(m_rig.settings().rigName)) {
            m_unprocessedLabel->setText(status);
        }
    });
}

void RigInterfaceWindow::showEvent(QShowEvent* event)
{
    showSettings(m_rig.settings());
    QDialog::showEvent(event);
}

bool RigInterfaceWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Entering a poll string ends the test: the rig is asked with what the field will hold.
    if ((watched == m_frequencyPollField || watched == m_modePollField) && event->type() == QEvent::FocusIn
        && m_rig.isPolling()) {
        stopPolling();
    }
    return QDialog::eventFilter(watched, event);
}

void RigInterfaceWindow::showSettings(const RigSettings& settings)
{
    m_showing = true;
    m_useFrequencyCheck->setChecked(settings.useFrequency);
    m_toHexCheck->setChecked(settings.convertToHex);
    m_fromHexCheck->setChecked(settings.convertToHex);
    (settings.modeBy == ModeBy::Frequency       ? m_modeByFrequencyOption
            : settings.modeBy == ModeBy::Ignore ? m_ignoreModeOption
                                                : m_modeByRigOption)
        ->setChecked(true);
    showText(m_frequencyPollField, toQString(settings.frequencyPoll));
    showText(m_modePollField, toQString(settings.modePoll));
    const QList<QListWidgetItem*> found = m_rigList->findItems(toQString(settings.rigName), Qt::MatchFixedString);
    m_rigList->setCurrentItem(found.isEmpty() ? nullptr : found.front());
    const RigChoice choice = rigChoiceOnLoad(settings.rigName);
    m_toHexCheck->setEnabled(choice.convertToHexEnabled);
    m_icomCaption->setVisible(choice.icomNote);

    // The file never names a port outside the buttons: its reading stops before such a number.
    m_portOptions.at(static_cast<std::size_t>(std::clamp(settings.port, LowestRigPort, HighestRigPort) - 1))
        ->setChecked(true);
    selectOption({ { m_baudOptions[0], BaudValues[0].value }, { m_baudOptions[1], BaudValues[1].value },
                     { m_baudOptions[2], BaudValues[2].value }, { m_baudOptions[3], BaudValues[3].value },
                     { m_baudOptions[4], BaudValues[4].value }, { m_baudOptions[5], BaudValues[5].value },
                     { m_baudOptions[6], BaudValues[6].value }, { m_baudOptions[7], BaudValues[7].value },
                     { m_baudOptions[8], BaudValues[8].value } },
        trimBlanks(settings.baud));
    selectOption(
        { { m_oddParityOption, "O" }, { m_noParityOption, "N" }, { m_evenParityOption, "E" } }, settings.parity);
    selectOption({ { m_sevenBitsOption, "7" }, { m_eightBitsOption, "8" } }, settings.dataBits);
    selectOption({ { m_oneStopBitOption, "1" }, { m_twoStopBitsOption, "2" } }, settings.stopBits);
    selectOption({ { m_noPowerOption, "N" }, { m_rtsPowerOption, "R" }, { m_dtrPowerOption, "D" } }, settings.power);
    selectOption(
        { { m_pollOptions[0], "F" }, { m_pollOptions[1], "M" }, { m_pollOptions[2], "S" }, { m_pollOptions[3], "R" } },
        settings.pollRate);

    const auto [host, portNumber] = splitAddress(settings.rigctldAddress);
    showText(m_rigctldHostField, host);
    showText(m_rigctldPortField, portNumber);
    showText(m_pegasusFolderField, pathToQString(m_rig.pegasusFolder()));
    showNetworkFields(settings.rigName);
    m_showing = false;
}

void RigInterfaceWindow::showNetworkFields(std::string_view rigName)
{
    m_rigctldRow->setVisible(isNetworkRig(rigName));
    // Kept for the serial rigs, but the network's rig has no use for them.
    m_serialColumn->setEnabled(!isNetworkRig(rigName));
    m_pegasusRow->setVisible(rigFamily(rigName) == RigFamily::Pegasus);
}

RigSettings RigInterfaceWindow::settingsInWindow() const
{
    RigSettings settings = m_rig.settings();
    if (const QListWidgetItem* rig = m_rigList->currentItem()) {
        settings.rigName = toBytes(rig->text());
    }
    for (std::size_t i = 0; i < m_portOptions.size(); ++i) {
        if (m_portOptions[i]->isChecked()) {
            settings.port = static_cast<int>(i) + 1;
        }
    }
    settings.baud
        = checkedValue({ { m_baudOptions[0], BaudValues[0].value }, { m_baudOptions[1], BaudValues[1].value },
                           { m_baudOptions[2], BaudValues[2].value }, { m_baudOptions[3], BaudValues[3].value },
                           { m_baudOptions[4], BaudValues[4].value }, { m_baudOptions[5], BaudValues[5].value },
                           { m_baudOptions[6], BaudValues[6].value }, { m_baudOptions[7], BaudValues[7].value },
                           { m_baudOptions[8], BaudValues[8].value } },
            settings.baud);
    settings.parity = checkedValue(
        { { m_oddParityOption, "O" }, { m_noParityOption, "N" }, { m_evenParityOption, "E" } }, settings.parity);
    settings.dataBits = checkedValue({ { m_sevenBitsOption, "7" }, { m_eightBitsOption, "8" } }, settings.dataBits);
    settings.stopBits = checkedValue({ { m_oneStopBitOption, "1" }, { m_twoStopBitsOption, "2" } }, settings.stopBits);
    settings.power = checkedValue(
        { { m_noPowerOption, "N" }, { m_rtsPowerOption, "R" }, { m_dtrPowerOption, "D" } }, settings.power);
    settings.pollRate = checkedValue(
        { { m_pollOptions[0], "F" }, { m_pollOptions[1], "M" }, { m_pollOptions[2], "S" }, { m_pollOptions[3], "R" } },
        settings.pollRate);
    settings.frequencyPoll = bytesIn(m_frequencyPollField);
    settings.modePoll = bytesIn(m_modePollField);
    settings.convertToHex = m_toHexCheck->isChecked();
    settings.useFrequency = m_useFrequencyCheck->isChecked();
    settings.modeBy = m_modeByFrequencyOption->isChecked() ? ModeBy::Frequency
        : m_ignoreModeOption->isChecked()                  ? ModeBy::Ignore
                                                           : ModeBy::Rig;
    settings.rigctldAddress
        = toBytes(m_rigctldHostField->text().trimmed()) + ":" + toBytes(m_rigctldPortField->text().trimmed());
    return settings;
}

void RigInterfaceWindow::applyWindow()
{
    if (m_showing) {
        return;
    }
    m_rig.applySettings(settingsInWindow());
}

void RigInterfaceWindow::changeEndsTest()
{
    if (m_rig.isPolling()) {
        stopPolling();
    }
    applyWindow();
}

void RigInterfaceWindow::chooseRig(const QString& name)
{
    stopPolling();
    RigSettings settings = settingsInWindow();
    const RigChoice choice = applyProfile(toBytes(name), settings);
    m_rig.applySettings(settings);
    showSettings(settings);
    // Unlike reading the file, choosing "Icom 735" shows the note too.
    m_icomCaption->setVisible(choice.icomNote);
    m_toHexCheck->setEnabled(choice.convertToHexEnabled);
}

void RigInterfaceWindow::startPolling()
{
    applyWindow();
    const bool rig = rigFamily(m_rig.settings().rigName) != RigFamily::None;
    if (rig) {
        m_rigFrequencyLabel->setText(NoResponse);
        m_rigModeLabel->setText(NoResponse);
        m_unprocessedLabel->clear();
    }
    m_rig.startPolling();
    showPolling(m_rig.isPolling());
}

void RigInterfaceWindow::stopPolling()
{
    m_rigModeLabel->clear();
    m_rigFrequencyLabel->clear();
    m_unprocessedLabel->clear();
    m_rig.stopPolling();
    showPolling(false);
}

void RigInterfaceWindow::showPolling(bool polling)
{
    m_pollingLabel->setVisible(polling);
    m_endTestButton->setEnabled(polling);
}

void RigInterfaceWindow::showReading()
{
    if (!isVisible()) {
        return;
    }
    const RigReading& reading = m_rig.reading();
    if (reading.freqMHz && *reading.freqMHz > 0) {
        m_rigFrequencyLabel->setText(frequencyLabelText(*reading.freqMHz));
    }
    m_rigModeLabel->setText(toQString(reading.mode));
    if (isNetworkRig(m_rig.settings().rigName)) {
        m_unprocessedLabel->setText(toQString(m_rig.receiveBuffer()) + QLatin1Char('\n') + m_rig.linkStatus());
        return;
    }
    m_unprocessedLabel->setText(
        m_fromHexCheck->isChecked() ? spacedHex(m_rig.receiveBuffer()) : toQString(m_rig.receiveBuffer()));
}

void RigInterfaceWindow::copyUnprocessed()
{
    m_dialogs.setClipboardText(m_unprocessedLabel->text());
    m_doneButton->setFocus();
}

void RigInterfaceWindow::openFrequencyTest()
{
    if (!m_rig.isPolling()) {
        m_dialogs.message(
            NotPollingTitle, NotPollingText, OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Information);
        return;
    }
    FrequencyTestDialog test(m_rig, this);
    m_dialogs.runModal(test);
}

void RigInterfaceWindow::browsePegasusFolder()
{
    const std::optional<QString> chosen = m_dialogs.chooseFolder(m_pegasusFolderField->text());
    if (chosen) {
        m_pegasusFolderField->setText(*chosen);
        m_doneButton->setFocus();
    }
}

void RigInterfaceWindow::saveRigSettings()
{
    applyWindow();
    m_rig.setPegasusFolder(pathFromQString(m_pegasusFolderField->text().trimmed()));
    if (rigFamily(m_rig.settings().rigName) != RigFamily::None) {
        startPolling();
    }
    m_saveRigName(m_rig.settings().rigName);
    const Status saved = m_rig.saveSettings();
    if (!saved) {
        m_dialogs.message(QStringLiteral("Rig Interface Setup"),
            QStringLiteral("The rig settings could not be written to \"%1\": %2")
                .arg(toQString(RigSettingsFileName), toQString(saved.error().description)),
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Warning);
    }
    hide();
}

} // namespace brindle
