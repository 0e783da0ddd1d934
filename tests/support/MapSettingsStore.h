#pragma once

#include "station/SettingsStore.h"

#include <map>
#include <string>
#include <string_view>

namespace brindle::test {

// The settings store as a map: each test starts from its own values, and ctest running tests side by
// side cannot see one another's keys.
class MapSettingsStore : public SettingsStore
{
public:
    std::string get(std::string_view key, std::string_view fallback) const override
    {
        const auto found = values.find(std::string(key));
        return found == values.end() ? std::string(fallback) : found->second;
    }
    void save(std::string_view key, std::string_view value) override
    {
        values[std::string(key)] = value;
    }

    std::map<std::string, std::string> values;
};

} // namespace brindle::test
