#pragma once

#include "keying/WinKeyProtocol.h"
#include "serial/QtSerialPort.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <string>

namespace brindle {

// The WinKey keyer on a serial port: the host protocol's bytes moved by the event loop as they come,
// and its opening's waits driven by a timer, so that nothing here ever holds up the windows.
//
// The keyer reports its status by itself whenever it changes; status() is always the latest report.
// A keyer that goes away while open (an unplugged adapter) is noticed at the port's next read or
// write error: lost() says so once, and the keyer is closed until it is opened again.
class WinKeyer final : public QObject
{
    Q_OBJECT

public:
    // The serial line the keyer speaks: 1200 baud, 8 data bits, no parity, 2 stop bits.
    static const LineSettings KeyerLine;

    explicit WinKeyer(PortDeviceLookup deviceFor, QObject* parent = nullptr);
    ~WinKeyer() override;
    WinKeyer(const WinKeyer&) = delete;
    WinKeyer& operator=(const WinKeyer&) = delete;

    // Starts opening the keyer on a serial port. openFinished() tells how it ended: at once for a keyer
    // already open or a port that cannot be opened, otherwise when the keyer answers or its time is up.
    void open(int portNumber);
    // Ends host mode and releases the port; an opening under way ends as NotOpen.
    void close();

    bool isOpen() const;
    bool isOpening() const;
    // The keyer's version; 0 while closed.
    int version() const;
    // The low five bits of the keyer's latest status: 0 idle, above 0 busy (winKeyRefusesCharacters()
    // tells when it takes no more). 0 while closed.
    int status() const;
    int portNumber() const;
    // Why the port of the last opening could not be opened, or why the keyer was lost.
    const std::string& failure() const
    {
        return m_failure;
    }
    // Characters the keyer echoed as it sent them, oldest first.
    std::string takeEchoes();

    // Commands; they go to the keyer at once, and only while it is open.
    void queueCharacter(char code);
    void clearBuffer();
    void backspace();
    void requestStatus();
    void setSpeed(std::uint8_t wordsPerMinute);
    void setWeight(std::uint8_t weight);
    void setPttLeadTail(std::uint8_t leadIn, std::uint8_t tail);
    void setDitDahRatio(std::uint8_t ratio);
    void setPinConfig(std::uint8_t pins);
    void setKeyerMode(std::uint8_t mode);

signals:
    void openFinished(WinKeyOpenOutcome outcome);
    void statusChanged(int status);
    // The keyer was open and its port failed: it is closed now.
    void lost(const QString& reason);
    void closed();

private:
    std::int64_t nowMs() const;
    void receive();
    void tickOpening();
    void finishOpeningIfEnded();
    void writeOutput();
    void loseKeyer(const std::string& reason);
    void noticeStatus();

    QtSerialPort m_port;
    WinKeyProtocol m_protocol;
    QTimer m_openingTimer;
    QElapsedTimer m_clock;
    std::string m_failure;
    int m_reportedStatus = 0;
};

} // namespace brindle
