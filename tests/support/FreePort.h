#pragma once

#include <QTcpServer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

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

// A plain socket listening on a loopback port of the system's choice, for a peer the test plays on a thread
// of its own (where no Qt event loop runs); the port it got goes to port. -1 when none could be had.
inline int listenOnLoopback(int& port)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 || ::listen(listener, 1) != 0) {
        return -1;
    }
    port = ntohs(address.sin_port);
    return listener;
}

} // namespace brindle::test
