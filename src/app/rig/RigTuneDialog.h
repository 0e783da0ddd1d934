#pragma once

#include "ui/KeyRouting.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace brindle {

class RigControl;

// " Change Frequency and Mode (Ctrl G (Go))": the radio tuned to a typed frequency, a band, a step up or
// down, or scanned slowly over a range; its mode set by a button. Any key stops a scan.
class RigTuneDialog : public QDialog, private KeyPreview
{
    Q_OBJECT

public:
    RigTuneDialog(RigControl& rig, QWidget* parent = nullptr);

    // "&Go": the radio to the field's frequency, when it holds one.
    void tuneToField();
    void tuneToBand(int index);
    void stepFrequency(int index);
    void setRigMode(const char* mode);
    void toggleScan();
    // Every 299 ms while "Scan" is ticked: the next step of the range.
    void scanOneStep();

private:
    void previewKeyDown(int& keyCode, int shift) override;
    void previewKeyPress(int& keyAscii) override;
    QWidget* buildFrequency();
    QWidget* buildBands();
    QWidget* buildSteps();
    QWidget* buildModes();
    QWidget* buildScan();
    void showStepsEnabled();

    RigControl& m_rig;
    KeyRouter* m_keys = nullptr;
    QLineEdit* m_frequencyField = nullptr;
    QPushButton* m_goButton = nullptr;
    std::array<QPushButton*, 16> m_bandButtons {};
    std::array<QPushButton*, 10> m_stepButtons {};
    QCheckBox* m_scanCheck = nullptr;
    QLineEdit* m_scanFromField = nullptr;
    QLineEdit* m_scanToField = nullptr;
    std::array<QRadioButton*, 5> m_scanStepOptions {};
    QTimer* m_scanTimer = nullptr;
    QPushButton* m_doneButton = nullptr;
};

} // namespace brindle
