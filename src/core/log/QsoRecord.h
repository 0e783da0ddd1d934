#pragma once

#include <string>

namespace brindle {

// One logged contact: nine text fields in the order of the log file's columns.
struct QsoRecord
{
    std::string call;
    std::string rstRcvd;
    std::string section;
    std::string rstSent;
    std::string country;
    std::string qsoDate; // UTC "yyyy/mm/dd"
    std::string qsoTime; // UTC "hh:mm:ss", or "hh:mm" when entered after the contest
    std::string band; // a band code; other texts are kept but count nowhere
    std::string frequency; // MHz as the rig reported it, or empty

    static constexpr int FieldCount = 9;

    std::string& field(int index);
    const std::string& field(int index) const;

    bool operator==(const QsoRecord&) const = default;
};

// The record as the log file can hold it: no field may carry a double quote (the file format has no
// escape for one) or a line end (it would split the record).
QsoRecord storableRecord(QsoRecord record);

} // namespace brindle
