#pragma once

#include "keying/VoiceNavigation.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace brindle {

class Clock;
class KeyHold;
class KeyRouter;
class VoicePromptPlayer;

// "Voice Navigation Settings": how much of the main window is spoken. Choosing an option announces it;
// "Done" keeps it in the default data.
class VoiceNavigationWindow : public QDialog
{
    Q_OBJECT

public:
    using LevelSaver = std::function<void(VoiceNavLevel level)>;

    // Opening the window announces the stored level, as choosing it does.
    VoiceNavigationWindow(VoicePromptPlayer& prompts, const Clock& clock, LevelSaver saveLevel, QWidget* parent = nullptr);

    // An option was chosen: its announcement plays. "Call Only" plays "Call" after it, and keys typed
    // meanwhile wait for the end.
    void announceLevel(VoiceNavLevel level);
    // "Done": the chosen level is kept and the window goes.
    void saveLevel();

private:
    void buildForm();
    void showLevel(VoiceNavLevel level);
    VoiceNavLevel chosenLevel() const;

    VoicePromptPlayer& m_prompts;
    LevelSaver m_saveLevel;
    KeyRouter* m_keys = nullptr;
    KeyHold* m_hold = nullptr;
    QRadioButton* m_offOption = nullptr;
    QRadioButton* m_callOnlyOption = nullptr;
    QRadioButton* m_allFieldsOption = nullptr;
    QCheckBox* m_speakMissingCheck = nullptr;
    QPushButton* m_doneButton = nullptr;
};

} // namespace brindle
