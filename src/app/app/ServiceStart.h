#pragma once

#include "app/CommandLine.h"
#include "mqtt/MqttBridge.h"
#include "settings/ControllerSettings.h"

#include <functional>
#include <iosfwd>
#include <memory>

class Bench;

// The services of a run, started the same way with a window or without:
// remote control, then the metrics, then MQTT, each from its option or its
// section of the settings read at start-up.
class ServiceStart {
public:
    // Where each service tells its problems, and what follows each server.
    struct Reports {
        std::ostream& remote;
        std::ostream& metrics;
        std::ostream& mqtt;
        // Each told once its server has been tried, before the next starts.
        std::function<void()> remoteTried;
        std::function<void()> metricsTried;
    };

    // The MQTT bridge, or none; the servers are the bench's.
    static std::unique_ptr<MqttBridge> start(Bench& bench, const CommandLine::Parsed& options,
        const ControllerSettings::Loaded& settings, const Reports& reports);

private:
    // The bench's supplies on the broker, each under its port's name.
    static std::unique_ptr<MqttBridge> startMqtt(Bench& bench, const ServiceChoice& choice, std::ostream& messages);
};
