#include "Adif.h"

#include "common/DateText.h"
#include "common/FieldReader.h"
#include "common/Text.h"
#include "log/ContestLog.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace brindle {

namespace {

constexpr std::string_view LineEnd = "\r\n";

// The header credits the maker in two lines of its own wording.
constexpr std::string_view MakerLine = "Written by KORVA Software";
constexpr std::string_view MakerWebLine = "News and updates: https://brindledx.example.org";

std::string recordError(int number, std::string_view what)
{
    return std::string(AdifTableFileName) + ", record " + std::to_string(number) + ": " + std::string(what);
}

std::string fieldDamage(FieldReader::Status status, int number)
{
    switch (status) {
    case FieldReader::Status::PastEnd:
        return recordError(number, "the DXCC number is missing.");
    case FieldReader::Status::UnterminatedQuote:
        return recordError(number, "a double quote is not closed.");
    case FieldReader::Status::TextAfterQuote:
    case FieldReader::Status::Ok:
        break;
    }
    return recordError(number, "a double quote stands inside a field.");
}

// The number as the table holds it: a whole 16-bit value, nothing else in the field.
std::optional<int> parseDxcc(std::string_view text)
{
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()
        || value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return value;
}

std::string_view withoutTrailingSpaces(std::string_view text)
{
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

void appendNumber(std::string& out, std::size_t value)
{
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    (void)error;
    out.append(digits, end);
}

// "<Name:length>data", the length counted in the bytes written.
void appendField(std::string& out, std::string_view name, std::string_view data)
{
    out += '<';
    out += name;
    out += ':';
    appendNumber(out, data.size());
    out += '>';
    out += data;
}

void appendFieldAndBlank(std::string& out, std::string_view name, std::string_view data)
{
    appendField(out, name, data);
    out += ' ';
}

// "yyyy/mm/dd" as YYYYMMDD; nothing for a text that names no day.
std::string adifDate(std::string_view text)
{
    const std::optional<DateTime> date = readDate(text);
    if (!date) {
        return {};
    }
    return fourDigits(date->year) + twoDigits(date->month) + twoDigits(date->day);
}

// Hours and minutes as four digits: "12:34:56" gives 1234, and "9:05" or "9:5" typed in the contact
// editor gives 0905. A text that is no time keeps its digits as they stand ("1234", "7" as 0007). An
// empty time stays empty, so that a contact without a time gets no time field rather than one claiming
// midnight.
std::string adifTime(std::string_view text)
{
    text = trimBlanks(text);
    if (text.empty()) {
        return {};
    }
    if (const std::optional<DateTime> t = readTimeOfDay(text)) {
        return twoDigits(t->hour) + twoDigits(t->minute);
    }
    std::string time;
    if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
        time = text.substr(0, colon);
        time += text.substr(colon + 1, 2);
    } else {
        time = text;
    }
    time.resize(std::min<std::size_t>(time.size(), 4));
    time.insert(0, 4 - time.size(), '0');
    return time;
}

// The ADIF state: the received state of a contact in the USA, with the District of Columbia counted as
// Maryland, or the state that Alaska and Hawaii are as countries of their own.
std::string_view adifState(const QsoRecord& record)
{
    if (equalsIgnoreCase(record.country, "USA")) {
        return equalsIgnoreCase(record.section, "DC") ? std::string_view("MD") : std::string_view(record.section);
    }
    if (equalsIgnoreCase(record.country, "Alaska")) {
        return "AK";
    }
    if (equalsIgnoreCase(record.country, "Hawaii")) {
        return "HI";
    }
    return {};
}

void appendHeader(std::string& out, const AdifExportSettings& settings)
{
    out += "ADIF Export from ";
    out += settings.programName;
    out += LineEnd;
    out += MakerLine;
    out += LineEnd;
    out += MakerWebLine;
    out += LineEnd;
    out += "Log exported on: ";
    out += settings.exportedOn;
    out += LineEnd;
    out += LineEnd;
    out += "<EOH>";
    out += LineEnd;
    out += LineEnd;
}

} // namespace

AdifCountryTable::AdifCountryTable(std::vector<AdifCountry> records)
    : m_records(std::move(records))
{
    m_byName.reserve(m_records.size());
    for (const AdifCountry& record : m_records) {
        // emplace keeps the first of several records with one name.
        m_byName.emplace(toUpperAscii(record.name), record.dxcc);
    }
}

int AdifCountryTable::dxccOf(std::string_view country) const
{
    const auto found = m_byName.find(toUpperAscii(trimBlanks(country)));
    return found == m_byName.end() ? 0 : found->second;
}

