#include "CwKeyerWindow.h"

#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "keying/CodePracticeDialog.h"
#include "keying/WinKeySetupDialog.h"
#include "keying/CwKeyer.h"
#include "keying/CwMessages.h"
#include "keying/MorseSender.h"
#include "ui/CommandButton.h"
#include "ui/FormControls.h"
#include "ui/KeyRouting.h"
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
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <initializer_list>
#include <optional>
#include <string>

namespace brindle {

namespace {

// How often "Sending!" looks whether the test message is still on the air.
constexpr int TestWatchMs = 50;

bool holdsNumber(const QLineEdit* field)
{
    return parseDecimal(trimBlanks(bytesIn(field))).has_value();
}

QLabel* caption(QWidget* parent, const char* text)
{
    return new QLabel(QString::fromLatin1(text), parent);
}

} // namespace

CwKeyerWindow::CwKeyerWindow(CwKeyer& keyer, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_keyer(keyer)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("CwKeyerWindow"));
    setWindowTitle(QStringLiteral("CW String Selections"));
    resize(designRect(0, 0, 9000, 6000).size());
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    columns->addLayout(buildMessages(), 3);
    columns->addSpacing(12);
    columns->addLayout(buildSettings(), 2);
    layout->addLayout(columns);
    // Across the whole window, where the longest of them takes no room from the fields.
    for (const char* instruction :
        { "A ! in the string enters the contact.", "Press the test command button to send the text in the F9 text box.",
            "You must be in CW mode.", "Up / Down arrows on main form change speed." }) {
        layout->addWidget(caption(this, instruction));
    }
    layout->addStretch();
    layout->addLayout(buildCommands());
    routeKeys();
    connectChanges();
    refuseUnstorableText(*this, m_dialogs, StoredAs::Quoted);
    scaleByWorkAreaRule(*this, screenGeometryOf(*this));
}

QLayout* CwKeyerWindow::buildMessages()
{
    auto* column = new QVBoxLayout;
    auto* rows = new QGridLayout;
    for (std::size_t i = 0; i < m_messageFields.size(); ++i) {
        // F1 … F9, then F10 and F11.
        const std::string key = "F" + std::to_string(i + 1);
        const LabelledField message = labelledField(this, ("messageField_" + key).c_str(), toQString(key));
        rows->addWidget(message.caption, static_cast<int>(i), 0);
        rows->addWidget(message.field, static_cast<int>(i), 1);
        m_messageFields[i] = message.field;
    }
    const int keyboardRow = static_cast<int>(m_messageFields.size());
    rows->addWidget(caption(this, "F12"), keyboardRow, 0);
    rows->addWidget(caption(this, "Keyboard"), keyboardRow, 1);
    column->addLayout(rows);
    column->addLayout(buildLegend());
    column->addStretch();
    return column;
}

QLayout* CwKeyerWindow::buildLegend()
{
    // The keys that send the prosigns as one run.
    auto* legend = new QHBoxLayout;
    const char* const prosigns[][2] = { { "AR", "[" }, { "CL", "\\" }, { "SK", "]" }, { "KN", ";" }, { "BT", "=" } };
    for (const auto& prosign : prosigns) {
        legend->addWidget(caption(this, prosign[0]));
        QLabel* key = caption(this, prosign[1]);
        QFont bold = key->font();
        bold.setBold(true);
        key->setFont(bold);
        legend->addWidget(key);
        legend->addSpacing(24);
    }
    legend->addStretch();
    return legend;
}

