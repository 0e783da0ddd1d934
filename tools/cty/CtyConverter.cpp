#include "cty/CtyConverter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <system_error>

namespace brindle::tools {
namespace {

constexpr std::size_t CtyFieldCount = 10;
constexpr std::array<std::string_view, 7> Continents { "AF", "AN", "AS", "EU", "NA", "OC", "SA" };

// One prefix or whole call of a row, with the row's values and its own overrides applied.
struct Entry
{
    std::string call;
    bool wholeCall = false;
    std::string continent;
    double latitude = 0;
    double longitude = 0;
    int cqZone = 0;
    int ituZone = 0;
};

struct CtyRow
{
    std::size_t line = 0;
    bool waeOnly = false;
    std::string country;
    int dxcc = 0;
    std::string utcOffset;
    std::vector<Entry> entries;
};

[[noreturn]] void fail(std::size_t line, const std::string& what)
{
    throw CtyError("line " + std::to_string(line) + ": " + what);
}

// Control characters are shown as \xNN so a stray CR cannot garble the message on a terminal.
std::string inQuotes(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string shown = "'";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += Hex[byte >> 4];
            shown += Hex[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return shown + "'";
}

[[noreturn]] void failOverride(std::size_t line, std::string_view token, const char* what, std::string_view value)
{
    fail(line, "entry " + inQuotes(token) + " has a bad " + what + " override " + inQuotes(value));
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::optional<double> numberIn(std::string_view text, double lowest, double highest)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)
        || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> wholeNumberIn(std::string_view text, int lowest, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

bool isContinent(std::string_view text)
{
    return std::find(Continents.begin(), Continents.end(), text) != Continents.end();
}

bool unstorable(std::string_view text)
{
    return text.find_first_of("\"\r\n") != std::string_view::npos;
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperCased(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upper);
    return result;
}

// The country table's lookup compares upper-cased bytes; the file must be in exactly that order.
bool lessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return static_cast<unsigned char>(upper(x)) < static_cast<unsigned char>(upper(y)); });
}

struct EntityName
{
    int dxcc;
    std::string_view name;
};

// DXCC entities the program names otherwise than cty.csv. Other parts of the program recognise the
// United States as "USA". cty.csv names entity 390 after its Asian part ("Asiatic Turkey"), and its
// European part, a WAE entity only, counts as the same entity: the entity is all of Turkey.
constexpr std::array<EntityName, 2> ProgramNames { {
    { 291, "USA" },
    { 390, "Turkey" },
} };

std::string programName(const CtyRow& row)
{
    const auto renamed = std::find_if(
        ProgramNames.begin(), ProgramNames.end(), [&row](const EntityName& e) { return e.dxcc == row.dxcc; });
    return renamed != ProgramNames.end() ? std::string(renamed->name) : row.country;
}

// An entry such as "=AA0EL(4)[7]" or "VK9X<-10.5/-105.7>{OC}": an optional "=", the call or prefix,
// then overrides of CQ zone (n), ITU zone [n], position <lat/long>, continent {CC} and UTC offset ~n~.
Entry parseEntry(std::size_t line, std::string_view token, const Entry& rowValues)
{
    Entry entry = rowValues;
    std::string_view rest = token;
    if (rest.starts_with('=')) {
        entry.wholeCall = true;
        rest.remove_prefix(1);
    }
    const std::size_t overridesAt = std::min(rest.find_first_of("([<{~"), rest.size());
    const std::string_view call = rest.substr(0, overridesAt);
    rest.remove_prefix(overridesAt);

    if (call.empty()) {
        fail(line, "entry " + inQuotes(token) + " has no call or prefix");
    }
    if (unstorable(call)) {
        fail(line,
            "prefix " + inQuotes(call) + " contains a double quote, CR or LF, which the output files cannot hold");
    }
    for (char c : call) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/';
        if (!allowed) {
            fail(line, "prefix " + inQuotes(call) + " contains a character other than letters, digits and '/'");
        }
    }
    entry.call = upperCased(call);

