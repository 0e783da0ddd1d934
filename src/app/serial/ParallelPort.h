#pragma once

#include "common/Result.h"

#include <string>

namespace brindle {

// A printer port's control register, reached through the kernel's ppdev driver (/dev/parportN): the
// register the keyers switch to key the transmitter.
class ParallelPort
{
public:
    ParallelPort() = default;
    ParallelPort(const ParallelPort&) = delete;
    ParallelPort& operator=(const ParallelPort&) = delete;
    ~ParallelPort();

    // Opens and claims the port; an Error names the device and what to do about it.
    Status open(const std::string& device);
    void close();
    bool isOpen() const
    {
        return m_fd >= 0;
    }
    Status setControlRegister(unsigned char value);

private:
    int m_fd = -1;
    std::string m_device;
};

} // namespace brindle
