#include "ScpiClient.h"

#include "EventLoopWait.h"
#include "RunTrace.h"

namespace {

constexpr const char* kErrorQuery = "*OPC?;:SYST:ERR:ALL?;*IDN?\n";
constexpr const char* kMaker = "Tendrel Electronics,";

} // namespace

ScpiClient::ScpiClient(quint16 port)
    : port_(port)
{
    patience_.setSingleShot(true);
    patience_.setInterval(kPatience);
    connect(&patience_, &QTimer::timeout, this, &ScpiClient::giveUp);
    connect(&socket_, &QTcpSocket::readyRead, this, &ScpiClient::readAnswers);
}

ScpiClient::~ScpiClient()
{
    socket_.disconnect(this);
}

bool ScpiClient::connectToServer()
{
    socket_.connectToHost(QHostAddress::LocalHost, port_);
    return spinUntil([this] { return socket_.state() == QAbstractSocket::ConnectedState; }, std::chrono::seconds(5));
}

void ScpiClient::send(const std::string& text, std::size_t action)
{
    Line line;
    line.serial = ++serial_;
    line.action = action;
    line.text = text;
    queue_.push_back(std::move(line));
    next();
}

void ScpiClient::next()
{
    if (current_ || queue_.empty()) {
        return;
    }
    current_ = std::move(queue_.front());
    queue_.pop_front();
    current_->sent = Clock::now();
    const std::string bytes = current_->text + "\n" + kErrorQuery;
    socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    patience_.start();
}

void ScpiClient::readAnswers()
{
    while (socket_.canReadLine()) {
        take(socket_.readLine().trimmed().toStdString());
    }
}

// "1;<errors>;Tendrel Electronics,..." closes a line; any other answer is the line's own.
void ScpiClient::take(const std::string& text)
{
    if (!current_) {
        return;
    }
    const std::size_t maker = text.find(kMaker);
    if (maker == std::string::npos) {
        current_->answer = text;
        current_->answered = Clock::now();
        return;
    }
    std::string errors = text.substr(0, maker == 0 ? 0 : maker - 1);
    current_->errors = errors.rfind("1;", 0) == 0 ? errors.substr(2) : errors;
    current_->closed = Clock::now();
    patience_.stop();
    RunTrace::instance().write(current_->closed, "scpi",
        "'" + current_->text + "' -> '" + current_->answer.value_or("") + "', errors " + current_->errors);
    Line done = std::move(*current_);
    current_.reset();
    if (finished) {
        finished(done);
    }
    next();
}

void ScpiClient::giveUp()
{
    if (!current_) {
        return;
    }
    current_->timedOut = true;
    current_->closed = Clock::now();
    Line done = std::move(*current_);
    current_.reset();
    if (finished) {
        finished(done);
    }
    next();
}
