#include "CallIndex.h"

#include "Bands.h"
#include "common/Text.h"

#include <algorithm>
#include <cassert>

namespace brindle {

namespace {

constexpr std::size_t HeadLength = 8;

// The same folding as equalsIgnoreCase: only ASCII letters change, so the index can never find a call
// the comparison would not, nor miss one it would.
unsigned char upperAscii(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// Packed with the first character in the top byte and zeros after a short call, so that comparing two
// heads as numbers orders the calls as their characters do, short of a tie.
std::uint64_t headOf(std::string_view call)
{
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < HeadLength; ++i) {
        head = (head << 8) | (i < call.size() ? upperAscii(call[i]) : 0u);
    }
    return head;
}

std::uint8_t lengthOf(std::string_view call)
{
    return static_cast<std::uint8_t>(std::min<std::size_t>(call.size(), 255));
}

// Character by character, upper-cased, a shorter call before every longer one it begins.
int compareFolded(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = upperAscii(a[i]);
        const unsigned char y = upperAscii(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

std::uint8_t bandSlot(std::string_view band, std::uint8_t other)
{
    const auto index = bandIndex(band);
    return index ? static_cast<std::uint8_t>(*index) : other;
}

} // namespace

CallIndex::CallIndex(const ContestLog& log)
{
    rebuild(log);
}

CallIndex::Entry CallIndex::entryFor(const QsoRecord& record, int number)
{
    return Entry { headOf(record.call), static_cast<std::uint32_t>(number), bandSlot(record.band, OtherBand),
        lengthOf(record.call) };
}

// The order of the entry's call against another call. Equal heads of calls no longer than a head
// differ only by trailing zero characters, so their lengths settle it; only longer calls are read.
int CallIndex::compareCall(
    const ContestLog& log, const Entry& entry, std::uint64_t head, std::size_t length, std::string_view call)
{
    if (entry.head != head) {
        return entry.head < head ? -1 : 1;
    }
    if (entry.length <= HeadLength && length <= HeadLength) {
        if (entry.length == length) {
            return 0;
        }
        return entry.length < length ? -1 : 1;
    }
    return compareFolded(log.record(static_cast<int>(entry.record)).call, call);
}

void CallIndex::rebuild(const ContestLog& log)
{
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(log.count()));
    for (int number = 1; number <= log.count(); ++number) {
        entries.push_back(entryFor(log.record(number), number));
    }
    // Heads and short lengths settle nearly every pair without reading the log.
    std::sort(entries.begin(), entries.end(), [&log](const Entry& a, const Entry& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        if (a.length > HeadLength || b.length > HeadLength) {
            const int order = compareFolded(
                log.record(static_cast<int>(a.record)).call, log.record(static_cast<int>(b.record)).call);
            if (order != 0) {
                return order < 0;
            }
        } else if (a.length != b.length) {
            return a.length < b.length;
        }
        return a.record < b.record;
    });
    m_entries = std::move(entries);
}

void CallIndex::addNewest(const ContestLog& log)
{
    assert(count() + 1 == log.count());
    const int number = log.count();
    const Entry entry = entryFor(log.record(number), number);
    const std::string& call = log.record(number).call;
    // After every equal call: those are all earlier records.
    const auto at = std::partition_point(m_entries.begin(), m_entries.end(),
        [&](const Entry& e) { return compareCall(log, e, entry.head, call.size(), call) <= 0; });
    m_entries.insert(at, entry);
}

int CallIndex::count() const
{
    return static_cast<int>(m_entries.size());
}

std::vector<int> CallIndex::contactsWith(const ContestLog& log, std::string_view call) const
{
    const std::uint64_t head = headOf(call);
    auto at = std::partition_point(m_entries.begin(), m_entries.end(),
        [&](const Entry& e) { return compareCall(log, e, head, call.size(), call) < 0; });
    std::vector<int> numbers;
    for (; at != m_entries.end() && compareCall(log, *at, head, call.size(), call) == 0; ++at) {
        numbers.push_back(static_cast<int>(at->record));
    }
    return numbers;
}

std::vector<int> CallIndex::firstBeginningWith(
    const ContestLog& log, std::string_view start, std::string_view band, std::size_t limit, int after) const
{
    std::vector<int> heap;
    if (limit == 0) {
        return heap;
    }
    const std::uint64_t startHead = headOf(start);
    // The characters of start within a head; a longer start is checked against the log's own text.
    const std::size_t shown = std::min(start.size(), HeadLength);
    const std::uint64_t mask = shown == 0 ? 0 : ~std::uint64_t { 0 } << (8 * (HeadLength - shown));
    const auto beginsWithStart = [&](const Entry& e) {
        if ((e.head & mask) != (startHead & mask) || e.length < shown) {
            return false;
        }
        return start.size() <= HeadLength || startsWithIgnoreCase(log.record(static_cast<int>(e.record)).call, start);
    };
    const std::uint8_t slot = bandSlot(band, OtherBand);
    const auto onBand = [&](const Entry& e) {
        if (slot != OtherBand) {
            return e.band == slot;
        }
        return e.band == OtherBand && equalsIgnoreCase(log.record(static_cast<int>(e.record)).band, band);
    };

    // Every call beginning with start sorts at or after it, and before any later call that does not.
    auto at = std::partition_point(m_entries.begin(), m_entries.end(),
        [&](const Entry& e) { return compareCall(log, e, startHead, start.size(), start) < 0; });
    // The range is in call order: a heap keeps the lowest numbers met so far, its top the highest of them.
    for (; at != m_entries.end() && beginsWithStart(*at); ++at) {
        const int number = static_cast<int>(at->record);
        if (number <= after || !onBand(*at)) {
            continue;
        }
        if (heap.size() < limit) {
            heap.push_back(number);
            std::push_heap(heap.begin(), heap.end());
        } else if (number < heap.front()) {
            std::pop_heap(heap.begin(), heap.end());
            heap.back() = number;
            std::push_heap(heap.begin(), heap.end());
        }
    }
    std::sort_heap(heap.begin(), heap.end());
    return heap;
}

std::size_t CallIndex::bytesHeld() const
{
    return m_entries.capacity() * sizeof(Entry);
}

} // namespace brindle