    while (!rest.empty()) {
        const char opener = rest.front();
        const char closer = opener == '(' ? ')' : opener == '[' ? ']' : opener == '<' ? '>' : opener == '{' ? '}' : '~';
        const std::size_t closeAt = (opener == '(' || opener == '[' || opener == '<' || opener == '{' || opener == '~')
            ? rest.find(closer, 1)
            : std::string_view::npos;
        if (closeAt == std::string_view::npos) {
            fail(line, "entry " + inQuotes(token) + " has an unclosed or unknown override at " + inQuotes(rest));
        }
        const std::string_view value = rest.substr(1, closeAt - 1);
        switch (opener) {
        case '(':
            if (const auto zone = wholeNumberIn(value, 1, 40)) {
                entry.cqZone = *zone;
            } else {
                failOverride(line, token, "CQ zone", value);
            }
            break;
        case '[':
            if (const auto zone = wholeNumberIn(value, 1, 90)) {
                entry.ituZone = *zone;
            } else {
                failOverride(line, token, "ITU zone", value);
            }
            break;
        case '<': {
            const std::size_t slash = value.find('/');
            const auto latitude
                = slash == std::string_view::npos ? std::nullopt : numberIn(value.substr(0, slash), -90, 90);
            const auto longitude
                = slash == std::string_view::npos ? std::nullopt : numberIn(value.substr(slash + 1), -180, 180);
            if (!latitude || !longitude) {
                failOverride(line, token, "position", value);
            }
            entry.latitude = *latitude;
            entry.longitude = *longitude;
            break;
        }
        case '{':
            if (!isContinent(value)) {
                failOverride(line, token, "continent", value);
            }
            entry.continent = std::string(value);
            break;
        default:
            // The UTC offset only fills an unused field of the prefix file; the row's value will do.
            if (!numberIn(value, -24, 24)) {
                failOverride(line, token, "UTC offset", value);
            }
            break;
        }
        rest.remove_prefix(closeAt + 1);
    }
    return entry;
}

CtyRow parseRow(std::size_t line, std::string_view text)
{
    const std::vector<std::string_view> raw = split(text, ',');
    if (raw.size() != CtyFieldCount) {
        fail(line,
            "expected " + std::to_string(CtyFieldCount) + " comma-separated fields, found "
                + std::to_string(raw.size()));
    }
    std::vector<std::string_view> field;
    std::transform(raw.begin(), raw.end(), std::back_inserter(field), trimmed);

    CtyRow row;
    row.line = line;
    if (field[0].empty() || field[0] == "*") {
        fail(line, "the primary prefix is empty");
    }
    row.waeOnly = field[0].starts_with('*');

    if (field[1].empty()) {
        fail(line, "the country name is empty");
    }
    if (unstorable(field[1])) {
        fail(line,
            "country name " + inQuotes(field[1])
                + " contains a double quote, CR or LF, which the output files cannot hold");
    }
    row.country = std::string(field[1]);

    const auto dxcc = wholeNumberIn(field[2], 0, 32767);
    if (!dxcc) {
        fail(line, "DXCC entity number " + inQuotes(field[2]) + " is not a whole number from 0 to 32767");
    }
    row.dxcc = *dxcc;

    Entry rowValues;
    if (!isContinent(field[3])) {
        fail(line, "continent " + inQuotes(field[3]) + " is not one of AF AN AS EU NA OC SA");
    }
    rowValues.continent = std::string(field[3]);
    const auto cq = wholeNumberIn(field[4], 1, 40);
    if (!cq) {
        fail(line, "CQ zone " + inQuotes(field[4]) + " is not a whole number from 1 to 40");
    }
    rowValues.cqZone = *cq;
    const auto itu = wholeNumberIn(field[5], 1, 90);
    if (!itu) {
        fail(line, "ITU zone " + inQuotes(field[5]) + " is not a whole number from 1 to 90");
    }
    rowValues.ituZone = *itu;
    const auto latitude = numberIn(field[6], -90, 90);
    if (!latitude) {
        fail(line, "latitude " + inQuotes(field[6]) + " is not a number from -90 to 90");
    }
    rowValues.latitude = *latitude;
    const auto longitude = numberIn(field[7], -180, 180);
    if (!longitude) {
        fail(line, "longitude " + inQuotes(field[7]) + " is not a number from -180 to 180");
    }
    rowValues.longitude = *longitude;
    if (!numberIn(field[8], -24, 24)) {
        fail(line, "UTC offset " + inQuotes(field[8]) + " is not a number from -24 to 24");
    }
    row.utcOffset = std::string(field[8]);

    std::string_view list = field[9];
    if (!list.ends_with(';')) {
        fail(line, "the prefix list does not end with ';'");
    }
    list.remove_suffix(1);
    for (std::string_view token : split(list, ' ')) {
        for (std::string_view part : split(token, '\t')) {
            if (!part.empty()) {
                row.entries.push_back(parseEntry(line, part, rowValues));
            }
        }
    }
    if (row.entries.empty()) {
        fail(line, "the prefix list of " + inQuotes(row.country) + " is empty");
    }
    return row;
}

