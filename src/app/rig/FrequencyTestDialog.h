#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace brindle {

class RigInterface;

// "Test Change Frequency Function": a command of the operator's own sent to the rig's port as it is typed
// (or as hex pairs), and a frequency sent as the spots and the tune window send it, to find out whether a
// radio takes them.
class FrequencyTestDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FrequencyTestDialog(RigInterface& rig, QWidget* parent = nullptr);

    // The first "Send": the command field to the port; nothing when its hex pairs are no hex.
    void sendRawCommand();
    // The second "Send": the frequency field through the frequency change.
    void sendFrequency();

private:
    RigInterface& m_rig;
    QLineEdit* m_commandField = nullptr;
    QCheckBox* m_hexCheck = nullptr;
    QLineEdit* m_frequencyField = nullptr;
};

} // namespace brindle
