#include "SpottingWindow.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "spots/MonitorText.h"
#include "spots/SpotFeed.h"
#include "spots/SpotHelp.h"
#include "ui/CommandButton.h"
#include "ui/FormControls.h"
#include "ui/LabelledField.h"
#include "ui/StorableText.h"
#include "ui/WindowScaling.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

namespace brindle {

namespace {

constexpr std::array<OptionValue, 6> BaudValues { {
    { "1200", "baudOption_1200", "1.2k" },
    { "2400", "baudOption_2400", "2.4k" },
    { "4800", "baudOption_4800", "4.8k" },
    { "9600", "baudOption_9600", "9.6k" },
    { "14400", "baudOption_14400", "14.4k" },
    { "19200", "baudOption_19200", "19.2k" },
} };

// While text keeps coming the monitor is redrawn at most twice a second, faster than anyone reads a flood;
// after a quiet spell at once, so that a prompt shows as it comes.
constexpr std::int64_t MonitorRedrawMs = 500;

QString promptFor(SpotSource source)
{
    switch (source) {
    case SpotSource::Tnc:
        return QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):");
    case SpotSource::Agw:
        return QStringLiteral("Send text (use : to send cmds such as :C KORVA or :D)");
    case SpotSource::Telnet:
        return QStringLiteral("Type text to send and press enter:");
    case SpotSource::None:
        break;
    }
    return {};
}

// The windows' line breaks as the monitor draws them.
QString monitorShown(const std::string& text)
{
    QString shown = toQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// Where in `from` the text `to` begins, when `to` is what is left of `from` from there on with more
// after it: the monitor cut at its start and added to at its end. Nothing when it is not.
std::optional<qsizetype> continuationStart(const QString& from, const QString& to)
{
    if (to.startsWith(from)) {
        return 0;
    }
    // Only a long run of one repeated line could offer many false starts; a few tries are enough for any
    // monitor a node fills, and redrawing the lot is always right.
    constexpr qsizetype ProbeLength = 64;
    constexpr int MaxTries = 8;
    const QStringView probe = QStringView(to).left(ProbeLength);
    qsizetype at = probe.size() < ProbeLength ? -1 : from.indexOf(probe, 1);
    for (int tries = 0; at > 0 && tries < MaxTries; ++tries) {
        if (QStringView(to).startsWith(QStringView(from).mid(at))) {
            return at;
        }
        at = from.indexOf(probe, at + 1);
    }
    return std::nullopt;
}

} // namespace

SpottingWindow::SpottingWindow(SpotFeed& feed, OperatorDialogs& dialogs, Hooks hooks, QWidget* parent)
    : QDialog(parent)
    , m_feed(feed)
    , m_dialogs(dialogs)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("SpottingWindow"));
    setWindowTitle(QStringLiteral(" DX Spotting Setup"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    columns->addWidget(buildSourceColumn());
    // Only the chosen source's settings are in sight: the monitor needs the room more than the others.
    m_sourcePages = new QStackedWidget(this);
    m_sourcePages->setObjectName(QStringLiteral("sourcePages"));
    m_sourcePages->addWidget(new QWidget(m_sourcePages));
    m_sourcePages->addWidget(buildTncGroup());
    m_sourcePages->addWidget(buildTelnetGroup());
    m_sourcePages->addWidget(buildAgwGroup());
    showSourcePage(std::nullopt);
    columns->addWidget(m_sourcePages, 1);
    layout->addLayout(columns);
    layout->addLayout(buildDisplayRow());

    m_monitorText = new QPlainTextEdit(this);
    m_monitorText->setObjectName(QStringLiteral("monitorText"));
    m_monitorText->setReadOnly(true);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Laying out a busy node's lines is most of what the monitor costs; fixed-pitch Latin text needs no shaping.
    fixed.setStyleStrategy(QFont::PreferNoShaping);
    m_monitorText->setFont(fixed);
    m_monitorText->setStyleSheet(QStringLiteral("QPlainTextEdit { color: white; background: #000080; }"));
    m_monitorText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_monitorText->setMinimumHeight(m_monitorText->fontMetrics().lineSpacing() * 4);
    // The text changes a piece at a time for as long as the program runs: an undo history would keep it all.
    m_monitorText->document()->setUndoRedoEnabled(false);
    layout->addWidget(m_monitorText, 1);

    auto* sendRow = new QWidget(this);
    auto* send = new QVBoxLayout(sendRow);
    send->setContentsMargins(0, 0, 0, 0);
    m_sendPromptLabel = new QLabel(sendRow);
    m_sendPromptLabel->setObjectName(QStringLiteral("sendPromptLabel"));
    m_sendField = new QLineEdit(sendRow);
    m_sendField->setObjectName(QStringLiteral("sendField"));
    m_sendPromptLabel->setBuddy(m_sendField);
    send->addWidget(m_sendPromptLabel);
    send->addWidget(m_sendField);
    layout->addWidget(sendRow);

    auto* commands = new QHBoxLayout;
    m_openButton = commandButton(this, "openButton", "Open Port");
    m_closeButton = commandButton(this, "closeButton", "Close Port");
    m_spotLastButton = commandButton(this, "spotLastButton", "&Spot Last");
    m_doneButton = commandButton(this, "doneButton", "&Done");
    m_listeningLabel = new QLabel(QStringLiteral("Listening"), this);
    m_listeningLabel->setObjectName(QStringLiteral("listeningLabel"));
    QSizePolicy keepRoom = m_listeningLabel->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_listeningLabel->setSizePolicy(keepRoom);
    m_listeningLabel->hide();
    for (QWidget* widget : std::initializer_list<QWidget*> { m_openButton, m_closeButton, m_listeningLabel }) {
        commands->addWidget(widget);
    }
    commands->addStretch();
    commands->addWidget(m_spotLastButton);
    commands->addWidget(m_doneButton);
    layout->addLayout(commands);

    m_monitorTimer = new QTimer(this);
    m_monitorTimer->setSingleShot(true);
    connect(m_monitorTimer, &QTimer::timeout, this, &SpottingWindow::showMonitor);

    // The send box goes to the node as typed; only the stored fields must fit their file.
    refuseUnstorableText(*sendRow, m_dialogs, StoredAs::Plain);
    refuseUnstorableText(*this, m_dialogs, StoredAs::Quoted);
    resize(designRect(0, 0, 9600, 7600).size());
    scaleByWorkAreaRule(*this, screenGeometryOf(*this));

    // The design's values, shown until a file says otherwise.
    showSerialSettings(SpotSettings {});
    showWindowValues(m_feed.settings());
    disableSourceControls();
    connectControls();
    // The window sees every key first: Esc and Ctrl+C are the TNC's, wherever the focus is.
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    m_loadingSettings = true;
    loadSpotSettings();
    m_loadingSettings = false;
}

QWidget* SpottingWindow::buildSourceColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("Spots from:"), column);
    m_sourceList = new QListWidget(column);
    m_sourceList->setObjectName(QStringLiteral("sourceList"));
    caption->setBuddy(m_sourceList);
    for (const SpotSource source : { SpotSource::None, SpotSource::Tnc, SpotSource::Telnet, SpotSource::Agw }) {
        m_sourceList->addItem(toQString(spotSourceText(source)));
    }
    m_sourceList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(caption);
    layout->addWidget(m_sourceList);

    layout->addStretch();
    return column;
}

