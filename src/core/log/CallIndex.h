#pragma once

#include "ContestLog.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace brindle {

// The log's contacts in the order of their calls, ASCII letters compared without regard to case, and
// in log order within one call. Every contact with a station, or every call beginning with some
// letters, is then a short range found by halving instead of a pass over the whole log.
//
// The index keeps no text of its own: each contact is a record number with the first eight characters
// of its call, upper-cased, packed into one number, and anything longer is read from the log itself.
// So it answers only for the log it was built from, in the state it was built or last added to.
class CallIndex
{
public:
    CallIndex() = default;
    explicit CallIndex(const ContestLog& log);

    // Indexes the whole log afresh.
    void rebuild(const ContestLog& log);
    // Takes in the log's newest record, appended since the index last saw it.
    void addNewest(const ContestLog& log);

    int count() const;

    // The numbers of the records whose call equals call but for the case of ASCII letters, ascending.
    std::vector<int> contactsWith(const ContestLog& log, std::string_view call) const;

    // The lowest record numbers above after, ascending and at most limit of them, of the records whose
    // call begins with start and whose band equals band, both but for the case of ASCII letters.
    std::vector<int> firstBeginningWith(
        const ContestLog& log, std::string_view start, std::string_view band, std::size_t limit, int after) const;

    // The memory the index holds, for the benchmarks' figures.
    std::size_t bytesHeld() const;

private:
    struct Entry
    {
        std::uint64_t head; // the call's first eight characters, upper-cased, the first in the top byte
        std::uint32_t record; // record number
        std::uint8_t band; // the position of the band code, or OtherBand
        std::uint8_t length; // the call's length, 255 for any longer
    };
    static constexpr std::uint8_t OtherBand = 0xff;

    static Entry entryFor(const QsoRecord& record, int number);
    // Below zero, zero or above zero as the entry's call sorts before, with or after call, whose head and
    // length are given.
    static int compareCall(
        const ContestLog& log, const Entry& entry, std::uint64_t head, std::size_t length, std::string_view call);

    std::vector<Entry> m_entries;
};

} // namespace brindle
