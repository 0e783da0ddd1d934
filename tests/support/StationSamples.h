#pragma once

#include "station/DefaultData.h"

namespace brindle::test {

// The default data of a station in CW on 20 m, with worked sections in green and the rest in red.
inline DefaultData sampleDefaults()
{
    DefaultData d;
    d.ownCall = "DL1ABC";
    d.power = "100";
    d.mode = "CW";
    d.band = "20";
    d.rigName = "None";
    d.workedColour = 0x00C000;
    d.remainingColour = 0x0000FF;
    return d;
}

} // namespace brindle::test
