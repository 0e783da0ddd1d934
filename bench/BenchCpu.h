#pragma once

// Processor time spent, for the benchmarks that report what a feature costs the machine rather than how
// long it takes.

#include <pthread.h>
#include <time.h>

namespace brindle::bench {

// Milliseconds of processor time on the clock: CLOCK_PROCESS_CPUTIME_ID (every thread of the process),
// CLOCK_THREAD_CPUTIME_ID (the calling thread), or a thread's own clock.
inline double cpuMs(clockid_t clock)
{
    timespec spent {};
    ::clock_gettime(clock, &spent);
    return static_cast<double>(spent.tv_sec) * 1000.0 + static_cast<double>(spent.tv_nsec) / 1e6;
}

inline double processCpuMs()
{
    return cpuMs(CLOCK_PROCESS_CPUTIME_ID);
}

// Another thread's time, by its handle; 0 when it cannot be had.
inline double threadCpuMs(pthread_t thread)
{
    clockid_t clock {};
    return ::pthread_getcpuclockid(thread, &clock) == 0 ? cpuMs(clock) : 0.0;
}

} // namespace brindle::bench
