#pragma once

#include "mqtt/MqttBridge.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

class Bench;

// The bench's supplies on the MQTT broker, each under its port's name.
class BenchMqtt {
public:
    static std::unique_ptr<MqttBridge> start(
        Bench& bench, const std::optional<std::string>& option, std::ostream& messages);
};
