#pragma once

#include "link/LinkTiming.h"
#include "link/PortClaims.h"
#include "link/SerialPort.h"
#include "listen/ServiceChoice.h"
#include "metrics/MetricsServer.h"
#include "remote/RemoteControl.h"
#include "station/SupplyStation.h"

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// The supplies of one program, one station each, in the order of their
// ports, and the remote-control server that serves them all as its channels.
class Bench {
public:
    // A port is a device, "Auto" to hunt for a supply on the ports no other
    // station holds, or empty for the settings' choice, as one supply has it.
    explicit Bench(
        const std::vector<std::string>& ports, const SerialPortFactory& portFactory = {}, LinkTiming timing = {});
    ~Bench();
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    std::size_t size() const { return stations_.size(); }
    SupplyStation& station(std::size_t index) { return *stations_.at(index); }
    const SupplyStation& station(std::size_t index) const { return *stations_.at(index); }

    // Starts each station whose controller has listed its ports.
    void start();
    // The server on every station, as the option or the settings' [Remote]
    // keys ask; its problems go to `messages`.
    void startRemote(const ServiceChoice& choice, std::ostream& messages);
    // None unless asked for and listening.
    RemoteControl* remote() const { return remote_.get(); }
    // The metrics server on every station, after startRemote(), as the option
    // or the settings' [Metrics] keys ask; its problems go to `messages`.
    void startMetrics(const ServiceChoice& choice, std::ostream& messages);
    // None unless asked for and listening.
    MetricsServer* metrics() const { return metrics_.get(); }
    // Closes the servers, then saves and stops each station.
    void shutDown();

private:
    std::shared_ptr<PortClaims> claims_ = std::make_shared<PortClaims>();
    std::vector<std::unique_ptr<SupplyStation>> stations_;
    std::unique_ptr<RemoteControl> remote_;
    std::unique_ptr<MetricsServer> metrics_;
};
