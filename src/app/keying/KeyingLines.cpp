#include "KeyingLines.h"

#include "serial/PortMap.h"
#include "serial/QtSerialPort.h"
#include "station/QtSettingsStore.h"

namespace brindle {

SerialKeyingLine::SerialKeyingLine(SerialPort& port, bool useRts)
    : m_port(port)
    , m_useRts(useRts)
{
}

Status SerialKeyingLine::setKeyDown(bool down)
{
    return m_useRts ? m_port.setRts(down) : m_port.setDtr(down);
}

ParallelKeyingLine::ParallelKeyingLine(ParallelPort& port)
    : m_port(port)
{
}

Status ParallelKeyingLine::setKeyDown(bool down)
{
    return m_port.setControlRegister(down ? 3 : 2);
}

KeyingLines::KeyingLines(
    const KeyingLineChoice& choice, SerialPortMaker makeSerialPort, ParallelDeviceFinder parallelDevice)
    : m_choice(choice)
    , m_makeSerialPort(std::move(makeSerialPort))
    , m_parallelDevice(std::move(parallelDevice))
{
}

KeyingLines::~KeyingLines()
{
    closeLine();
}

Result<KeyingLine*> KeyingLines::openLine()
{
    const CwKeying keying = m_choice.keying.load();
    const int port = m_choice.portNumber.load();
    const int address = m_choice.parallelAddress.load();
    if (m_line) {
        const bool sameSerial = (keying == CwKeying::Rts || keying == CwKeying::Dtr) && m_openKeying == keying
            && m_openPort == port && m_serial && m_serial->isOpen();
        const bool sameParallel = keying == CwKeying::ParallelPort && m_openKeying == keying && m_openAddress == address
            && m_parallel.isOpen();
        if (sameSerial || sameParallel) {
            return m_line.get();
        }
        closeLine();
    }
    switch (keying) {
    case CwKeying::Rts:
    case CwKeying::Dtr:
        return openSerialLine(keying, port);
    case CwKeying::ParallelPort:
        return openParallelLine(address);
    case CwKeying::None:
    case CwKeying::WinKey:
        break;
    }
    return Error { "no keying line is chosen" };
}

Result<KeyingLine*> KeyingLines::openSerialLine(CwKeying keying, int portNumber)
{
    if (portNumber < 1) {
        return Error { "no CW port is chosen (the port number is 0)" };
    }
    m_serial = m_makeSerialPort();
    m_serial->setPortNumber(portNumber);
    // Only the line is used: a device that talks back on the port must not fill the program up.
    m_serial->setLinesOnly(true);
    // Set before the port opens, so the key stays up from the first moment.
    (void)m_serial->setDtr(false);
    (void)m_serial->setRts(false);
    if (Status opened = m_serial->open(); !opened) {
        m_serial.reset();
        return opened.error();
    }
    m_line = std::make_unique<SerialKeyingLine>(*m_serial, keying == CwKeying::Rts);
    m_openKeying = keying;
    m_openPort = portNumber;
    return m_line.get();
}

Result<KeyingLine*> KeyingLines::openParallelLine(int address)
{
    const std::string device = m_parallelDevice(address);
    if (device.empty()) {
        return Error { "no parallel port device is set for address " + formatParallelAddress(address)
            + " (Options, Serial Ports)" };
    }
    if (Status opened = m_parallel.open(device); !opened) {
        return opened.error();
    }
    m_line = std::make_unique<ParallelKeyingLine>(m_parallel);
    m_openKeying = CwKeying::ParallelPort;
    m_openAddress = address;
    return m_line.get();
}

void KeyingLines::closeLine()
{
    if (m_line) {
        (void)m_line->setKeyDown(false);
    }
    m_line.reset();
    if (m_serial) {
        m_serial->close();
        m_serial.reset();
    }
    m_parallel.close();
    m_openKeying = CwKeying::None;
}

PortDeviceLookup systemPortDevices()
{
    // Each lookup reads the map afresh, so a change made in the Serial Ports window holds from the next
    // open on; a settings object of its own keeps the keying thread off the window thread's one.
    return [](int number) { return loadPortMap(QtSettingsStore()).deviceForPort(number); };
}

std::unique_ptr<KeyingLineSource> systemKeyingLines(const KeyingLineChoice& choice)
{
    return std::make_unique<KeyingLines>(
        choice, [] { return std::make_unique<QtSerialPort>(systemPortDevices()); },
        [](int address) { return loadPortMap(QtSettingsStore()).deviceForParallelAddress(address); });
}

} // namespace brindle
