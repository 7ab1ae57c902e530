#include "mqtt/MqttDiscovery.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <cctype>

namespace {

struct Sensor {
    const char* key;
    const char* name;
    const char* unit;
};

constexpr std::array<Sensor, 3> kSensors
    = {Sensor{"voltage", "Voltage", "V"}, Sensor{"current", "Current", "A"}, Sensor{"power", "Power", "W"}};

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

std::string compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

QJsonObject common(const std::string& base, const std::string& id, const std::string& supply, const std::string& model)
{
    QJsonObject device{{"identifiers", QJsonArray{text(id)}}, {"name", text("Tendrel " + supply)},
        {"manufacturer", "Tendrel Electronics"}};
    if (!model.empty()) { // told again once the supply is identified
        device.insert("model", text(model));
    }
    return {{"state_topic", text(base + "/state")}, {"availability_topic", text(base + "/availability")},
        {"device", device}};
}

} // namespace

std::vector<MqttDiscovery::Message> MqttDiscovery::messages(
    const std::string& base, const std::string& supply, const std::string& model, bool commands)
{
    const std::string id = "tendrel_" + objectId(supply);
    std::vector<Message> messages;
    for (const Sensor& sensor : kSensors) {
        QJsonObject config = common(base, id, supply, model);
        config.insert("name", QString::fromLatin1(sensor.name));
        config.insert("unique_id", text(id + "_" + sensor.key));
        config.insert("value_template", QStringLiteral("{{ value_json.%1 }}").arg(QLatin1String(sensor.key)));
        config.insert("unit_of_measurement", QString::fromLatin1(sensor.unit));
        config.insert("device_class", QString::fromLatin1(sensor.key));
        config.insert("state_class", "measurement");
        messages.emplace_back("homeassistant/sensor/" + id + "/" + sensor.key + "/config", compact(config));
    }
    std::string switchConfig;
    if (commands) {
        QJsonObject config = common(base, id, supply, model);
        config.insert("name", "Output");
        config.insert("unique_id", text(id + "_output"));
        config.insert("command_topic", text(base + "/set"));
        config.insert("payload_on", R"({"output": true})");
        config.insert("payload_off", R"({"output": false})");
        // The template's result is compared with these, not with the payloads.
        config.insert("value_template", "{{ 'ON' if value_json.output else 'OFF' }}");
        config.insert("state_on", "ON");
        config.insert("state_off", "OFF");
        switchConfig = compact(config);
    }
    messages.emplace_back("homeassistant/switch/" + id + "/output/config", switchConfig);
    return messages;
}

// Discovery's object ids are letters, digits, '_' and '-'.
std::string MqttDiscovery::objectId(const std::string& supply)
{
    std::string id = supply;
    for (char& c : id) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '-') {
            c = '_';
        }
    }
    return id;
}
