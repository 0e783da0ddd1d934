#pragma once

#include <QPushButton>
#include <QString>

namespace brindle {

// A window's command button, named for tests and the window's own lookups.
inline QPushButton* commandButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter in a field is no click on a command.
    button->setAutoDefault(false);
    return button;
}

} // namespace brindle
