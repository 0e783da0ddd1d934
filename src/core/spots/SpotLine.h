#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

class CountryTable;

// A DX cluster spot line taken apart by its fixed columns, counted from 1: the frequency in kHz in
// columns 16 to 24 and the spotted call in columns 27 to 39, each trimmed of blanks, and the record text
// (see spotRecordText). Whether the frequency is a number decides later whether the spot is stored, while
// the own-call alert looks at the call alone.
struct ParsedSpot
{
    std::string call; // as received, not upper-cased
    std::string freqKHzText;
    std::string recordText;

    bool operator==(const ParsedSpot&) const = default;
};

// Nothing for a line shorter than three characters. The columns are taken from the line up to its first
// CR or LF: a short line's end must not become part of its call or frequency.
//
// Not every node keeps the columns: a Reverse Beacon Network skimmer's call ("W1NT-6-#:") pushes the
// frequency one or more columns along, a 10 GHz frequency begins in column 15, a long call runs past
// column 39. Where the frequency or the call does not stand whole in its columns, it is read by the line's
// fields instead ("de", the spotter up to ':', the frequency, the call); what the columns do hold is kept.
// A frequency that fits neither way gives an empty text, and the spot is not stored.
std::optional<ParsedSpot> parseSpotLine(std::string_view line);

// The line without its first three characters, trimmed of blanks, cut before its first CR or LF. A
// standard line's record begins with "de", the spotter's call and ":".
std::string spotRecordText(std::string_view line);

// A number as a spot's texts hold one: blanks around it, a sign, digits with or without a decimal point,
// an exponent. Nothing for anything else, including infinities, NaN, hexadecimal, thousands separators and
// a value beyond a double's range.
std::optional<double> spotNumberValue(std::string_view text);

// The frequency in MHz a frequency text in kHz gives; nothing when it is not a number, is negative, or is
// beyond single precision, so that such a spot is never stored.
std::optional<float> spotFrequencyMHz(std::string_view freqKHzText);

// The frequency in MHz as a plain decimal number, as short as keeps the stored value: 14.025, 7.0123, 0.
std::string frequencyMHzText(float freqMHz);

// One row of the main form's spot list: the call as the row's text and seven sub-items in column order.
struct SpotListRow
{
    std::string call;
    std::string frequency;
    std::string qth;
    std::string status; // always empty
    std::string comments; // the spotter part, two blanks, the comment
    std::string prefix;
    std::string time;
    std::string from;

    bool operator==(const SpotListRow&) const = default;
};

// By the record's columns: the spotter part (1 to 11), the comment (35 to 59), the prefix (62 to 66), the
// time (68 to 71) and what follows it (73 to 76); a range beyond the record's end gives what exists of it,
// or empty text. A record whose time is not in its columns as HHMMZ is read by its fields, when it has a
// time at its end: the whole spotter part and comment, the time, the word after it, and no prefix.
SpotListRow spotListRow(
    std::string_view call, float freqMHz, std::string_view recordText, const CountryTable& countries);

// Whether the spotted call is the operator's own call, without regard to case. An operator who has not set
// a call is never spotted: a line with nothing in the call columns would otherwise raise the alert.
bool isOwnCallSpotted(std::string_view spottedCall, std::string_view ownCall);

} // namespace brindle
