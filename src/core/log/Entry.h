#pragma once

#include "common/Clock.h"
#include "log/QsoRecord.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The contact being entered on the main window, as its fields hold it.
struct EntryFields
{
    std::string call;
    std::string rstRcvd;
    std::string section;
    std::string rstSent;
    std::string country;
};

// Whether a digit typed into the call field begins the received report instead: the call before it is
// complete, that is longer than two characters, with a digit after its first character and letters
// after its last digit, and with nothing below "0" (such as the "/" of a portable call) after its first
// character. The key must be typed at the end of the call.
bool digitStartsReport(std::string_view callText, bool cursorAtEnd, int keyAscii);

// The entry fields the required-field check can send the operator back to.
enum class EntryField
{
    Call,
    RstRcvd,
    Section,
    RstSent,
    Country,
};

struct MissingField
{
    EntryField field;
    std::string_view message;
};

// Every required field that is empty or too short, in the order the operator is told about them: the
// last one is the one the message line shows and the focus goes to.
std::vector<MissingField> missingFields(const EntryFields& fields);

inline constexpr std::string_view InvalidSectionText = "Invald Section!";
inline constexpr std::string_view ClockStoppedText = "Click Log \"Time On\"!";
inline constexpr std::string_view InvalidDateText = "Invalid date format!";
inline constexpr std::string_view InvalidTimeText = "Invalid time format!";

// A contact entered after the contest: the typed date as "yyyy/mm/dd", nothing when it is no date.
std::optional<std::string> postContestDate(std::string_view text);
// The typed time as "hh:mm"; three or four digits alone are read as hours and minutes ("934" is 09:34).
// Nothing when it is no time of day.
std::optional<std::string> postContestTime(std::string_view text);

// The record a logged contact gets: call and country without surrounding blanks, the rest as typed.
QsoRecord entryRecord(
    const EntryFields& fields, std::string qsoDate, std::string qsoTime, std::string band, std::string frequency);

// The form's clocks: the local time on the 12-hour clock ("9:05:07" and "AM") and UTC ("13:05:07").
struct ClockTexts
{
    std::string local;
    std::string marker;
    std::string utc;
};
ClockTexts clockTexts(const DateTime& local, double utcOffsetHours);

} // namespace brindle
