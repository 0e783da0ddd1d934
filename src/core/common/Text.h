#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// Byte-wise text helpers. Only ASCII letters change case: the files are 8-bit text in the operator's
// code page, and a country name's accented letters must come back exactly as they were read.
std::string toUpperAscii(std::string_view text);
// The program's 8-bit text (Latin-1) as UTF-8, for a file that declares that encoding.
std::string latin1ToUtf8(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// Where part first occurs in text at or after from, ASCII letters matching either case; npos when nowhere.
std::size_t findIgnoreCase(std::string_view text, std::string_view part, std::size_t from = 0);
bool startsWithIgnoreCase(std::string_view text, std::string_view start);
std::string_view trimBlanks(std::string_view text);

// The text without double quotes, CR and LF: what a quoted field of the program's files can hold.
std::string storableText(std::string_view text);
// The text holds none of them, and storableText would give it back unchanged.
bool isStorableText(std::string_view text);

// A number as the data files write it: bare, "." as the decimal mark, an optional sign. Nothing else may
// stand in the field, and infinities and NaN are refused, so a damaged value is noticed instead of being
// read in part.
std::optional<double> parseDecimal(std::string_view text);
// The same, for a single-precision value: nothing when it is out of a float's range.
std::optional<float> parseSingle(std::string_view text);
// A whole number filling the text but for blanks around it; nothing for anything else, or for one
// beyond a long long.
std::optional<long long> parseWholeNumber(std::string_view text);

// Two-digit and four-digit zero-padded numbers, as dates and file names use them.
std::string twoDigits(int value);
std::string fourDigits(int value);

} // namespace brindle