QLayout* SpottingWindow::buildDisplayRow()
{
    auto* row = new QHBoxLayout;
    m_bandMapOption = optionButton(this, "bandMapOption", "Band Map");
    m_spotListOption = optionButton(this, "spotListOption", "List");
    m_displayFrame = optionFrame(this, "displayFrame", "Main Form Display", { m_bandMapOption, m_spotListOption }, 2);
    m_dxOnlyCheck = new QCheckBox(QStringLiteral("List DX Only (also controls main form)"), this);
    m_dxOnlyCheck->setObjectName(QStringLiteral("dxOnlyCheck"));
    row->addWidget(m_displayFrame);
    row->addWidget(m_dxOnlyCheck, 0, Qt::AlignBottom);
    row->addStretch();
    return row;
}

QGroupBox* SpottingWindow::buildTncGroup()
{
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("tncGroup"));
    auto* layout = new QVBoxLayout(group);
    m_tncCaption = new QLabel(QStringLiteral("Packet TNC on a serial port:"), group);
    m_tncCaption->setObjectName(QStringLiteral("tncCaption"));
    layout->addWidget(m_tncCaption);
    // The port and speed on the left, the framing and lines on the right: the monitor below needs the
    // height more than the window needs the width.
    auto* halves = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    halves->addLayout(left);
    halves->addLayout(right);
    layout->addLayout(halves);

    auto* ports = new QGroupBox(QStringLiteral("Comm Port"), group);
    ports->setObjectName(QStringLiteral("portFrame"));
    auto* portGrid = new QGridLayout(ports);
    for (std::size_t i = 0; i < m_portOptions.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        m_portOptions[i] = optionButton(ports, ("portOption_" + number).c_str(), number.c_str());
        portGrid->addWidget(m_portOptions[i], static_cast<int>(i / 5), static_cast<int>(i % 5));
    }
    left->addWidget(ports);
    m_serialFrames.push_back(ports);

    for (std::size_t i = 0; i < BaudValues.size(); ++i) {
        m_baudOptions[i] = optionButton(group, BaudValues[i].name, BaudValues[i].caption);
    }
    // The caption is longer than the options are wide: it wraps, rather than widen the window.
    const QString baudCaption = QStringLiteral("Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)");
    auto* baud = new QGroupBox(group);
    baud->setObjectName(QStringLiteral("baudFrame"));
    baud->setAccessibleName(baudCaption);
    auto* baudLayout = new QVBoxLayout(baud);
    auto* baudLabel = new QLabel(baudCaption, baud);
    baudLabel->setWordWrap(true);
    baudLayout->addWidget(baudLabel);
    auto* baudGrid = new QGridLayout;
    for (std::size_t i = 0; i < m_baudOptions.size(); ++i) {
        m_baudOptions[i]->setParent(baud);
        baudGrid->addWidget(m_baudOptions[i], static_cast<int>(i / 3), static_cast<int>(i % 3));
    }
    baudLayout->addLayout(baudGrid);
    left->addWidget(baud);

    auto* framing = new QHBoxLayout;
    m_oddParityOption = optionButton(group, "oddParityOption", "Odd");
    m_noParityOption = optionButton(group, "noParityOption", "None");
    m_evenParityOption = optionButton(group, "evenParityOption", "Even");
    auto* parity
        = optionFrame(group, "parityFrame", "Parity", { m_oddParityOption, m_noParityOption, m_evenParityOption });
    m_sevenBitsOption = optionButton(group, "sevenBitsOption", "7");
    m_eightBitsOption = optionButton(group, "eightBitsOption", "8");
    auto* data = optionFrame(group, "dataBitsFrame", "Data Bits", { m_sevenBitsOption, m_eightBitsOption });
    m_oneStopBitOption = optionButton(group, "oneStopBitOption", "1");
    m_twoStopBitsOption = optionButton(group, "twoStopBitsOption", "2");
    auto* stop = optionFrame(group, "stopBitsFrame", "Stop Bits", { m_oneStopBitOption, m_twoStopBitsOption });
    m_noPowerOption = optionButton(group, "noPowerOption", "None");
    m_rtsPowerOption = optionButton(group, "rtsPowerOption", "RTS");
    m_dtrPowerOption = optionButton(group, "dtrPowerOption", "DTR");
    auto* power = optionFrame(
        group, "powerFrame", "Connection Power", { m_noPowerOption, m_rtsPowerOption, m_dtrPowerOption });
    for (QGroupBox* frame : { parity, data, stop }) {
        framing->addWidget(frame);
    }
    right->addLayout(framing);
    auto* lines = new QHBoxLayout;

    m_noHandshakeOption = optionButton(group, "noHandshakeOption", "None");
    m_xonXoffOption = optionButton(group, "xonXoffOption", "Xon Xoff");
    m_rtsHandshakeOption = optionButton(group, "rtsHandshakeOption", "RTS");
    m_rtsXonXoffOption = optionButton(group, "rtsXonXoffOption", "RTS OnOff");
    auto* handshaking = optionFrame(group, "handshakingFrame", "Handshaking",
        { m_noHandshakeOption, m_xonXoffOption, m_rtsHandshakeOption, m_rtsXonXoffOption }, 2);
    lines->addWidget(power);
    lines->addWidget(handshaking);
    right->addLayout(lines);
    for (QGroupBox* frame : { baud, parity, data, stop, power, handshaking }) {
        m_serialFrames.push_back(frame);
    }

    auto* command = new QHBoxLayout;
    const LabelledField commandChar
        = labelledField(group, "commandCharField", QStringLiteral("TNC cmd mode hex character:"));
    m_commandCharCaption = commandChar.caption;
    m_commandCharCaption->setObjectName(QStringLiteral("commandCharCaption"));
    m_commandCharField = commandChar.field;
    m_commandCharField->setMaximumWidth(m_commandCharField->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    command->addWidget(m_commandCharCaption);
    command->addWidget(m_commandCharField);
    command->addStretch();
    left->addStretch();
    layout->addLayout(command);
    layout->addStretch();
    return group;
}

