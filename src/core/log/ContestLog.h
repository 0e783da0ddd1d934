#pragma once

#include "log/QsoRecord.h"

#include <vector>

namespace brindle {

// The log in memory, a copy of the log file. Records are numbered 1 to count() in log order; the number
// is a position, so deleting a record renumbers every later one.
class ContestLog
{
public:
    static constexpr int Capacity = 12000;

    int count() const;
    bool isFull() const;

    const QsoRecord& record(int number) const;
    const std::vector<QsoRecord>& records() const;

    // Adds a record at count() + 1; refuses (returns false, changes nothing) when the log is full.
    bool append(QsoRecord record);
    void remove(int number);
    void replace(int number, QsoRecord record);
    void clear();

    bool operator==(const ContestLog&) const = default;

private:
    std::vector<QsoRecord> m_records;
};

} // namespace brindle
