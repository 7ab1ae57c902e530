#include "mqtt/MqttStateMessage.h"

#include "outlook/OutwardState.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <cmath>
#include <optional>

namespace {

// Readings have four decimals and power eight: to those a number is exact,
// without the binary noise of the arithmetic that made it.
QJsonValue number(std::optional<double> value)
{
    constexpr double kEightDecimals = 1e8;
    return value ? QJsonValue(std::round(*value * kEightDecimals) / kEightDecimals) : QJsonValue(QJsonValue::Null);
}

QJsonValue mode(std::optional<bool> voltageRegulated)
{
    if (!voltageRegulated) {
        return QJsonValue::Null;
    }
    return QString::fromLatin1(*voltageRegulated ? "cv" : "cc");
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

QJsonValue tripOf(std::optional<ProtectionLimits::Limit> trip)
{
    static const std::array<const char*, 6> names = {"voltage", "current", "power", "charge", "energy", "time"};
    if (!trip) {
        return QJsonValue::Null;
    }
    return QString::fromLatin1(names.at(static_cast<std::size_t>(*trip)));
}

} // namespace

std::string MqttStateMessage::of(const OutwardState& state)
{
    const QJsonObject json{{"voltage", number(state.volts())}, {"current", number(state.amperes())},
        {"power", number(state.watts())}, {"voltage_setpoint", number(state.voltageSetpoint)},
        {"current_setpoint", number(state.currentSetpoint)},
        {"output", state.outputOn ? QJsonValue(*state.outputOn) : QJsonValue(QJsonValue::Null)},
        {"mode", mode(state.voltageRegulated())},
        {"link", QString::fromLatin1(state.linkUp ? "connected" : "searching")},
        {"model", state.identified ? QJsonValue(QString::fromStdString(state.model)) : QJsonValue()},
        {"program", QJsonObject{{"state", programState(state.program)}, {"step", state.programStep}}},
        {"trip", tripOf(state.trip)}};
    return QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString();
}
