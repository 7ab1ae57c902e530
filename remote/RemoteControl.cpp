#include "remote/RemoteControl.h"

#include "controller/ProgramEngine.h"
#include "controller/ProtectionWatch.h"
#include "controller/SupplyController.h"
#include "link/SupplyLink.h"
#include "remote/RemoteConfig.h"

#include <ostream>

RemoteControl::RemoteControl(const Parts& parts)
    : instrument_(parts.controller, parts.programs, parts.protection)
    , server_(instrument_, TENDREL_VERSION)
{
    SupplyController& controller = parts.controller;
    QObject::connect(&controller, &SupplyController::commandsDropped, &server_,
        [this](SupplyController::Frame frame, quint64 first, quint64 last) {
            server_.commandsDropped(SupplyInstrument::frameOf(frame), first, last);
        });
    QObject::connect(&controller, &SupplyController::unknownVoltageSent, &server_,
        [this](double volts) { server_.unknownSetpointSent(volts); });
    followConditions(parts);
    // After the controller, which took the reply first, has acted on it.
    QObject::connect(&controller.link(), &SupplyLink::replied, &server_, &ScpiServer::supplyReplied);
}

void RemoteControl::followConditions(const Parts& parts)
{
    for (const auto signal :
        {&SupplyController::controlsLive, &SupplyController::linkLost, &SupplyController::measurementsStale}) {
        QObject::connect(&parts.controller, signal, &server_, &ScpiServer::sampleConditions);
    }
    QObject::connect(&parts.controller, &SupplyController::measured, &server_, &ScpiServer::sampleConditions);
    QObject::connect(&parts.programs, &ProgramEngine::stateChanged, &server_, &ScpiServer::sampleConditions);
    QObject::connect(&parts.protection, &ProtectionWatch::trippedOn, &server_, &ScpiServer::sampleConditions);
    QObject::connect(&parts.protection, &ProtectionWatch::cleared, &server_, &ScpiServer::sampleConditions);
}

std::unique_ptr<RemoteControl> RemoteControl::start(
    const Parts& parts, const std::optional<std::string>& option, std::ostream& messages)
{
    const auto& [enabled, listen, maxClients, idleTimeout] = parts.controller.remoteKeys();
    RemoteConfig config = RemoteConfig::resolve(option, enabled, listen);
    if (config.enabled) {
        config.applyLimits(maxClients, idleTimeout);
    }
    if (!config.error.empty()) {
        messages << config.error << '\n';
    }
    if (!config.enabled) {
        return nullptr;
    }
    if (!config.warning.empty()) {
        messages << config.warning << '\n';
    }
    auto remote = std::make_unique<RemoteControl>(parts);
    remote->server_.setLimits(config.maxClients, config.idleTimeout);
    if (!remote->server_.listen(config.address)) {
        messages << remote->server_.errorMessage() << '\n';
        return nullptr;
    }
    return remote;
}
