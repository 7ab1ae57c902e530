#include "mqtt/MqttSupply.h"

#include "controller/SupplyController.h"
#include "engine/ProgramEngine.h"
#include "mqtt/MqttCommand.h"
#include "mqtt/MqttDiscovery.h"
#include "mqtt/MqttStateMessage.h"
#include "outlook/SupplyOutlook.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

#include <ostream>
#include <sstream>

namespace {

std::string textOf(CommandRefusal refusal)
{
    switch (refusal) {
    case CommandRefusal::TripLatched:
        return "protection tripped: clear it before switching the output on";
    case CommandRefusal::PanelSwitch:
        return "the supply's On/Off switch is on: it takes no commands until it is off";
    case CommandRefusal::NoSupply:
        break;
    }
    return "the supply is not identified";
}

constexpr double kLimitSlack = 1e-9;

std::string clientIdOf(const MqttConfig& config, const std::string& name)
{
    const std::string head
        = config.clientId.empty() ? "tendrel-" + QSysInfo::machineHostName().toStdString() : config.clientId;
    return head + "-" + name;
}

std::string range(double low, double high, const char* unit)
{
    std::ostringstream text;
    text << low << " to " << high << ' ' << unit;
    return text.str();
}

} // namespace

MqttSupply::MqttSupply(const Parts& parts, const MqttConfig& config, std::ostream& messages)
    : controller_(parts.controller)
    , programs_(parts.programs)
    , outlook_(parts.outlook)
    , name_(parts.name)
    , base_(config.prefix + "/" + parts.name)
    , config_(config)
    , messages_(messages)
    , client_(config, clientIdOf(config, parts.name), base_ + "/availability", "offline")
{
    follow();
}

MqttSupply::~MqttSupply()
{
    // A goodbye sends no will: the program tells it is going itself.
    client_.publish(base_ + "/availability", "offline", true, 1);
}

bool MqttSupply::start()
{
    if (!client_.start()) {
        messages_ << "mqtt: " << name_ << ": " << client_.error() << '\n';
        return false;
    }
    return true;
}

std::string MqttSupply::topicName(const std::string& port)
{
    std::string name = port.starts_with("/dev/") ? port.substr(5) : port;
    for (char& c : name) {
        if (c == '+' || c == '#' || c == '/' || static_cast<unsigned char>(c) < 0x20) {
            c = '_';
        }
    }
    return name.empty() ? "supply" : name;
}

void MqttSupply::follow()
{
    connect(&client_, &MqttClient::connected, this, &MqttSupply::onConnected);
    connect(&client_, &MqttClient::trouble, this, [this](const QString& why) {
        messages_ << "mqtt: " << name_ << ": " << why.toStdString() << '\n' << std::flush;
    });
    connect(&client_, &MqttClient::received, this,
        [this](const QString&, const QByteArray& payload, bool oversized) { onReceived(payload, oversized); });
    connect(&client_, &MqttClient::drained, this, [this] {
        if (stateDropped_) {
            publishState(false);
        }
    });
    connect(&outlook_, &SupplyOutlook::changed, this, &MqttSupply::publishState);
    connect(&controller_, &SupplyController::supplyIdentified, this, &MqttSupply::publishDiscovery);
    connect(&controller_, &SupplyController::refused, this,
        [this](const CommandOrigin& origin, CommandRefusal refusal, bool deferred) {
            if (deferred && origin == CommandOrigin{CommandOrigin::Kind::Remote, kRemoteClient}) {
                refuse(textOf(refusal));
            }
        });
    connect(&controller_, &SupplyController::commandsDropped, this,
        [this](Quantity frame, quint64 first, quint64 last, CommandRefusal why) {
            const std::uint64_t newest = newest_.at(static_cast<std::size_t>(frame));
            if (newest >= first && newest <= last) {
                refuse(why == CommandRefusal::PanelSwitch ? textOf(why)
                                                          : "the link was lost before the supply took the command");
            }
        });
}

