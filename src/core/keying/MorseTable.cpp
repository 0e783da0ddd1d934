#include "MorseTable.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace brindle {

namespace {

// International Morse code as dots and dashes; the units are built from them by one rule.
struct Code
{
    char character;
    std::string_view elements;
};

constexpr std::array<Code, 47> Codes { {
    { 'A', ".-" }, { 'B', "-..." }, { 'C', "-.-." }, { 'D', "-.." }, { 'E', "." }, { 'F', "..-." },
    { 'G', "--." }, { 'H', "...." }, { 'I', ".." }, { 'J', ".---" }, { 'K', "-.-" }, { 'L', ".-.." },
    { 'M', "--" }, { 'N', "-." }, { 'O', "---" }, { 'P', ".--." }, { 'Q', "--.-" }, { 'R', ".-." },
    { 'S', "..." }, { 'T', "-" }, { 'U', "..-" }, { 'V', "...-" }, { 'W', ".--" }, { 'X', "-..-" },
    { 'Y', "-.--" }, { 'Z', "--.." }, { '0', "-----" }, { '1', ".----" }, { '2', "..---" }, { '3', "...--" },
    { '4', "....-" }, { '5', "....." }, { '6', "-...." }, { '7', "--..." }, { '8', "---.." }, { '9', "----." },
    { '.', ".-.-.-" }, { ',', "--..--" }, { '?', "..--.." }, { '/', "-..-." },
    { '-', "-...-" }, // BT, as "=": operators type a hyphen for the break, not the six-element hyphen
    { '=', "-...-" }, // BT
    { '[', ".-.-." }, // AR
    { ']', "...-.-" }, // SK
    { ';', "-.--." }, // KN
    { '\\', "-.-..-.." }, // CL as one run
    { ' ', "" },
} };

// dot "1", dash "111", one unit up between elements, three after the character.
std::string unitsOf(std::string_view elements)
{
    std::string units;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (i > 0) {
            units += '0';
        }
        units += elements[i] == '.' ? "1" : "111";
    }
    return units + "000";
}

struct Table
{
    std::array<std::string, 256> patterns;

    Table()
    {
        for (const Code& code : Codes) {
            patterns[static_cast<unsigned char>(code.character)] = unitsOf(code.elements);
        }
        // A space is a whole word space of its own: eight units on top of the three that end the last
        // character.
        patterns[static_cast<unsigned char>(' ')] = "00000000";
    }
};

const Table& table()
{
    static const Table instance;
    return instance;
}

} // namespace

std::string_view morsePattern(char character)
{
    const auto byte = static_cast<unsigned char>(character);
    const unsigned char upper = byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
    return table().patterns[upper];
}

double unitMs(double wordsPerMinute)
{
    return 1200.0 / wordsPerMinute;
}

std::string keyedUnits(char character, int wordSpace)
{
    std::string units(morsePattern(character));
    if (character == ' ') {
        if (wordSpace > 0) {
            // An absurd adjustment must not hold the keying line's thread for hours: a character is
            // never interrupted.
            units.append(static_cast<std::size_t>(std::min(wordSpace, MaxWordSpace)), '0');
        } else if (wordSpace < 0) {
            units.resize(static_cast<std::size_t>(8 - std::min(8, -wordSpace)));
        }
    }
    return units;
}

} // namespace brindle
