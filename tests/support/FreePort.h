#pragma once

#include <QTcpServer>

namespace brindle::test {

// A loopback port nothing listens on: the system's choice for a listener opened and closed at once.
inline int freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace brindle::test
