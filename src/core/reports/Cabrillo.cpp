#include "Cabrillo.h"

#include "common/DateText.h"
#include "common/Text.h"
#include "log/Bands.h"
#include "station/CallFolderName.h"

#include <array>

namespace brindle {

namespace {

constexpr std::string_view LineEnd = "\r\n";

// The band's lower edge in kHz, right-aligned to end in column 10.
constexpr std::array<std::string_view, BandCount> BandEdges = { " 1800", " 3500", " 7000", "14000", "21000", "28000" };

// Where each field of a contact line starts (column 1 is the line's first character).
namespace column {
constexpr std::size_t Frequency = 6;
constexpr std::size_t Mode = 12;
constexpr std::size_t Date = 15;
constexpr std::size_t Time = 26;
constexpr std::size_t OwnCall = 31;
constexpr std::size_t SentReport = 45;
constexpr std::size_t Power = 49;
constexpr std::size_t Call = 56;
constexpr std::size_t ReceivedReport = 70;
constexpr std::size_t Section = 74;
constexpr std::size_t LastBlank = 81;
} // namespace column

// Lays out one line of fixed columns at the end of out.
class ColumnLine
{
public:
    explicit ColumnLine(std::string& out)
        : m_out(out)
        , m_start(out.size())
    {
    }

    // The value starts at its column when the line so far ends at least one blank before it. Otherwise
    // it follows one blank after what is there: the sponsor's robot splits the line at blanks, so a
    // value that runs into the next field would merge the two, and cutting it would send a wrong call.
    void place(std::size_t column, std::string_view value)
    {
        const std::size_t used = m_out.size() - m_start;
        if (used < column - 1) {
            m_out.append(column - 1 - used, ' ');
        } else if (!value.empty()) {
            m_out += ' ';
        }
        m_out += value;
    }

