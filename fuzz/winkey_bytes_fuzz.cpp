// Whatever a keyer, a wrong device or line noise sends while the keyer is opened and used: the opening
// ends within its timeouts, the status stays a status, and nothing the keyer sends grows without end.
#include "FuzzSupport.h"

#include "keying/WinKeyProtocol.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using brindle::fuzz::require;
    FuzzedDataProvider input(data, size);
    brindle::WinKeyProtocol keyer;
    std::int64_t now = 0;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 5)) {
        case 0:
            keyer.beginOpen(now);
            break;
        case 1:
            keyer.receive(input.ConsumeRandomLengthString(64), now);
            break;
        case 2:
            now += input.ConsumeIntegralInRange<std::int64_t>(0, 2 * brindle::WinKeyProtocol::AnswerTimeoutMs);
            keyer.tick(now);
            break;
        case 3:
            keyer.sendCharacter(input.ConsumeIntegral<char>());
            keyer.setSpeed(input.ConsumeIntegral<std::uint8_t>());
            break;
        case 4:
            keyer.close();
            break;
        default:
            (void)keyer.takeOutput();
            require(keyer.takeEchoes().size() <= 4096);
            break;
        }
        require(keyer.status() >= 0 && keyer.status() <= 0x1F);
        require(keyer.isOpen() || keyer.version() == 0);
        require(!(keyer.isOpen() && keyer.isOpening()));
    }
    // However it went, time ends an opening.
    keyer.tick(now + brindle::WinKeyProtocol::AnswerTimeoutMs);
    require(!keyer.isOpening());
    return 0;
}
