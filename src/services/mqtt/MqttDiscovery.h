#pragma once

#include <string>
#include <utility>
#include <vector>

// The retained configuration messages by which a home-automation hub that
// follows the "homeassistant/" discovery topics shows a supply as a device:
// its voltage, current and power, and its output as a switch when commands
// are on (else an empty message removes a switch told before).
class MqttDiscovery {
public:
    using Message = std::pair<std::string, std::string>; // topic, payload

    // `base` is the supply's topic, PREFIX/SUPPLY.
    static std::vector<Message> messages(
        const std::string& base, const std::string& supply, const std::string& model, bool commands);

private:
    static std::string objectId(const std::string& supply);
};
