#include "WinKeySetupDialog.h"

#include "common/KeyFilters.h"
#include "common/QtText.h"
#include "keying/CwKeyer.h"
#include "keying/WinKeySettings.h"
#include "ui/CommandButton.h"
#include "ui/FormControls.h"
#include "ui/KeyRouting.h"
#include "ui/LabelledField.h"
#include "ui/WindowScaling.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace brindle {

namespace {

QString alphabetThreeTimes()
{
    QString text;
    for (int round = 0; round < 3; ++round) {
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            text += QLatin1Char(letter);
        }
        text += QLatin1Char(' ');
    }
    return text;
}

} // namespace

WinKeySetupDialog::WinKeySetupDialog(CwKeyer& keyer, QWidget* parent)
    : QDialog(parent)
    , m_keyer(keyer)
{
    setObjectName(QStringLiteral("WinKeySetupDialog"));
    setWindowTitle(QStringLiteral(" WinKey Setup"));
    resize(designRect(0, 0, 7200, 5400).size());
    buildForm();
    showSettings();
    showKeyerState();
    connect(&m_keyer, &CwKeyer::winKeyOpenFinished, this, &WinKeySetupDialog::showOpening);
    connect(&m_keyer.winKeyer(), &WinKeyer::closed, this, &WinKeySetupDialog::showClosed);
    connect(&m_keyer.winKeyer(), &WinKeyer::lost, this, &WinKeySetupDialog::showClosed);
    const ScreenGeometry screen = screenGeometryOf(*this);
    scaleWindowTo(*this, QRect(screen.screenOrigin, screen.screen), DesignCanvas, false, 1.0, QStringLiteral("Arial"));
}

