#include "support/WinKeySimulator.h"
#include "support/ByteString.h"
#include "support/PtyPair.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace brindle {
namespace {

using namespace std::chrono_literals;
using test::WinKeySimulator;
using test::bytes;

const std::string EchoTest = bytes({ 0x13, 0x13, 0x13, 0x00, 0x04, 0x55 });
const std::string HostOpen = bytes({ 0x00, 0x02 });
const std::string Pause = bytes({ 0x06, 0x01 });
const std::string Resume = bytes({ 0x06, 0x00 });
const std::string Clear = bytes({ 0x0A });

// The host's end of the line, as plain as the driver's port will be: raw, non-blocking.
class HostEnd
{
public:
    explicit HostEnd(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
        termios settings {};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &settings) == 0) {
            ::cfmakeraw(&settings);
            ::tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    ~HostEnd()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    HostEnd(const HostEnd&) = delete;
    HostEnd& operator=(const HostEnd&) = delete;

    bool isOpen() const
    {
        return m_fd >= 0;
    }

    void write(std::string_view out)
    {
        while (!out.empty()) {
            const ssize_t written = ::write(m_fd, out.data(), out.size());
            if (written > 0) {
                out.remove_prefix(static_cast<std::size_t>(written));
            } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                ADD_FAILURE() << "the host end cannot write: " << std::strerror(errno);
                return;
            } else {
                pollfd watched { m_fd, POLLOUT, 0 };
                ::poll(&watched, 1, 100);
            }
        }
    }

    // What the keyer wrote from now until `done` holds of it, or until the timeout when it never does.
    std::string readUntil(const std::function<bool(const std::string&)>& done, std::chrono::milliseconds timeout = 5s)
    {
        std::string got;
        const auto giveUp = std::chrono::steady_clock::now() + timeout;
        while (!done(got) && std::chrono::steady_clock::now() < giveUp) {
            pollfd watched { m_fd, POLLIN, 0 };
            if (::poll(&watched, 1, 5) > 0) {
                char chunk[256];
                const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
                if (n > 0) {
                    got.append(chunk, static_cast<std::size_t>(n));
                }
            }
        }
        return got;
    }
    std::string readBytes(std::size_t count)
    {
        return readUntil([count](const std::string& got) { return got.size() >= count; });
    }
    // Up to and including the first `last`.
    std::string readThrough(char last)
    {
        return readUntil([last](const std::string& got) { return got.find(last) != std::string::npos; });
    }
    // Everything that arrives within the period: for showing that nothing does.
    std::string readFor(std::chrono::milliseconds period)
    {
        return readUntil([](const std::string&) { return false; }, period);
    }

private:
    int m_fd;
};

class WinKeySimulatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(pair.failure(), "");
        host.emplace(pair.near());
        ASSERT_TRUE(host->isOpen());
        keyer.emplace(pair.far());
        ASSERT_EQ(keyer->failure(), "");
    }

    // The driver's opening, answered.
    void open()
    {
        host->write(EchoTest);
        ASSERT_EQ(host->readBytes(1), "\x55");
        host->write(HostOpen);
        ASSERT_EQ(host->readBytes(1), bytes({ WinKeySimulator::DefaultRevision }));
        ASSERT_TRUE(keyer->isHostOpen());
    }

    // Until the keyer has taken in everything written so far.
    void settle(std::size_t writtenSoFar)
    {
        ASSERT_TRUE(WinKeySimulator::waitFor([&] { return keyer->received().size() >= writtenSoFar; }, 5s));
    }

    test::TempFolder temp;
    test::PtyPair pair { temp.path() };
    std::optional<HostEnd> host;
    std::optional<WinKeySimulator> keyer;
};

struct OpeningCase
{
    const char* what;
    std::function<void(WinKeySimulator&)> fault;
    std::string echoAnswer; // empty: nothing arrives
    std::string openAnswer;
    bool hostOpen;
};

TEST_F(WinKeySimulatorTest, AnswersTheOpeningOrFailsItAsTheTestAsks)
{
    const OpeningCase cases[] = {
        { "answers", [](WinKeySimulator&) {}, "\x55", bytes({ 23 }), true },
        { "revision 0", [](WinKeySimulator& k) { k.setRevision(0); }, "\x55", bytes({ 0 }), true },
        { "silent", [](WinKeySimulator& k) { k.setSilent(true); }, "", "", false },
        { "wrong echo", [](WinKeySimulator& k) { k.setWrongEcho(true); }, "\x54", bytes({ 23 }), true },
        { "no revision", [](WinKeySimulator& k) { k.setNoRevision(true); }, "\x55", "", false },
        { "late", [](WinKeySimulator& k) { k.setAnswerDelayMs(300); }, "\x55", bytes({ 23 }), true },
    };
    for (const OpeningCase& c : cases) {
        keyer.emplace(pair.far());
        c.fault(*keyer);
        const auto asked = std::chrono::steady_clock::now();
        host->write(EchoTest);
        EXPECT_EQ(c.echoAnswer.empty() ? host->readFor(300ms) : host->readBytes(1), c.echoAnswer) << c.what;
        const auto answered = std::chrono::steady_clock::now();
        host->write(HostOpen);
        EXPECT_EQ(c.openAnswer.empty() ? host->readFor(300ms) : host->readBytes(1), c.openAnswer) << c.what;
        EXPECT_EQ(keyer->isHostOpen(), c.hostOpen) << c.what;
        EXPECT_EQ(keyer->received(), EchoTest + HostOpen) << c.what;
        if (std::string_view(c.what) == "late") {
            EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(answered - asked).count(), 300)
                << "a late answer never comes early";
        }
    }
}

