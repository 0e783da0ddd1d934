#include "PhoneKeyerWindow.h"

#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "keying/CwMessages.h"
#include "keying/PhoneKeyer.h"
#include "ui/CommandButton.h"
#include "ui/FormControls.h"
#include "ui/KeyRouting.h"
#include "ui/LabelledField.h"
#include "ui/StorableText.h"
#include "ui/WindowScaling.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
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

constexpr int F1 = 112;
const QString WaveFileFilter = QStringLiteral("(*.wav) | *.wav");

} // namespace

PhoneKeyerWindow::PhoneKeyerWindow(PhoneKeyer& keyer, OperatorDialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , m_keyer(keyer)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("PhoneKeyerWindow"));
    setWindowTitle(QStringLiteral("Phone Wave Selections"));
    resize(designRect(0, 0, 8400, 5400).size());
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    columns->addLayout(buildWaveFiles(), 3);
    columns->addSpacing(12);
    columns->addLayout(buildPtt(), 1);
    layout->addLayout(columns);
    layout->addStretch();
    auto* commands = new QHBoxLayout;
    m_doneButton = commandButton(this, "doneButton", "Done");
    commands->addStretch();
    commands->addWidget(m_doneButton);
    layout->addLayout(commands);
    routeKeys();
    showSettings();

    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        connect(field, &QLineEdit::textChanged, this, &PhoneKeyerWindow::applyFields);
    }
    for (QRadioButton* line : { m_rtsPttOption, m_dtrPttOption, m_parallelPttOption }) {
        connect(line, &QRadioButton::toggled, this, [this](bool chosen) {
            if (chosen) {
                applyFields();
            }
        });
    }
    for (std::size_t i = 0; i < m_browseButtons.size(); ++i) {
        connect(m_browseButtons[i], &QPushButton::clicked, this, [this, i] { browseWaveFile(static_cast<int>(i)); });
    }
    connect(m_testButton, &QPushButton::clicked, this, &PhoneKeyerWindow::playTestMessage);
    connect(m_stopRepeatButton, &QPushButton::clicked, this, &PhoneKeyerWindow::stopRepeat);
    connect(m_doneButton, &QPushButton::clicked, this, &PhoneKeyerWindow::savePhoneSettings);
    connect(&m_keyer, &PhoneKeyer::repeatArmedChanged, this, [this](bool armed) {
        if (!armed) {
            m_stopRepeatButton->hide();
        }
    });
    refuseUnstorableText(*this, m_dialogs, StoredAs::Quoted);
    scaleByWorkAreaRule(*this, screenGeometryOf(*this));
}

QLayout* PhoneKeyerWindow::buildWaveFiles()
{
    auto* rows = new QGridLayout;
    for (std::size_t i = 0; i < m_waveFileFields.size(); ++i) {
        const std::string key = "F" + std::to_string(i + 1);
        const LabelledField wave = labelledField(this, ("waveFileField_" + key).c_str(), toQString(key));
        m_waveFileFields[i] = wave.field;
        m_browseButtons[i] = commandButton(this, ("browseButton_" + key).c_str(), "Browse");
        m_browseButtons[i]->setAccessibleName(QStringLiteral("Browse for %1").arg(toQString(key)));
        const int row = static_cast<int>(i);
        rows->addWidget(wave.caption, row, 0);
        rows->addWidget(wave.field, row, 1);
        rows->addWidget(m_browseButtons[i], row, 2);
    }
    rows->setColumnStretch(1, 1);
    return rows;
}

QLayout* PhoneKeyerWindow::buildPtt()
{
    auto* column = new QVBoxLayout;
    const auto addField = [this](QGridLayout* rows, const char* name, const char* caption) {
        const LabelledField labelled = labelledField(this, name, QString::fromLatin1(caption));
        // Room for an address in hexadecimal, at any size the window grows its fonts to.
        const QFontMetrics metrics = labelled.field->fontMetrics();
        labelled.field->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("&H0000000")));
        labelled.field->setMaximumWidth(metrics.horizontalAdvance(QStringLiteral("&H000000000")));
        const int row = rows->rowCount();
        rows->addWidget(labelled.caption, row, 0);
        rows->addWidget(labelled.field, row, 1);
        return labelled.field;
    };
    auto* port = new QGridLayout;
    m_pttPortField = addField(port, "pttPortField", "PTT Port");
    m_pttPortField->setMaxLength(3);
    column->addLayout(port);

    m_rtsPttOption = optionButton(this, "rtsPttOption", "RTS");
    m_dtrPttOption = optionButton(this, "dtrPttOption", "DTR");
    m_parallelPttOption = optionButton(this, "parallelPttOption", "Parallel");
    column->addWidget(
        optionFrame(this, "pttLineFrame", "PTT Line", { m_rtsPttOption, m_dtrPttOption, m_parallelPttOption }));

    auto* more = new QGridLayout;
    m_parallelAddressField = addField(more, "parallelAddressField", "Parallel Address");
    m_repeatSecondsField = addField(more, "repeatSecondsField", "Loop (Sec)");
    column->addLayout(more);

    auto* test = new QHBoxLayout;
    m_testButton = commandButton(this, "testButton", "Test");
    test->addWidget(m_testButton);
    test->addWidget(new QLabel(QStringLiteral("Plays F1 Command"), this), 1);
    column->addLayout(test);
    m_stopRepeatButton = commandButton(this, "stopRepeatButton", "Stop");
    // Shown and hidden without moving the controls around it.
    QSizePolicy keepRoom = m_stopRepeatButton->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    m_stopRepeatButton->setSizePolicy(keepRoom);
    m_stopRepeatButton->hide();
    column->addWidget(m_stopRepeatButton, 0, Qt::AlignLeft);
    column->addStretch();
    return column;
}

