#include "station/TerminationSignals.h"

#include "app/keying/CwOnTheMainWindow.h"
#include "keying/PhoneKeyer.h"
#include "support/PtyPair.h"
#include "support/RecordingWavePlayer.h"
#include "support/WinKeySimulator.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace brindle {
namespace {

using namespace std::chrono_literals;

constexpr int F1 = 112;

TEST(TerminationSignalsTest, aSignalReachesTheEventLoopInsteadOfEndingTheProgram)
{
    {
        TerminationSignals watcher;
        ASSERT_TRUE(watcher.isWatching());
        QSignalSpy received(&watcher, &TerminationSignals::received);
        for (const int signalNumber : { SIGTERM, SIGINT, SIGHUP }) {
            received.clear();
            ASSERT_EQ(::raise(signalNumber), 0);
            QTRY_COMPARE(received.size(), 1);
            EXPECT_EQ(received[0][0].toInt(), signalNumber);
        }
    }
    struct sigaction now
    {
    };
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL) << "once the watcher is gone, the signals end the program as before";
}

// The child's report pipe, as the parent hands it over.
constexpr int ReportHandle = 3;
// Set in the child's environment: what it is to do until it is signalled.
constexpr const char* ScenarioVariable = "BRINDLE_ENDING_SCENARIO";
constexpr const char* WinKeyDeviceVariable = "BRINDLE_ENDING_WINKEY";

void report(const std::string& text)
{
    const std::string line = text + "\n";
    (void)!::write(ReportHandle, line.data(), line.size());
}

// A keying line as the transmitter sees it, reported to the parent process the moment it switches: its
// letter, then 1 for down and 0 for up. The real lines are on hardware this machine does not have.
class ReportedLine final : public KeyingLine
{
public:
    explicit ReportedLine(char letter)
        : m_letter(letter)
    {
    }
    Status setKeyDown(bool down) override
    {
        report(std::string(1, m_letter) + (down ? "1" : "0"));
        return {};
    }

private:
    char m_letter;
};

class ReportedLineSource final : public KeyingLineSource
{
public:
    explicit ReportedLineSource(char letter)
        : m_line(letter)
    {
    }
    Result<KeyingLine*> openLine() override
    {
        m_open = true;
        return &m_line;
    }
    void closeLine() override
    {
        if (std::exchange(m_open, false)) {
            (void)m_line.setKeyDown(false);
        }
    }

private:
    ReportedLine m_line;
    bool m_open = false;
};

// The program as the parent starts it: the main window over the fixture log, with the CW key ("C"), the
// phone keyer's PTT on RTS of port 3 ("P") and on the parallel port ("Q"), or a WinKey keyer on a
// serial line, and the termination signals wired as the program's start wires them.
class EndingChild : public test::StartedMainWindow
{
protected:
    MainWindowKeyers keyers() override
    {
        MainWindowKeyers keyers;
        const char* winKeyDevice = std::getenv(WinKeyDeviceVariable);
        auto cw = std::make_unique<CwKeyer>(
            fs, folders.workingDir, settings, dialogs,
            [](const KeyingLineChoice&) { return std::make_unique<ReportedLineSource>('C'); },
            [device = std::string(winKeyDevice ? winKeyDevice : "")](int) { return device; });
        cwKeyer = cw.get();
        keyers.cw = std::move(cw);
        auto player = std::make_unique<test::RecordingWavePlayer>();
        auto phone = std::make_unique<PhoneKeyer>(
            fs, folders.workingDir, dialogs, std::move(player), [](const KeyingLineChoice& choice) {
                return std::make_unique<ReportedLineSource>(choice.keying == CwKeying::ParallelPort ? 'Q' : 'P');
            });
        phoneKeyer = phone.get();
        keyers.phone = std::move(phone);
        return keyers;
    }
    void programEnded(int code) override
    {
        QCoreApplication::exit(code);
    }

    CwKeyer* cwKeyer = nullptr;
    PhoneKeyer* phoneKeyer = nullptr;
};