QGroupBox* SpottingWindow::buildTelnetGroup()
{
    auto* telnet = new QGroupBox(QStringLiteral("Telnet cluster node"), this);
    telnet->setObjectName(QStringLiteral("telnetGroup"));
    auto* telnetGrid = new QGridLayout(telnet);
    const LabelledField host = labelledField(telnet, "telnetHostField", QStringLiteral("Telnet Host:"));
    const LabelledField port = labelledField(telnet, "telnetPortField", QStringLiteral("Telnet Port:"));
    const LabelledField login = labelledField(telnet, "telnetLoginField", QStringLiteral("Log in as:"));
    m_telnetHostCaption = host.caption;
    m_telnetHostCaption->setObjectName(QStringLiteral("telnetHostCaption"));
    m_telnetHostField = host.field;
    m_telnetPortCaption = port.caption;
    m_telnetPortCaption->setObjectName(QStringLiteral("telnetPortCaption"));
    m_telnetPortField = port.field;
    m_telnetLoginCaption = login.caption;
    m_telnetLoginField = login.field;
    m_telnetLoginField->setPlaceholderText(QStringLiteral("own call"));
    m_telnetLoginField->setToolTip(
        QStringLiteral("Sent when the node asks for a call (\"login:\", \"Please enter your call\"). Empty: the own "
                       "call."));
    int row = 0;
    for (const LabelledField& field : { host, port, login }) {
        telnetGrid->addWidget(field.caption, row, 0);
        telnetGrid->addWidget(field.field, row, 1);
        ++row;
    }
    m_autoLoginCheck = new QCheckBox(QStringLiteral("Log in automatically"), telnet);
    m_autoLoginCheck->setObjectName(QStringLiteral("autoLoginCheck"));
    m_autoLoginCheck->setToolTip(QStringLiteral(
        "Answers the node's login prompt with the call above. Off: type what your node asks for yourself."));
    telnetGrid->addWidget(m_autoLoginCheck, row++, 0, 1, 2);
    m_autoReconnectCheck = new QCheckBox(QStringLiteral("Reconnect when the link drops"), telnet);
    m_autoReconnectCheck->setObjectName(QStringLiteral("autoReconnectCheck"));
    m_autoReconnectCheck->setToolTip(
        QStringLiteral("Connects again after 2 s, then 4, 8 ... up to a minute between tries."));
    m_keepAliveCheck = new QCheckBox(QStringLiteral("Keep an idle link alive"), telnet);
    m_keepAliveCheck->setObjectName(QStringLiteral("keepAliveCheck"));
    m_keepAliveCheck->setToolTip(QStringLiteral("Sends a line end after five minutes without traffic."));
    telnetGrid->addWidget(m_autoReconnectCheck, row++, 0, 1, 2);
    telnetGrid->addWidget(m_keepAliveCheck, row, 0, 1, 2);
    telnetGrid->setRowStretch(row + 1, 1);
    return telnet;
}