QLayout* CwKeyerWindow::buildSettings()
{
    auto* column = new QVBoxLayout;

    m_keyingFrame = new QGroupBox(QStringLiteral("Keying Options"), this);
    m_keyingFrame->setObjectName(QStringLiteral("keyingFrame"));
    auto* keyings = new QGridLayout(m_keyingFrame);
    m_rtsOption = optionButton(m_keyingFrame, "rtsOption", "RTS");
    m_dtrOption = optionButton(m_keyingFrame, "dtrOption", "DTR");
    m_parallelOption = optionButton(m_keyingFrame, "parallelOption", "Printer");
    m_noKeyingOption = optionButton(m_keyingFrame, "noKeyingOption", "None");
    m_winKeyOption = optionButton(m_keyingFrame, "winKeyOption", "WinKey");
    int place = 0;
    for (QRadioButton* keying : { m_rtsOption, m_dtrOption, m_parallelOption, m_noKeyingOption, m_winKeyOption }) {
        keyings->addWidget(keying, 0, place++);
    }
    column->addWidget(m_keyingFrame);

    auto* numbers = new QGridLayout;
    const auto field = [this, numbers](const char* name, const char* text, int row, int column) {
        const LabelledField added = labelledField(this, name, QString::fromLatin1(text));
        numbers->addWidget(added.caption, row, column);
        numbers->addWidget(added.field, row, column + 1);
        return added.field;
    };
    m_cwPortField = field("cwPortField", "CW Port", 0, 0);
    m_parallelAddressField = field("parallelAddressField", "Parallel", 0, 2);
    m_speedField = field("speedField", "WPM", 1, 0);
    m_fasterButton = commandButton(this, "fasterButton", "Faster");
    m_slowerButton = commandButton(this, "slowerButton", "Slower");
    numbers->addWidget(m_fasterButton, 1, 2);
    numbers->addWidget(m_slowerButton, 1, 3);
    m_wordSpaceField = field("wordSpaceField", "Word Space", 2, 0);
    m_moreSpaceButton = commandButton(this, "moreSpaceButton", "More");
    m_lessSpaceButton = commandButton(this, "lessSpaceButton", "Less");
    numbers->addWidget(m_moreSpaceButton, 2, 2);
    numbers->addWidget(m_lessSpaceButton, 2, 3);
    m_repeatSecondsField = field("repeatSecondsField", "Loop (Sec)", 3, 0);
    column->addLayout(numbers);

    m_showTextOnMainCheck = new QCheckBox(QStringLiteral("Display CW text on main form (NA for WinKey)."), this);
    m_showTextOnMainCheck->setObjectName(QStringLiteral("showTextOnMainCheck"));
    column->addWidget(m_showTextOnMainCheck);
    column->addWidget(buildTiming());
    column->addStretch();
    return column;
}

QGroupBox* CwKeyerWindow::buildTiming()
{
    auto* frame = new QGroupBox(QStringLiteral("Timing"), this);
    frame->setObjectName(QStringLiteral("timingFrame"));
    auto* rows = new QGridLayout(frame);
    m_timerTimingOption = optionButton(frame, "timerTimingOption", "Timer");
    m_loopTimingOption = optionButton(frame, "loopTimingOption", "Loop");
    m_sleepTimingOption = optionButton(frame, "sleepTimingOption", "Sleep");
    rows->addWidget(m_timerTimingOption, 0, 0);
    rows->addWidget(caption(frame, "Times by Windows System time."), 0, 1, 1, 3);
    rows->addWidget(m_loopTimingOption, 1, 0);
    rows->addWidget(caption(frame, "Times by a For Next loop."), 1, 1, 1, 3);
    rows->addWidget(m_sleepTimingOption, 2, 0);
    rows->addWidget(caption(frame, "Times by Windows System time."), 2, 1, 1, 3);

    const LabelledField loops = labelledField(frame, "loopCountField", QStringLiteral("Loop Delay"));
    m_loopCountCaption = loops.caption;
    m_loopCountCaption->setObjectName(QStringLiteral("loopCountCaption"));
    m_loopCountField = loops.field;
    rows->addWidget(m_loopCountCaption, 3, 0);
    rows->addWidget(m_loopCountField, 3, 1, 1, 2);
    rows->addWidget(caption(frame, "Loops per 60 ms"), 3, 3);
    m_loopFasterButton = commandButton(frame, "loopFasterButton", "Speed up CW");
    m_loopSlowerButton = commandButton(frame, "loopSlowerButton", "Slow Down CW");
    rows->addWidget(m_loopFasterButton, 4, 0, 1, 2);
    rows->addWidget(m_loopSlowerButton, 4, 2, 1, 2);
    return frame;
}

