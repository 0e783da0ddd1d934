#pragma once

#include "log/QsoRecord.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// The main window's list of contacts: one row a record, identified by the record number in its first
// column.
struct ContactListColumn
{
    std::string_view heading;
    int designWidth; // on the 9,600-unit wide design form
};
inline constexpr std::array<ContactListColumn, 9> ContactListColumns = { {
    { "Rec#", 570 },
    { "Call", 890 },
    { "Rec", 550 },
    { "St/Pr", 620 },
    { "Snt", 550 },
    { "Date", 660 },
    { "Time", 660 },
    { "Bnd", 500 },
    { "Country", 955 },
} };

// The recent contacts, newest first: the last 20 of count, or all of them.
std::vector<int> recentContacts(int count, bool listAll);

// A cell of the list: the record number, the record's fields, its date as "mm/dd" and its time as
// "hh:nn". A date or time that cannot be read is shown as it stands.
std::string contactListText(const QsoRecord& record, int number, int column);

} // namespace brindle
