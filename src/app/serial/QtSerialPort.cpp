#include "QtSerialPort.h"

#include "common/QtText.h"

#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>
#include <utility>

#include <cerrno>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace brindle {

namespace {

std::string systemMessage(int error)
{
    return std::generic_category().message(error);
}

// The devices this program has open, by their real path. A second window asking for one of them is
// told so, instead of being sent to look for another program. The CW port is opened on the keying
// thread while the windows open theirs, hence the lock.
class DevicesOpenHere
{
public:
    bool contains(const std::string& device)
    {
        std::lock_guard lock(m_mutex);
        return m_devices.contains(device);
    }
    void insert(const std::string& device)
    {
        std::lock_guard lock(m_mutex);
        m_devices.insert(device);
    }
    void erase(const std::string& device)
    {
        std::lock_guard lock(m_mutex);
        m_devices.erase(device);
    }

private:
    std::mutex m_mutex;
    std::set<std::string> m_devices;
};

DevicesOpenHere& devicesOpenHere()
{
    static DevicesOpenHere devices;
    return devices;
}

std::string realPath(const std::string& device)
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::canonical(device, error);
    return error ? device : path.string();
}

// The group whose members may use the device: dialout for serial ports on Debian. Root's own group is
// no advice to give, so it names dialout too.
std::string deviceGroup(const std::string& device)
{
    struct stat status
    {
    };
    if (::stat(device.c_str(), &status) == 0 && status.st_gid != 0) {
        if (const group* found = ::getgrgid(status.st_gid)) {
            return found->gr_name;
        }
    }
    return "dialout";
}

bool isPseudoTerminal(const std::string& device)
{
    // The device numbers Linux gives the far sides of pseudo-terminals, /dev/pts/N.
    constexpr unsigned FirstPtsMajor = 136;
    constexpr unsigned LastPtsMajor = 143;
    struct stat status
    {
    };
    return ::stat(device.c_str(), &status) == 0 && S_ISCHR(status.st_mode) && major(status.st_rdev) >= FirstPtsMajor
        && major(status.st_rdev) <= LastPtsMajor;
}

