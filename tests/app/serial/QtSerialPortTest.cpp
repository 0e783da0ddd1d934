#include "serial/QtSerialPort.h"

#include "keying/KeyingLines.h"
#include "serial/PortMap.h"
#include "support/PtyPair.h"
#include "support/TempFolder.h"

#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace brindle {
namespace {

// A zero byte at each end and in the middle, and the XON and XOFF bytes a handshake would swallow.
constexpr char EveryKindOfByteText[] = "\0CQ\x11\x13\0\xFF\x80 TEST\0";
const std::string EveryKindOfByte(EveryKindOfByteText, sizeof EveryKindOfByteText - 1);

// Port 1 of a map that sends it to the near end of a pseudo-terminal pair, as the Serial Ports window
// sends it to an adapter.
class QtSerialPortTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(pair->failure(), "");
        map.setPortDevice(1, pair->near());
        port.setPortNumber(1);
    }

    // What the port has received once count bytes have come, the event loop running meanwhile.
    std::string readPort(std::size_t count)
    {
        return collect(count, [this] { return port.readAll(); });
    }
    // What the far end has received once count bytes have come, the port sending from the event loop.
    std::string readFar(std::size_t count)
    {
        return collect(count, [this] { return pair->takeFar(); });
    }
    template <class Take> static std::string collect(std::size_t count, Take take)
    {
        std::string received;
        // What came is compared by the caller, all of it or not.
        (void)QTest::qWaitFor(
            [&] {
                received += take();
                return received.size() >= count;
            },
            10'000);
        return received;
    }

    // The settings of the near end, as the device has them.
    termios nearSettings() const
    {
        termios settings {};
        const int handle = ::open(pair->near().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        EXPECT_GE(handle, 0) << "the settings cannot be read back";
        ::tcgetattr(handle, &settings);
        ::close(handle);
        return settings;
    }

    test::TempFolder temp;
    std::optional<test::PtyPair> pair { std::in_place, temp.path() };
    PortMap map;
    QtSerialPort port { [this](int number) { return map.deviceForPort(number); } };
};

TEST_F(QtSerialPortTest, everyByteValuePassesBothWaysAndReadingNeverWaits)
{
    ASSERT_TRUE(port.open().ok());
    EXPECT_EQ(port.readAll(), "") << "nothing has arrived yet";

    ASSERT_TRUE(port.write(EveryKindOfByte).ok());
    EXPECT_EQ(readFar(EveryKindOfByte.size()), EveryKindOfByte) << "the event loop sends what is queued";
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.bytesToWrite() == 0; }, 10'000));

    ASSERT_TRUE(pair->writeFar(EveryKindOfByte));
    EXPECT_EQ(readPort(EveryKindOfByte.size()), EveryKindOfByte);
    EXPECT_EQ(port.readAll(), "") << "what was read is not read twice";
}

TEST_F(QtSerialPortTest, lineSettingsAndHandshakingReachTheDeviceAtOpenAndWhileOpen)
{
    const struct
    {
        const char* settings;
        Handshaking handshaking;
        speed_t speed;
        bool twoStopBits;
        bool rtsCts;
        bool xonXoff;
    } cases[] = {
        { "4800,N,8,2", Handshaking::None, B4800, true, false, false },
        { "9600,n,8,1", Handshaking::RtsCts, B9600, false, true, false },
        { "38400,N,8,1", Handshaking::XonXoff, B38400, false, false, true },
        { "1200,N,8,2", Handshaking::Both, B1200, true, true, false }, // hardware handshaking keeps every byte
        // A pseudo-terminal has no wire to frame bytes on: it stays at 8 bits without parity, and the
        // rig and TNC links it stands in for work all the same.
        { "19200,E,7,1", Handshaking::None, B19200, false, false, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        port.setLineSettings(parseLineSettings(c.settings).value());
        port.setHandshaking(c.handshaking);
        if (!port.isOpen()) {
            ASSERT_TRUE(port.open().ok());
        }
        ASSERT_TRUE(port.isOpen()) << port.write("").error().description;
        const termios settings = nearSettings();
        EXPECT_EQ(cfgetospeed(&settings), c.speed);
        EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, c.twoStopBits);
        EXPECT_EQ((settings.c_cflag & CRTSCTS) != 0, c.rtsCts);
        EXPECT_EQ((settings.c_iflag & IXON) != 0, c.xonXoff);
    }
}

