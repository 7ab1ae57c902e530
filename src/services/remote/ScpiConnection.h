#pragma once

#include "remote/ScpiLineReader.h"
#include "remote/ScpiSession.h"

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>
#include <deque>
#include <optional>
#include <string>

// One client of the server: reads its lines a bounded chunk at a time, so a
// flood cannot hold the thread, and cuts it off when it does not read its
// answers. While its session waits for completion, its lines wait too.
class ScpiConnection : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 kReadChunk = 4096;
    static constexpr qint64 kReadBuffer = qint64{64} * 1024;
    static constexpr qint64 kMaxPendingOutput = qint64{256} * 1024;

    // Takes ownership of the connected socket.
    ScpiConnection(QTcpSocket* socket, ScpiSession session, ScpiLineReader reader, QObject* parent);

    // Ends the connection at once.
    void drop();
    // Ends the connection when the client sends nothing for this long; zero: never.
    void setIdleLimit(std::chrono::milliseconds idle);
    ScpiSession& session() { return session_; }
    // After each reply of the supply: a waiting line may go on.
    void resume();

signals:
    // Emitted once, when the client has gone or was dropped.
    void closed(ScpiConnection* connection);

private:
    void readAvailable();
    void readChunk();
    void answer(const ScpiSession::Answer& answer);
    // Runs the lines read while no wait holds them.
    void runHeld();
    void scheduleNextChunk();
    void remoteClosed();
    void finish();

    QTcpSocket* socket_;
    ScpiLineReader reader_;
    // Read but not yet run: at most one chunk's lines.
    std::deque<std::optional<std::string>> held_;
    ScpiSession session_;
    // Runs the next chunk once the event loop has served everyone else.
    QTimer nextChunk_;
    QTimer idle_;
    bool finished_ = false;
};
