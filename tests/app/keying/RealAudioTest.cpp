// The wave player and the speech synthesiser on a real sound server: what they play must arrive at
// the sound card's output whole, and the player must say when it has. Each test runs in a process of
// its own (as CTest runs them): the sound server a process first reaches is the one it keeps.

#include "keying/FlitePromptSpeaker.h"
#include "keying/QtWavePlayer.h"

#include "support/PulseNullSink.h"
#include "support/WaveBytes.h"
#include "support/TempFolder.h"

#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

namespace brindle::test {
namespace {

struct ToneFile
{
    const char* name;
    int formatTag; // 1 PCM, 3 floating point
    int bitsPerSample;
    int channels;
};

void PrintTo(const ToneFile& tone, std::ostream* out)
{
    *out << tone.name;
}

std::string toneWave(const ToneFile& tone, int milliseconds)
{
    return test::toneWave(tone.formatTag, tone.bitsPerSample, tone.channels, milliseconds);
}

class RealAudioTest : public ::testing::TestWithParam<ToneFile>
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(sink.failure(), "");
        ASSERT_TRUE(sink.startRecording());
    }

    PulseNullSink sink;
    TempFolder temp;
};

TEST_P(RealAudioTest, aMessageReachesTheOutputWholeAndItsEndIsReported)
{
    constexpr int ToneMs = 400;
    const std::string path = temp.file("tone.wav");
    writeBytes(path, toneWave(GetParam(), ToneMs));
    QtWavePlayer player;
    int ends = 0;
    player.setEndedHandler([&] { ++ends; });

    const Status played = player.play(path);
    ASSERT_TRUE(played.ok()) << played.error().description;
    EXPECT_TRUE(player.isPlaying());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player.isPlaying(); }, 10000));
    EXPECT_EQ(ends, 1);
    // Whatever the server still held has been recorded by now.
    QTest::qWait(300);

    // Every sample of the tone played, none cut off at the end (the sound server still holds the last
    // tenth of a second or so when the player has handed it over). Of a sine at half of full scale, the
    // samples above the threshold are all but those near its zero crossings.
    constexpr int Threshold = 1000;
    const double aboveThreshold = 1 - 2 / M_PI * std::asin(Threshold / 16383.0);
    const double toneSamples = PulseNullSink::RecordingRate * ToneMs / 1000.0;
    const auto loud = static_cast<double>(sink.loudSamples(Threshold));
    EXPECT_GT(loud, 0.95 * aboveThreshold * toneSamples);
    EXPECT_LT(loud, 1.02 * toneSamples);
}

INSTANTIATE_TEST_SUITE_P(Encodings, RealAudioTest,
    ::testing::Values(ToneFile { "pcm16Mono", 1, 16, 1 }, ToneFile { "pcm8Stereo", 1, 8, 2 },
        ToneFile { "pcm24Mono", 1, 24, 1 }, ToneFile { "float32Mono", 3, 32, 1 }),
    [](const auto& info) { return std::string(info.param.name); });

class RealSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(sink.failure(), "");
    }
    PulseNullSink sink;
    TempFolder temp;
};

TEST_F(RealSoundTest, aFileThatCannotPlayCutsOffTheMessageBeforeAndPlaysNothing)
{
    const std::string tone = temp.file("tone.wav");
    writeBytes(tone, toneWave({ "pcm16Mono", 1, 16, 1 }, 2000));
    writeBytes(temp.file("text.wav"), "not a wave file");
    QtWavePlayer player;
    int ends = 0;
    player.setEndedHandler([&] { ++ends; });
    ASSERT_TRUE(player.play(tone).ok());

    for (const std::string& bad : { temp.file("missing.wav"), temp.file("text.wav") }) {
        const Status refused = player.play(bad);
        ASSERT_FALSE(refused.ok());
        EXPECT_NE(refused.error().description.find(bad), std::string::npos) << refused.error().description;
        EXPECT_FALSE(player.isPlaying());
    }
    EXPECT_EQ(ends, 1) << "the tone was cut off once; a failure while idle ends nothing";
}

TEST_F(RealSoundTest, messageAfterMessageEachReachesTheOutputWhole)
{
    // A stream stopped and started again fell silent after a handful of messages.
    constexpr int ToneMs = 200;
    constexpr int Messages = 8;
    ASSERT_TRUE(sink.startRecording());
    const std::string path = temp.file("tone.wav");
    writeBytes(path, toneWave({ "pcm16Mono", 1, 16, 1 }, ToneMs));
    QtWavePlayer player;
    for (int message = 0; message < Messages; ++message) {
        ASSERT_TRUE(player.play(path).ok());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !player.isPlaying(); }, 10000));
    }
    QTest::qWait(300);

    const double toneSamples = PulseNullSink::RecordingRate * ToneMs / 1000.0;
    EXPECT_GT(static_cast<double>(sink.loudSamples()), Messages * 0.9 * toneSamples);
}

TEST_F(RealSoundTest, theSpeechEngineSaysAPromptAloud)
{
    ASSERT_TRUE(sink.startRecording());
    FlitePromptSpeaker speaker;
    speaker.say("Dupe");
    EXPECT_TRUE(speaker.isSpeaking());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !speaker.isSpeaking(); }, 20000));
    QTest::qWait(300);
    EXPECT_GT(sink.loudSamples(200), 1000u) << "a spoken word reached the output";
}

} // namespace
} // namespace brindle::test
