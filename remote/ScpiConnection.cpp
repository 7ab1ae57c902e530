#include "remote/ScpiConnection.h"

ScpiConnection::ScpiConnection(QTcpSocket* socket, ScpiSession session, std::size_t maxLineLength, QObject* parent)
    : QObject(parent)
    , socket_(socket)
    , reader_(maxLineLength)
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
    if (!nextChunk_.isActive()) {
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
        if (line) {
            answer(session_.handleLine(*line));
        } else {
            session_.lineTooLong();
        }
    }
    if (socket_->state() != QAbstractSocket::ConnectedState) {
        return;
    }
    socket_->flush();
    if (socket_->bytesToWrite() > kMaxPendingOutput) {
        drop();
        return;
    }
    if (socket_->bytesAvailable() > 0) {
        nextChunk_.start();
    }
}

void ScpiConnection::answer(std::string text)
{
    if (text.empty() || socket_->state() != QAbstractSocket::ConnectedState) {
        return;
    }
    text.push_back('\n');
    socket_->write(text.data(), static_cast<qint64>(text.size()));
}

void ScpiConnection::remoteClosed()
{
    // Complete lines sent just before closing still count, "OUTP OFF" above all.
    while (!finished_ && socket_->bytesAvailable() > 0) {
        readChunk();
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
