#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace brindle::test {

// Two pseudo-terminals joined back to back by socat, as a null-modem cable joins two serial ports: what
// is written to one is read from the other, every byte value included. They are reached through links
// in the given folder: near() for the port under test, far() for the test's own plain POSIX end.
class PtyPair
{
public:
    explicit PtyPair(const std::string& folder)
        : m_near(folder + "/a")
        , m_far(folder + "/b")
    {
        start(folder);
    }
    ~PtyPair()
    {
        stop();
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Empty once both ends are there; otherwise why they are not.
    const std::string& failure() const
    {
        return m_failure;
    }
    const std::string& near() const
    {
        return m_near;
    }
    const std::string& far() const
    {
        return m_far;
    }
    // The pseudo-terminal near() links to, /dev/pts/N.
    std::string nearDevice() const
    {
        std::error_code error;
        return std::filesystem::canonical(m_near, error).string();
    }

    // Ends socat, and with it both pseudo-terminals, as pulling an adapter's plug ends its device.
    void stop()
    {
        if (m_farHandle >= 0) {
            ::close(m_farHandle);
            m_farHandle = -1;
        }
        if (m_socat > 0) {
            ::kill(m_socat, SIGTERM);
            ::waitpid(m_socat, nullptr, 0);
            m_socat = -1;
        }
    }

    bool writeFar(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = ::write(farHandle(), bytes.data(), bytes.size());
            if (written < 0 && errno != EAGAIN && errno != EINTR) {
                return false;
            }
            if (written < 0) {
                waitUntilWritable();
                continue;
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }

    // What has arrived at the far end, possibly nothing; never waits, so that the port under test can
    // send from its event loop meanwhile.
    std::string takeFar()
    {
        std::string received;
        char chunk[256];
        ssize_t got = 0;
        while ((got = ::read(farHandle(), chunk, sizeof chunk)) > 0) {
            received.append(chunk, static_cast<std::size_t>(got));
        }
        return received;
    }

private:
    void start(const std::string& folder)
    {
        const std::string log = folder + "/socat.log";
        const std::string nearAddress = "pty,raw,echo=0,link=" + m_near;
        const std::string farAddress = "pty,raw,echo=0,link=" + m_far;
        const char* arguments[] = { "socat", "-d", "-d", nearAddress.c_str(), farAddress.c_str(), nullptr };
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        const int spawned
            = ::posix_spawnp(&m_socat, "socat", &actions, nullptr, const_cast<char* const*>(arguments), environ);
        ::posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            m_socat = -1;
            m_failure = "socat cannot be started (bash scripts/deps.sh installs it): "
                + std::generic_category().message(spawned);
            return;
        }
        // socat makes the links once both pseudo-terminals exist; it is given far longer than it needs.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!(std::filesystem::exists(m_near) && std::filesystem::exists(m_far))) {
            if (::waitpid(m_socat, nullptr, WNOHANG) == m_socat) {
                m_socat = -1;
                m_failure = "socat ended before making the pseudo-terminals; see " + log;
                return;
            }
            if (std::chrono::steady_clock::now() > giveUp) {
                m_failure = "socat made no pseudo-terminals; see " + log;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    int farHandle()
    {
        if (m_farHandle < 0) {
            m_farHandle = ::open(m_far.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        }
        return m_farHandle;
    }

    // Until the far end can take more, for far longer than a pseudo-terminal ever needs.
    void waitUntilWritable()
    {
        pollfd watched { farHandle(), POLLOUT, 0 };
        ::poll(&watched, 1, 5'000);
    }

    std::string m_near;
    std::string m_far;
    std::string m_failure;
    pid_t m_socat = -1;
    int m_farHandle = -1;
};

} // namespace brindle::test
