#pragma once

#include <QTcpServer>

#include <chrono>

// The metrics server's socket. The HTTP library sets no bounds of its own,
// so each connection is watched here before it reads: at most kMostClients
// at once, at most kLongestRequest bytes received since the last answer
// went out, at most kMostUnsent bytes of answers waiting for a client that
// does not read, and closed after kIdle without a byte.
class MetricsListener : public QTcpServer {
public:
    static constexpr int kMostClients = 8;
    static constexpr qint64 kLongestRequest = qint64{8} * 1024;
    static constexpr qint64 kMostUnsent = qint64{1024} * 1024;
    static constexpr std::chrono::seconds kIdle{60};

    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void watch(QTcpSocket* socket);

    int open_ = 0;
};
