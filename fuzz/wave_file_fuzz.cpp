// A wave file as it may come from any recorder, or damaged: reading it never runs past the bytes, and what
// it gives the sound card is always whole frames of a format the card takes.
#include "FuzzSupport.h"

#include "keying/WaveFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brindle;
    const Result<WaveAudio> audio = parseWaveFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!audio) {
        fuzz::require(!audio.error().description.empty());
        return 0;
    }
    const WaveFormat& format = audio.value().format;
    fuzz::require(format.channels >= 1 && format.channels <= 8);
    fuzz::require(format.sampleRate >= 1 && format.sampleRate <= 384000);
    const std::string& samples = audio.value().samples;
    fuzz::require(!samples.empty() && samples.size() % static_cast<std::size_t>(format.bytesPerFrame()) == 0);
    // Only 24-bit samples grow, by a third.
    fuzz::require(samples.size() <= size / 3 * 4);
    fuzz::require(audio.value().durationUs() >= 0);
    return 0;
}
