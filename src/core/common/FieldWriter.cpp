#include "FieldWriter.h"

#include "common/Text.h"

namespace brindle {

void FieldWriter::text(std::string_view value)
{
    m_out += '"';
    m_out += storableText(value);
    m_out += "\"\r\n";
}

void FieldWriter::number(std::string_view value)
{
    m_out += value;
    m_out += "\r\n";
}

void FieldWriter::number(int value)
{
    number(std::to_string(value));
}

void FieldWriter::truthValue(bool value)
{
    number(value ? TrueText : FalseText);
}

} // namespace brindle
