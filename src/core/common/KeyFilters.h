#pragma once

#include <string_view>

namespace brindle {

// Key filters of the entry fields. They take the character code of a key press and return the code to
// pass on; 0 drops the key.

// A lower-case letter a to z becomes upper case; every other key passes unchanged.
int upperCaseLetter(int keyAscii);

// Numeric fields of the station setup: Backspace, and the codes from "-" to "9" (minus, period, slash
// and the digits).
int numberCharsOnly(int keyAscii);

// Report fields: Backspace and the digits; every other key is dropped.
int digitsOnly(int keyAscii);

// Backspace, the digits and the characters of extra; every other key is dropped.
int digitsAnd(int keyAscii, std::string_view extra);

inline constexpr int KeyBackspace = 8;
inline constexpr int KeyReturn = 13;
inline constexpr int KeyEscape = 27;
inline constexpr int KeySpace = 32;

} // namespace brindle
