#pragma once

#include <QLineEdit>
#include <QRadioButton>
#include <QString>

namespace brindle {

// A window's option button, named for tests and the window's own lookups.
inline QRadioButton* optionButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QRadioButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// A field shows text without losing the cursor when it shows it already.
inline void showText(QLineEdit* field, const QString& text)
{
    if (field->text() != text) {
        field->setText(text);
    }
}

} // namespace brindle
