#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QString>

namespace brindle {

// A text field and the caption that names it. The caption is the field's buddy, so its mnemonic
// reaches the field and a screen reader reads the caption as the field's name.
struct LabelledField
{
    QLabel* caption;
    QLineEdit* field;
};

// Both are children of parent, for the caller's layout to place; the field's objectName is name.
inline LabelledField labelledField(QWidget* parent, const char* name, const QString& caption)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field);
    return { label, field };
}

} // namespace brindle
