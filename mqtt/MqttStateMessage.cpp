#include "mqtt/MqttStateMessage.h"

#include "controller/ProgramEngine.h"
#include "controller/ProtectionWatch.h"
#include "controller/SupplyController.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <cmath>
#include <optional>

namespace {

// Readings come at the supply's resolution: four decimals keep them and drop the binary noise.
QJsonValue number(std::optional<double> value)
{
    return value ? QJsonValue(std::round(*value * 1e4) / 1e4) : QJsonValue(QJsonValue::Null);
}

QJsonValue mode(const Measurement* latest)
{
    if (latest == nullptr || !latest->outputOn) {
        return QJsonValue::Null;
    }
    return QString::fromLatin1(latest->voltageRegulated ? "cv" : "cc");
}

QString programState(ProgramEngine::State state)
{
    switch (state) {
    case ProgramEngine::State::Running:
        return QStringLiteral("running");
    case ProgramEngine::State::Paused:
        return QStringLiteral("paused");
    case ProgramEngine::State::Idle:
        break;
    }
    return QStringLiteral("idle");
}

QJsonValue tripOf(const ProtectionWatch& protection)
{
    static const std::array<const char*, 6> names = {"voltage", "current", "power", "charge", "energy", "time"};
    const auto& trip = protection.trip();
    if (!trip) {
        return QJsonValue::Null;
    }
    return QString::fromLatin1(names.at(static_cast<std::size_t>(trip->quantity)));
}

} // namespace

std::string MqttStateMessage::of(
    const SupplyController& controller, const ProgramEngine& programs, const ProtectionWatch& protection)
{
    const bool identified = controller.identified();
    const Measurement* latest = identified && controller.latest() ? &*controller.latest() : nullptr;
    const auto read = [latest](double Measurement::*field) {
        return latest != nullptr ? std::optional(latest->*field) : std::nullopt;
    };
    const std::optional<double> power
        = latest != nullptr ? std::optional(latest->volts * latest->amperes) : std::nullopt;
    const QJsonObject state{{"voltage", number(read(&Measurement::volts))},
        {"current", number(read(&Measurement::amperes))}, {"power", number(power)},
        {"voltage_setpoint", number(identified ? controller.heldVoltage() : std::nullopt)},
        {"current_setpoint", number(identified ? controller.heldCurrent() : std::nullopt)},
        {"output", identified ? QJsonValue(controller.outputOn()) : QJsonValue(QJsonValue::Null)},
        {"mode", controller.outputOn() ? mode(latest) : QJsonValue()},
        {"link", QString::fromLatin1(controller.live() ? "connected" : "searching")},
        {"model", identified ? QJsonValue(QString::fromStdString(controller.profile().modelName)) : QJsonValue()},
        {"program", QJsonObject{{"state", programState(programs.state())}, {"step", programs.progress().step}}},
        {"trip", tripOf(protection)}};
    return QJsonDocument(state).toJson(QJsonDocument::Compact).toStdString();
}
