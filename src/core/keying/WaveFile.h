#pragma once

#include "common/Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace brindle {

// How the samples of a wave file reach the sound card: the encodings the sound card interface takes,
// interleaved and little-endian.
struct WaveFormat
{
    enum class Encoding
    {
        UnsignedInt8,
        Int16,
        Int32,
        Float32,
    };
    Encoding encoding = Encoding::Int16;
    int sampleRate = 0; // frames per second
    int channels = 0;

    int bytesPerFrame() const;
    bool operator==(const WaveFormat&) const = default;
};

struct WaveAudio
{
    WaveFormat format;
    std::string samples; // whole frames only, interleaved, little-endian, in `format`

    // Playing time in microseconds.
    std::int64_t durationUs() const;
};

// A RIFF WAVE file's sound, ready for the sound card: PCM of 8, 16, 24 or 32 bits (24 bits widened to 32,
// which the sound card interface has instead) or 32-bit floating point, plain or in the extensible
// format, 1 to 8 channels. Chunks other than the format and the data are passed over, a RIFF size that
// disagrees with the file is ignored, and a recording cut short plays as far as it goes. The Error says
// what is wrong with a file that cannot be played, in words the operator can act on.
Result<WaveAudio> parseWaveFile(std::string_view bytes);

} // namespace brindle
