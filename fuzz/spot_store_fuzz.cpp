// Whatever lines a cluster node or line noise hands over as spots: each is taken apart by its columns,
// stored when its frequency is a number, and listed. The store keeps slot 49 as the newest spot, at most one
// spot of a call with a frequency among slots 1 to 49, every label its call's, and no frequency that is
// negative or not finite; the country lookup never reads outside its table.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "spots/MapLabel.h"
#include "spots/SpotCountry.h"
#include "spots/SpotLine.h"
#include "spots/SpotStore.h"
#include "station/CountryTable.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using brindle::fuzz::require;

brindle::CountryTable smallTable()
{
    std::vector<brindle::CountryInfo> records;
    for (const char* prefix : { "3A", "DL", "JA", "K", "KG4", "KH6", "VE", "VP9", "W" }) {
        brindle::CountryInfo record;
        record.prefix = prefix;
        record.country = std::string("country of ") + prefix;
        records.push_back(record);
    }
    return brindle::CountryTable(std::move(records));
}

const brindle::CountryTable Countries = smallTable();

void checkStore(const brindle::SpotStore& store)
{
    using brindle::SpotStore;
    for (int i = 0; i < SpotStore::SlotCount; ++i) {
        const brindle::SpotRecord& record = store.slot(i);
        require(record.mapLabel == brindle::mapLabelOf(record.call));
        require(std::isfinite(record.freqMHz) && record.freqMHz >= 0);
        if (i < 1 || record.freqMHz == 0) {
            continue;
        }
        for (int j = i + 1; j < SpotStore::SlotCount; ++j) {
            require(store.slot(j).freqMHz == 0 || !brindle::equalsIgnoreCase(store.slot(j).call, record.call));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brindle;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    SpotStore store;
    int minute = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
        text.remove_prefix(line.size());

        const std::optional<ParsedSpot> spot = parseSpotLine(line);
        if (!spot) {
            require(line.size() < 3);
            continue;
        }
        // Read by the columns (of the line's first line) or by the fields (of the record), the call and the
        // frequency are pieces of one of them.
        const std::string_view firstLine = line.substr(0, line.find_first_of("\r\n"));
        const auto within = [&](const std::string& piece) {
            return firstLine.find(piece) != std::string_view::npos || spot->recordText.find(piece) != std::string::npos;
        };
        require(within(spot->call) && within(spot->freqKHzText));
        require(spot->recordText.find_first_of("\r\n") == std::string::npos);
        require(isOwnCallSpotted(spot->call, "") == false);
        require(isOwnCallSpotted(spot->call, spot->call) == !spot->call.empty());
        static_cast<void>(lookupSpotCountry(spot->recordText, Countries));

        const std::optional<float> mhz = spotFrequencyMHz(spot->freqKHzText);
        if (!mhz) {
            continue;
        }
        const DateTime at { 2026, 11, 28, 12, minute % 60, 0 };
        ++minute;
        store.add(spot->call, *mhz, at);
        const SpotRecord& newest = store.slot(SpotStore::NewestSlot);
        require(newest.call == spot->call && newest.freqMHz == *mhz && newest.receivedAt == at);
        checkStore(store);

        const SpotListRow row = spotListRow(spot->call, *mhz, spot->recordText, Countries);
        require(row.call == spot->call && row.status.empty() && row.time.size() <= 4);
        float listed = -1;
        const auto [listedEnd, listedError]
            = std::from_chars(row.frequency.data(), row.frequency.data() + row.frequency.size(), listed);
        require(
            listedError == std::errc() && listedEnd == row.frequency.data() + row.frequency.size() && listed == *mhz);

        // A click on a map label now and then, chosen by the line itself.
        if (line.size() % 7 == 0) {
            store.withdraw(static_cast<int>(line.size() % 53) - 1);
            checkStore(store);
        }
    }
    return 0;
}