std::string formatted(double value)
{
    std::array<char, 32> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2);
    std::string text(buffer.data(), result.ptr);
    return text == "-0.00" ? std::string("0.00") : text;
}

bool writeFile(const std::filesystem::path& path, const std::string& content, std::ostream& err)
{
    // Written beside the target and renamed over it, so a failed run never leaves half a file.
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            err << "brindle-cty-convert: cannot write " << temporary.string() << "\n";
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        err << "brindle-cty-convert: cannot replace " << path.string() << ": " << error.message() << "\n";
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

} // namespace

CountryData convertCty(std::string_view csv)
{
    std::vector<CtyRow> rows;
    std::size_t lineNumber = 0;
    for (std::string_view line : split(csv, '\n')) {
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!trimmed(line).empty()) {
            rows.push_back(parseRow(lineNumber, line));
        }
    }
    if (rows.empty()) {
        throw CtyError("no country rows in the input");
    }

    // Rows whose primary prefix starts with "*" are entities of the DARC WAE list only (Sicily,
    // Shetland Islands, Vienna Intl Ctr...). The ARRL DX contest counts DXCC entities, so their calls
    // go to the DXCC entity of the same number, keeping their own continent and position.
    std::map<int, std::string> dxccName;
    for (const CtyRow& row : rows) {
        if (!row.waeOnly) {
            dxccName.try_emplace(row.dxcc, programName(row));
        }
    }

    CountryData data;
    std::set<std::string> seen;
    std::map<std::string, std::pair<int, std::size_t>> entityOf; // name -> DXCC number, first line
    for (const CtyRow& row : rows) {
        const auto parent = row.waeOnly ? dxccName.find(row.dxcc) : dxccName.end();
        const std::string country = parent != dxccName.end() ? parent->second : programName(row);

        // A whole call taken as a prefix would also claim every longer call beginning with it
        // (=AA2TT for Hawaii would send AA2TTA there too), and cty.csv holds far more whole calls
        // than the country table's 10,000 records. So whole calls are dropped, except for a row
        // without a single plain prefix (Conway Reef, Bouvet, Peter 1 Island...): there they are
        // the only way to find the entity at all and are kept as its prefixes.
        const bool hasPlainPrefix
            = std::any_of(row.entries.begin(), row.entries.end(), [](const Entry& e) { return !e.wholeCall; });
        for (const Entry& entry : row.entries) {
            if (entry.wholeCall && hasPlainPrefix) {
                ++data.wholeCallsDropped;
                continue;
            }
            if (!seen.insert(entry.call).second) {
                ++data.duplicatesDropped;
                continue;
            }
            if (entry.wholeCall) {
                ++data.wholeCallsKept;
            }
            const auto [known, added] = entityOf.try_emplace(country, row.dxcc, row.line);
            if (!added && known->second.first != row.dxcc) {
                fail(row.line,
                    "country " + inQuotes(country) + " has DXCC entity number " + std::to_string(row.dxcc)
                        + " here and " + std::to_string(known->second.first) + " on line "
                        + std::to_string(known->second.second));
            }
            data.prefixes.push_back(PrefixRecord { entry.call, country, entry.continent, entry.longitude,
                entry.latitude, entry.cqZone, entry.ituZone, row.utcOffset });
        }
    }

    if (data.prefixes.size() > MaxPrefixRecords) {
        throw CtyError(std::to_string(data.prefixes.size()) + " prefix records, more than the country table's "
            + std::to_string(MaxPrefixRecords));
    }
    if (entityOf.size() > MaxEntityRecords) {
        throw CtyError(std::to_string(entityOf.size()) + " countries, more than the country-to-DXCC table's "
            + std::to_string(MaxEntityRecords));
    }

    std::sort(data.prefixes.begin(), data.prefixes.end(),
        [](const PrefixRecord& a, const PrefixRecord& b) { return lessIgnoringCase(a.prefix, b.prefix); });
    for (const auto& [country, number] : entityOf) {
        data.entities.push_back(EntityRecord { country, number.first });
    }
    std::sort(data.entities.begin(), data.entities.end(), [](const EntityRecord& a, const EntityRecord& b) {
        const std::string keyA = upperCased(a.country);
        const std::string keyB = upperCased(b.country);
        return keyA != keyB ? keyA < keyB : a.country < b.country;
    });
    return data;
}

