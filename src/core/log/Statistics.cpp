#include "Statistics.h"

#include "Bands.h"
#include "SectionTable.h"
#include "common/Text.h"

#include <array>
#include <cmath>

namespace brindle {

namespace {

constexpr long long SecondsPerDay = 86400;

// The character codes a call is typed with: ".", "/", the digits, ":" to "@" and the capital letters.
bool isCallKey(int key)
{
    return key >= 46 && key <= 90;
}

// A call area digit, or the "/" of a portable prefix, is what a call's second or third character
// normally is; anything else there is likely a typing slip.
bool isAreaCharacter(char c)
{
    return c >= '/' && c <= '9';
}

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

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

// A record's "yyyy/mm/dd" and "hh:mm:ss" (or the "hh:mm" of a contact entered after the contest), as a
// date: nothing for a text that names no real day or time.
std::optional<DateTime> readRecordTime(std::string_view date, std::string_view time)
{
    std::string_view dateParts[3];
    if (!splitInto(trimBlanks(date), '/', dateParts, 3)) {
        return std::nullopt;
    }
    time = trimBlanks(time);
    std::string_view timeParts[3];
    const bool withSeconds = splitInto(time, ':', timeParts, 3);
    if (!withSeconds && !splitInto(time, ':', timeParts, 2)) {
        return std::nullopt;
    }
    const auto year = readNumber(dateParts[0], 4, 4);
    const auto month = readNumber(dateParts[1], 1, 2);
    const auto day = readNumber(dateParts[2], 1, 2);
    const auto hour = readNumber(timeParts[0], 1, 2);
    const auto minute = readNumber(timeParts[1], 1, 2);
    const auto second = withSeconds ? readNumber(timeParts[2], 1, 2) : std::optional<int>(0);
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    if (*month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month) || *hour > 23 || *minute > 59
        || *second > 59) {
        return std::nullopt;
    }
    return DateTime { *year, *month, *day, *hour, *minute, *second };
}

// Two characters of the operating-time display: a value below 10 as "0" and its last digit, any other
// as its last two digits, so 100 hours and more wrap round.
std::string lastTwoDigits(double value)
{
    const auto digit = [](double v) { return static_cast<char>('0' + static_cast<int>(std::fabs(v))); };
    if (value < 10) {
        return std::string { '0', digit(std::fmod(value, 10)) };
    }
    const double lastTwo = std::fmod(value, 100);
    return std::string { digit(std::trunc(lastTwo / 10)), digit(std::fmod(lastTwo, 10)) };
}

} // namespace

DupeCheckResult dupcheck(const ContestLog& log, std::string_view call, std::string_view currentBand)
{
    DupeCheckResult result;
    const std::vector<QsoRecord>& records = log.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QsoRecord& record = records[i];
        if (!equalsIgnoreCase(record.call, call)) {
            continue;
        }
        const int number = static_cast<int>(i) + 1;
        result.previous.push_back(number);
        // An earlier contact without a section must not keep a later one from supplying it.
        if (!result.section && !record.section.empty()) {
            result.section = record.section;
        }
        if (equalsIgnoreCase(record.band, currentBand)) {
            result.duplicate = number;
            break;
        }
    }
    return result;
}

std::string duplicateMessage(const QsoRecord& record, int recordNumber)
{
    return "Duplicate " + record.call + " " + record.section + " " + record.qsoDate + " " + record.qsoTime + " ON "
        + record.band + "  Rec# " + std::to_string(recordNumber);
}

