#pragma once

#include <string>
#include <string_view>

namespace brindle {

// How the files write a truth value.
inline constexpr std::string_view TrueText = "#TRUE#";
inline constexpr std::string_view FalseText = "#FALSE#";

// Writes the program's settings files a value a line, each line ended with CR LF: text quoted, with
// whatever a quoted field cannot hold left out, so the file always reads back; numbers and truth values bare.
class FieldWriter
{
public:
    void text(std::string_view value);
    void number(std::string_view value);
    void number(int value);
    void truthValue(bool value);

    const std::string& content() const
    {
        return m_out;
    }

private:
    std::string m_out;
};

} // namespace brindle
