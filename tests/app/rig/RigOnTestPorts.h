#pragma once

#include "rig/RigInterface.h"

#include "os/PosixFileSystem.h"
#include "serial/QtSerialPort.h"
#include "station/SettingsStore.h"
#include "support/MapSettingsStore.h"
#include "support/PtyPair.h"
#include "support/RigSimulator.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
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

// A rig interface on a pseudo-terminal whose far end a simulated radio answers; the cable can be pulled
// and put back.
class RigOnSimulatedRadio : public ::testing::Test, public RigOnTestPorts
{
protected:
    void SetUp() override
    {
        plugIn();
    }
    void plugIn()
    {
        pty = std::make_unique<PtyPair>(cable.path());
        ASSERT_EQ(pty->failure(), "");
        device = pty->near();
    }
    void switchOn(RigSimulator::Protocol protocol)
    {
        radio = std::make_unique<RigSimulator>(pty->far(), protocol);
        ASSERT_EQ(radio->failure(), "");
    }
    void unplug()
    {
        radio->stop();
        pty->stop();
        pty.reset();
    }
    bool reported(QSignalSpy& frequencies, float freqMHz)
    {
        return QTest::qWaitFor(
            [&] { return !frequencies.isEmpty() && std::abs(frequencies.back()[0].toFloat() - freqMHz) < 1e-4f; },
            5000);
    }

    TempFolder cable;
    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<RigSimulator> radio;
};

} // namespace brindle::test
