#include "VoiceNavigationWindow.h"

#include "common/QtText.h"
#include "keying/VoicePromptPlayer.h"
#include "ui/CommandButton.h"
#include "ui/FormControls.h"
#include "ui/KeyHold.h"
#include "ui/KeyRouting.h"
#include "ui/WindowScaling.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace brindle {

namespace {

QLabel* note(QWidget* parent, const char* name, const QString& text, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

} // namespace

VoiceNavigationWindow::VoiceNavigationWindow(
    VoicePromptPlayer& prompts, const Clock& clock, LevelSaver saveLevel, QWidget* parent)
    : QDialog(parent)
    , m_prompts(prompts)
    , m_saveLevel(std::move(saveLevel))
{
    setObjectName(QStringLiteral("VoiceNavigationWindow"));
    setWindowTitle(QStringLiteral("Voice Navigation Settings"));
    resize(designRect(0, 0, 9000, 6200).size());
    buildForm();
    m_hold = new KeyHold(clock, this);
    m_keys = new KeyRouter(this);
    m_keys->holdKeysWith(*m_hold);
    m_keys->previewFocusable(this);
    scaleByScreenRule(*this, screenGeometryOf(*this));
    if (const std::optional<VoiceNavLevel> stored = m_prompts.storedLevel()) {
        showLevel(*stored);
    }
}

void VoiceNavigationWindow::buildForm()
{
    // Two columns, the background beside the instructions: at the screen rule's large fonts a single
    // column of these notes would be taller than a laptop's screen.
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    auto* background = new QVBoxLayout;
    auto* enabling = new QVBoxLayout;
    columns->addLayout(background, 1);
    columns->addSpacing(12);
    columns->addLayout(enabling, 1);
    layout->addLayout(columns);
    background->addWidget(note(this, "backgroundCaption", QStringLiteral("Background:"), true));
    background->addWidget(note(this, "backgroundNote",
        QStringLiteral("Voice navigation lets an operator who cannot see the screen follow the logging window by "
                       "ear: as an entry field gets the focus, a short recording names it, and a duplicate "
                       "contact is announced.")));
    background->addWidget(note(this, "suggestionsCaption",
        QStringLiteral("Additional suggestions and ideas for supporting visually impaired hams are welcome and "
                       "appreciated.")));
    background->addWidget(note(this, "promptFilesCaption",
        QStringLiteral("The navigation audio wave files must be added to the working directory of this program. "
                       "Record them with any sound recorder, one short wave file a prompt: Call.wav, RstSnt.wav, "
                       "RstRcvd.wav, State.wav, Country.wav, Dupe.wav, NavEn.wav and NavDis.wav.")));
    background->addStretch();
    enabling->addWidget(note(this, "enableCaption", QStringLiteral("To Enable Voice Navigation:"), true));
    enabling->addWidget(note(this, "promptFolderLabel",
        QStringLiteral("Put the audio wave files in this program's working directory: ")
            + pathToQString(m_prompts.workingDir())));
    enabling->addWidget(note(this, "instructionsCaption",
        QStringLiteral("Choose one of the options below.  Select Off to turn the navigation function off, Call to "
                       "indicate the Call field only and All Data Fields to provide verbal prompts through all the "
                       "data fields.")));

    m_offOption = optionButton(this, "offOption", "Off");
    m_callOnlyOption = optionButton(this, "callOnlyOption", "Call Only");
    m_allFieldsOption = optionButton(this, "allFieldsOption", "All Data Fields");
    enabling->addWidget(optionFrame(
        this, "levelFrame", "Choose your preferred option:", { m_offOption, m_callOnlyOption, m_allFieldsOption }));

    m_speakMissingCheck = new QCheckBox(QStringLiteral("Speak prompts that have no recording"), this);
    m_speakMissingCheck->setObjectName(QStringLiteral("speakMissingCheck"));
    m_speakMissingCheck->setChecked(m_prompts.speaksMissingPrompts());
    enabling->addWidget(m_speakMissingCheck);
    enabling->addStretch();

    auto* commands = new QHBoxLayout;
    m_doneButton = commandButton(this, "doneButton", "Done");
    commands->addStretch();
    commands->addWidget(m_doneButton);
    layout->addLayout(commands);

    const auto announces = [this](QRadioButton* option, VoiceNavLevel level) {
        connect(option, &QRadioButton::toggled, this, [this, level](bool chosen) {
            if (chosen) {
                announceLevel(level);
            }
        });
    };
    announces(m_offOption, VoiceNavLevel::Off);
    announces(m_callOnlyOption, VoiceNavLevel::CallOnly);
    announces(m_allFieldsOption, VoiceNavLevel::AllFields);
    connect(m_speakMissingCheck, &QCheckBox::toggled, this, [this](bool on) { m_prompts.setSpeaksMissingPrompts(on); });
    connect(m_doneButton, &QPushButton::clicked, this, &VoiceNavigationWindow::saveLevel);
}

void VoiceNavigationWindow::showLevel(VoiceNavLevel level)
{
    // Selecting it announces it, as the operator's choice does.
    (level == VoiceNavLevel::CallOnly        ? m_callOnlyOption
            : level == VoiceNavLevel::AllFields ? m_allFieldsOption
                                                : m_offOption)
        ->setChecked(true);
}

void VoiceNavigationWindow::announceLevel(VoiceNavLevel level)
{
    m_prompts.announceLevel(level);
    if (level == VoiceNavLevel::CallOnly) {
        // Keys wait as long as the announcement, as the choice they follow does.
        m_hold->holdWhile([this] { return m_prompts.isPlaying(prompts::NavigationOn); }, 0);
    }
}

VoiceNavLevel VoiceNavigationWindow::chosenLevel() const
{
    if (m_callOnlyOption->isChecked()) {
        return VoiceNavLevel::CallOnly;
    }
    if (m_allFieldsOption->isChecked()) {
        return VoiceNavLevel::AllFields;
    }
    return VoiceNavLevel::Off;
}

void VoiceNavigationWindow::saveLevel()
{
    const VoiceNavLevel level = chosenLevel();
    hide();
    QDir::setCurrent(pathToQString(m_prompts.workingDir()));
    m_saveLevel(level);
}

} // namespace brindle