TEST_F(WinKeySimulatorTest, KeysCharactersOneAtATimeEchoingEachBetweenBusyAndIdle)
{
    keyer->setCharacterMs(20);
    open();
    host->write("CQ");
    EXPECT_EQ(host->readThrough('\xC0'), bytes({ 0xC4 }) + "CQ" + bytes({ 0xC0 }));
    EXPECT_EQ(keyer->sentText(), "CQ");
    EXPECT_EQ(keyer->bufferedText(), "");
}

TEST_F(WinKeySimulatorTest, ReportsXoffWhileTheBufferIsAboveTheThreshold)
{
    keyer->setCharacterMs(5);
    keyer->setXoffThreshold(3);
    open();
    // Paused, the buffer fills to six with nothing keyed: busy, then XOFF once it holds more than three.
    host->write(Pause + "ABCDEF");
    EXPECT_EQ(host->readThrough('\xC5').back(), '\xC5');
    EXPECT_EQ(keyer->bufferedText(), "ABCDEF");
    // A and B leave five, then four; when C is taken three are left and XOFF clears.
    host->write(Resume);
    EXPECT_EQ(host->readThrough('\xC0'), "AB" + bytes({ 0xC4 }) + "CDEF" + bytes({ 0xC0 }));
}

TEST_F(WinKeySimulatorTest, HeldXoffKeepsTheKeyerFromSendingAndAFullBufferDropsTheRest)
{
    keyer->setCharacterMs(1);
    open();
    keyer->holdXoff(true);
    EXPECT_EQ(host->readBytes(1), "\xC1");
    host->write(std::string(140, 'E'));
    EXPECT_EQ(host->readBytes(1), "\xC5");
    EXPECT_EQ(host->readFor(100ms), "") << "nothing is keyed while XOFF is held";
    EXPECT_EQ(keyer->bufferedText(), std::string(WinKeySimulator::BufferCapacity, 'E'));
    EXPECT_EQ(keyer->droppedCharacters(), 140 - WinKeySimulator::BufferCapacity);

    keyer->holdXoff(false);
    // XOFF clears when the 43rd character is taken, leaving 85: two-thirds of the buffer.
    EXPECT_EQ(host->readThrough('\xC0'), std::string(42, 'E') + "\xC4" + std::string(86, 'E') + "\xC0");
    EXPECT_EQ(keyer->sentText(), std::string(WinKeySimulator::BufferCapacity, 'E'));
}

struct EditCase
{
    const char* what;
    std::string written;
    std::string buffered;
    int clears;
    int backspaces;
};

TEST_F(WinKeySimulatorTest, BackspaceTakesBackTheLastUnsentCharacterAndClearDropsThemAll)
{
    const EditCase cases[] = {
        { "backspace", Pause + "ABC" + bytes({ 0x08 }), "AB", 0, 1 },
        { "backspace on nothing", Pause + bytes({ 0x08 }) + "A", "A", 0, 1 },
        { "clear", Pause + "ABC" + Clear + "D", "D", 1, 0 },
    };
    for (const EditCase& c : cases) {
        keyer.emplace(pair.far());
        open();
        host->write(c.written);
        settle(EchoTest.size() + HostOpen.size() + c.written.size());
        EXPECT_EQ(keyer->bufferedText(), c.buffered) << c.what;
        EXPECT_EQ(keyer->clearCount(), c.clears) << c.what;
        EXPECT_EQ(keyer->backspaceCount(), c.backspaces) << c.what;
        host->readFor(20ms);
    }
}

