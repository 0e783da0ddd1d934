#include "StorableText.h"

#include "common/OperatorDialogs.h"

#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace brindle {

namespace {

class Latin1Validator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        const bool storable = std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
        return storable ? Acceptable : Invalid;
    }
};

} // namespace

void refuseUnstorableText(QWidget& window, OperatorDialogs& dialogs)
{
    auto* validator = new Latin1Validator(&window);
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
        if (field->validator()) {
            continue;
        }
        field->setValidator(validator);
        QObject::connect(field, &QLineEdit::inputRejected, validator, [&dialogs] { dialogs.beep(); });
    }
}

} // namespace brindle
