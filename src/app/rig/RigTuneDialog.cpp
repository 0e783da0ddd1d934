#include "RigTuneDialog.h"

#include "common/QtText.h"
#include "rig/RigControl.h"
#include "rig/RigTuning.h"
#include "ui/CommandButton.h"
#include "ui/FormControls.h"
#include "ui/LabelledField.h"
#include "ui/WindowScaling.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace brindle {

namespace {

// A step as the button's name gives it: "10Hz", "5KHz", "1MHz".
QString stepName(Hertz hertz)
{
    if (hertz % 1'000'000 == 0) {
        return QString::number(hertz / 1'000'000) + QStringLiteral("MHz");
    }
    if (hertz % 1'000 == 0) {
        return QString::number(hertz / 1'000) + QStringLiteral("KHz");
    }
    return QString::number(hertz) + QStringLiteral("Hz");
}

struct ModeButton
{
    const char* name;
    const char* caption;
    const char* mode;
};
constexpr std::array<ModeButton, 6> ModeButtons { {
    { "cwButton", "&CW", "CW" },
    { "usbButton", "&USB", "USB" },
    { "lsbButton", "&LSB", "LSB" },
    { "amButton", "&AM", "AM" },
    { "fmButton", "&FM", "FM" },
    { "rttyButton", "&RTTY", "RTTY" },
} };

} // namespace

RigTuneDialog::RigTuneDialog(RigControl& rig, QWidget* parent)
    : QDialog(parent)
    , m_rig(rig)
{
    setObjectName(QStringLiteral("RigTuneDialog"));
    setWindowTitle(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFrequency());
    layout->addWidget(buildBands());
    layout->addWidget(buildSteps());
    layout->addWidget(buildModes());
    layout->addWidget(buildScan());
    auto* commands = new QHBoxLayout;
    m_doneButton = commandButton(this, "doneButton", "&Done");
    commands->addStretch();
    commands->addWidget(m_doneButton);
    layout->addLayout(commands);
    connect(m_doneButton, &QPushButton::clicked, this, &QDialog::accept);

    m_scanTimer = new QTimer(this);
    m_scanTimer->setObjectName(QStringLiteral("scanTimer"));
    m_scanTimer->setInterval(ScanIntervalMs);
    connect(m_scanTimer, &QTimer::timeout, this, &RigTuneDialog::scanOneStep);
    m_scanTimer->start();

    m_keys = new KeyRouter(this, this);
    const auto frequencyKeys = [](int& keyAscii) { keyAscii = frequencyFieldKey(keyAscii); };
    m_keys->routeWithEnter(
        m_frequencyField,
        [this] {
            tuneToField();
            m_frequencyField->setFocus();
            m_frequencyField->end(false);
        },
        frequencyKeys);
    m_keys->route(m_scanFromField, frequencyKeys);
    m_keys->route(m_scanToField, frequencyKeys);
    m_keys->previewFocusable(this);
    showStepsEnabled();
    m_frequencyField->setFocus();
}

QWidget* RigTuneDialog::buildFrequency()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const LabelledField frequency = labelledField(row, "frequencyField", QStringLiteral("Frequency in MHz:"));
    m_frequencyField = frequency.field;
    m_goButton = commandButton(row, "goButton", "&Go");
    layout->addWidget(frequency.caption);
    layout->addWidget(frequency.field, 1);
    layout->addWidget(m_goButton);
    connect(m_goButton, &QPushButton::clicked, this, &RigTuneDialog::tuneToField);
    connect(m_frequencyField, &QLineEdit::textChanged, this, &RigTuneDialog::showStepsEnabled);
    return row;
}

QWidget* RigTuneDialog::buildBands()
{
    auto* frame = new QWidget(this);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < BandButtons.size(); ++i) {
        const std::string caption(BandButtons[i].caption);
        m_bandButtons[i] = commandButton(frame, ("bandButton_" + caption).c_str(), caption.c_str());
        grid->addWidget(m_bandButtons[i], static_cast<int>(i / 8), static_cast<int>(i % 8));
        connect(m_bandButtons[i], &QPushButton::clicked, this, [this, i] { tuneToBand(static_cast<int>(i)); });
    }
    return frame;
}

QWidget* RigTuneDialog::buildSteps()
{
    auto* frame = new QWidget(this);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral(" UP"), frame), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral(" Down"), frame), 1, 0);
    for (std::size_t i = 0; i < StepButtons.size(); ++i) {
        const StepButton& step = StepButtons[i];
        const QString name = (step.up ? QStringLiteral("stepUpButton_") : QStringLiteral("stepDownButton_"))
            + stepName(step.change < 0 ? -step.change : step.change);
        m_stepButtons[i] = commandButton(frame, name.toLatin1().constData(), std::string(step.caption).c_str());
        grid->addWidget(m_stepButtons[i], step.up ? 0 : 1, static_cast<int>(i / 2) + 1);
        connect(m_stepButtons[i], &QPushButton::clicked, this, [this, i] { stepFrequency(static_cast<int>(i)); });
    }
    return frame;
}

