#pragma once

#include "common/Clock.h"

#include <string>

namespace brindle {

// Values of the running program that more than one window reads or sets.
struct OperatingState
{
    std::string currentBand; // the band of the next contact
    std::string rigFrequencyText; // last frequency the rig reported, MHz; empty when none

    bool timeOn = false; // the operating clock runs
    DateTime onPeriodStart; // local time the clock was last started
    float accumulatedOnSeconds = 0; // finished on-periods
    float totalOnSeconds = 0; // accumulated plus the running period

    std::string currentCall; // copy of the call field
    std::string currentRstSent; // copy of the sent-report field

    bool partialDupesOn = true;
    bool listAllContacts = false;
    bool listPreviousContacts = false;
    bool postContestMode = false;
};

} // namespace brindle