QLayout* CwKeyerWindow::buildCommands()
{
    auto* row = new QHBoxLayout;
    m_testButton = commandButton(this, "testButton", "&Test");
    m_sendingLabel = new QLabel(QStringLiteral("Sending!"), this);
    m_sendingLabel->setObjectName(QStringLiteral("sendingLabel"));
    // Shown and hidden without moving the commands beside it.
    QSizePolicy keepRoom = m_sendingLabel->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_sendingLabel->setSizePolicy(keepRoom);
    m_sendingLabel->hide();
    m_codePracticeButton = commandButton(this, "codePracticeButton", "Send Code Practice");
    m_configureWinKeyButton = commandButton(this, "configureWinKeyButton", "Configure Winkey");
    // Only the WinKey keyer has settings of its own.
    m_configureWinKeyButton->hide();
    m_doneButton = commandButton(this, "doneButton", "Done");
    row->addWidget(m_testButton);
    row->addWidget(m_sendingLabel);
    row->addStretch();
    row->addWidget(m_codePracticeButton);
    row->addWidget(m_configureWinKeyButton);
    row->addWidget(m_doneButton);

    m_testWatch = new QTimer(this);
    m_testWatch->setInterval(TestWatchMs);
    connect(m_testWatch, &QTimer::timeout, this, &CwKeyerWindow::watchTestMessage);
    return row;
}

void CwKeyerWindow::routeKeys()
{
    m_keys = new KeyRouter(this);
    const auto capitals = [](int& keyAscii) { keyAscii = upperCaseLetter(keyAscii); };
    for (QLineEdit* message : m_messageFields) {
        m_keys->route(message, capitals);
    }
    const auto digits = [](int& keyAscii) { keyAscii = digitsOnly(keyAscii); };
    m_keys->route(m_cwPortField, digits);
    m_keys->route(m_speedField, digits);
    m_keys->route(m_wordSpaceField, [](int& keyAscii) { keyAscii = digitsAnd(keyAscii, "-."); });
    m_keys->route(m_repeatSecondsField, [](int& keyAscii) { keyAscii = digitsAnd(keyAscii, "."); });
    for (QLineEdit* number : { m_cwPortField, m_speedField, m_wordSpaceField, m_repeatSecondsField }) {
        number->installEventFilter(this);
    }
}

void CwKeyerWindow::connectChanges()
{
    // Limited before it goes to the keyer.
    connect(m_wordSpaceField, &QLineEdit::textChanged, this,
        [this](const QString& text) { showText(m_wordSpaceField, toQString(limitWordSpace(toBytes(text)))); });
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        if (field != m_loopCountField) {
            connect(field, &QLineEdit::textChanged, this, &CwKeyerWindow::applyFields);
        }
    }
    connect(m_showTextOnMainCheck, &QCheckBox::toggled, this, &CwKeyerWindow::applyFields);
    for (QRadioButton* keying : { m_rtsOption, m_dtrOption, m_parallelOption, m_noKeyingOption, m_winKeyOption }) {
        connect(keying, &QRadioButton::toggled, this, [this](bool chosen) {
            if (chosen) {
                applyFields();
            }
        });
    }
    const auto timing = [this](QRadioButton* button, CwTiming chosenTiming) {
        connect(button, &QRadioButton::toggled, this, [this, chosenTiming](bool chosen) {
            if (chosen) {
                chooseTiming(chosenTiming);
            }
        });
    };
    timing(m_timerTimingOption, CwTiming::Timer);
    timing(m_loopTimingOption, CwTiming::Loop);
    timing(m_sleepTimingOption, CwTiming::Sleep);
    connect(m_loopCountField, &QLineEdit::textChanged, this, &CwKeyerWindow::takeTypedLoopCount);

    connect(m_fasterButton, &QPushButton::clicked, this, &CwKeyerWindow::speedUp);
    connect(m_slowerButton, &QPushButton::clicked, this, &CwKeyerWindow::slowDown);
    connect(m_moreSpaceButton, &QPushButton::clicked, this, &CwKeyerWindow::widenWordSpace);
    connect(m_lessSpaceButton, &QPushButton::clicked, this, &CwKeyerWindow::narrowWordSpace);
    connect(m_loopFasterButton, &QPushButton::clicked, this, &CwKeyerWindow::shortenLoop);
    connect(m_loopSlowerButton, &QPushButton::clicked, this, &CwKeyerWindow::lengthenLoop);
    connect(m_testButton, &QPushButton::clicked, this, &CwKeyerWindow::sendTestMessage);
    connect(m_codePracticeButton, &QPushButton::clicked, this, &CwKeyerWindow::openCodePractice);
    connect(m_winKeyOption, &QRadioButton::toggled, m_configureWinKeyButton, &QWidget::setVisible);
    connect(m_configureWinKeyButton, &QPushButton::clicked, this, &CwKeyerWindow::configureWinKey);
    connect(m_doneButton, &QPushButton::clicked, this, &CwKeyerWindow::saveCwSettings);
}