QGroupBox* SpottingWindow::buildAgwGroup()
{
    auto* agw = new QGroupBox(QStringLiteral("AGW Packet Engine"), this);
    agw->setObjectName(QStringLiteral("agwGroup"));
    auto* agwLayout = new QVBoxLayout(agw);
    auto* agwRow = new QHBoxLayout;
    const LabelledField address = labelledField(agw, "agwAddressField", QStringLiteral("Address:"));
    m_agwAddressCaption = address.caption;
    m_agwAddressField = address.field;
    m_agwAddressField->setToolTip(QStringLiteral("host:port of the engine (AGWPE, Dire Wolf); 127.0.0.1:8000 "
                                                 "when it runs on this computer."));
    agwRow->addWidget(m_agwAddressCaption);
    agwRow->addWidget(m_agwAddressField, 1);
    agwLayout->addLayout(agwRow);
    agwLayout->addStretch();
    return agw;
}

void SpottingWindow::connectControls()
{
    // A choice is an item selected. The list makes its first item current, unselected, when it first takes
    // the focus; that is no choice of "None".
    connect(m_sourceList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = m_sourceList->selectedItems();
        if (!chosen.isEmpty() && !chosen.front()->text().isEmpty()) {
            chooseSource(chosen.front()->text());
        }
    });
    std::vector<QRadioButton*> serialOptions(m_portOptions.begin(), m_portOptions.end());
    serialOptions.insert(serialOptions.end(), m_baudOptions.begin(), m_baudOptions.end());
    for (QRadioButton* option : { m_oddParityOption, m_noParityOption, m_evenParityOption, m_sevenBitsOption,
             m_eightBitsOption, m_oneStopBitOption, m_twoStopBitsOption, m_noPowerOption, m_rtsPowerOption,
             m_dtrPowerOption, m_noHandshakeOption, m_xonXoffOption, m_rtsHandshakeOption, m_rtsXonXoffOption }) {
        serialOptions.push_back(option);
    }
    for (QRadioButton* option : serialOptions) {
        connect(option, &QRadioButton::clicked, this, &SpottingWindow::serialOptionChanged);
    }
    connect(m_dxOnlyCheck, &QCheckBox::toggled, this, &SpottingWindow::keepWindowValues);
    connect(m_spotListOption, &QRadioButton::toggled, this, &SpottingWindow::keepWindowValues);
    connect(m_autoReconnectCheck, &QCheckBox::toggled, this, &SpottingWindow::keepWindowValues);
    connect(m_keepAliveCheck, &QCheckBox::toggled, this, &SpottingWindow::keepWindowValues);
    connect(m_autoLoginCheck, &QCheckBox::toggled, this, &SpottingWindow::keepWindowValues);
    for (QLineEdit* field :
        { m_commandCharField, m_telnetHostField, m_telnetPortField, m_telnetLoginField, m_agwAddressField }) {
        connect(field, &QLineEdit::textChanged, this, &SpottingWindow::keepWindowValues);
    }
    connect(m_sendField, &QLineEdit::textChanged, this, [this](const QString& text) {
        // A long line typed to the engine goes at the next blank.
        if (m_feed.source() != SpotSource::Agw || !m_feed.isPolling()) {
            return;
        }
        if (const std::optional<std::string> due = agwLineDueAtBlank(toBytes(text))) {
            m_sendField->clear();
            m_feed.sendLine(*due);
        }
    });
    connect(m_openButton, &QPushButton::clicked, this, &SpottingWindow::openConnection);
    connect(m_closeButton, &QPushButton::clicked, this, &SpottingWindow::closeConnection);
    connect(m_spotLastButton, &QPushButton::clicked, this, &SpottingWindow::prepareSpotOfLastCall);
    connect(m_doneButton, &QPushButton::clicked, this, &SpottingWindow::saveAndHide);
    connect(&m_feed, &SpotFeed::monitorChanged, this, &SpottingWindow::scheduleMonitor);
    connect(&m_feed, &SpotFeed::openChanged, m_listeningLabel, &QLabel::setVisible);
    connect(&m_feed, &SpotFeed::captionChanged, this, [this](const QString& caption) { setWindowTitle(caption); });
}

