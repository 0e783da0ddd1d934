#pragma once

#include "support/ByteString.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace brindle::test {

inline std::string littleEndian(std::uint32_t value, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

// A chunk as the file holds it, with the pad byte after an odd size.
inline std::string chunk(std::string_view id, std::string_view body)
{
    std::string out = std::string(id) + littleEndian(static_cast<std::uint32_t>(body.size()), 4) + std::string(body);
    if (body.size() % 2 != 0) {
        out += '\0';
    }
    return out;
}

inline std::string plainFormat(int tag, int channels, std::uint32_t rate, int bits)
{
    const int blockAlign = channels * bits / 8;
    return littleEndian(tag, 2) + littleEndian(channels, 2) + littleEndian(rate, 4) + littleEndian(rate * blockAlign, 4)
        + littleEndian(blockAlign, 2) + littleEndian(bits, 2);
}

inline std::string extensibleFormat(int subFormat, int channels, std::uint32_t rate, int bits)
{
    const std::string guidTail
        = bytes({ 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 });
    return plainFormat(0xFFFE, channels, rate, bits) + littleEndian(22, 2) + littleEndian(bits, 2) + littleEndian(3, 4)
        + littleEndian(subFormat, 2) + guidTail;
}

// The RIFF header around the chunks; its size field right unless one is given.
inline std::string riff(std::string_view chunks, std::optional<std::uint32_t> riffSize = std::nullopt)
{
    return "RIFF" + littleEndian(riffSize.value_or(static_cast<std::uint32_t>(chunks.size() + 4)), 4) + "WAVE"
        + std::string(chunks);
}

inline std::string waveFile(std::string_view format, std::string_view data)
{
    return riff(chunk("fmt ", format) + chunk("data", data));
}

// A 1 kHz tone at half of full scale, at 44100 frames a second, as a wave file of the given encoding
// (format tag 1 PCM or 3 floating point): what a test or benchmark plays and listens for.
inline std::string toneWave(int formatTag, int bitsPerSample, int channels, int milliseconds)
{
    constexpr int Rate = 44100;
    const int frames = Rate * milliseconds / 1000;
    std::string samples;
    for (int frame = 0; frame < frames; ++frame) {
        const double value = 0.5 * std::sin(2 * M_PI * 1000 * frame / Rate);
        std::string sample;
        if (formatTag == 3) {
            const auto single = static_cast<float>(value);
            std::uint32_t raw = 0;
            std::memcpy(&raw, &single, sizeof raw);
            sample = littleEndian(raw, 4);
        } else if (bitsPerSample == 8) {
            // 8-bit samples are unsigned, silence at 128.
            sample = littleEndian(static_cast<std::uint32_t>(std::lround(128 + value * 127)), 1);
        } else {
            const auto full = std::lround(value * static_cast<double>((1LL << (bitsPerSample - 1)) - 1));
            sample = littleEndian(static_cast<std::uint32_t>(full), bitsPerSample / 8);
        }
        for (int channel = 0; channel < channels; ++channel) {
            samples += sample;
        }
    }
    return waveFile(plainFormat(formatTag, channels, Rate, bitsPerSample), samples);
}

} // namespace brindle::test
