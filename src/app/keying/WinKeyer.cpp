#include "WinKeyer.h"

namespace brindle {

namespace {

// How often an opening looks at the time while it waits for the keyer's answers.
constexpr int OpeningTickMs = 50;

} // namespace

const LineSettings WinKeyer::KeyerLine { 1200, 'N', 8, 2 };

WinKeyer::WinKeyer(PortDeviceLookup deviceFor, QObject* parent)
    : QObject(parent)
    , m_port(std::move(deviceFor))
{
    m_clock.start();
    m_openingTimer.setInterval(OpeningTickMs);
    connect(&m_openingTimer, &QTimer::timeout, this, &WinKeyer::tickOpening);
    m_port.onDataArrived([this] { receive(); });
    m_port.onClosedByItself([this](const Error& reason) { loseKeyer(reason.description); });
}

WinKeyer::~WinKeyer()
{
    const QSignalBlocker quiet(this);
    close();
}

std::int64_t WinKeyer::nowMs() const
{
    return m_clock.elapsed();
}

void WinKeyer::open(int portNumber)
{
    if (m_protocol.isOpen()) {
        m_protocol.beginOpen(nowMs());
        emit openFinished(WinKeyOpenOutcome::AlreadyOpen);
        return;
    }
    if (m_protocol.isOpening()) {
        return; // the opening under way reports for both
    }
    m_failure.clear();
    m_port.close();
    m_port.setPortNumber(portNumber);
    m_port.setLineSettings(KeyerLine);
    m_port.setHandshaking(Handshaking::None);
    // The keyer draws its power from DTR on some adapters; RTS stays down so that no interface that
    // keys on it sends a carrier.
    (void)m_port.setDtr(true);
    (void)m_port.setRts(false);
    if (Status opened = m_port.open(); !opened) {
        m_failure = opened.error().description;
        m_protocol.failOpen(WinKeyOpenOutcome::ComOpenFailed);
        emit openFinished(WinKeyOpenOutcome::ComOpenFailed);
        return;
    }
    // Whatever the keyer said before it was asked anything is no answer to this opening.
    (void)m_port.readAll();
    m_protocol.beginOpen(nowMs());
    m_openingTimer.start();
    writeOutput();
}

void WinKeyer::close()
{
    const bool wasOpening = m_protocol.isOpening();
    m_openingTimer.stop();
    m_protocol.close();
    if (const std::string bytes = m_protocol.takeOutput(); !bytes.empty() && m_port.isOpen()) {
        (void)m_port.write(bytes);
        m_port.flush();
    }
    m_port.close();
    noticeStatus();
    emit closed();
    // Whoever waits on the opening learns that it will not come.
    if (wasOpening) {
        emit openFinished(WinKeyOpenOutcome::NotOpen);
    }
}

bool WinKeyer::isOpen() const
{
    return m_protocol.isOpen();
}

bool WinKeyer::isOpening() const
{
    return m_protocol.isOpening();
}

int WinKeyer::version() const
{
    return m_protocol.version();
}

int WinKeyer::status() const
{
    return m_protocol.isOpen() ? m_protocol.status() : 0;
}

int WinKeyer::portNumber() const
{
    return m_port.portNumber();
}

std::string WinKeyer::takeEchoes()
{
    return m_protocol.takeEchoes();
}

void WinKeyer::receive()
{
    const std::string bytes = m_port.readAll();
    if (bytes.empty()) {
        return;
    }
    m_protocol.receive(bytes, nowMs());
    writeOutput();
    finishOpeningIfEnded();
    noticeStatus();
}

void WinKeyer::tickOpening()
{
    m_protocol.tick(nowMs());
    finishOpeningIfEnded();
}

void WinKeyer::finishOpeningIfEnded()
{
    if (!m_openingTimer.isActive() || m_protocol.isOpening()) {
        return;
    }
    m_openingTimer.stop();
    const WinKeyOpenOutcome outcome = m_protocol.openOutcome().value_or(WinKeyOpenOutcome::NotOpen);
    if (outcome != WinKeyOpenOutcome::Success) {
        m_port.close();
    }
    emit openFinished(outcome);
}

void WinKeyer::writeOutput()
{
    const std::string bytes = m_protocol.takeOutput();
    if (bytes.empty()) {
        return;
    }
    Status written = m_port.write(bytes);
    if (!written) {
        loseKeyer(written.error().description);
        return;
    }
    m_port.flush();
}

void WinKeyer::loseKeyer(const std::string& reason)
{
    if (!m_protocol.isOpen() && !m_protocol.isOpening()) {
        return;
    }
    m_failure = reason;
    const bool wasOpening = m_protocol.isOpening();
    m_openingTimer.stop();
    if (wasOpening) {
        m_protocol.failOpen(WinKeyOpenOutcome::ComOpenFailed);
    } else {
        m_protocol.close();
        (void)m_protocol.takeOutput(); // there is no port left to say goodbye on
    }
    m_port.close();
    noticeStatus();
    if (wasOpening) {
        emit openFinished(WinKeyOpenOutcome::ComOpenFailed);
    } else {
        emit lost(QString::fromStdString(reason));
    }
}

void WinKeyer::noticeStatus()
{
    const int now = status();
    if (now != m_reportedStatus) {
        m_reportedStatus = now;
        emit statusChanged(now);
    }
}

void WinKeyer::queueCharacter(char code)
{
    m_protocol.sendCharacter(code);
    writeOutput();
}

void WinKeyer::clearBuffer()
{
    m_protocol.clearBuffer();
    writeOutput();
}

void WinKeyer::backspace()
{
    m_protocol.backspace();
    writeOutput();
}

void WinKeyer::requestStatus()
{
    m_protocol.requestStatus();
    writeOutput();
}

void WinKeyer::setSpeed(std::uint8_t wordsPerMinute)
{
    m_protocol.setSpeed(wordsPerMinute);
    writeOutput();
}

void WinKeyer::setWeight(std::uint8_t weight)
{
    m_protocol.setWeight(weight);
    writeOutput();
}

void WinKeyer::setPttLeadTail(std::uint8_t leadIn, std::uint8_t tail)
{
    m_protocol.setLeadInAndTail(leadIn, tail);
    writeOutput();
}

void WinKeyer::setDitDahRatio(std::uint8_t ratio)
{
    m_protocol.setRatio(ratio);
    writeOutput();
}

void WinKeyer::setPinConfig(std::uint8_t pins)
{
    m_protocol.setPinConfiguration(pins);
    writeOutput();
}

void WinKeyer::setKeyerMode(std::uint8_t mode)
{
    m_protocol.setMode(mode);
    writeOutput();
}

} // namespace brindle
