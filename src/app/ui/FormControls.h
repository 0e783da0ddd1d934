#pragma once

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QString>

#include <initializer_list>

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

} // namespace brindle
