#include "DateText.h"

#include "Text.h"

#include <algorithm>
#include <cmath>

namespace brindle {

namespace {

constexpr long long SecondsPerDay = 86400;

bool isLeapYear(long long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(long long year, int month)
{
    static constexpr int Days[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && isLeapYear(year) ? 29 : Days[month - 1];
}

long long floorDiv(long long a, long long b)
{
    const long long quotient = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? quotient - 1 : quotient;
}

// Days since 1970-01-01 in the proleptic Gregorian calendar. Counting in 400-year eras, each starting
// on 1 March, puts the leap day at the end of a year, which keeps the arithmetic free of special cases.
long long daysFromCivil(long long year, long long month, long long day)
{
    // Months outside 1 to 12 carry into the year, so any field overflow still names a real day.
    year += floorDiv(month - 1, 12);
    month = month - 1 - floorDiv(month - 1, 12) * 12 + 1;
    const long long marchYear = month <= 2 ? year - 1 : year;
    const long long era = floorDiv(marchYear, 400);
    const long long yearOfEra = marchYear - era * 400;
    const long long monthFromMarch = month > 2 ? month - 3 : month + 9;
    const long long dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

DateTime civilFromDays(long long days, long long secondOfDay)
{
    const long long shifted = days + 719468;
    const long long era = floorDiv(shifted, 146097);
    const long long dayOfEra = shifted - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthFromMarch = (5 * dayOfYear + 2) / 153;
    DateTime result;
    result.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    result.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    result.year = static_cast<int>(yearOfEra + era * 400 + (result.month <= 2 ? 1 : 0));
    result.hour = static_cast<int>(secondOfDay / 3600);
    result.minute = static_cast<int>(secondOfDay / 60 % 60);
    result.second = static_cast<int>(secondOfDay % 60);
    return result;
}

long long secondsSinceEpoch(const DateTime& t)
{
    return daysFromCivil(t.year, t.month, t.day) * SecondsPerDay + static_cast<long long>(t.hour) * 3600
        + static_cast<long long>(t.minute) * 60 + t.second;
}

// A run of minDigits to maxDigits decimal digits filling the whole text.
std::optional<int> readNumber(std::string_view text, std::size_t minDigits, std::size_t maxDigits)
{
    if (text.size() < minDigits || text.size() > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// Splits "a<sep>b<sep>c" into exactly count parts.
bool splitInto(std::string_view text, char separator, std::string_view* parts, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = text.find(separator);
        const bool last = i + 1 == count;
        if (last != (end == std::string_view::npos)) {
            return false;
        }
        parts[i] = text.substr(0, end);
        text = last ? std::string_view() : text.substr(end + 1);
    }
    return true;
}

std::optional<DateTime> readTime(std::string_view text)
{
    std::string_view parts[3];
    const bool withSeconds = splitInto(text, ':', parts, 3);
    if (!withSeconds && !splitInto(text, ':', parts, 2)) {
        return std::nullopt;
    }
    const auto hour = readNumber(parts[0], 1, 2);
    const auto minute = readNumber(parts[1], 1, 2);
    const auto second = withSeconds ? readNumber(parts[2], 1, 2) : std::optional<int>(0);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    DateTime t;
    t.hour = *hour;
    t.minute = *minute;
    t.second = *second;
    return t;
}

} // namespace

std::optional<DateTime> readDate(std::string_view text)
{
    std::string_view parts[3];
    if (!splitInto(trimBlanks(text), '/', parts, 3)) {
        return std::nullopt;
    }
    const auto year = readNumber(parts[0], 4, 4);
    const auto month = readNumber(parts[1], 1, 2);
    const auto day = readNumber(parts[2], 1, 2);
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1
        || *day > daysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return DateTime { *year, *month, *day, 0, 0, 0 };
}

std::optional<DateTime> readTimeOfDay(std::string_view text)
{
    return readTime(trimBlanks(text));
}

std::optional<DateTime> readRecordTime(std::string_view date, std::string_view time)
{
    std::optional<DateTime> result = readDate(date);
    const std::optional<DateTime> clock = readTimeOfDay(time);
    if (!result || !clock) {
        return std::nullopt;
    }
    result->hour = clock->hour;
    result->minute = clock->minute;
    result->second = clock->second;
    return result;
}

std::string formatDate(const DateTime& t)
{
    return fourDigits(t.year) + "/" + twoDigits(t.month) + "/" + twoDigits(t.day);
}

std::string formatTime(const DateTime& t)
{
    return formatHourMinute(t) + ":" + twoDigits(t.second);
}

std::string formatHourMinute(const DateTime& t)
{
    return twoDigits(t.hour) + ":" + twoDigits(t.minute);
}

DateTime addHours(const DateTime& local, double hours)
{
    // The offset is read from the default-data file, which may hold any single-precision value. Whole
    // seconds of one beyond ten thousand years would not fit the count, and no clock is set that far off.
    constexpr double MaxOffsetSeconds = 10000.0 * 366 * SecondsPerDay;
    const double seconds = std::trunc(hours * 3600);
    const long long offset
        = std::isnan(seconds) ? 0 : static_cast<long long>(std::clamp(seconds, -MaxOffsetSeconds, MaxOffsetSeconds));
    const long long total = secondsSinceEpoch(local) + offset;
    const long long days = floorDiv(total, SecondsPerDay);
    return civilFromDays(days, total - days * SecondsPerDay);
}

long long secondsBetween(const DateTime& a, const DateTime& b)
{
    return secondsSinceEpoch(b) - secondsSinceEpoch(a);
}

} // namespace brindle