void SpottingWindow::disableSourceControls()
{
    for (QGroupBox* frame : m_serialFrames) {
        frame->setEnabled(false);
    }
    for (QWidget* control : std::initializer_list<QWidget*> { m_sendField, m_telnetHostField, m_telnetPortField,
             m_telnetLoginField, m_autoLoginCheck, m_autoReconnectCheck, m_keepAliveCheck, m_agwAddressField,
             m_commandCharField,
             m_dxOnlyCheck, m_displayFrame, m_telnetPortCaption, m_telnetHostCaption, m_telnetLoginCaption,
             m_agwAddressCaption, m_commandCharCaption, m_sendPromptLabel, m_openButton, m_closeButton }) {
        control->setEnabled(false);
    }
}

void SpottingWindow::enableGroupOf(std::optional<SpotSource> source)
{
    std::vector<QWidget*> group;
    if (source == SpotSource::Tnc) {
        group = { m_displayFrame, m_dxOnlyCheck, m_sendField, m_commandCharField, m_listeningLabel,
            m_commandCharCaption, m_sendPromptLabel, m_tncCaption, m_openButton, m_closeButton };
        group.insert(group.end(), m_serialFrames.begin(), m_serialFrames.end());
    } else if (source == SpotSource::Telnet) {
        group = { m_telnetHostCaption, m_telnetPortCaption, m_sendPromptLabel, m_telnetHostField, m_telnetPortField,
            m_telnetLoginCaption, m_telnetLoginField, m_autoLoginCheck, m_autoReconnectCheck, m_keepAliveCheck,
            m_sendField,
            m_openButton, m_closeButton, m_displayFrame, m_dxOnlyCheck };
    } else if (source == SpotSource::Agw) {
        group = { m_sendPromptLabel, m_sendField, m_agwAddressCaption, m_agwAddressField, m_openButton,
            m_closeButton, m_displayFrame, m_dxOnlyCheck };
    }
    for (QWidget* control : group) {
        control->setEnabled(true);
    }
}