QWidget* RigTuneDialog::buildModes()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const ModeButton& mode : ModeButtons) {
        QPushButton* button = commandButton(row, mode.name, mode.caption);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, &mode] { setRigMode(mode.mode); });
    }
    return row;
}

QWidget* RigTuneDialog::buildScan()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_scanCheck = new QCheckBox(QStringLiteral("Scan"), row);
    m_scanCheck->setObjectName(QStringLiteral("scanCheck"));
    connect(m_scanCheck, &QCheckBox::clicked, this, &RigTuneDialog::toggleScan);
    auto* range = new QGridLayout;
    const LabelledField from = labelledField(row, "scanFromField", QStringLiteral("From:"));
    const LabelledField to = labelledField(row, "scanToField", QStringLiteral("To:"));
    m_scanFromField = from.field;
    m_scanToField = to.field;
    m_scanFromField->setText(toQString(DefaultScanFrom));
    m_scanToField->setText(toQString(DefaultScanTo));
    range->addWidget(from.caption, 0, 0);
    range->addWidget(from.field, 0, 1);
    range->addWidget(to.caption, 1, 0);
    range->addWidget(to.field, 1, 1);

    for (std::size_t i = 0; i < ScanSteps.size(); ++i) {
        const QString name = QStringLiteral("scanStep_") + QString::number(ScanSteps[i].hertz) + QStringLiteral("Hz");
        m_scanStepOptions[i]
            = optionButton(row, name.toLatin1().constData(), std::string(ScanSteps[i].caption).c_str());
    }
    m_scanStepOptions[DefaultScanStep]->setChecked(true);
    layout->addWidget(m_scanCheck);
    layout->addLayout(range, 1);
    layout->addWidget(optionFrame(row, "scanStepFrame", "Scan Steps",
        { m_scanStepOptions[0], m_scanStepOptions[1], m_scanStepOptions[2], m_scanStepOptions[3],
            m_scanStepOptions[4] },
        3));
    return row;
}

void RigTuneDialog::showStepsEnabled()
{
    const bool frequency = hertzFromText(toBytes(m_frequencyField->text())).has_value();
    for (QPushButton* step : m_stepButtons) {
        step->setEnabled(frequency);
    }
}

void RigTuneDialog::tuneToField()
{
    const std::optional<Hertz> hertz = hertzFromText(toBytes(m_frequencyField->text()));
    if (hertz && m_rig.rigName() != NoRig) {
        m_rig.changeFrequency(*hertz);
    }
}

void RigTuneDialog::tuneToBand(int index)
{
    m_frequencyField->setText(toQString(frequencyText(BandButtons.at(static_cast<std::size_t>(index)).hertz)));
    tuneToField();
}

void RigTuneDialog::stepFrequency(int index)
{
    const std::optional<std::string> stepped
        = steppedText(toBytes(m_frequencyField->text()), StepButtons.at(static_cast<std::size_t>(index)).change);
    if (!stepped) {
        return;
    }
    m_frequencyField->setText(toQString(*stepped));
    tuneToField();
    m_doneButton->setFocus();
}

void RigTuneDialog::setRigMode(const char* mode)
{
    m_rig.changeMode(0, mode);
    m_doneButton->setFocus();
}

void RigTuneDialog::toggleScan()
{
    if (m_scanCheck->isChecked() && !hertzFromText(toBytes(m_frequencyField->text()))) {
        m_frequencyField->setText(m_scanFromField->text());
    }
    m_goButton->setFocus();
}

void RigTuneDialog::scanOneStep()
{
    if (!m_scanCheck->isChecked()) {
        return;
    }
    Hertz step = ScanSteps[DefaultScanStep].hertz;
    for (std::size_t i = 0; i < m_scanStepOptions.size(); ++i) {
        if (m_scanStepOptions[i]->isChecked()) {
            step = ScanSteps[i].hertz;
        }
    }
    const std::optional<std::string> next = scanNext(
        toBytes(m_frequencyField->text()), step, toBytes(m_scanFromField->text()), toBytes(m_scanToField->text()));
    if (!next) {
        return;
    }
    m_frequencyField->setText(toQString(*next));
    tuneToField();
}

void RigTuneDialog::previewKeyDown(int& keyCode, int shift)
{
    (void)shift;
    // Any key stops a scan; the frequency stays where the scan had it.
    m_scanCheck->setChecked(false);
    // The fields take Esc for themselves; the window is closed with it as any dialog is.
    if (keyCode == vk::Escape) {
        keyCode = 0;
        reject();
    }
}

void RigTuneDialog::previewKeyPress(int& keyAscii)
{
    (void)keyAscii;
}

} // namespace brindle
