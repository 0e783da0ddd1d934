#include "ContestLog.h"

#include <cassert>

namespace brindle {

int ContestLog::count() const
{
    return static_cast<int>(m_records.size());
}

bool ContestLog::isFull() const
{
    return count() >= Capacity;
}

const QsoRecord& ContestLog::record(int number) const
{
    assert(number >= 1 && number <= count());
    return m_records[static_cast<std::size_t>(number - 1)];
}

const std::vector<QsoRecord>& ContestLog::records() const
{
    return m_records;
}

bool ContestLog::append(QsoRecord record)
{
    if (isFull()) {
        return false;
    }
    m_records.push_back(std::move(record));
    return true;
}

void ContestLog::remove(int number)
{
    assert(number >= 1 && number <= count());
    m_records.erase(m_records.begin() + (number - 1));
}

void ContestLog::replace(int number, QsoRecord record)
{
    assert(number >= 1 && number <= count());
    m_records[static_cast<std::size_t>(number - 1)] = std::move(record);
}

void ContestLog::clear()
{
    m_records.clear();
}

} // namespace brindle
