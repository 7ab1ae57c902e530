#include "MosquittoBroker.h"

#include "EventLoopWait.h"

#include <QFile>
#include <QStandardPaths>
#include <QTcpSocket>

namespace {

QString broker()
{
    return QStandardPaths::findExecutable(QStringLiteral("mosquitto"), {"/usr/sbin", "/usr/bin", "/usr/local/sbin"});
}

} // namespace

MosquittoBroker::~MosquittoBroker()
{
    process_.kill();
    process_.waitForFinished(5000);
}

bool MosquittoBroker::installed()
{
    return !broker().isEmpty();
}

bool MosquittoBroker::start(const QString& directory, quint16 port)
{
    QFile config(directory + QStringLiteral("/broker.conf"));
    if (!config.open(QIODevice::WriteOnly)) {
        return false;
    }
    config.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous true\n").arg(port).toUtf8());
    config.close();
    process_.start(broker(), {QStringLiteral("-c"), config.fileName()});
    return spinUntil(
        [port] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            return probe.waitForConnected(100);
        },
        std::chrono::seconds(10));
}
