#include "MetricsScraper.h"

#include <QRegularExpression>

#include <sstream>

MetricsScraper::MetricsScraper(quint16 port, std::chrono::milliseconds every)
    : port_(port)
{
    every_.setInterval(every);
    connect(&every_, &QTimer::timeout, this, &MetricsScraper::ask);
    connect(&socket_, &QTcpSocket::connected, this,
        [this] { socket_.write("GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n"); });
    connect(&socket_, &QTcpSocket::readyRead, this, &MetricsScraper::read);
    every_.start();
}

// A scrape cut short by the end of the run is nobody's to judge.
MetricsScraper::~MetricsScraper()
{
    socket_.disconnect(this);
}

void MetricsScraper::ask()
{
    if (socket_.state() != QAbstractSocket::UnconnectedState) {
        socket_.abort();
    }
    body_.clear();
    asked_ = Clock::now();
    socket_.connectToHost(QHostAddress::LocalHost, port_);
}

// The server may keep the connection: the answer is whole once its length has come.
void MetricsScraper::read()
{
    body_ += socket_.readAll();
    const qsizetype end = body_.indexOf("\r\n\r\n");
    if (end < 0) {
        return;
    }
    static const QRegularExpression length(
        QStringLiteral("content-length: *(\\d+)"), QRegularExpression::CaseInsensitiveOption);
    const auto match = length.match(QString::fromLatin1(body_.left(end)));
    if (!match.hasMatch() || body_.size() - end - 4 < match.captured(1).toLongLong()) {
        return;
    }
    finish(body_.mid(end + 4).toStdString());
    socket_.abort();
}

void MetricsScraper::finish(const std::string& body)
{
    Scrape scrape{asked_, Clock::now(), {}};
    std::istringstream lines(body);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t brace = line.find('{');
        const std::size_t space = line.rfind(' ');
        if (line.rfind("tendrel_", 0) == 0 && brace != std::string::npos && space != std::string::npos) {
            scrape.samples[line.substr(0, brace)] = std::stod(line.substr(space + 1));
        }
    }
    if (scraped && !scrape.samples.empty()) {
        scraped(scrape);
    }
}
