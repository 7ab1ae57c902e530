#include "metrics/MetricsListener.h"

#include <QTcpSocket>
#include <QTimer>

#include <memory>

void MetricsListener::incomingConnection(qintptr descriptor)
{
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor) || open_ >= kMostClients) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    ++open_;
    connect(socket, &QObject::destroyed, this, [this] { --open_; });
    watch(socket);
    addPendingConnection(socket);
}

// Connected before the library's own handlers, so it sees each chunk first.
void MetricsListener::watch(QTcpSocket* socket)
{
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->start(kIdle);
    connect(idle, &QTimer::timeout, socket, &QTcpSocket::abort);
    const auto received = std::make_shared<qint64>(0);
    connect(socket, &QTcpSocket::readyRead, socket, [socket, idle, received] {
        idle->start(kIdle);
        *received += socket->bytesAvailable();
        if (*received > kLongestRequest || socket->bytesToWrite() > kMostUnsent) {
            socket->abort();
        }
    });
    connect(socket, &QTcpSocket::bytesWritten, socket, [idle, received] {
        idle->start(kIdle);
        *received = 0;
    });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}