// Run only as the child of the tests below, which start this test program again for it.
TEST_F(EndingChild, DISABLED_keysUntilATerminationSignalEndsTheProgram)
{
    const char* scenario = std::getenv(ScenarioVariable);
    if (!scenario) {
        GTEST_SKIP() << "the child process of ProgramEndTest";
    }
    TerminationSignals watcher;
    ASSERT_TRUE(watcher.isWatching());
    QObject::connect(&watcher, &TerminationSignals::received, form.get(), &MainWindow::endBySignal);
    report("folder " + folders.workingDir);

    if (std::string_view(scenario) == "winkey") {
        CwSettings cw;
        cw.keying = CwKeying::WinKey;
        cw.speed = "10";
        cwKeyer->applySettings(cw);
        WinKeySettings winKey = cwKeyer->winKeySettings();
        winKey.port = 1;
        cwKeyer->setWinKeySettings(winKey);
        cwKeyer->appendText(std::string(40, 'T'));
    } else {
        PhoneSettings phone;
        phone.waveFiles[0] = temp.file("F1.wav");
        test::writeBytes(phone.waveFiles[0], "RIFF");
        phone.pttPort = "3";
        phone.pttLine = PttLine::Parallel;
        phoneKeyer->applySettings(phone);
        phoneKeyer->playMessage(F1);
        // Dashes of 360 ms: the signal comes while the key is down.
        cwKeyer->applySettings(test::rtsAt(10));
        cwKeyer->setTiming(CwTiming::Timer);
        cwKeyer->appendText("TTTTTTTTTT");
    }
    const int exitCode = QApplication::exec();
    // As the program's own start does when its loop ends: the window goes, and the keyers with it.
    form.reset();
    report("exit " + std::to_string(exitCode));
    std::_Exit(exitCode);
}

// This test program started again as the child above, its reports read as they come.
class ChildProgram
{
public:
    explicit ChildProgram(const std::string& scenario, const std::string& winKeyDevice = {})
    {
        std::map<std::string, std::string> environment { { ScenarioVariable, scenario } };
        if (!winKeyDevice.empty()) {
            environment[WinKeyDeviceVariable] = winKeyDevice;
        }
        // The platform as the child's own start sets it up, not the parent's screens file.
        environment["QT_QPA_PLATFORM"] = "offscreen";
        int ends[2];
        if (::pipe(ends) != 0) {
            return;
        }
        m_reports = ends[0];
        ::fcntl(m_reports, F_SETFD, FD_CLOEXEC);
        std::vector<std::string> variables;
        for (char** variable = environ; *variable; ++variable) {
            const std::string_view text(*variable);
            const std::string name(text.substr(0, text.find('=')));
            if (!environment.contains(name)) {
                variables.emplace_back(text);
            }
        }
        for (const auto& [name, value] : environment) {
            variables.push_back(name + "=" + value);
        }
        std::vector<char*> envp;
        for (std::string& variable : variables) {
            envp.push_back(variable.data());
        }
        envp.push_back(nullptr);
        std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
        std::string filter = "--gtest_filter=EndingChild.DISABLED_keysUntilATerminationSignalEndsTheProgram";
        std::string alsoDisabled = "--gtest_also_run_disabled_tests";
        char* argv[] = { program.data(), filter.data(), alsoDisabled.data(), nullptr };
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, ends[1], ReportHandle);
        // An earlier test may have left this process in a folder it has since removed.
        const std::string folder = std::filesystem::temp_directory_path().string();
        ::posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        if (::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) {
            m_pid = -1;
        }
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(ends[1]);
    }
    ~ChildProgram()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_reports >= 0) {
            ::close(m_reports);
        }
    }
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    bool started() const
    {
        return m_pid > 0;
    }
    // Reads reports until one makes the condition true or the child ends; false when it never did.
    bool readUntil(const std::function<bool(const std::string&)>& condition)
    {
        const auto giveUp = std::chrono::steady_clock::now() + 60s;
        while (std::chrono::steady_clock::now() < giveUp) {
            const std::size_t end = m_pending.find('\n');
            if (end != std::string::npos) {
                const std::string line = m_pending.substr(0, end);
                m_pending.erase(0, end + 1);
                lines.push_back(line);
                if (condition(line)) {
                    return true;
                }
                continue;
            }
            pollfd watched { m_reports, POLLIN, 0 };
            if (::poll(&watched, 1, 1000) <= 0) {
                continue;
            }
            char chunk[256];
            const ssize_t got = ::read(m_reports, chunk, sizeof chunk);
            if (got <= 0) {
                return false; // every end of the pipe is closed: the child has ended
            }
            m_pending.append(chunk, static_cast<std::size_t>(got));
        }
        return false;
    }
    void signal(int signalNumber) const
    {
        ::kill(m_pid, signalNumber);
    }
    // How the child ended: its exit status, or -signal when a signal ended it.
    int waitForEnd()
    {
        (void)readUntil([](const std::string&) { return false; });
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }
    // The last report of a line: "C0" when the CW key was left up.
    std::string lastOf(char letter) const
    {
        std::string last;
        for (const std::string& line : lines) {
            if (line.size() == 2 && line[0] == letter) {
                last = line;
            }
        }
        return last;
    }
    std::string reportAfter(const std::string& prefix) const
    {
        for (const std::string& line : lines) {
            if (line.rfind(prefix, 0) == 0) {
                return line.substr(prefix.size());
            }
        }
        return {};
    }

    std::vector<std::string> lines;