void SpottingWindow::loadSpotSettings()
{
    if (!m_feed.loadSettings()) {
        return;
    }
    const SpotSettings settings = m_feed.settings();
    showWindowValues(settings);
    const QList<QListWidgetItem*> found = m_sourceList->findItems(toQString(settings.source), Qt::MatchFixedString);
    if (!found.isEmpty()) {
        m_sourceList->setCurrentItem(found.front());
    }
    showSerialSettings(settings);
    m_loadingSettings = false;
    enableGroupOf(m_feed.source());
    if (m_feed.source() != SpotSource::None) {
        openConnection();
    }
}

void SpottingWindow::showWindowValues(const SpotSettings& settings)
{
    m_spotListOption->setChecked(settings.listMode);
    m_bandMapOption->setChecked(!settings.listMode);
    showText(m_commandCharField, toQString(settings.commandChar));
    showText(m_telnetPortField, toQString(settings.telnetPort));
    showText(m_telnetHostField, toQString(settings.telnetHost));
    showText(m_telnetLoginField, toQString(settings.telnetLoginCall));
    showText(m_agwAddressField, toQString(settings.agwAddress));
    m_autoReconnectCheck->setChecked(settings.autoReconnect);
    m_keepAliveCheck->setChecked(settings.keepAlive);
    m_autoLoginCheck->setChecked(settings.autoLogin);
}

void SpottingWindow::showSerialSettings(const SpotSettings& settings)
{
    const bool loading = std::exchange(m_loadingSettings, true);
    if (settings.port >= LowestSpotPort && settings.port <= HighestSpotPort) {
        m_portOptions.at(static_cast<std::size_t>(settings.port - 1))->setChecked(true);
    }
    selectOption({ { m_baudOptions[0], BaudValues[0].value }, { m_baudOptions[1], BaudValues[1].value },
                     { m_baudOptions[2], BaudValues[2].value }, { m_baudOptions[3], BaudValues[3].value },
                     { m_baudOptions[4], BaudValues[4].value }, { m_baudOptions[5], BaudValues[5].value } },
        trimBlanks(settings.speed));
    selectOption(
        { { m_oddParityOption, "O" }, { m_noParityOption, "N" }, { m_evenParityOption, "E" } }, settings.parity);
    selectOption({ { m_sevenBitsOption, "7" }, { m_eightBitsOption, "8" } }, settings.dataBits);
    selectOption({ { m_oneStopBitOption, "1" }, { m_twoStopBitsOption, "2" } }, settings.stopBits);
    selectOption({ { m_noPowerOption, "N" }, { m_rtsPowerOption, "R" }, { m_dtrPowerOption, "D" } }, settings.power);
    selectOption({ { m_noHandshakeOption, "1" }, { m_xonXoffOption, "2" }, { m_rtsHandshakeOption, "3" },
                     { m_rtsXonXoffOption, "4" } },
        std::to_string(settings.handshaking));
    m_loadingSettings = loading;
}

void SpottingWindow::collectSerialOptions()
{
    SpotSettings& settings = m_feed.settings();
    for (std::size_t i = 0; i < m_portOptions.size(); ++i) {
        if (m_portOptions[i]->isChecked()) {
            settings.port = static_cast<int>(i) + 1;
        }
    }
    settings.speed = checkedValue({ { m_baudOptions[0], BaudValues[0].value }, { m_baudOptions[1], BaudValues[1].value },
                                      { m_baudOptions[2], BaudValues[2].value }, { m_baudOptions[3], BaudValues[3].value },
                                      { m_baudOptions[4], BaudValues[4].value }, { m_baudOptions[5], BaudValues[5].value } },
        settings.speed);
    settings.parity = checkedValue(
        { { m_oddParityOption, "O" }, { m_noParityOption, "N" }, { m_evenParityOption, "E" } }, settings.parity);
    settings.dataBits = checkedValue({ { m_sevenBitsOption, "7" }, { m_eightBitsOption, "8" } }, settings.dataBits);
    settings.stopBits = checkedValue({ { m_oneStopBitOption, "1" }, { m_twoStopBitsOption, "2" } }, settings.stopBits);
    settings.power = checkedValue(
        { { m_noPowerOption, "N" }, { m_rtsPowerOption, "R" }, { m_dtrPowerOption, "D" } }, settings.power);
    settings.handshaking = std::stoi(checkedValue({ { m_noHandshakeOption, "1" }, { m_xonXoffOption, "2" },
                                                      { m_rtsHandshakeOption, "3" }, { m_rtsXonXoffOption, "4" } },
        std::to_string(settings.handshaking)));
}

