#pragma once

#include "common/Result.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brindle {

// Speed and framing as the settings files write them: "4800,N,8,2".
struct LineSettings
{
    int baud = 9600;
    char parity = 'N'; // N, O or E
    int dataBits = 8; // 7 or 8
    int stopBits = 1; // 1 or 2

    bool operator==(const LineSettings&) const = default;
};

// Nothing for a text that is not four such values; case and blanks around the values do not matter.
std::optional<LineSettings> parseLineSettings(std::string_view text);
// The text a settings window's option values make, as parseLineSettings takes it. The speed is taken
// without blanks around it, and without what the settings files cannot keep, so the text written is the
// one the values read back give.
std::string lineSettingsText(
    std::string_view baud, std::string_view parity, std::string_view dataBits, std::string_view stopBits);

enum class Handshaking
{
    None = 0,
    XonXoff = 1,
    RtsCts = 2,
    Both = 3,
};

// One serial port as one owner (a keyer, the rig interface, the TNC link) uses it. Each owner has its
// own object; two may name the same device. Nothing here ever waits: writes are queued and reads return
// what has arrived. Every byte value passes both ways, zero included.
class SerialPort
{
public:
    virtual ~SerialPort() = default;

    // Port numbers start at 1; 0 names no port. Set while the port is closed.
    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    // Unset settings leave the device's defaults (the keyers use only the lines).
    virtual void setLineSettings(const LineSettings& settings) = 0;
    virtual void setHandshaking(Handshaking handshaking) = 0;
    // A port that only keys with its DTR or RTS line (a CW key, a PTT) takes in nothing: whatever a device
    // on it sends is left to the system to drop, instead of piling up in the program. Set while closed.
    virtual void setLinesOnly(bool linesOnly) = 0;

    // The lines follow at once while the port is open, and from the moment it opens otherwise.
    virtual Status setDtr(bool on) = 0;
    virtual Status setRts(bool on) = 0;

    // A failure says which device and why, in words the operator can act on.
    virtual Status open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual Status write(std::string_view bytes) = 0;
    // Hands what write queued to the device now, without waiting: an owner that checks bytesToWrite()
    // straight after writing must not take its own last bytes for a port that cannot send, and the last
    // bytes before a close must not be dropped with the port.
    virtual void flush() = 0;
    // Bytes queued by write and not yet on the wire: those the program holds and those the system's driver
    // has taken and not yet sent.
    virtual std::size_t bytesToWrite() const = 0;
    // Everything received since the last read, possibly nothing.
    virtual std::string readAll() = 0;
    // At most this much of what arrives is kept for readAll (0: no bound); the rest waits in the system's
    // driver, which holds the sender back (with handshaking) once its own buffer is full. Set while closed.
    virtual void setReceiveLimit(std::size_t bytes)
    {
        (void)bytes;
    }
};

// Makes a port for an owner that opens its own afresh (the rig interface, the TNC link), so that the
// Serial Ports window's choices hold from the next open on.
using SerialPortMaker = std::function<std::unique_ptr<SerialPort>()>;

} // namespace brindle