PartialSearchOutcome partialCallSearch(const ContestLog& log, std::string_view currentBand, std::string_view fieldText,
    int key, bool partialDupesOn, bool timeOn)
{
    PartialSearchOutcome outcome;
    const bool callKey = isCallKey(key);
    std::string partial(fieldText);
    partial += static_cast<char>(key);

    if (callKey && partialDupesOn) {
        outcome.searched = true;
        for (const QsoRecord& record : log.records()) {
            // The call first: it rules out nearly every record, and the band lies in another cache line.
            if (!startsWithIgnoreCase(record.call, partial) || !equalsIgnoreCase(record.band, currentBand)) {
                continue;
            }
            outcome.list.insert(0, record.call + " ");
            // A common prefix would otherwise fill the box with the whole band; the first hundred
            // characters are all the operator can read anyway.
            if (outcome.list.size() > 100) {
                break;
            }
        }
    }

    if (fieldText.size() > 2 && !outcome.list.empty()) {
        outcome.dialog = std::string(PossibleDuplicateText);
    } else if (timeOn) {
        outcome.dialog = " ";
    }

    if (partial.size() == 3 && callKey) {
        if (isAreaCharacter(partial[2]) || isAreaCharacter(partial[1])) {
            outcome.dialog = " ";
        } else {
            outcome.beep = true;
            outcome.dialog = std::string(NotNumericText);
        }
    }
    return outcome;
}

ScoreSummary scoreSummary(const BandTallies& tallies, std::string_view currentBand)
{
    ScoreSummary summary;
    for (std::size_t i = 0; i < BandCount; ++i) {
        summary.contacts += tallies[i].qsoCount;
        summary.multipliers += tallies[i].multCount();
    }
    summary.points = 3 * summary.contacts;
    summary.score = summary.points * summary.multipliers;
    if (const BandTally* tally = tallies.forBand(currentBand)) {
        summary.currentBandMultipliers = tally->multCount();
    }
    return summary;
}

std::optional<Rates> timeStats(const ContestLog& log, const DateTime& now)
{
    int recent20 = 0;
    int recent60 = 0;
    for (int number = log.count(); number >= 1; --number) {
        const QsoRecord& record = log.record(number);
        const std::optional<DateTime> logged = readRecordTime(record.qsoDate, record.qsoTime);
        if (!logged) {
            return std::nullopt;
        }
        const long long age = secondsBetween(*logged, now);
        if (age < 1200) {
            ++recent20;
        }
        // Record order, not time order, bounds the scan: an old record entered late ends it.
        if (age >= 3600) {
            break;
        }
        ++recent60;
    }
    return Rates { 3 * recent20, recent60 };
}

DateTime addHours(const DateTime& local, double hours)
{
    const long long offset = static_cast<long long>(std::trunc(hours * 3600));
    const long long total = secondsSinceEpoch(local) + offset;
    const long long days = floorDiv(total, SecondsPerDay);
    return civilFromDays(days, total - days * SecondsPerDay);
}

long long secondsBetween(const DateTime& a, const DateTime& b)
{
    return secondsSinceEpoch(b) - secondsSinceEpoch(a);
}

std::string formatOperatingTime(float totalSeconds)
{
    // A damaged saved total must not bring down the clock display.
    const double t = std::isfinite(totalSeconds) ? static_cast<double>(totalSeconds) : 0.0;
    const double hours = std::trunc(t / 3600);
    const double minutes = std::trunc(t / 60 - hours * 60);
    const double seconds = std::trunc(t - std::trunc(t / 60) * 60);
    return lastTwoDigits(hours) + ":" + lastTwoDigits(minutes) + ":" + lastTwoDigits(seconds);
}

std::string sectionTallyText(const ContestLog& log, int position)
{
    if (position < 1 || position > SectionTable::Size) {
        return {};
    }
    const Section& section = SectionTable::at(position);
    std::array<int, BandCount> perBand {};
    for (const QsoRecord& record : log.records()) {
        if (!equalsIgnoreCase(record.section, section.abbreviation)) {
            continue;
        }
        if (const auto band = bandIndex(record.band)) {
            ++perBand[*band];
        }
    }
    int total = 0;
    for (int count : perBand) {
        total += count;
    }
    std::string text = " " + std::string(section.fullName) + "    Total =" + std::to_string(total) + "\r\n";
    for (std::size_t i = 0; i < BandCount; ++i) {
        text += "  " + std::string(BandCodes[i]) + " =" + std::to_string(perBand[i]);
    }
    return text;
}

bool sectionIsNew(const BandTallies& tallies, std::string_view currentBand, std::string_view sectionText)
{
    if (sectionText.size() < 2) {
        return false;
    }
    const BandTally* tally = tallies.forBand(currentBand);
    return tally == nullptr || !tally->hasSection(sectionText);
}

} // namespace brindle
