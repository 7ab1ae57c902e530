#include "app/BenchMqtt.h"

#include "station/Bench.h"

std::unique_ptr<MqttBridge> BenchMqtt::start(
    Bench& bench, const std::optional<std::string>& option, std::ostream& messages)
{
    std::vector<MqttBridge::Parts> supplies;
    for (std::size_t i = 0; i < bench.size(); ++i) {
        SupplyStation& station = bench.station(i);
        supplies.push_back({station.controller(), station.programs(), station.outlook(), station.portName()});
    }
    if (supplies.empty()) {
        return nullptr;
    }
    return MqttBridge::start(std::move(supplies), bench.station(0).settings().path(), option, messages);
}
