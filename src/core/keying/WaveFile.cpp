#include "WaveFile.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace brindle {

namespace {

// The encodings that can be played; the extensible format names one of the others in its sub-format.
enum FormatTag : std::uint32_t
{
    PcmTag = 0x0001,
    FloatTag = 0x0003,
    ExtensibleTag = 0xFFFE,
};

constexpr std::uint32_t MostChannels = 8;
constexpr std::uint32_t HighestSampleRate = 384000;
constexpr std::size_t RiffHeaderSize = 12;
constexpr std::size_t ChunkHeaderSize = 8;
// The plain format chunk holds the tag, the channels, the sample rate, the bytes a second, the bytes a frame
// and the bits a sample (2, 2, 4, 4, 2 and 2 bytes). The extensible one adds its own size, the valid bits,
// the channel mask and the sub-format, whose first two bytes are the plain format's tag. The bytes a second
// and a frame follow from the rest, and are not trusted.
constexpr std::size_t PlainFormatSize = 16;
constexpr std::size_t ExtensibleFormatSize = 40;
constexpr std::size_t SubFormatOffset = 24;

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::uint32_t read16(std::string_view bytes, std::size_t at)
{
    return littleEndian(bytes, at, 2);
}

std::uint32_t read32(std::string_view bytes, std::size_t at)
{
    return littleEndian(bytes, at, 4);
}

Error unsupportedEncoding(std::uint32_t tag)
{
    char text[120];
    std::snprintf(text, sizeof text,
        "unsupported wave encoding 0x%04X (only PCM and floating-point wave files can be played)",
        static_cast<unsigned>(tag));
    return Error { text };
}

// The format as the file stores it; a 24-bit file is still 24 bits here.
struct StoredFormat
{
    WaveFormat format;
    int bytesPerSample = 0;
};

Result<StoredFormat> readFormat(std::string_view chunk)
{
    const Error damaged { "the wave file's format chunk is damaged" };
    if (chunk.size() < PlainFormatSize) {
        return damaged;
    }
    std::uint32_t tag = read16(chunk, 0);
    const std::uint32_t channels = read16(chunk, 2);
    const std::uint32_t sampleRate = read32(chunk, 4);
    const std::uint32_t bits = read16(chunk, 14);
    if (tag == ExtensibleTag) {
        if (chunk.size() < ExtensibleFormatSize) {
            return damaged;
        }
        tag = read16(chunk, SubFormatOffset);
    }

    StoredFormat stored;
    using Encoding = WaveFormat::Encoding;
    if (tag == PcmTag && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) {
        stored.format.encoding = bits == 8 ? Encoding::UnsignedInt8 : bits == 16 ? Encoding::Int16 : Encoding::Int32;
    } else if (tag == FloatTag && bits == 32) {
        stored.format.encoding = Encoding::Float32;
    } else if (tag == PcmTag || tag == FloatTag) {
        return Error { "unsupported sample size of " + std::to_string(bits) + " bits" };
    } else {
        return unsupportedEncoding(tag);
    }
    if (channels < 1 || channels > MostChannels) {
        return Error { "unsupported number of channels (" + std::to_string(channels) + ")" };
    }
    if (sampleRate < 1) {
        return Error { "impossible sample rate (0)" };
    }
    if (sampleRate > HighestSampleRate) {
        return Error { "unsupported sample rate (" + std::to_string(sampleRate) + " per second)" };
    }
    stored.format.channels = static_cast<int>(channels);
    stored.format.sampleRate = static_cast<int>(sampleRate);
    stored.bytesPerSample = static_cast<int>(bits / 8);
    return stored;
}

// The whole frames of the data as the sound card takes them.
std::string playableSamples(const StoredFormat& stored, std::string_view data)
{
    const std::size_t frameSize = static_cast<std::size_t>(stored.bytesPerSample * stored.format.channels);
    data = data.substr(0, data.size() - data.size() % frameSize);
    if (stored.bytesPerSample != 3) {
        return std::string(data);
    }
    // A 24-bit sample shifted into the top of 32 bits keeps its value as a fraction of full scale.
    std::string widened;
    widened.reserve(data.size() / 3 * 4);
    for (std::size_t at = 0; at < data.size(); at += 3) {
        widened += '\0';
        widened += data.substr(at, 3);
    }
    return widened;
}

} // namespace

int WaveFormat::bytesPerFrame() const
{
    const int bytesPerSample = encoding == Encoding::UnsignedInt8 ? 1 : encoding == Encoding::Int16 ? 2 : 4;
    return bytesPerSample * channels;
}

std::int64_t WaveAudio::durationUs() const
{
    const int frameSize = format.bytesPerFrame();
    if (frameSize < 1 || format.sampleRate < 1) {
        return 0;
    }
    const auto frames = static_cast<std::int64_t>(samples.size() / static_cast<std::size_t>(frameSize));
    return frames * 1'000'000 / format.sampleRate;
}

Result<WaveAudio> parseWaveFile(std::string_view bytes)
{
    if (bytes.size() < RiffHeaderSize || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        return Error { "not a wave file (no RIFF WAVE header)" };
    }
    // The RIFF size is not trusted (recorders that are stopped hard leave it wrong): the chunks are
    // walked to the real end of the file instead.
    std::optional<std::string_view> formatChunk;
    std::optional<std::string_view> dataChunk;
    std::size_t at = RiffHeaderSize;
    while (bytes.size() - at >= ChunkHeaderSize && !(formatChunk && dataChunk)) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint32_t size = read32(bytes, at + 4);
        at += ChunkHeaderSize;
        // A chunk cut short by the end of the file holds what is there, and is the last.
        const std::string_view body = bytes.substr(at, std::min<std::size_t>(size, bytes.size() - at));
        if (id == "fmt " && !formatChunk) {
            formatChunk = body;
        } else if (id == "data" && !dataChunk) {
            dataChunk = body;
        }
        at += body.size();
        // Chunks start at even offsets: an odd-sized one is followed by a pad byte.
        if (size % 2 != 0 && at < bytes.size()) {
            ++at;
        }
    }
    if (!formatChunk) {
        return Error { "the wave file has no format chunk" };
    }
    Result<StoredFormat> stored = readFormat(*formatChunk);
    if (!stored) {
        return stored.error();
    }
    WaveAudio audio { stored.value().format, playableSamples(stored.value(), dataChunk.value_or("")) };
    if (audio.samples.empty()) {
        return Error { "the wave file has no sound data" };
    }
    return audio;
}

} // namespace brindle
