#include "mqtt/MqttBridge.h"

#include "controller/SupplyController.h"

#include <ostream>
#include <set>
#include <utility>

MqttBridge::MqttBridge(std::vector<std::unique_ptr<MqttSupply>> supplies)
    : supplies_(std::move(supplies))
{
}

std::unique_ptr<MqttBridge> MqttBridge::start(
    std::vector<Parts> supplies, const ServiceChoice& choice, std::ostream& messages)
{
    if (supplies.empty()) {
        return nullptr;
    }
    const MqttConfig config = MqttConfig::resolve(choice);
    if (!config.error.empty()) {
        messages << config.error << '\n';
    }
    if (!config.enabled) {
        return nullptr;
    }
    nameApart(supplies);
    std::vector<std::unique_ptr<MqttSupply>> started;
    for (const Parts& parts : supplies) {
        auto supply = std::make_unique<MqttSupply>(parts, config, messages);
        if (supply->start()) {
            started.push_back(std::move(supply));
        }
    }
    return started.empty() ? nullptr : std::make_unique<MqttBridge>(std::move(started));
}

// Two supplies never share a topic: a name taken gets the supply's number.
void MqttBridge::nameApart(std::vector<Parts>& supplies)
{
    std::set<std::string> taken;
    for (std::size_t i = 0; i < supplies.size(); ++i) {
        std::string name = MqttSupply::topicName(supplies[i].name);
        if (!taken.insert(name).second) {
            name += "-" + std::to_string(i + 1);
            taken.insert(name);
        }
        supplies[i].name = name;
    }
}
