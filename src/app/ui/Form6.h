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
class Form6 : public QDialog
{
    Q_OBJECT

public:
    // Colours are 0x00BBGGRR.
    Form6(std::uint32_t worked, std::uint32_t remaining, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    std::uint32_t worked() const;
    std::uint32_t remaining() const;

    void Command1_Click(); // change the remaining colour
    void Command3_Click(); // change the worked colour
    void Command6_Click(); // done

    QLabel* Label1 = nullptr; // in the worked colour
    QLabel* Label2 = nullptr; // in the remaining colour
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command6 = nullptr;

private:
    std::uint32_t chosenColour();
    void showColours();

    OperatorDialogs& m_dialogs;
    std::uint32_t m_worked;
    std::uint32_t m_remaining;
};

} // namespace brindle
