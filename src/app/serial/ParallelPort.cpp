#include "ParallelPort.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace brindle {

namespace {

// The system's reason, with what an operator can do about the usual ones.
std::string reasonFor(const std::string& device, int error)
{
    std::string reason = device + ": " + std::strerror(error);
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        reason += ": no parallel port there (the parport_pc and ppdev kernel modules must be loaded)";
        break;
    case EACCES:
    case EPERM:
        reason += ": add yourself to the lp group (sudo adduser $USER lp, then log in again)";
        break;
    case EBUSY:
        reason += ": another program holds the port";
        break;
    default:
        break;
    }
    return reason;
}

} // namespace

ParallelPort::~ParallelPort()
{
    close();
}

Status ParallelPort::open(const std::string& device)
{
    close();
    if (device.empty()) {
        return Error { "no parallel port device is set for this address (Options, Serial Ports)" };
    }
    const int fd = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return Error { reasonFor(device, errno) };
    }
    if (::ioctl(fd, PPCLAIM) != 0) {
        const int error = errno;
        ::close(fd);
        // A file that is no ppdev device refuses the claim as "inappropriate ioctl".
        return Error { reasonFor(device, error) };
    }
    m_fd = fd;
    m_device = device;
    return {};
}

void ParallelPort::close()
{
    if (m_fd < 0) {
        return;
    }
    (void)::ioctl(m_fd, PPRELEASE);
    ::close(m_fd);
    m_fd = -1;
}

Status ParallelPort::setControlRegister(unsigned char value)
{
    if (m_fd < 0) {
        return Error { "the parallel port is not open" };
    }
    if (::ioctl(m_fd, PPWCONTROL, &value) != 0) {
        return Error { reasonFor(m_device, errno) };
    }
    return {};
}

} // namespace brindle
