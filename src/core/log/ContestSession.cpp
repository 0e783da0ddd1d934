#include "ContestSession.h"

#include <utility>

namespace brindle {

ContestSession::ContestSession(FileSystem& fs, std::string logPath)
    : log(fs, std::move(logPath))
{
}

DefaultData ContestSession::settingsToSave() const
{
    DefaultData current = defaults;
    current.band = state.currentBand;
    current.totalOnSeconds = state.accumulatedOnSeconds;
    current.listPreviousContacts = state.listPreviousContacts ? 1 : 0;
    return current;
}

void ContestSession::adoptSettings(DefaultData loaded)
{
    defaults = std::move(loaded);
    state.currentBand = defaults.band;
    state.accumulatedOnSeconds = defaults.totalOnSeconds;
    state.listPreviousContacts = defaults.listPreviousContacts == 1;
}

} // namespace brindle