void SpottingWindow::keepWindowValues()
{
    SpotSettings& settings = m_feed.settings();
    settings.dxOnly = m_dxOnlyCheck->isChecked();
    settings.listMode = m_spotListOption->isChecked();
    settings.commandChar = bytesIn(m_commandCharField);
    settings.telnetPort = bytesIn(m_telnetPortField);
    settings.telnetHost = bytesIn(m_telnetHostField);
    settings.telnetLoginCall = bytesIn(m_telnetLoginField);
    settings.agwAddress = bytesIn(m_agwAddressField);
    settings.autoReconnect = m_autoReconnectCheck->isChecked();
    settings.keepAlive = m_keepAliveCheck->isChecked();
    settings.autoLogin = m_autoLoginCheck->isChecked();
}

void SpottingWindow::chooseSource(const QString& text)
{
    m_dxOnlyCheck->setChecked(false);
    const std::optional<SpotSource> source = spotSourceOf(toBytes(text));
    if (!m_loadingSettings) {
        m_feed.closeConnection();
        disableSourceControls();
        m_feed.settings().source = toBytes(text);
        if (source == SpotSource::Tnc) {
            SpotSettings defaults = m_feed.settings();
            defaults.speed = "9600";
            defaults.parity = "N";
            defaults.dataBits = "8";
            defaults.stopBits = "1";
            defaults.handshaking = 3;
            showSerialSettings(defaults);
            m_commandCharField->setText(QStringLiteral("03"));
            enableGroupOf(source);
        }
    }
    showSourcePage(source);
    showSourceHelp(source);
    if (source == SpotSource::Telnet || source == SpotSource::Agw) {
        enableGroupOf(source);
    }
    if (source && *source != SpotSource::None) {
        m_sendPromptLabel->setText(promptFor(*source));
    }
}

void SpottingWindow::showSourcePage(std::optional<SpotSource> source)
{
    const int shown = source && *source != SpotSource::None ? static_cast<int>(*source) : 0;
    // The pages out of sight take no room: the monitor has what the chosen one leaves.
    for (int page = 0; page < m_sourcePages->count(); ++page) {
        const QSizePolicy::Policy policy = page == shown ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        m_sourcePages->widget(page)->setSizePolicy(policy, policy);
    }
    m_sourcePages->setCurrentIndex(shown);
    m_sourcePages->updateGeometry();
}

void SpottingWindow::showSourceHelp(std::optional<SpotSource> source)
{
    if (const std::optional<std::string> help = spotHelpText(source)) {
        m_feed.replaceMonitor(*help);
        m_monitorFromTop = true;
        showMonitor();
    }
}

void SpottingWindow::serialOptionChanged()
{
    if (!m_loadingSettings) {
        m_feed.closeConnection();
    }
}

void SpottingWindow::openConnection()
{
    if (m_feed.source() == SpotSource::Tnc) {
        collectSerialOptions();
    }
    keepWindowValues();
    m_monitorFromTop = false;
    m_feed.openConnection(m_hooks.ownCall());
    if (m_feed.source() != SpotSource::None && isVisible()) {
        m_sendField->setFocus();
    }
}

void SpottingWindow::closeConnection()
{
    m_feed.closeConnection();
}

void SpottingWindow::prepareSpotOfLastCall()
{
    m_sendField->setText(QStringLiteral("DX Frequency in kHz ") + toQString(m_hooks.lastLoggedCall()));
    m_sendField->setFocus();
    m_sendField->setSelection(3, 16);
}

void SpottingWindow::saveAndHide()
{
    if (m_feed.source() != SpotSource::None && !m_feed.isOpen()) {
        openConnection();
    }
    m_hooks.savePreferences();
    keepWindowValues();
    const Status saved = m_feed.saveSettings();
    if (!saved) {
        m_dialogs.message(QStringLiteral("DX Spotting Setup"),
            QStringLiteral("The spotting settings could not be written to \"%1\": %2")
                .arg(toQString(SpotSettingsFileName), toQString(saved.error().description)),
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Warning);
    }
    m_feed.announceDisplay();
    hide();
}

