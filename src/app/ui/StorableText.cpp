#include "StorableText.h"

#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/Text.h"

#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace brindle {

namespace {

class StorableTextValidator : public QValidator
{
public:
    StorableTextValidator(StoredAs stored, QObject* parent)
        : QValidator(parent)
        , m_stored(stored)
    {
    }

    State validate(QString& input, int&) const override
    {
        const bool latin1 = std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
        if (!latin1 || (m_stored == StoredAs::Quoted && !isStorableText(toBytes(input)))) {
            return Invalid;
        }
        return Acceptable;
    }

private:
    StoredAs m_stored;
};

} // namespace

void refuseUnstorableText(QWidget& window, OperatorDialogs& dialogs, StoredAs stored)
{
    auto* validator = new StorableTextValidator(stored, &window);
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
        if (field->validator()) {
            continue;
        }
        field->setValidator(validator);
        QObject::connect(field, &QLineEdit::inputRejected, validator, [&dialogs] { dialogs.beep(); });
    }
}

} // namespace brindle
