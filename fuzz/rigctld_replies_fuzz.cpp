// Whatever comes back from the network where rigctld should be (another service on its port, a
// daemon of another version, a connection cut mid-line): polls and replies in any order never grow what
// is kept, and what is read is a real frequency.
#include "FuzzSupport.h"

#include "rig/Rigctld.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using brindle::fuzz::require;
    FuzzedDataProvider input(data, size);
    brindle::RigctldProtocol rig;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0: {
            const std::string request = rig.pollRequest();
            require(request.empty() || request == "f\nm\n");
            break;
        }
        case 1: {
            const brindle::RigctldProtocol::Reading reading = rig.take(input.ConsumeRandomLengthString(512));
            require(!reading.freqMHz || (std::isfinite(*reading.freqMHz) && *reading.freqMHz >= 0));
            require(!reading.mode || (!reading.mode->empty() && reading.mode->size() <= 256));
            require(!reading.error || *reading.error < 0);
            if (reading.mode) {
                (void)brindle::rigctldModeText(*reading.mode);
            }
            break;
        }
        case 2:
            rig.reset();
            break;
        default:
            (void)brindle::parseRigctldAddress(input.ConsumeRandomLengthString(64));
            break;
        }
        require(rig.repliesDue() <= 3);
    }
    return 0;
}
