#pragma once

#include "BandTally.h"
#include "CallIndex.h"
#include "ContestLog.h"
#include "common/Clock.h"
#include "common/DateText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// --- Duplicates -----------------------------------------------------------------------------------

// What the full duplicate check finds for a call on the current band.
struct DupeCheckResult
{
    // The lowest record number with the same call on the current band: the duplicate, if any.
    std::optional<int> duplicate;
    // The section of the first earlier contact with the station, on any band, for an empty section
    // field (the first non-empty one among the records examined).
    std::optional<std::string> section;
    // The records with the same call, ascending, up to and including the duplicate: the list of
    // previous contacts.
    std::vector<int> previous;
};
// The check answers from calls, the index of log; every contact with the station is found there, so
// the log is read only for those.
DupeCheckResult duplicateCheck(
    const ContestLog& log, const CallIndex& calls, std::string_view call, std::string_view currentBand);
// The same for a log without an index at hand: one is built for the occasion, which costs far more than
// the check itself.
DupeCheckResult duplicateCheck(const ContestLog& log, std::string_view call, std::string_view currentBand);

// Whether the log holds a contact with call (ASCII letters either case) on band, the band's text matched
// character for character, as the spot list's rows hold it.
bool workedOnBand(const ContestLog& log, const CallIndex& calls, std::string_view call, std::string_view band);

// "Duplicate K1AB MA 2026/02/21 14:05:30 ON 20  Rec# 7".
std::string duplicateMessage(const QsoRecord& record, int recordNumber);

// What one key typed into the call field does to the possible-duplicates box and the message line.
struct PartialSearchOutcome
{
    bool searched = false; // the key is one of the call characters (codes 46 to 90)
    std::string list; // the calls for the box, latest first; empty when none
    std::optional<std::string> dialog; // a new text for the message line, if any
    bool beep = false;
};
// fieldText is the call field before the key; key is the upper-cased character code. calls is the index
// of log.
PartialSearchOutcome partialCallSearch(const ContestLog& log, const CallIndex& calls, std::string_view currentBand,
    std::string_view fieldText, int key, bool partialDupesOn, bool timeOn);
// The same for a log without an index at hand, building one for the occasion.
PartialSearchOutcome partialCallSearch(const ContestLog& log, std::string_view currentBand, std::string_view fieldText,
    int key, bool partialDupesOn, bool timeOn);

inline constexpr std::string_view PossibleDuplicateText = "Possible Duplicate!";
inline constexpr std::string_view NotNumericText = "The second or third character is not numeric!";

// --- Score and rates --------------------------------------------------------------------------------

struct ScoreSummary
{
    int contacts = 0;
    int points = 0; // 3 a contact
    int multipliers = 0; // sections, counted once per band
    int score = 0; // points × multipliers
    std::optional<int> currentBandMultipliers; // nothing when the current band is none of the six
};
ScoreSummary scoreSummary(const BandTallies& tallies, std::string_view currentBand);

struct Rates
{
    int last20 = 0; // contacts per hour over the last 20 minutes (three times the count)
    int last60 = 0;
};
// Counts back from the newest record until the first one an hour old or more. now is the UTC date and
// time (local time plus the UTC offset, whole seconds). Nothing when a record's date or time cannot be
// read: the displays then keep their values.
std::optional<Rates> contactRates(const ContestLog& log, const DateTime& now);

// "hh:mm:ss" of the operating time, each part its last two digits (100 hours show as "00").
std::string formatOperatingTime(float totalSeconds);

// The text of the possible-duplicates box while the mouse rests on section label position (1 to 63):
// " Massachusetts    Total =4\r\n  160 =0  80 =0  40 =1  20 =3  15 =0  10 =0".
std::string sectionTallyText(const ContestLog& log, int position);

// Whether the "New" indicator shows for the section field's text on a band.
bool sectionIsNew(const BandTallies& tallies, std::string_view currentBand, std::string_view sectionText);

} // namespace brindle
