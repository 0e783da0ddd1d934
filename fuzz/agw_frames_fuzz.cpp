// Whatever arrives on the AGW Packet Engine's port (the engine, another service, a stream cut anywhere):
// frames come out whole and bounded, what the reader keeps stays bounded, the spotting logic takes any
// frame, and what it sends back is always one well-formed request.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "spots/AgwFrame.h"
#include "spots/AgwSession.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using brindle::fuzz::require;

constexpr std::size_t MonitorLimit = 10000;
constexpr std::size_t MonitorKept = 9000;

void requireOneRequest(const std::string& request)
{
    brindle::AgwFrameReader reader;
    const brindle::AgwFrameReader::Result read = reader.take(request);
    require(!read.broken && read.frames.size() == 1 && reader.bytesKept() == 0);
    const char kind = read.frames[0].kind;
    require(kind == 'C' || kind == 'd' || kind == 'D');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    brindle::AgwFrameReader reader;
    brindle::AgwSession session;
    session.setOwnCall(input.ConsumeRandomLengthString(16));
    std::string monitor;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0: {
            const brindle::AgwFrameReader::Result read = reader.take(input.ConsumeRandomLengthString(4096));
            require(reader.bytesKept() < brindle::AgwHeaderSize + brindle::AgwMaxDataLength);
            require(!read.broken || reader.bytesKept() == 0);
            for (const brindle::AgwFrame& frame : read.frames) {
                require(frame.data.size() <= brindle::AgwMaxDataLength);
                require(frame.callFrom.size() <= 10 && frame.callFrom.find('\0') == std::string::npos);
                if (frame.callFrom.size() < 10 && frame.callTo.size() < 10) {
                    brindle::AgwFrameReader again;
                    const brindle::AgwFrameReader::Result back = again.take(brindle::encodeAgwFrame(frame));
                    require(back.frames.size() == 1 && back.frames[0] == frame);
                }
                const brindle::AgwFrameOutcome outcome = session.take(frame, monitor, input.ConsumeBool());
                // A spot begins with DX, and a frame that gives one shows something. (Which text holds it
                // depends on the frames before: a connected station's line may begin in an earlier one.)
                for (const std::string& spot : outcome.spotLines) {
                    require(!outcome.monitorTexts.empty());
                    require(brindle::findIgnoreCase(spot, "DX") <= 1);
                }
                require(outcome.beeps >= 0 && outcome.beeps <= 2);
                for (const std::string& text : outcome.monitorTexts) {
                    monitor += text;
                    if (monitor.size() > MonitorLimit) {
                        monitor.erase(0, monitor.size() - MonitorKept);
                    }
                }
            }
            break;
        }
        case 1: {
            const std::string line = input.ConsumeRandomLengthString(256);
            for (const std::string& request : session.send(line).requests) {
                requireOneRequest(request);
            }
            if (const std::optional<std::string> due = brindle::agwLineDueAtBlank(line)) {
                require(due->size() + 1 == line.size());
            }
            break;
        }
        case 2:
            if (const std::optional<std::string> request = session.leaveStation()) {
                requireOneRequest(*request);
            }
            require(session.connectedStation().empty());
            break;
        default:
            reader.reset();
            break;
        }
    }
    return 0;
}