TEST_F(WinKeySimulatorTest, ClearStopsTheCharacterBeingKeyed)
{
    keyer->setCharacterMs(60'000);
    open();
    host->write("AB");
    EXPECT_EQ(host->readBytes(1), "\xC4");
    host->write(Clear);
    EXPECT_EQ(host->readBytes(1), "\xC0");
    EXPECT_EQ(keyer->sentText(), "");
    EXPECT_EQ(keyer->bufferedText(), "");
}

struct ParameterCase
{
    const char* what;
    std::string command;
    std::function<int(const WinKeySimulator&)> value; // none: the command changes nothing the keyer shows
    int expected;
};

TEST_F(WinKeySimulatorTest, ParametersAreNeverTakenForCharacters)
{
    // Before host open the keyer hears only admin commands.
    host->write(bytes({ 0x02, 0x41 }) + "E");
    std::size_t written = 3;
    settle(written);
    open();
    written += EchoTest.size() + HostOpen.size();
    EXPECT_EQ(keyer->speed(), WinKeySimulator::DefaultSpeed);
    EXPECT_EQ(keyer->bufferedText(), "");

    std::string defaults;
    for (char c = 'A'; c <= 'O'; ++c) {
        defaults += c;
    }
    const auto speed = [](const WinKeySimulator& k) { return k.speed(); };
    const ParameterCase cases[] = {
        { "speed", bytes({ 0x02, 'A' }), speed, 'A' },
        { "weight", bytes({ 0x03, 'A' }), [](const WinKeySimulator& k) { return k.weight(); }, 'A' },
        { "lead-in", bytes({ 0x04, 'A', 'B' }), [](const WinKeySimulator& k) { return k.leadIn(); }, 'A' },
        { "tail", bytes({ 0x04, 'A', 'B' }), [](const WinKeySimulator& k) { return k.tail(); }, 'B' },
        { "ratio", bytes({ 0x17, 'A' }), [](const WinKeySimulator& k) { return k.ratio(); }, 'A' },
        { "pins", bytes({ 0x09, 'A' }), [](const WinKeySimulator& k) { return k.pinConfiguration(); }, 'A' },
        { "mode", bytes({ 0x0E, 'A' }), [](const WinKeySimulator& k) { return k.mode(); }, 'A' },
        { "defaults' mode", "\x0F" + defaults, [](const WinKeySimulator& k) { return k.mode(); }, 'A' },
        { "defaults' speed", "\x0F" + defaults, speed, 'B' },
        { "defaults' pins", "\x0F" + defaults, [](const WinKeySimulator& k) { return k.pinConfiguration(); }, 'N' },
        { "sidetone", bytes({ 0x01, 'A' }), {}, 0 },
        { "pot setup", bytes({ 0x05, 'A', 'B', 'C' }), {}, 0 },
        { "pointer", bytes({ 0x16, 0x01, 'A', 0x16, 0x00 }), {}, 0 },
        { "one-byte settings", bytes({ 0x0C, 'A', 0x0D, 'A', 0x10, 'A', 0x11, 'A', 0x12, 'A', 0x18, 'A' }), {}, 0 },
        { "buffered", bytes({ 0x19, 'A', 0x1A, 'A', 0x1C, 'A', 0x1D, 'A', 0x1E, 0x1F }), {}, 0 },
        { "admin", bytes({ 0x00, 0x00, 'A', 0x00, 0x0E, 'A', 0x00, 0x0A, 0x00, 0x0B }), {}, 0 },
    };
    for (const ParameterCase& c : cases) {
        // Paused, so that the marker stays in the buffer, and the buffer cleared after each case.
        const std::string out = Pause + c.command + "Z";
        host->write(out);
        settle(written += out.size());
        EXPECT_EQ(keyer->bufferedText(), "Z") << c.what;
        if (c.value) {
            EXPECT_EQ(c.value(*keyer), c.expected) << c.what;
        }
        host->write(Clear);
        settle(written += Clear.size());
    }
    EXPECT_EQ(keyer->droppedCharacters(), 0);
}

TEST_F(WinKeySimulatorTest, StatusPotAndPaddleBreakInReachTheHost)
{
    open();
    host->write(bytes({ 0x15 }));
    EXPECT_EQ(host->readBytes(1), "\xC0");
    EXPECT_EQ(keyer->statusRequests(), 1);

    keyer->turnSpeedPot(12);
    EXPECT_EQ(host->readBytes(1), bytes({ 0x80 | 12 }));
    host->write(bytes({ 0x07 }));
    EXPECT_EQ(host->readBytes(1), bytes({ 0x80 | 12 }));

    host->write(Pause + "TEST");
    EXPECT_EQ(host->readBytes(1), "\xC4");
    keyer->pressPaddles(30);
    EXPECT_EQ(host->readBytes(2), "\xC6\xC0") << "break-in and busy, then idle with nothing left to send";
    host->write(Resume);
    EXPECT_EQ(host->readFor(100ms), "");
    EXPECT_EQ(keyer->sentText(), "");
}

TEST_F(WinKeySimulatorTest, AStoppedOrUnpluggedKeyerAnswersNothingAndStopsCleanly)
{
    open();
    keyer->stop();
    host->write(EchoTest);
    EXPECT_EQ(host->readFor(200ms), "");

    keyer.emplace(pair.far());
    keyer->setCharacterMs(50);
    host->write(EchoTest + HostOpen + "TEST");
    ASSERT_EQ(host->readBytes(2).substr(0, 2), bytes({ 0x55, WinKeySimulator::DefaultRevision }));
    // Pulled out halfway through the word: the keyer's writes fail and its line hangs up under it.
    pair.stop();
    std::this_thread::sleep_for(50ms);
    keyer->stop();
}

} // namespace
} // namespace brindle
