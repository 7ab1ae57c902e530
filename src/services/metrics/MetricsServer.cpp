#include "metrics/MetricsServer.h"

#include "metrics/MetricsHttp.h"
#include "metrics/MetricsListener.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <ostream>

MetricsServer::MetricsServer(const std::vector<SupplyMetrics::Parts>& supplies)
    : board_(supplies.size())
{
    for (std::size_t i = 0; i < supplies.size(); ++i) {
        supplies_.push_back(std::make_unique<SupplyMetrics>(supplies[i], board_, i));
    }
}

MetricsServer::~MetricsServer()
{
    if (thread_ != nullptr) {
        thread_->quit();
        thread_->wait();
    }
}

QString MetricsServer::listen(const ListenAddress& address)
{
    std::promise<QString> listening;
    thread_.reset(QThread::create([this, address, &listening] { serve(address, listening); }));
    thread_->setObjectName(QStringLiteral("metrics"));
    thread_->start();
    QString problem = listening.get_future().get();
    if (!problem.isEmpty()) {
        thread_->wait();
        thread_.reset();
    }
    return problem;
}

void MetricsServer::serve(const ListenAddress& address, std::promise<QString>& listening)
{
    MetricsHttp http(board_);
    auto* listener = new MetricsListener(&http);
    if (!listener->listen(address.host(), address.port())) {
        listening.set_value(listener->errorString());
        return;
    }
    port_ = listener->serverPort();
    http.bind(listener);
    listening.set_value({});
    // A quit that came first ends it at once.
    QEventLoop loop;
    loop.exec();
}

std::unique_ptr<MetricsServer> MetricsServer::start(
    const std::vector<SupplyMetrics::Parts>& supplies, const MetricsConfig& config, std::ostream& messages)
{
    if (!config.error.empty()) {
        messages << config.error << '\n';
    }
    if (!config.enabled || supplies.empty()) {
        return nullptr;
    }
    if (!config.warning.empty()) {
        messages << config.warning << '\n';
    }
    auto server = std::make_unique<MetricsServer>(supplies);
    const QString problem = server->listen(config.address);
    if (!problem.isEmpty()) {
        messages << QCoreApplication::translate("MetricsServer", "metrics: cannot listen on %1: %2")
                        .arg(QString::fromStdString(config.address.toString()), problem)
                        .toStdString()
                 << '\n';
        return nullptr;
    }
    return server;
}
