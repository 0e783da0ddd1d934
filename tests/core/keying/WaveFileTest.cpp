#include "keying/WaveFile.h"

#include "support/ByteString.h"
#include "support/WaveBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace brindle {
namespace {

using test::bytes;
using test::chunk;
using test::extensibleFormat;
using test::littleEndian;
using test::plainFormat;
using test::riff;
using test::waveFile;
using namespace std::string_literals;
using Encoding = WaveFormat::Encoding;

constexpr int Pcm = 1;
constexpr int Float = 3;

TEST(WaveFile, ReadsEachPlayableEncoding)
{
    const struct
    {
        const char* name;
        std::string format;
        std::string data;
        WaveFormat read;
        std::string samples;
        std::int64_t durationUs;
    } cases[] = {
        { "8-bit mono", plainFormat(Pcm, 1, 8000, 8), bytes({ 0x80, 0x81, 0x7F, 0x00 }),
            { Encoding::UnsignedInt8, 8000, 1 }, bytes({ 0x80, 0x81, 0x7F, 0x00 }), 500 },
        { "16-bit stereo", plainFormat(Pcm, 2, 1000, 16), "abcdefgh", { Encoding::Int16, 1000, 2 }, "abcdefgh", 2000 },
        { "24-bit mono widened to 32", plainFormat(Pcm, 1, 1000, 24), bytes({ 0x01, 0x02, 0x03, 0xFF, 0xFE, 0xFD }),
            { Encoding::Int32, 1000, 1 }, bytes({ 0x00, 0x01, 0x02, 0x03, 0x00, 0xFF, 0xFE, 0xFD }), 2000 },
        { "32-bit stereo", plainFormat(Pcm, 2, 50000, 32), "abcdefgh", { Encoding::Int32, 50000, 2 }, "abcdefgh", 20 },
        { "float mono", plainFormat(Float, 1, 1000, 32), bytes({ 0, 0, 0, 0x3F }), { Encoding::Float32, 1000, 1 },
            bytes({ 0, 0, 0, 0x3F }), 1000 },
        { "extensible 24-bit stereo", extensibleFormat(Pcm, 2, 1000, 24), "abcdef", { Encoding::Int32, 1000, 2 },
            std::string("\0abc\0def", 8), 1000 },
        { "extensible float", extensibleFormat(Float, 1, 2000, 32), "abcdefgh", { Encoding::Float32, 2000, 1 },
            "abcdefgh", 1000 },
        { "8 channels", plainFormat(Pcm, 8, 1000, 8), "abcdefgh", { Encoding::UnsignedInt8, 1000, 8 }, "abcdefgh",
            1000 },
        { "highest rate", plainFormat(Pcm, 1, 384000, 16), "abcdefgh", { Encoding::Int16, 384000, 1 }, "abcdefgh", 10 },
    };
    for (const auto& c : cases) {
        const Result<WaveAudio> audio = parseWaveFile(waveFile(c.format, c.data));
        ASSERT_TRUE(audio) << c.name << ": " << audio.error().description;
        EXPECT_EQ(audio.value().format, c.read) << c.name;
        EXPECT_EQ(audio.value().samples, c.samples) << c.name;
        EXPECT_EQ(audio.value().durationUs(), c.durationUs) << c.name;
    }
}

TEST(WaveFile, OtherChunksAndTheRiffSizeDoNotMatter)
{
    const std::string format = chunk("fmt ", plainFormat(Pcm, 1, 8000, 8));
    const std::string data = chunk("data", "\x01\x02\x03"); // odd: a pad byte follows
    const std::string dataWithoutPad = data.substr(0, data.size() - 1);
    const struct
    {
        const char* name;
        std::string file;
    } cases[] = {
        { "chunks of odd size around",
            riff(chunk("LIST", "abc") + format + chunk("fact", "x") + data + chunk("cue ", "abcd")) },
        { "data before the format", riff(data + chunk("bext", "odd") + format) },
        { "the last pad byte missing", riff(format + dataWithoutPad) },
        { "RIFF size 0", riff(format + data, 0) },
        { "RIFF size past the end", riff(format + data, 0xFFFFFFFF) },
        { "a second data chunk", riff(format + data + chunk("data", "more")) },
    };
    for (const auto& c : cases) {
        const Result<WaveAudio> audio = parseWaveFile(c.file);
        ASSERT_TRUE(audio) << c.name << ": " << audio.error().description;
        EXPECT_EQ(audio.value().samples, "\x01\x02\x03") << c.name;
        EXPECT_EQ(audio.value().format, (WaveFormat { Encoding::UnsignedInt8, 8000, 1 })) << c.name;
    }
}

TEST(WaveFile, ARecordingCutShortPlaysItsWholeFrames)
{
    // The data chunk claims 1000 bytes; 2 frames and half of one are there.
    const std::string stereo16 = chunk("fmt ", plainFormat(Pcm, 2, 1000, 16)) + "data" + littleEndian(1000, 4);
    Result<WaveAudio> audio = parseWaveFile(riff(stereo16 + "abcdefghij"));
    ASSERT_TRUE(audio) << audio.error().description;
    EXPECT_EQ(audio.value().samples, "abcdefgh");

    const std::string mono24 = chunk("fmt ", plainFormat(Pcm, 1, 1000, 24)) + "data" + littleEndian(1000, 4);
    audio = parseWaveFile(riff(mono24 + "abcdefg"));
    ASSERT_TRUE(audio) << audio.error().description;
    EXPECT_EQ(audio.value().samples, std::string("\0abc\0def", 8));

    // A complete chunk that ends in part of a frame.
    audio = parseWaveFile(waveFile(plainFormat(Pcm, 2, 1000, 16), "abcdefg"));
    ASSERT_TRUE(audio) << audio.error().description;
    EXPECT_EQ(audio.value().samples, "abcd");
}

TEST(WaveFile, AFileThatCannotBePlayedSaysWhy)
{
    const std::string format = chunk("fmt ", plainFormat(Pcm, 1, 8000, 16));
    const std::string noWave = "not a wave file (no RIFF WAVE header)";
    const std::string noFormat = "the wave file has no format chunk";
    const std::string noData = "the wave file has no sound data";
    const std::string damagedFormat = "the wave file's format chunk is damaged";
    const struct
    {
        const char* name;
        std::string file;
        std::string error;
    } cases[] = {
        { "empty", "", noWave },
        { "header cut short", "RIFF\x04\0\0\0WAV"s, noWave },
        { "another RIFF type", "RIFF\x04\0\0\0AVI "s, noWave },
        { "no chunks", riff(""), noFormat },
        { "data only", riff(chunk("data", "abcd")), noFormat },
        { "format cut short", riff("fmt " + littleEndian(16, 4) + "\x01\x00\x01\x00"s), damagedFormat },
        { "format too small", riff(chunk("fmt ", plainFormat(Pcm, 1, 8000, 16).substr(0, 14)) + chunk("data", "ab")),
            damagedFormat },
        { "extensible format too small", waveFile(plainFormat(0xFFFE, 1, 8000, 16) + littleEndian(0, 2), "ab"),
            damagedFormat },
        { "no data", riff(format), noData },
        { "empty data", riff(format + chunk("data", "")), noData },
        { "less than a frame", riff(format + chunk("data", "a")), noData },
        { "ADPCM", waveFile(plainFormat(0x0002, 1, 8000, 4), "ab"),
            "unsupported wave encoding 0x0002 (only PCM and floating-point wave files can be played)" },
        { "extensible MP3", waveFile(extensibleFormat(0x0055, 1, 8000, 16), "ab"),
            "unsupported wave encoding 0x0055 (only PCM and floating-point wave files can be played)" },
        { "12-bit PCM", waveFile(plainFormat(Pcm, 1, 8000, 12), "ab"), "unsupported sample size of 12 bits" },
        { "64-bit float", waveFile(plainFormat(Float, 1, 8000, 64), "abcdefgh"), "unsupported sample size of 64 bits" },
        { "16-bit float", waveFile(plainFormat(Float, 1, 8000, 16), "ab"), "unsupported sample size of 16 bits" },
        { "no channels", waveFile(plainFormat(Pcm, 0, 8000, 16), "ab"), "unsupported number of channels (0)" },
        { "9 channels", waveFile(plainFormat(Pcm, 9, 8000, 8), "abcdefghi"), "unsupported number of channels (9)" },
        { "rate 0", waveFile(plainFormat(Pcm, 1, 0, 16), "ab"), "impossible sample rate (0)" },
        { "rate too high", waveFile(plainFormat(Pcm, 1, 384001, 16), "ab"),
            "unsupported sample rate (384001 per second)" },
    };
    for (const auto& c : cases) {
        const Result<WaveAudio> audio = parseWaveFile(c.file);
        ASSERT_FALSE(audio) << c.name;
        EXPECT_EQ(audio.error().description, c.error) << c.name;
    }
}

} // namespace
} // namespace brindle
