#include "station/Bench.h"

Bench::Bench(const std::vector<std::string>& ports, const SerialPortFactory& portFactory, LinkTiming timing)
{
    for (const std::string& port : ports) {
        auto station = std::make_unique<SupplyStation>(portFactory, timing);
        station->link().shareClaims(claims_);
        if (!port.empty()) {
            station->settings().usePortForThisRun(port);
        }
        stations_.push_back(std::move(station));
    }
}

Bench::~Bench()
{
    shutDown();
}

void Bench::start()
{
    for (const auto& station : stations_) {
        if (!station->settings().portNames().empty()) {
            station->start();
        }
    }
}

void Bench::startRemote(const ServiceChoice& choice, std::ostream& messages)
{
    if (stations_.empty()) {
        return;
    }
    std::vector<RemoteControl::Parts> supplies;
    for (const auto& station : stations_) {
        supplies.push_back({station->controller(), station->programs(), station->protection(), station->outlook()});
    }
    remote_ = RemoteControl::start(supplies, choice, messages);
}

void Bench::startMetrics(const ServiceChoice& choice, std::ostream& messages)
{
    std::vector<SupplyMetrics::Parts> supplies;
    for (const auto& station : stations_) {
        const SupplyStation* const own = station.get();
        supplies.push_back({station->outlook(), station->readings(), [own] { return own->portName(); }});
    }
    metrics_ = MetricsServer::start(supplies, MetricsConfig::resolve(choice), messages);
    if (metrics_ != nullptr && remote_ != nullptr) {
        ScpiServer& server = remote_->server();
        metrics_->setRemoteClients(server.clientCount());
        QObject::connect(&server, &ScpiServer::clientCountChanged, &server,
            [metrics = metrics_.get()](int count) { metrics->setRemoteClients(count); });
    }
}

void Bench::shutDown()
{
    // The remote server first: closing it tells the metrics of its clients.
    remote_.reset();
    metrics_.reset();
    for (const auto& station : stations_) {
        station->shutDown();
    }
}