void PhoneKeyerWindow::routeKeys()
{
    m_keys = new KeyRouter(this);
    m_keys->route(m_pttPortField, [](int& keyAscii) { keyAscii = digitsOnly(keyAscii); });
    m_keys->route(m_repeatSecondsField, [](int& keyAscii) { keyAscii = digitsAnd(keyAscii, "."); });
    m_keys->route(m_parallelAddressField, [](int& keyAscii) { keyAscii = upperCaseLetter(keyAscii); });
    for (QLineEdit* field : { m_pttPortField, m_repeatSecondsField }) {
        field->installEventFilter(this);
    }
}

void PhoneKeyerWindow::showEvent(QShowEvent* event)
{
    showSettings();
    QDialog::showEvent(event);
}

void PhoneKeyerWindow::showSettings()
{
    m_showing = true;
    const PhoneSettings& settings = m_keyer.settings();
    for (std::size_t i = 0; i < m_waveFileFields.size(); ++i) {
        showText(m_waveFileFields[i], pathToQString(settings.waveFiles[i]));
    }
    showText(m_pttPortField, toQString(settings.pttPort));
    showText(m_parallelAddressField, toQString(settings.parallelAddress));
    showText(m_repeatSecondsField, toQString(settings.loopSeconds));
    (settings.pttLine == PttLine::Dtr            ? m_dtrPttOption
            : settings.pttLine == PttLine::Parallel ? m_parallelPttOption
                                                    : m_rtsPttOption)
        ->setChecked(true);
    m_showing = false;
}

PhoneSettings PhoneKeyerWindow::settingsInFields() const
{
    PhoneSettings settings;
    for (std::size_t i = 0; i < m_waveFileFields.size(); ++i) {
        // Paths are the file system's bytes, whatever the rest of the file's text.
        settings.waveFiles[i] = std::string(trimBlanks(pathFromQString(m_waveFileFields[i]->text())));
    }
    settings.pttPort = bytesIn(m_pttPortField);
    settings.pttLine = m_dtrPttOption->isChecked() ? PttLine::Dtr
        : m_parallelPttOption->isChecked()         ? PttLine::Parallel
                                                   : PttLine::Rts;
    settings.parallelAddress = bytesIn(m_parallelAddressField);
    settings.loopSeconds = bytesIn(m_repeatSecondsField);
    return settings;
}

void PhoneKeyerWindow::applyFields()
{
    if (!m_showing) {
        m_keyer.applySettings(settingsInFields());
    }
}

bool PhoneKeyerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pttPortField && event->type() == QEvent::FocusIn) {
        // Once the click that gave the focus has placed the cursor: typing replaces the whole number.
        QMetaObject::invokeMethod(m_pttPortField, &QLineEdit::selectAll, Qt::QueuedConnection);
    }
    // Leaving the field, not the window: a message box of our own takes the focus too.
    if (event->type() == QEvent::FocusOut && isOperatorFocusChange(event)) {
        if (watched == m_pttPortField) {
            leavePttPortField();
        } else if (watched == m_repeatSecondsField) {
            leaveRepeatSecondsField();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PhoneKeyerWindow::leavePttPortField()
{
    if (!parseDecimal(trimBlanks(bytesIn(m_pttPortField)))) {
        m_pttPortField->setText(QStringLiteral("0"));
    }
    m_keyer.openPttPort();
}

void PhoneKeyerWindow::leaveRepeatSecondsField()
{
    const std::string seconds = bytesIn(m_repeatSecondsField);
    if (repeatIntervalMs(seconds)) {
        return;
    }
    // A number out of range only gives way to 0; text that is no number is refused with a beep.
    if (!parseDecimal(trimBlanks(seconds))) {
        m_dialogs.beep();
    }
    m_repeatSecondsField->setText(QStringLiteral("0"));
}

void PhoneKeyerWindow::browseWaveFile(int index)
{
    QLineEdit* field = m_waveFileFields.at(static_cast<std::size_t>(index));
    const QString workingDir = pathToQString(m_keyer.workingDir());
    const QFileInfo current(field->text().trimmed());
    const QString folder = !field->text().trimmed().isEmpty() && current.dir().exists() ? current.absolutePath() : workingDir;
    const std::optional<QString> chosen = m_dialogs.openFileName(folder, WaveFileFilter);
    // The file dialog may have moved the program's current folder, where its own files are found.
    QDir::setCurrent(workingDir);
    if (!chosen) {
        m_dialogs.beep();
        return;
    }
    field->setText(*chosen);
    focusDone();
}

void PhoneKeyerWindow::playTestMessage()
{
    m_keyer.playMessage(F1);
    focusDone();
    if (m_keyer.isRepeatArmed()) {
        m_stopRepeatButton->show();
    }
}

void PhoneKeyerWindow::stopRepeat()
{
    m_keyer.stopRepeat();
    m_stopRepeatButton->hide();
}

void PhoneKeyerWindow::savePhoneSettings()
{
    m_keyer.applySettings(settingsInFields());
    accept();
    QDir::setCurrent(pathToQString(m_keyer.workingDir()));
    // A file that cannot be written leaves the window all the same, without a word.
    (void)m_keyer.saveSettings();
}

void PhoneKeyerWindow::focusDone()
{
    if (isVisible()) {
        m_doneButton->setFocus();
    }
}

} // namespace brindle
