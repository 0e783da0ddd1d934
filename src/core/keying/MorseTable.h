#pragma once

#include <string>
#include <string_view>

namespace brindle {

// The character that logs the contact when the sender reaches it, and keys nothing.
inline constexpr char LogContactCharacter = '!';

// The units of one character: '1' is one unit with the key down, '0' one unit with it up. Every
// pattern ends with "000", so the key is always up after a character and characters are three units
// apart. Lower case is sent as upper case; a character with no pattern (and "!") gives the empty text:
// it is skipped without keying and without delay.
std::string_view morsePattern(char character);

// One unit in milliseconds at a speed in words per minute: a word is the fifty units of PARIS.
double unitMs(double wordsPerMinute);

// The units keyed for one character with the operator's word-space adjustment: a space is eight units
// up, lengthened by a positive adjustment or cut by a negative one down to none (at -8; anything
// below counts as -8). A lengthening beyond MaxWordSpace counts as MaxWordSpace.
inline constexpr int MaxWordSpace = 1000;
std::string keyedUnits(char character, int wordSpace);

} // namespace brindle