    // Blanks up to the last column, which is always a blank, even after a value that ran past it.
    void finish()
    {
        const std::size_t used = m_out.size() - m_start;
        if (used < column::LastBlank - 1) {
            m_out.append(column::LastBlank - 1 - used, ' ');
        }
        m_out += ' ';
        m_out += LineEnd;
    }

private:
    std::string& m_out;
    std::size_t m_start;
};

std::string_view bandEdge(std::string_view band)
{
    const std::optional<std::size_t> index = bandIndex(band);
    return index ? BandEdges[*index] : std::string_view();
}

// value as width decimal digits, zero-padded, from position at of the buffer.
template <std::size_t N> void putDigits(char (&buffer)[N], std::size_t at, std::size_t width, int value)
{
    for (std::size_t i = at + width; i-- > at; value /= 10) {
        buffer[i] = static_cast<char>('0' + value % 10);
    }
}

// "yyyy-mm-dd" for a date the log can hold; a date that names no day is sent as it stands, so the
// checker sees what is in the log rather than a made-up day. Twelve thousand of these make the file,
// so the text is put together in place.
std::string_view cabrilloDate(std::string_view date, char (&buffer)[10])
{
    const std::optional<DateTime> day = readDate(date);
    if (!day) {
        return date;
    }
    putDigits(buffer, 0, 4, day->year);
    buffer[4] = '-';
    putDigits(buffer, 5, 2, day->month);
    buffer[7] = '-';
    putDigits(buffer, 8, 2, day->day);
    return std::string_view(buffer, sizeof buffer);
}

// "hhmm". The time read as a time of day, so that "9:05" typed in the contact editor gives "0905"; a
// text that is no time gives its first two characters and its fourth and fifth.
std::string_view cabrilloTime(std::string_view time, char (&buffer)[4])
{
    if (const std::optional<DateTime> t = readTimeOfDay(time)) {
        putDigits(buffer, 0, 2, t->hour);
        putDigits(buffer, 2, 2, t->minute);
        return std::string_view(buffer, sizeof buffer);
    }
    const std::string_view hours = time.substr(0, 2);
    const std::string_view minutes = time.size() > 3 ? time.substr(3, 2) : std::string_view();
    hours.copy(buffer, 2);
    minutes.copy(buffer + hours.size(), 2);
    return std::string_view(buffer, hours.size() + minutes.size());
}

void appendQsoLine(std::string& out, const QsoRecord& record, std::string_view ownCall, const CabrilloHeader& header)
{
    ColumnLine line(out);
    out += "QSO:";
    line.place(column::Frequency, bandEdge(record.band));
    line.place(column::Mode, header.mode);
    char date[10];
    line.place(column::Date, cabrilloDate(record.qsoDate, date));
    char time[4];
    line.place(column::Time, cabrilloTime(record.qsoTime, time));
    line.place(column::OwnCall, ownCall);
    line.place(column::SentReport, record.rstSent);
    line.place(column::Power, header.power);
    line.place(column::Call, record.call);
    line.place(column::ReceivedReport, record.rstRcvd);
    line.place(column::Section, record.section);
    line.finish();
}

void appendLine(std::string& out, std::string_view label, std::string_view value = {})
{
    out += label;
    out += value;
    out += LineEnd;
}

} // namespace

std::string categoryText(const CabrilloCategory& category)
{
    std::string text;
    switch (category.operators) {
    case OperatorCategory::Single:
        text = "SINGLE-OP";
        break;
    case OperatorCategory::SingleAssisted:
        text = "SINGLE-OP-ASSISTED";
        break;
    case OperatorCategory::Multiple:
        text = "MULTI-";
        switch (category.transmitters) {
        case TransmitterCategory::None:
            break;
        case TransmitterCategory::One:
            text += "ONE";
            break;
        case TransmitterCategory::Two:
            text += "TWO";
            break;
        case TransmitterCategory::Multiple:
            text += "MULTI";
            break;
        }
        break;
    }
    text += ' ';
    text += category.singleBand ? *category.singleBand : std::string("ALL");
    text += ' ';
    switch (category.power) {
    case PowerCategory::High:
        text += "HIGH";
        break;
    case PowerCategory::Low:
        text += "LOW";
        break;
    case PowerCategory::Qrp:
        text += "QRP";
        break;
    }
    return text;
}

std::string cabrilloQsoLine(const QsoRecord& record, const CabrilloHeader& header)
{
    std::string line;
    appendQsoLine(line, record, trimBlanks(header.ownCall), header);
    return line;
}

std::string cabrilloFile(const ContestLog& log, const CabrilloHeader& header)
{
    const std::string_view ownCall = trimBlanks(header.ownCall);
    const std::string_view section = trimBlanks(header.section);

    std::string out;
    // A contact line is 83 bytes with its line end; the header is well under 1 KB.
    out.reserve(1024 + static_cast<std::size_t>(log.count()) * 84);
    appendLine(out, "START-OF-LOG: 2.0");
    appendLine(out, "CREATED-BY: ", header.createdBy);
    if (!section.empty()) {
        appendLine(out, "ARRL-SECTION: ", section);
    }
    appendLine(out, "CONTEST: ARRL-DX-", header.mode == ModeCW ? "CW" : "SSB");
    appendLine(out, "CALLSIGN: ", ownCall);
    appendLine(out, "CATEGORY: ", categoryText(header.category));
    appendLine(out, "CLAIMED-SCORE: ", header.claimedScore);
    appendLine(out, "OPERATORS: ", trimBlanks(header.operators).empty() ? ownCall : header.operators);
    appendLine(out, "CLUB: ", header.club);
    appendLine(out, "NAME: ", header.name);
    appendLine(out, "ADDRESS: ", header.addressLine1);
    appendLine(out, "ADDRESS: ", header.addressLine2);
    appendLine(out, "ADDRESS: (e-mail) ", header.email);
    appendLine(out, "SOAPBOX: ", header.soapbox);
    appendLine(out, "SOAPBOX:");
    appendLine(out, "SOAPBOX:");
    for (const QsoRecord& record : log.records()) {
        appendQsoLine(out, record, ownCall, header);
    }
    appendLine(out, "END-OF-LOG:");
    return out;
}

std::string cabrilloFileName(std::string_view ownCall)
{
    return callFolderName(trimBlanks(ownCall)) + ".log";
}

} // namespace brindle
