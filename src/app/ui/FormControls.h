#pragma once

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QString>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace brindle {

// A window's option button, named for tests and the window's own lookups.
inline QRadioButton* optionButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QRadioButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// A frame of options, laid out in rows of the given number of columns; the options become its children.
inline QGroupBox* optionFrame(QWidget* parent, const char* name, const char* title,
    std::initializer_list<QRadioButton*> options, int columns = 1)
{
    auto* frame = new QGroupBox(QString::fromLatin1(title), parent);
    frame->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(frame);
    int index = 0;
    for (QRadioButton* button : options) {
        button->setParent(frame);
        grid->addWidget(button, index / columns, index % columns);
        ++index;
    }
    return frame;
}

// A field shows text without losing the cursor when it shows it already.
inline void showText(QLineEdit* field, const QString& text)
{
    if (field->text() != text) {
        field->setText(text);
    }
}

// An option button as a settings file knows it: the value it stands for, its objectName and caption.
struct OptionValue
{
    const char* value;
    const char* name;
    const char* caption;
};

// A group of option buttons with the value each stands for.
using OptionChoices = std::initializer_list<std::pair<QRadioButton*, std::string_view>>;

// Checks the option whose value is wanted and clears the others, so that a value of no option shows none.
inline void selectOption(OptionChoices options, std::string_view wanted)
{
    for (const auto& [button, value] : options) {
        if (value == wanted) {
            button->setChecked(true);
            return;
        }
    }
    for (const auto& option : options) {
        QRadioButton* button = option.first;
        if (button->isChecked()) {
            // An exclusive option cannot be cleared while it is exclusive.
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(true);
        }
    }
}

// The checked option's value; the value held before when none is checked.
inline std::string checkedValue(OptionChoices options, const std::string& current)
{
    for (const auto& [button, value] : options) {
        if (button->isChecked()) {
            return std::string(value);
        }
    }
    return current;
}

} // namespace brindle
