#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;

namespace brindle {

class OperatorDialogs;

// The colours window: the text colours of the multiplier grid, for a section worked on the current band
// and for one still to work, each shown on a sample label and changed with the colour chooser. The main
// form stores the two colours and repaints the grid once the window has closed.
class MultiplierColoursDialog : public QDialog
{
    Q_OBJECT

public:
    // Colours are 0x00BBGGRR.
    MultiplierColoursDialog(
        std::uint32_t worked, std::uint32_t remaining, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    std::uint32_t worked() const;
    std::uint32_t remaining() const;

    void chooseRemainingColour();
    void chooseWorkedColour();

    QLabel* m_workedSampleLabel = nullptr;
    QLabel* m_remainingSampleLabel = nullptr;
    QPushButton* m_remainingColourButton = nullptr;
    QPushButton* m_workedColourButton = nullptr;
    QPushButton* m_doneButton = nullptr;

private:
    std::uint32_t chosenColour();
    void showColours();

    OperatorDialogs& m_dialogs;
    std::uint32_t m_worked;
    std::uint32_t m_remaining;
};

} // namespace brindle
