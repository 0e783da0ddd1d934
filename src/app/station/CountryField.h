#pragma once

#include "station/CountryTable.h"

class QLineEdit;

namespace brindle {

// Type-ahead in a country-name field: a typed character that begins (with what stands before the cursor)
// a country of the table, with or without regard to letter case, completes the field, the completed
// remainder selected so the next key carries on or overtypes it. The key is then consumed (keyAscii
// becomes 0) and the completing record returned; otherwise nothing changes and the key goes on as typed.
const CountryInfo* completeCountryField(
    QLineEdit& field, const CountryTable& table, int& keyAscii, CompletionCase letterCase = CompletionCase::Ignore);

} // namespace brindle
