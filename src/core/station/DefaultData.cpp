#include "DefaultData.h"

#include "common/FieldReader.h"
#include "common/FieldWriter.h"
#include "common/Text.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace brindle {

namespace {

class DefaultDataReader
{
public:
    explicit DefaultDataReader(std::string_view content)
        : m_reader(content)
    {
    }

    bool text(std::string& out)
    {
        ++m_line;
        std::optional<std::string> text = m_reader.nextText();
        if (!text) {
            return false;
        }
        out = std::move(*text);
        return true;
    }

    bool single(float& out)
    {
        ++m_line;
        const std::optional<std::string> text = m_reader.nextText();
        const auto value = text ? parseSingle(*text) : std::nullopt;
        if (!value) {
            return false;
        }
        out = *value;
        return true;
    }

    bool byte(std::uint8_t& out)
    {
        const auto value = number();
        if (!value) {
            return false;
        }
        const double rounded = std::nearbyint(*value);
        if (rounded < 0 || rounded > 255) {
            return false;
        }
        out = static_cast<std::uint8_t>(rounded);
        return true;
    }

    bool colour(std::uint32_t& out)
    {
        const auto value = number();
        if (!value || *value != std::floor(*value) || *value < -2147483648.0 || *value > 4294967295.0) {
            return false;
        }
        out = static_cast<std::uint32_t>(static_cast<std::int64_t>(*value));
        return true;
    }

    int line() const
    {
        return m_line;
    }

private:
    std::optional<double> number()
    {
        ++m_line;
        return m_reader.nextNumber();
    }

    FieldReader m_reader;
    int m_line = 0;
};

} // namespace

Result<DefaultData> parseDefaultData(std::string_view content)
{
    DefaultData d;
    DefaultDataReader r(content);
    const bool ok = r.text(d.ownCall) && r.text(d.power) && r.single(d.utcOffsetHours) && r.text(d.mode)
        && r.text(d.band) && r.single(d.totalOnSeconds) && r.text(d.country) && r.text(d.continent)
        && r.single(d.longitude) && r.single(d.latitude) && r.byte(d.formSizePercent) && r.byte(d.voiceNavLevel)
        && r.text(d.rigName) && r.byte(d.taskbarOption) && r.byte(d.listPreviousContacts) && r.colour(d.workedColour)
        && r.colour(d.remainingColour);
    if (!ok) {
        return Error { "value " + std::to_string(r.line()) + " is missing or of the wrong type" };
    }
    return d;
}

std::string formatSingle(float value)
{
    if (!std::isfinite(value)) {
        return "0"; // unreadable at the next start otherwise
    }
    // Fixed notation: a long contest's 100000 seconds must not be written "1e+05".
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string formatDefaultData(const DefaultData& d)
{
    FieldWriter out;
    const auto text = [&out](std::string_view value) { out.text(value); };
    const auto number = [&out](std::string_view value) { out.number(value); };
    text(d.ownCall);
    text(d.power);
    number(formatSingle(d.utcOffsetHours));
    text(d.mode);
    text(d.band);
    number(formatSingle(d.totalOnSeconds));
    text(d.country);
    text(d.continent);
    number(formatSingle(d.longitude));
    number(formatSingle(d.latitude));
    number(std::to_string(d.formSizePercent));
    number(std::to_string(d.voiceNavLevel));
    text(d.rigName);
    number(std::to_string(d.taskbarOption));
    number(std::to_string(d.listPreviousContacts));
    number(std::to_string(d.workedColour));
    number(std::to_string(d.remainingColour));
    return out.content();
}

} // namespace brindle
