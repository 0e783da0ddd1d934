#pragma once

#include "serial/SerialPort.h"

#include <QSerialPort>

#include <functional>
#include <optional>
#include <string>

namespace brindle {

// The device a port number stands for. It is asked at every open, so that a change made in the Serial
// Ports window holds from the next open on.
using PortDeviceLookup = std::function<std::string(int number)>;

// How many bytes the system's driver holds for a device and has not yet put on the wire (TIOCOUTQ).
using OutputQueueQuery = std::function<std::size_t(int handle)>;
// The driver's own count. A pseudo-terminal has no wire and always says 0.
std::size_t systemOutputQueue(int handle);

// A serial port on QSerialPort. Bytes move while the event loop runs: a write is queued and sent from
// the loop, and what the device sends is collected by the loop, so the owners poll readAll() and
// bytesToWrite() from a timer. A device that goes away while open (an unplugged USB adapter) closes
// the port; the next operation says so, and the owner may open it again once the device is back.
// Like the QSerialPort under it, the object belongs to the thread that made it: a keying thread asks
// that thread to switch the lines.
class QtSerialPort final : public SerialPort
{
public:
    explicit QtSerialPort(PortDeviceLookup deviceFor);
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    void setPortNumber(int number) override;
    int portNumber() const override;
    void setLineSettings(const LineSettings& settings) override;
    void setHandshaking(Handshaking handshaking) override;
    void setLinesOnly(bool linesOnly) override;

    Status setDtr(bool on) override;
    Status setRts(bool on) override;

    Status open() override;
    void close() override;
    bool isOpen() const override;

    Status write(std::string_view bytes) override;
    std::size_t bytesToWrite() const override;
    std::string readAll() override;
    void setReceiveLimit(std::size_t bytes) override;

    // Called from the event loop when bytes have arrived, so that an owner that must answer at once
    // (a keyer's status) need not poll.
    void onDataArrived(std::function<void()> handler);
    // Called when the port closed by itself (the device went away), with the reason every later
    // operation also reports.
    void onClosedByItself(std::function<void(const Error&)> handler);
    // Used before a close as well: the last command must not be dropped with the port.
    void flush() override;

    // False once an open found that the device has no modem-control lines (a pseudo-terminal, some USB
    // gadgets): the port carries data, but DTR and RTS cannot key anything on it.
    bool hasModemLines() const;
    // Where the driver's queue is asked for; a UART's queue cannot be had on a pseudo-terminal, so the
    // tests of the waits stand one in.
    void setOutputQueueQuery(OutputQueueQuery query);

private:
    Status switchLines(int raise, int drop);
    Status applySettings();
    Status hangUpOnClose();
    Error openFailure() const;
    Error failure(std::string_view reason) const;
    Error goneAway() const;
    Error notOpen() const;
    bool deviceGone() const;
    void closeBecause(Error reason);
    void closePort();
    void noticeError(QSerialPort::SerialPortError error);

    PortDeviceLookup m_deviceFor;
    QSerialPort m_port;
    int m_number = 0;
    std::optional<LineSettings> m_lineSettings;
    Handshaking m_handshaking = Handshaking::None;
    bool m_dtr = false;
    bool m_rts = false;
    bool m_modemLines = true;
    bool m_linesOnly = false;
    OutputQueueQuery m_outputQueue = systemOutputQueue;
    bool m_pseudoTerminal = false;
    // The device of the present or last open, as the map named it.
    std::string m_device;
    // Its real path, under which the open is known to the program's other ports.
    std::string m_realDevice;
    std::function<void(const Error&)> m_closedByItself;
    // Why the port closed by itself; reported by every operation until the owner opens or closes it.
    std::optional<Error> m_closedBecause;
};

} // namespace brindle
