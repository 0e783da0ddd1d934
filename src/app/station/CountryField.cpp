#include "CountryField.h"

#include "common/QtText.h"
#include "station/CountryTable.h"

#include <QLineEdit>

namespace brindle {

const CountryInfo* completeCountryField(
    QLineEdit& field, const CountryTable& table, int& keyAscii, CompletionCase letterCase)
{
    if (keyAscii < 32) {
        return nullptr;
    }
    const auto completion = completeCountryName(table, toBytes(field.text()),
        static_cast<std::size_t>(field.cursorPosition()), static_cast<char>(keyAscii), letterCase);
    if (!completion) {
        return nullptr;
    }
    keyAscii = 0;
    field.setText(toQString(completion->text));
    // Selected backwards, so the cursor stays right after what was typed.
    field.setSelection(static_cast<int>(completion->selectionStart + completion->selectionLength),
        -static_cast<int>(completion->selectionLength));
    return completion->record;
}

} // namespace brindle
