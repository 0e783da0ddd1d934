#pragma once

#include <csignal>
#include <sys/resource.h>

namespace brindle::test {

// Makes every write past `bytes` in any file fail with EFBIG for as long as it lives: a full disk that
// a test can set up without privileges, and that root cannot write past either.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limited = m_previous;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous {};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace brindle::test
