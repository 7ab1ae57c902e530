#pragma once

#include <QProcess>
#include <QString>

// Debian's broker on a loopback port of its own, for the run's MQTT.
class MosquittoBroker {
public:
    MosquittoBroker() = default;
    ~MosquittoBroker();
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    static bool installed();
    // Its configuration goes into the directory; false when it does not answer.
    bool start(const QString& directory, quint16 port);

private:
    QProcess process_;
};
