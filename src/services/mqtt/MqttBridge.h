#pragma once

#include "listen/ServiceChoice.h"
#include "mqtt/MqttSupply.h"

#include <iosfwd>
#include <memory>
#include <vector>

// Every supply of the program on an MQTT broker, as the --mqtt option or the
// [MQTT] settings ask; off unless one of them names a host.
class MqttBridge {
public:
    using Parts = MqttSupply::Parts;

    // None when not asked for, or when the settings are refused (told on `messages`).
    static std::unique_ptr<MqttBridge> start(
        std::vector<Parts> supplies, const ServiceChoice& choice, std::ostream& messages);

    explicit MqttBridge(std::vector<std::unique_ptr<MqttSupply>> supplies);

private:
    static void nameApart(std::vector<Parts>& supplies);

    std::vector<std::unique_ptr<MqttSupply>> supplies_;
};
