#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// Reads the comma-separated text that every data file of the program uses: a comma or a line end
// (CR LF, LF or CR) ends a field; a field that begins with a double quote (after blanks) is the text up
// to the next double quote, commas and all; an unquoted field is trimmed of blanks.
//
// After a closing quote only blanks may stand before the separator. The files are written with nothing
// there, so anything else means a quote got into a field's text; reading on would silently cut the
// field short, so the reader reports the damage instead.
class FieldReader
{
public:
    enum class Status
    {
        Ok,
        PastEnd, // no field left: the data ended
        UnterminatedQuote, // an opening quote with no closing quote before the end
        TextAfterQuote, // a stray quote: text between a closing quote and the separator
    };

    struct Field
    {
        std::string text;
        bool quoted = false;
    };

    explicit FieldReader(std::string_view data);

    Status next(Field& field);
    // The next field's text; nothing when no well-formed field is left.
    std::optional<std::string> nextText();
    // The next field's text into out; out keeps its value, and the answer is false, when no well-formed
    // field is left. Settings files read this way keep their defaults from the first value missing.
    bool readText(std::string& out);
    // The next field as a number the data files write (bare, "." as the decimal mark); nothing when no
    // well-formed field is left or it holds no such number.
    std::optional<double> nextNumber();
    // The same for a whole number: a fraction, or a size no setting ever has, means the file is damaged.
    std::optional<int> nextWholeNumber();
    // A check box's value as a whole number, any but 0 set, into out; false, out unchanged, when the field
    // is no whole number.
    bool readFlag(bool& out);
    // A truth value, #TRUE# or #FALSE# in any case, into out; false, out unchanged, for anything else.
    bool readTruthValue(bool& out);

    // Skips blanks and line ends. Used between records so that blank lines (an editor's trailing
    // newline, say) never turn into empty fields that shift every later record.
    void skipBlankLines();
    bool atEnd() const;
    // Skips blank lines and says whether a value follows: for the values that later versions of a file
    // added at its end, which older files do not have.
    bool hasMoreValues();

private:
    bool atSeparator() const;
    void consumeSeparator();

    std::string_view m_data;
    std::size_t m_pos = 0;
    bool m_afterComma = false;
};

} // namespace brindle