std::string prefixFileText(const CountryData& data)
{
    std::string text;
    for (const PrefixRecord& r : data.prefixes) {
        text += "\"" + r.prefix + "\",\"" + r.country + "\",\"" + r.continent + "\"," + formatted(r.longitude) + ","
            + formatted(r.latitude) + "," + std::to_string(r.cqZone) + "," + std::to_string(r.ituZone) + ","
            + r.utcOffset + "\r\n";
    }
    return text;
}

std::string entityFileText(const CountryData& data)
{
    std::string text;
    for (const EntityRecord& e : data.entities) {
        text += "\"" + e.country + "\"," + std::to_string(e.dxcc) + "\r\n";
    }
    return text;
}

int runCtyConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2) {
        err << "usage: brindle-cty-convert CTY_CSV OUTPUT_FOLDER\n"
               "Writes "
            << PrefixFileName << " and " << EntityFileName << " into OUTPUT_FOLDER.\n";
        return 2;
    }
    const std::filesystem::path input = args[0];
    const std::filesystem::path folder = args[1];

    std::error_code error;
    if (!std::filesystem::is_regular_file(input, error)) {
        err << "brindle-cty-convert: cannot read " << input.string() << ": not an existing file\n";
        return 1;
    }
    std::ifstream in(input, std::ios::binary);
    const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        err << "brindle-cty-convert: cannot read " << input.string() << "\n";
        return 1;
    }

    CountryData data;
    try {
        data = convertCty(csv);
    } catch (const CtyError& problem) {
        err << "brindle-cty-convert: " << input.string() << ": " << problem.what() << "\n";
        return 1;
    }

    if (!std::filesystem::is_directory(folder, error)) {
        err << "brindle-cty-convert: output folder " << folder.string() << " is not an existing folder\n";
        return 1;
    }
    if (!writeFile(folder / PrefixFileName, prefixFileText(data), err)
        || !writeFile(folder / EntityFileName, entityFileText(data), err)) {
        return 1;
    }

    if (data.duplicatesDropped > 0) {
        err << "brindle-cty-convert: dropped " << data.duplicatesDropped
            << (data.duplicatesDropped == 1 ? " duplicate prefix" : " duplicate prefixes")
            << " (the first occurrence of each is kept)\n";
    }
    out << "wrote " << data.prefixes.size() << " prefixes to " << (folder / PrefixFileName).string() << " and "
        << data.entities.size() << " countries to " << (folder / EntityFileName).string() << "\n"
        << "whole calls: " << data.wholeCallsKept << " kept for entities without prefixes, " << data.wholeCallsDropped
        << " dropped\n";
    return 0;
}

} // namespace brindle::tools
