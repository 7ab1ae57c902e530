#include "remote/ScpiServer.h"

#include "remote/ScpiConnection.h"

#include <algorithm>
#include <utility>

namespace {

std::string reasonOf(const QTcpServer& server)
{
    switch (server.serverError()) {
    case QAbstractSocket::AddressInUseError:
        return "the port is already in use";
    case QAbstractSocket::SocketAddressNotAvailableError:
        return "the address does not belong to this computer";
    case QAbstractSocket::SocketAccessError:
        return "permission denied (ports below 1024 need privileges)";
    default:
        return server.errorString().toStdString();
    }
}

} // namespace

ScpiServer::ScpiServer(RemoteChannels channels, std::string programVersion, QObject* parent)
    : QObject(parent)
    , channels_(std::move(channels))
    , programVersion_(std::move(programVersion))
    , server_(this)
{
    connect(&server_, &QTcpServer::newConnection, this, &ScpiServer::acceptClients);
}

bool ScpiServer::listen(const ListenAddress& address)
{
    close();
    errorMessage_.clear();
    if (!server_.listen(address.host(), address.port())) {
        errorMessage_ = tr("remote control cannot listen on %1: %2")
                            .arg(QString::fromStdString(address.toString()), QString::fromStdString(reasonOf(server_)))
                            .toStdString();
        return false;
    }
    return true;
}

void ScpiServer::close()
{
    server_.close();
    // Each drop removes its connection from the list.
    while (!connections_.empty()) {
        connections_.back()->drop();
    }
}

void ScpiServer::commandsDropped(
    Quantity frame, std::uint64_t first, std::uint64_t last, std::size_t channel, RemoteInstrument::SetResult why)
{
    for (ScpiConnection* connection : connections_) {
        connection->session().commandsDropped(frame, first, last, channel, why);
    }
}

void ScpiServer::switchRefused(std::uint64_t client, RemoteInstrument::SetResult why, std::size_t channel)
{
    for (ScpiConnection* connection : connections_) {
        connection->session().switchRefused(client, why, channel);
    }
}

void ScpiServer::unknownSetpointSent(double volts, std::size_t channel)
{
    for (ScpiConnection* connection : connections_) {
        connection->session().unknownSetpointSent(volts, channel);
    }
}

void ScpiServer::sampleConditions()
{
    for (ScpiConnection* connection : connections_) {
        connection->session().sampleConditions();
    }
}

void ScpiServer::supplyReplied()
{
    // A copy: an answer written may end a connection and change the list.
    const std::vector<ScpiConnection*> connections = connections_;
    for (ScpiConnection* connection : connections) {
        connection->resume();
    }
}

void ScpiServer::acceptClients()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (clientCount() >= maxClients_) {
            refuse(socket);
            continue;
        }
        ScpiSession session(channels_, programVersion_, ++lastClient_);
        session.setProgramsFolder(programsFolder_);
        auto* connection
            = new ScpiConnection(socket, std::move(session), ScpiLineReader(kMaxLineLength, kMaxBlockLength), this);
        connection->setIdleLimit(idle_);
        connect(connection, &ScpiConnection::closed, this, &ScpiServer::forget);
        connections_.push_back(connection);
        emit clientCountChanged(clientCount());
    }
}

void ScpiServer::forget(ScpiConnection* connection)
{
    std::erase(connections_, connection);
    connection->deleteLater();
    emit clientCountChanged(clientCount());
}

void ScpiServer::setLimits(int maxClients, std::chrono::milliseconds idle)
{
    maxClients_ = maxClients;
    idle_ = idle;
}

void ScpiServer::refuse(QTcpSocket* socket) const
{
    // A client that would otherwise wait for its timeout hears why at once.
    // No comma in the text: some drivers split an error answer at commas.
    const std::string line = ScpiError::executionError(
                                 "too many clients (" + std::to_string(maxClients_) + " connected); connection closed")
                                 .answer()
        + "\n";
    socket->write(line.data(), static_cast<qint64>(line.size()));
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    // A client that has already gone emits nothing.
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        socket->deleteLater();
    }
}
