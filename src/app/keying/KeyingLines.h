#pragma once

#include "keying/KeyingLine.h"
#include "keying/KeyingState.h"
#include "serial/ParallelPort.h"
#include "serial/QtSerialPort.h"
#include "serial/SerialPort.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace brindle {

// Which line keys the transmitter, as the operator last chose it: the CW key, or the phone keyer's PTT.
// The window's thread writes it; the CW keying thread reads it when it opens the line.
struct KeyingLineChoice
{
    std::atomic<CwKeying> keying { CwKeying::None };
    std::atomic<int> portNumber { 0 };
    std::atomic<int> parallelAddress { 0x378 };
};

// RTS or DTR of a serial port as the key.
class SerialKeyingLine final : public KeyingLine
{
public:
    SerialKeyingLine(SerialPort& port, bool useRts);
    Status setKeyDown(bool down) override;

private:
    SerialPort& m_port;
    bool m_useRts;
};

// The printer port's strobe as the key: control register 3 keys down, 2 up (bit 1 stays set in both).
class ParallelKeyingLine final : public KeyingLine
{
public:
    explicit ParallelKeyingLine(ParallelPort& port);
    Status setKeyDown(bool down) override;

private:
    ParallelPort& m_port;
};

// A keying line: the serial port's RTS or DTR, or the parallel port, opened with the key up when it is
// first needed and reopened when the operator has chosen another. The CW key lives on the keying thread,
// the phone keyer's PTT on the window's.
class KeyingLines final : public KeyingLineSource
{
public:
    using SerialPortMaker = brindle::SerialPortMaker;
    using ParallelDeviceFinder = std::function<std::string(int address)>;

    KeyingLines(const KeyingLineChoice& choice, SerialPortMaker makeSerialPort, ParallelDeviceFinder parallelDevice);
    ~KeyingLines() override;

    Result<KeyingLine*> openLine() override;
    void closeLine() override;

private:
    Result<KeyingLine*> openSerialLine(CwKeying keying, int portNumber);
    Result<KeyingLine*> openParallelLine(int address);

    const KeyingLineChoice& m_choice;
    SerialPortMaker m_makeSerialPort;
    ParallelDeviceFinder m_parallelDevice;
    std::unique_ptr<SerialPort> m_serial;
    ParallelPort m_parallel;
    std::unique_ptr<KeyingLine> m_line;
    // What the open line was opened for.
    CwKeying m_openKeying = CwKeying::None;
    int m_openPort = 0;
    int m_openAddress = 0;
};

// Makes the source of the line a choice names; for the CW key, called on the keying thread.
using KeyingLineMaker = std::function<std::unique_ptr<KeyingLineSource>(const KeyingLineChoice& choice)>;

// The computer's own lines for a choice: serial ports on QSerialPort and parallel ports on ppdev, each
// number or address looked up in the operator's port map at every open.
std::unique_ptr<KeyingLineSource> systemKeyingLines(const KeyingLineChoice& choice);
// The devices of the operator's port map, read afresh at every lookup.
PortDeviceLookup systemPortDevices();

} // namespace brindle