void MqttSupply::onConnected()
{
    client_.publish(base_ + "/availability", "online", true, 1);
    client_.subscribe(base_ + "/set");
    publishDiscovery();
    lastState_.clear();
    publishState(false);
}

// At the poll rate each reading is published; on change, only a state that differs.
void MqttSupply::publishState(bool reading)
{
    std::string state = MqttStateMessage::of(outlook_.now());
    const bool every = reading && config_.publish == MqttConfig::Publish::Poll;
    if (!every && state == lastState_ && !stateDropped_) {
        return;
    }
    stateDropped_ = !client_.publish(base_ + "/state", state, true);
    if (!stateDropped_) {
        lastState_ = std::move(state);
    }
}

void MqttSupply::publishDiscovery()
{
    if (!config_.discovery) {
        return;
    }
    const std::string model = controller_.identified() ? controller_.profile().modelName : std::string();
    for (const auto& [topic, payload] : MqttDiscovery::messages(base_, name_, model, config_.commands)) {
        client_.publish(topic, payload, true, 1);
    }
}

void MqttSupply::onReceived(const QByteArray& payload, bool oversized)
{
    if (oversized) {
        refuse("the command is longer than " + std::to_string(MqttClient::kMaxPayload) + " bytes");
        return;
    }
    if (!config_.commands) {
        refuse("commands over MQTT are off ([MQTT] Commands=1 turns them on)");
        return;
    }
    const MqttCommand command = MqttCommand::parse(payload);
    const std::string refusal = command.refusal.empty() ? refusalOf(command) : command.refusal;
    if (!refusal.empty()) {
        refuse(refusal);
        return;
    }
    act(command);
}

// As the remote server checks its setpoints: a live supply, within the model's limits.
std::string MqttSupply::refusalOf(const MqttCommand& command) const
{
    if (const auto refusal = controller_.refusalFor(command.output == std::optional<bool>(true))) {
        return textOf(*refusal);
    }
    const ModelProfile& model = controller_.profile();
    if (command.voltage
        && !(
            *command.voltage >= model.voltageMin - kLimitSlack && *command.voltage <= model.voltageMax + kLimitSlack)) {
        return "voltage outside " + range(model.voltageMin, model.voltageMax, "V");
    }
    if (command.current
        && !(
            *command.current >= model.currentMin - kLimitSlack && *command.current <= model.currentMax + kLimitSlack)) {
        return "current outside " + range(model.currentMin, model.currentMax, "A");
    }
    return {};
}

void MqttSupply::act(const MqttCommand& command)
{
    // A message has no order of its own: a switch-on goes after its
    // setpoints, a switch-off before them.
    const SupplyController::Acting remote(controller_, {CommandOrigin::Kind::Remote, kRemoteClient});
    const std::array<std::uint64_t, 2> before = tickets();
    if (command.output == std::optional<bool>(false)) {
        controller_.requestOutput(false);
    }
    if (command.voltage) {
        controller_.commandVoltage(*command.voltage);
    }
    if (command.current) {
        controller_.commandCurrent(*command.current);
    }
    if (command.output == std::optional<bool>(true)) {
        controller_.requestOutput(true);
    }
    if (command.stopProgram) {
        programs_.stop();
    }
    // The newest command on a frame is the one a lost link drops first.
    const std::array<std::uint64_t, 2> after = tickets();
    for (std::size_t frame = 0; frame < after.size(); ++frame) {
        if (after.at(frame) != before.at(frame)) {
            newest_.at(frame) = after.at(frame);
        }
    }
}

std::array<std::uint64_t, 2> MqttSupply::tickets() const
{
    return {controller_.lastTicket(Quantity::Voltage), controller_.lastTicket(Quantity::Current)};
}

void MqttSupply::refuse(const std::string& why)
{
    const QJsonObject error{{"error", QString::fromStdString(why)}};
    client_.publish(base_ + "/error", QJsonDocument(error).toJson(QJsonDocument::Compact).toStdString(), false, 1);
}