TEST_F(QtSerialPortTest, aPortThatCannotOpenSaysWhichDeviceAndWhy)
{
    const std::string missing = temp.file("ttyUSB7");
    const std::string plainFile = temp.file("notes.txt");
    test::writeBytes(plainFile, "not a port");
    const struct
    {
        int number;
        std::string device;
        std::string description;
    } cases[] = {
        { 2, missing, missing + ": No such file or directory" },
        { 3, plainFile, plainFile + ": this is not a serial port" },
        { 0, "", "No serial port is chosen: give the port a number from 1 up." },
        { -1, "", "No serial port is chosen: give the port a number from 1 up." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device);
        map.setPortDevice(c.number, c.device);
        port.setPortNumber(c.number);
        const Status opened = port.open();
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error().description, c.description);
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(
            port.write("x").error().description, c.number < 1 ? c.description : c.device + ": the port is not open");
    }
}

TEST_F(QtSerialPortTest, aPortOpenInOneWindowIsRefusedToAnotherUntilClosed)
{
    QtSerialPort rig([this](int number) { return map.deviceForPort(number); });
    rig.setPortNumber(1);
    ASSERT_TRUE(port.open().ok());
    const Status refused = rig.open();
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(
        refused.error().description, pair->near() + ": the port is already open in another window of this program");

    port.close();
    EXPECT_TRUE(rig.open().ok());
}

// With HUPCL the system drops DTR and RTS when the device closes, also when the program is killed and
// runs none of its own closing steps: no key or PTT stays on after it.
TEST_F(QtSerialPortTest, thePortHangsUpWhenItClosesWhateverItsSettings)
{
    ASSERT_EQ(nearSettings().c_cflag & HUPCL, 0u) << "a pseudo-terminal starts without it";
    ASSERT_TRUE(port.open().ok());
    EXPECT_NE(nearSettings().c_cflag & HUPCL, 0u);
    port.setLineSettings(parseLineSettings("1200,N,8,2").value());
    port.setHandshaking(Handshaking::RtsCts);
    EXPECT_NE(nearSettings().c_cflag & HUPCL, 0u) << "settings changed while open keep it";
}

// A rig command at 1200 baud sits in the driver's queue long after the program has handed it over; a
// pseudo-terminal has no wire and no such queue, so the driver's count is stood in for.
TEST_F(QtSerialPortTest, bytesWaitingCountWhatTheDriverStillHoldsForTheWire)
{
    ASSERT_TRUE(port.open().ok());
    ASSERT_TRUE(port.write("FA;").ok());
    port.flush();
    QTRY_COMPARE(port.bytesToWrite(), 0u);
    EXPECT_EQ(readFar(3), "FA;");

    std::size_t driverHolds = 7;
    int askedHandle = -1;
    port.setOutputQueueQuery([&](int handle) {
        askedHandle = handle;
        return driverHolds;
    });
    EXPECT_EQ(port.bytesToWrite(), 7u);
    EXPECT_GE(askedHandle, 0) << "the open device is asked";
    driverHolds = 0;
    EXPECT_EQ(port.bytesToWrite(), 0u);
    port.close();
    driverHolds = 7;
    EXPECT_EQ(port.bytesToWrite(), 0u) << "a closed port sends nothing";
}

