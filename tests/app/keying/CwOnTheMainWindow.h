#pragma once

#include "keying/CwKeyer.h"

#include "app/log/StartedMainWindow.h"
#include "support/RecordingKeyingLine.h"

#include <QTest>

#include <memory>
#include <string>

namespace brindle::test {

// Keying on RTS of port 1 at a speed.
inline CwSettings rtsAt(int wordsPerMinute)
{
    CwSettings settings;
    settings.keying = CwKeying::Rts;
    settings.port = "1";
    settings.speed = std::to_string(wordsPerMinute);
    return settings;
}

inline bool waitUntilIdle(const CwKeyer& keyer)
{
    return QTest::qWaitFor([&keyer] { return !keyer.isSending(); }, 20000);
}

// A real keyer keying a recording line, attached to a session, with the files, settings and dialogs it
// uses in a folder of its own: what a window of the keyer is tested over.
struct KeyerOnRecordingLine
{
    KeyerOnRecordingLine()
    {
        keyer.attach(session);
    }

    TempFolder temp;
    PosixFileSystem fs;
    QtSettingsStore settings;
    ScriptedDialogs dialogs;
    ContestSession session { fs, temp.file("log.txt") };
    RecordingKeyingLine line;
    RecordingLineSource source { line };
    CwKeyer keyer { fs, temp.path(), settings, dialogs, lendingTo(source) };
};

// The whole main window with a real keyer, keying RTS at 100 WPM on a recording line.
class CwOnTheMainWindowTest : public StartedMainWindow
{
protected:
    MainWindowKeyers keyers() override
    {
        MainWindowKeyers keyers;
        auto cw = std::make_unique<CwKeyer>(fs, folders.workingDir, settings, dialogs, lendingTo(source));
        cwKeyer = cw.get();
        keyers.cw = std::move(cw);
        return keyers;
    }
    void SetUp() override
    {
        StartedMainWindow::SetUp();
        cwKeyer->applySettings(rtsAt(100));
        // The start-up read the timing choice of the settings store, which other tests change.
        cwKeyer->setTiming(CwTiming::Timer);
    }
    // The keyer's engine holds the line until the window goes.
    void TearDown() override
    {
        form.reset();
    }

    RecordingKeyingLine line;
    RecordingLineSource source { line };
    CwKeyer* cwKeyer = nullptr;
};

} // namespace brindle::test
