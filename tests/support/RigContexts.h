#pragma once

#include "rig/RigCommands.h"
#include "rig/RigProfile.h"

#include <optional>
#include <string_view>

namespace brindle::test {

// The rig window's values as choosing the rig in its list sets them; none for a name on no list.
inline RigCommandContext profileContext(std::string_view rig)
{
    const RigProfile* profile = findRigProfile(rig);
    return profile ? RigCommandContext { profile->frequencyPoll, profile->modePoll, std::nullopt }
                   : RigCommandContext {};
}

} // namespace brindle::test
