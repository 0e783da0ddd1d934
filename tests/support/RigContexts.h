#pragma once

#include "rig/RigCommands.h"
#include "rig/RigProfile.h"

#include <cctype>
#include <optional>
#include <string>
#include <string_view>

namespace brindle::test {

// The rig window's values as choosing the rig in its list sets them; none for a name on no list.
inline RigCommandContext profileContext(std::string_view rig)
{
    const RigProfile* profile = findRigProfile(rig);
    return profile ? RigCommandContext { profile->frequencyPoll, profile->modePoll, std::nullopt }
                   : RigCommandContext {};
}

// A rig name as a hand-edited settings file may hold it, beside toUpperAscii's.
inline std::string lowerCaseAscii(std::string_view text)
{
    std::string lower;
    for (const char c : text) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

} // namespace brindle::test