void WinKeySetupDialog::buildForm()
{
    auto* layout = new QVBoxLayout(this);

    auto* fields = new QGridLayout;
    int row = 0;
    const auto addField = [this, fields, &row](const char* name, const char* caption, const char* explanation) {
        const LabelledField labelled = labelledField(this, name, QString::fromLatin1(caption));
        labelled.field->setMaxLength(3);
        // Three digits need no more, at any size the window grows its fonts to.
        labelled.field->setMaximumWidth(labelled.field->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
        fields->addWidget(labelled.caption, row, 0);
        fields->addWidget(labelled.field, row, 1);
        if (explanation) {
            auto* note = new QLabel(QString::fromLatin1(explanation), this);
            note->setWordWrap(true);
            fields->addWidget(note, row, 2);
        }
        ++row;
        return labelled.field;
    };
    m_portField = addField("portField", "Com Port:", nullptr);
    m_speedField = addField("speedField", "WPM:", nullptr);
    m_weightField = addField("weightField", "Weight:", "Proportional amount added or subtracted (50 is standard).");
    m_leadInField = addField("leadInField", "Lead In:", "Lead in time for transmitter (10 ms increments).");
    m_tailField = addField("tailField", "Tail:", "Tail time after keying has stopped (10 ms increments).");
    m_ratioField = addField("ratioField", "Ratio:", "Ratio of dits to dahs (Range: 33 - 66).");
    fields->setColumnStretch(2, 1);
    auto* settingsRow = new QHBoxLayout;
    settingsRow->addLayout(fields, 3);
    auto* frames = new QVBoxLayout;
    settingsRow->addLayout(frames, 2);
    layout->addLayout(settingsRow);

    m_pttPinOption = optionButton(this, "pttPinOption", "PTT");
    m_tonePinOption = optionButton(this, "tonePinOption", "Tone");
    m_pin3KeyOption = optionButton(this, "pin3KeyOption", "P5 Off, P3 Key Out");
    m_pin5KeyOption = optionButton(this, "pin5KeyOption", "P5 Key Out, P3 Off");
    m_iambicBOption = optionButton(this, "iambicBOption", "Iambic B");
    m_iambicAOption = optionButton(this, "iambicAOption", "Iambic A");
    m_ultimaticOption = optionButton(this, "ultimaticOption", "Ultimatic");
    m_bugOption = optionButton(this, "bugOption", "Bug Keyer");
    // The frames stand beside the fields: options with short captions go two to a row, to keep them about
    // as high as the fields.
    frames->addWidget(optionFrame(this, "pinFrame", "Pin 5 Configuration",
        { m_pttPinOption, m_tonePinOption, m_pin3KeyOption, m_pin5KeyOption }, 1));
    frames->addWidget(optionFrame(
        this, "modeFrame", "Keyer Mode", { m_iambicBOption, m_iambicAOption, m_ultimaticOption, m_bugOption }, 2));
    frames->addStretch();

    auto* keyerRow = new QHBoxLayout;
    m_openButton = commandButton(this, "openButton", "Open");
    m_closeButton = commandButton(this, "closeButton", "Close");
    m_stopButton = commandButton(this, "stopButton", "Stop");
    m_openStatusLabel = new QLabel(QStringLiteral("Closed"), this);
    m_openStatusLabel->setObjectName(QStringLiteral("openStatusLabel"));
    m_versionLabel = new QLabel(QStringLiteral("Version #"), this);
    m_versionLabel->setObjectName(QStringLiteral("versionLabel"));
    for (QWidget* control : std::initializer_list<QWidget*> { m_openButton, m_closeButton, m_stopButton }) {
        keyerRow->addWidget(control);
    }
    keyerRow->addSpacing(12);
    keyerRow->addWidget(m_openStatusLabel, 1);
    keyerRow->addWidget(m_versionLabel, 1);
    layout->addLayout(keyerRow);

    auto* testRow = new QHBoxLayout;
    m_testButton = commandButton(this, "testButton", "Test");
    m_bufferTestButton = commandButton(this, "bufferTestButton", "Buffer Test");
    m_typeAheadField = new QLineEdit(this);
    m_typeAheadField->setObjectName(QStringLiteral("typeAheadField"));
    m_typeAheadField->setPlaceholderText(QStringLiteral("Type to send"));
    testRow->addWidget(m_testButton);
    testRow->addWidget(m_bufferTestButton);
    testRow->addWidget(m_typeAheadField, 1);
    layout->addLayout(testRow);

    layout->addStretch();
    auto* doneRow = new QHBoxLayout;
    m_doneButton = commandButton(this, "doneButton", "&Done");
    doneRow->addStretch();
    doneRow->addWidget(m_doneButton);
    layout->addLayout(doneRow);

    m_keys = new KeyRouter(this);
    const auto digits = [](int& keyAscii) { keyAscii = digitsOnly(keyAscii); };
    for (QLineEdit* field : { m_portField, m_speedField, m_weightField, m_leadInField, m_tailField, m_ratioField }) {
        m_keys->route(field, digits);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, [this] {
            if (m_showing) {
                return;
            }
            // What is typed is kept by "Done" whether or not it was valid to send.
            WinKeySettings settings = m_keyer.winKeySettings();
            settings.speed = bytesIn(m_speedField);
            settings.weight = bytesIn(m_weightField);
            settings.leadIn = bytesIn(m_leadInField);
            settings.tail = bytesIn(m_tailField);
            settings.ratio = bytesIn(m_ratioField);
            m_keyer.setWinKeySettings(settings);
        });
    }
    m_keys->route(m_typeAheadField, [this](int& keyAscii) { sendTypedKey(keyAscii); });

    // Each option sets its register value at once.
    const auto setsRegister = [this](QRadioButton* button, int WinKeySettings::*setting, int value) {
        connect(button, &QRadioButton::toggled, this, [this, setting, value](bool chosen) {
            if (chosen && !m_showing) {
                chooseRegister(setting, value);
            }
        });
    };
    setsRegister(m_pttPinOption, &WinKeySettings::pinConfiguration, WinKeyPins::Ptt);
    setsRegister(m_tonePinOption, &WinKeySettings::pinConfiguration, WinKeyPins::Tone);
    setsRegister(m_pin3KeyOption, &WinKeySettings::pinConfiguration, WinKeyPins::Pin3Key);
    setsRegister(m_pin5KeyOption, &WinKeySettings::pinConfiguration, WinKeyPins::Pin5Key);
    setsRegister(m_iambicBOption, &WinKeySettings::keyerMode, WinKeyModes::IambicB);
    setsRegister(m_iambicAOption, &WinKeySettings::keyerMode, WinKeyModes::IambicA);
    setsRegister(m_ultimaticOption, &WinKeySettings::keyerMode, WinKeyModes::Ultimatic);
    setsRegister(m_bugOption, &WinKeySettings::keyerMode, WinKeyModes::Bug);

    connect(m_openButton, &QPushButton::clicked, this, &WinKeySetupDialog::openKeyer);
    connect(m_closeButton, &QPushButton::clicked, this, &WinKeySetupDialog::closeKeyer);
    connect(m_stopButton, &QPushButton::clicked, this, &WinKeySetupDialog::stopSending);
    connect(m_testButton, &QPushButton::clicked, this, &WinKeySetupDialog::sendTest);
    connect(m_bufferTestButton, &QPushButton::clicked, this, &WinKeySetupDialog::sendBufferTest);
    connect(m_doneButton, &QPushButton::clicked, this, &WinKeySetupDialog::saveWinKeySettings);
}

void WinKeySetupDialog::showSettings()
{
    m_showing = true;
    const WinKeySettings& settings = m_keyer.winKeySettings();
    m_portField->setText(QString::number(settings.port));
    m_speedField->setText(toQString(settings.speed));
    m_weightField->setText(toQString(settings.weight));
    m_leadInField->setText(toQString(settings.leadIn));
    m_tailField->setText(toQString(settings.tail));
    m_ratioField->setText(toQString(settings.ratio));
    switch (settings.pinConfiguration) {
    case WinKeyPins::Ptt:
        m_pttPinOption->setChecked(true);
        break;
    case WinKeyPins::Pin3Key:
        m_pin3KeyOption->setChecked(true);
        break;
    case WinKeyPins::Pin5Key:
        m_pin5KeyOption->setChecked(true);
        break;
    default:
        m_tonePinOption->setChecked(true);
        break;
    }
    switch (settings.keyerMode) {
    case WinKeyModes::IambicA:
        m_iambicAOption->setChecked(true);
        break;
    case WinKeyModes::Ultimatic:
        m_ultimaticOption->setChecked(true);
        break;
    case WinKeyModes::Bug:
        m_bugOption->setChecked(true);
        break;
    default:
        m_iambicBOption->setChecked(true);
        break;
    }
    m_showing = false;
}

