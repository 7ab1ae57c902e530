#pragma once

#include "mqtt/MqttClient.h"
#include "mqtt/MqttConfig.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

class MqttCommand;
class ProgramEngine;
class SupplyController;
class SupplyOutlook;

// One supply on the broker, on a connection of its own so that its will
// tells its own availability: its state as it changes or at each poll, and
// the commands of its set topic, taken only when the settings allow them.
class MqttSupply final : public QObject {
    Q_OBJECT

public:
    struct Parts {
        SupplyController& controller;
        ProgramEngine& programs;
        const SupplyOutlook& outlook; // the state published
        std::string name; // the supply's topic level
    };
    // Commands over MQTT are told as this remote client's: the server numbers its own from 1.
    static constexpr std::uint64_t kRemoteClient = 0;

    MqttSupply(const Parts& parts, const MqttConfig& config, std::ostream& messages);
    ~MqttSupply() override;
    MqttSupply(const MqttSupply&) = delete;
    MqttSupply& operator=(const MqttSupply&) = delete;

    // False, told on the messages, when the client cannot even begin.
    bool start();
    // A port's name as a topic level: no wildcards, no levels of its own.
    static std::string topicName(const std::string& port);

private:
    void follow();
    void onConnected();
    void publishState(bool reading);
    void publishDiscovery();
    void onReceived(const QByteArray& payload, bool oversized);
    std::string refusalOf(const MqttCommand& command) const;
    void act(const MqttCommand& command);
    void refuse(const std::string& why);
    // The newest command numbers of the voltage and current frames.
    std::array<std::uint64_t, 2> tickets() const;

    SupplyController& controller_;
    ProgramEngine& programs_;
    const SupplyOutlook& outlook_;
    std::string name_;
    std::string base_;
    MqttConfig config_;
    std::ostream& messages_;
    MqttClient client_;
    std::string lastState_;
    bool stateDropped_ = false;
    // This client's newest command on each frame; 0: none.
    std::array<std::uint64_t, 2> newest_{};
};
