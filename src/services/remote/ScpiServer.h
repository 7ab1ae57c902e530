#pragma once

#include "listen/ListenAddress.h"
#include "remote/RemoteChannels.h"
#include "remote/RemoteInstrument.h"

#include <QObject>
#include <QTcpServer>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ScpiConnection;

// The remote-control server: a bounded number of clients, each with its own
// session, on the thread the server lives on and never blocking it.
// Commands from all clients run in the order they arrive, each to the channel
// it names or its client selected.
class ScpiServer : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultMaxClients = 4;
    static constexpr std::size_t kMaxLineLength = 1024;
    // A program file sent as a block, no larger than a program file is read.
    static constexpr std::size_t kMaxBlockLength = 1 << 20;

    // The channels' instruments must outlive the server.
    ScpiServer(RemoteChannels channels, std::string programVersion, QObject* parent = nullptr);

    // A client over maxClients is told why and closed; one that sends
    // nothing for idle is closed (never when idle is zero).
    void setLimits(int maxClients, std::chrono::milliseconds idle);
    // Where clients' PROGram:LOAD finds programs by name.
    void setProgramsFolder(const QString& folder) { programsFolder_ = folder; }

    // False when the address cannot be listened on; errorMessage() says why.
    bool listen(const ListenAddress& address);
    // Stops listening and drops every client.
    void close();

    quint16 serverPort() const { return server_.serverPort(); }
    int clientCount() const { return static_cast<int>(connections_.size()); }
    const std::string& errorMessage() const { return errorMessage_; }

    // The commands first..last of the channel's frame may never have reached
    // the supply, for the reason given; the clients that sent them are told.
    void commandsDropped(Quantity frame, std::uint64_t first, std::uint64_t last, std::size_t channel = 1,
        RemoteInstrument::SetResult why = RemoteInstrument::SetResult::NotConnected);
    // The channel's output switch had to carry a voltage setpoint that was
    // not known; every client is told the value sent.
    void unknownSetpointSent(double volts, std::size_t channel = 1);
    void switchRefused(std::uint64_t client, RemoteInstrument::SetResult why, std::size_t channel = 1);
    // A supply's regulation, reading or link may have changed: every
    // client's status registers take the new conditions.
    void sampleConditions();
    // After each reply of a supply: waits for completion may be over.
    void supplyReplied();

signals:
    void clientCountChanged(int count);

private:
    void acceptClients();
    void forget(ScpiConnection* connection);
    void refuse(QTcpSocket* socket) const;

    RemoteChannels channels_;
    std::string programVersion_;
    QTcpServer server_;
    std::vector<ScpiConnection*> connections_;
    std::string errorMessage_;
    int maxClients_ = kDefaultMaxClients;
    // Each client's number, never reused, so a program knows its owner.
    std::uint64_t lastClient_ = 0;
    std::chrono::milliseconds idle_{0};
    QString programsFolder_;
};
