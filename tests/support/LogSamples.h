#pragma once

#include "log/Bands.h"
#include "log/ContestLog.h"
#include "log/QsoRecord.h"
#include "log/SectionTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace brindle::test {

// A contact as the logging step writes it, varied by n so that a log of any size has distinct calls,
// every section and every band, and some empty frequencies.
inline QsoRecord sampleRecord(int n)
{
    static const char* const prefixes[] = { "K", "W", "N", "AA", "KB", "WA", "VE", "VA" };
    const std::string_view prefix = prefixes[n % 8];
    std::string suffix;
    for (int rest = n / 10, letters = 0; letters < 3; ++letters, rest /= 26) {
        suffix += static_cast<char>('A' + rest % 26);
    }
    QsoRecord record;
    record.call = std::string(prefix) + std::to_string(n % 10) + suffix;
    record.rstRcvd = "599";
    const bool canadian = prefix[0] == 'V';
    record.section = std::string(SectionTable::at(canadian ? 50 + n % 14 : 1 + n % 49).abbreviation);
    record.rstSent = "599";
    record.country = canadian ? "Canada" : "United States";
    // Fourteen seconds apart: 12,000 contacts fill the 48 hours of the contest in time order.
    const int secondOfContest = (n * 14) % (48 * 3600);
    record.qsoDate = secondOfContest < 24 * 3600 ? "2026/02/21" : "2026/02/22";
    const int secondOfDay = secondOfContest % (24 * 3600);
    const auto two
        = [](int v) { return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10); };
    record.qsoTime = two(secondOfDay / 3600) + ":" + two(secondOfDay / 60 % 60) + ":" + two(secondOfDay % 60);
    static const char* const frequencies[] = { "1.8305", "3.5251", "7.0143", "14.0257", "21.0318", "28.0224" };
    const std::size_t band = static_cast<std::size_t>(n / 7) % BandCount;
    record.band = std::string(BandCodes[band]);
    record.frequency = n % 4 == 0 ? "" : frequencies[band];
    return record;
}

inline ContestLog sampleLog(int count)
{
    ContestLog log;
    for (int n = 0; n < count; ++n) {
        log.append(sampleRecord(n));
    }
    return log;
}

// The same contacts all on one band: nothing can be skipped by band, the worst case for the searches.
inline ContestLog sampleLogOnOneBand(int count, std::string_view band)
{
    ContestLog log;
    for (int n = 0; n < count; ++n) {
        QsoRecord record = sampleRecord(n);
        record.band = band;
        log.append(std::move(record));
    }
    return log;
}

inline ContestLog logOf(const std::vector<QsoRecord>& records)
{
    ContestLog log;
    for (const QsoRecord& record : records) {
        log.append(record);
    }
    return log;
}

} // namespace brindle::test
