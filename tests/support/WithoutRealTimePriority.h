#pragma once

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace brindle::test {

// While it lives, threads started by the calling thread may not have real-time priority, as an ordinary
// user without an rtprio limit may not: the soft limit is 0, and root's CAP_SYS_NICE, which passes over
// the limit, is out of the calling thread's effective set (threads take theirs from the one that starts
// them). Both come back when it goes; threads started meanwhile keep what they were given.
class WithoutRealTimePriority
{
public:
    WithoutRealTimePriority()
    {
        ::getrlimit(RLIMIT_RTPRIO, &m_limit);
        rlimit none = m_limit;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_RTPRIO, &none);
        m_hadCapabilities = ::syscall(SYS_capget, &m_header, m_capabilities) == 0;
        if (m_hadCapabilities) {
            __user_cap_data_struct lowered[2] = { m_capabilities[0], m_capabilities[1] };
            lowered[CAP_TO_INDEX(CAP_SYS_NICE)].effective &= ~CAP_TO_MASK(CAP_SYS_NICE);
            ::syscall(SYS_capset, &m_header, lowered);
        }
    }
    ~WithoutRealTimePriority()
    {
        if (m_hadCapabilities) {
            ::syscall(SYS_capset, &m_header, m_capabilities);
        }
        ::setrlimit(RLIMIT_RTPRIO, &m_limit);
    }
    WithoutRealTimePriority(const WithoutRealTimePriority&) = delete;
    WithoutRealTimePriority& operator=(const WithoutRealTimePriority&) = delete;

private:
    rlimit m_limit {};
    __user_cap_header_struct m_header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct m_capabilities[2] {};
    bool m_hadCapabilities = false;
};

} // namespace brindle::test