void WinKeySetupDialog::showKeyerState()
{
    if (m_keyer.winKeyer().isOpen()) {
        m_openStatusLabel->setText(toQString(winKeyOpenText(WinKeyOpenOutcome::Success)));
        m_versionLabel->setText(QStringLiteral("Version # %1").arg(m_keyer.winKeyer().version()));
    } else {
        showClosed();
    }
}

bool WinKeySetupDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && event->type() == QEvent::FocusOut && isOperatorFocusChange(event)) {
        checkField(field);
    }
    return QDialog::eventFilter(watched, event);
}

void WinKeySetupDialog::checkField(QLineEdit* field)
{
    WinKeyer& winKeyer = m_keyer.winKeyer();
    const auto replace = [field](const std::optional<std::string>& replacement) {
        if (replacement) {
            field->setText(toQString(*replacement));
        }
    };
    const std::string text = bytesIn(field);
    if (field == m_portField) {
        const WinKeyPortCheck check = checkWinKeyPort(text);
        replace(check.replacement);
        WinKeySettings settings = m_keyer.winKeySettings();
        settings.port = check.port;
        m_keyer.setWinKeySettings(settings);
        return;
    }
    if (field == m_leadInField || field == m_tailField) {
        const WinKeyLeadTailCheck check = checkWinKeyLeadInAndTail(bytesIn(m_leadInField), bytesIn(m_tailField));
        if (check.resetLeftField) {
            field->setText(QStringLiteral("0"));
        }
        if (check.send) {
            winKeyer.setPttLeadTail(check.send->first, check.send->second);
        }
        return;
    }
    WinKeyFieldCheck check;
    void (WinKeyer::*send)(std::uint8_t) = nullptr;
    if (field == m_speedField) {
        check = checkWinKeySpeed(text);
        send = &WinKeyer::setSpeed;
    } else if (field == m_weightField) {
        check = checkWinKeyWeight(text);
        send = &WinKeyer::setWeight;
    } else if (field == m_ratioField) {
        check = checkWinKeyRatio(text);
        send = &WinKeyer::setDitDahRatio;
    } else {
        return;
    }
    replace(check.replacement);
    if (check.send) {
        (winKeyer.*send)(*check.send);
    }
}

void WinKeySetupDialog::chooseRegister(int WinKeySettings::*setting, int value)
{
    WinKeySettings settings = m_keyer.winKeySettings();
    settings.*setting = value;
    m_keyer.setWinKeySettings(settings);
    m_keyer.sendWinKeySettings();
}

void WinKeySetupDialog::openKeyer()
{
    // The port as the field stands, even when the click did not take the focus from it.
    checkField(m_portField);
    m_keyer.openWinKey();
}

void WinKeySetupDialog::showOpening(WinKeyOpenOutcome outcome)
{
    m_openStatusLabel->setText(toQString(winKeyOpenText(outcome)));
    if (outcome == WinKeyOpenOutcome::AlreadyOpen) {
        return;
    }
    if (const int version = m_keyer.winKeyer().version(); version != 0) {
        m_versionLabel->setText(QStringLiteral("Version # %1").arg(version));
    }
    focusDone();
}

void WinKeySetupDialog::closeKeyer()
{
    m_keyer.winKeyer().close();
    showClosed();
    focusDone();
}

void WinKeySetupDialog::showClosed()
{
    m_openStatusLabel->setText(QStringLiteral("Closed"));
    m_versionLabel->setText(QStringLiteral("Version #"));
}

void WinKeySetupDialog::stopSending()
{
    // The keyer's buffer and the text still waiting for it.
    m_keyer.clearBuffer();
    focusDone();
}

void WinKeySetupDialog::sendTest()
{
    m_keyer.appendForWinKey("VVV TEST DE " + m_keyer.ownCall());
    focusDone();
}

void WinKeySetupDialog::sendBufferTest()
{
    m_keyer.appendForWinKey(toBytes(alphabetThreeTimes()));
}

void WinKeySetupDialog::sendTypedKey(int& keyAscii)
{
    keyAscii = upperCaseLetter(keyAscii);
    if (keyAscii > 13) {
        const char character = static_cast<char>(keyAscii);
        m_keyer.appendForWinKey(std::string_view(&character, 1));
    }
}

void WinKeySetupDialog::saveWinKeySettings()
{
    // A file that cannot be written leaves the window all the same, without a word.
    (void)m_keyer.saveWinKeySettings();
    accept();
}

void WinKeySetupDialog::focusDone()
{
    if (isVisible()) {
        m_doneButton->setFocus();
    }
}

} // namespace brindle
