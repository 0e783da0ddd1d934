#pragma once

#include "keying/PhoneKeyer.h"
#include "log/ContestSession.h"
#include "os/PosixFileSystem.h"

#include "support/RecordingKeyingLine.h"
#include "support/RecordingWavePlayer.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <memory>
#include <string>
#include <vector>

namespace brindle::test {

// The ups and downs a line went through, in order.
inline std::vector<bool> switches(const RecordingKeyingLine& line)
{
    std::vector<bool> downs;
    for (const RecordingKeyingLine::Edge& edge : line.edges()) {
        downs.push_back(edge.down);
    }
    return downs;
}

// PTT lines and a wave player that record what the phone keyer does with them: a serial port's line and
// the parallel port, each its own source, as the keyer asks for them.
struct PttOnRecordingLines
{
    // For the phone keyer's line maker: the parallel choice gets the parallel recorder, the serial one
    // the serial recorder, whose choice is kept to see which line and port it keys.
    KeyingLineMaker lineMaker()
    {
        return [this](const KeyingLineChoice& choice) -> std::unique_ptr<KeyingLineSource> {
            if (choice.keying == CwKeying::ParallelPort) {
                return std::make_unique<BorrowedLineSource>(parallelSource);
            }
            serialChoice = &choice;
            return std::make_unique<BorrowedLineSource>(serialSource);
        };
    }

    RecordingKeyingLine serialLine;
    RecordingKeyingLine parallelLine;
    RecordingLineSource serialSource { serialLine };
    RecordingLineSource parallelSource { parallelLine };
    const KeyingLineChoice* serialChoice = nullptr;
};

// A real phone keyer, attached to a session, over recording PTT lines and a recording player, with wave
// files for F1 to F9 in a folder of its own (F4 is left empty).
struct PhoneKeyerOnRecordingLines : PttOnRecordingLines
{
    PhoneKeyerOnRecordingLines()
    {
        auto recording = std::make_unique<RecordingWavePlayer>();
        player = recording.get();
        keyer = std::make_unique<PhoneKeyer>(fs, temp.path(), dialogs, std::move(recording), lineMaker());
        keyer->attach(session);
        keyer->applySettings(messages());
    }

    PhoneSettings messages()
    {
        PhoneSettings settings;
        for (int key = 1; key <= PhoneMessageCount; ++key) {
            if (key != 4) {
                settings.waveFiles[static_cast<std::size_t>(key - 1)] = wave(key);
            }
        }
        return settings;
    }
    // The recording of F<key>, made when first asked for.
    std::string wave(int key)
    {
        const std::string path = temp.file("F" + std::to_string(key) + ".wav");
        writeBytes(path, "RIFF");
        return path;
    }
    void choose(const char* port, PttLine line, const char* loopSeconds = "0")
    {
        PhoneSettings settings = keyer->settings();
        settings.pttPort = port;
        settings.pttLine = line;
        settings.loopSeconds = loopSeconds;
        keyer->applySettings(settings);
    }

    TempFolder temp;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    ContestSession session { fs, temp.file("log.txt") };
    RecordingWavePlayer* player = nullptr;
    std::unique_ptr<PhoneKeyer> keyer;
};

} // namespace brindle::test