TEST(QtSerialPortOutputQueue, theSystemsCountOfAPseudoTerminalOrNoDeviceIsZero)
{
    EXPECT_EQ(systemOutputQueue(-1), 0u);
    test::TempFolder temp;
    test::PtyPair pair(temp.path());
    ASSERT_EQ(pair.failure(), "");
    const int handle = ::open(pair.near().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(handle, 0);
    ASSERT_EQ(::write(handle, "FA;", 3), 3);
    EXPECT_EQ(systemOutputQueue(handle), 0u);
    ::close(handle);
}

namespace {

std::size_t residentBytes()
{
    std::size_t pages = 0;
    std::size_t resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm) {
        (void)std::fscanf(statm, "%zu %zu", &pages, &resident);
        std::fclose(statm);
    }
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

} // namespace

// The CW key's and the PTT's ports are never read: a device that sends on them (a keying interface with
// a chatty chip, a miswired cable) must not fill the program up.
TEST_F(QtSerialPortTest, aKeyingPortDoesNotGrowWithWhatItsDeviceSends)
{
    KeyingLineChoice choice;
    choice.keying = CwKeying::Rts;
    choice.portNumber = 1;
    KeyingLines lines(
        choice, [this] { return std::make_unique<QtSerialPort>([this](int n) { return map.deviceForPort(n); }); },
        [](int) { return std::string(); });
    ASSERT_TRUE(lines.openLine().ok());
    const std::size_t before = residentBytes();

    // The far end sends 32 MiB, or as much as the port takes, until it has waited a quarter of a second
    // without being able to send more.
    std::atomic<bool> done = false;
    std::thread device([&] {
        const int handle = ::open(pair->far().c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        const std::string zeros(64 * 1024, '\0');
        for (std::size_t sent = 0; handle >= 0 && sent < 32u * 1024 * 1024;) {
            const ssize_t written = ::write(handle, zeros.data(), zeros.size());
            if (written > 0) {
                sent += static_cast<std::size_t>(written);
                continue;
            }
            pollfd watched { handle, POLLOUT, 0 };
            if (::poll(&watched, 1, 250) <= 0) {
                break;
            }
        }
        ::close(handle);
        done = true;
    });
    const bool finished = QTest::qWaitFor([&] { return done.load(); }, 60'000);
    device.join();
    ASSERT_TRUE(finished);
    QCoreApplication::processEvents();

    EXPECT_LT(residentBytes(), before + 8u * 1024 * 1024) << "what the device sent was kept";
}

TEST_F(QtSerialPortTest, theModemLinesOfAPseudoTerminalAreReportedMissingWhileDataStillFlows)
{
    EXPECT_TRUE(port.setDtr(true).ok()) << "remembered until the port opens";
    ASSERT_TRUE(port.open().ok()) << "the rig and TNC links need only the data";
    EXPECT_FALSE(port.hasModemLines());
    const std::string noLines = pair->near() + ": this device has no modem-control lines (RTS/DTR)";
    for (const bool on : { true, false }) {
        EXPECT_EQ(port.setRts(on).error().description, noLines);
        EXPECT_EQ(port.setDtr(on).error().description, noLines);
    }
    ASSERT_TRUE(port.write(EveryKindOfByte).ok());
    EXPECT_EQ(readFar(EveryKindOfByte.size()), EveryKindOfByte);

    port.close();
    EXPECT_TRUE(port.setRts(true).ok()) << "remembered for the next open";
}

TEST_F(QtSerialPortTest, aClosedPortRefusesDataAndOpensAgain)
{
    ASSERT_TRUE(port.open().ok());
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.write("x").error().description, pair->near() + ": the port is not open");
    EXPECT_EQ(port.readAll(), "");

    ASSERT_TRUE(port.open().ok());
    ASSERT_TRUE(pair->writeFar(EveryKindOfByte));
    EXPECT_EQ(readPort(EveryKindOfByte.size()), EveryKindOfByte);
}

TEST_F(QtSerialPortTest, aDeviceThatGoesAwayClosesThePortUntilItIsBack)
{
    ASSERT_TRUE(port.open().ok());
    pair->stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.isOpen(); }, 10'000)) << "the loss is noticed";

    const std::string gone
        = pair->near() + ": the device has gone away (unplugged?); open the port again once it is back";
    EXPECT_EQ(port.write("x").error().description, gone);
    EXPECT_EQ(port.setDtr(false).error().description, gone);
    EXPECT_EQ(port.write("x").error().description, gone) << "said until the owner opens the port again";
    EXPECT_EQ(port.open().error().description, pair->near() + ": No such file or directory");

    pair.emplace(temp.path());
    ASSERT_EQ(pair->failure(), "");
    ASSERT_TRUE(port.open().ok());
    ASSERT_TRUE(port.write(EveryKindOfByte).ok());
    EXPECT_EQ(readFar(EveryKindOfByte.size()), EveryKindOfByte);
}

TEST(QtSerialPortDeathTest, aDeviceTheOperatorMayNotUseSaysHowToGetAccess)
{
    test::TempFolder temp;
    ::chmod(temp.path().c_str(), 0755);
    const std::string device = temp.file("ttyS4");
    test::writeBytes(device, "");
    ::chmod(device.c_str(), 0);
    const auto openAsOperator = [&device] {
        // Root may use any device: the operator is played by nobody.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            std::_Exit(2);
        }
        QtSerialPort port([&device](int) { return device; });
        port.setPortNumber(1);
        const Status opened = port.open();
        std::fprintf(stderr, "%s\n", opened ? "opened" : opened.error().description.c_str());
        std::_Exit(opened ? 1 : 0);
    };
    EXPECT_EXIT(openAsOperator(), testing::ExitedWithCode(0),
        device
            + ": Permission denied: add yourself to the [^ ]+ group \\(sudo adduser \\$USER [^ ]+, then log in "
              "again\\)");
}

} // namespace
} // namespace brindle
