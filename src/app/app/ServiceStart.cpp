#include "app/ServiceStart.h"

#include "station/Bench.h"

std::unique_ptr<MqttBridge> ServiceStart::start(Bench& bench, const CommandLine::Parsed& options,
    const ControllerSettings::Loaded& settings, const Reports& reports)
{
    bench.startRemote({options.scpi, settings.remote}, reports.remote);
    if (reports.remoteTried) {
        reports.remoteTried();
    }
    bench.startMetrics({options.metrics, settings.metrics}, reports.metrics);
    if (reports.metricsTried) {
        reports.metricsTried();
    }
    return startMqtt(bench, {options.mqtt, settings.mqtt}, reports.mqtt);
}

std::unique_ptr<MqttBridge> ServiceStart::startMqtt(Bench& bench, const ServiceChoice& choice, std::ostream& messages)
{
    std::vector<MqttBridge::Parts> supplies;
    for (std::size_t i = 0; i < bench.size(); ++i) {
        SupplyStation& station = bench.station(i);
        supplies.push_back({station.controller(), station.programs(), station.outlook(), station.portName()});
    }
    return MqttBridge::start(std::move(supplies), choice, messages);
}
