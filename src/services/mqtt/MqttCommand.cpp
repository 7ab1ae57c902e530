#include "mqtt/MqttCommand.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

bool takeNumber(const QJsonValue& value, std::optional<double>& target)
{
    if (!value.isDouble() || !std::isfinite(value.toDouble())) {
        return false;
    }
    target = value.toDouble();
    return true;
}

bool refuse(MqttCommand& command, const std::string& why)
{
    command.refusal = why;
    return false;
}

bool takeKey(const QString& key, const QJsonValue& value, MqttCommand& command)
{
    if (key == QLatin1String("voltage")) {
        return takeNumber(value, command.voltage) || refuse(command, "voltage must be a number");
    }
    if (key == QLatin1String("current")) {
        return takeNumber(value, command.current) || refuse(command, "current must be a number");
    }
    if (key == QLatin1String("output")) {
        if (!value.isBool()) {
            return refuse(command, "output must be true or false");
        }
        command.output = value.toBool();
        return true;
    }
    if (key == QLatin1String("program")) {
        // A program file named over the network would be read from this computer's disk: only stop is taken.
        command.stopProgram = value.toString() == QLatin1String("stop");
        return command.stopProgram || refuse(command, R"(program takes only "stop")");
    }
    return refuse(command, "unknown key '" + key.left(64).toStdString() + "'");
}

} // namespace

MqttCommand MqttCommand::parse(const QByteArray& payload)
{
    MqttCommand command;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(payload, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        command.refusal = "not a JSON object";
        return command;
    }
    const QJsonObject object = document.object();
    if (object.isEmpty()) {
        command.refusal = "no command in the object";
        return command;
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!takeKey(it.key(), it.value(), command)) {
            return command;
        }
    }
    return command;
}