void CwKeyerWindow::showEvent(QShowEvent* event)
{
    showSettings();
    QDialog::showEvent(event);
}

void CwKeyerWindow::changeEvent(QEvent* event)
{
    // The arrows of the main window and the code practice change the speed while this window is behind.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        showSettings();
    }
    QDialog::changeEvent(event);
}

void CwKeyerWindow::showSettings()
{
    m_showing = true;
    const CwSettings& settings = m_keyer.settings();
    for (std::size_t i = 0; i < m_messageFields.size(); ++i) {
        showText(m_messageFields[i], toQString(settings.messages[i]));
    }
    showText(m_cwPortField, toQString(settings.port));
    showText(m_speedField, toQString(settings.speed));
    showText(m_wordSpaceField, toQString(settings.wordSpace));
    showText(m_parallelAddressField, toQString(settings.parallelAddress));
    showText(m_repeatSecondsField, toQString(settings.repeatSeconds));
    m_showTextOnMainCheck->setChecked(settings.showTextOnMain);
    switch (settings.keying) {
    case CwKeying::Rts:
        m_rtsOption->setChecked(true);
        break;
    case CwKeying::Dtr:
        m_dtrOption->setChecked(true);
        break;
    case CwKeying::ParallelPort:
        m_parallelOption->setChecked(true);
        break;
    case CwKeying::WinKey:
        m_winKeyOption->setChecked(true);
        break;
    case CwKeying::None:
        m_noKeyingOption->setChecked(true);
        break;
    }
    const CwTiming timing = m_keyer.timing();
    (timing == CwTiming::Loop           ? m_loopTimingOption
            : timing == CwTiming::Sleep ? m_sleepTimingOption
                                        : m_timerTimingOption)
        ->setChecked(true);
    enableLoopControls(timing == CwTiming::Loop);
    showLoopCount();
    m_showing = false;
}

void CwKeyerWindow::showSpeed()
{
    showText(m_speedField, toQString(m_keyer.speedText()));
}

void CwKeyerWindow::showLoopCount()
{
    const bool showing = m_showing;
    m_showing = true;
    showText(m_loopCountField, QString::number(m_keyer.loopsPer60Ms(), 'g', 15));
    m_showing = showing;
}

CwKeying CwKeyerWindow::chosenKeying() const
{
    if (m_rtsOption->isChecked()) {
        return CwKeying::Rts;
    }
    if (m_dtrOption->isChecked()) {
        return CwKeying::Dtr;
    }
    if (m_parallelOption->isChecked()) {
        return CwKeying::ParallelPort;
    }
    if (m_winKeyOption->isChecked()) {
        return CwKeying::WinKey;
    }
    return CwKeying::None;
}

CwSettings CwKeyerWindow::settingsInFields() const
{
    CwSettings settings;
    for (std::size_t i = 0; i < m_messageFields.size(); ++i) {
        settings.messages[i] = bytesIn(m_messageFields[i]);
    }
    settings.port = bytesIn(m_cwPortField);
    settings.speed = bytesIn(m_speedField);
    settings.wordSpace = bytesIn(m_wordSpaceField);
    settings.keying = chosenKeying();
    settings.parallelAddress = bytesIn(m_parallelAddressField);
    settings.showTextOnMain = m_showTextOnMainCheck->isChecked();
    settings.repeatSeconds = bytesIn(m_repeatSecondsField);
    return settings;
}

void CwKeyerWindow::applyFields()
{
    if (!m_showing) {
        m_keyer.applySettings(settingsInFields());
    }
}

