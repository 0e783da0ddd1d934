#pragma once

#include "serial/SerialPort.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brindle::test {

// A serial port that keeps every write and hands out whatever the test has queued as received.
class RecordingSerialPort : public SerialPort
{
public:
    std::vector<std::string> writes;
    std::string incoming;
    std::size_t waiting = 0; // what bytesToWrite reports
    std::optional<std::string> openFailure;
    int number = 0;
    std::optional<LineSettings> line;
    std::optional<Handshaking> handshaking;
    bool dtr = false;
    bool rts = false;
    bool opened = false;
    bool linesOnly = false;

    void setPortNumber(int value) override
    {
        number = value;
    }
    int portNumber() const override
    {
        return number;
    }
    void setLineSettings(const LineSettings& settings) override
    {
        line = settings;
    }
    void setHandshaking(Handshaking value) override
    {
        handshaking = value;
    }
    void setLinesOnly(bool value) override
    {
        linesOnly = value;
    }
    Status setDtr(bool on) override
    {
        dtr = on;
        return {};
    }
    Status setRts(bool on) override
    {
        rts = on;
        return {};
    }
    Status open() override
    {
        if (openFailure) {
            return Error { *openFailure };
        }
        opened = true;
        return {};
    }
    void close() override
    {
        opened = false;
    }
    bool isOpen() const override
    {
        return opened;
    }
    Status write(std::string_view bytes) override
    {
        writes.emplace_back(bytes);
        return {};
    }
    // What is written is taken at once; a port that cannot send keeps what waiting says all the same.
    void flush() override
    {
    }
    std::size_t bytesToWrite() const override
    {
        return waiting;
    }
    std::string readAll() override
    {
        return std::exchange(incoming, {});
    }
};

} // namespace brindle::test
