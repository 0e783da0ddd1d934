#pragma once

#include "log/ContestLog.h"

#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// The Cabrillo 2.0 file sent to the contest sponsor: a header, one "QSO:" line a contact in fixed
// columns, "END-OF-LOG:"; CR LF after every line.

enum class OperatorCategory
{
    Single, // "SINGLE-OP"
    SingleAssisted, // "SINGLE-OP-ASSISTED"
    Multiple, // "MULTI-"
};

enum class TransmitterCategory
{
    None, // no option chosen
    One,
    Two,
    Multiple,
};

enum class PowerCategory
{
    High,
    Low,
    Qrp,
};

struct CabrilloCategory
{
    OperatorCategory operators = OperatorCategory::Single;
    // Counts only for a multi-operator entry.
    TransmitterCategory transmitters = TransmitterCategory::None;
    // Nothing for all bands; for a single band, the band text as the operator left it ("20M").
    std::optional<std::string> singleBand;
    PowerCategory power = PowerCategory::Low;

    bool operator==(const CabrilloCategory&) const = default;
};

// "SINGLE-OP ALL LOW", "MULTI-TWO ALL HIGH", "MULTI- 20M QRP".
std::string categoryText(const CabrilloCategory& category);

// Everything the file is made of besides the contacts.
struct CabrilloHeader
{
    // The program as the main window's title names it, without the web address.
    std::string createdBy;
    // The own station: call (blanks around it are dropped), power sent as the exchange, contest mode
    // ("CW" or "PH").
    std::string ownCall;
    std::string power;
    std::string mode;
    // The claimed score exactly as the main window shows it.
    std::string claimedScore;
    CabrilloCategory category;
    // The summary sheet's fields as typed. The section is written trimmed and left out when blank; the
    // operators default to the own call; the rest are written as typed, empty or not.
    std::string section;
    std::string operators;
    std::string club;
    std::string name;
    std::string addressLine1;
    std::string addressLine2;
    std::string email;
    std::string soapbox;
};

// The whole file, contacts in log order.
std::string cabrilloFile(const ContestLog& log, const CabrilloHeader& header);

// One contact's "QSO:" line, CR LF included. Each field starts at its column; a value too long for
// its room pushes the rest of the line right so that one blank still parts it from the next field,
// and nothing is ever cut.
std::string cabrilloQsoLine(const QsoRecord& record, const CabrilloHeader& header);

// The file name proposed in the save dialog: the own call's file-name stem and ".log".
std::string cabrilloFileName(std::string_view ownCall);

namespace cabrillomsg {

// What the operator reads around the writing of the file, word for word.
inline constexpr std::string_view FileFilter = "LOG Files (*.log) | *.log";
inline constexpr std::string_view WriteErrorTitle = "Unable to write file.";
inline constexpr std::string_view WrittenTitle = "File Written Successfully.";
inline constexpr std::string_view WrittenBeforePath = "The file was successfully written to the directory:\r\n\r\n";
inline constexpr std::string_view WrittenAfterPath
    = ".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If you wish to print this file, you "
      "can open it with Notepad or Wordpad to print.";
inline constexpr std::string_view ThanksTitle = "  Thanks!";
inline constexpr std::string_view ThanksText
    = "Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a friend!\r\n\r\n"
      "73 and good DX,\r\n"
      "KORVA Software";

} // namespace cabrillomsg

} // namespace brindle
