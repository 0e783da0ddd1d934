#pragma once

#include "log/ContestLog.h"
#include "log/QsoRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace brindle {

// Checks and results of the contact editor, which changes one record of the log in place.

// The numbers of the other records holding this call on this band, in log order, the record being edited
// left out. Both texts must match with the same letter case: the editor looks for the record exactly as
// it is about to be stored.
std::vector<int> editDuplicates(const ContestLog& log, int editIndex, std::string_view call, std::string_view band);

// A band as the editor accepts it: one of the band codes, character for character.
bool isEditableBand(std::string_view text);

// The editor's fields as the operator left them.
struct ContactFields
{
    std::string call;
    std::string rstRcvd;
    std::string section;
    std::string rstSent;
    std::string country;
    std::string qsoDate;
    std::string qsoTime;
    std::string band;
};

// The record with the edited fields in place of the old ones, each as typed except the country, whose
// trailing blanks go so that a stray space does not make it another name. The frequency cannot be edited
// and stays.
QsoRecord editedRecord(QsoRecord original, const ContactFields& typed);

} // namespace brindle
