#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// What a transceiver's answers to the poll strings tell: its frequency in MHz and its mode. Each decoder reads
// the receive buffer of one read tick (the bytes 0–255 as they arrived, perhaps behind the rig's echo of the
// request) and never complains: an answer it cannot read, or can read only in part, changes only what it did
// read, so a line hit or a reply cut short leaves the last good values on the screen.

// Two modes only one family reports, beside ModeCW and ModePhone of the log.
inline constexpr std::string_view ModeAM = "AM";
inline constexpr std::string_view ModeFM = "FM";

// What one reply told; a part that could not be read stays empty.
struct DecodedReply
{
    std::optional<float> freqMHz;
    std::optional<std::string_view> mode; // "CW", "PH", "AM" or "FM"
    std::optional<int> vfoDigit;
};

// What the poll cycle keeps between reads.
struct RigReading
{
    std::optional<float> freqMHz;
    std::string mode;
    std::optional<int> vfoDigit;
};

// Everything a decoder may look at.
struct RigReply
{
    std::string_view buffer;
    std::string_view frequencyPoll;
    std::string_view modePoll;
    // The families that ask for frequency and mode in turn answer one of them per tick: true when the
    // frequency was asked last.
    bool askedFrequency = true;
};

// The decoder of the rig profile's name reads the reply; the name is found as the poll finds it
// (findRigProfile), in any case. "Other", "None", "Hamlib rigctld" and names on no list read nothing. For
// "Ten Tec Pegasus" the buffer is the text of the Pegasus control program's file.
DecodedReply decodeRigReply(std::string_view rigName, const RigReply& reply);
// The same, kept: only what the reply told replaces the reading's values.
void decodeRigReply(std::string_view rigName, const RigReply& reply, RigReading& reading);

// The buffer as the rig window shows binary replies: two upper-case hex digits a byte, no separators.
std::string hexText(std::string_view bytes);

// "Kenwood", "Elecraft": the frequency after the first two characters of the frequency poll ("FA"), eleven
// digits of hertz, zeros in front, that count only once a character follows them; a poll of fewer than three
// characters asks for no frequency. The mode is the digit after "MD": 3 or 7 (CW, CW reverse) are CW, all
// else phone.
std::optional<float> decodeKenwoodFrequency(std::string_view buffer, std::string_view frequencyPoll);
std::optional<std::string_view> decodeKenwoodMode(std::string_view buffer);
// "Kenwood 2": the IF status, with the frequency after "IF", the mode 29 and the VFO 30 characters on.
DecodedReply decodeKenwoodIf(std::string_view buffer);

// Icom CI-V ("Icom", "Icom 735", "Ten Tec Omni VI"): every frame of the buffer is walked, echoes of our own
// requests included, and the data of the frames that answer a frequency (03) or mode (04) request is read.
// The frequency comes from the last five data bytes of all such frames, BCD, least significant byte first;
// the Icom 735 sends four and is read in units of 10 Hz less.
enum class CivFrequencyBytes
{
    Five,
    Four,
};
std::optional<float> decodeCivFrequency(std::string_view buffer, CivFrequencyBytes bytes);
// The first data byte of the first mode frame: 03 is CW, any other mode phone.
std::optional<std::string_view> decodeCivMode(std::string_view buffer);

// "Yaesu": four BCD bytes of 10 Hz, most significant first, then the mode byte.
DecodedReply decodeYaesuBcd(std::string_view buffer);
// "Yaesu 757 GX II": the status record, BCD frequency in bytes 6 to 9 (0-based 5 to 8) least significant
// first, mode in the byte after them.
DecodedReply decodeYaesu757Status(std::string_view buffer);

// The status records of the later Yaesu rigs: the frequency a binary number, most significant first, at a
// place that differs between the models (hex digits counted from 1); the mode in hex digit 16, the low half
// of the eighth byte.
enum class YaesuStatusLayout
{
    Ft890, // "Yaesu 890": 10 Hz units in digits 5 to 10
    Ft920, // "Yaesu 920": hertz in digits 3 to 10, and only CW or phone
    Ft990, // "Yaesu 990", "Yaesu 1000 D": 10 Hz units in digits 3 to 8
    Ft1000, // "Yaesu 1000": 10 Hz units in digits 4 to 9
};
DecodedReply decodeYaesuStatus(std::string_view buffer, YaesuStatusLayout layout);

// "Yaesu FTdx9000": eight digits of hertz after the frequency poll's first two characters ("FA"), and the
// mode after the mode poll's first three ("MD0"): 3 is CW, all else phone.
DecodedReply decodeFtdx9000(std::string_view buffer, std::string_view frequencyPoll, std::string_view modePoll);

// "Ten Tec Fnt Pnl": the answers to "?A" (a letter, then hertz as four binary bytes) and "?M" (a letter, then
// the mode in the low half of the next byte).
std::optional<float> decodeTenTecPanelFrequency(std::string_view buffer);
std::optional<std::string_view> decodeTenTecPanelMode(std::string_view buffer);

// "Ten Tec Orion": "@AF" then hertz up to the CR, in a field eight wide that a lower frequency fills with
// blanks in front; "@RMM" then the main receiver's mode, 2 and 3 (the two CW sidebands) CW.
std::optional<float> decodeOrionFrequency(std::string_view buffer);
std::optional<std::string_view> decodeOrionMode(std::string_view buffer);

// "Ten Tec Pegasus": the file its control program keeps up to date, the frequency in MHz and the mode text;
// any mode but "CW" is phone, an empty one tells nothing.
DecodedReply readPegasusReply(std::string_view fileText);
// The file the Pegasus control program writes, in the folder the rig window names.
inline constexpr std::string_view PegasusReplyFileName = "PEGASUS.OUT";

// The mode the ARRL band plan gives a frequency, for "Mode by Frequency": nothing on a band edge or a
// segment boundary, or off the bands (160 m included, where CW and phone share the band).
std::optional<std::string_view> modeFromFrequency(float freqMHz);

} // namespace brindle