private:
    pid_t m_pid = -1;
    int m_reports = -1;
    std::string m_pending;
};

class ProgramEndTest : public ::testing::TestWithParam<int>
{
};

TEST_P(ProgramEndTest, aSignalWhileKeyingLeavesTheKeyAndPttUpAndTheLogWhole)
{
    const int signalNumber = GetParam();
    ChildProgram child("lines");
    ASSERT_TRUE(child.started());
    bool cwDown = false;
    bool pttDown = false;
    ASSERT_TRUE(child.readUntil([&](const std::string& line) {
        cwDown = cwDown || line == "C1";
        pttDown = pttDown || line == "P1";
        return cwDown && pttDown;
    })) << "the child keyed nothing";

    child.signal(signalNumber);
    const int ended = child.waitForEnd();

    EXPECT_EQ(ended, 128 + signalNumber) << "the program ran its own end, the signal did not end it";
    EXPECT_EQ(child.reportAfter("exit "), std::to_string(128 + signalNumber));
    EXPECT_EQ(child.lastOf('C'), "C0") << "the CW key was left down";
    EXPECT_EQ(child.lastOf('P'), "P0") << "PTT was left on the serial port";
    EXPECT_EQ(child.lastOf('Q'), "Q0") << "PTT was left on the parallel port";
    const std::string folder = child.reportAfter("folder ");
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(test::readBytes(folder + "/log.txt"), test::fixture("log/two_bands_three_contacts.txt"));
    std::filesystem::remove_all(std::filesystem::path(folder).parent_path());
}

INSTANTIATE_TEST_SUITE_P(TerminationSignals, ProgramEndTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
    [](const ::testing::TestParamInfo<int>& info) { return std::string(::sigabbrev_np(info.param)); });

TEST(ProgramEndWinKeyTest, aSignalClearsTheWinKeyBufferAndLeavesHostMode)
{
    test::TempFolder temp;
    test::PtyPair pair(temp.path());
    ASSERT_EQ(pair.failure(), "");
    test::WinKeySimulator winKey(pair.far());
    ASSERT_EQ(winKey.failure(), "");

    ChildProgram child("winkey", pair.near());
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(
        test::WinKeySimulator::waitFor([&] { return winKey.isHostOpen() && !winKey.bufferedText().empty(); }, 60s))
        << "the child handed the keyer no text";

    child.signal(SIGTERM);
    EXPECT_EQ(child.waitForEnd(), 128 + SIGTERM);

    ASSERT_TRUE(test::WinKeySimulator::waitFor([&] { return !winKey.isHostOpen(); }, 10s));
    EXPECT_EQ(winKey.bufferedText(), "") << "the keyer would go on keying what it held";
    const std::string received = winKey.received();
    EXPECT_EQ(received.substr(received.size() - 3), std::string("\x0A\x00\x03", 3));
    const std::string folder = child.reportAfter("folder ");
    if (!folder.empty()) {
        std::filesystem::remove_all(std::filesystem::path(folder).parent_path());
    }
}

} // namespace
} // namespace brindle
