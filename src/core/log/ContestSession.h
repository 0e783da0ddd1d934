#pragma once

#include "common/FileSystem.h"
#include "keying/KeyingState.h"
#include "log/OperatingState.h"
#include "log/WorkingLog.h"
#include "station/CountryTable.h"
#include "station/DefaultData.h"

#include <string>

namespace brindle {

// The state the main window's parts share for the whole run: the log, the station and preferences
// of the default data, the running values, the country table and what the keys know of the keyers.
struct ContestSession
{
    ContestSession(FileSystem& fs, std::string logPath);

    WorkingLog log;
    DefaultData defaults;
    OperatingState state;
    CountryTable countries;
    KeyingState keying;

    // The default data as it is to be saved: the running band, operating time and list-previous flag
    // folded in, since those change while the program runs.
    DefaultData settingsToSave() const;
    // Takes freshly loaded default data, and the running values that start from it.
    void adoptSettings(DefaultData loaded);
};

} // namespace brindle
