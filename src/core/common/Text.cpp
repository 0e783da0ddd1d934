#include "Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace brindle {

namespace {

char upperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isUnstorable(char c)
{
    return c == '"' || c == '\r' || c == '\n';
}

std::string padded(int value, int width)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

} // namespace

std::string toUpperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        c = upperAscii(c);
    }
    return result;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperAscii(a[i]) != upperAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::size_t findIgnoreCase(std::string_view text, std::string_view part, std::size_t from)
{
    if (from > text.size() || part.size() > text.size() - from) {
        return std::string_view::npos;
    }
    for (std::size_t at = from; at + part.size() <= text.size(); ++at) {
        if (equalsIgnoreCase(text.substr(at, part.size()), part)) {
            return at;
        }
    }
    return std::string_view::npos;
}

bool startsWithIgnoreCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && equalsIgnoreCase(text.substr(0, start.size()), start);
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string storableText(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (!isUnstorable(c)) {
            result += c;
        }
    }
    return result;
}

bool isStorableText(std::string_view text)
{
    for (char c : text) {
        if (isUnstorable(c)) {
            return false;
        }
    }
    return true;
}

std::optional<long long> parseWholeNumber(std::string_view text)
{
    text = trimBlanks(text);
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDecimal(std::string_view text)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string twoDigits(int value)
{
    return padded(value, 2);
}

std::string fourDigits(int value)
{
    return padded(value, 4);
}

std::optional<float> parseSingle(std::string_view text)
{
    const std::optional<double> value = parseDecimal(text);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

std::string latin1ToUtf8(std::string_view text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

} // namespace brindle