Result<AdifCountryTable> parseAdifCountryTable(std::string_view content)
{
    std::vector<AdifCountry> records;
    FieldReader reader(content);
    for (;;) {
        reader.skipBlankLines();
        if (reader.atEnd()) {
            break;
        }
        const int number = static_cast<int>(records.size()) + 1;
        if (number > AdifCountryTable::Capacity) {
            return Error { std::string(AdifTableFileName) + " holds more than "
                + std::to_string(AdifCountryTable::Capacity) + " records." };
        }
        FieldReader::Field name;
        FieldReader::Field dxcc;
        if (const FieldReader::Status status = reader.next(name); status != FieldReader::Status::Ok) {
            return Error { fieldDamage(status, number) };
        }
        if (const FieldReader::Status status = reader.next(dxcc); status != FieldReader::Status::Ok) {
            return Error { fieldDamage(status, number) };
        }
        const std::optional<int> value = parseDxcc(dxcc.text);
        if (!value) {
            return Error { recordError(
                number, "the DXCC number \"" + dxcc.text + "\" is not a whole number from -32768 to 32767.") };
        }
        records.push_back({ std::move(name.text), *value });
    }
    return AdifCountryTable(std::move(records));
}

Result<AdifCountryTable> loadAdifCountryTable(
    FileSystem& fs, const std::string& sharedDir, const std::string& programDataDir, const std::string& workingDir)
{
    for (const std::string* folder : { &sharedDir, &programDataDir, &workingDir }) {
        const std::string path = joinPath(*folder, AdifTableFileName);
        Result<std::string> content = fs.readFile(path);
        if (!content && content.error().missing) {
            continue;
        }
        if (!content) {
            return Error { path + ": " + content.error().description };
        }
        return parseAdifCountryTable(content.value());
    }
    return Error { std::string(AdifTableFileName) + " was not found in " + sharedDir + ", " + programDataDir + " or "
        + workingDir + "." };
}

std::string adifFileText(const ContestLog& log, const AdifCountryTable& countries, const AdifExportSettings& settings)
{
    const std::string_view mode = equalsIgnoreCase(settings.mode, "PH") ? "SSB" : "CW";
    const std::string_view power = withoutTrailingSpaces(settings.power);
    const std::string_view comment = settings.comment;

    std::string out;
    // About 190 bytes a contact with every field present.
    out.reserve(256 + static_cast<std::size_t>(log.count()) * 200);
    appendHeader(out, settings);

    // A country of two characters or fewer is no country name (a hand edit, a slip): the contact is
    // counted in the country of the contact before it.
    std::string_view lookupName;
    int lookupDxcc = 0;
    for (const QsoRecord& record : log.records()) {
        if (record.country.size() > 2 && record.country != lookupName) {
            lookupName = record.country;
            lookupDxcc = countries.dxccOf(lookupName);
        }

        if (!record.call.empty()) {
            appendFieldAndBlank(out, "Call", record.call);
        }
        if (const std::string date = adifDate(record.qsoDate); !date.empty()) {
            out += "<Qso_Date:";
            appendNumber(out, date.size());
            out += ":d>";
            out += date;
            out += ' ';
        }
        out += "<Band:";
        appendNumber(out, record.band.size() + 1);
        out += '>';
        out += record.band;
        out += "M ";
        appendField(out, "Mode", mode);
        out += LineEnd;

        if (!power.empty()) {
            appendFieldAndBlank(out, "Tx_Pwr", power);
        }
        if (const std::string_view frequency = trimBlanks(record.frequency); !frequency.empty()) {
            appendFieldAndBlank(out, "Freq", frequency);
        }
        if (const std::string time = adifTime(record.qsoTime); !time.empty()) {
            appendFieldAndBlank(out, "Time_On", time);
        }
        if (lookupDxcc > 0) {
            appendFieldAndBlank(out, "DXCC", std::to_string(lookupDxcc));
        }
        if (const std::string_view state = adifState(record); !state.empty()) {
            appendFieldAndBlank(out, "State", state);
        }
        if (const std::string_view sent = withoutTrailingSpaces(record.rstSent); !sent.empty()) {
            appendFieldAndBlank(out, "RST_Sent", sent);
        }
        if (const std::string_view received = withoutTrailingSpaces(record.rstRcvd); !received.empty()) {
            appendFieldAndBlank(out, "RST_Rcvd", received);
        }
        if (!comment.empty()) {
            appendField(out, "Comment", comment);
            out += LineEnd;
        }
        out += "<eor>";
        out += LineEnd;
        out += LineEnd;
    }
    return out;
}

} // namespace brindle
