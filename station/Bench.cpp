#include "station/Bench.h"

Bench::Bench(const std::vector<std::string>& ports, const SerialPortFactory& portFactory, LinkTiming timing)
{
    for (const std::string& port : ports) {
        auto station = std::make_unique<SupplyStation>(portFactory, timing);
        station->link().shareClaims(claims_);
        if (!port.empty()) {
            station->controller().usePortForThisRun(port);
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
        if (!station->controller().portNames().empty()) {
            station->start();
        }
    }
}

void Bench::startRemote(const std::optional<std::string>& option, std::ostream& messages)
{
    std::vector<RemoteControl::Parts> supplies;
    for (const auto& station : stations_) {
        supplies.push_back({station->controller(), station->programs(), station->protection()});
    }
    remote_ = RemoteControl::start(supplies, option, messages);
}

void Bench::shutDown()
{
    remote_.reset();
    for (const auto& station : stations_) {
        station->shutDown();
    }
}
