#include "Statistics.h"

#include "Bands.h"
#include "SectionTable.h"
#include "common/DateText.h"
#include "common/Text.h"

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

} // namespace

DupeCheckResult duplicateCheck(const ContestLog& log, std::string_view call, std::string_view currentBand)
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