void SpottingWindow::sendTypedLine()
{
    if (!m_feed.isOpen()) {
        openConnection();
    }
    m_feed.sendLine(bytesIn(m_sendField));
    m_sendField->clear();
}

bool SpottingWindow::sendTncCommandChar()
{
    m_dxOnlyCheck->setChecked(false);
    if (!m_feed.isOpen()) {
        openConnection();
    }
    const bool sent = m_feed.sendTncCommandChar();
    if (sent || m_sendField->text().isEmpty()) {
        m_sendField->setFocus();
    }
    return sent;
}

bool SpottingWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const bool escape = key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
    const bool ctrlC = key->key() == Qt::Key_C && key->modifiers() == Qt::ControlModifier;
    // A key the focus widget leaves goes on to each of its parents, all of them watched here too: the
    // command key is acted on where it was pressed, or a TNC that cannot open would be tried once a level.
    if ((escape || ctrlC) && watched != focusWidget()) {
        return escape;
    }
    if (escape || ctrlC) {
        if (sendTncCommandChar()) {
            return true;
        }
        if (watched == m_sendField && escape) {
            // To the engine Esc is the colon its commands begin with; elsewhere it is swallowed.
            if (m_feed.source() == SpotSource::Agw) {
                m_sendField->insert(QStringLiteral(":"));
            }
            return true;
        }
        // Esc never closes the window: reception goes on, and "&Done" saves.
        return escape;
    }
    if (watched == m_sendField && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        sendTypedLine();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SpottingWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        sendTncCommandChar();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SpottingWindow::showEvent(QShowEvent* event)
{
    // All four sources in sight, no scrolling, in the font the window was scaled to.
    m_sourceList->setFixedHeight(m_sourceList->sizeHintForRow(0) * 4 + m_sourceList->frameWidth() * 2 + 4);
    m_sourceList->setMinimumWidth(m_sourceList->fontMetrics().horizontalAdvance(QStringLiteral("AGW Packet Engine"))
        + m_sourceList->frameWidth() * 2 + 12);
    QDialog::showEvent(event);
    showMonitor();
}

bool SpottingWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && m_feed.source() != SpotSource::None) {
        m_monitorFromTop = false;
        showMonitor();
        m_sendField->setFocus();
    }
    return QDialog::event(event);
}

void SpottingWindow::scheduleMonitor()
{
    m_monitorFromTop = false;
    if (!isVisible() || m_monitorTimer->isActive()) {
        return;
    }
    // A clock that stands still (or went back) waits no longer than the spacing.
    const std::int64_t since = m_lastMonitorMs ? m_feed.clock().monotonicMs() - *m_lastMonitorMs : MonitorRedrawMs;
    m_monitorTimer->start(static_cast<int>(std::clamp<std::int64_t>(MonitorRedrawMs - since, 0, MonitorRedrawMs)));
}

void SpottingWindow::showMonitor()
{
    m_monitorTimer->stop();
    m_lastMonitorMs = m_feed.clock().monotonicMs();
    QString shown = monitorShown(m_feed.monitorText());
    if (shown != m_monitorShown) {
        // A busy node moves the monitor on by a few lines at a time: only those are laid out (and told to a
        // screen reader), not the whole ten thousand characters again.
        const std::optional<qsizetype> start = continuationStart(m_monitorShown, shown);
        if (start) {
            QTextCursor edit(m_monitorText->document());
            if (*start > 0) {
                edit.setPosition(static_cast<int>(*start), QTextCursor::KeepAnchor);
                edit.removeSelectedText();
            }
            edit.movePosition(QTextCursor::End);
            edit.insertText(shown.mid(m_monitorShown.size() - *start));
        } else {
            m_monitorText->setPlainText(shown);
        }
        m_monitorShown = std::move(shown);
    }
    QTextCursor caret = m_monitorText->textCursor();
    if (m_monitorFromTop) {
        caret.movePosition(QTextCursor::Start);
        m_monitorText->setTextCursor(caret);
        return;
    }
    caret.movePosition(QTextCursor::End);
    m_monitorText->setTextCursor(caret);
    m_monitorText->verticalScrollBar()->setValue(m_monitorText->verticalScrollBar()->maximum());
}

} // namespace brindle