QSerialPort::Parity parityOf(char parity)
{
    switch (parity) {
    case 'O':
        return QSerialPort::OddParity;
    case 'E':
        return QSerialPort::EvenParity;
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::FlowControl flowControlOf(Handshaking handshaking)
{
    switch (handshaking) {
    case Handshaking::XonXoff:
        return QSerialPort::SoftwareControl;
    // QSerialPort does one kind of handshaking at a time. For "both" it keeps RTS/CTS: the device's
    // stops on CTS are still obeyed, while XON/XOFF would take every 0x11 and 0x13 out of the binary
    // replies of a rig or a TNC.
    case Handshaking::RtsCts:
    case Handshaking::Both:
        return QSerialPort::HardwareControl;
    case Handshaking::None:
        break;
    }
    return QSerialPort::NoFlowControl;
}

Error noPortChosen()
{
    return Error { "No serial port is chosen: give the port a number from 1 up." };
}

std::string describe(const LineSettings& settings)
{
    return std::to_string(settings.baud) + "," + settings.parity + "," + std::to_string(settings.dataBits) + ","
        + std::to_string(settings.stopBits);
}

} // namespace

std::size_t systemOutputQueue(int handle)
{
    int queued = 0;
    if (handle < 0 || ::ioctl(handle, TIOCOUTQ, &queued) != 0 || queued < 0) {
        return 0;
    }
    return static_cast<std::size_t>(queued);
}

QtSerialPort::QtSerialPort(PortDeviceLookup deviceFor)
    : m_deviceFor(std::move(deviceFor))
{
    // Queued: a device that went away is closed from the event loop, never from inside QSerialPort's
    // own read or write handling, whose notifiers the close deletes.
    QObject::connect(
        &m_port, &QSerialPort::errorOccurred, &m_port,
        [this](QSerialPort::SerialPortError error) { noticeError(error); }, Qt::QueuedConnection);
}

QtSerialPort::~QtSerialPort()
{
    closePort();
}

void QtSerialPort::setPortNumber(int number)
{
    m_number = number;
}

int QtSerialPort::portNumber() const
{
    return m_number;
}

void QtSerialPort::setLineSettings(const LineSettings& settings)
{
    m_lineSettings = settings;
    if (isOpen()) {
        if (Status applied = applySettings(); !applied) {
            closeBecause(applied.error());
        }
    }
}

void QtSerialPort::setLinesOnly(bool linesOnly)
{
    m_linesOnly = linesOnly;
}

void QtSerialPort::setHandshaking(Handshaking handshaking)
{
    m_handshaking = handshaking;
    if (isOpen()) {
        if (Status applied = applySettings(); !applied) {
            closeBecause(applied.error());
        }
    }
}

Status QtSerialPort::setDtr(bool on)
{
    m_dtr = on;
    if (m_closedBecause) {
        return *m_closedBecause;
    }
    return isOpen() ? switchLines(on ? TIOCM_DTR : 0, on ? 0 : TIOCM_DTR) : Status();
}

Status QtSerialPort::setRts(bool on)
{
    m_rts = on;
    if (m_closedBecause) {
        return *m_closedBecause;
    }
    return isOpen() ? switchLines(on ? TIOCM_RTS : 0, on ? 0 : TIOCM_RTS) : Status();
}

Status QtSerialPort::open()
{
    if (isOpen()) {
        return {};
    }
    m_closedBecause.reset();
    if (m_number < 1) {
        return noPortChosen();
    }
    m_device = m_deviceFor(m_number);
    if (m_device.empty()) {
        return Error { "Port " + std::to_string(m_number) + " stands for no device." };
    }
    m_realDevice = realPath(m_device);
    if (devicesOpenHere().contains(m_realDevice)) {
        return failure("the port is already open in another window of this program");
    }

    // Linux raises DTR and RTS as it opens a serial device, which may key a transmitter until they are
    // set as the owner wants them. QSerialPort's open leaves the lines alone but sets the line settings
    // on the way (twice), and on a USB adapter each change is an exchange with the adapter. So the open
    // asks for what the device is normally left at (9600,N,8,1 without handshaking), which costs the
    // least, the lines follow straight after it, and only then come the owner's settings.
    m_port.setPortName(pathToQString(m_device));
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    const int on = (m_dtr ? TIOCM_DTR : 0) | (m_rts ? TIOCM_RTS : 0);
    const int off = (m_dtr ? 0 : TIOCM_DTR) | (m_rts ? 0 : TIOCM_RTS);
    // Opened for writing only, a keying port's device is read by nobody: the system keeps a few
    // kilobytes of what it sends and drops or holds back the rest, where the program would keep it all.
    if (!m_port.open(m_linesOnly ? QIODevice::WriteOnly : QIODevice::ReadWrite)) {
        return openFailure();
    }
    m_modemLines = true;
    Status opened = switchLines(on, off);
    if (!m_port.isOpen()) {
        m_closedBecause.reset(); // it went away as it opened: the open failed, nothing closed
        return opened;
    }
    devicesOpenHere().insert(m_realDevice);
    m_pseudoTerminal = isPseudoTerminal(m_realDevice);
    // A device without the lines (a pseudo-terminal) still carries data for the rig and TNC links;
    // setDtr and setRts tell their owners that nothing can be keyed there.
    if (opened || !m_modemLines) {
        opened = applySettings();
    }
    if (opened) {
        opened = hangUpOnClose();
    }
    if (!opened) {
        closePort();
    }
    return opened;
}

void QtSerialPort::close()
{
    m_closedBecause.reset();
    closePort();
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen();
}

Status QtSerialPort::write(std::string_view bytes)
{
    if (!isOpen()) {
        return notOpen();
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (m_port.write(bytes.data(), size) != size) {
        return failure(m_port.errorString().toStdString());
    }
    return {};
}

std::size_t QtSerialPort::bytesToWrite() const
{
    if (!isOpen()) {
        return 0;
    }
    // At 1200 baud the driver's queue of a command takes longer to go out than the pauses a rig needs
    // after it: a wait for a quiet line that looked at the program's queue alone would end too soon.
    return static_cast<std::size_t>(m_port.bytesToWrite()) + m_outputQueue(static_cast<int>(m_port.handle()));
}

std::string QtSerialPort::readAll()
{
    if (!isOpen()) {
        return {};
    }
    const QByteArray bytes = m_port.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtSerialPort::setReceiveLimit(std::size_t bytes)
{
    m_port.setReadBufferSize(static_cast<qint64>(bytes));
}

void QtSerialPort::onDataArrived(std::function<void()> handler)
{
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, std::move(handler));
}

void QtSerialPort::onClosedByItself(std::function<void(const Error&)> handler)
{
    m_closedByItself = std::move(handler);
}

void QtSerialPort::flush()
{
    if (isOpen()) {
        m_port.flush();
    }
}

bool QtSerialPort::hasModemLines() const
{
    return m_modemLines;
}

void QtSerialPort::setOutputQueueQuery(OutputQueueQuery query)
{
    m_outputQueue = std::move(query);
}

// With HUPCL the driver drops DTR and RTS when the device's last handle closes, also when the program is
// killed and none of its own steps run: a key or PTT held on a line is let go by the system then.
Status QtSerialPort::hangUpOnClose()
{
    const int handle = static_cast<int>(m_port.handle());
    termios settings {};
    if (::tcgetattr(handle, &settings) != 0) {
        return failure("its settings cannot be read: " + systemMessage(errno));
    }
    if ((settings.c_cflag & HUPCL) != 0) {
        return {};
    }
    settings.c_cflag |= HUPCL;
    if (::tcsetattr(handle, TCSANOW, &settings) != 0) {
        return failure("the lines cannot be set to drop when it closes: " + systemMessage(errno));
    }
    return {};
}

// The lines to drop go first: a line that must be off never waits for another one to change.
Status QtSerialPort::switchLines(int raise, int drop)
{
    const int handle = static_cast<int>(m_port.handle());
    for (const auto& [request, lines] : { std::pair { TIOCMBIC, drop }, std::pair { TIOCMBIS, raise } }) {
        int bits = lines;
        if (bits == 0 || ::ioctl(handle, request, &bits) == 0) {
            continue;
        }
        const int error = errno;
        if (error == ENOTTY || error == EINVAL) {
            m_modemLines = false;
            return failure("this device has no modem-control lines (RTS/DTR)");
        }
        if (deviceGone()) {
            closeBecause(goneAway());
            return *m_closedBecause;
        }
        return failure("RTS and DTR cannot be switched: " + systemMessage(error));
    }
    return {};
}

Status QtSerialPort::applySettings()
{
    bool applied = m_port.setFlowControl(flowControlOf(m_handshaking));
    if (m_lineSettings) {
        const LineSettings& s = *m_lineSettings;
        // A pseudo-terminal (a program standing in for a rig or a TNC) has no wire to frame bytes on: it
        // keeps 8 data bits without parity whatever it is asked, and carries the bytes all the same.
        const bool framed = !m_pseudoTerminal;
        applied = applied && m_port.setBaudRate(s.baud)
            && m_port.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop)
            && (m_port.setDataBits(s.dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8) || !framed)
            && (m_port.setParity(parityOf(s.parity)) || !framed);
    }
    if (applied) {
        return {};
    }
    if (deviceGone()) {
        return goneAway();
    }
    const std::string settings = m_lineSettings ? describe(*m_lineSettings) : std::string("the handshaking");
    return failure("the device does not take " + settings + ": " + m_port.errorString().toStdString());
}

Error QtSerialPort::openFailure() const
{
    switch (m_port.error()) {
    case QSerialPort::PermissionError:
        // The system's refusal, or a lock: QSerialPort tells the two apart only in its wording.
        if (::access(m_device.c_str(), R_OK | W_OK) == -1 && (errno == EACCES || errno == EPERM)) {
            const std::string refusal = systemMessage(errno);
            const std::string group = deviceGroup(m_device);
            return failure(refusal + ": add yourself to the " + group + " group (sudo adduser $USER " + group
                + ", then log in again)");
        }
        return failure("the port is in use by another program");
    case QSerialPort::UnsupportedOperationError:
        return failure("this is not a serial port");
    default:
        return failure(m_port.errorString().toStdString());
    }
}

Error QtSerialPort::failure(std::string_view reason) const
{
    return Error { m_device + ": " + std::string(reason) };
}

Error QtSerialPort::goneAway() const
{
    return failure("the device has gone away (unplugged?); open the port again once it is back");
}

Error QtSerialPort::notOpen() const
{
    if (m_closedBecause) {
        return *m_closedBecause;
    }
    if (m_number < 1) {
        return noPortChosen();
    }
    return Error { m_deviceFor(m_number) + ": the port is not open" };
}

// A device that went away (an unplugged adapter, a pseudo-terminal whose other side closed) is hung up,
// and every call on it fails with EIO from then on.
bool QtSerialPort::deviceGone() const
{
    termios settings {};
    return m_port.isOpen() && ::tcgetattr(static_cast<int>(m_port.handle()), &settings) == -1 && errno == EIO;
}

void QtSerialPort::closeBecause(Error reason)
{
    closePort();
    m_closedBecause = std::move(reason);
}

void QtSerialPort::closePort()
{
    if (m_port.isOpen()) {
        m_port.close();
        devicesOpenHere().erase(m_realDevice);
    }
}

void QtSerialPort::noticeError(QSerialPort::SerialPortError error)
{
    const bool transferFailed
        = error == QSerialPort::ReadError || error == QSerialPort::WriteError || error == QSerialPort::ResourceError;
    if (transferFailed && deviceGone()) {
        closeBecause(goneAway());
        if (m_closedByItself) {
            m_closedByItself(*m_closedBecause);
        }
    }
}

} // namespace brindle
