#pragma once

#include "rig/RigInterface.h"

#include "os/PosixFileSystem.h"
#include "serial/QtSerialPort.h"
#include "station/SettingsStore.h"
#include "support/MapSettingsStore.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QTest>

#include <fstream>
#include <memory>
#include <string>

namespace brindle::test {

// A rig interface whose every port number stands for one device the test chooses (a pseudo-terminal,
// or a path where there is none), with its files in a folder of its own and the Pegasus folder in it.
struct RigOnTestPorts
{
    RigOnTestPorts()
    {
        store.values[std::string(settingkeys::PegasusFolder)] = temp.path();
    }

    // Settings as choosing the rig in the window makes them, polled every 100 ms.
    RigSettings chosen(std::string_view rigName, bool useFrequency = true) const
    {
        RigSettings settings;
        applyProfile(rigName, settings);
        settings.pollRate = "F";
        settings.useFrequency = useFrequency;
        return settings;
    }
    void writePegasusFile(std::string_view text) const
    {
        std::ofstream(temp.file(PegasusReplyFileName), std::ios::binary) << text;
    }

    TempFolder temp;
    PosixFileSystem fs;
    ScriptedDialogs dialogs;
    MapSettingsStore store;
    std::string device = temp.file("no-such-device");
    RigInterface rig { fs, temp.path(), dialogs, store,
        [this] { return std::make_unique<QtSerialPort>([this](int) { return device; }); } };
};

} // namespace brindle::test
