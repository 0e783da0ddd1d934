#include "log/QsoRecord.h"

#include "common/Text.h"

#include <cassert>

namespace brindle {

namespace {

template <class Record, class Text> Text& fieldOf(Record& record, int index)
{
    switch (index) {
    case 0:
        return record.call;
    case 1:
        return record.rstRcvd;
    case 2:
        return record.section;
    case 3:
        return record.rstSent;
    case 4:
        return record.country;
    case 5:
        return record.qsoDate;
    case 6:
        return record.qsoTime;
    case 7:
        return record.band;
    default:
        assert(index == 8);
        return record.frequency;
    }
}

} // namespace

std::string& QsoRecord::field(int index)
{
    return fieldOf<QsoRecord, std::string>(*this, index);
}

const std::string& QsoRecord::field(int index) const
{
    return fieldOf<const QsoRecord, const std::string>(*this, index);
}

QsoRecord storableRecord(QsoRecord record)
{
    for (int i = 0; i < QsoRecord::FieldCount; ++i) {
        record.field(i) = storableText(record.field(i));
    }
    return record;
}

} // namespace brindle
