#pragma once

#include "station/SettingsStore.h"

namespace brindle {

// The settings store on QSettings: organisation and application "KORVA_Software", group "Settings",
// so every program of the maker reads the same values. On Linux the file is
// $XDG_CONFIG_HOME/KORVA_Software/KORVA_Software.conf.
class QtSettingsStore : public SettingsStore
{
public:
    std::string get(std::string_view key, std::string_view fallback) const override;
    void save(std::string_view key, std::string_view value) override;
};

} // namespace brindle
