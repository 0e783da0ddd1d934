#include "Statistics.h"

#include "Bands.h"
#include "SectionTable.h"
#include "common/DateText.h"
#include "common/Text.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace brindle {

namespace {

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

// The possible-duplicates box stops taking calls once its text is longer than this.
constexpr std::size_t MaxListLength = 100;

// A common prefix fills the box within the first records of the log: reading those straight costs less
// than walking the prefix's long run of the index.
constexpr int StraightScanRecords = 256;

// The record numbers, ascending, of the earliest contacts on the band whose call begins with partial:
// those that reach the box before its text passes MaxListLength, and perhaps a few more.
std::vector<int> firstPossibleDuplicates(
    const ContestLog& log, const CallIndex& calls, std::string_view currentBand, std::string_view partial)
{
    std::vector<int> numbers;
    std::size_t listLength = 0;
    const int straight = std::min(log.count(), StraightScanRecords);
    for (int number = 1; number <= straight && listLength <= MaxListLength; ++number) {
        const QsoRecord& record = log.record(number);
        // The call first: it rules out nearly every record, and the band lies in another cache line.
        if (startsWithIgnoreCase(record.call, partial) && equalsIgnoreCase(record.band, currentBand)) {
            numbers.push_back(number);
            listLength += record.call.size() + 1;
        }
    }
    if (listLength <= MaxListLength && straight < log.count()) {
        // Each call listed is at least partial and a blank long, so this many always pass the length.
        const std::size_t enough = (MaxListLength - listLength) / (partial.size() + 1) + 1;
        const std::vector<int> later = calls.firstBeginningWith(log, partial, currentBand, enough, straight);
        numbers.insert(numbers.end(), later.begin(), later.end());
    }
    return numbers;
}

} // namespace

DupeCheckResult duplicateCheck(
    const ContestLog& log, const CallIndex& calls, std::string_view call, std::string_view currentBand)
{
    DupeCheckResult result;
    for (const int number : calls.contactsWith(log, call)) {
        const QsoRecord& record = log.record(number);
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

DupeCheckResult duplicateCheck(const ContestLog& log, std::string_view call, std::string_view currentBand)
{
    return duplicateCheck(log, CallIndex(log), call, currentBand);
}

bool workedOnBand(const ContestLog& log, const CallIndex& calls, std::string_view call, std::string_view band)
{
    const std::vector<int> contacts = calls.contactsWith(log, call);
    return std::any_of(contacts.begin(), contacts.end(), [&](int number) { return log.record(number).band == band; });
}

std::string duplicateMessage(const QsoRecord& record, int recordNumber)
{
    return "Duplicate " + record.call + " " + record.section + " " + record.qsoDate + " " + record.qsoTime + " ON "
        + record.band + "  Rec# " + std::to_string(recordNumber);
}

PartialSearchOutcome partialCallSearch(const ContestLog& log, const CallIndex& calls, std::string_view currentBand,
    std::string_view fieldText, int key, bool partialDupesOn, bool timeOn)
{
    PartialSearchOutcome outcome;
    const bool callKey = isCallKey(key);
    std::string partial(fieldText);
    partial += static_cast<char>(key);

    if (callKey && partialDupesOn) {
        outcome.searched = true;
        for (const int number : firstPossibleDuplicates(log, calls, currentBand, partial)) {
            outcome.list.insert(0, log.record(number).call + " ");
            // A common prefix would otherwise fill the box with the whole band; the first hundred
            // characters are all the operator can read anyway.
            if (outcome.list.size() > MaxListLength) {
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

PartialSearchOutcome partialCallSearch(const ContestLog& log, std::string_view currentBand, std::string_view fieldText,
    int key, bool partialDupesOn, bool timeOn)
{
    return partialCallSearch(log, CallIndex(log), currentBand, fieldText, key, partialDupesOn, timeOn);
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

std::optional<Rates> contactRates(const ContestLog& log, const DateTime& now)
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
