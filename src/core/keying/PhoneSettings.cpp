#include "PhoneSettings.h"

#include "common/FieldReader.h"
#include "common/FieldWriter.h"
#include "common/Text.h"

#include <cmath>
#include <limits>

namespace brindle {

namespace {

// A path as the file keeps it. Blanks around a path are never part of a file's name but easily typed
// or pasted with it, and the player would not find the file with them.
std::string storedPath(std::string_view path)
{
    return std::string(trimBlanks(storableText(path)));
}

PttLine pttLineFromText(std::string_view text)
{
    const std::optional<double> value = parseDecimal(text);
    if (value == 1) {
        return PttLine::Dtr;
    }
    if (value == 2) {
        return PttLine::Parallel;
    }
    return PttLine::Rts;
}

} // namespace

int pttPortNumber(std::string_view text)
{
    const std::optional<double> value = parseDecimal(trimBlanks(text));
    if (!value || *value != std::floor(*value) || *value < 1 || *value > std::numeric_limits<int>::max()) {
        return 0;
    }
    return static_cast<int>(*value);
}

PhoneSettings parsePhoneSettings(std::string_view text)
{
    PhoneSettings s;
    FieldReader reader(text);
    // A hand-edited line may hold what no saved file does (a quote in a bare value, a line end inside
    // quotes); it is read as it will be saved, so that the window never shows what the file cannot keep.
    const auto value = [&reader](std::string& out) {
        if (!reader.readText(out)) {
            return false;
        }
        out = storableText(out);
        return true;
    };
    for (std::string& path : s.waveFiles) {
        if (!value(path)) {
            return s;
        }
        path = storedPath(path);
    }
    std::string line;
    if (!value(s.pttPort) || !value(line)) {
        return s;
    }
    // The line is a field like any other: a value that is no choice leaves the default but does not
    // shift the values after it.
    s.pttLine = pttLineFromText(line);
    if (value(s.loopSeconds)) {
        (void)value(s.parallelAddress);
    }
    return s;
}

std::string formatPhoneSettings(const PhoneSettings& s)
{
    FieldWriter out;
    for (const std::string& path : s.waveFiles) {
        out.text(storedPath(path));
    }
    out.text(s.pttPort);
    out.number(static_cast<int>(s.pttLine));
    out.text(s.loopSeconds);
    out.text(s.parallelAddress);
    return out.content();
}

} // namespace brindle
