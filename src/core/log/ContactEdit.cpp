#include "log/ContactEdit.h"

#include "log/Bands.h"

#include <algorithm>
#include <utility>

namespace brindle {

std::vector<int> editDuplicates(const ContestLog& log, int editIndex, std::string_view call, std::string_view band)
{
    std::vector<int> numbers;
    for (int number = 1; number <= log.count(); ++number) {
        if (number == editIndex) {
            continue;
        }
        const QsoRecord& record = log.record(number);
        if (record.band == band && record.call == call) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

bool isEditableBand(std::string_view text)
{
    return std::find(BandCodes.begin(), BandCodes.end(), text) != BandCodes.end();
}

QsoRecord editedRecord(QsoRecord original, const ContactFields& typed)
{
    std::string_view country = typed.country;
    while (!country.empty() && country.back() == ' ') {
        country.remove_suffix(1);
    }
    original.call = typed.call;
    original.rstRcvd = typed.rstRcvd;
    original.section = typed.section;
    original.rstSent = typed.rstSent;
    original.country = std::string(country);
    original.qsoDate = typed.qsoDate;
    original.qsoTime = typed.qsoTime;
    original.band = typed.band;
    return original;
}

} // namespace brindle
