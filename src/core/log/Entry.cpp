#include "Entry.h"

#include "common/DateText.h"
#include "common/Text.h"

#include <algorithm>

namespace brindle {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool digitStartsReport(std::string_view callText, bool cursorAtEnd, int keyAscii)
{
    if (!isDigit(static_cast<char>(keyAscii)) || keyAscii > 0xFF || !cursorAtEnd || callText.size() <= 2) {
        return false;
    }
    const std::string_view rest = callText.substr(1);
    if (std::any_of(rest.begin(), rest.end(), [](char c) { return static_cast<unsigned char>(c) < '0'; })) {
        return false;
    }
    const std::size_t lastDigit = rest.find_last_of("0123456789");
    return lastDigit != std::string_view::npos && lastDigit + 1 < rest.size();
}

std::vector<MissingField> missingFields(const EntryFields& fields)
{
    std::vector<MissingField> missing;
    if (fields.section.empty()) {
        missing.push_back({ EntryField::Section, "Need Section!" });
    }
    if (fields.rstRcvd.empty()) {
        missing.push_back({ EntryField::RstRcvd, "Report Received!" });
    }
    if (fields.country.empty()) {
        missing.push_back({ EntryField::Country, "Need Country!" });
    }
    if (fields.rstSent.empty()) {
        missing.push_back({ EntryField::RstSent, "Need Report Sent!" });
    }
    if (fields.call.size() < 3) {
        missing.push_back({ EntryField::Call, "Need Call Sign!" });
    }
    return missing;
}

std::optional<std::string> postContestDate(std::string_view text)
{
    const std::optional<DateTime> date = readDate(text);
    if (!date) {
        return std::nullopt;
    }
    return formatDate(*date);
}

std::optional<std::string> postContestTime(std::string_view text)
{
    std::string typed(text);
    if ((typed.size() == 3 || typed.size() == 4) && std::all_of(typed.begin(), typed.end(), isDigit)) {
        typed.insert(typed.size() - 2, ":");
    }
    const std::optional<DateTime> time = readTimeOfDay(typed);
    if (!time) {
        return std::nullopt;
    }
    return formatHourMinute(*time);
}

QsoRecord entryRecord(
    const EntryFields& fields, std::string qsoDate, std::string qsoTime, std::string band, std::string frequency)
{
    QsoRecord record;
    record.call = std::string(trimBlanks(fields.call));
    record.rstRcvd = fields.rstRcvd;
    record.section = fields.section;
    record.rstSent = fields.rstSent;
    record.country = std::string(trimBlanks(fields.country));
    record.qsoDate = std::move(qsoDate);
    record.qsoTime = std::move(qsoTime);
    record.band = std::move(band);
    record.frequency = std::move(frequency);
    return record;
}

ClockTexts clockTexts(const DateTime& local, double utcOffsetHours)
{
    ClockTexts texts;
    const int hour12 = local.hour % 12 == 0 ? 12 : local.hour % 12;
    texts.local = std::to_string(hour12) + ":" + twoDigits(local.minute) + ":" + twoDigits(local.second);
    texts.marker = local.hour < 12 ? "AM" : "PM";
    texts.utc = formatTime(addHours(local, utcOffsetHours));
    return texts;
}

} // namespace brindle