bool CwKeyerWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && event->type() == QEvent::FocusIn && (field == m_cwPortField || field == m_speedField)) {
        // Once the click that gave the focus has placed the cursor: typing replaces the whole number.
        QMetaObject::invokeMethod(field, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    // Leaving the field, not the window: a message box of our own takes the focus too.
    if (field && event->type() == QEvent::FocusOut && isOperatorFocusChange(event)) {
        leaveNumberField(field);
    }
    return QDialog::eventFilter(watched, event);
}

void CwKeyerWindow::leaveNumberField(QLineEdit* field)
{
    if (field == m_repeatSecondsField) {
        if (!repeatIntervalMs(bytesIn(field))) {
            field->setText(QStringLiteral("0"));
        }
        return;
    }
    if (!holdsNumber(field)) {
        field->setText(QStringLiteral("0"));
    }
    if (field == m_cwPortField) {
        m_keyer.openCwPort();
    }
}

void CwKeyerWindow::chooseTiming(CwTiming timing)
{
    if (m_showing) {
        return;
    }
    m_keyer.setTiming(timing);
    enableLoopControls(timing == CwTiming::Loop);
    if (timing == CwTiming::Loop && m_keyer.loopsPer60Ms() == 0) {
        m_keyer.setLoopsPer60Ms(calibrateLoop());
        showLoopCount();
    }
}

void CwKeyerWindow::enableLoopControls(bool on)
{
    for (QWidget* control : std::initializer_list<QWidget*> {
             m_loopCountCaption, m_loopCountField, m_loopFasterButton, m_loopSlowerButton }) {
        control->setEnabled(on);
    }
}

void CwKeyerWindow::takeTypedLoopCount()
{
    if (m_showing) {
        return;
    }
    // Anything but a count of steps is ignored.
    const std::optional<double> loops = parseDecimal(trimBlanks(bytesIn(m_loopCountField)));
    if (loops && *loops >= 0) {
        m_keyer.setLoopsPer60Ms(*loops);
    }
}

void CwKeyerWindow::speedUp()
{
    m_keyer.speedUp();
    showSpeed();
}

void CwKeyerWindow::slowDown()
{
    m_keyer.slowDown();
    showSpeed();
}

void CwKeyerWindow::widenWordSpace()
{
    m_wordSpaceField->setText(toQString(stepWordSpace(bytesIn(m_wordSpaceField), 1)));
}

void CwKeyerWindow::narrowWordSpace()
{
    m_wordSpaceField->setText(toQString(stepWordSpace(bytesIn(m_wordSpaceField), -1)));
}

void CwKeyerWindow::shortenLoop()
{
    m_keyer.setLoopsPer60Ms(shortenedLoop(m_keyer.loopsPer60Ms()));
    showLoopCount();
    m_doneButton->setFocus();
}

void CwKeyerWindow::lengthenLoop()
{
    m_keyer.setLoopsPer60Ms(lengthenedLoop(m_keyer.loopsPer60Ms()));
    showLoopCount();
    m_doneButton->setFocus();
}

void CwKeyerWindow::sendTestMessage()
{
    // RTS and DTR key a serial port, which needs a number.
    const CwKeying keying = chosenKeying();
    if ((keying == CwKeying::Rts || keying == CwKeying::Dtr) && leadingWholeNumber(bytesIn(m_cwPortField)) < 1) {
        m_dialogs.beep();
        m_dialogs.message(
            QStringLiteral("A com port is required."), QStringLiteral("Please enter a com port for CW rig interface."));
        m_cwPortField->setFocus();
        return;
    }
    m_sendingLabel->show();
    m_keyer.sendMessage(cwkeys::F9);
    m_testWatch->start();
    if (isVisible()) {
        m_messageFields[0]->setFocus();
    }
}

void CwKeyerWindow::watchTestMessage()
{
    if (!m_keyer.isSending()) {
        m_testWatch->stop();
        m_sendingLabel->hide();
    }
}

void CwKeyerWindow::openCodePractice()
{
    CodePracticeDialog practice(m_keyer, m_dialogs, this);
    m_dialogs.runModal(practice);
    m_keyer.clearBuffer();
    // Its Faster and Slower change the keyer's speed.
    showSpeed();
}

void CwKeyerWindow::configureWinKey()
{
    WinKeySetupDialog setup(m_keyer, this);
    m_dialogs.runModal(setup);
    m_doneButton->setFocus();
}

void CwKeyerWindow::saveCwSettings()
{
    m_keyer.applySettings(settingsInFields());
    const bool saved = m_keyer.saveCwSettings().ok();
    accept();
    // When the file could not be written the window goes all the same, and nothing else happens.
    if (saved) {
        emit settingsSaved();
    }
}

} // namespace brindle
