#include "remote/ScpiConnection.h"

ScpiConnection::ScpiConnection(QTcpSocket* socket, ScpiSession session, ScpiLineReader reader, QObject* parent)
    : QObject(parent)
    , socket_(socket)
    , reader_(std::move(reader))
    , session_(std::move(session))
    , nextChunk_(this)
    , idle_(this)
{
    idle_.setSingleShot(true);
    connect(&idle_, &QTimer::timeout, this, &ScpiConnection::drop);
    socket_->setParent(this);
    nextChunk_.setSingleShot(true);
    nextChunk_.setInterval(0);
    connect(&nextChunk_, &QTimer::timeout, this, &ScpiConnection::readChunk);
    // Beyond this the kernel holds the client's bytes, and then the client waits.
    socket_->setReadBufferSize(kReadBuffer);
    // Answers go out at once, not held back to be merged with the next.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket_, &QTcpSocket::readyRead, this, &ScpiConnection::readAvailable);
    connect(socket_, &QTcpSocket::disconnected, this, &ScpiConnection::remoteClosed);
}

void ScpiConnection::drop()
{
    finish();
    socket_->abort();
}

void ScpiConnection::setIdleLimit(std::chrono::milliseconds idle)
{
    idle_.setInterval(idle);
    if (idle.count() > 0) {
        idle_.start();
    } else {
        idle_.stop();
    }
}

void ScpiConnection::readAvailable()
{
    if (idle_.interval() > 0) {
        idle_.start();
    }
    if (!nextChunk_.isActive() && !session_.waiting()) {
        readChunk();
    }
}

void ScpiConnection::readChunk()
{
    if (finished_) {
        return;
    }
    const QByteArray bytes = socket_->read(kReadChunk);
    for (auto& line : reader_.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        held_.push_back(std::move(line));
    }
    runHeld();
}

void ScpiConnection::runHeld()
{
    while (!held_.empty() && !session_.waiting()) {
        const std::optional<std::string> line = std::move(held_.front());
        held_.pop_front();
        if (line) {
            answer(session_.handleLine(*line));
        } else {
            session_.lineTooLong();
        }
    }
    scheduleNextChunk();
}

void ScpiConnection::scheduleNextChunk()
{
    if (finished_ || socket_->state() != QAbstractSocket::ConnectedState) {
        return;
    }
    socket_->flush();
    if (socket_->bytesToWrite() > kMaxPendingOutput) {
        drop();
        return;
    }
    if (socket_->bytesAvailable() > 0 && !session_.waiting()) {
        nextChunk_.start();
    }
}

void ScpiConnection::resume()
{
    const bool waited = session_.waiting();
    answer(session_.resume());
    if (waited) {
        runHeld();
    }
}

void ScpiConnection::answer(const ScpiSession::Answer& answer)
{
    if (answer.waiting || answer.text.empty() || socket_->state() != QAbstractSocket::ConnectedState) {
        return;
    }
    const std::string line = answer.text + '\n';
    socket_->write(line.data(), static_cast<qint64>(line.size()));
    if (idle_.interval() > 0) {
        idle_.start();
    }
}

void ScpiConnection::remoteClosed()
{
    // Complete lines sent just before closing still count, "OUTP OFF" above
    // all, even those a wait held: nobody is left to wait for.
    session_.finishWithoutWaiting();
    while (!finished_ && (!held_.empty() || socket_->bytesAvailable() > 0)) {
        readChunk();
        session_.finishWithoutWaiting();
    }
    finish();
}

void ScpiConnection::finish()
{
    if (!finished_) {
        finished_ = true;
        emit closed(this);
    }
}
