#pragma once

#include <QHostAddress>
#include <QTcpServer>

// A loopback port nothing listens on now, for a server a test starts.
inline quint16 freeTcpPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
