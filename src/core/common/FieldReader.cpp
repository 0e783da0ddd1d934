#include "FieldReader.h"

#include "FieldWriter.h"
#include "Text.h"

#include <cmath>

namespace brindle {

FieldReader::FieldReader(std::string_view data)
    : m_data(data)
{
}

bool FieldReader::atEnd() const
{
    return m_pos >= m_data.size();
}

bool FieldReader::atSeparator() const
{
    if (atEnd()) {
        return true;
    }
    const char c = m_data[m_pos];
    return c == ',' || c == '\r' || c == '\n';
}

void FieldReader::consumeSeparator()
{
    m_afterComma = false;
    if (atEnd()) {
        return;
    }
    const char c = m_data[m_pos++];
    if (c == ',') {
        m_afterComma = true;
    } else if (c == '\r' && !atEnd() && m_data[m_pos] == '\n') {
        ++m_pos;
    }
}

void FieldReader::skipBlankLines()
{
    while (!atEnd()) {
        const char c = m_data[m_pos];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            break;
        }
        ++m_pos;
    }
    m_afterComma = false;
}

bool FieldReader::hasMoreValues()
{
    skipBlankLines();
    return !atEnd();
}

std::optional<std::string> FieldReader::nextText()
{
    Field field;
    if (next(field) != Status::Ok) {
        return std::nullopt;
    }
    return std::move(field.text);
}

bool FieldReader::readText(std::string& out)
{
    std::optional<std::string> value = nextText();
    if (value) {
        out = std::move(*value);
    }
    return value.has_value();
}

std::optional<double> FieldReader::nextNumber()
{
    const std::optional<std::string> text = nextText();
    return text ? parseDecimal(*text) : std::nullopt;
}

std::optional<int> FieldReader::nextWholeNumber()
{
    const std::optional<double> value = nextNumber();
    if (!value || *value != std::floor(*value) || std::abs(*value) > 1e9) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

bool FieldReader::readFlag(bool& out)
{
    const std::optional<int> value = nextWholeNumber();
    if (value) {
        out = *value != 0;
    }
    return value.has_value();
}

bool FieldReader::readTruthValue(bool& out)
{
    const std::optional<std::string> text = nextText();
    if (!text) {
        return false;
    }
    if (equalsIgnoreCase(*text, TrueText)) {
        out = true;
        return true;
    }
    if (equalsIgnoreCase(*text, FalseText)) {
        out = false;
        return true;
    }
    return false;
}

FieldReader::Status FieldReader::next(Field& field)
{
    // A comma right before the end still announces one (empty) field.
    if (atEnd() && !m_afterComma) {
        return Status::PastEnd;
    }
    while (!atEnd() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t')) {
        ++m_pos;
    }
    if (!atEnd() && m_data[m_pos] == '"') {
        const std::size_t open = m_pos;
        const std::size_t close = m_data.find('"', open + 1);
        if (close == std::string_view::npos) {
            return Status::UnterminatedQuote;
        }
        field.text.assign(m_data.substr(open + 1, close - open - 1));
        field.quoted = true;
        m_pos = close + 1;
        while (!atEnd() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t')) {
            ++m_pos;
        }
        if (!atSeparator()) {
            return Status::TextAfterQuote;
        }
    } else {
        const std::size_t start = m_pos;
        while (!atSeparator()) {
            ++m_pos;
        }
        field.text.assign(trimBlanks(m_data.substr(start, m_pos - start)));
        field.quoted = false;
    }
    consumeSeparator();
    return Status::Ok;
}

} // namespace brindle
